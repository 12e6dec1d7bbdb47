#pragma once

namespace casl::platform {

/// Seconds since the last local midnight, with the fraction of the current second.
double secondsSinceMidnight();

} // namespace casl::platform
