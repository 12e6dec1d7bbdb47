#pragma once

#include "assembler/assembler.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace casl::test {

/// One assembly of a program given line by line, with its tables.
struct Assembled {
    std::unique_ptr<ProgramTables> tables = std::make_unique<ProgramTables>();
    AssemblyResult result;

    const std::u32string& findings(int line) const {
        return tables->lineFields[line][findingsColumn];
    }
    const std::u32string& field(int line, int column) const {
        return tables->lineFields[line][column];
    }
    int code(int line, int column) const { return tables->lineCode[line][column]; }
    int address(int line) const { return tables->lineAddress[line]; }
};

inline std::u32string joinLines(std::initializer_list<std::u32string_view> lines) {
    std::u32string text;
    for (auto line : lines) {
        text.append(line);
        text.append(U"\r\n");
    }
    return text;
}

inline Assembled assembleText(std::u32string_view text) {
    Assembled a;
    a.result = assemble(text, *a.tables);
    return a;
}

inline Assembled assembleLines(std::initializer_list<std::u32string_view> lines) {
    return assembleText(joinLines(lines));
}

} // namespace casl::test
