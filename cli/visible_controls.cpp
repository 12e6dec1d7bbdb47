#include "cli/visible_controls.h"

namespace casl::cli {
namespace {

constexpr unsigned char c1Lead = 0xC2;

} // namespace

VisibleControlsBuffer::~VisibleControlsBuffer() {
    if (leadHeld_) {
        target_.sputc(static_cast<char>(c1Lead));
    }
}

bool VisibleControlsBuffer::write(std::string_view text) {
    return target_.sputn(text.data(), static_cast<std::streamsize>(text.size())) ==
           static_cast<std::streamsize>(text.size());
}

bool VisibleControlsBuffer::put(unsigned char byte) {
    if (leadHeld_) {
        leadHeld_ = false;
        if (byte >= 0x80 && byte <= 0x9F) {
            const char caret[] = {'M', '-', '^', static_cast<char>(byte - 0x80 + 0x40)};
            return write({caret, sizeof caret});
        }
        if (!write({reinterpret_cast<const char*>(&c1Lead), 1})) {
            return false;
        }
    }
    if (byte == c1Lead) {
        leadHeld_ = true;
        return true;
    }
    if ((byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7F) {
        const char caret[] = {'^', static_cast<char>(byte == 0x7F ? '?' : byte + 0x40)};
        return write({caret, sizeof caret});
    }
    return target_.sputc(static_cast<char>(byte)) != traits_type::eof();
}

VisibleControlsBuffer::int_type VisibleControlsBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    return put(static_cast<unsigned char>(traits_type::to_char_type(c))) ? c : traits_type::eof();
}

std::streamsize VisibleControlsBuffer::xsputn(const char* text, std::streamsize count) {
    for (std::streamsize i = 0; i < count; ++i) {
        if (!put(static_cast<unsigned char>(text[i]))) {
            return i;
        }
    }
    return count;
}

int VisibleControlsBuffer::sync() {
    // A held lead byte stays held: its second byte decides what it is.
    return target_.pubsync();
}

} // namespace casl::cli
