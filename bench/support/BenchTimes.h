#pragma once
// The benchmarks of a program run as the command line asks, each one's time
// kept by name, so that main can print our figures against a peer or a bound
// measured in the same run.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace kw::bench {

// Adjusted real time per iteration, in the benchmark's time unit (ns unless
// it asks for another), by benchmark name.
using BenchTimes = std::map<std::string, double>;

class TimeRecorder : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    BenchTimes times;
};

// Runs every registered benchmark the arguments select, printing them as
// usual, and returns their times.
inline BenchTimes RunBenchmarks(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TimeRecorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();
    return std::move(recorder.times);
}

// The time of a benchmark; 0 when it did not run.
inline double TimeOf(const BenchTimes& times, const std::string& name) {
    const auto it = times.find(name);
    return it == times.end() ? 0 : it->second;
}

} // namespace kw::bench
