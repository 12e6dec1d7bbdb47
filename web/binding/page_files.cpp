#include "web/binding/page_files.h"

#include "platform/file_error.h"
#include "platform/source_bytes.h"
#include "platform/text_codec.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <utility>
#include <variant>

namespace casl::web {
namespace {

using platform::LineEndStyle;
using platform::SourceEncoding;

constexpr std::array<std::pair<std::string_view, SourceEncoding>, 5> encodingNames{{
    {"cp932", SourceEncoding::Cp932},
    {"utf8", SourceEncoding::Utf8},
    {"utf8bom", SourceEncoding::Utf8WithBom},
    {"utf16le", SourceEncoding::Utf16LeWithBom},
    {"utf16be", SourceEncoding::Utf16BeWithBom},
}};

constexpr std::array<std::pair<std::string_view, LineEndStyle>, 3> lineEndNames{{
    {"crlf", LineEndStyle::CrLf},
    {"lf", LineEndStyle::Lf},
    {"cr", LineEndStyle::Cr},
}};

/// The file's name as the messages name files.
std::filesystem::path namePath(std::u32string_view name) {
    return std::filesystem::path(platform::toUtf8(name));
}

} // namespace

void PageSourceFiles::offer(std::u32string name, std::string bytes) {
    offered_[std::move(name)] = std::move(bytes);
}

PageDownload PageSourceFiles::takeDownload() {
    return std::exchange(download_, PageDownload{});
}

std::variant<platform::SourceText, platform::FileError>
PageSourceFiles::read(std::u32string_view name) {
    const std::filesystem::path path = namePath(name);
    const auto found = offered_.find(name);
    if (found == offered_.end()) {
        return platform::systemFileError(platform::FileErrorKind::CannotOpen, path, ENOENT);
    }
    // Read once: the bytes of a large file are not kept after it was opened.
    const std::string bytes = std::move(found->second);
    offered_.erase(found);
    if (bytes.size() > platform::maxSourceFileBytes) {
        return platform::tooLargeFileError(path, platform::maxSourceFileBytes);
    }
    return platform::forEditor(platform::decodeSourceBytes(bytes, path), path);
}

std::optional<platform::FileError> PageSourceFiles::write(std::u32string_view name,
                                                          std::u32string_view text,
                                                          const SourceFormat& format) {
    auto bytes = platform::sourceFileBytes(text, format.encoding, format.lineEnds, namePath(name));
    if (auto* error = std::get_if<platform::FileError>(&bytes)) {
        return std::move(*error);
    }
    download_ = PageDownload{true, platform::toUtf8(name), std::move(std::get<std::string>(bytes))};
    return std::nullopt;
}

std::string formatName(const SourceFormat& format) {
    std::string name;
    for (const auto& [text, encoding] : encodingNames) {
        if (encoding == format.encoding) {
            name = text;
        }
    }
    for (const auto& [text, lineEnds] : lineEndNames) {
        if (lineEnds == format.lineEnds) {
            name.append(" ").append(text);
        }
    }
    return name;
}

std::optional<SourceFormat> formatFromName(std::string_view name) {
    const std::size_t blank = name.find(' ');
    if (blank == std::string_view::npos) {
        return std::nullopt;
    }
    std::optional<SourceEncoding> encoding;
    std::optional<LineEndStyle> lineEnds;
    for (const auto& [text, value] : encodingNames) {
        if (text == name.substr(0, blank)) {
            encoding = value;
        }
    }
    for (const auto& [text, value] : lineEndNames) {
        if (text == name.substr(blank + 1)) {
            lineEnds = value;
        }
    }
    if (!encoding || !lineEnds) {
        return std::nullopt;
    }
    return SourceFormat{*encoding, *lineEnds};
}

} // namespace casl::web
