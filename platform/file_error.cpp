#include "platform/file_error.h"

#include "platform/text_codec.h"

#include <cstdio>
#include <system_error>

namespace casl::platform {

namespace {

std::u32string pathText(const std::filesystem::path& path) {
    return fromUtf8(path.native());
}

std::u32string numberText(std::size_t n) {
    return fromUtf8(std::to_string(n));
}

std::u32string codePointText(char32_t c) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "U+%04X", static_cast<unsigned>(c));
    return fromUtf8(digits);
}

bool printable(char32_t c) {
    return c >= 0x20 && (c < 0x7F || c > 0x9F) && (c < 0xD800 || c > 0xDFFF);
}

} // namespace

FileError systemFileError(FileErrorKind kind, const std::filesystem::path& path, int errorNumber) {
    FileError error;
    error.kind = kind;
    error.path = path;
    error.reason = std::generic_category().message(errorNumber);
    std::u32string lead;
    switch (kind) {
    case FileErrorKind::CannotOpen:
        lead = U"ファイルを開けません: ";
        break;
    case FileErrorKind::CannotRead:
        lead = U"ファイルを読み込めません: ";
        break;
    default:
        lead = U"ファイルに書き込めません: ";
        break;
    }
    error.message = lead + pathText(path) + U" (" + fromUtf8(error.reason) + U")";
    return error;
}

FileError undecodableFileError(const std::filesystem::path& path, std::size_t line,
                               bool declaredUtf8) {
    FileError error;
    error.kind = FileErrorKind::Undecodable;
    error.path = path;
    error.line = line;
    const std::u32string where = path.empty() ? U"" : pathText(path) + U": ";
    error.message =
        where + numberText(line) +
        (declaredUtf8 ? U"行目に UTF-8 として読めないバイトがあります"
                      : U"行目に CP932 としても UTF-8 としても読めないバイトがあります");
    return error;
}

FileError unencodableFileError(const std::filesystem::path& path, std::size_t line,
                               char32_t character, std::u32string_view encodingName) {
    FileError error;
    error.kind = FileErrorKind::Unencodable;
    error.path = path;
    error.line = line;
    std::u32string shown =
        printable(character) ? U"「" + std::u32string(1, character) + U"」" : U"";
    error.message = numberText(line) + U"行目の文字" + shown + U"(" + codePointText(character) +
                    U")は " + std::u32string(encodingName) + U" で保存できません";
    return error;
}

} // namespace casl::platform
