// The statement of an exercise: the small part of Markdown that both front ends show alike.
#include "platform/text_codec.h"
#include "workbench/statement_text.h"

#include <gtest/gtest.h>
#include <ostream>

namespace casl {
namespace {

/// Blocks as one line of text each: "P:", "H2:", "UL:", "OL3:" or "CODE:" and the spans, with
/// strong as **…**, emphasis as _…_ and code as `…`.
std::string written(const std::vector<StatementBlock>& blocks) {
    std::string text;
    for (const StatementBlock& b : blocks) {
        switch (b.kind) {
        case StatementBlock::Kind::Heading:
            text += "H" + std::to_string(b.level) + ":";
            break;
        case StatementBlock::Kind::Paragraph:
            text += "P:";
            break;
        case StatementBlock::Kind::BulletItem:
            text += "UL:";
            break;
        case StatementBlock::Kind::NumberedItem:
            text += "OL" + std::to_string(b.level) + ":";
            break;
        case StatementBlock::Kind::Code:
            text += "CODE:";
            break;
        }
        for (const StatementSpan& s : b.spans) {
            std::string span = platform::toUtf8(s.text);
            if (s.code) {
                span = "`" + span + "`";
            }
            if (s.emphasis) {
                span = "_" + span + "_";
            }
            if (s.strong) {
                span = "**" + span + "**";
            }
            text += span;
        }
        text += "\n";
    }
    return text;
}

struct MarkdownCase {
    const char* name;
    const char* markdown;
    const char* blocks;
};

void PrintTo(const MarkdownCase& c, std::ostream* os) {
    *os << c.name;
}

class Statement : public testing::TestWithParam<MarkdownCase> {};

TEST_P(Statement, BecomesItsBlocks) {
    EXPECT_EQ(written(statementBlocks(platform::fromUtf8(GetParam().markdown))), GetParam().blocks);
}

INSTANTIATE_TEST_SUITE_P(
    Markdown, Statement,
    testing::Values(
        MarkdownCase{"Empty", "", ""},
        MarkdownCase{"Headings", "# One\n## Two ##\n###### Six\n####### Seven\n#NoBlank\n",
                     "H1:One\nH2:Two\nH6:Six\nP:####### Seven #NoBlank\n"},
        MarkdownCase{"ParagraphsSplitAtBlankLines", "a\nb\n\n\nc\r\nd\r\n", "P:a b\nP:c d\n"},
        // A blank between Japanese lines would show as a gap that nobody wrote.
        MarkdownCase{"JapaneseLinesJoinWithoutABlank", "読み、\n表示します。\nA\nB",
                     "P:読み、表示します。A B\n"},
        MarkdownCase{"BulletItems", "- one\n* two\n+ three\n-not an item\n",
                     "UL:one\nUL:two\nUL:three -not an item\n"},
        MarkdownCase{"ItemsGoOnOnIndentedAndLazyLines", "- one\n  more\nlazy\n\nafter\n",
                     "UL:one more lazy\nP:after\n"},
        MarkdownCase{"NumberedItems", "1. first\n2) second\n10. tenth\n1.no\n",
                     "OL1:first\nOL2:second\nOL10:tenth 1.no\n"},
        MarkdownCase{"AHeadingEndsAParagraph", "text\n# Head\nmore\n", "P:text\nH1:Head\nP:more\n"},
        MarkdownCase{"FencedCode", "```\n  LD GR1,A\n\n*not* `inline`\n```\nafter\n",
                     "CODE:`  LD GR1,A\n\n*not* `inline``\nP:after\n"},
        MarkdownCase{"UnclosedFenceTakesTheRest", "```casl\nRET\n", "CODE:`RET`\n"},
        MarkdownCase{"CodeSpans", "use `LD GR1,A` and ``a`b``", "P:use `LD GR1,A` and `a`b`\n"},
        MarkdownCase{"CodeSpanKeepsMarkersAsWritten", "`*x*` and `<b>`", "P:`*x*` and `<b>`\n"},
        MarkdownCase{"UnclosedBacktick", "a `b", "P:a `b\n"},
        MarkdownCase{"StrongAndEmphasis", "**bold** *it* __b__ _i_", "P:**bold** _it_ **b** _i_\n"},
        MarkdownCase{"CodeInsideStrong", "**`POP`** で", "P:**`POP`** で\n"},
        MarkdownCase{"EmphasisInsideStrong", "**a *b* c**", "P:**a ****_b_**** c**\n"},
        MarkdownCase{"UnmatchedMarkersStayText", "2 * 3 * x and a*", "P:2 * 3 * x and a*\n"},
        MarkdownCase{"UnderscoresInsideWordsStayText", "MAX_VALUE and _x_",
                     "P:MAX_VALUE and _x_\n"},
        MarkdownCase{"Escapes", "\\*not\\* \\` \\\\ \\a", "P:*not* ` \\ \\a\n"},
        // Nothing makes markup: HTML, links and images are shown as the letters they are.
        MarkdownCase{"HtmlIsText", "<script>alert(1)</script> <b>x</b>",
                     "P:<script>alert(1)</script> <b>x</b>\n"},
        MarkdownCase{"LinksAndImagesAreText", "[a](http://x) ![i](f.png)",
                     "P:[a](http://x) ![i](f.png)\n"}),
    [](const testing::TestParamInfo<MarkdownCase>& info) { return info.param.name; });

} // namespace
} // namespace casl
