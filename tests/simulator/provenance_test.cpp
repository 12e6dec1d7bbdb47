// Who wrote each value: every kind of instruction gives the values it writes its step and
// line, and leaves the others alone; 戻る gives every value back the writer it had before.
#include "simulator/trace_table.h"
#include "traced_program.h"

#include <gtest/gtest.h>
#include <ostream>

namespace casl::test {
namespace {

TraceOptions explained() {
    TraceOptions options;
    options.explain = true;
    return options;
}

ValuePlace gr(int r) {
    return ValuePlace::machine(static_cast<MachineValue>(r));
}
const ValuePlace pr = ValuePlace::machine(MachineValue::ProgramRegister);
const ValuePlace sp = ValuePlace::machine(MachineValue::StackPointer);
const ValuePlace flags = ValuePlace::machine(MachineValue::Flags);

/// A value and the writer it should have: step 0 means none of the run's steps wrote it.
struct Expected {
    ValuePlace place;
    std::uint32_t step;
    std::uint16_t line;
};

struct WriterCase {
    const char* name;
    std::vector<std::u32string_view> lines;
    /// The waits passed before the check: the check looks at the wait after step `waits`.
    int waits;
    std::vector<Expected> expected;
    /// The answers of the IN boxes.
    std::vector<std::u32string_view> inputs = {};
};

void PrintTo(const WriterCase& c, std::ostream* out) {
    *out << c.name;
}

TracedProgram traced(const std::vector<std::u32string_view>& lines, TraceOptions options) {
    std::u32string source;
    for (std::u32string_view line : lines) {
        source.append(line).append(U"\r\n");
    }
    auto tables = std::make_unique<ProgramTables>();
    const AssemblyResult result = assemble(source, *tables);
    EXPECT_TRUE(result.success);
    return TracedProgram(std::move(tables), result.infoText, options);
}

/// The row of the first data word labelled `label`.
int rowOf(const ProgramTables& t, std::u32string_view label) {
    for (int w = 1; w < t.dataWordCounter; ++w) {
        if (t.dataLabel[static_cast<std::size_t>(w)] == label) {
            return w;
        }
    }
    ADD_FAILURE() << "no data word is labelled so";
    return 0;
}

/// Every writer of the displays, for comparing two moments of a run.
std::vector<Writer> allWriters(const TraceSession& s) {
    std::vector<Writer> all;
    for (int v = 0; v < machineValueCount; ++v) {
        all.push_back(s.provenance()->of(ValuePlace::machine(static_cast<MachineValue>(v))));
    }
    for (int w = 1; w <= maxDataWords; ++w) {
        all.push_back(s.provenance()->of(ValuePlace::dataWord(w)));
    }
    for (int k = 1; k < stackSlotCount; ++k) {
        all.push_back(s.provenance()->of(ValuePlace::stackSlot(k)));
    }
    return all;
}

class Writers : public ::testing::TestWithParam<WriterCase> {};

TEST_P(Writers, EachValueNamesTheStepAndLineThatLastWroteIt) {
    const WriterCase& c = GetParam();
    TracedProgram p = traced(c.lines, explained());
    for (std::u32string_view input : c.inputs) {
        p.host().inputs.emplace_back(std::u32string(input));
    }
    p.session().start();
    for (int i = 1; i < c.waits; ++i) {
        ASSERT_TRUE(p.session().waiting()) << "wait " << i;
        p.session().next();
    }
    ASSERT_TRUE(p.session().waiting());
    EXPECT_EQ(p.session().stepNumber(), static_cast<std::uint32_t>(c.waits));
    for (const Expected& e : c.expected) {
        const Writer writer = p.session().provenance()->of(e.place);
        EXPECT_EQ(writer, (Writer{e.step, e.line}))
            << "area " << static_cast<int>(e.place.area) << " index " << e.place.index;
    }
}

TEST_P(Writers, StepBackGivesEveryValueItsWriterBack) {
    const WriterCase& c = GetParam();
    TracedProgram p = traced(c.lines, explained());
    for (std::u32string_view input : c.inputs) {
        p.host().inputs.emplace_back(std::u32string(input));
    }
    p.session().start();
    std::vector<std::vector<Writer>> seen{allWriters(p.session())};
    for (int i = 1; i < c.waits; ++i) {
        ASSERT_TRUE(p.session().waiting()) << "wait " << i;
        p.session().next();
        seen.push_back(allWriters(p.session()));
    }
    for (std::size_t i = seen.size() - 1; i-- > 0;) {
        ASSERT_GT(p.session().stepsBack(), 0u);
        p.session().back();
        EXPECT_EQ(allWriters(p.session()), seen[i]) << "back to wait " << i + 1;
        EXPECT_EQ(p.session().stepNumber(), i + 1);
    }
}

std::vector<WriterCase> writerCases() {
    const auto data = [](int row) { return ValuePlace::dataWord(row); };
    const auto slot = [](int k) { return ValuePlace::stackSlot(k); };
    return {
        // The START at address 0 clears the registers and sets SP; the flags stay as the run's
        // start left them.
        {"StartBeginsTheProgram",
         {U"P       START", U"        RET", U"        END"},
         1,
         {{gr(0), 1, 1}, {gr(7), 1, 1}, {sp, 1, 1}, {pr, 1, 1}, {flags, 0, 0}}},
        {"LoadWritesTheRegisterAndTheFlags",
         {U"P       START", U"        LD      GR1,A", U"        RET", U"A       DC      5",
          U"        END"},
         2,
         {{gr(1), 2, 2}, {flags, 2, 2}, {pr, 2, 2}, {gr(2), 1, 1}, {sp, 1, 1}}},
        {"ArithmeticWritesTheRegisterAndTheFlags",
         {U"P       START", U"        LD      GR1,A", U"        ADDA    GR1,GR2",
          U"        LAD     GR3,1", U"        RET", U"A       DC      5", U"        END"},
         4,
         {{gr(1), 3, 3}, {flags, 3, 3}, {gr(3), 4, 4}, {pr, 4, 4}, {gr(2), 1, 1}}},
        {"CompareWritesOnlyTheFlags",
         {U"P       START", U"        LD      GR1,A", U"        CPA     GR1,A", U"        RET",
          U"A       DC      5", U"        END"},
         3,
         {{gr(1), 2, 2}, {flags, 3, 3}, {pr, 3, 3}}},
        {"StoreWritesTheWordNotTheFlags",
         {U"P       START", U"        LAD     GR1,7", U"        ST      GR1,A", U"        RET",
          U"A       DS      1", U"B       DC      2", U"        END"},
         3,
         {{data(1), 3, 3}, {data(2), 0, 0}, {gr(1), 2, 2}, {flags, 0, 0}, {pr, 3, 3}}},
        {"ShiftWritesTheRegisterAndTheFlags",
         {U"P       START", U"        LAD     GR1,3", U"        SLA     GR1,1", U"        RET",
          U"        END"},
         3,
         {{gr(1), 3, 3}, {flags, 3, 3}}},
        {"JumpWritesOnlyTheProgramRegister",
         {U"P       START", U"        LAD     GR1,1", U"        JUMP    NEXT", U"NEXT    RET",
          U"        END"},
         3,
         {{pr, 3, 3}, {gr(1), 2, 2}, {flags, 0, 0}}},
        {"JumpToNoLineWritesNothing",
         {U"P       START", U"        JUMP    256", U"        RET", U"        END"},
         2,
         {{pr, 1, 1}}},
        {"CallPushesTheReturnAddressAndRetPopsIt",
         {U"P       START", U"        CALL    SUB", U"        RET", U"SUB     LAD     GR1,1",
          U"        RET", U"        END"},
         2,
         {{sp, 2, 2}, {slot(2), 2, 2}, {pr, 2, 2}}},
        {"RetWritesSpAndTheProgramRegister",
         {U"P       START", U"        CALL    SUB", U"        RET", U"SUB     LAD     GR1,1",
          U"        RET", U"        END"},
         4,
         {{sp, 4, 5}, {pr, 4, 5}, {gr(1), 3, 4}}},
        {"PushWritesTheSlotAndSp",
         {U"P       START", U"        PUSH    5", U"        POP     GR2", U"        RET",
          U"        END"},
         2,
         {{sp, 2, 2}, {slot(2), 2, 2}, {gr(2), 1, 1}}},
        {"PopWritesTheRegisterAndSp",
         {U"P       START", U"        PUSH    5", U"        POP     GR2", U"        RET",
          U"        END"},
         3,
         {{sp, 3, 3}, {gr(2), 3, 3}, {flags, 0, 0}}},
        {"RpushWritesSevenSlots",
         {U"P       START", U"        RPUSH", U"        RPOP", U"        RET", U"        END"},
         2,
         {{sp, 2, 2}, {slot(2), 2, 2}, {slot(8), 2, 2}, {slot(9), 0, 0}, {gr(1), 1, 1}}},
        {"RpopWritesSevenRegisters",
         {U"P       START", U"        RPUSH", U"        RPOP", U"        RET", U"        END"},
         3,
         {{sp, 3, 3}, {gr(1), 3, 3}, {gr(7), 3, 3}, {gr(0), 1, 1}}},
        {"InWritesTheLengthAndTheCharacters",
         {U"P       START", U"        IN      BUF,LEN", U"        OUT     BUF,LEN", U"        RET",
          U"BUF     DS      4", U"LEN     DS      1", U"        END"},
         2,
         {{data(1), 2, 2}, {data(2), 2, 2}, {data(3), 0, 0}, {data(5), 2, 2}, {pr, 2, 2}},
         {U"AB"}},
        {"OutWritesOnlyTheProgramRegister",
         {U"P       START", U"        IN      BUF,LEN", U"        OUT     BUF,LEN", U"        RET",
          U"BUF     DS      4", U"LEN     DS      1", U"        END"},
         3,
         {{data(1), 2, 2}, {data(5), 2, 2}, {pr, 3, 3}},
         {U"AB"}},
        {"StepsThatExecuteDataLinesWriteNothing",
         {U"P       START", U"        LAD     GR1,1", U"A       DC      1", U"        END"},
         4,
         {{pr, 2, 2}, {gr(1), 2, 2}}},
    };
}

INSTANTIATE_TEST_SUITE_P(InstructionKinds, Writers, ::testing::ValuesIn(writerCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Provenance, ARunThatIsNotExplainedKeepsNone) {
    TracedProgram p({U"P       START", U"        LAD     GR1,1", U"        RET", U"        END"});
    p.run();
    EXPECT_EQ(p.session().provenance(), nullptr);
}

TEST(Provenance, ANewRunForgetsTheWritersOfTheLast) {
    TracedProgram p = traced({U"P       START", U"        LAD     GR1,7", U"        ST      GR1,A",
                              U"        RET", U"A       DS      1", U"        END"},
                             explained());
    p.run();
    ASSERT_EQ(p.session().provenance()->of(ValuePlace::dataWord(1)), (Writer{3, 3}));
    // The next run works on the word as this one left it, written by none of its steps.
    TraceSession again(p.tables(), p.machine(), U"", explained(), p.host());
    again.start();
    EXPECT_EQ(again.provenance()->of(ValuePlace::dataWord(1)), Writer{});
    EXPECT_EQ(p.data(U"A"), 7);
}

TEST(Provenance, StepBackAcrossDroppedStepsKeepsTheWritersOfTheKeptOnes) {
    // A history too small for the whole loop: the oldest steps are dropped, and stepping back
    // as far as it goes still gives every value the writer it had.
    TraceOptions options = explained();
    options.historyBytes = 4096;
    TracedProgram p =
        traced({U"P       START", U"        LAD     GR2,0", U"LOOP    LAD     GR2,1,GR2",
                U"        ST      GR2,A", U"        CPA     GR2,N", U"        JMI     LOOP",
                U"        RET", U"A       DS      1", U"N       DC      400", U"        END"},
               options);
    p.session().start();
    std::vector<std::vector<Writer>> seen{allWriters(p.session())};
    while (p.session().waiting() && p.session().stepNumber() < 1500) {
        p.session().next();
        seen.push_back(allWriters(p.session()));
    }
    ASSERT_TRUE(p.session().historyDropped());
    const std::size_t back = p.session().stepsBack();
    ASSERT_GT(back, 10u);
    for (std::size_t i = 1; i <= back; ++i) {
        p.session().back();
        EXPECT_EQ(allWriters(p.session()), seen[seen.size() - 1 - i]) << i << " steps back";
    }
    // The writers older than the kept steps are still named.
    EXPECT_EQ(p.session().provenance()->of(ValuePlace::machine(MachineValue::GR0)), (Writer{1, 1}));
}

// What a step read.

/// A word a step should have read: a data word by its label ("=" for the literal) and the
/// words after it, or a stack slot by its index; and the value read.
struct Read {
    std::u32string_view label;
    int offsetOrSlot;
    std::int32_t value;
};

struct ReadCase {
    const char* name;
    std::vector<std::u32string_view> lines;
    int waits;
    std::vector<Read> reads;
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.name;
}

class Reads : public ::testing::TestWithParam<ReadCase> {};

std::vector<WordOfStep> expectedReads(TracedProgram& p, const std::vector<Read>& reads) {
    std::vector<WordOfStep> words;
    for (const Read& r : reads) {
        if (r.label.empty()) {
            words.push_back(WordOfStep{true, r.offsetOrSlot,
                                       p.machine().stackBase - r.offsetOrSlot + 1, r.value});
        } else {
            // "=": the literal, the last data word.
            const int row =
                (r.label == U"=" ? p.tables().dataWordCounter - 1 : rowOf(p.tables(), r.label)) +
                r.offsetOrSlot;
            words.push_back(WordOfStep{
                false, row, p.tables().dataWords[static_cast<std::size_t>(row)][dataAddressColumn],
                r.value});
        }
    }
    return words;
}

TEST_P(Reads, TheWaitNamesTheWordsTheStepRead) {
    const ReadCase& c = GetParam();
    TracedProgram p = traced(c.lines, explained());
    p.session().start();
    for (int i = 1; i < c.waits; ++i) {
        ASSERT_TRUE(p.session().waiting());
        p.session().next();
    }
    ASSERT_TRUE(p.session().waiting());
    const std::vector<WordOfStep> expected = expectedReads(p, c.reads);
    EXPECT_EQ(wordsReadByStep(p.session()), expected);

    // One step on and back again: the same words.
    p.session().next();
    ASSERT_TRUE(p.session().waiting());
    p.session().back();
    EXPECT_EQ(wordsReadByStep(p.session()), expected);
}

std::vector<ReadCase> readCases() {
    const auto slot = [](int k, std::int32_t value) { return Read{U"", k, value}; };
    return {
        {"LabelOperand",
         {U"P       START", U"        LD      GR1,A", U"        LAD     GR2,1", U"        RET",
          U"A       DC      5", U"        END"},
         2,
         {{U"A", 0, 5}}},
        {"IndexedLabelOperand",
         {U"P       START", U"        LAD     GR2,1", U"        ADDA    GR1,A,GR2",
          U"        LAD     GR2,1", U"        RET", U"A       DC      5", U"        DC      9",
          U"        END"},
         3,
         {{U"A", 1, 9}}},
        {"NumberOperand",
         {U"P       START", U"        CPL     GR1,#0007", U"        LAD     GR2,1", U"        RET",
          U"A       DC      5", U"        END"},
         2,
         {{U"A", 0, 5}}},
        {"LiteralOperand",
         {U"P       START", U"        SUBA    GR1,=12", U"        LAD     GR2,1", U"        RET",
          U"        END"},
         2,
         {{U"=", 0, 12}}},
        {"StoreReadsNothing",
         {U"P       START", U"        ST      GR1,A", U"        LAD     GR2,1", U"        RET",
          U"A       DC      5", U"        END"},
         2,
         {}},
        {"PopReadsThePoppedSlot",
         {U"P       START", U"        PUSH    7", U"        POP     GR1", U"        LAD     GR2,1",
          U"        RET", U"        END"},
         3,
         {slot(2, 7)}},
        {"RetReadsTheReturnAddress",
         {U"P       START", U"        CALL    SUB", U"        LAD     GR2,1", U"        RET",
          U"SUB     RET", U"        END"},
         3,
         // The address of the line after the CALL (START takes two words).
         {slot(2, 4)}},
        {"RpopReadsSevenSlotsFromTheTop",
         {U"P       START", U"        LAD     GR1,1", U"        LAD     GR7,7", U"        RPUSH",
          U"        RPOP", U"        LAD     GR2,1", U"        RET", U"        END"},
         5,
         {slot(8, 7), slot(7, 0), slot(6, 0), slot(5, 0), slot(4, 0), slot(3, 0), slot(2, 1)}},
        {"OutReadsTheLengthAndTheCharacters",
         {U"P       START", U"        OUT     S,N", U"        LAD     GR2,1", U"        RET",
          U"S       DC      'AB'", U"N       DC      2", U"        END"},
         2,
         {{U"N", 0, 2}, {U"S", 0, 65}, {U"S", 1, 66}}},
    };
}

INSTANTIATE_TEST_SUITE_P(OperandKinds, Reads, ::testing::ValuesIn(readCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace casl::test
