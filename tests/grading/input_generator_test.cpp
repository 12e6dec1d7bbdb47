// The inputs of generated cases: the same seed gives the same inputs on every machine, each
// case has a stream of its own, and every draw stays within its range.
#include "grading/input_generator.h"

#include <gtest/gtest.h>
#include <set>

namespace casl::check {
namespace {

TEST(CaseRandom, GivesTheSameNumbersForASeedEverywhere) {
    // Any change of the generator or of how a case's stream is found changes the inputs of
    // every test file already in use; these numbers must never change.
    CaseRandom random(2026, 17);
    EXPECT_EQ(random.next(), 0x311F548F36976DFEULL);
    EXPECT_EQ(random.next(), 0x0401F91917737552ULL);
    EXPECT_EQ(random.next(), 0xD2593B31BD8007F0ULL);
    CaseRandom words(0, 1);
    const std::vector<std::int64_t> drawn{19887, -6668, -15025, 492, -2917, 8938};
    for (const std::int64_t expected : drawn) {
        EXPECT_EQ(words.between(-32768, 32767), expected);
    }
}

struct RangeCase {
    std::string name;
    std::int64_t min;
    std::int64_t max;
};

void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << c.name;
}

class Between : public testing::TestWithParam<RangeCase> {};

TEST_P(Between, DrawsEveryValueOfTheRangeAndNothingElse) {
    const RangeCase& r = GetParam();
    CaseRandom random(7, 3);
    std::set<std::int64_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const std::int64_t value = random.between(r.min, r.max);
        ASSERT_GE(value, r.min);
        ASSERT_LE(value, r.max);
        seen.insert(value);
    }
    if (r.max - r.min < 100) {
        EXPECT_EQ(static_cast<std::int64_t>(seen.size()), r.max - r.min + 1);
    } else {
        EXPECT_GT(seen.size(), 1500u) << "draws of a wide range hardly repeat";
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, Between,
                         testing::Values(RangeCase{"OneValue", 5, 5}, RangeCase{"ZeroToOne", 0, 1},
                                         RangeCase{"Negative", -10, -3},
                                         RangeCase{"AcrossZero", -3, 3},
                                         RangeCase{"EveryWord", -32768, 65535}),
                         testing::PrintToStringParamName());

GenerateSection section() {
    GenerateSection g;
    g.name = "g";
    g.count = 3;
    g.seed = 42;
    GeneratedInput text;
    text.alphabet = U"ABC";
    text.max = 4;
    text.repeatMax = 2;
    GeneratedInput number;
    number.kind = GeneratedInput::Kind::Number;
    number.min = -5;
    number.max = 5;
    g.inputs = {text, number};
    GeneratedData table;
    table.label = U"T";
    table.countMin = 0;
    table.countMax = 3;
    table.min = -100;
    table.max = 100;
    table.countLabel = U"N";
    g.data = {table};
    return g;
}

std::vector<std::string> writtenWords(const ExpectedData& d) {
    std::vector<std::string> words;
    for (const ExpectedWord& w : d.words) {
        words.push_back(w.written);
    }
    return words;
}

TEST(GeneratedCase, DrawsLinesNumbersAndTablesAsTheSeedSays) {
    const CheckCase first = generatedCase(section(), 1);
    EXPECT_EQ(first.name, "g#1");
    EXPECT_EQ(first.inputs, (std::vector<std::u32string>{U"AA", U"BB", U"0"}));
    ASSERT_EQ(first.setup.size(), 2u);
    EXPECT_EQ(first.setup[0].label, U"N");
    EXPECT_EQ(writtenWords(first.setup[0]), std::vector<std::string>{"3"});
    EXPECT_EQ(first.setup[1].label, U"T");
    EXPECT_EQ(writtenWords(first.setup[1]), (std::vector<std::string>{"30", "10", "-56"}));

    const CheckCase second = generatedCase(section(), 2);
    EXPECT_EQ(second.inputs, (std::vector<std::u32string>{U"", U"BCB", U"1"}));
    EXPECT_EQ(writtenWords(second.setup[1]), (std::vector<std::string>{"-77", "-90"}));
}

TEST(GeneratedCase, DependsOnlyOnTheSeedAndItsNumber) {
    GenerateSection more = section();
    more.count = 100;
    for (std::int32_t i = 1; i <= 3; ++i) {
        const CheckCase alone = generatedCase(section(), i);
        const CheckCase among = generatedCase(more, i);
        EXPECT_EQ(alone.inputs, among.inputs) << i;
        EXPECT_EQ(writtenWords(alone.setup[1]), writtenWords(among.setup[1])) << i;
    }
    GenerateSection reseeded = section();
    reseeded.seed = 43;
    EXPECT_NE(generatedCase(reseeded, 1).inputs, generatedCase(section(), 1).inputs);
}

TEST(GeneratedCase, DrawsRegistersOfACallFromTheirRanges) {
    GenerateSection g = section();
    g.base.call.emplace();
    g.base.call->label = U"SUM";
    g.registers = {{1, -3, 3}, {2, 7, 7}};
    for (std::int32_t i = 1; i <= 50; ++i) {
        const CheckCase c = generatedCase(g, i);
        ASSERT_TRUE(c.call);
        EXPECT_GE(c.call->registers[1], -3);
        EXPECT_LE(c.call->registers[1], 3);
        EXPECT_EQ(c.call->registers[2], 7);
        EXPECT_EQ(c.call->registers[3], 0);
    }
}

} // namespace
} // namespace casl::check
