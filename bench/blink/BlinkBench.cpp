// A panel of 200 blinking labels and 200 blinking lamps, driven through 10
// seconds of virtual time: the cost of one blink tick of the whole form
// (timers fire, the labels and lamps whose picture changed repaint) against
// one full repaint of the same form, in one run. Prints both and their ratio.
#include "buttons/ColorStaticCtrl.h"
#include "buttons/LedCtrl.h"
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/user/User.h"
#include "tests/support/GreyHost.h"
#include "tests/support/LateBound.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kLabels = 200;
constexpr int kLamps = 200;
constexpr DWORD kPeriod = 500;     // both blink every 500 ms
constexpr DWORD kDuration = 10000; // ms of virtual time
constexpr int kTicks = int(kDuration / kPeriod);

// The form: labels of 120 x 20 in 8 columns, lamps of 12 x 12 in rows of 50
// below them.
class Panel {
public:
    // `still` of the labels get their colours but do not blink.
    explicit Panel(int still = 0) {
        m_host = CreateGreyHost("panel", 980, 600);
        for (int i = 0; i < kLabels; ++i) {
            const int x = 2 + (i % 8) * 122, y = 2 + (i / 8) * 21;
            ComPtr<IDispatch> label =
                Insert(kw::ids::CLSID_ColorStatic, RECT{x, y, x + 120, y + 20});
            CallByName(label.Get(), "Caption", DISPATCH_PROPERTYPUT,
                       {CComVariant::Str("Vorschub halt")});
            CallByName(label.Get(), "SetBlinkTextColors", DISPATCH_METHOD,
                       {CComVariant::I4(0x0000FF), CComVariant::I4(0x000000)});
            CallByName(label.Get(), "SetBlinkBkColors", DISPATCH_METHOD,
                       {CComVariant::I4(0x00FFFF), CComVariant::I4(0xC0C0C0)});
            if (i < still)
                continue;
            CallByName(label.Get(), "StartTextBlink", DISPATCH_METHOD,
                       {CComVariant::Bool(true), CComVariant::I2(SHORT(kPeriod))});
            CallByName(label.Get(), "StartBkBlink", DISPATCH_METHOD,
                       {CComVariant::Bool(true), CComVariant::I2(SHORT(kPeriod))});
        }
        for (int i = 0; i < kLamps; ++i) {
            const int x = 2 + (i % 50) * 16, y = 530 + (i / 50) * 16;
            ComPtr<IDispatch> lamp = Insert(kw::ids::CLSID_Led, RECT{x, y, x + 12, y + 12});
            CallByName(lamp.Get(), "SetMode", DISPATCH_METHOD, {CComVariant::I2(3)});
        }
        m_session.Pump(); // the first drawing starts the lamps' blinking
    }
    ~Panel() {
        for (auto& control : m_controls) {
            ComPtr<IOleObject> ole;
            if (SUCCEEDED(control.As(IID_IOleObject, &ole)))
                ole->Close(0);
        }
        m_controls.clear();
    }

    // One tick: every timer of the form falls due and what changed repaints.
    void Tick() { m_session.Advance(kPeriod); }
    // Everything repainted: the host and every control.
    int RepaintAll() {
        ::InvalidateRect(m_host, nullptr, TRUE);
        for (HWND hwnd : m_windows)
            ::InvalidateRect(hwnd, nullptr, TRUE);
        return m_session.Pump();
    }
    int Controls() const { return int(m_controls.size()); }

private:
    ComPtr<IDispatch> Insert(const CLSID& clsid, RECT pos) {
        ComPtr<IClassFactory> factory;
        AfxDllGetClassObject(kw::module::Factories(), clsid, IID_IClassFactory, factory.OutVoid());
        ComPtr<IDispatch> control;
        factory->CreateInstance(nullptr, IID_IDispatch, control.OutVoid());
        ComPtr<IPersistPropertyBag> persist;
        control.As(IID_IPersistPropertyBag, &persist);
        persist->InitNew();
        ComPtr<IOleObject> ole;
        control.As(IID_IOleObject, &ole);
        ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host, &pos);
        ComPtr<IOleInPlaceObject> inplace;
        control.As(IID_IOleInPlaceObject, &inplace);
        HWND hwnd = nullptr;
        inplace->GetWindow(&hwnd);
        m_windows.push_back(hwnd);
        m_controls.push_back(control);
        return control;
    }

    kw::headless::HeadlessSession m_session{SIZE{1024, 768}};
    HWND m_host{nullptr};
    std::vector<ComPtr<IDispatch>> m_controls;
    std::vector<HWND> m_windows;
};

void BlinkTick(benchmark::State& state) {
    Panel panel;
    for (auto _ : state)
        panel.Tick();
    state.counters["controls"] = panel.Controls();
}
BENCHMARK(BlinkTick)->Name("blink tick/400 controls")->Iterations(kTicks)->Repetitions(5);

// The same form with half the labels still: a tick repaints only what
// blinks, so it costs less.
void BlinkTickHalfStill(benchmark::State& state) {
    Panel panel(kLabels / 2);
    for (auto _ : state)
        panel.Tick();
}
BENCHMARK(BlinkTickHalfStill)
    ->Name("blink tick/300 of 400 controls")
    ->Iterations(kTicks)
    ->Repetitions(5);

void FullRepaint(benchmark::State& state) {
    Panel panel;
    int messages = 0;
    for (auto _ : state)
        messages = panel.RepaintAll();
    state.counters["messages"] = messages;
}
BENCHMARK(FullRepaint)->Name("full repaint/400 controls")->Iterations(kTicks)->Repetitions(5);

class Recorder : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                nanoseconds[run.run_name.function_name] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nanoseconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();
    const double tick = recorder.nanoseconds["blink tick/400 controls"];
    const double half = recorder.nanoseconds["blink tick/300 of 400 controls"];
    const double repaint = recorder.nanoseconds["full repaint/400 controls"];
    if (tick > 0 && half > 0 && repaint > 0)
        std::printf("\nblink tick of the form %10.1f us vs full repaint %10.1f us  ratio %5.2f\n"
                    "the same, half the labels still %10.1f us vs full repaint  ratio %5.2f\n"
                    "(%d labels and %d lamps blinking every %u ms, %d ticks in %u ms of virtual "
                    "time; CPU time, medians of 5 runs)\n",
                    tick / 1000, repaint / 1000, tick / repaint, half / 1000, half / repaint,
                    kLabels, kLamps, kPeriod, kTicks, kDuration);
    return 0;
}
