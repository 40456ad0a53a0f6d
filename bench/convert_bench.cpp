// CalcProxData per card format beside a bare frame built with shifts and a popcount from the
// same text, so that each figure can be read as a ratio to what the work itself costs.
#include <benchmark/benchmark.h>

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/encoder_host.h"
#include "formats/prox_data.h"

namespace {

class SilentHost : public morvane::EncoderHost {
  public:
    void showMessage(std::string_view) override {}
    void setHotstampBox(std::string_view) override {}
    void setFacilityBox(std::string_view) override {}
    void setVersionBox(std::string_view) override {}
    std::string facilityBox() const override { return "123"; }
    std::string versionBox() const override { return "5"; }
};

// Plain-digit hotstamps within every format's limits.
constexpr std::string_view kHotstamps[] = {"12345", "1", "65535", "42", "50000", "31337"};

void BM_CalcProxData(benchmark::State& state, const char* code, std::int32_t facility) {
    SilentHost host;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            morvane::CalcProxData(kHotstamps[i++ % std::size(kHotstamps)], code, facility, host));
    }
}

// The 26-bit frame written out by hand: digits in, 16 octal digits out, nothing checked but
// the limits, no allocation.
void BM_BareFrame26(benchmark::State& state) {
    std::size_t i = 0;
    std::array<char, 16> out{};
    for (auto _ : state) {
        std::uint64_t h = 0;
        for (char c : kHotstamps[i++ % std::size(kHotstamps)]) h = h * 10 + (c - '0');
        const std::uint64_t f = 123;
        if (h > 65535 || f > 255) state.SkipWithError("limit");
        std::uint64_t w = h << 1 | f << 17;
        w |= static_cast<std::uint64_t>(std::popcount(w & 0x1FFE000) & 1) << 25;
        w |= static_cast<std::uint64_t>(~std::popcount(w & 0x1FFE) & 1);
        w |= std::uint64_t{1} << 26;
        for (int d = 15; d >= 0; --d, w >>= 3)
            out[static_cast<std::size_t>(d)] = char('0' + (w & 7));
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_BareFrame26);

BENCHMARK_CAPTURE(BM_CalcProxData, 26, "26", 123);
BENCHMARK_CAPTURE(BM_CalcProxData, 34, "34", 123);
BENCHMARK_CAPTURE(BM_CalcProxData, 35, "35", 123);
BENCHMARK_CAPTURE(BM_CalcProxData, 35V, "35V", 123);
BENCHMARK_CAPTURE(BM_CalcProxData, 36V, "36V", 123);
BENCHMARK_CAPTURE(BM_CalcProxData, 37V, "37V", 123);
BENCHMARK_CAPTURE(BM_CalcProxData, 37, "37", 123);
BENCHMARK_CAPTURE(BM_CalcProxData, 37NoFacility, "37", 0);
BENCHMARK_CAPTURE(BM_CalcProxData, Proxif, "Proxif", 123);
BENCHMARK_CAPTURE(BM_CalcProxData, Casi, "Casi", 123);

}  // namespace
