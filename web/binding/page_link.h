#pragma once

#include "workbench/shared_link.h"

#include <optional>
#include <string>
#include <string_view>

namespace casl::web {

/// A link's fragment as the page reads it before it decompresses: the compressed bytes, or the
/// name of why it carries none ("foreign", "unsupported", "broken"; "" when it carries some).
/// An exercise's link (`kind` "exercise", else "program") names its exercise and carries a
/// program only when `compressed` holds one.
struct PageLinkData {
    std::string problem;
    std::string kind;
    std::string exercise;
    std::string compressed;
};

PageLinkData pageLinkData(std::string_view fragment);

/// The name of a problem as the page passes it ("foreign", "unsupported", "broken",
/// "tooLarge"), and back; an unknown name is a broken link.
std::string linkProblemName(LinkProblem problem);
LinkProblem linkProblemFromName(std::string_view name);

} // namespace casl::web
