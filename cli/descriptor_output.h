#pragma once

#include <array>
#include <streambuf>
#include <string>

namespace casl::cli {

/// An output buffer on a file descriptor that checks every write: the first failure is kept
/// (its errno) and every later write fails too, so that the stream on it goes bad and the
/// command can say that its output was lost. A buffer on a terminal writes every line at once.
class DescriptorOutput : public std::streambuf {
public:
    DescriptorOutput(int descriptor, bool lineBuffered);
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;
    ~DescriptorOutput() override;

    /// The errno of the first write that failed; 0 while none did.
    int error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    /// Writes what the buffer holds; false once a write failed.
    bool drain();

    int descriptor_;
    bool lineBuffered_;
    int error_ = 0;
    std::array<char, 1 << 16> buffer_{};
};

/// Why the output of `stream` could not be written, when its buffer is a `DescriptorOutput`
/// that knows: "No space left on device", "standard output is closed"; "" otherwise.
std::string writeFailure(const std::ostream& stream);

/// Opens /dev/null, read only, on each of the descriptors 0, 1 and 2 that is closed. A file
/// the command opens then never takes the place of standard output, and a write to a closed
/// standard output still fails, as it must.
void occupyClosedStandardDescriptors();

} // namespace casl::cli
