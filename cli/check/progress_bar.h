#pragma once

#include <cstddef>
#include <iosfwd>

namespace casl::check {

/// The line on a terminal that shows how many programs are done; it is cleared at the end.
class ProgressBar {
public:
    explicit ProgressBar(std::ostream& terminal) : terminal_(terminal) {}
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;
    ~ProgressBar();

    void show(std::size_t done, std::size_t total);

private:
    std::ostream& terminal_;
    bool shown_ = false;
};

} // namespace casl::check
