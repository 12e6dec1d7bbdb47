#include "platform/text_codec.h"

#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>

namespace {

constexpr std::size_t sampleLength = 2000;

/// 2000 characters of a program with Japanese strings and comments, vendor characters included.
std::u32string sampleText() {
    const std::u32string line = U"MSG     DC      'こんにちは、ＣＡＳＬⅡ①髙～ｱｲｳ' ; 挨拶を出す\r\n";
    std::u32string text;
    while (text.size() < sampleLength) {
        text += line;
    }
    text.resize(sampleLength);
    return text;
}

void cp932CodePerCharacter(benchmark::State& state) {
    const std::u32string text = sampleText();
    for (auto _ : state) {
        for (const char32_t c : text) {
            benchmark::DoNotOptimize(casl::platform::cp932Code(c));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(cp932CodePerCharacter)->Unit(benchmark::kMicrosecond);

void encodeCp932Text(benchmark::State& state) {
    const std::u32string text = sampleText();
    for (auto _ : state) {
        casl::platform::EncodedText encoded = casl::platform::encodeCp932(text);
        benchmark::DoNotOptimize(encoded);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(encodeCp932Text)->Unit(benchmark::kMicrosecond);

void decodeCp932Text(benchmark::State& state) {
    const std::u32string text = sampleText();
    const casl::platform::EncodedText encoded = casl::platform::encodeCp932(text);
    if (encoded.badCharacter) {
        throw std::runtime_error("the sample text must encode in CP932");
    }
    for (auto _ : state) {
        casl::platform::DecodedText decoded = casl::platform::decodeCp932(encoded.bytes);
        benchmark::DoNotOptimize(decoded);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(decodeCp932Text)->Unit(benchmark::kMicrosecond);

} // namespace
