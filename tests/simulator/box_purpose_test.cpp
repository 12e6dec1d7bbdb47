// Every box of a run says what it is for, so that a host answers it without reading its title.
#include "traced_program.h"

#include <gtest/gtest.h>
#include <vector>

namespace casl::test {
namespace {

using Purpose = RunBox::Purpose;

struct PurposeCase {
    std::string name;
    std::vector<std::u32string_view> lines;
    std::vector<MessageAnswer> answers;
    std::vector<Purpose> purposes;
};

void PrintTo(const PurposeCase& c, std::ostream* os) {
    *os << c.name;
}

class BoxPurpose : public testing::TestWithParam<PurposeCase> {};

TEST_P(BoxPurpose, NamesWhatTheBoxIsFor) {
    const PurposeCase& c = GetParam();
    std::u32string source;
    auto tables = std::make_unique<ProgramTables>();
    for (std::u32string_view line : c.lines) {
        source.append(line);
        source.append(U"\r\n");
    }
    const AssemblyResult assembly = assemble(source, *tables);
    ASSERT_TRUE(assembly.success);
    TracedProgram traced(std::move(tables), assembly.infoText);
    traced.host().answers.assign(c.answers.begin(), c.answers.end());
    traced.host().inputs = {U"A"};
    traced.run();
    std::vector<Purpose> purposes;
    for (const HostEvent& e : traced.host().events) {
        if (e.kind == HostEvent::Message || e.kind == HostEvent::Input) {
            purposes.push_back(e.purpose);
        }
    }
    EXPECT_EQ(purposes, c.purposes);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, BoxPurpose,
    testing::Values(
        PurposeCase{"InOutAndTheEnd",
                    {U"P       START", U"        IN      BUF,LEN", U"        OUT     BUF,LEN",
                     U"        RET", U"BUF     DS      4", U"LEN     DS      1", U"        END"},
                    {},
                    {Purpose::Input, Purpose::Output, Purpose::Message}},
        PurposeCase{"StepQuestion",
                    {U"P       START", U"L       LAD     GR1,1,GR1", U"        JUMP    L",
                     U"        RET", U"        END"},
                    {MessageAnswer::No},
                    {Purpose::StepQuestion}},
        PurposeCase{"LabelIntoTheCode",
                    {U"P       START", U"        LD      GR2,M", U"        LD      GR1,A,GR2",
                     U"        RET", U"A       DC      1", U"M       DC      -5", U"        END"},
                    {MessageAnswer::Yes},
                    {Purpose::OperandQuestion}},
        PurposeCase{"NumberIntoTheCode",
                    {U"P       START", U"        LD      GR1,1", U"        RET", U"        END"},
                    {MessageAnswer::No},
                    {Purpose::OperandQuestion, Purpose::Message}},
        PurposeCase{"RunTimeMessage",
                    {U"P       START", U"        POP     GR1", U"        RET", U"        END"},
                    {},
                    {Purpose::Message}}),
    testing::PrintToStringParamName());

} // namespace
} // namespace casl::test
