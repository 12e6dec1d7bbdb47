#include "platform/upper_case.h"

#include <algorithm>

namespace casl::platform {

char32_t upperCaseOf(char32_t c) {
    const auto runs = upperCaseRuns();
    const auto run = std::upper_bound(
        runs.begin(), runs.end(), c, [](char32_t x, const UpperCaseRun& r) { return x < r.first; });
    if (run == runs.begin()) {
        return c;
    }
    const UpperCaseRun& found = *(run - 1);
    if (c > found.last || (c - found.first) % found.stride != 0) {
        return c;
    }
    return static_cast<char32_t>(static_cast<std::int32_t>(c) + found.delta);
}

std::u32string upperCased(std::u32string_view text) {
    std::u32string result(text);
    std::transform(result.begin(), result.end(), result.begin(), upperCaseOf);
    return result;
}

} // namespace casl::platform
