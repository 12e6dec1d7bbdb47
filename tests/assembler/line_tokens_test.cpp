#include "assembler/line_tokens.h"
#include "assembler/source_intake.h"
#include "platform/source_file.h"
#include "platform/text_codec.h"
#include "reference_line_split.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <variant>

namespace casl {
namespace {

using K = TokenKind;

std::string kindName(TokenKind kind) {
    static constexpr const char* names[] = {"label",        "mnemonic",  "unknownMnemonic",
                                            "registerName", "decimal",   "hexadecimal",
                                            "literal",      "character", "name",
                                            "comment",      "separator", "ignored"};
    return names[static_cast<int>(kind)];
}

std::string utf8(std::u32string_view text) {
    return platform::toUtf8(text);
}

/// A line given as its tokens: the texts, in order, make the line.
struct Piece {
    std::u32string_view text;
    TokenKind kind;
};

struct TokenCase {
    const char* name;
    std::vector<Piece> pieces;
};

TEST(LineTokens, EachKindOfToken) {
    const TokenCase cases[] = {
        {"label, mnemonic, register, name and comment",
         {{U"LAB", K::label},
          {U"\t", K::separator},
          {U"LD", K::mnemonic},
          {U"\t", K::separator},
          {U"GR1", K::registerName},
          {U",", K::separator},
          {U"DATA", K::name},
          {U" ", K::separator},
          {U"; load it", K::comment}}},
        {"unknown mnemonic, GR8 is a name, decimal literal",
         {{U"\t", K::separator},
          {U"LDX", K::unknownMnemonic},
          {U"\t", K::separator},
          {U"GR8", K::name},
          {U",", K::separator},
          {U"=100", K::literal}}},
        {"lower case is not folded",
         {{U" ", K::separator},
          {U"ld", K::unknownMnemonic},
          {U" ", K::separator},
          {U"gr1", K::name}}},
        {"hexadecimal and decimal operands",
         {{U" ", K::separator},
          {U"LAD", K::mnemonic},
          {U" ", K::separator},
          {U"GR7", K::registerName},
          {U", ", K::separator},
          {U"-5", K::decimal},
          {U",", K::separator},
          {U"#00FF", K::hexadecimal}}},
        {"a whole-line comment", {{U"; only a comment, 'x'", K::comment}}},
        {"blanks only", {{U"  \t ", K::separator}}},
        {"a label alone", {{U"LABEL", K::label}}},
        {"a quoted semicolon belongs to the literal",
         {{U" ", K::separator},
          {U"LD", K::mnemonic},
          {U" ", K::separator},
          {U"GR1", K::registerName},
          {U",", K::separator},
          {U"='A;B'", K::literal},
          {U" ", K::separator},
          {U";x", K::comment}}},
        {"an empty quoted string never closes: the rest is the literal",
         {{U" ", K::separator},
          {U"LD", K::mnemonic},
          {U" ", K::separator},
          {U"GR1", K::registerName},
          {U",", K::separator},
          {U"='' ;x", K::literal}}},
        {"a character constant as an operand",
         {{U" ", K::separator},
          {U"LD", K::mnemonic},
          {U" ", K::separator},
          {U"GR1", K::registerName},
          {U",", K::separator},
          {U"'A B'", K::character}}},
        {"text after the third operand is dropped, comment included",
         {{U" ", K::separator},
          {U"LD", K::mnemonic},
          {U" ", K::separator},
          {U"GR1", K::registerName},
          {U",", K::separator},
          {U"DATA", K::name},
          {U",", K::separator},
          {U"GR2", K::registerName},
          {U",", K::separator},
          {U"X ;c", K::ignored}}},
        {"a comment after the third operand stays a comment",
         {{U" ", K::separator},
          {U"LAD", K::mnemonic},
          {U" ", K::separator},
          {U"GR2", K::registerName},
          {U",", K::separator},
          {U"1", K::decimal},
          {U",", K::separator},
          {U"GR2", K::registerName},
          {U" ", K::separator},
          {U"; one more", K::comment}}},
        {"DC items: string, decimal, hexadecimal, label, then a comment",
         {{U"S", K::label},
          {U" ", K::separator},
          {U"DC", K::mnemonic},
          {U" ", K::separator},
          {U"'IT''S'", K::character},
          {U", ", K::separator},
          {U"12", K::decimal},
          {U", ", K::separator},
          {U"#000A", K::hexadecimal},
          {U",", K::separator},
          {U"L", K::name},
          {U" ", K::separator},
          {U";note", K::comment}}},
        {"DC reads on past the third operand",
         {{U" ", K::separator},
          {U"DC", K::mnemonic},
          {U" ", K::separator},
          {U"1", K::decimal},
          {U",", K::separator},
          {U"2", K::decimal},
          {U",", K::separator},
          {U"3", K::decimal},
          {U",", K::separator},
          {U"4", K::decimal}}},
        {"in DC an empty string closes, so the comment is one",
         {{U"X", K::label},
          {U" ", K::separator},
          {U"DC", K::mnemonic},
          {U" ", K::separator},
          {U"''", K::character},
          {U";C'", K::comment}}},
        {"an unclosed DC string runs to the end",
         {{U" ", K::separator},
          {U"DC", K::mnemonic},
          {U" ", K::separator},
          {U"'A B ;c", K::character}}},
        {"DC with nothing after it", {{U" ", K::separator}, {U"DC", K::mnemonic}}},
        {"a comment right after the mnemonic",
         {{U"P", K::label}, {U" ", K::separator}, {U"RET", K::mnemonic}, {U";x", K::comment}}},
    };
    for (const TokenCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::u32string line;
        std::vector<LineToken> expected;
        for (const Piece& piece : c.pieces) {
            expected.push_back({line.size(), piece.text.size(), piece.kind, 0});
            line.append(piece.text);
        }
        const std::vector<LineToken> tokens = lineTokens(line);
        ASSERT_EQ(tokens.size(), expected.size());
        for (std::size_t k = 0; k < tokens.size(); ++k) {
            SCOPED_TRACE("token " + std::to_string(k));
            EXPECT_EQ(tokens[k].start, expected[k].start);
            EXPECT_EQ(tokens[k].length, expected[k].length);
            EXPECT_EQ(kindName(tokens[k].kind), kindName(expected[k].kind));
        }
    }
}

TEST(LineTokens, FieldNumbersFollowTheScan) {
    const auto tokens = lineTokens(U"L ST GR1,A,GR2 ;c");
    std::vector<int> fields;
    for (const LineToken& token : tokens) {
        fields.push_back(token.field);
    }
    EXPECT_EQ(fields, (std::vector<int>{1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 0}));
    // The commas between DC items stay in field 3; the blanks are not part of it.
    const auto dc = lineTokens(U" DC 1, 2");
    ASSERT_EQ(dc.size(), 6u);
    EXPECT_EQ(dc[4].kind, TokenKind::separator);
    EXPECT_EQ(dc[4].field, 3);
    EXPECT_EQ(fieldsOfTokens(U" DC 1, 2", dc)[3], U"1,2");
}

TEST(LineTokens, InUtf16UnitsACharacterBeyondTheBmpCountsTwice) {
    // 😀 takes two UTF-16 units: the literal grows by one, the comment after it moves by one.
    const std::u32string line = U" DC '😀A' ;c";
    const auto characters = lineTokens(line);
    const auto units = lineTokensInUtf16(line);
    ASSERT_EQ(units.size(), characters.size());
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (const LineToken& token : units) {
        spans.emplace_back(token.start, token.length);
    }
    EXPECT_EQ(spans, (std::vector<std::pair<std::size_t, std::size_t>>{
                         {0, 1}, {1, 2}, {3, 1}, {4, 5}, {9, 1}, {10, 2}}));
    EXPECT_EQ(units[3].kind, characters[3].kind);
}

/// Every character of the line is in exactly one token, in order.
void expectCoverage(std::u32string_view line, const std::vector<LineToken>& tokens) {
    std::size_t next = 0;
    for (const LineToken& token : tokens) {
        ASSERT_EQ(token.start, next) << "gap or overlap";
        ASSERT_GT(token.length, 0u);
        next = token.start + token.length;
    }
    EXPECT_EQ(next, line.size());
}

void expectAgreement(std::u32string_view line) {
    SCOPED_TRACE("line: " + utf8(line));
    const auto reference = test::referenceSplitLineFields(line);
    const auto tokens = lineTokens(line);
    expectCoverage(line, tokens);
    const auto fromTokens = fieldsOfTokens(line, tokens);
    const auto split = splitLineFields(line);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(utf8(fromTokens[k]), utf8(reference[k])) << "field " << k;
        EXPECT_EQ(utf8(split[k]), utf8(reference[k])) << "field " << k;
    }
}

std::vector<std::u32string> linesOfFile(const std::filesystem::path& path) {
    auto source = platform::readSourceFile(path);
    std::vector<std::u32string> lines;
    if (auto* text = std::get_if<platform::SourceText>(&source)) {
        for (std::u32string_view line : keptLines(text->text)) {
            lines.emplace_back(line);
        }
    }
    return lines;
}

TEST(LineTokens, AgreeWithTheAssemblersSplitOnTheExamples) {
    int count = 0;
    for (const char* folder : {"examples", "fuzz/regressions/assemble", "tests/cli/programs"}) {
        const auto dir = std::filesystem::path(CASL_SOURCE_DIR) / folder;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.path().extension() != ".cas") {
                continue;
            }
            for (const std::u32string& line : linesOfFile(entry.path())) {
                expectAgreement(line);
                ++count;
            }
        }
    }
    EXPECT_GT(count, 300);
}

