#include "random_program.h"

#include "assembler/instruction_table.h"
#include "platform/text_codec.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace casl::test {
namespace {

using Random = std::mt19937;

int pick(Random& random, int count) {
    return static_cast<int>(random() % static_cast<unsigned>(count));
}

bool chance(Random& random, int percent) {
    return pick(random, 100) < percent;
}

std::string reg(Random& random) {
    return "GR" + std::to_string(pick(random, 8));
}

std::string hex4(int value) {
    static constexpr char digits[] = "0123456789ABCDEF";
    const unsigned v = static_cast<unsigned>(value) & 0xFFFF;
    return {'#', digits[(v >> 12) & 15], digits[(v >> 8) & 15], digits[(v >> 4) & 15],
            digits[v & 15]};
}

/// The labels a program may name.
struct Labels {
    std::vector<std::string> code;
    std::vector<std::string> data;
};

/// An address operand: mostly a data label, else a code label, a literal, or a number that
/// may name a data word, a code word or nothing.
std::string address(Random& random, const Labels& labels) {
    const int kind = pick(random, 20);
    if (kind < 14) {
        return labels
            .data[static_cast<std::size_t>(pick(random, static_cast<int>(labels.data.size())))];
    }
    if (kind == 5) {
        return labels
            .code[static_cast<std::size_t>(pick(random, static_cast<int>(labels.code.size())))];
    }
    if (kind < 17) {
        static constexpr std::array<std::string_view, 6> literals{"=0",     "=1",   "=-1",
                                                                  "=#FFFF", "='A'", "=32767"};
        return std::string(literals[static_cast<std::size_t>(pick(random, literals.size()))]);
    }
    const int number = pick(random, 90) - 4;
    return kind == 17 ? hex4(number) : std::to_string(number);
}

std::string indexed(Random& random, std::string operand) {
    if (chance(random, 30)) {
        operand += ",GR" + std::to_string(1 + pick(random, 7));
    }
    return operand;
}

std::string codeTarget(Random& random, const Labels& labels) {
    if (chance(random, 85)) {
        return labels
            .code[static_cast<std::size_t>(pick(random, static_cast<int>(labels.code.size())))];
    }
    return std::to_string(pick(random, 60));
}

/// One instruction line (without a label).
std::string instruction(Random& random, const Labels& labels) {
    static constexpr std::array<std::string_view, 10> memory{"LD",  "ADDA", "SUBA", "ADDL", "SUBL",
                                                             "AND", "OR",   "XOR",  "CPA",  "CPL"};
    static constexpr std::array<std::string_view, 4> shifts{"SLA", "SRA", "SLL", "SRL"};
    static constexpr std::array<std::string_view, 6> jumps{"JMI",  "JNZ", "JZE",
                                                           "JUMP", "JPL", "JOV"};
    const auto one = [&](const auto& names) {
        return std::string(
            names[static_cast<std::size_t>(pick(random, static_cast<int>(names.size())))]);
    };
    switch (pick(random, 24)) {
    case 0:
    case 1:
    case 2:
        return one(memory) + " " + reg(random) + "," + indexed(random, address(random, labels));
    case 3:
    case 4:
        return one(memory) + " " + reg(random) + "," + reg(random);
    case 5:
        return "ST " + reg(random) + "," + indexed(random, address(random, labels));
    case 6:
    case 7:
        return "LAD " + reg(random) + "," +
               indexed(random, chance(random, 70) ? std::to_string(pick(random, 200) - 100)
                                                  : address(random, labels));
    case 8:
        return one(shifts) + " " + reg(random) + "," +
               indexed(random, std::to_string(pick(random, 22) - 2));
    case 9:
    case 10:
    case 11:
        return one(jumps) + " " + indexed(random, codeTarget(random, labels));
    case 12:
        return "PUSH " + indexed(random, std::to_string(pick(random, 100)));
    case 13:
        return chance(random, 50) ? "POP " + reg(random)
                                  : "PUSH 0,GR" + std::to_string(1 + pick(random, 7));
    case 14:
        return "CALL " + indexed(random, codeTarget(random, labels));
    case 15:
        return "RET";
    case 16:
        return chance(random, 60) ? "RPUSH" : "RPOP";
    case 17:
        return std::string(chance(random, 50) ? "IN " : "OUT ") + "BUF,LEN";
    case 18:
        return chance(random, 50) ? "NOP" : "SVC " + std::to_string(pick(random, 3));
    case 19:
    case 20:
        // Counting, so that loops get somewhere.
        return "LAD " + reg(random) + "," + std::to_string(pick(random, 5) - 2) + ",GR" +
               std::to_string(1 + pick(random, 7));
    default:
        return "CPA " + reg(random) + "," + reg(random);
    }
}

} // namespace

