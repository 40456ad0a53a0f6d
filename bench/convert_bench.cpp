// CalcProxData per card format: the window recalculates on every keystroke and a batch converts
// millions of hotstamps, so each call should stay well under 200 ns.
#include <benchmark/benchmark.h>

#include <string>

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

void BM_CalcProxData(benchmark::State& state, const char* code, std::int32_t facility) {
    SilentHost host;
    const std::string hotstamps[] = {"12345", "1", "65535", "42", "524287", "31337"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            morvane::CalcProxData(hotstamps[i++ % std::size(hotstamps)], code, facility, host));
    }
}

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
