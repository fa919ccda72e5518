// The jog pad's picture work against a plain copy of the same pixels, in one
// run: finding the buttons and lamps of the XYZ picture (done on every
// layout change and load), and recolouring one button (done on every hover
// and press). Prints each pair and their ratio.
#include "bench/support/BenchTimes.h"
#include "machine/PosLayout.h"
#include "platform/gdi/BmpReader.h"
#include "resources/generators/PosLayouts.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// The XYZ picture, bottom row first, as the pad holds it.
const std::vector<std::uint32_t>& XyzPixels() {
    static const std::vector<std::uint32_t> pixels = [] {
        const std::string bytes = kw::bitmaps::MakePosLayout(0).EncodeBmp();
        auto image =
            ReadBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        std::vector<std::uint32_t> out;
        for (int y = image->height - 1; y >= 0; --y)
            for (int x = 0; x < image->width; ++x)
                out.push_back(image->pixels[std::size_t(y) * std::size_t(image->width) + x]);
        return out;
    }();
    return pixels;
}

void Analyse(benchmark::State& state) {
    const auto& source = XyzPixels();
    std::vector<std::uint32_t> work(source.size());
    for (auto _ : state) {
        std::memcpy(work.data(), source.data(), source.size() * 4);
        const PosAnalysis found = AnalysePosLayout(PosPixels{work.data(), 83, 66}, 10, 13);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(Analyse)->Name("analyse/83x66");

void Copy(benchmark::State& state) {
    const auto& source = XyzPixels();
    std::vector<std::uint32_t> work(source.size());
    for (auto _ : state) {
        std::memcpy(work.data(), source.data(), source.size() * 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Copy)->Name("memcpy/83x66");

void Paint(benchmark::State& state) {
    std::vector<std::uint32_t> work = XyzPixels();
    const PosPixels picture{work.data(), 83, 66};
    const PosAnalysis found = AnalysePosLayout(picture, 10, 13);
    std::uint32_t colour = kPosWhite;
    for (auto _ : state) {
        PaintPosRect(picture, found.rects[8], work[0], colour);
        colour ^= kPosWhite; // white, black, white ...
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Paint)->Name("paint/button13x14");

void CopyButton(benchmark::State& state) {
    std::vector<std::uint32_t> work = XyzPixels();
    std::vector<std::uint32_t> row(13, kPosWhite);
    for (auto _ : state) {
        for (int y = 49; y <= 62; ++y)
            std::memcpy(&work[std::size_t(y) * 83 + 26], row.data(), 13 * 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(CopyButton)->Name("memcpy/button13x14");

} // namespace

int main(int argc, char** argv) {
    const kw::bench::BenchTimes ns = kw::bench::RunBenchmarks(argc, argv);
    const struct {
        const char* label;
        const char* ours;
        const char* base;
    } pairs[] = {
        {"analysis of the XYZ picture vs memcpy", "analyse/83x66", "memcpy/83x66"},
        {"recolouring a button vs memcpy of its box", "paint/button13x14", "memcpy/button13x14"},
    };
    std::printf("\n");
    for (const auto& p : pairs) {
        const double a = kw::bench::TimeOf(ns, p.ours), b = kw::bench::TimeOf(ns, p.base);
        if (a > 0 && b > 0)
            std::printf("%-44s %9.1f ns vs %8.1f ns  ratio %6.1f\n", p.label, a, b, a / b);
    }
    return 0;
}
