#include "platform/source_bytes.h"

#include "platform/text_codec.h"

namespace casl::platform {

std::variant<std::string, FileError> sourceFileBytes(std::u32string_view editorText,
                                                     SourceEncoding encoding, LineEndStyle lineEnds,
                                                     const std::filesystem::path& path) {
    std::u32string_view encodingName = U"UTF-8";
    std::string_view mark;
    EncodedText (*encode)(std::u32string_view) = encodeUtf8;
    switch (encoding) {
    case SourceEncoding::Cp932:
        encodingName = U"CP932";
        encode = encodeCp932;
        break;
    case SourceEncoding::Utf8:
        break;
    case SourceEncoding::Utf8WithBom:
        mark = "\xEF\xBB\xBF";
        break;
    case SourceEncoding::Utf16LeWithBom:
        encodingName = U"UTF-16";
        mark = "\xFF\xFE";
        encode = [](std::u32string_view text) { return encodeUtf16(text, false); };
        break;
    case SourceEncoding::Utf16BeWithBom:
        encodingName = U"UTF-16";
        mark = "\xFE\xFF";
        encode = [](std::u32string_view text) { return encodeUtf16(text, true); };
        break;
    }

    // Checked on the editor text so that the line named is the line the user sees.
    const EncodedText check = encode(editorText);
    if (check.badCharacter) {
        return unencodableFileError(path, lineNumberAt(editorText, *check.badCharacter),
                                    editorText[*check.badCharacter], encodingName);
    }

    std::u32string content(editorText);
    content += U"\r\n";
    std::string bytes(mark);
    bytes += encode(convertCrLf(content, lineEnds)).bytes;
    return bytes;
}

} // namespace casl::platform
