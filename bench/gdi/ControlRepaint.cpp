#include "bench/gdi/ControlRepaint.h"

#include "module/ClassTable.h"
#include "module/ModuleObjects.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/com/OleInterfaces.h"
#include "platform/com/PropertyBag.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/User.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace kw::bench {

namespace {

LRESULT HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The session and host window every control is placed in; they live as long
// as the process, as the benchmarks run after registration returns.
struct Stage {
    kw::headless::HeadlessSession session{SIZE{1280, 1024}};
    HWND host{nullptr};
    Stage() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &HostProc;
        wc.lpszClassName = "KwBenchHost";
        RegisterClassA(&wc);
        host = CreateWindowExA(0, "KwBenchHost", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 800,
                               nullptr, nullptr, nullptr, nullptr);
    }
};

// A control as a host inserts it: created, initialised as new, placed at its
// initial size. Null when the class cannot be created.
ComPtr<IDispatch> Insert(Stage& stage, const kw::module::ControlClass& cls, SIZE* size) {
    ComPtr<IClassFactory> factory;
    ComPtr<IDispatch> control;
    ComPtr<IPersistPropertyBag> persist;
    ComPtr<IOleObject> ole;
    if (FAILED(AfxDllGetClassObject(kw::module::Factories(), cls.clsid, IID_IClassFactory,
                                    factory.OutVoid())) ||
        FAILED(factory->CreateInstance(nullptr, IID_IDispatch, control.OutVoid())) ||
        FAILED(control.As(IID_IPersistPropertyBag, &persist)) || FAILED(persist->InitNew()) ||
        FAILED(control.As(IID_IOleObject, &ole)))
        return {};
    SIZEL extent{};
    ole->GetExtent(DVASPECT_CONTENT, &extent);
    *size = SIZE{std::max<LONG>(PixelsFromHimetric(extent.cx), 1),
                 std::max<LONG>(PixelsFromHimetric(extent.cy), 1)};
    RECT place{10, 10, 10 + size->cx, 10 + size->cy};
    if (FAILED(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, stage.host, &place)))
        return {};
    stage.session.Pump();
    return control;
}

} // namespace

void RegisterControlRepaints() {
    static Stage* stage = new Stage;
    static std::vector<ComPtr<IDispatch>> placed;
    for (const kw::module::ControlClass& cls : kw::module::Controls()) {
        if (!cls.create)
            continue;
        SIZE size{};
        ComPtr<IDispatch> control = Insert(*stage, cls, &size);
        if (!control)
            continue;
        HWND hwnd = nullptr;
        ComPtr<IOleInPlaceObject> inPlace;
        if (FAILED(control.As(IID_IOleInPlaceObject, &inPlace)) || FAILED(inPlace->GetWindow(&hwnd)))
            continue;
        placed.push_back(control);
        const std::string name = cls.coclass;
        benchmark::RegisterBenchmark(("Repaint/" + name).c_str(), [hwnd](benchmark::State& state) {
            for (auto _ : state) {
                InvalidateRect(hwnd, nullptr, TRUE);
                UpdateWindow(hwnd);
                benchmark::ClobberMemory();
            }
        });
        benchmark::RegisterBenchmark(("memset/" + name).c_str(), [size](benchmark::State& state) {
            std::vector<std::uint32_t> pixels(std::size_t(size.cx) * std::size_t(size.cy));
            for (auto _ : state) {
                std::memset(pixels.data(), 0xC0, pixels.size() * sizeof pixels[0]);
                benchmark::ClobberMemory();
            }
        });
    }
}

} // namespace kw::bench