TEST(LineTokens, AgreeWithTheAssemblersSplitOnQuoteCases) {
    const std::u32string_view lines[] = {
        U"X DC ''''",
        U"X DC '''",
        U"X DC ''',1",
        U"X DC 'A''''B'",
        U" DC '',''",
        U" DC 'A',,'B'",
        U" DC ' ; ' ; c",
        U" DC 1'A'2",
        U" DC 'A'B'C'",
        U"'A B' DC 1",
        U"A' DC 'B",
        U" LD GR1,''''",
        U" LD GR1,'''A'",
        U" LD GR1,=''''",
        U" LD 'A,B',C",
        U" LD A'',B",
        U"''",
        U"'",
        U"';'",
        U" '",
        U"DC",
        U"DC DC DC",
        U" DC\tDC",
        U" DC;",
        U" DC ;",
        U" DC,1",
        U" DC 1 2",
        U"L DC\t'\t'\t,\t3",
        U" LD GR1,A,B,C,D,E",
        U" LD ,,,GR1",
        U";",
        U"\t;",
        U" LD GR1 ;'",
        U" LD GR1,';'",
        U" IN 'A B',2",
        U"L\tDC\t'Ａ''Ｂ'",
        U" DC #FFFF,-32768,X",
        U" LD GR1,='A''B'C",
        U" LD GR1,=' '' ';",
        U"Q DC ''',' ;x",
    };
    for (std::u32string_view line : lines) {
        expectAgreement(line);
    }
}

TEST(LineTokens, AgreeWithTheAssemblersSplitOnRandomLines) {
    // Pieces that exercise every rule: separators, quotes and doubled quotes, comments, the
    // DC re-scan and the field limit.
    const std::u32string_view pieces[] = {
        U" ",  U"\t", U",", U";",   U"'", U"''", U"'''", U"DC", U" DC ", U"\tDC\t",
        U"LD", U"GR", U"1", U"GR3", U"=", U"#",  U"A",   U"-",  U"x",    U"あ",
    };
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 14);
    for (int n = 0; n < 5000; ++n) {
        std::u32string line;
        for (int k = length(random); k > 0; --k) {
            line.append(pieces[piece(random)]);
        }
        expectAgreement(line);
        if (HasFailure()) {
            return;
        }
    }
}

} // namespace
} // namespace casl
