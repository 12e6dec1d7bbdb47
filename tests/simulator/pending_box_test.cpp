// A host that shows the run's boxes and answers them later, as a window or a browser page does,
// sees the same boxes, displays and ending as one that answers each box as it opens.
#include "simulator/run_messages.h"
#include "traced_program.h"

#include <gtest/gtest.h>
#include <ostream>

namespace casl::test {
namespace {

/// Records the boxes the run opened; answers none of them itself.
class LaterHost : public TraceHost {
public:
    std::vector<RunBox> boxes;
    DisplayTexts shown;
    int endings = 0;

    void showDisplays(const TraceDisplays& displays) override { shown = displays.texts(); }
    std::optional<BoxAnswer> boxOpened(const RunBox& box) override {
        boxes.push_back(box);
        return std::nullopt;
    }
    void traceEnded() override { ++endings; }
};

struct BoxCase {
    const char* name;
    std::vector<std::u32string_view> lines = {};
    std::vector<MessageAnswer> answers = {};
    std::vector<std::u32string> inputs = {};
    int breakpointLine = 0;
};

void PrintTo(const BoxCase& c, std::ostream* out) {
    *out << c.name;
}

std::u32string sourceOf(const BoxCase& c) {
    std::u32string source;
    for (std::u32string_view line : c.lines) {
        source.append(line).append(U"\r\n");
    }
    return source;
}

class PendingBoxes : public ::testing::TestWithParam<BoxCase> {};

TEST_P(PendingBoxes, AnsweredLaterTheRunIsTheSame) {
    const BoxCase& c = GetParam();
    const TraceOptions options{c.breakpointLine, false};

    auto answeringTables = std::make_unique<ProgramTables>();
    const AssemblyResult assembly = assemble(sourceOf(c), *answeringTables);
    ASSERT_TRUE(assembly.success);
    TracedProgram answering(std::move(answeringTables), assembly.infoText, options);
    answering.host().answers.assign(c.answers.begin(), c.answers.end());
    for (const std::u32string& input : c.inputs) {
        answering.host().inputs.emplace_back(input);
    }
    answering.run();

    ProgramTables tables;
    assemble(sourceOf(c), tables);
    MachineState machine;
    LaterHost host;
    TraceSession session(tables, machine, assembly.infoText, options, host);
    std::size_t answer = 0;
    std::size_t input = 0;
    session.start();
    while (!session.ended()) {
        if (session.waiting()) {
            session.next();
            continue;
        }
        ASSERT_TRUE(session.asking());
        const RunBox& box = *session.pendingBox();
        // Nothing but an answer moves an asking run on.
        session.next();
        session.end();
        session.back();
        ASSERT_TRUE(session.asking());
        if (box.kind == RunBox::Kind::Input) {
            session.answer(
                BoxAnswer{MessageAnswer::Ok, input < c.inputs.size()
                                                 ? std::optional<std::u32string>(c.inputs[input++])
                                                 : std::nullopt});
        } else if (box.buttons == MessageButtons::YesNo) {
            session.answer(
                BoxAnswer{answer < c.answers.size() ? c.answers[answer++] : MessageAnswer::Yes});
        } else {
            session.answer(BoxAnswer{});
        }
    }

    const auto messages = answering.messages();
    std::vector<RunBox> laterMessages;
    for (const RunBox& box : host.boxes) {
        if (box.kind == RunBox::Kind::Message) {
            laterMessages.push_back(box);
        }
    }
    ASSERT_EQ(laterMessages.size(), messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(laterMessages[i].text, messages[i].text);
        EXPECT_EQ(laterMessages[i].title, messages[i].title);
        EXPECT_EQ(laterMessages[i].buttons, messages[i].buttons);
    }
    EXPECT_EQ(host.boxes.size() - laterMessages.size(),
              static_cast<std::size_t>(answering.host().count(HostEvent::Input)));
    EXPECT_EQ(host.shown, answering.shown());
    EXPECT_EQ(session.ending(), answering.session().ending());
    EXPECT_EQ(machine.generalRegisters, answering.machine().generalRegisters);
    EXPECT_EQ(host.endings, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PendingBoxes,
    ::testing::Values(
        BoxCase{"InAndOut",
                {U"P       START", U"        IN      BUF,LEN", U"        OUT     BUF,LEN",
                 U"        RET", U"BUF     DS      4", U"LEN     DS      1", U"        END"},
                {},
                {U"ABC"}},
        BoxCase{"CancelledInput",
                {U"P       START", U"        IN      BUF,LEN", U"        OUT     BUF,LEN",
                 U"        RET", U"BUF     DS      4", U"LEN     DS      1", U"        END"}},
        BoxCase{"OperandQuestionsAnsweredNo",
                {U"P       START", U"        LD      GR2,M", U"        LD      GR1,A,GR2",
                 U"        LD      GR3,#0002", U"        ST      GR3,#0002", U"        RET",
                 U"A       DC      1", U"M       DC      -5", U"        END"},
                {MessageAnswer::No, MessageAnswer::No, MessageAnswer::No}},
        BoxCase{"LabelQuestionAnsweredYes",
                {U"P       START", U"        LD      GR2,M", U"        LD      GR1,A,GR2",
                 U"        RET", U"A       DC      1", U"M       DC      -5", U"        END"},
                {MessageAnswer::Yes}},
        BoxCase{"StepQuestionYesThenNo",
                {U"P       START", U"L       LAD     GR1,1,GR1", U"        JUMP    L",
                 U"        RET", U"        END"},
                {MessageAnswer::Yes, MessageAnswer::No},
                {},
                4},
        BoxCase{"RunTimeError",
                {U"P       START", U"        SRL     GR1,-1", U"        RET", U"        END"}}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

TEST(PendingBox, TheInputBoxAsksWithItsPromptTitleAndPlace) {
    ProgramTables tables;
    const AssemblyResult assembly =
        assemble(U"P       START\r\n        IN      BUF,LEN\r\n        RET\r\nBUF     DS      4\r\n"
                 U"LEN     DS      1\r\n        END\r\n",
                 tables);
    MachineState machine;
    LaterHost host;
    TraceSession session(tables, machine, assembly.infoText, {}, host);
    session.start();
    session.next();
    ASSERT_TRUE(session.asking());
    const RunBox* box = session.pendingBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->kind, RunBox::Kind::Input);
    EXPECT_EQ(box->text, messages::inputPrompt);
    EXPECT_EQ(box->title, messages::inputTitle);
    EXPECT_EQ(box->defaultText, U"");
    EXPECT_EQ(box->position.leftTwips, 10);
    EXPECT_EQ(box->position.topTwips, 10);
    // The box finds the displays with the IN line's PR and a blank object code.
    EXPECT_EQ(host.shown.pc, U"PR:0004");
    EXPECT_EQ(host.shown.obj, U"OBJ-Code:         ");
    session.answer(BoxAnswer{MessageAnswer::Ok, U"XY"});
    EXPECT_TRUE(session.waiting());
    EXPECT_EQ(session.pendingBox(), nullptr);
    EXPECT_EQ(tables.dataWords[5][dataValueColumn], 2);
}

TEST(PendingBox, EveryStepQuestionNamesTheBreakpointOfItsMoment) {
    // A loop that writes a character every round: OUT boxes come between the questions too.
    ProgramTables tables;
    const AssemblyResult assembly =
        assemble(U"P       START\r\nL       OUT     C,N\r\n        JUMP    L\r\n        RET\r\n"
                 U"C       DC      'A'\r\nN       DC      1\r\n        END\r\n",
                 tables);
    ASSERT_TRUE(assembly.success);
    MachineState machine;
    LaterHost host;
    TraceSession session(tables, machine, assembly.infoText, TraceOptions{4, false}, host);
    std::vector<std::u32string> questions;
    session.start();
    const std::u32string head = U"100ステップ実行されました。\r\n現在のブレークポイントは";
    while (questions.size() < 4 && session.asking()) {
        const RunBox& box = *session.pendingBox();
        if (box.purpose == RunBox::Purpose::StepQuestion) {
            questions.push_back(box.text);
            // Moved while the question is open: the next one names the new line.
            session.setBreakpointLine(questions.size() == 2 ? 0 : 4);
            session.answer(BoxAnswer{MessageAnswer::Yes});
        } else {
            session.answer(BoxAnswer{});
        }
        while (session.waiting()) {
            session.next();
        }
    }
    ASSERT_EQ(questions.size(), 4u);
    EXPECT_EQ(questions[0], head + U"4行目です。\r\nトレースを続行しますか?");
    EXPECT_EQ(questions[1], head + U"4行目です。\r\nトレースを続行しますか?");
    EXPECT_EQ(questions[2], head + U"行目です。\r\nトレースを続行しますか?");
    EXPECT_EQ(questions[3], head + U"4行目です。\r\nトレースを続行しますか?");
}

} // namespace
} // namespace casl::test
