#pragma once

#include "platform/file_error.h"
#include "platform/line_ends.h"
#include "platform/source_file.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace casl::platform {

/// The bytes of a source file that holds editor text (lines separated by CR LF): the text
/// followed by one CR LF, every CR LF turned into `lineEnds`, in `encoding` (behind a
/// byte-order mark for the encodings named so). A character the encoding cannot hold gives an
/// Unencodable error naming its line of the editor text; `path` only names the file in it.
std::variant<std::string, FileError> sourceFileBytes(std::u32string_view editorText,
                                                     SourceEncoding encoding, LineEndStyle lineEnds,
                                                     const std::filesystem::path& path = {});

} // namespace casl::platform
