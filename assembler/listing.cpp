#include "assembler/listing.h"

#include "assembler/findings.h"
#include "assembler/instruction_table.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace casl {
namespace {

constexpr std::array<std::u32string_view, 10> errorMessages{
    U"",
    U"ラベルの重複 ",
    U"ラベルの長さ ",
    U"ラベルの文字 ",
    U"文字データ(リテラル) ",
    U"<GR>レジスタ ",
    U"<XR>レジスタ ",
    U"ニーモニック ",
    U"オペランド ",
    U"オペランドのラベルが見つからない ",
};

constexpr char32_t hexDigits[] = U"0123456789ABCDEF";

void appendPadded(std::u32string& out, const std::u32string& text, std::size_t width) {
    out.append(text);
    if (text.size() < width) {
        out.append(width - text.size(), U' ');
    }
}

void appendHex(std::u32string& out, unsigned value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out.push_back(hexDigits[(value >> shift) & 0xF]);
    }
}

/// The register forms and the one-word POP and RET show no address word.
bool showsNoAddress(int row, std::int16_t op) {
    return isRegisterFormCode(op) || row == row::pop || row == row::ret;
}

/// The words of an instruction's object code: the codes as the listing writes them (two digits
/// of the operation code, one each of r and x), then the address word unless the form has none.
ObjectCode instructionCode(int r, const std::array<std::int16_t, 5>& code) {
    ObjectCode c{{}, 1, true};
    c.words[0] = static_cast<std::uint16_t>(((code[opColumn] & 0xFF) << 8) |
                                            ((code[rColumn] & 0xF) << 4) | (code[xColumn] & 0xF));
    if (!showsNoAddress(r, code[opColumn])) {
        c.words[1] = static_cast<std::uint16_t>(code[adrColumn]);
        c.wordCount = 2;
    }
    return c;
}

ObjectCode objectCodeOf(const ProgramTables& t, int n,
                        const std::unordered_map<std::int32_t, int>& lastWordAt,
                        const ListingReach& reach) {
    const int r = findInstruction(t.lineFields[n][mnemonicColumn]);
    const bool dataRow = r == row::dc || r == row::ds;
    if (r == unknownRow) {
        return {};
    }
    if ((r <= row::svc && n > reach.encodedLines) || (dataRow && n > reach.dataLines)) {
        return {{}, 0, true};
    }
    if (r <= row::svc) {
        return instructionCode(r, t.lineCode[n]);
    }
    if (r == row::dc) {
        const auto word = lastWordAt.find(t.lineAddress[n]);
        // Values beyond a word (65535 from a decimal constant) show their last four digits.
        const std::int32_t shown = word == lastWordAt.end()
                                       ? t.lineAddress[n]
                                       : t.dataWords[word->second][dataValueColumn];
        return {{static_cast<std::uint16_t>(shown & 0xFFFF), 0}, 1, true};
    }
    if (r == row::ds) {
        return {{0, 0}, 1, true};
    }
    return {{}, 0, true};
}

/// The column is 9 characters wide whenever the line has it.
void appendObjectCode(std::u32string& out, const ObjectCode& code) {
    if (!code.column) {
        return;
    }
    if (code.wordCount == 0) {
        out.append(9, U' ');
        return;
    }
    appendHex(out, code.words[0], 4);
    if (code.wordCount == 2) {
        out.push_back(U' ');
        appendHex(out, code.words[1], 4);
    } else {
        out.append(5, U' ');
    }
}

} // namespace

std::u32string hex4(std::int32_t value) {
    std::u32string text;
    appendHex(text, static_cast<std::uint32_t>(value) & 0xFFFF, 4);
    return text;
}

std::u32string listingHeader() {
    return U"Address Object-Code     Label    Mnemonic  Gr, Op, Xr\r\n" + std::u32string(61, U'-') +
           U"\r\n";
}

