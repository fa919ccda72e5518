// The seven-segment read-out's whole paint (format check, printf, cell
// layout and two block copies per cell) against the same block copies
// alone, in one run. Prints the pair and their ratio.
#include "bench/support/BenchTimes.h"
#include "machine/DigitCtrl.h"
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/gdi/AfxGdi.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kCells = 11;
constexpr int kWidth = 2 + 32 * kCells;
constexpr int kHeight = 40;

struct Target {
    Target() {
        dc.CreateCompatibleDC(nullptr);
        CDC* screen = CDC::FromHandle(::GetDC(nullptr));
        bitmap.CreateCompatibleBitmap(screen, kWidth, kHeight);
        ::ReleaseDC(nullptr, screen->GetSafeHdc());
        old = dc.SelectObject(&bitmap);
    }
    ~Target() { dc.SelectObject(old); }
    CDC dc;
    CBitmap bitmap;
    CBitmap* old{nullptr};
};

void Paint(benchmark::State& state) {
    kw::headless::HeadlessSession session;
    ComPtr<IClassFactory> factory;
    AfxDllGetClassObject(kw::module::Factories(), kw::ids::CLSID_Digit, IID_IClassFactory,
                         factory.OutVoid());
    ComPtr<IDispatch> digit;
    factory->CreateInstance(nullptr, IID_IDispatch, digit.OutVoid());
    ComPtr<IPersistPropertyBag> persist;
    digit.As(IID_IPersistPropertyBag, &persist);
    persist->InitNew();
    auto* object = static_cast<CDigitCtrl*>(static_cast<COleControl*>(
        static_cast<CDispatchObject*>(static_cast<IDispatch*>(digit.Get()))));
    object->m_strFormat = "%11.3f";
    object->m_nMaxSize = kCells;
    object->m_nFlags = kDigitBig;
    object->OnFlagsChanged();
    object->SetVal(-12345.678);
    ComPtr<IViewObject> view;
    digit.As(IID_IViewObject, &view);
    Target t;
    const RECT bounds{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        view->Draw(DVASPECT_CONTENT, t.dc.GetSafeHdc(), &bounds);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Paint)->Name("Digit/paint/11big");

void Blits(benchmark::State& state) {
    kw::headless::HeadlessSession session;
    CBitmap strip;
    strip.LoadBitmap(CDigitCtrl::kBigStrip);
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    CBitmap* old = memory.SelectObject(&strip);
    Target t;
    for (auto _ : state) {
        for (int k = 0; k < kCells; ++k) {
            t.dc.BitBlt(1 + 32 * k, 1, 32, 38, &memory, 10 * 32, 0, SRCCOPY);
            t.dc.BitBlt(1 + 32 * k, 1, 32, 38, &memory, (k % 10) * 32, 0, SRCAND);
        }
        benchmark::ClobberMemory();
    }
    memory.SelectObject(old);
}
BENCHMARK(Blits)->Name("BitBlt/22cells");

} // namespace

int main(int argc, char** argv) {
    const kw::bench::BenchTimes ns = kw::bench::RunBenchmarks(argc, argv);
    const double paint = kw::bench::TimeOf(ns, "Digit/paint/11big");
    const double blits = kw::bench::TimeOf(ns, "BitBlt/22cells");
    if (paint > 0 && blits > 0)
        std::printf("\n%-44s %10.1f ns vs %9.1f ns  ratio %6.2f\n",
                    "Digit paint, 11 big cells, vs its 22 BitBlts", paint, blits, paint / blits);
    return 0;
}
