#pragma once

#include "grading/run_ending.h"
#include "simulator/step_budget.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace casl::check {

/// The step budget of a case that names none.
inline constexpr std::int64_t defaultMaxSteps = casl::defaultMaxSteps;
/// How many characters the `OUT` text of a run may hold (CR LF counting as two) when the case
/// names no bound. Every `OUT` box shows the whole text so far, so a printing loop costs time
/// with the square of its output.
inline constexpr std::int64_t defaultMaxOutput = 10000;

/// A word as the test file wrote it: decimal (-32768 to 65535) or "#hhhh". Words compare by
/// their 16-bit pattern, so -1, 65535 and "#FFFF" are the same word.
struct ExpectedWord {
    std::uint16_t pattern = 0;
    /// The value as written, for reports.
    std::string written;
};

/// The expected ending of a run.
struct ExpectedEnding {
    RunEnding ending = RunEnding::ProgramEnd;
    /// The message text when the file gave the text instead of a name (line ends as LF, no
    /// final line end); the message must then have exactly this text.
    std::optional<std::u32string> text;
    /// As written, for reports.
    std::string written;
};

/// The contents of the data words from a label on: expected at the end of a run, or set before
/// it.
struct ExpectedData {
    /// The label, as the program's `DC` or `DS` line writes it.
    std::u32string label;
    enum class Kind {
        Words, ///< One value, or a list of values from the label on.
        Text,  ///< A string: one word per character, each the character's code.
    };
    Kind kind = Kind::Words;
    /// Words: the values; Text: the character codes.
    std::vector<ExpectedWord> words;
    /// Text: the characters.
    std::u32string text;
    /// Whether the words were written as a list (a one-word list still names the list form).
    bool list = false;
};

/// What must hold when a run has ended.
struct Expectations {
    /// None given: the run must end with "Program終了".
    std::optional<ExpectedEnding> ending;
    /// The lines that `OUT` wrote, one per `OUT`.
    std::optional<std::vector<std::u32string>> output;
    std::array<std::optional<ExpectedWord>, 8> registers;
    std::optional<ExpectedWord> programRegister;
    std::optional<ExpectedWord> stackPointer;
    std::optional<int> overflowFlag;
    std::optional<int> signFlag;
    std::optional<int> zeroFlag;
    std::vector<ExpectedData> data;
};

/// A case that calls a subroutine instead of running the program from its start.
struct SubroutineCall {
    /// The label of the subroutine's first line.
    std::u32string label;
    /// GR0–GR7 at the call; those the case does not set are 0.
    std::array<std::int16_t, 8> registers{};
    /// The registers (0–7) that must hold at the end what they held at the call.
    std::vector<int> preserves;
};

/// A run's observation that a generated case compares with the reference's run.
struct Observation {
    enum class Kind {
        Output,   ///< The lines `OUT` wrote.
        Ending,   ///< How the run ended.
        Flags,    ///< OF, SF and ZF.
        Register, ///< One of GR0–GR7.
        Data,     ///< The words of a `DC` or `DS` line, from its label on.
    };
    Kind kind = Kind::Output;
    /// Register: 0–7.
    int reg = 0;
    /// Data: the label.
    std::u32string label;
    /// As the test file wrote it ("GR1", "data:RESULT"), for messages.
    std::string written;
};

/// One test case: how to answer the run's boxes, and what must hold at its end.
struct CheckCase {
    std::string name;
    /// The answers of the `IN` boxes in order; when they run out, the box is cancelled.
    std::vector<std::u32string> inputs;
    /// The answers of the Yes/No questions about operands in order (true = Yes); when they run
    /// out, Yes.
    std::vector<bool> answers;
    /// The step question is answered Yes while fewer steps than this were counted.
    std::int64_t maxSteps = defaultMaxSteps;
    /// The run is stopped once its `OUT` text holds more characters than this.
    std::int64_t maxOutput = defaultMaxOutput;
    /// The run is stopped once it took longer than this; none: no limit.
    std::optional<double> timeLimitSeconds;
    /// What the case is worth when it passes.
    double points = 1;
    /// A student's report shows only the case's name and verdict, never its inputs or
    /// expectations.
    bool hidden = false;
    /// false: the program must not assemble (the case runs nothing).
    bool assembles = true;
    /// With `assembles` false: the error numbers of every line in error, each list sorted and
    /// without repeats. None given: any assembly errors do.
    std::optional<std::map<int, std::vector<int>>> errors;
    /// Set: the run starts at a subroutine rather than at the program's first line.
    std::optional<SubroutineCall> call;
    /// The data words set before the run, each from its label on (`setup.data`, written as
    /// `expect.data` is), so that a table or an argument area can differ per case.
    std::vector<ExpectedData> setup;
    Expectations expect;
    /// Set for a case made by a `[[generate]]` section: the observations its expectations are
    /// taken from, from the reference's run of the same inputs.
    std::optional<std::vector<Observation>> compare;
};

/// How one generated IN line (or a run of them) is drawn.
struct GeneratedInput {
    enum class Kind {
        Text,   ///< Characters of `alphabet`, a length from the range.
        Number, ///< A decimal number from the range.
    };
    Kind kind = Kind::Text;
    std::u32string alphabet;
    /// Text: the length; Number: the value.
    std::int32_t min = 0;
    std::int32_t max = 0;
    /// How many lines of this kind follow one another.
    std::int32_t repeatMin = 1;
    std::int32_t repeatMax = 1;
};

/// Words drawn for a table before the run, from its label on.
struct GeneratedData {
    std::u32string label;
    std::int32_t countMin = 1;
    std::int32_t countMax = 1;
    std::int32_t min = 0;
    std::int32_t max = 0;
    /// Set: the label of a word that is given the number of words drawn.
    std::optional<std::u32string> countLabel;
};

/// A register at a generated call: fixed when `min` and `max` are the same.
struct GeneratedRegister {
    int reg = 0;
    std::int32_t min = 0;
    std::int32_t max = 0;
};

/// A `[[generate]]` section: cases whose inputs are drawn from a seed and whose expectations
/// are what the reference's run of the same inputs shows.
struct GenerateSection {
    /// The cases are named "name#1" to "name#count".
    std::string name;
    std::int32_t count = 1;
    std::uint64_t seed = 0;
    std::vector<GeneratedInput> inputs;
    std::vector<GeneratedData> data;
    std::vector<GeneratedRegister> registers;
    std::vector<Observation> compare;
    /// What every generated case shares: points, hidden, bounds, answers and the call.
    CheckCase base;
};

/// A test file: the cases every program is checked against.
struct TestFile {
    std::vector<CheckCase> cases;
    /// The `[[generate]]` sections; their cases are not in `cases` until they are made.
    std::vector<GenerateSection> generate;
    /// The teacher's solution, as the file names it (relative to the file's folder): it must
    /// pass every case before a class is graded.
    std::optional<std::string> reference;
    /// What an exercise is called, and what it asks (Markdown), shown to the student; empty
    /// when the file gives none (UTF-8).
    std::string title;
    std::string statement;
};

} // namespace casl::check
