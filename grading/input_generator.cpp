#include "grading/input_generator.h"

#include "platform/text_codec.h"

#include <string>

namespace casl::check {
namespace {

/// splitmix64's output function: every bit of `z` moves every bit of the result.
std::uint64_t mixed(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

constexpr std::uint64_t golden = 0x9E3779B97F4A7C15ULL;

ExpectedWord wordOf(std::int64_t value) {
    return {static_cast<std::uint16_t>(value & 0xFFFF), std::to_string(value)};
}

} // namespace

CaseRandom::CaseRandom(std::uint64_t seed, std::int64_t index)
    : state_(mixed(seed + golden) ^ mixed(static_cast<std::uint64_t>(index) * golden)) {}

std::uint64_t CaseRandom::next() {
    state_ += golden;
    return mixed(state_);
}

std::int64_t CaseRandom::between(std::int64_t min, std::int64_t max) {
    const std::uint64_t span = static_cast<std::uint64_t>(max - min) + 1;
    if (span == 0) {
        return static_cast<std::int64_t>(next());
    }
    // Draws below 2^64 mod span are thrown away, so that every remainder is equally likely.
    const std::uint64_t skipped = (0 - span) % span;
    std::uint64_t x = next();
    while (x < skipped) {
        x = next();
    }
    return min + static_cast<std::int64_t>(x % span);
}

CheckCase generatedCase(const GenerateSection& section, std::int32_t index) {
    CheckCase c = section.base;
    c.name = section.name + "#" + std::to_string(index);
    c.compare = section.compare;
    CaseRandom random(section.seed, index);
    for (const GeneratedInput& in : section.inputs) {
        const std::int64_t lines = random.between(in.repeatMin, in.repeatMax);
        for (std::int64_t i = 0; i < lines; ++i) {
            const std::int64_t drawn = random.between(in.min, in.max);
            if (in.kind == GeneratedInput::Kind::Number) {
                const std::string digits = std::to_string(drawn);
                c.inputs.emplace_back(digits.begin(), digits.end());
                continue;
            }
            std::u32string line;
            for (std::int64_t j = 0; j < drawn; ++j) {
                const auto at =
                    random.between(0, static_cast<std::int64_t>(in.alphabet.size()) - 1);
                line += in.alphabet[static_cast<std::size_t>(at)];
            }
            c.inputs.push_back(std::move(line));
        }
    }
    for (const GeneratedData& table : section.data) {
        ExpectedData words;
        words.label = table.label;
        words.list = true;
        const std::int64_t count = random.between(table.countMin, table.countMax);
        for (std::int64_t i = 0; i < count; ++i) {
            words.words.push_back(wordOf(random.between(table.min, table.max)));
        }
        if (table.countLabel) {
            ExpectedData counted;
            counted.label = *table.countLabel;
            counted.words.push_back(wordOf(count));
            c.setup.push_back(std::move(counted));
        }
        c.setup.push_back(std::move(words));
    }
    if (!section.registers.empty()) {
        for (const GeneratedRegister& r : section.registers) {
            c.call->registers[static_cast<std::size_t>(r.reg)] =
                static_cast<std::int16_t>(random.between(r.min, r.max) & 0xFFFF);
        }
    }
    return c;
}

} // namespace casl::check
