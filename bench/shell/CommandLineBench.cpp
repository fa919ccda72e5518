// Splitting a launcher's argument text against the least any splitter does
// with it: reading every byte once and copying the words out between blanks.
// Prints the pair and their ratio.
#include "bench/support/BenchTimes.h"
#include "platform/shell/CommandLine.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// A long argument text of the usual kind: options, quoted paths, escapes.
std::string ArgumentText() {
    std::string text;
    while (text.size() < 4096)
        text += R"(-o "C:\CAM jobs\teil 7.nc" --feed=1200 \"quoted\" x\\y ; | & )";
    return text;
}

void Split(benchmark::State& state) {
    const std::string text = ArgumentText();
    for (auto _ : state) {
        std::vector<std::string> args = kw::shell::SplitCommandLine(text);
        benchmark::DoNotOptimize(args.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(Split)->Name("SplitCommandLine/4k");

void WordsBetweenBlanks(benchmark::State& state) {
    const std::string text = ArgumentText();
    for (auto _ : state) {
        std::vector<std::string> words;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = std::min(text.find(' ', start), text.size());
            if (end > start)
                words.emplace_back(text, start, end - start);
            start = end + 1;
        }
        benchmark::DoNotOptimize(words.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(WordsBetweenBlanks)->Name("words between blanks/4k");

} // namespace

int main(int argc, char** argv) {
    const kw::bench::BenchTimes ns = kw::bench::RunBenchmarks(argc, argv);
    const double ours = kw::bench::TimeOf(ns, "SplitCommandLine/4k");
    const double base = kw::bench::TimeOf(ns, "words between blanks/4k");
    if (ours > 0 && base > 0)
        std::printf("\n%-44s %10.1f ns vs %9.1f ns  ratio %6.1f\n",
                    "SplitCommandLine 4 KB vs words between blanks", ours, base, ours / base);
    return 0;
}
