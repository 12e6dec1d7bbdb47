#pragma once

#include "platform/file_error.h"
#include "platform/line_ends.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace casl::platform {

/// The largest source file that is read: far beyond any program (at most 300 lines), small
/// enough that reading and showing it takes well under a second.
inline constexpr std::size_t maxSourceFileBytes = 2 * 1024 * 1024;

/// The longest line that an editor takes from a file: beyond any program line (a DC of 2000
/// words is about 14000 characters), short enough that an editor shows and edits it without
/// delay.
inline constexpr std::size_t maxEditorLineLength = 32768;

/// The encoding of a source file; a file is saved back in the encoding it was read in.
enum class SourceEncoding { Cp932, Utf8, Utf8WithBom, Utf16LeWithBom, Utf16BeWithBom };

/// A source file's text as the editor takes it, with what is needed to save it back alike.
struct SourceText {
    std::u32string text; ///< Every character of the file, line ends as they stand; no BOM.
    SourceEncoding encoding = SourceEncoding::Cp932;
    LineEndStyle lineEnds = LineEndStyle::CrLf; ///< The style most of its line ends use.
};

/// Reads the bytes of a source file: UTF-16 in the order its byte-order mark gives, UTF-8 when
/// they begin with a UTF-8 byte-order mark or are valid UTF-8 holding non-ASCII bytes, else
/// CP932. Bytes valid in none give an Undecodable error naming the line of the first byte that
/// is bad in the encoding tried last (CP932, or the encoding of the byte-order mark); bytes that
/// look like UTF-16 without a mark (a NUL beside an ASCII character in at least half of the
/// byte pairs) are refused with a message that says so. `path` only names the file in the error.
std::variant<SourceText, FileError> decodeSourceBytes(std::string_view bytes,
                                                      const std::filesystem::path& path = {});

/// Reads the whole source file at `path` as the Open command takes it; a file larger than
/// `maxSourceFileBytes`, or one that is not a regular file, is refused before it is read.
std::variant<SourceText, FileError> readSourceFile(const std::filesystem::path& path);

/// `source` as Open puts it into an editor: refused, naming `path` and the line, when a line is
/// longer than `maxEditorLineLength`.
std::variant<SourceText, FileError> forEditor(std::variant<SourceText, FileError> source,
                                              const std::filesystem::path& path);

} // namespace casl::platform
