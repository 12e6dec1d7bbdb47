#include "cli/run_json.h"

#include "platform/text_codec.h"
#include "simulator/trace_session.h"
#include "simulator/word.h"

#include <algorithm>

namespace casl::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string_view answerName(MessageAnswer answer) {
    switch (answer) {
    case MessageAnswer::Yes:
        return "yes";
    case MessageAnswer::No:
        return "no";
    default:
        return "ok";
    }
}

Json boxJson(const RunLog::Box& box) {
    if (box.kind == RunBox::Kind::Input) {
        return {{"kind", "input"},
                {"title", box.title},
                {"text", box.text},
                {"answer", box.input ? Json(*box.input) : Json(nullptr)}};
    }
    return {{"kind", "message"},
            {"title", box.title},
            {"text", box.text},
            {"buttons", box.buttons == MessageButtons::Ok ? "ok" : "yes-no"},
            {"answer", answerName(box.button)}};
}

Json flagsJson(const MachineState& machine) {
    return {{"OF", machine.overflowFlag != 0 ? 1 : 0},
            {"SF", signFlagOf(machine.signZeroState)},
            {"ZF", zeroFlagOf(machine.signZeroState)}};
}

/// The data words in table order, as the data dump lists them; the row that stands for a
/// `DS` of length 0 has no address.
Json dataJson(const ProgramTables& tables) {
    Json words = Json::array();
    for (int w = 1; w < tables.dataWordCounter && ProgramTables::isDataRow(w); ++w) {
        const auto& row = tables.dataWords[static_cast<std::size_t>(w)];
        const bool placeholder = row[displayMarkColumn] == emptyAreaPlaceholderMark;
        words.push_back({{"label", platform::toUtf8(tables.dataLabel[static_cast<std::size_t>(w)])},
                         {"address", placeholder ? Json(nullptr) : Json(row[dataAddressColumn])},
                         {"value", row[dataValueColumn]}});
    }
    return words;
}

/// The stack as its dump lists it: the top first, down to the slot at the stack's base.
Json stackJson(const MachineState& machine) {
    Json slots = Json::array();
    const int top = std::clamp(machine.stackSlots[0], 0, stackSlotCount - 1);
    for (int k = top; k >= 1; --k) {
        slots.push_back(
            {{"address", static_cast<std::uint16_t>((machine.stackBase - k + 1) & 0xFFFF)},
             {"value", machine.stackSlots[static_cast<std::size_t>(k)]}});
    }
    return slots;
}

} // namespace

Json runJson(const RunLog& log, const TraceSession& session, const ProgramTables& tables,
             const RunEndingText& ending) {
    Json boxes = Json::array();
    Json inputs = Json::array();
    for (const RunLog::Box& box : log.boxes) {
        boxes.push_back(boxJson(box));
        if (box.kind == RunBox::Kind::Input) {
            inputs.push_back(box.input ? Json(*box.input) : Json(nullptr));
        }
    }
    const MachineState& machine = session.machine();
    Json registers = Json::object();
    for (std::size_t i = 0; i < machine.generalRegisters.size(); ++i) {
        registers["GR" + std::to_string(i)] = machine.generalRegisters[i];
    }
    return {
        {"boxes", boxes},
        {"inputs", inputs},
        {"output", platform::toUtf8(machine.outputText)},
        {"ending", ending.name},
        {"ending_message",
         ending.message.empty() ? Json(nullptr) : Json(platform::toUtf8(ending.message))},
        {"steps", session.countedSteps()},
        {"registers", registers},
        {"PR", session.displays().programRegisterAddress()},
        {"SP", static_cast<std::uint16_t>(machine.stackPointer)},
        {"flags", flagsJson(machine)},
        {"data", dataJson(tables)},
        {"stack", stackJson(machine)},
    };
}

} // namespace casl::cli
