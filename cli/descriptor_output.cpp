#include "cli/descriptor_output.h"

#include "platform/file_calls.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <ostream>
#include <unistd.h>

namespace casl::cli {

DescriptorOutput::DescriptorOutput(int descriptor, bool lineBuffered)
    : descriptor_(descriptor), lineBuffered_(lineBuffered) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorOutput::~DescriptorOutput() {
    drain();
}

bool DescriptorOutput::drain() {
    if (error_ == 0) {
        error_ = platform::writeAll(platform::systemFileCalls(), descriptor_, pbase(),
                                    static_cast<std::size_t>(pptr() - pbase()));
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c) {
    if (!drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        if (lineBuffered_ && traits_type::to_char_type(c) == '\n' && !drain()) {
            return traits_type::eof();
        }
    }
    return traits_type::not_eof(c);
}

std::streamsize DescriptorOutput::xsputn(const char* text, std::streamsize count) {
    if (error_ != 0) {
        return 0;
    }
    for (std::streamsize done = 0; done < count;) {
        if (pptr() == epptr() && !drain()) {
            return done;
        }
        const std::streamsize room = epptr() - pptr();
        const std::streamsize part = std::min(room, count - done);
        std::memcpy(pptr(), text + done, static_cast<std::size_t>(part));
        pbump(static_cast<int>(part));
        done += part;
    }
    if (lineBuffered_ && std::memchr(text, '\n', static_cast<std::size_t>(count)) != nullptr &&
        !drain()) {
        return 0;
    }
    return count;
}

int DescriptorOutput::sync() {
    return drain() ? 0 : -1;
}

std::string writeFailure(const std::ostream& stream) {
    const auto* output = dynamic_cast<const DescriptorOutput*>(stream.rdbuf());
    if (output == nullptr || output->error() == 0) {
        return {};
    }
    if (output->error() == EBADF) {
        return "standard output is closed";
    }
    return std::strerror(output->error());
}

void occupyClosedStandardDescriptors() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
            // open() takes the lowest free descriptor: this one.
            const int opened = ::open("/dev/null", O_RDONLY);
            if (opened != descriptor && opened >= 0) {
                ::close(opened);
            }
        }
    }
}

} // namespace casl::cli
