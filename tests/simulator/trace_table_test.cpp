// The trace table: one row per step, each row what the displays showed at that step's wait,
// and the same table as CSV and Markdown text.
#include "assembler/listing.h"
#include "platform/text_codec.h"
#include "simulator/trace_table_text.h"
#include "traced_program.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <ostream>

namespace casl::test {
namespace {

TraceOptions explained() {
    TraceOptions options;
    options.explain = true;
    return options;
}

std::unique_ptr<TracedProgram> tracedExample(const std::string& name) {
    std::ifstream in(std::string(CASL_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto tables = std::make_unique<ProgramTables>();
    const AssemblyResult result = assemble(platform::fromUtf8(bytes), *tables);
    EXPECT_TRUE(result.success) << name;
    return std::make_unique<TracedProgram>(std::move(tables), result.infoText, explained());
}

class ExampleTable : public ::testing::TestWithParam<std::string> {};

TEST_P(ExampleTable, EachRowIsWhatTheDisplaysShowedAtItsWait) {
    auto p = tracedExample(GetParam());
    p->host().inputs.assign(10, std::optional<std::u32string>(U"ABC"));
    p->run();
    const std::vector<DisplayTexts>& waits = p->host().waits;
    const std::vector<TraceTableRow> rows = traceTableRows(p->session());
    ASSERT_FALSE(waits.empty());
    // Every step waited (no breakpoint), and the last one ended the run without a row.
    ASSERT_EQ(rows.size(), waits.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TraceTableRow& row = rows[i];
        const DisplayTexts& shown = waits[i];
        SCOPED_TRACE("step " + std::to_string(row.step));
        EXPECT_EQ(row.step, i + 1);
        for (std::size_t r = 0; r < 8; ++r) {
            EXPECT_EQ(registerRow(row.registers[r]), shown.registers[r]) << "GR" << r;
        }
        EXPECT_EQ(programRegisterCaption(row.programRegister), shown.pc);
        EXPECT_EQ(stackPointerCaption(row.stackPointer), shown.sp);
        EXPECT_EQ(flagsCaption(row.overflowFlag, row.signZeroState), shown.fr);
        EXPECT_NE(shown.listing.find(U">>>>>> "), std::u32string::npos);
        for (const WordOfStep& w : row.written) {
            // The dumps show the word at its address with the value written.
            const std::u32string& dump = w.stack ? shown.stackArea : shown.dataArea;
            const std::u32string entry = hex4(w.address) + (w.stack ? U"\t" : U"   ") +
                                         hex4(w.value) + (w.stack ? U"" : U" (");
            EXPECT_NE(dump.find(entry), std::u32string::npos) << platform::toUtf8(entry);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleTable,
                         ::testing::Values("hello.cas", "echo.cas", "literals.cas", "loop.cas",
                                           "strings.cas", "subroutine.cas"),
                         [](const auto& info) { return caseName(platform::fromUtf8(info.param)); });

TracedProgram stackProgram() {
    return TracedProgram({U"P       START", U"        LAD     GR1,5", U"        ST      GR1,A",
                          U"        PUSH    3", U"        POP     GR2", U"        RET",
                          U"A       DS      1", U"        END"},
                         explained());
}

TEST(TraceTable, RowsNameTheWordsEachStepWroteWithTheirValueAfterIt) {
    TracedProgram p = stackProgram();
    p.run();
    const std::vector<TraceTableRow> rows = traceTableRows(p.session());
    ASSERT_EQ(rows.size(), 5u);
    const std::int32_t a = p.tables().dataWords[1][dataAddressColumn];
    const std::int16_t base = p.machine().stackBase;
    EXPECT_EQ(rows[2].written, (std::vector<WordOfStep>{{false, 1, a, 5}}));
    // PUSH wrote slot 2 (and the top index, which is no word of the dumps).
    EXPECT_EQ(rows[3].written, (std::vector<WordOfStep>{{true, 2, base - 1, 3}}));
    // POP cleared the slot it took, which is above the top after it.
    EXPECT_TRUE(rows[4].written.empty());
    EXPECT_EQ(rows[4].registers[2], 3);
}

TEST(TraceTable, StepBackDropsTheRowsOfTheStepsUndone) {
    TracedProgram p = stackProgram();
    p.session().start();
    for (int i = 0; i < 3; ++i) {
        p.session().next();
    }
    ASSERT_EQ(traceTableRows(p.session()).size(), 4u);
    p.session().back();
    p.session().back();
    const std::vector<TraceTableRow> rows = traceTableRows(p.session());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.back().step, 2u);
    EXPECT_EQ(rows.back().registers[1], 5);
    // From a later step on, only those rows.
    EXPECT_EQ(traceTableRows(p.session(), 2).size(), 1u);
    EXPECT_TRUE(traceTableRows(p.session(), 3).empty());
}

TEST(TraceTable, ARunWithoutHistoryOrNotExplainedHasNoTable) {
    TraceOptions withoutHistory = explained();
    withoutHistory.historyBytes = 0;
    for (const TraceOptions& options : {withoutHistory, TraceOptions{}}) {
        TracedProgram p(
            {U"P       START", U"        LAD     GR1,1", U"        LAD     GR1,2", U"        END"},
            options);
        p.session().start();
        p.session().next();
        ASSERT_TRUE(p.session().waiting());
        EXPECT_TRUE(traceTableRows(p.session()).empty()) << options.historyBytes;
    }
}

TEST(TraceTableText, CsvQuotesCellsWithCommasAndMarkdownEscapesBars) {
    TracedProgram p({U"P       START", U"        LAD     GR1,5", U"        ST      GR1,A",
                     U"        LD      GR2,='|'", U"        RET", U"A       DS      1",
                     U"        END"},
                    explained());
    p.run();
    const std::vector<TraceTableRow> rows = traceTableRows(p.session());
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<TraceTableRow> first(rows.begin(), rows.begin() + 3);
    TraceTableColumns columns = *TraceTableColumns::parse(U"GR1,PR,FR");
    EXPECT_EQ(platform::toUtf8(traceTableText(first, p.tables(), TraceTableFormat::Csv, columns)),
              "step,line,instruction,GR1,PR,OF,SF,ZF,written\r\n"
              "1,1,START,0000,0002,0,0,0,\r\n"
              "2,2,\"LAD GR1,5\",0005,0004,0,0,0,\r\n"
              "3,3,\"ST GR1,A\",0005,0006,0,0,0,0009:0005\r\n");
    const std::vector<TraceTableRow> last(rows.begin() + 3, rows.end());
    columns = *TraceTableColumns::parse(U"GR2,SP");
    EXPECT_EQ(
        platform::toUtf8(traceTableText(last, p.tables(), TraceTableFormat::Markdown, columns)),
        "| step | line | instruction | GR2 | SP | written |\n"
        "| --- | --- | --- | --- | --- | --- |\n"
        "| 4 | 4 | LD GR2,='\\|' | 007C | 002B |  |\n");
}

TEST(TraceTableColumns, NamesOutsideTheDisplaysAreRefused) {
    for (const std::u32string_view names : {U"GR8", U"gr1", U"GR1,,PR", U"OF", U"GR1 ,PR"}) {
        EXPECT_FALSE(TraceTableColumns::parse(names)) << platform::toUtf8(std::u32string(names));
    }
    const auto all = TraceTableColumns::parse(U"GR0,GR1,GR2,GR3,GR4,GR5,GR6,GR7,PR,SP,FR");
    ASSERT_TRUE(all);
    EXPECT_EQ(traceTableHeader(*all), traceTableHeader(TraceTableColumns{}));
}

} // namespace
} // namespace casl::test
