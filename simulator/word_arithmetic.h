#pragma once

#include "simulator/word.h"

#include <cstdint>

namespace casl {

/// A word read as unsigned: a negative value + 65536.
constexpr std::int64_t asUnsigned(std::int64_t value) {
    return value < 0 ? value + 65536 : value;
}

/// `ADDL`/`SUBL`: the carry result brought into 0 to 65535, then fitted into a word.
constexpr std::int16_t fitCarry(std::int64_t carry) {
    if (carry > 65535) {
        carry -= 65536;
    } else if (carry < 0) {
        carry += 65536;
    }
    return fitWord(carry);
}

/// `signZeroState` of an exact difference.
constexpr int compareArithmetic(std::int64_t difference) {
    if (difference == 0) {
        return 1;
    }
    return difference > 0 ? 0 : 2;
}

/// Unsigned comparison of two words, as their 4-digit hexadecimal forms compare.
constexpr int compareLogical(std::int32_t a, std::int32_t b) {
    const std::int32_t ua = wordPattern(a);
    const std::int32_t ub = wordPattern(b);
    if (ua == ub) {
        return 1;
    }
    return ua > ub ? 0 : 2;
}

} // namespace casl
