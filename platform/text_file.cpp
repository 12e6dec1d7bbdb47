#include "platform/text_file.h"

#include "platform/file_reader.h"
#include "platform/file_writer.h"
#include "platform/line_ends.h"
#include "platform/text_codec.h"

namespace casl::platform {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

} // namespace

std::optional<FileError> writeTextFile(const std::filesystem::path& path,
                                       std::u32string_view text) {
    EncodedText encoded = encodeCp932(text);
    if (encoded.badCharacter) {
        encoded = encodeUtf8(text);
        if (encoded.badCharacter) {
            return unencodableFileError(path, lineNumberAt(text, *encoded.badCharacter),
                                        text[*encoded.badCharacter], U"UTF-8");
        }
        encoded.bytes.insert(0, byteOrderMark);
    }
    return writeFileAtomically(path, encoded.bytes);
}

std::variant<std::u32string, FileError> readTextFile(const std::filesystem::path& path) {
    std::variant<std::string, FileError> read = readFileBytes(path);
    if (auto* error = std::get_if<FileError>(&read)) {
        return std::move(*error);
    }
    const std::string_view bytes = std::get<std::string>(read);
    const bool utf8 = bytes.starts_with(byteOrderMark);
    const std::string_view body = utf8 ? bytes.substr(byteOrderMark.size()) : bytes;
    DecodedText decoded = utf8 ? decodeUtf8(body) : decodeCp932(body);
    if (decoded.badByte) {
        return undecodableFileError(path, lineNumberAt(body, *decoded.badByte),
                                    utf8 ? U"UTF-8" : U"");
    }
    return std::move(decoded.text);
}

} // namespace casl::platform
