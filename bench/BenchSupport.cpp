#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

namespace n4bench {

n4::DrawTable syntheticHistory(int count) {
    n4::DrawTable t;
    t.reserve(count);
    unsigned x = 12345;
    for (int no = 1; no <= count; ++no) {
        n4::DrawRecord r{no, {}};
        for (int& d : r.digits) {
            x = x * 1103515245u + 12345u;
            d = static_cast<int>((x >> 16) % 10);
        }
        t.push_back(r);
    }
    return t;
}

namespace {

// CPU milliseconds per iteration of each repetition of one benchmark.
struct Figure {
    std::vector<double> samples;
    double median() const {
        std::vector<double> v = samples;
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
    double min() const { return *std::min_element(samples.begin(), samples.end()); }
    double max() const { return *std::max_element(samples.begin(), samples.end()); }
};

double unitToMs(benchmark::TimeUnit u) {
    switch (u) {
    case benchmark::kNanosecond:
        return 1e-6;
    case benchmark::kMicrosecond:
        return 1e-3;
    case benchmark::kMillisecond:
        return 1.0;
    default:
        return 1e3;
    }
}

// Keeps every repetition of every benchmark; the console shows the usual
// aggregate lines.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, Figure> figures;

    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> shown;
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                figures[run.run_name.str()].samples.push_back(run.GetAdjustedCPUTime() *
                                                              unitToMs(run.time_unit));
            if (run.run_type == Run::RT_Aggregate) shown.push_back(run);
        }
        ConsoleReporter::ReportRuns(shown.empty() ? runs : shown);
    }
};

} // namespace

int runWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios) {
    // Defaults first, so that the command line can override them.
    std::vector<char*> args(argv, argv + argc);
    char reps[] = "--benchmark_repetitions=5";
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, {reps, interleave});
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    if (benchmark::ReportUnrecognizedArguments(n, args.data())) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-44s %10s %10s %10s\n", "CPU ms per run", "median", "min", "max");
    for (const auto& [name, f] : reporter.figures)
        std::printf("%-44s %10.3f %10.3f %10.3f\n", name.c_str(), f.median(), f.min(), f.max());
    std::printf("\n%-44s %10s   %s\n", "ratio (medians, same run)", "value", "goal");
    for (const Ratio& r : ratios) {
        auto a = reporter.figures.find(r.numerator), b = reporter.figures.find(r.denominator);
        if (a == reporter.figures.end() || b == reporter.figures.end() || b->second.median() <= 0)
            continue;
        const double value =
            (a->second.median() / r.numeratorCount) / (b->second.median() / r.denominatorCount);
        std::printf("%-44s %10.2f   %s\n", r.label.c_str(), value, r.goal.c_str());
    }
    benchmark::Shutdown();
    return 0;
}

} // namespace n4bench
