#include "platform/source_file.h"

#include "platform/file_reader.h"
#include "platform/text_codec.h"

#include <algorithm>

namespace casl::platform {

namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16LeMark = "\xFF\xFE";
constexpr std::string_view utf16BeMark = "\xFE\xFF";

/// Fewer pairs than this are too few to tell UTF-16 from text that holds a NUL or two.
constexpr std::size_t minimumUtf16Pairs = 4;

bool holdsNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
}

/// ASCII text in UTF-16 is every character next to a NUL, on the same side of each pair.
bool looksLikeUtf16(std::string_view bytes) {
    const std::size_t pairs = bytes.size() / 2;
    if (pairs < minimumUtf16Pairs) {
        return false;
    }
    std::size_t nulSecond = 0;
    std::size_t nulFirst = 0;
    for (std::size_t i = 0; i < pairs; ++i) {
        const char first = bytes[2 * i];
        const char second = bytes[2 * i + 1];
        nulSecond += first != '\0' && second == '\0';
        nulFirst += first == '\0' && second != '\0';
    }
    return 2 * std::max(nulSecond, nulFirst) >= pairs;
}

SourceText sourceText(std::u32string text, SourceEncoding encoding) {
    const LineEndStyle lineEnds = dominantLineEnds(text);
    return SourceText{std::move(text), encoding, lineEnds};
}

std::variant<SourceText, FileError> decodeUtf16Source(std::string_view body, bool bigEndian,
                                                      const std::filesystem::path& path) {
    DecodedText decoded = decodeUtf16(body, bigEndian);
    if (decoded.badByte) {
        // The line of the bad unit is the line the characters before it end on.
        return undecodableFileError(path, lineNumberAt(decoded.text, decoded.text.size()),
                                    U"UTF-16");
    }
    return sourceText(std::move(decoded.text),
                      bigEndian ? SourceEncoding::Utf16BeWithBom : SourceEncoding::Utf16LeWithBom);
}

} // namespace

std::variant<SourceText, FileError> decodeSourceBytes(std::string_view bytes,
                                                      const std::filesystem::path& path) {
    if (bytes.starts_with(utf8Mark)) {
        const std::string_view body = bytes.substr(utf8Mark.size());
        DecodedText decoded = decodeUtf8(body);
        if (decoded.badByte) {
            return undecodableFileError(path, lineNumberAt(body, *decoded.badByte), U"UTF-8");
        }
        return sourceText(std::move(decoded.text), SourceEncoding::Utf8WithBom);
    }
    if (bytes.starts_with(utf16LeMark)) {
        return decodeUtf16Source(bytes.substr(utf16LeMark.size()), false, path);
    }
    if (bytes.starts_with(utf16BeMark)) {
        return decodeUtf16Source(bytes.substr(utf16BeMark.size()), true, path);
    }
    // CP932 would take the NULs for characters and the assembler would find nothing but errors.
    if (looksLikeUtf16(bytes)) {
        return utf16WithoutMarkFileError(path);
    }
    if (holdsNonAscii(bytes)) {
        DecodedText decoded = decodeUtf8(bytes);
        if (!decoded.badByte) {
            return sourceText(std::move(decoded.text), SourceEncoding::Utf8);
        }
    }
    DecodedText decoded = decodeCp932(bytes);
    if (decoded.badByte) {
        return undecodableFileError(path, lineNumberAt(bytes, *decoded.badByte));
    }
    return sourceText(std::move(decoded.text), SourceEncoding::Cp932);
}

std::variant<SourceText, FileError> readSourceFile(const std::filesystem::path& path) {
    std::variant<std::string, FileError> bytes = readFileBytes(path, maxSourceFileBytes);
    if (auto* error = std::get_if<FileError>(&bytes)) {
        return std::move(*error);
    }
    return decodeSourceBytes(std::get<std::string>(bytes), path);
}

std::variant<SourceText, FileError> forEditor(std::variant<SourceText, FileError> source,
                                              const std::filesystem::path& path) {
    if (const auto* text = std::get_if<SourceText>(&source)) {
        if (const auto line = firstLineLongerThan(text->text, maxEditorLineLength)) {
            return overlongLineFileError(path, *line, maxEditorLineLength);
        }
    }
    return source;
}

} // namespace casl::platform
