#include "workbench/step_announcement.h"

#include <string_view>
#include <vector>

namespace casl {

namespace {

std::u32string number(int value) {
    const std::string digits = std::to_string(value);
    return std::u32string(digits.begin(), digits.end());
}

/// A display text as it is read out: runs of blanks and tabs become one blank, none stands at
/// either end or just inside a parenthesis ("(     5)" is read "(5)").
std::u32string spoken(std::u32string_view text) {
    std::u32string out;
    bool blank = false;
    for (const char32_t c : text) {
        if (c == U' ' || c == U'\t' || c == U'\u3000') {
            blank = !out.empty() && out.back() != U'(';
            continue;
        }
        if (blank && c != U')') {
            out.push_back(U' ');
        }
        blank = false;
        out.push_back(c);
    }
    return out;
}

/// The 0-based `index`th line of a text whose lines end in CR LF.
std::u32string_view lineOf(std::u32string_view text, int index) {
    std::size_t begin = 0;
    for (int i = 0; i < index; ++i) {
        const std::size_t end = text.find(U"\r\n", begin);
        if (end == std::u32string_view::npos) {
            return {};
        }
        begin = end + 2;
    }
    const std::size_t end = text.find(U"\r\n", begin);
    return text.substr(begin, end == std::u32string_view::npos ? end : end - begin);
}

/// A register's value without its binary digits: "[0000 0000 0000 1100] 000C (    12)" is
/// read "000C (12)".
std::u32string registerValue(std::u32string_view row) {
    const std::size_t bits = row.find(U']');
    return spoken(bits == std::u32string_view::npos ? row : row.substr(bits + 1));
}

void appendRows(std::vector<std::u32string>& said, std::u32string_view area,
                std::u32string_view name, const std::vector<int>& rows) {
    const int count = static_cast<int>(rows.size());
    for (int i = 0; i < count && i < announcedRowsLimit; ++i) {
        said.push_back(std::u32string(name) + U" " + spoken(lineOf(area, rows[i])));
    }
    if (count > announcedRowsLimit) {
        said.push_back(std::u32string(name) + U" ほか" + number(count - announcedRowsLimit) +
                       U"行");
    }
}

} // namespace

std::u32string stepAnnouncement(const DisplayTexts& texts, const DisplayChanges& changes,
                                int markedLine) {
    std::u32string text;
    if (markedLine > 0) {
        std::u32string_view line = lineOf(texts.listing, markedLine - 1);
        line.remove_prefix(markedListingPrefixLength(line));
        text = number(markedLine) + U"行目 " + spoken(line) + U"。";
    }
    std::vector<std::u32string> said;
    for (std::size_t i = 0; i < changes.registers.size(); ++i) {
        if (changes.registers[i]) {
            said.push_back(U"GR" + number(static_cast<int>(i)) + U" " +
                           registerValue(texts.registers[i]));
        }
    }
    if (changes.programRegister) {
        said.push_back(spoken(texts.pc));
    }
    if (changes.stackPointer) {
        said.push_back(spoken(texts.sp));
    }
    for (const CaptionSpan& flag : changes.flagSpans) {
        said.push_back(texts.fr.substr(static_cast<std::size_t>(flag.from),
                                       static_cast<std::size_t>(flag.length)));
    }
    appendRows(said, texts.dataArea, U"Data Area", changes.dataRows);
    appendRows(said, texts.stackArea, U"Stack Area", changes.stackRows);
    if (said.empty()) {
        return text + U"変化なし";
    }
    text += U"変化: ";
    for (std::size_t i = 0; i < said.size(); ++i) {
        text += (i == 0 ? U"" : U"、") + said[i];
    }
    return text;
}

} // namespace casl
