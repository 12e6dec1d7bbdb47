#include "traced_program.h"

#include "platform/text_codec.h"

#include <cctype>
#include <gtest/gtest.h>

namespace casl::test {

void ScriptedHost::record(HostEvent event) {
    if (session != nullptr) {
        for (const std::uint64_t made = session->displays().refreshCount(); refreshesSeen_ < made;
             ++refreshesSeen_) {
            events.push_back({HostEvent::Refresh, {}, {}});
        }
    }
    events.push_back(std::move(event));
}

void ScriptedHost::showDisplays(const TraceDisplays& displays) {
    const bool waiting = session != nullptr && session->waiting();
    record({waiting ? HostEvent::Wait : HostEvent::Show, {}, {}});
    shown = displays.texts();
    shownRefreshed = displays.refreshed();
    if (waiting) {
        waits.push_back(shown);
    }
}

MessageAnswer ScriptedHost::messageBox(std::u32string_view text, std::u32string_view title,
                                       MessageButtons buttons) {
    record({HostEvent::Message, std::u32string(text), std::u32string(title), buttons,
            openedBox().purpose});
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (answers.empty()) {
        return MessageAnswer::Yes;
    }
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::u32string> ScriptedHost::inputBox(std::u32string_view prompt,
                                                     std::u32string_view title,
                                                     std::u32string_view defaultText,
                                                     ScreenPosition position) {
    EXPECT_EQ(prompt, U"Input");
    EXPECT_EQ(title, U"IN command");
    EXPECT_EQ(defaultText, U"");
    EXPECT_EQ(position.leftTwips, 10);
    EXPECT_EQ(position.topTwips, 10);
    record({HostEvent::Input, {}, std::u32string(title), MessageButtons::Ok, openedBox().purpose});
    if (inputs.empty()) {
        return std::nullopt;
    }
    auto answer = inputs.front();
    inputs.pop_front();
    return answer;
}

std::vector<HostEvent> ScriptedHost::messages() const {
    std::vector<HostEvent> found;
    for (const HostEvent& e : events) {
        if (e.kind == HostEvent::Message) {
            found.push_back(e);
        }
    }
    return found;
}

bool ScriptedHost::refreshedBeforeMessage(std::size_t n) const {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i].kind != HostEvent::Message || seen++ != n) {
            continue;
        }
        for (std::size_t k = i; k-- > 0;) {
            if (events[k].kind == HostEvent::Refresh) {
                return true;
            }
            if (events[k].kind == HostEvent::Wait || events[k].kind == HostEvent::Message) {
                return false;
            }
        }
        return false;
    }
    ADD_FAILURE() << "no message " << n;
    return false;
}

int ScriptedHost::count(HostEvent::Kind kind) const {
    int n = 0;
    for (const HostEvent& e : events) {
        n += e.kind == kind ? 1 : 0;
    }
    return n;
}

TracedProgram::TracedProgram(const std::vector<std::u32string_view>& lines, TraceOptions options)
    : tables_(std::make_unique<ProgramTables>()) {
    std::u32string source;
    for (std::u32string_view line : lines) {
        source.append(line);
        source.append(U"\r\n");
    }
    const AssemblyResult result = assemble(source, *tables_);
    EXPECT_TRUE(result.success) << platform::toUtf8(result.listingWindowText);
    session_ = std::make_unique<TraceSession>(*tables_, machine_, result.infoText, options, host_);
    host_.session = session_.get();
}

TracedProgram::TracedProgram(std::unique_ptr<ProgramTables> tables, std::u32string infoText,
                             TraceOptions options)
    : tables_(std::move(tables)) {
    session_ = std::make_unique<TraceSession>(*tables_, machine_, infoText, options, host_);
    host_.session = session_.get();
}

TracedProgram& TracedProgram::run(int nexts) {
    session_->start();
    for (int i = 0; i < nexts && session_->waiting(); ++i) {
        session_->next();
    }
    return *this;
}

std::int32_t TracedProgram::data(std::u32string_view label) const {
    for (int w = 1; w < tables_->dataWordCounter; ++w) {
        if (tables_->dataLabel[static_cast<std::size_t>(w)] == label) {
            return tables_->dataWords[static_cast<std::size_t>(w)][dataValueColumn];
        }
    }
    ADD_FAILURE() << "no data word with that label";
    return 0;
}

std::string caseName(std::u32string_view text) {
    std::string name;
    const auto separate = [&name] {
        if (!name.empty() && name.back() != '_') {
            name.push_back('_');
        }
    };
    for (const char32_t c : text) {
        if (c < 0x80 && std::isalnum(static_cast<unsigned char>(c))) {
            name.push_back(static_cast<char>(c));
        } else if (c == U'-' || c == U'#') {
            separate();
            name += c == U'-' ? "minus" : "x";
        } else {
            separate();
        }
    }
    while (!name.empty() && name.back() == '_') {
        name.pop_back();
    }
    return name;
}

} // namespace casl::test
