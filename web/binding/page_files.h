#pragma once

#include "platform/line_ends.h"
#include "platform/source_file.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace casl::web {

/// How a source file is stored: a file is saved back as it was read.
struct SourceFormat {
    platform::SourceEncoding encoding = platform::SourceEncoding::Cp932;
    platform::LineEndStyle lineEnds = platform::LineEndStyle::CrLf;

    friend bool operator==(const SourceFormat&, const SourceFormat&) = default;
};

/// A file the page opened through the browser's file picker.
struct PageOpened {
    bool ok = false;
    /// The editor text (LF line ends) when `ok`.
    std::string text;
    /// Why the file cannot be opened, naming it, when not `ok`.
    std::string message;
};

/// A save of the page: the bytes of the download, or why there are none.
struct PageSaved {
    bool ok = false;
    std::string bytes;
    std::string message;
};

/// Reads the bytes of the file `name` as the Open command takes a source file; `format`
/// receives how it is stored.
PageOpened openSourceBytes(std::string_view bytes, std::string_view name, SourceFormat& format);

/// The bytes of the file `name` holding the editor's text (LF line ends) in `format`.
PageSaved saveSourceBytes(std::string_view pageText, std::string_view name,
                          const SourceFormat& format);

/// The format as a short text ("cp932 crlf", "utf8bom lf", …) that the page keeps between
/// visits, and back; nothing for a text that names no format.
std::string formatName(const SourceFormat& format);
std::optional<SourceFormat> formatFromName(std::string_view name);

} // namespace casl::web
