#include "simulator/display_texts.h"

#include "assembler/listing.h"
#include "simulator/word.h"

#include <cstdlib>

namespace casl {
namespace {

constexpr char32_t hexDigit(std::uint32_t v) {
    return static_cast<char32_t>(v < 10 ? U'0' + v : U'A' + (v - 10));
}

/// hex(v) of a 32-bit value: shortest upper-case form, negatives as their 32-bit pattern.
std::u32string hex32(std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    char32_t digits[8];
    int n = 0;
    do {
        digits[n++] = hexDigit(bits & 0xF);
        bits >>= 4;
    } while (bits != 0);
    std::u32string text;
    while (n > 0) {
        text.push_back(digits[--n]);
    }
    return text;
}

void appendDecimal(std::u32string& out, std::int64_t value) {
    if (value < 0) {
        out.push_back(U'-');
    }
    std::uint64_t magnitude = value < 0 ? static_cast<std::uint64_t>(-value) : value;
    char32_t digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char32_t>(U'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (n > 0) {
        out.push_back(digits[--n]);
    }
}

void appendHex4(std::u32string& out, std::int64_t value) {
    const auto bits = static_cast<std::uint32_t>(value & 0xFFFF);
    for (int shift = 12; shift >= 0; shift -= 4) {
        out.push_back(hexDigit((bits >> shift) & 0xF));
    }
}

/// hex(a) with zeros up to four digits, or its last four digits when longer.
void appendValueHex(std::u32string& out, std::int32_t value) {
    const std::u32string hex = hex32(value);
    if (hex.size() >= 4) {
        out.append(hex, hex.size() - 4, 4);
    } else {
        out.append(4 - hex.size(), U'0');
        out.append(hex);
    }
}

/// The character a dump shows for a code: ASCII, or a half-width katakana.
char32_t dumpCharacter(std::int32_t code) {
    if (code >= 32 && code <= 126) {
        return static_cast<char32_t>(code);
    }
    if (code >= 161 && code <= 209) {
        return static_cast<char32_t>(0xFF61 + (code - 161));
    }
    return 0;
}

void appendDataRow(std::u32string& out, const ProgramTables& t, int i) {
    const int mark = t.dataWords[i][displayMarkColumn];
    const int j = mark == emptyAreaPlaceholderMark ? i + 1 : i;
    const std::u32string& label = t.dataLabel[i];
    out.append(label);
    if (label.size() < 10) {
        out.append(10 - label.size(), U' ');
    }
    const bool rowExists = ProgramTables::isDataRow(j);
    const std::int32_t address = rowExists ? t.dataWords[j][dataAddressColumn] : 0;
    const std::int32_t value = rowExists ? t.dataWords[j][dataValueColumn] : 0;
    appendHex4(out, address);
    out.append(U"   ");
    appendValueHex(out, value);
    out.append(U" (");
    appendDecimal(out, value);
    out.push_back(U')');
    if (const char32_t c = dumpCharacter(value); c != 0) {
        out.push_back(c);
    }
    out.append(U"\r\n");
}

} // namespace

DisplayTexts initialDisplayTexts() {
    DisplayTexts texts;
    texts.registers.fill(std::u32string(35, U' '));
    texts.fr = U"OF:  SF:  ZF: ";
    texts.pc = U"PR:    ";
    texts.obj = blankObjectCodeCaption();
    texts.sp = U"SP:    ";
    return texts;
}

std::u32string registerRow(std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    std::u32string row;
    row.reserve(35);
    row.push_back(U'[');
    for (int bit = 15; bit >= 0; --bit) {
        row.push_back((bits >> bit) & 1 ? U'1' : U'0');
        if (bit % 4 == 0 && bit != 0) {
            row.push_back(U' ');
        }
    }
    row.append(U"] ");
    appendHex4(row, value);
    row.append(U" (");
    std::u32string decimal(1, value < 0 ? U'-' : U' ');
    appendDecimal(decimal, std::abs(static_cast<int>(value)));
    row.append(6 - decimal.size(), U' ');
    row.append(decimal);
    row.push_back(U')');
    return row;
}

std::u32string programRegisterCaption(std::int32_t address) {
    return U"PR:" + hex4(address);
}

std::u32string objectCodeCaption(const std::array<std::int16_t, 5>& code) {
    std::u32string caption = U"OBJ-Code:";
    const std::u32string op = hex32(static_cast<std::uint16_t>(code[opColumn]));
    if (op.size() == 1) {
        caption.push_back(U'0');
    }
    caption.append(op);
    caption.append(hex32(static_cast<std::uint16_t>(code[rColumn])));
    caption.append(hex32(static_cast<std::uint16_t>(code[xColumn])));
    caption.push_back(U' ');
    appendHex4(caption, code[adrColumn]);
    return caption;
}

std::u32string blankObjectCodeCaption() {
    return U"OBJ-Code:" + std::u32string(9, U' ');
}

std::u32string flagsCaption(int overflowFlag, int signZeroState) {
    const auto digit = [](int flag) { return flag != 0 ? U'1' : U'0'; };
    return std::u32string(U"OF:") + digit(overflowFlag) + U" SF:" +
           digit(signFlagOf(signZeroState)) + U" ZF:" + digit(zeroFlagOf(signZeroState));
}

std::u32string stackPointerCaption(std::int16_t stackPointer) {
    return U"SP:" + hex4(stackPointer);
}

std::u32string stackAreaText(std::int16_t stackBase, const std::int32_t* slots, int topIndex) {
    std::u32string text = U"Address Value\r\n--------------\r\n";
    for (int k = topIndex; k >= 1; --k) {
        appendHex4(text, std::int64_t{stackBase} - k + 1);
        text.push_back(U'\t');
        const std::u32string value = hex32(slots[k]);
        if (value.size() < 4) {
            text.append(4 - value.size(), U'0');
        }
        text.append(value);
        text.append(U"\r\n");
    }
    return text;
}

namespace {

/// Calls `line` with the data-word row of every line of the data dump after its header, in
/// order; 0 for the line that stands for folded words.
template <typename Line>
void forEachDataAreaLine(const ProgramTables& t, bool simpleDisplay, Line&& line) {
    bool eliding = false;
    for (int i = 1; i < t.dataWordCounter && ProgramTables::isDataRow(i); ++i) {
        const int mark = t.dataWords[i][displayMarkColumn];
        if (simpleDisplay && !eliding && mark == foldedAreaWordMark) {
            eliding = true;
            line(0);
        } else if (eliding && mark == 0) {
            eliding = false;
        }
        if (!eliding) {
            line(i);
        }
    }
}

} // namespace

std::u32string dataAreaText(const ProgramTables& t, bool simpleDisplay) {
    std::u32string text = U"Label Address   Value\r\n--------------------------\r\n";
    text.reserve(text.size() + static_cast<std::size_t>(t.dataWordCount()) * 32);
    forEachDataAreaLine(t, simpleDisplay, [&](int row) {
        if (row == 0) {
            text.append(U"\t:\r\n");
        } else {
            appendDataRow(text, t, row);
        }
    });
    return text;
}

std::vector<int> dataAreaRowsByLine(const ProgramTables& t, bool simpleDisplay) {
    std::vector<int> rows{0, 0};
    forEachDataAreaLine(t, simpleDisplay, [&rows](int row) { rows.push_back(row); });
    return rows;
}

MarkedListing::MarkedListing(std::u32string_view infoText) {
    std::size_t begin = 0;
    while (begin < infoText.size()) {
        std::size_t end = begin;
        while (end < infoText.size() && infoText[end] != U'\r' && infoText[end] != U'\n') {
            ++end;
        }
        lines_.emplace_back(infoText.substr(begin, end - begin));
        size_ += end - begin + 3;
        if (end + 1 < infoText.size() && infoText[end] == U'\r' && infoText[end + 1] == U'\n') {
            ++end;
        }
        begin = end + 1;
    }
}

std::u32string MarkedListing::text(int markedLine) const {
    std::u32string text;
    text.reserve(size_ + 8);
    for (std::size_t k = 1; k <= lines_.size(); ++k) {
        if (static_cast<int>(k) == markedLine) {
            text.append(executionMark);
        }
        text.push_back(U'\t');
        text.append(lines_[k - 1]);
        text.append(U"\r\n");
    }
    return text;
}

std::u32string MarkedListing::line(int markedLine) const {
    if (markedLine < 1 || static_cast<std::size_t>(markedLine) > lines_.size()) {
        return {};
    }
    return std::u32string(executionMark) + U'\t' + lines_[static_cast<std::size_t>(markedLine) - 1];
}

std::size_t markedListingPrefixLength(std::u32string_view line) {
    const std::size_t mark = line.starts_with(executionMark) ? executionMark.size() : 0;
    return line.substr(mark).starts_with(U'\t') ? mark + 1 : 0;
}

} // namespace casl
