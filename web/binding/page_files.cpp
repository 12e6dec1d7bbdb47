#include "web/binding/page_files.h"

#include "platform/file_error.h"
#include "platform/source_bytes.h"
#include "platform/text_codec.h"
#include "web/binding/page_text.h"

#include <array>
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

/// The file's name as the messages name files; the browser gives it as UTF-8.
std::filesystem::path namePath(std::string_view name) {
    return std::filesystem::path(platform::fromUtf8(name));
}

PageOpened refused(const platform::FileError& error) {
    return PageOpened{false, {}, platform::toUtf8(error.message)};
}

} // namespace

PageOpened openSourceBytes(std::string_view bytes, std::string_view name, SourceFormat& format) {
    const std::filesystem::path path = namePath(name);
    if (bytes.size() > platform::maxSourceFileBytes) {
        return refused(platform::tooLargeFileError(path, platform::maxSourceFileBytes));
    }
    auto source = platform::forEditor(platform::decodeSourceBytes(bytes, path), path);
    if (const auto* error = std::get_if<platform::FileError>(&source)) {
        return refused(*error);
    }
    const auto& text = std::get<platform::SourceText>(source);
    format = SourceFormat{text.encoding, text.lineEnds};
    return PageOpened{true, pageTextFromCore(text.text), {}};
}

PageSaved saveSourceBytes(std::string_view pageText, std::string_view name,
                          const SourceFormat& format) {
    auto bytes = platform::sourceFileBytes(coreTextFromPage(pageText), format.encoding,
                                           format.lineEnds, namePath(name));
    if (const auto* error = std::get_if<platform::FileError>(&bytes)) {
        return PageSaved{false, {}, platform::toUtf8(error->message)};
    }
    return PageSaved{true, std::move(std::get<std::string>(bytes)), {}};
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
