#pragma once

#include "platform/file_error.h"
#include "platform/line_ends.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace casl::platform {

/// The encoding of a source file; a file is saved back in the encoding it was read in.
enum class SourceEncoding { Cp932, Utf8, Utf8WithBom };

/// A source file's text as the editor takes it, with what is needed to save it back alike.
struct SourceText {
    std::u32string text; ///< Every character of the file, line ends as they stand; no BOM.
    SourceEncoding encoding = SourceEncoding::Cp932;
    LineEndStyle lineEnds = LineEndStyle::CrLf; ///< The style most of its line ends use.
};

/// Reads the bytes of a source file: UTF-8 when they begin with a byte-order mark or are valid
/// UTF-8 holding non-ASCII bytes, else CP932. Bytes valid in neither give an Undecodable error
/// naming the line of the first byte that is bad in the encoding tried last (CP932, or UTF-8
/// after a BOM). `path` only names the file in the error.
std::variant<SourceText, FileError> decodeSourceBytes(std::string_view bytes,
                                                      const std::filesystem::path& path = {});

/// Reads the whole source file at `path` as the Open command takes it.
std::variant<SourceText, FileError> readSourceFile(const std::filesystem::path& path);

} // namespace casl::platform
