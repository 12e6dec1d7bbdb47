#pragma once

#include "platform/file_calls.h"
#include "platform/file_error.h"
#include "platform/line_ends.h"
#include "platform/source_file.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace casl::platform {

/// Replaces the contents of the file at `target` by `bytes` so that a failure never damages it,
/// and so that the file keeps what it had besides its contents.
///
/// A new file, or an existing one whose mode (less set-uid and set-gid), owner, group and
/// extended attributes the new file can be given, is replaced by renaming: a new file in the same
/// folder is written, synced and renamed over the target. Where that would lose something (the
/// file has other hard links, belongs to somebody the process cannot give a file to, has an
/// attribute that cannot be copied, or sits in a folder the process may not create files in),
/// the file is written in place instead, after a copy of its old contents in the temporary
/// folder was made and checked; a failure part-way puts the old contents back.
///
/// Only regular files are written: a folder, device, FIFO or socket is refused
/// (NotRegularFile), and so is a file that may not be written. A symbolic link is followed and
/// the file it points to is written; a link that points nowhere or round in a circle is refused.
/// Every other failure is a CannotWrite error with the target as it was.
std::optional<FileError> writeFileAtomically(const std::filesystem::path& target,
                                             std::string_view bytes,
                                             FileCalls& calls = systemFileCalls());

/// Saves editor text (lines separated by CR LF) as a source file: the text followed by one
/// CR LF, every CR LF turned into `lineEnds`, in `encoding` (with a byte-order mark for the
/// encodings named so). A character the encoding cannot hold stops the save before anything is
/// written (Unencodable, naming its line); other failures leave the target as it was.
std::optional<FileError> writeSourceFile(const std::filesystem::path& target,
                                         std::u32string_view editorText, SourceEncoding encoding,
                                         LineEndStyle lineEnds,
                                         FileCalls& calls = systemFileCalls());

} // namespace casl::platform
