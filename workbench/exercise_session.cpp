#include "workbench/exercise_session.h"

#include "grading/case_runner.h"
#include "grading/program_check.h"
#include "grading/run_check.h"
#include "grading/test_file_reader.h"
#include "grading/word_text.h"
#include "platform/text_codec.h"
#include "workbench/exercise_texts.h"

#include <algorithm>

namespace casl {

namespace {

std::u32string u32(std::string_view utf8) {
    return platform::fromUtf8(utf8);
}

std::u32string decimal(std::size_t n) {
    return u32(std::to_string(n));
}

/// `output: expected "CBA", got "CB"`.
std::u32string detailOf(const check::Mismatch& m) {
    return u32(m.what) + std::u32string(texts::expectedWord) + u32(m.expected) +
           std::u32string(texts::gotWord) + u32(m.actual);
}

std::vector<std::u32string> detailsOf(const check::CaseResult& r) {
    std::vector<std::u32string> details;
    if (!r.problem.empty()) {
        details.push_back(u32(r.problem));
    }
    for (const check::Mismatch& m : r.mismatches) {
        details.push_back(detailOf(m));
    }
    return details;
}

/// The data a case sets before its run, as the test file wrote it: `N = 3`, `TABLE = [1, 2]`,
/// `NAME = "AB"`.
std::u32string setupText(const check::ExpectedData& d) {
    std::string text = platform::toUtf8(d.label) + " = ";
    if (d.kind == check::ExpectedData::Kind::Text) {
        return u32(text + check::quoted(d.text));
    }
    if (!d.list) {
        return u32(text + d.words.front().written);
    }
    text += "[";
    for (std::size_t j = 0; j < d.words.size(); ++j) {
        text += (j == 0 ? "" : ", ") + d.words[j].written;
    }
    return u32(text + "]");
}

std::u32string caseHeading(const check::CheckCase& c) {
    return std::u32string(texts::caseRunOpen) + u32(c.name) + std::u32string(texts::caseRunClose);
}

} // namespace

std::variant<std::unique_ptr<ExerciseSession>, std::u32string>
ExerciseSession::open(const ExerciseFiles& files) {
    if (!files.problem.empty()) {
        return files.problem;
    }
    auto read = check::parseTestFile(files.tests, platform::toUtf8(files.name) + "/tests.toml");
    if (const auto* error = std::get_if<check::TestFileError>(&read)) {
        return u32(error->message);
    }
    return std::make_unique<ExerciseSession>(files.name,
                                             std::move(std::get<check::TestFile>(read)));
}

ExerciseSession::ExerciseSession(std::u32string name, check::TestFile tests)
    : name_(std::move(name)), tests_(std::move(tests)),
      statement_(statementBlocks(u32(tests_.statement))) {}

void ExerciseSession::check(std::u32string_view programText) {
    results_ = check::checkProgramText(platform::toUtf8(name_), programText, tests_);
    stale_ = false;
}

void ExerciseSession::programChanged() {
    stale_ = results_.has_value();
}

void ExerciseSession::runStarts(std::optional<std::size_t> caseIndex) {
    runCase_ = caseIndex && *caseIndex < tests_.cases.size() ? caseIndex : std::nullopt;
    given_.clear();
    runMismatches_.reset();
    runStopped_ = false;
}

const check::CheckCase* ExerciseSession::runCase() const {
    return runCase_ ? &tests_.cases[*runCase_] : nullptr;
}

std::size_t ExerciseSession::givenCount(RunBox::Purpose purpose) const {
    return static_cast<std::size_t>(std::count_if(
        given_.begin(), given_.end(), [&](const Given& g) { return g.purpose == purpose; }));
}

void ExerciseSession::prepareBox(WorkbenchBox& box, const TraceSession& session) const {
    const check::CheckCase* c = runCase();
    if (c == nullptr) {
        return;
    }
    switch (box.run.purpose) {
    case RunBox::Purpose::Input: {
        // As `casl2 check` answers: the inputs in order; once they run out, the box is
        // cancelled, which stores what an empty answer stores.
        const std::size_t next = givenCount(RunBox::Purpose::Input);
        box.defaultText = next < c->inputs.size() ? c->inputs[next] : U"";
        break;
    }
    case RunBox::Purpose::OperandQuestion: {
        const std::size_t next = givenCount(RunBox::Purpose::OperandQuestion);
        const bool yes = next < c->answers.size() ? c->answers[next] : true;
        box.defaultButton = yes ? MessageAnswer::Yes : MessageAnswer::No;
        break;
    }
    case RunBox::Purpose::StepQuestion:
        box.defaultButton =
            session.countedSteps() < c->maxSteps ? MessageAnswer::Yes : MessageAnswer::No;
        break;
    case RunBox::Purpose::Output:
    case RunBox::Purpose::Message:
        break;
    }
}

void ExerciseSession::boxAnswered(const RunBox& box, std::size_t stepsBack) {
    if (runCase_ && (box.purpose == RunBox::Purpose::Input ||
                     box.purpose == RunBox::Purpose::OperandQuestion)) {
        given_.push_back(Given{box.purpose, stepsBack});
    }
}

void ExerciseSession::steppedBack(std::size_t stepsBack) {
    std::erase_if(given_, [&](const Given& g) { return g.stepsBack >= stepsBack; });
}

void ExerciseSession::runEnded(const TraceSession& session, const MachineState& machine,
                               const ProgramTables& tables) {
    const check::CheckCase* c = runCase();
    if (c == nullptr || runMismatches_) {
        return;
    }
    // Ended by End, or by No to the step question before the case's budget was spent: the
    // program did not come to the end the case looks at.
    runStopped_ =
        session.ending() == TraceEnding::EndButton ||
        (session.ending() == TraceEnding::StepQuestion && session.countedSteps() < c->maxSteps);
    check::RunRecord record;
    record.machine = machine;
    check::noteRunEnd(session, record);
    runMismatches_ =
        runStopped_ ? std::vector<check::Mismatch>{} : check::compareRun(record, tables, *c);
}

ExerciseView ExerciseSession::view(bool commandsEnabled) const {
    ExerciseView v;
    v.open = true;
    v.name = name_;
    v.title = tests_.title.empty() ? name_ : u32(tests_.title);
    v.statement = statement_;
    v.linkCommand = texts::exerciseLinkCommand;
    v.checkEnabled = commandsEnabled;
    v.checked = results_.has_value();
    for (std::size_t i = 0; i < tests_.cases.size(); ++i) {
        const check::CheckCase& c = tests_.cases[i];
        ExerciseCaseView row;
        row.name = u32(c.name);
        row.hidden = c.hidden;
        row.index = i;
        row.runnable = commandsEnabled && !c.hidden && c.assembles;
        if (results_ && i < results_->cases.size()) {
            const check::CaseResult& r = results_->cases[i];
            row.passed = r.passed;
            row.verdict = r.passed ? texts::casePassed : texts::caseFailed;
            if (!r.passed && !r.hidden) {
                row.details = detailsOf(r);
            }
        }
        if (c.hidden) {
            row.details = {std::u32string(texts::hiddenCase)};
        }
        v.cases.push_back(std::move(row));
    }
    if (!results_) {
        v.summary = texts::notChecked;
    } else if (stale_) {
        v.summary = texts::checkStale;
    } else if (results_->passed()) {
        v.allPassed = true;
        v.summary = texts::allCasesPassed;
    } else {
        v.summary = decimal(static_cast<std::size_t>(results_->passedCount())) +
                    std::u32string(texts::casesPassedMiddle) +
                    decimal(static_cast<std::size_t>(results_->caseCount())) +
                    std::u32string(texts::casesPassedEnd);
    }
    if (const check::CheckCase* c = runCase()) {
        CaseRunView& run = v.run;
        run.shown = true;
        run.heading = caseHeading(*c);
        std::u32string inputs;
        for (const std::u32string& input : c->inputs) {
            inputs += (inputs.empty() ? U"" : U", ") + u32(check::quoted(input));
        }
        run.given.push_back(inputs.empty() ? std::u32string(texts::caseRunNoInputs)
                                           : std::u32string(texts::caseRunInputs) + inputs);
        for (const check::ExpectedData& d : c->setup) {
            run.given.push_back(std::u32string(texts::caseRunSetup) + setupText(d));
        }
        if (!runMismatches_) {
            run.heading += texts::caseRunGoing;
        } else {
            run.ended = true;
            run.passed = !runStopped_ && runMismatches_->empty();
            run.heading += runStopped_  ? texts::caseRunStopped
                           : run.passed ? texts::caseRunPassed
                                        : texts::caseRunFailed;
            for (const check::Mismatch& m : *runMismatches_) {
                run.details.push_back(detailOf(m));
            }
        }
    }
    return v;
}

} // namespace casl
