#include "assembler/constants.h"

#include "assembler/findings.h"
#include "assembler/label_lookup.h"
#include "assembler/numeric_text.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace casl {
namespace {

constexpr char32_t quote = U'\'';

int hexDigit(char32_t c, bool& bad) {
    if (c >= U'0' && c <= U'9') {
        return static_cast<int>(c - U'0');
    }
    if (c >= U'A' && c <= U'F') {
        return static_cast<int>(c - U'A') + 10;
    }
    bad = true;
    return 0;
}

/// The words of one `DC` line, as they are found.
class DcWords {
public:
    DcWords(AssemblyState& state, int line, DcScan mode)
        : state_(state), tables_(state.tables), line_(line), mode_(mode) {}

    int count() const { return position_; }
    std::u32string& findings() { return tables_.lineFields[line_][findingsColumn]; }

    void add(std::int64_t value) {
        if (mode_ == DcScan::write) {
            if (tables_.dataWordCounter > maxDataWords) {
                state_.stop(tooManyDataWordsMessage);
                return;
            }
            auto& row = tables_.dataWords[tables_.dataWordCounter];
            row[dataAddressColumn] = tables_.lineAddress[line_] + position_;
            row[dataValueColumn] = static_cast<std::int32_t>(value);
            ++tables_.dataWordCounter;
        }
        ++position_;
    }

    void addString(std::u32string_view text) {
        for (char32_t c : text) {
            const auto code = platform::cp932Code(c);
            // A character without a code cannot be stored; reported once, by the counting run.
            if (!code && mode_ == DcScan::count) {
                appendFinding(findings(), 8);
            }
            add(code.value_or(0));
        }
    }

    void addItem(std::u32string_view item) {
        if (item[0] == U'#') {
            const HexValue hex = convertHex(item);
            if (hex.bad) {
                setFinding(findings(), 8);
            }
            add(hex.value);
        } else if (isNumeric(item)) {
            const std::int64_t value = numericValue(item);
            if ((value == 0 && item[0] != U'0') || value < -32768 || value > 65535) {
                setFinding(findings(), 8);
            }
            add(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
        } else if (const int j = firstLineLabelled(tables_, item); j != 0) {
            add(tables_.lineAddress[j]);
        } else {
            appendFinding(findings(), 9);
        }
    }

private:
    AssemblyState& state_;
    ProgramTables& tables_;
    int line_;
    DcScan mode_;
    int position_ = 0;
};

} // namespace

HexValue convertHex(std::u32string_view text) {
    HexValue result;
    const std::size_t digits = text.size() - 1;
    if (text.size() < 2 || digits > 4) {
        result.bad = true;
        return result;
    }
    result.bad = digits != 4;
    int value = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        value = value * 16 + hexDigit(text[i], result.bad);
    }
    result.value = static_cast<std::int16_t>(value > 32767 ? value - 65536 : value);
    return result;
}

int scanDcOperands(AssemblyState& state, int line, DcScan mode) {
    DcWords words(state, line, mode);
    const std::u32string operands = state.tables.lineFields[line][operand1Column];
    std::u32string item;
    bool inString = false;
    for (std::size_t i = 0; i < operands.size() && !state.stopped(); ++i) {
        const char32_t c = operands[i];
        const char32_t next = i + 1 < operands.size() ? operands[i + 1] : 0;
        if (c == U';' && !inString) {
            if (words.count() == 0) {
                appendFinding(words.findings(), 8);
            }
            return words.count();
        }
        if (inString) {
            if (c == quote && next != quote) {
                words.addString(item);
                inString = false;
                item.clear();
            } else if (c == quote) {
                item.push_back(quote);
                ++i;
            } else {
                item.push_back(c);
            }
            continue;
        }
        if (c != U'\t' && c != U' ' && c != U',' && c != quote) {
            item.push_back(c);
        }
        if (c == U',' && !item.empty()) {
            words.addItem(item);
            item.clear();
        } else if (c == quote) {
            item.clear();
            inString = true;
        }
    }
    if (!item.empty() && !state.stopped()) {
        words.addItem(item);
    }
    return words.count();
}

} // namespace casl
