#include "assembler/encoder.h"

#include "assembler/constants.h"
#include "assembler/findings.h"
#include "assembler/instruction_table.h"
#include "assembler/label_lookup.h"
#include "assembler/literal_pool.h"
#include "assembler/numeric_text.h"
#include "platform/text_codec.h"

#include <cstdint>
#include <string>

namespace casl {
namespace {

constexpr char32_t quote = U'\'';

std::u32string& findingsOf(ProgramTables& t, int line) {
    return t.lineFields[line][findingsColumn];
}

/// A character literal's text with its quotes removed; `closed` tells whether a quote ended it.
std::u32string characterLiteralText(std::u32string_view t, bool& closed) {
    std::u32string text;
    closed = false;
    for (std::size_t i = 2; i < t.size(); ++i) {
        if (t[i] != quote) {
            text.push_back(t[i]);
        } else if (i + 1 < t.size() && t[i + 1] == quote) {
            text.push_back(quote);
            ++i;
        } else {
            closed = true;
            break;
        }
    }
    return text;
}

void resolveLiteral(AssemblyState& state, int line, std::u32string_view t) {
    ProgramTables& tables = state.tables;
    std::u32string& findings = findingsOf(tables, line);
    std::int16_t& address = tables.lineCode[line][adrColumn];
    std::u32string text;
    LiteralKind kind;
    if (t.size() < 2 || t[1] != quote) {
        text.assign(t.begin() + 1, t.end());
        if (!text.empty() && text[0] == U'#') {
            kind = LiteralKind::hexadecimal;
            const HexValue hex = convertHex(text);
            address = hex.value;
            if (hex.bad) {
                setFinding(findings, 8);
            }
        } else {
            kind = LiteralKind::decimal;
            const std::int64_t value = leadingNumber(text);
            if ((value == 0 && (text.empty() || text[0] != U'0')) || value < -32768 ||
                value > 32767) {
                setFinding(findings, 8);
            } else {
                address = static_cast<std::int16_t>(value);
            }
        }
    } else {
        kind = LiteralKind::character;
        bool closed = false;
        text = characterLiteralText(t, closed);
        if (!closed) {
            appendFinding(findings, 8);
        }
        if (text.empty()) {
            appendFinding(findings, 8);
        } else {
            for (char32_t c : text) {
                if (!platform::cp932Code(c)) {
                    appendFinding(findings, 8);
                    break;
                }
            }
            address = static_cast<std::int16_t>(platform::cp932Code(text[0]).value_or(0));
        }
    }
    if (!findings.empty()) {
        return;
    }
    // Literal lines go before END; without a closing END there is no place for them.
    if (closingEndLine(tables) == 0) {
        appendFinding(findings, 8);
        return;
    }
    if (const auto placed = addLiteral(state, text, kind)) {
        address = *placed;
    }
}

void resolveJumpAddress(ProgramTables& t, int line) {
    const std::u32string& target = t.lineFields[line][operand1Column];
    std::u32string& findings = findingsOf(t, line);
    std::int16_t& address = t.lineCode[line][adrColumn];
    bool found = false;
    if (!target.empty()) {
        if (const int j = lastLineLabelled(t, target); j != 0) {
            found = true;
            address = t.lineAddress[j];
        }
        if (isNumeric(target)) {
            found = true;
            const std::int64_t value = numericValue(target);
            if (value < -32768 || value > 32767) {
                setFinding(findings, 8);
                return;
            }
            address = static_cast<std::int16_t>(value);
        }
    }
    if (!found) {
        appendFinding(findings, 9);
    }
}

void encodeLine(AssemblyState& state, int i) {
    ProgramTables& t = state.tables;
    auto& fields = t.lineFields[i];
    auto& code = t.lineCode[i];
    std::u32string& findings = fields[findingsColumn];
    const std::u32string& operand1 = fields[operand1Column];
    const std::u32string& operand2 = fields[operand2Column];
    const int k = findInstruction(fields[mnemonicColumn]);
    code[opColumn] = instructionTable[k].firstCode;

    // The register form is the one-word form that the address pass gave the line.
    if (hasTwoForms(k) && registerNumber(operand2)) {
        parseRegister(t, i, operand1, rColumn);
        parseRegister(t, i, operand2, xColumn);
        code[adrColumn] = 0;
        code[opColumn] = instructionTable[k].secondCode;
        return;
    }
    if (hasTwoForms(k) || k == row::st || (k >= row::sla && k <= row::srl)) {
        parseRegister(t, i, operand1, rColumn);
        parseIndexRegister(t, i);
        if (operand2.empty()) {
            appendFinding(findings, 8);
        }
        resolveAddress(state, i, operand2);
        return;
    }
    switch (k) {
    case row::nop:
    case row::rpush:
    case row::rpop:
        code[rColumn] = code[xColumn] = code[adrColumn] = 0;
        break;
    case row::lad:
        parseRegister(t, i, operand1, rColumn);
        parseIndexRegister(t, i);
        resolveAddress(state, i, operand2);
        break;
    case row::push:
    case row::call:
        parseJumpIndex(t, i);
        resolveAddress(state, i, operand1);
        break;
    case row::pop:
        parseRegister(t, i, operand1, rColumn);
        break;
    case row::svc:
        parseJumpIndex(t, i);
        break;
    case row::start:
        resolveAddress(state, i, operand1);
        break;
    case row::in:
    case row::out: {
        if (operand1.empty() && operand2.empty()) {
            setFinding(findings, 8);
        }
        resolveAddress(state, i, operand1);
        const std::int16_t area = code[adrColumn];
        resolveAddress(state, i, operand2);
        code[rColumn] = code[adrColumn];
        code[adrColumn] = area;
        break;
    }
    default:
        if (k >= row::jmi && k <= row::jov) {
            parseJumpIndex(t, i);
            resolveJumpAddress(t, i);
        }
        break;
    }
}

} // namespace

void parseRegister(ProgramTables& tables, int line, std::u32string_view text, int column) {
    if (const auto r = registerNumber(text)) {
        tables.lineCode[line][column] = static_cast<std::int16_t>(*r);
    } else {
        appendFinding(findingsOf(tables, line), 5);
    }
}

void parseIndexRegister(ProgramTables& tables, int line) {
    const std::u32string& text = tables.lineFields[line][operand3Column];
    if (text.empty()) {
        tables.lineCode[line][xColumn] = 0;
    } else if (const auto r = registerNumber(text); r && *r != 0) {
        tables.lineCode[line][xColumn] = static_cast<std::int16_t>(*r);
    } else {
        appendFinding(findingsOf(tables, line), 6);
    }
}

void parseJumpIndex(ProgramTables& tables, int line) {
    const std::u32string& text = tables.lineFields[line][operand2Column];
    const auto r = registerNumber(text);
    if (text.empty()) {
        tables.lineCode[line][xColumn] = 0;
    } else if (r && *r == 0) {
        tables.lineCode[line][xColumn] = 0;
        appendFinding(findingsOf(tables, line), 6);
    } else if (r) {
        tables.lineCode[line][xColumn] = static_cast<std::int16_t>(*r);
    } else {
        appendFinding(findingsOf(tables, line), 5);
    }
}

void resolveAddress(AssemblyState& state, int line, std::u32string_view text) {
    ProgramTables& t = state.tables;
    std::u32string& findings = findingsOf(t, line);
    std::int16_t& address = t.lineCode[line][adrColumn];
    if (!text.empty() && text[0] == U'=') {
        resolveLiteral(state, line, text);
    } else if (isNumeric(text)) {
        const std::int64_t value = numericValue(text);
        if ((value == 0 && text[0] != U'0') || value < -32768 || value > 65535) {
            setFinding(findings, 8);
        } else {
            address = static_cast<std::int16_t>(value < 32768 ? value : value - 65536);
        }
    } else if (!text.empty() && text[0] == U'#') {
        const HexValue hex = convertHex(text);
        address = hex.value;
        if (hex.bad) {
            setFinding(findings, 8);
        }
    } else if (const int j = lastLineLabelled(t, text); j != 0) {
        address = t.lineAddress[j];
    } else {
        appendFinding(findings, 9);
    }
}

void encodePass(AssemblyState& state) {
    const int last = state.tables.lineCounter - 1;
    for (int i = 1; i <= last && !state.stopped(); ++i) {
        state.finishedLines = i - 1;
        if (state.tables.lineFields[i][findingsColumn].empty()) {
            encodeLine(state, i);
        }
    }
}

} // namespace casl
