#include "assembler/numeric_text.h"

namespace casl {
namespace {

constexpr std::int64_t saturation = 1'000'000'000'000;

bool isDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

struct NumberPrefix {
    std::int64_t value = 0;
    std::size_t length = 0; // characters read, sign included
    bool hasDigits = false;
};

NumberPrefix readNumberPrefix(std::u32string_view text) {
    NumberPrefix prefix;
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == U'+' || text[i] == U'-')) {
        negative = text[i] == U'-';
        ++i;
    }
    for (; i < text.size() && isDigit(text[i]); ++i) {
        prefix.hasDigits = true;
        if (prefix.value < saturation) {
            prefix.value = prefix.value * 10 + (text[i] - U'0');
        }
    }
    prefix.length = i;
    if (negative) {
        prefix.value = -prefix.value;
    }
    return prefix;
}

} // namespace

bool isNumeric(std::u32string_view text) {
    const NumberPrefix prefix = readNumberPrefix(text);
    return prefix.hasDigits && prefix.length == text.size();
}

std::int64_t numericValue(std::u32string_view text) {
    return readNumberPrefix(text).value;
}

std::int64_t leadingNumber(std::u32string_view text) {
    const NumberPrefix prefix = readNumberPrefix(text);
    return prefix.hasDigits ? prefix.value : 0;
}

std::optional<int> registerNumber(std::u32string_view text) {
    if (text.size() == 3 && text[0] == U'G' && text[1] == U'R' && text[2] >= U'0' &&
        text[2] <= U'7') {
        return static_cast<int>(text[2] - U'0');
    }
    return std::nullopt;
}

} // namespace casl
