#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace casl::platform {

double secondsSinceMidnight() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    const auto wholeSeconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
    const auto whole = static_cast<std::time_t>(wholeSeconds.count());
    std::tm local{};
    localtime_r(&whole, &local);
    const std::chrono::duration<double> fraction = sinceEpoch - wholeSeconds;
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction.count();
}

} // namespace casl::platform
