#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace casl {

/// Highest line number of the line tables (literal lines included).
inline constexpr int maxLines = 300;
/// Highest row of the data-word table.
inline constexpr int maxDataWords = 2000;

/// Columns of `lineFields`.
enum FieldColumn : int {
    findingsColumn = 0,
    labelColumn = 1,
    mnemonicColumn = 2,
    operand1Column = 3,
    operand2Column = 4,
    operand3Column = 5,
    literalMarkColumn = 6,
};

/// Columns of `lineCode`.
enum CodeColumn : int {
    opColumn = 1,
    rColumn = 2,
    xColumn = 3,
    adrColumn = 4,
};

/// Columns of `dataWords`.
enum DataColumn : int {
    displayMarkColumn = 0,
    dataAddressColumn = 1,
    dataValueColumn = 2,
};

/// Marks in `displayMarkColumn` of `dataWords`.
/// A word past the first 20 of a `DS` area: the simple data display folds it.
inline constexpr std::int32_t foldedAreaWordMark = 1;
/// The row that stands for a `DS` of length 0. Its address column holds 0, but it is no word
/// at that address.
inline constexpr std::int32_t emptyAreaPlaceholderMark = 10;

/// The whole result of an assembly and the whole input of the simulator.
/// Every table is indexed from 1; row 0 exists and is never filled. The accessors below read a
/// row outside the table as a cleared row, so no caller ever indexes out of bounds.
struct ProgramTables {
    std::array<std::array<std::u32string, 7>, maxLines + 1> lineFields{};
    std::array<std::int16_t, maxLines + 1> lineAddress{};
    std::array<std::array<std::int16_t, 5>, maxLines + 1> lineCode{};
    std::array<std::u32string, maxDataWords + 1> dataLabel{};
    std::array<std::array<std::int32_t, 3>, maxDataWords + 1> dataWords{};
    /// One more than the number of program lines.
    int lineCounter = 1;
    /// One more than the number of data-word rows in use.
    int dataWordCounter = 1;

    static constexpr bool isLine(int n) { return n >= 0 && n <= maxLines; }
    static constexpr bool isDataRow(int w) { return w >= 0 && w <= maxDataWords; }

    /// `lineAddress`(n), 0 for a row past the table.
    std::int16_t address(int n) const { return isLine(n) ? lineAddress[n] : 0; }
    /// `lineCode`(n, column), 0 for a row past the table.
    std::int16_t code(int n, int column) const { return isLine(n) ? lineCode[n][column] : 0; }
    /// `lineFields`(n, column), "" for a row past the table.
    const std::u32string& field(int n, int column) const {
        static const std::u32string empty;
        return isLine(n) ? lineFields[n][column] : empty;
    }
    /// The number of program lines (`lineCounter` − 1).
    int lineCount() const { return lineCounter - 1; }
    /// The number of data-word rows in use (`dataWordCounter` − 1).
    int dataWordCount() const { return dataWordCounter - 1; }
};

} // namespace casl
