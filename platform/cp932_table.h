#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>

namespace casl::platform {

/// The keys of one high byte: a bit per low byte, and where each 64 keys' values begin.
struct SparseBlock {
    std::array<std::uint64_t, 4> present;
    std::array<std::uint16_t, 4> firstValue;
};

/// A constant map from 16-bit keys to 16-bit values that stores only the keys it holds, in
/// key order: CP932 uses about 9,600 of the 65,536 keys each way, in clusters.
struct SparseCodeMap {
    static constexpr std::uint8_t noBlock = 0xFF;

    std::array<std::uint8_t, 256> blockOf; ///< Block of each high byte, or `noBlock`.
    std::span<const SparseBlock> blocks;
    std::span<const std::uint16_t> values;

    constexpr std::optional<std::uint16_t> find(std::uint16_t key) const {
        const std::uint8_t block = blockOf[key >> 8];
        if (block == noBlock) {
            return std::nullopt;
        }
        const unsigned word = key >> 6 & 3;
        const unsigned bit = key & 63;
        const std::uint64_t bits = blocks[block].present[word];
        if ((bits >> bit & 1) == 0) {
            return std::nullopt;
        }
        const std::uint64_t below = bits & ((std::uint64_t{1} << bit) - 1);
        return values[blocks[block].firstValue[word] + std::popcount(below)];
    }
};

/// Character (U+0000–U+FFFF) to CP932 code: the byte, or lead byte × 256 + trail byte. Where
/// several codes decode to one character this holds the one that iconv encodes it as.
extern const SparseCodeMap cp932Encoding;
/// CP932 code (the byte, or lead byte × 256 + trail byte) to character.
extern const SparseCodeMap cp932Decoding;
/// The bytes that begin a double-byte code, a bit each.
extern const std::array<std::uint64_t, 4> cp932LeadBytes;

} // namespace casl::platform
