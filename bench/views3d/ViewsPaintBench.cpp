// One whole picture of the point picker and of the view chooser (drawn into
// the cached bitmap and copied out, as every hover change redraws them)
// against a plain BitBlt of the same 80 x 80 pixels, in one run. Prints each
// pair and their ratio.
#include "bench/support/BenchTimes.h"
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/afx/OleControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kSize = 80;

// An 80 x 80 32-bit section in a memory DC.
struct Target {
    Target() {
        BITMAPINFO info{};
        info.bmiHeader = BITMAPINFOHEADER{
            sizeof(BITMAPINFOHEADER), kSize, -kSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~Target() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    HDC dc{nullptr};
    HBITMAP bitmap{nullptr};
    HGDIOBJ old{nullptr};
};

// A control of `clsid` without a window: IViewObject::Draw paints it whole.
void Draw(benchmark::State& state, const CLSID& clsid) {
    ComPtr<IClassFactory> factory;
    ComPtr<IViewObject> view;
    if (FAILED(AfxDllGetClassObject(kw::module::Factories(), clsid, IID_IClassFactory,
                                    factory.OutVoid())) ||
        FAILED(factory->CreateInstance(nullptr, IID_IViewObject, view.OutVoid()))) {
        state.SkipWithError("the control cannot be made");
        return;
    }
    Target t;
    const RECT all{0, 0, kSize, kSize};
    for (auto _ : state) {
        view->Draw(DVASPECT_CONTENT, t.dc, &all);
        benchmark::ClobberMemory();
    }
}
void SelectQube(benchmark::State& state) {
    Draw(state, kw::ids::CLSID_SelectQube);
}
void Viewmanager(benchmark::State& state) {
    Draw(state, kw::ids::CLSID_Viewmanager);
}
BENCHMARK(SelectQube)->Name("SelectQube/80x80");
BENCHMARK(Viewmanager)->Name("Viewmanager/80x80");

void Copy(benchmark::State& state) {
    Target from, to;
    for (auto _ : state) {
        BitBlt(to.dc, 0, 0, kSize, kSize, from.dc, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Copy)->Name("BitBlt/80x80");

} // namespace

int main(int argc, char** argv) {
    const kw::bench::BenchTimes ns = kw::bench::RunBenchmarks(argc, argv);
    const double copy = kw::bench::TimeOf(ns, "BitBlt/80x80");
    std::printf("\n");
    for (const char* name : {"SelectQube/80x80", "Viewmanager/80x80"}) {
        const double ours = kw::bench::TimeOf(ns, name);
        if (ours > 0 && copy > 0)
            std::printf("%-20s %10.1f ns vs BitBlt %9.1f ns  ratio %6.1f\n", name, ours, copy,
                        ours / copy);
    }
    return 0;
}
