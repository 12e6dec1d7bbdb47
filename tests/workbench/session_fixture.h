#pragma once

#include "platform/text_codec.h"
#include "workbench/editor_text.h"
#include "workbench/workbench.h"

#include <map>
#include <string>
#include <string_view>

namespace casl::test {

/// Source files kept in memory: what a test put there can be opened, what the session saves
/// lands there, and a name can be made to fail.
class MemoryFiles : public SourceFiles {
public:
    std::map<std::u32string, std::u32string, std::less<>> files;
    /// Names whose writes fail with `failure`.
    std::map<std::u32string, std::u32string, std::less<>> refused;
    /// Every write, in order: the name and the format it was written in.
    std::vector<std::pair<std::u32string, SourceFormat>> writes;
    /// The format the next read gives its file.
    SourceFormat readFormat;

    std::variant<platform::SourceText, platform::FileError>
    read(std::u32string_view name) override {
        const auto found = files.find(name);
        if (found == files.end()) {
            platform::FileError error;
            error.message = U"ファイルが見つかりません: " + std::u32string(name);
            return error;
        }
        return platform::SourceText{found->second, readFormat.encoding, readFormat.lineEnds};
    }

    std::optional<platform::FileError> write(std::u32string_view name, std::u32string_view text,
                                             const SourceFormat& format) override {
        if (const auto found = refused.find(name); found != refused.end()) {
            platform::FileError error;
            error.kind = platform::FileErrorKind::CannotWrite;
            error.message = found->second;
            return error;
        }
        files[std::u32string(name)] = text;
        writes.emplace_back(std::u32string(name), format);
        return std::nullopt;
    }
};

/// The editor text of a program written with LF line ends (as the tests write them).
inline std::u32string program(std::string_view text) {
    return editorTextOf(platform::fromUtf8(text));
}

/// A text of the session in UTF-8, for comparing and printing.
inline std::string utf8(std::u32string_view text) {
    return platform::toUtf8(text);
}

/// A session on files in memory, with the editor's text kept as a front end keeps it: the text
/// the session puts into the editor replaces it, and typing changes it through `type`.
class Session {
public:
    MemoryFiles files;
    Workbench workbench{SessionServices{files}};
    std::u32string editor;

    const WorkbenchView& view() const { return workbench.view(); }

    /// Takes what the session put into the editor, as a front end renders it.
    void render() {
        if (workbench.view().editor.revision != shownRevision_) {
            shownRevision_ = workbench.view().editor.revision;
            if (editor != workbench.view().editor.text) {
                editor = workbench.view().editor.text;
                workbench.editorTextChanged(false);
            }
        }
    }
    /// The user replaces the editor's text (typing, pasting).
    void type(std::string_view text) {
        workbench.editorKeyDown();
        editor = program(text);
        workbench.editorTextChanged(true);
        render();
    }
    void assemble() {
        workbench.assemble(editor);
        render();
    }
    void startTrace() {
        workbench.startTrace(editor);
        render();
    }
    void answer(MessageAnswer button, std::optional<std::u32string> input = std::nullopt) {
        workbench.answer(BoxAnswer{button, std::move(input)});
        render();
    }
    /// The purpose of the open box; fails when none is open.
    WorkbenchBox::Purpose boxPurpose() const {
        return workbench.view().box ? workbench.view().box->purpose : WorkbenchBox::Purpose::RunBox;
    }

private:
    std::uint64_t shownRevision_ = 0;
};

} // namespace casl::test
