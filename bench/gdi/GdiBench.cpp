// Fills, block copies and a line of text against memset/memcpy of the same
// pixels, in one run. Prints each pair and their ratio.
#include "bench/gdi/ControlRepaint.h"
#include "bench/support/BenchTimes.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr char kText[] = "Geschwindigkeit 1234"; // 20 characters.

// An 800x600 32-bit section in a memory DC.
struct Target {
    Target() {
        BITMAPINFO info{};
        info.bmiHeader = BITMAPINFOHEADER{
            sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~Target() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    std::uint8_t* Row(int y) const { return static_cast<std::uint8_t*>(bits) + y * kWidth * 4; }
    HDC dc{nullptr};
    HBITMAP bitmap{nullptr};
    HGDIOBJ old{nullptr};
    void* bits{nullptr};
};

void Fill(benchmark::State& state) {
    Target t;
    HBRUSH brush = CreateSolidBrush(RGB(192, 192, 192));
    const RECT rc{10, 10, 10 + int(state.range(0)), 10 + int(state.range(1))};
    for (auto _ : state) {
        FillRect(t.dc, &rc, brush);
        benchmark::ClobberMemory();
    }
    DeleteObject(brush);
}
BENCHMARK(Fill)->Name("FillRect/120x21")->Args({120, 21});
BENCHMARK(Fill)->Name("FillRect/800x600")->Args({800, 590});

void Memset(benchmark::State& state) {
    Target t;
    const int w = int(state.range(0)), h = int(state.range(1));
    for (auto _ : state) {
        for (int y = 10; y < 10 + h; ++y)
            std::memset(t.Row(y) + (w == kWidth ? 0 : 40), 0xC0, std::size_t(w) * 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Memset)->Name("memset/120x21")->Args({120, 21});
BENCHMARK(Memset)->Name("memset/800x600")->Args({800, 590});

void Blit(benchmark::State& state) {
    Target src, dst;
    const int w = int(state.range(0)), h = int(state.range(1));
    for (auto _ : state) {
        BitBlt(dst.dc, 0, 0, w, h, src.dc, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Blit)->Name("BitBlt/120x21")->Args({120, 21});
BENCHMARK(Blit)->Name("BitBlt/800x600")->Args({800, 600});

void Memcpy(benchmark::State& state) {
    Target src, dst;
    const int w = int(state.range(0)), h = int(state.range(1));
    for (auto _ : state) {
        for (int y = 0; y < h; ++y)
            std::memcpy(dst.Row(y), src.Row(y), std::size_t(w) * 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Memcpy)->Name("memcpy/120x21")->Args({120, 21});
BENCHMARK(Memcpy)->Name("memcpy/800x600")->Args({800, 600});

SIZE TextCell() {
    Target t;
    SelectObject(t.dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32(t.dc, kText, 20, &size);
    return size;
}

void Text(benchmark::State& state) {
    Target t;
    SelectObject(t.dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(t.dc, TRANSPARENT);
    TextOut(t.dc, 10, 10, kText, 20); // Glyphs cached, as in a running control.
    for (auto _ : state) {
        TextOut(t.dc, 10, 10, kText, 20);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Text)->Name("TextOut/20chars");

void TextMemset(benchmark::State& state) {
    Target t;
    const SIZE cell = TextCell();
    for (auto _ : state) {
        for (int y = 10; y < 10 + cell.cy; ++y)
            std::memset(t.Row(y) + 40, 0, std::size_t(cell.cx) * 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(TextMemset)->Name("memset/textcell");

// Names carry the arguments after the label ("FillRect/120x21/120/21").
double Find(const std::map<std::string, double>& ns, const std::string& label) {
    for (const auto& [name, value] : ns)
        if (name == label || name.rfind(label + "/", 0) == 0)
            return value;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    kw::bench::RegisterControlRepaints();
    const kw::bench::BenchTimes ns = kw::bench::RunBenchmarks(argc, argv);
    const SIZE cell = TextCell();
    const struct {
        const char* label;
        const char* ours;
        const char* base;
    } pairs[] = {
        {"FillRect 120x21 vs memset", "FillRect/120x21", "memset/120x21"},
        {"FillRect 800x590 vs memset", "FillRect/800x600", "memset/800x600"},
        {"BitBlt SRCCOPY 120x21 vs memcpy", "BitBlt/120x21", "memcpy/120x21"},
        {"BitBlt SRCCOPY 800x600 vs memcpy", "BitBlt/800x600", "memcpy/800x600"},
        {"TextOut 20 chars vs memset of its cell", "TextOut/20chars", "memset/textcell"},
    };
    std::printf("\n");
    for (const auto& p : pairs) {
        const double a = Find(ns, p.ours), b = Find(ns, p.base);
        if (a > 0 && b > 0)
            std::printf("%-40s %10.1f ns vs %9.1f ns  ratio %6.1f\n", p.label, a, b, a / b);
    }
    std::printf("(text cell %ldx%ld pixels)\n", long(cell.cx), long(cell.cy));
    // A control's full repaint (erase, paint, its children) against a plain
    // fill of its pixels.
    for (const auto& [name, value] : ns) {
        if (name.rfind("Repaint/", 0) != 0)
            continue;
        const std::string control = name.substr(8);
        const double base = Find(ns, "memset/" + control);
        if (base > 0)
            std::printf("%-40s %10.1f ns vs %9.1f ns  ratio %6.1f\n",
                        ("repaint of " + control + " vs memset").c_str(), value, base,
                        value / base);
    }
    return 0;
}
