#pragma once

#include <cstdint>
#include <string>

namespace casl {

/// A wide result fitted into a word: its 16-bit pattern read as a signed number.
constexpr std::int16_t fitWord(std::int64_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

/// Whether a wide result lies in the range of a word.
constexpr bool inWordRange(std::int64_t value) {
    return value >= -32768 && value <= 32767;
}

/// The 16-bit pattern of a value, 0 to 65535.
constexpr std::int32_t wordPattern(std::int64_t value) {
    return static_cast<std::int32_t>(value & 0xFFFF);
}

/// `signZeroState` of a register value.
constexpr int signZeroOf(std::int32_t value) {
    if (value == 0) {
        return 1;
    }
    return value < 0 ? 2 : 0;
}

/// SF and ZF of a `signZeroState`, as the flags caption shows them.
constexpr int signFlagOf(int signZeroState) {
    return signZeroState != 0 && signZeroState != 1 ? 1 : 0;
}
constexpr int zeroFlagOf(int signZeroState) {
    return signZeroState == 1 ? 1 : 0;
}

/// The decimal form of a number, with a minus sign when negative.
inline std::u32string decimalText(std::int64_t value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

} // namespace casl
