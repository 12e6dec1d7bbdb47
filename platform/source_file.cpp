#include "platform/source_file.h"

#include "platform/file_reader.h"
#include "platform/text_codec.h"

#include <algorithm>

namespace casl::platform {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

bool holdsNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
}

SourceText sourceText(std::u32string text, SourceEncoding encoding) {
    const LineEndStyle lineEnds = dominantLineEnds(text);
    return SourceText{std::move(text), encoding, lineEnds};
}

} // namespace

std::variant<SourceText, FileError> decodeSourceBytes(std::string_view bytes,
                                                      const std::filesystem::path& path) {
    if (bytes.starts_with(byteOrderMark)) {
        const std::string_view body = bytes.substr(byteOrderMark.size());
        DecodedText decoded = decodeUtf8(body);
        if (decoded.badByte) {
            return undecodableFileError(path, lineNumberAt(body, *decoded.badByte), true);
        }
        return sourceText(std::move(decoded.text), SourceEncoding::Utf8WithBom);
    }
    if (holdsNonAscii(bytes)) {
        DecodedText decoded = decodeUtf8(bytes);
        if (!decoded.badByte) {
            return sourceText(std::move(decoded.text), SourceEncoding::Utf8);
        }
    }
    DecodedText decoded = decodeCp932(bytes);
    if (decoded.badByte) {
        return undecodableFileError(path, lineNumberAt(bytes, *decoded.badByte), false);
    }
    return sourceText(std::move(decoded.text), SourceEncoding::Cp932);
}

std::variant<SourceText, FileError> readSourceFile(const std::filesystem::path& path) {
    std::variant<std::string, FileError> bytes = readFileBytes(path);
    if (auto* error = std::get_if<FileError>(&bytes)) {
        return std::move(*error);
    }
    return decodeSourceBytes(std::get<std::string>(bytes), path);
}

} // namespace casl::platform
