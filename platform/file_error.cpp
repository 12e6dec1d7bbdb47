#include "platform/file_error.h"

#include "platform/text_codec.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
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

/// "2 MiB (2097152 バイト)" for a whole number of MiB, else the bytes alone.
std::u32string sizeText(std::size_t bytes) {
    constexpr std::size_t mebibyte = 1024 * 1024;
    const std::u32string exact = numberText(bytes) + U" バイト";
    if (bytes % mebibyte == 0) {
        return numberText(bytes / mebibyte) + U" MiB (" + exact + U")";
    }
    return exact;
}

/// What the user is told of a system error: a Japanese sentence for the common reasons, the
/// system's own text for the others.
std::u32string reasonText(int errorNumber, bool writing) {
    switch (errorNumber) {
    case EACCES:
    case EPERM:
        return writing ? U"書き込む権限がありません" : U"読む権限がありません";
    case ENOSPC:
        return U"ディスクの空きが足りません";
    case EDQUOT:
        return U"ディスクの使用量の上限に達しています";
    case EROFS:
        return U"読み取り専用のファイルシステムです";
    case ENOENT:
        return writing ? U"保存先のフォルダがありません" : U"ファイルがありません";
    case ENOTDIR:
        return U"途中のフォルダがありません";
    case EFBIG:
        return U"ファイルが大きすぎます";
    case ENAMETOOLONG:
        return U"ファイル名が長すぎます";
    default:
        return fromUtf8(std::generic_category().message(errorNumber));
    }
}

/// The error of a failed operation on `path` with a Japanese reason of its own.
FileError explainedError(FileErrorKind kind, const std::filesystem::path& path, bool writing,
                         std::string reason, std::u32string_view explanation) {
    FileError error;
    error.kind = kind;
    error.path = path;
    error.reason = std::move(reason);
    error.message = (writing ? U"ファイルに書き込めません: " : U"ファイルを開けません: ") +
                    pathText(path) + U" (" + std::u32string(explanation) + U")";
    return error;
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
    error.message = lead + pathText(path) + U" (" +
                    reasonText(errorNumber, kind != FileErrorKind::CannotOpen &&
                                                kind != FileErrorKind::CannotRead) +
                    U")";
    return error;
}

FileError notRegularFileError(const std::filesystem::path& path, mode_t mode, bool writing) {
    std::u32string what = U"ファイルの一種";
    std::string kind = "special file";
    if (S_ISDIR(mode)) {
        what = U"フォルダ";
        kind = "folder";
    } else if (S_ISCHR(mode) || S_ISBLK(mode)) {
        what = U"デバイス";
        kind = "device";
    } else if (S_ISFIFO(mode)) {
        what = U"名前付きパイプ (FIFO)";
        kind = "FIFO";
    } else if (S_ISSOCK(mode)) {
        what = U"ソケット";
        kind = "socket";
    }
    return explainedError(FileErrorKind::NotRegularFile, path, writing,
                          "not a regular file (" + kind + ")",
                          U"通常のファイルではなく" + what + U"です");
}

FileError tooLargeFileError(const std::filesystem::path& path, std::size_t limit) {
    return explainedError(FileErrorKind::TooLarge, path, false,
                          "larger than " + std::to_string(limit) + " bytes",
                          U"ソースファイルの大きさの上限 " + sizeText(limit) + U" を超えています");
}

FileError overlongLineFileError(const std::filesystem::path& path, std::size_t line,
                                std::size_t limit) {
    FileError error = explainedError(FileErrorKind::TooLarge, path, false,
                                     "line " + std::to_string(line) + " is longer than " +
                                         std::to_string(limit) + " characters",
                                     numberText(line) + U"行目が長すぎます。エディタの1行は " +
                                         numberText(limit) + U" 文字までです");
    error.line = line;
    return error;
}

FileError brokenLinkFileError(const std::filesystem::path& path, bool loop) {
    return explainedError(FileErrorKind::CannotWrite, path, true,
                          loop ? "symbolic link loop" : "dangling symbolic link",
                          loop ? U"シンボリックリンクが循環しています"
                               : U"シンボリックリンクの指す先がありません");
}

FileError backupFailedFileError(const std::filesystem::path& path, int errorNumber) {
    const std::string reason = std::generic_category().message(errorNumber);
    return explainedError(
        FileErrorKind::CannotWrite, path, true, "cannot keep a copy of the old contents: " + reason,
        U"元の内容の控えを作れないため、保存をやめました: " + reasonText(errorNumber, true));
}

FileError restoreFailedFileError(const std::filesystem::path& path, int errorNumber,
                                 const std::filesystem::path& backup) {
    const std::string reason = std::generic_category().message(errorNumber);
    return explainedError(FileErrorKind::CannotWrite, path, true,
                          reason + "; the old contents are kept in " + backup.native(),
                          reasonText(errorNumber, true) +
                              U"。書きかけのファイルを元に戻せませんでした。元の内容は " +
                              pathText(backup) + U" にあります");
}

FileError undecodableFileError(const std::filesystem::path& path, std::size_t line,
                               std::u32string_view declaredEncoding) {
    FileError error;
    error.kind = FileErrorKind::Undecodable;
    error.path = path;
    error.line = line;
    const std::u32string where = path.empty() ? U"" : pathText(path) + U": ";
    error.message =
        where + numberText(line) +
        (declaredEncoding.empty()
             ? U"行目に CP932 としても UTF-8 としても読めないバイトがあります"
             : U"行目に " + std::u32string(declaredEncoding) + U" として読めないバイトがあります");
    return error;
}

FileError utf16WithoutMarkFileError(const std::filesystem::path& path) {
    FileError error;
    error.kind = FileErrorKind::Undecodable;
    error.path = path;
    const std::u32string where = path.empty() ? U"" : pathText(path) + U": ";
    error.message = where + U"UTF-16 のファイルのようですが、バイト順マーク (BOM) がないため"
                            U"読めません。BOM 付きの UTF-16 か UTF-8、CP932 で保存し直してください";
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