std::u32string randomProgram(Random& random) {
    Labels labels;
    const int lines = 6 + pick(random, 30);
    for (int i = 0; i < lines; ++i) {
        labels.code.push_back("C" + std::to_string(i));
    }
    labels.data = {"BUF", "LEN", "D1", "D2", "D3"};

    std::string text = "; a program drawn at random\r\n";
    text += "PRG START";
    std::string prologue;
    // Registers with every kind of bit pattern, for the shifts and the logical operations.
    for (int r = 0; r < 8; ++r) {
        if (chance(random, 50)) {
            prologue += " LAD GR" + std::to_string(r) + "," + hex4(pick(random, 65536)) + "\r\n";
        }
    }
    if (chance(random, 15)) {
        // Mostly a code line; now and then a data line, which stops the run at once.
        text +=
            " " + (chance(random, 80) ? labels.code[static_cast<std::size_t>(pick(random, lines))]
                                      : std::string("D1"));
    }
    text += "\r\n" + prologue;
    for (int i = 0; i < lines; ++i) {
        if (chance(random, 8)) {
            text += "; a comment between the lines\r\n";
        }
        text +=
            labels.code[static_cast<std::size_t>(i)] + " " + instruction(random, labels) + "\r\n";
    }
    if (chance(random, 70)) {
        text += " RET\r\n";
    }
    text += "BUF DS " + std::to_string(pick(random, 6)) + "\r\n";
    text += "LEN DC " + std::to_string(pick(random, 8)) + "\r\n";
    text += "D1 DC " + std::to_string(pick(random, 98304) - 32768) + "," +
            hex4(pick(random, 65536)) + ",'AB'\r\n";
    text += "D2 DS " + std::to_string(chance(random, 30) ? 0 : 1 + pick(random, 25)) + "\r\n";
    text += "D3 DC 'ｱ',#8000,65535\r\n";
    text += " END\r\n";
    return platform::fromUtf8(text);
}

std::unique_ptr<ProgramTables> randomTables(Random& random) {
    auto t = std::make_unique<ProgramTables>();
    static constexpr std::array<int, 12> oddCodes{0,    1,    0x13, 0x42, 0x54, 0x60,
                                                  0x67, 0x72, 0xF0, 300,  401,  999};
    const int lines = 2 + pick(random, 25);
    int address = 0;
    for (int n = 1; n <= lines; ++n) {
        auto& fields = t->lineFields[static_cast<std::size_t>(n)];
        auto& code = t->lineCode[static_cast<std::size_t>(n)];
        int op = 0;
        if (chance(random, 85)) {
            // Mostly rows that act: a run stays on a DC, DS, END or SVC line for good.
            const int rowNumber = chance(random, 90) ? 1 + pick(random, row::ret)
                                                     : pick(random, instructionTable.size());
            const InstructionRow& row = instructionTable[static_cast<std::size_t>(rowNumber)];
            op = row.secondCode != noForm && chance(random, 30) ? row.secondCode : row.firstCode;
            fields[mnemonicColumn] = std::u32string(row.mnemonic);
        } else {
            op = oddCodes[static_cast<std::size_t>(pick(random, oddCodes.size()))];
            fields[mnemonicColumn] = chance(random, 50) ? U"NOP" : U"DS";
        }
        if (n == 1) {
            op = 400;
        }
        code[0] = static_cast<std::int16_t>(chance(random, 5) ? 1 : 0);
        code[opColumn] = static_cast<std::int16_t>(chance(random, 5) ? 0 : op);
        // r and x beyond 7 (8 is 0 to some rules and not to others) and negative.
        const auto oddRegister = [&] {
            return static_cast<std::int16_t>(chance(random, 40) ? 8 : pick(random, 11) - 1);
        };
        code[rColumn] = oddRegister();
        code[xColumn] = chance(random, 40) ? std::int16_t{0} : oddRegister();
        fields[findingsColumn] = chance(random, 10) ? U"0" : U"";
        fields[operand1Column] = chance(random, 30) ? U"BUF" : U"";
        fields[operand2Column] = chance(random, 40) ? U"#0010" : chance(random, 50) ? U"LEN" : U"";
        t->lineAddress[static_cast<std::size_t>(n)] = static_cast<std::int16_t>(address);
        // Now and then the program does not begin at address 0, so its START clears nothing.
        address += n == 1 && chance(random, 50) ? 1 + pick(random, 4)
                   : chance(random, 10)         ? 0
                                                : 1 + pick(random, 2);
    }
    t->lineCounter = lines + 1;
    const int words = pick(random, 12);
    for (int w = 1; w <= words; ++w) {
        auto& word = t->dataWords[static_cast<std::size_t>(w)];
        word[displayMarkColumn] = chance(random, 10) ? emptyAreaPlaceholderMark : 0;
        // Addresses after the code, with repeats and now and then address 0.
        word[dataAddressColumn] = chance(random, 10) ? 0 : address + pick(random, words + 1);
        word[dataValueColumn] = pick(random, 70000) - 3000;
        t->dataLabel[static_cast<std::size_t>(w)] = w == 1 ? U"BUF" : w == 3 ? U"LEN" : U"";
    }
    t->dataWordCounter = words + 1;
    // Addresses: mostly near the code and the data, with a data word's now and then.
    for (int n = 1; n <= lines; ++n) {
        const int kind = pick(random, 10);
        const int adr = kind < 4   ? address + pick(random, words + 1)
                        : kind < 9 ? pick(random, address + 4) - 2
                                   : pick(random, 65536) - 32768;
        t->lineCode[static_cast<std::size_t>(n)][adrColumn] = static_cast<std::int16_t>(adr);
    }
    return t;
}

} // namespace casl::test
