#include "web/binding/page_explanation.h"

#include "platform/text_codec.h"

namespace casl::web {
namespace {

void appendString(std::string& out, std::u32string_view text) {
    out += '"';
    for (const char c : platform::toUtf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char digits[] = "0123456789abcdef";
            out += "\\u00";
            out += digits[(c >> 4) & 0xF];
            out += digits[c & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendValue(std::string& out, const ValueExplanation& value) {
    out += "{\"tip\":";
    appendString(out, value.tip);
    out += ",\"writerStep\":" + std::to_string(value.writerStep) + "}";
}

template <typename Items, typename Append>
void appendList(std::string& out, const Items& items, Append append) {
    out += '[';
    bool first = true;
    for (const auto& item : items) {
        if (!first) {
            out += ',';
        }
        first = false;
        append(item);
    }
    out += ']';
}

} // namespace

std::string explanationJson(const RunExplanation& e) {
    std::string out = "{\"registers\":";
    appendList(out, e.registers, [&out](const ValueExplanation& v) { appendValue(out, v); });
    out += ",\"programRegister\":";
    appendValue(out, e.programRegister);
    out += ",\"stackPointer\":";
    appendValue(out, e.stackPointer);
    out += ",\"flags\":";
    appendValue(out, e.flags);
    out += ",\"dataArea\":";
    appendList(out, e.dataArea, [&out](const ValueExplanation& v) { appendValue(out, v); });
    out += ",\"stackArea\":";
    appendList(out, e.stackArea, [&out](const ValueExplanation& v) { appendValue(out, v); });
    out += ",\"dataAreaReads\":";
    appendList(out, e.dataAreaReads, [&out](int line) { out += std::to_string(line); });
    out += ",\"stackAreaReads\":";
    appendList(out, e.stackAreaReads, [&out](int line) { out += std::to_string(line); });
    out += ",\"readsText\":";
    appendString(out, e.readsText);
    out += ",\"notice\":";
    appendString(out, e.notice);
    out += ",\"step\":" + std::to_string(e.step);
    out += ",\"predictions\":";
    appendList(out, e.predictions, [&out](const std::u32string& p) { appendString(out, p); });
    out += ",\"predictionResults\":";
    appendList(out, e.predictionResults, [&out](PredictionResult r) {
        out += r == PredictionResult::Right   ? "\"right\""
               : r == PredictionResult::Wrong ? "\"wrong\""
                                              : "\"\"";
    });
    out += ",\"predictionsRight\":" + std::to_string(e.predictionsRight);
    out += ",\"predictionsMade\":" + std::to_string(e.predictionsMade) + "}";
    return out;
}

} // namespace casl::web
