#include "cli/check/progress_bar.h"

#include <ostream>
#include <string>

namespace casl::check {
namespace {

constexpr std::size_t barWidth = 30;
/// Carriage return, then erase to the end of the line.
constexpr const char* clearLine = "\r\033[K";

} // namespace

void ProgressBar::show(std::size_t done, std::size_t total) {
    const std::size_t filled = total == 0 ? barWidth : barWidth * done / total;
    terminal_ << clearLine << "checking [" << std::string(filled, '#')
              << std::string(barWidth - filled, '.') << "] " << done << '/' << total << " programs"
              << std::flush;
    shown_ = true;
}

ProgressBar::~ProgressBar() {
    if (shown_) {
        terminal_ << clearLine << std::flush;
    }
}

} // namespace casl::check
