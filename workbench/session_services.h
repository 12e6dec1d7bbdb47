#pragma once

#include "platform/file_error.h"
#include "platform/line_ends.h"
#include "platform/source_file.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace casl {

/// How a source file is stored: a file is saved back as it was read, a new program as CP932
/// with CR LF line ends.
struct SourceFormat {
    platform::SourceEncoding encoding = platform::SourceEncoding::Cp932;
    platform::LineEndStyle lineEnds = platform::LineEndStyle::CrLf;

    friend bool operator==(const SourceFormat&, const SourceFormat&) = default;
};

/// Where the file commands read and write source files: the disk for the window; the file
/// picker and downloads for the page.
class SourceFiles {
public:
    virtual ~SourceFiles() = default;

    /// The file `name` as Open puts it into the editor, or why it cannot be.
    virtual std::variant<platform::SourceText, platform::FileError>
    read(std::u32string_view name) = 0;
    /// Writes the editor text `text` (CR LF between lines) to the file `name` in `format`.
    virtual std::optional<platform::FileError>
    write(std::u32string_view name, std::u32string_view text, const SourceFormat& format) = 0;
};

/// The scratch files of the desktop: "info.tmp" (the assembled program that the trace shows)
/// and "temp.temp" (the program's own text while a run shows the listing in the editor).
class ScratchFiles {
public:
    virtual ~ScratchFiles() = default;

    /// Writes "info.tmp"; why not, on failure.
    virtual std::optional<std::u32string> writeInfoText(std::u32string_view text) = 0;
    /// Keeps the program's text in "temp.temp" as a run starts.
    virtual void keepProgramText(std::u32string_view text) = 0;
    /// The text "temp.temp" holds, removing the file; nothing when it has vanished.
    virtual std::optional<std::u32string> takeProgramText() = 0;
};

/// Unsaved text kept so that a crash does not lose it, and the text an earlier session left.
class UnsavedTextStore {
public:
    /// Text left behind by a session that did not end normally.
    struct Left {
        std::u32string text;
        /// The file the text came from; empty for a new program.
        std::u32string fileName;
    };

    virtual ~UnsavedTextStore() = default;

    /// Keeps `text` (of the file `fileName`); false when it could not be kept.
    virtual bool keep(std::u32string_view text, std::u32string_view fileName) = 0;
    /// The text is saved or given up: nothing needs keeping.
    virtual void remove() = 0;
    /// The newest text an earlier session left, if any.
    virtual std::optional<Left> left() = 0;
    /// The left text was restored or declined.
    virtual void discardLeft() = 0;
};

/// What the working session uses outside itself. Only the source files are needed; the page
/// keeps no scratch files and no recovery file.
struct SessionServices {
    SourceFiles& files;
    ScratchFiles* scratch = nullptr;
    UnsavedTextStore* unsaved = nullptr;
};

} // namespace casl