std::u32string_view errorMessage(int error) {
    return error >= 1 && error <= 9 ? errorMessages[error] : std::u32string_view{};
}

std::vector<ObjectCode> objectCodes(const ProgramTables& t, const ListingReach& reach) {
    // A DC line shows the last data word that has its address. The row of an empty `DS` area
    // has no address, though its address column reads 0.
    std::unordered_map<std::int32_t, int> lastWordAt;
    lastWordAt.reserve(static_cast<std::size_t>(t.dataWordCount()));
    for (int w = 1; w < t.dataWordCounter && w <= maxDataWords; ++w) {
        if (t.dataWords[w][displayMarkColumn] != emptyAreaPlaceholderMark) {
            lastWordAt[t.dataWords[w][dataAddressColumn]] = w;
        }
    }
    std::vector<ObjectCode> codes(static_cast<std::size_t>(std::max(t.lineCounter, 1)));
    for (int n = 1; n < t.lineCounter; ++n) {
        codes[static_cast<std::size_t>(n)] = objectCodeOf(t, n, lastWordAt, reach);
    }
    return codes;
}

std::u32string listingText(const ProgramTables& t, const ListingReach& reach) {
    const std::vector<ObjectCode> codes = objectCodes(t, reach);
    std::u32string out;
    out.reserve(static_cast<std::size_t>(t.lineCount()) * 48);
    for (int n = 1; n < t.lineCounter; ++n) {
        const auto& fields = t.lineFields[n];
        if (n <= reach.addressedLines) {
            out.append(hex4(t.lineAddress[n]));
        } else {
            out.append(4, U' ');
        }
        out.push_back(U'\t');
        appendObjectCode(out, codes[static_cast<std::size_t>(n)]);
        out.push_back(U'\t');
        appendPadded(out, fields[labelColumn], 9);
        appendPadded(out, fields[mnemonicColumn], 8);
        out.append(fields[operand1Column]);
        if (!fields[operand2Column].empty()) {
            out.push_back(U',');
        }
        out.append(fields[operand2Column]);
        if (!fields[operand3Column].empty()) {
            out.push_back(U',');
        }
        out.append(fields[operand3Column]);
        out.append(U"\r\n");
        for (const int error : errorNumbers(fields[findingsColumn])) {
            out.append(errorMessage(error));
            out.append(U"\r\n");
        }
    }
    return out;
}

std::vector<int> listingLineOwners(const ProgramTables& t) {
    std::vector<int> owners;
    owners.reserve(static_cast<std::size_t>(t.lineCount()));
    for (int n = 1; n < t.lineCounter; ++n) {
        // The listed line, then one line for each of its messages.
        owners.insert(owners.end(), errorNumbers(t.lineFields[n][findingsColumn]).size() + 1, n);
    }
    return owners;
}

int programLineOfListingWindowLine(const ProgramTables& t, int windowLine) {
    const std::vector<int> owners = listingLineOwners(t);
    const int listed = windowLine - listingHeaderLines;
    return listed >= 0 && listed < static_cast<int>(owners.size())
               ? owners[static_cast<std::size_t>(listed)]
               : 0;
}

int errorCount(const ProgramTables& t) {
    int count = 0;
    for (int n = 1; n < t.lineCounter; ++n) {
        if (hasError(t.lineFields[n][findingsColumn])) {
            ++count;
        }
    }
    return count;
}

std::u32string infoText(const ProgramTables& t) {
    std::u32string out;
    for (int n = 1; n < t.lineCounter; ++n) {
        const auto& fields = t.lineFields[n];
        appendPadded(out, fields[labelColumn], 10);
        appendPadded(out, fields[mnemonicColumn], 8);
        out.append(fields[operand1Column]);
        for (int k : {operand2Column, operand3Column}) {
            if (!fields[k].empty()) {
                out.push_back(U',');
                out.append(fields[k]);
            }
        }
        out.append(U"\r\n");
    }
    out.append(U"\r\n");
    return out;
}

} // namespace casl
