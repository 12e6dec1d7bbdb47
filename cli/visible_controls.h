#pragma once

#include <streambuf>
#include <string_view>

namespace casl::cli {

/// Passes UTF-8 text on to another buffer with its control characters made visible, so that
/// text from a student's file cannot act on a terminal: U+0000–U+001F (but TAB and LF) in caret
/// notation (ESC as ^[, a lone CR as ^M), DEL as ^?, U+0080–U+009F as M-^@ … M-^_, as `cat -v`
/// shows them. Every other byte passes as it is.
class VisibleControlsBuffer : public std::streambuf {
public:
    explicit VisibleControlsBuffer(std::streambuf& target) : target_(target) {}
    VisibleControlsBuffer(const VisibleControlsBuffer&) = delete;
    VisibleControlsBuffer& operator=(const VisibleControlsBuffer&) = delete;
    /// A lead byte still held back goes out.
    ~VisibleControlsBuffer() override;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    /// Passes `byte` on, made visible where it must be; false when the target failed.
    bool put(unsigned char byte);
    bool write(std::string_view text);

    std::streambuf& target_;
    /// The byte C2 of a two-byte character waits for the next byte: C2 80 to C2 9F are the C1
    /// controls.
    bool leadHeld_ = false;
};

} // namespace casl::cli
