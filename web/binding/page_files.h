#pragma once

#include "workbench/session_services.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace casl::web {

/// A file the page hands to the browser as a download.
struct PageDownload {
    bool ok = false;
    std::string name;
    std::string bytes;
};

/// The source files of the page: what the file picker chose and the examples arrive as bytes
/// that the page offers before the session reads them; what the session writes becomes a
/// download. Both are read and written as the desktop reads and writes files.
class PageSourceFiles : public SourceFiles {
public:
    /// The bytes of the file `name`, for the next read of that name.
    void offer(std::u32string name, std::string bytes);
    /// The file the last save wrote, once; `ok` is false when there is none.
    PageDownload takeDownload();

    std::variant<platform::SourceText, platform::FileError> read(std::u32string_view name) override;
    std::optional<platform::FileError> write(std::u32string_view name, std::u32string_view text,
                                             const SourceFormat& format) override;

private:
    std::map<std::u32string, std::string, std::less<>> offered_;
    PageDownload download_;
};

/// The format as a short text ("cp932 crlf", "utf8bom lf", …) that the page keeps between
/// visits, and back; nothing for a text that names no format.
std::string formatName(const SourceFormat& format);
std::optional<SourceFormat> formatFromName(std::string_view name);

} // namespace casl::web
