#include "web/binding/page_link.h"

#include "platform/text_codec.h"

#include <array>
#include <utility>
#include <variant>

namespace casl::web {

namespace {

constexpr std::array<std::pair<LinkProblem, std::string_view>, 4> problemNames{{
    {LinkProblem::Foreign, "foreign"},
    {LinkProblem::Unsupported, "unsupported"},
    {LinkProblem::Broken, "broken"},
    {LinkProblem::TooLarge, "tooLarge"},
}};

} // namespace

PageLinkData pageLinkData(std::string_view fragment) {
    auto read = readLinkFragment(fragment);
    if (const auto* problem = std::get_if<LinkProblem>(&read)) {
        return PageLinkData{linkProblemName(*problem), {}, {}, {}};
    }
    LinkFragment& link = std::get<LinkFragment>(read);
    return PageLinkData{{},
                        link.kind == LinkKind::Exercise ? "exercise" : "program",
                        platform::toUtf8(link.exercise),
                        std::move(link.compressed)};
}

std::string linkProblemName(LinkProblem problem) {
    for (const auto& [known, name] : problemNames) {
        if (known == problem) {
            return std::string(name);
        }
    }
    return "broken";
}

LinkProblem linkProblemFromName(std::string_view name) {
    for (const auto& [problem, known] : problemNames) {
        if (known == name) {
            return problem;
        }
    }
    return LinkProblem::Broken;
}

} // namespace casl::web
