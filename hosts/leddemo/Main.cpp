// kwleddemo: a small host that creates lamps through the registry, the way
// any container does, and writes what they look like as PNG files: every
// colour and shape in every state, and the two phases of a blinking lamp.
//   kwleddemo OUTPUT_FOLDER
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/com/ComLoader.h"
#include "platform/com/OleInterfaces.h"
#include "platform/com/PropertyBag.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/User.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kCell = 24; // the spacing of the lamps in the picture

LRESULT HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HRESULT Invoke(IDispatch* d, const char* name, WORD flags, SHORT value) {
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = d->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
    if (FAILED(hr))
        return hr;
    CComVariant arg = CComVariant::I2(value);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, flags == DISPATCH_PROPERTYPUT ? &put : nullptr, 1,
                      flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
    return d->Invoke(id, IID_NULL, 0, flags, &params, nullptr, nullptr, nullptr);
}

// Creates a lamp by ProgID, places it in `host` and sets it up.
ComPtr<IDispatch> InsertLamp(HWND host, int x, int y, SHORT color, SHORT shape) {
    ComPtr<IDispatch> lamp;
    HRESULT hr = CoCreateInstanceFromName("Kestrowidge.LedCtrl.1", IID_IDispatch, lamp.OutVoid());
    if (FAILED(hr)) {
        std::fprintf(stderr, "kwleddemo: cannot create the lamp (%s); is the module registered?\n",
                     FormatHResult(hr).c_str());
        return {};
    }
    ComPtr<IPersistPropertyBag> persist;
    ComPtr<IOleObject> ole;
    RECT pos{x, y, x + 12, y + 12};
    if (FAILED(lamp.As(IID_IPersistPropertyBag, &persist)) || FAILED(persist->InitNew()) ||
        FAILED(lamp.As(IID_IOleObject, &ole)) ||
        FAILED(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, host, &pos)))
        return {};
    Invoke(lamp.Get(), "Color", DISPATCH_PROPERTYPUT, color);
    Invoke(lamp.Get(), "Shape", DISPATCH_PROPERTYPUT, shape);
    return lamp;
}

void CloseAll(std::vector<ComPtr<IDispatch>>& lamps) {
    for (auto& lamp : lamps) {
        ComPtr<IOleObject> ole;
        if (lamp && SUCCEEDED(lamp.As(IID_IOleObject, &ole)))
            ole->Close(0);
    }
    lamps.clear();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kwleddemo OUTPUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(out, ec);

    int written = 0;
    {
        kw::headless::HeadlessSession session;
        WNDCLASSA wc{};
        wc.lpfnWndProc = &HostProc;
        wc.lpszClassName = "KwLedDemoHost";
        RegisterClassA(&wc);
        // Rows: red, green, yellow, blue; columns: the two shapes in modes
        // 0 (dark), 1 (lit), 2 (unavailable), 3 (blinking).
        HWND host =
            CreateWindowExA(0, "KwLedDemoHost", "Led", WS_POPUP | WS_VISIBLE, 0, 0, 8 * kCell + 6,
                            4 * kCell + 6, nullptr, nullptr, nullptr, nullptr);
        std::vector<ComPtr<IDispatch>> lamps;
        for (SHORT color = 0; color < 4; ++color)
            for (SHORT shape = 0; shape < 2; ++shape)
                for (SHORT mode = 0; mode < 4; ++mode) {
                    auto lamp = InsertLamp(host, 6 + (4 * shape + mode) * kCell, 6 + color * kCell,
                                           color, shape);
                    if (!lamp) {
                        CloseAll(lamps);
                        return 1;
                    }
                    Invoke(lamp.Get(), "SetMode", DISPATCH_METHOD, mode);
                    lamps.push_back(lamp);
                }
        session.Pump();
        const char* phases[] = {"led-all-modes.png", "led-all-modes-blink-phase2.png"};
        for (const char* name : phases) {
            if (session.Snapshot(host, (out / name).string()))
                ++written;
            session.Advance(500); // the blinking lamps change phase
        }
        // One picture of a flash: lit for 300 ms, then dark.
        Invoke(lamps[0].Get(), "SetMode", DISPATCH_METHOD, 4);
        session.Pump();
        written += session.Snapshot(host, (out / "led-flash-lit.png").string());
        session.Advance(300);
        written += session.Snapshot(host, (out / "led-flash-over.png").string());
        CloseAll(lamps);
        DestroyWindow(host);
    }
    CoFreeUnusedLibraries();
    std::printf("kwleddemo: wrote %d pictures into %s\n", written, out.c_str());
    return written == 4 ? 0 : 1;
}
