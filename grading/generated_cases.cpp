#include "grading/generated_cases.h"

#include "assembler/assembler.h"
#include "grading/case_runner.h"
#include "grading/case_setup.h"
#include "grading/fixed_case_text.h"
#include "grading/input_generator.h"
#include "grading/run_check.h"
#include "platform/text_codec.h"
#include "simulator/word.h"

#include <algorithm>
#include <memory>
#include <variant>

namespace casl::check {
namespace {

/// A reference that cannot answer one case seldom answers the rest: a few of its faults say
/// enough, and the runs of the others are spared.
constexpr std::size_t maxFaults = 10;

ExpectedWord wordOf(std::int32_t value) {
    const auto word = static_cast<std::int16_t>(value);
    return {static_cast<std::uint16_t>(word), std::to_string(word)};
}

/// The endings that only say the run was stopped, never an answer a program gives.
bool isBound(RunEnding ending) {
    return ending == RunEnding::StepLimit || ending == RunEnding::OutputLimit ||
           ending == RunEnding::TimeLimit;
}

/// The data words of the line labelled `row`'s label: up to the next labelled word.
std::size_t wordsOfLine(const ProgramTables& tables, int row) {
    if (tables.dataWords[static_cast<std::size_t>(row)][displayMarkColumn] ==
        emptyAreaPlaceholderMark) {
        return 0;
    }
    int end = row + 1;
    while (end < tables.dataWordCounter && end <= maxDataWords &&
           tables.dataLabel[static_cast<std::size_t>(end)].empty()) {
        ++end;
    }
    return static_cast<std::size_t>(end - row);
}

/// The expectations of `c` as the reference's `run` (with its data words in `tables`) shows
/// them; why they cannot be taken, when that is so.
std::variant<Expectations, std::string> observed(const CheckCase& c, const RunRecord& run,
                                                 const ProgramTables& tables) {
    Expectations e;
    const bool endingCompared =
        std::any_of(c.compare->begin(), c.compare->end(),
                    [](const Observation& o) { return o.kind == Observation::Kind::Ending; });
    if (isBound(run.ending)) {
        return "the run was stopped (" + std::string(endingName(run.ending)) + ")";
    }
    if (run.ending != RunEnding::ProgramEnd && !endingCompared) {
        return "the run ended with " + std::string(endingName(run.ending)) +
               " and 'compare' does not take the ending";
    }
    for (const Observation& o : *c.compare) {
        switch (o.kind) {
        case Observation::Kind::Output:
            e.output = outputLinesOf(run.machine.outputText);
            break;
        case Observation::Kind::Ending:
            e.ending =
                ExpectedEnding{run.ending, std::nullopt, std::string(endingName(run.ending))};
            break;
        case Observation::Kind::Flags:
            e.overflowFlag = run.machine.overflowFlag != 0 ? 1 : 0;
            e.signFlag = signFlagOf(run.machine.signZeroState);
            e.zeroFlag = zeroFlagOf(run.machine.signZeroState);
            break;
        case Observation::Kind::Register:
            e.registers[static_cast<std::size_t>(o.reg)] =
                wordOf(run.machine.generalRegisters[static_cast<std::size_t>(o.reg)]);
            break;
        case Observation::Kind::Data: {
            const int row = labelledDataRow(tables, o.label);
            const std::size_t count = row == 0 ? 0 : wordsOfLine(tables, row);
            if (count == 0) {
                return "'compare' takes " + o.written + ", and no DC or DS line with words has " +
                       "that label";
            }
            ExpectedData d;
            d.label = o.label;
            d.list = true;
            for (std::size_t j = 0; j < count; ++j) {
                d.words.push_back(
                    wordOf(tables.dataWords[static_cast<std::size_t>(row) + j][dataValueColumn]));
            }
            e.data.push_back(std::move(d));
            break;
        }
        }
    }
    return e;
}

} // namespace

void addGeneratedCases(TestFile& file) {
    for (const GenerateSection& section : file.generate) {
        for (std::int32_t i = 1; i <= section.count; ++i) {
            file.cases.push_back(generatedCase(section, i));
        }
    }
    file.generate.clear();
}

std::vector<std::string> expectFromReference(TestFile& file, const std::string& name,
                                             std::u32string_view text) {
    const std::string who = "the reference " + name;
    const auto assembled = std::make_unique<ProgramTables>();
    const AssemblyResult assembly = assemble(text, *assembled);
    const auto work = std::make_unique<ProgramTables>();
    std::vector<std::string> faults;
    for (CheckCase& c : file.cases) {
        if (!c.compare) {
            continue;
        }
        if (faults.size() >= maxFaults) {
            faults.push_back("the generated cases after these were not tried");
            break;
        }
        if (!assembly.success) {
            return {who + " does not assemble, so it cannot give the generated cases' answers"};
        }
        const std::string place =
            "generated case \"" + c.name + "\" (" + givenText(c) + "): " + who + " ";
        *work = *assembled;
        const auto prepared = prepareCaseRun(*work, c);
        if (const auto* problem = std::get_if<std::string>(&prepared)) {
            faults.push_back(place + "cannot run it: " + *problem);
            continue;
        }
        const RunRecord run = runCase(*work, assembly.infoText, c, std::get<int>(prepared));
        auto expectations = observed(c, run, *work);
        if (const auto* problem = std::get_if<std::string>(&expectations)) {
            faults.push_back(place + "gives no answer: " + *problem);
            continue;
        }
        c.expect = std::move(std::get<Expectations>(expectations));
        // What the case checks beyond the reference's answer (registers kept over a call) the
        // reference must pass itself.
        for (const Mismatch& m : compareRun(run, *work, c)) {
            faults.push_back(place + "fails it: " + m.place() + ": expected " + m.expected +
                             " | got " + m.actual);
        }
    }
    return faults;
}

} // namespace casl::check
