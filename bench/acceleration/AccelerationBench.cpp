// The ramp computations against the memory bound of their output: a plain
// loop that writes the table's 4096 entries, in the same run. Prints each
// pair and their ratio.
#include "bench/support/BenchTimes.h"
#include "machine/AccelerationRamp.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

using namespace kw::machine;

namespace {

// The default exponential ramp: 192 passes, each with one exp().
void Exponential(benchmark::State& state) {
    RampTable table{};
    SHORT count = 0;
    for (auto _ : state) {
        RampParameters p; // Vstart 200, A 200, B 10000, Vmax 5000
        CalcRampTable(p, table, count);
        benchmark::DoNotOptimize(table.data());
        benchmark::ClobberMemory();
    }
    state.counters["entries"] = count;
}
BENCHMARK(Exponential)->Name("exponential/default");

// A linear ramp cut at the table size: the whole table filled, then 4096
// steps sampled, each with one square root.
void Linear(benchmark::State& state) {
    RampTable table{};
    SHORT count = 0;
    for (auto _ : state) {
        RampParameters p;
        p.b = 0;
        p.alpha = 1000;
        CalcRampTable(p, table, count);
        benchmark::DoNotOptimize(table.data());
        benchmark::ClobberMemory();
    }
    state.counters["entries"] = count;
}
BENCHMARK(Linear)->Name("linear/4096");

// The bound: every entry written once with a value that depends on its
// index, so that the loop cannot become one fill.
void Writes(benchmark::State& state) {
    RampTable table{};
    for (auto _ : state) {
        for (int i = 0; i < kRampTableSize; ++i)
            table[std::size_t(i)] = LONG(i);
        benchmark::DoNotOptimize(table.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Writes)->Name("writes/4096");

} // namespace

int main(int argc, char** argv) {
    const kw::bench::BenchTimes ns = kw::bench::RunBenchmarks(argc, argv);
    const double bound = kw::bench::TimeOf(ns, "writes/4096");
    std::printf("\n");
    for (const char* name : {"exponential/default", "linear/4096"}) {
        const double t = kw::bench::TimeOf(ns, name);
        if (t > 0 && bound > 0)
            std::printf("%-22s %10.1f ns vs %8.1f ns for 4096 writes  ratio %6.1f\n", name, t,
                        bound, t / bound);
    }
    return 0;
}
