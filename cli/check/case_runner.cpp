#include "cli/check/case_runner.h"

#include "cli/check/grading_host.h"
#include "simulator/trace_session.h"

namespace casl::check {
namespace {

/// The address of a `pc` caption, "PR:" and four hexadecimal digits.
std::int32_t captionAddress(std::u32string_view caption) {
    std::int32_t address = 0;
    for (char32_t c : caption.substr(caption.find(U':') + 1)) {
        const int digit = c <= U'9' ? static_cast<int>(c - U'0') : static_cast<int>(c - U'A') + 10;
        address = address * 16 + digit;
    }
    return address;
}

} // namespace

RunRecord runCase(ProgramTables& tables, std::u32string_view infoText, const CheckCase& c) {
    RunRecord record;
    GradingHost host(c);
    // No breakpoint: every step waits and is let go on at once; nobody steps back, so the
    // run keeps no history.
    TraceSession session(tables, record.machine, infoText, TraceOptions{0, false, 0}, host);
    host.attach(session);
    session.start();
    bool outputLimit = false;
    while (session.waiting()) {
        if (static_cast<std::int64_t>(record.machine.outputText.size()) > c.maxOutput) {
            outputLimit = true;
            session.end();
            break;
        }
        session.next();
    }
    record.ending =
        outputLimit ? RunEnding::OutputLimit : classifyEnding(session.ending(), host.lastBox());
    if (record.ending != RunEnding::StepLimit && record.ending != RunEnding::OutputLimit) {
        record.endingMessage = host.lastBox().text;
    }
    record.steps = session.countedSteps();
    record.programRegister = captionAddress(session.displays().programRegister());
    return record;
}

} // namespace casl::check
