// One press of "Split Data" on 16-digit card data: bit data, the nine checks and the decoders of
// every format that matches. A lock batch splits hundreds of thousands of card data, so one run
// should stay under 2 microseconds.
#include <benchmark/benchmark.h>

#include <iterator>
#include <string_view>

#include "formats/split_data.h"

namespace {

// A spread of formats: one match, several matches, only the hidden Casi column, none at all.
constexpr std::string_view kCardData[] = {
    "0000000600400002", "0000007540140346", "0000201730060163", "0001000755060162",
    "0000000755060162", "0005001730030071", "0000601730060162", "7777777777777777",
};

void BM_SplitData(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(morvane::SplitData(kCardData[i++ % std::size(kCardData)]));
    }
}
BENCHMARK(BM_SplitData);

void BM_SplitDataManyMatches(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(morvane::SplitData("0000007540140346"));
}
BENCHMARK(BM_SplitDataManyMatches);

}  // namespace
