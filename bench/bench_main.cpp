// Prints every figure beside the bare baseline of the same run ("BM_Bare..." measured first in
// each file) and the ratio of their CPU times: the machine's load then cancels out.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // With repetitions the median stands for them; the mean and spread get no ratio.
            const bool aggregate = run.run_type == Run::RT_Aggregate;
            if (aggregate ? run.aggregate_name != "median" : run.repetitions > 1) continue;
            const std::string name = run.run_name.function_name;
            const double ns = run.GetAdjustedCPUTime();
            if (name.starts_with("BM_Bare")) {
                baseline_ = ns;
                baselineName_ = name;
            } else if (baseline_ > 0) {
                std::printf("    %.1fx %s\n", ns / baseline_, baselineName_.c_str());
            }
        }
    }

  private:
    double baseline_ = 0;
    std::string baselineName_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
