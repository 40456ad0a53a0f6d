// One press of "Split Data" on 16-digit card data (the word, the nine checks, every matching
// column's values; then also the texts the page shows) beside a bare split written out by hand:
// the word, the bit text, the checks as masks and popcounts, the numbers in fixed buffers.
#include <benchmark/benchmark.h>

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "formats/split_data.h"

namespace {

// A spread of formats: one match, several matches, only the hidden Casi column, none at all.
constexpr std::string_view kCardData[] = {
    "0000000600400002", "0000007540140346", "0000201730060163", "0001000755060162",
    "0000000755060162", "0005001730030071", "0000601730060162", "7777777777777777",
};

bool evenOnes(std::uint64_t bits) { return (std::popcount(bits) & 1) == 0; }

void BM_BareSplit(benchmark::State& state) {
    std::size_t i = 0;
    std::array<char, 48> bitText{};
    std::array<std::array<char, 12>, 20> boxes{};
    for (auto _ : state) {
        std::uint64_t w = 0;
        for (char c : kCardData[i++ % std::size(kCardData)]) w = w << 3 | std::uint64_t(c - '0');
        for (int b = 0; b < 48; ++b) bitText[47 - b] = char('0' + (w >> b & 1));
        // Nine checks of two masks each, then twenty fields cut out and written in decimal.
        unsigned matches = 0;
        for (int f = 0; f < 9; ++f) {
            const std::uint64_t high = (0x3FFFULL << (13 + f)) & w;
            const std::uint64_t low = (0x1FFFULL >> (f & 1)) & w;
            matches |= unsigned(evenOnes(high) && !evenOnes(low) && (w >> (27 + f)) == 0) << f;
        }
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            const std::uint64_t field = w >> (b * 2) & 0xFFFFF;
            std::to_chars(boxes[b].data(), boxes[b].data() + boxes[b].size(), field);
        }
        benchmark::DoNotOptimize(bitText);
        benchmark::DoNotOptimize(boxes);
        benchmark::DoNotOptimize(matches);
    }
}
BENCHMARK(BM_BareSplit);

void BM_SplitData(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(morvane::SplitData(kCardData[i++ % std::size(kCardData)]));
    }
}
BENCHMARK(BM_SplitData);

// The same, with the texts the page shows made from it: the bit data and every cell.
void BM_SplitDataAsShown(benchmark::State& state) {
    std::size_t i = 0;
    std::string text;
    for (auto _ : state) {
        const morvane::SplitResult r = morvane::SplitData(kCardData[i++ % std::size(kCardData)]);
        text.clear();
        morvane::appendBitData(text, r);
        for (const morvane::SplitColumn& column : morvane::splitColumns()) {
            for (std::size_t row = 0; row < morvane::kGridRowCount; ++row) {
                morvane::appendCellText(text, r, column.id, static_cast<morvane::GridRow>(row));
            }
        }
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_SplitDataAsShown);

void BM_SplitDataManyMatches(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(morvane::SplitData("0000007540140346"));
}
BENCHMARK(BM_SplitDataManyMatches);

}  // namespace
