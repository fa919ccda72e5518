// Drives a jog pad in a headless host with operator sequences decoded from
// the input: pointer moves and presses, keys with their modifiers, focus
// and capture going elsewhere, enabling, hiding, time passing, the layout
// changing, and a host that deactivates or lets go of the pad, also from
// inside its StartPos handler. When the operator's hands are off the pad, no
// press may be left running and, once any StartPos was fired, the last jog
// event the host saw must be StopPos.
#include "machine/PosCtrl.h"
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "platform/user/VirtualKeys.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using kw::user::MouseButton;

// Records the jog events; may act from inside StartPos.
class Sink final : public IDispatch {
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kw::ids::IID_DPosEvents) {
            *ppv = static_cast<IDispatch*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(GetTypeInfoCount)(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, const char* const*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHOD(Invoke)
    (DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        if (id == CPosCtrl::kEventStartPos || id == CPosCtrl::kEventStopPos)
            jogs.push_back(id);
        if (id == CPosCtrl::kEventStartPos && onStart)
            onStart();
        return S_OK;
    }
    std::vector<DISPID> jogs;
    std::function<void()> onStart;
};

class Host {
public:
    Host() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &DefWindowProcA;
        wc.lpszClassName = "KwFuzzPosHost";
        RegisterClassA(&wc);
        m_host = CreateWindowExA(0, "KwFuzzPosHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150,
                                 nullptr, nullptr, nullptr, nullptr);
        m_other = CreateWindowExA(0, "KwFuzzPosHost", "other", WS_POPUP | WS_VISIBLE, 300, 0, 50,
                                  50, nullptr, nullptr, nullptr, nullptr);
    }
    ~Host() { Close(); }

    void Create(SHORT mode) {
        Close();
        ComPtr<IClassFactory> factory;
        if (FAILED(AfxDllGetClassObject(kw::module::Factories(), kw::ids::CLSID_Pos,
                                        IID_IClassFactory, factory.OutVoid())) ||
            FAILED(factory->CreateInstance(nullptr, IID_IDispatch, m_disp.OutVoid())))
            std::abort();
        ComPtr<IPersistPropertyBag> persist;
        ComPtr<IConnectionPointContainer> points;
        ComPtr<IConnectionPoint> point;
        DWORD cookie = 0;
        if (FAILED(m_disp.As(IID_IPersistPropertyBag, &persist)) || FAILED(persist->InitNew()) ||
            FAILED(m_disp.As(IID_IConnectionPointContainer, &points)) ||
            FAILED(points->FindConnectionPoint(kw::ids::IID_DPosEvents, point.Out())) ||
            FAILED(point->Advise(&sink, &cookie)))
            std::abort();
        SetMode(mode);
        const RECT place{10, 10, 93, 76};
        ComPtr<IOleObject> ole;
        if (FAILED(m_disp.As(IID_IOleObject, &ole)) ||
            FAILED(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host, &place)))
            std::abort();
    }
    // Through dispatch, as a host sets it.
    void SetMode(SHORT mode) {
        if (!m_disp)
            return;
        DISPID put = DISPID_PROPERTYPUT;
        VARIANT value{};
        value.vt = VT_I2;
        value.iVal = mode;
        DISPPARAMS params{&value, &put, 1, 1};
        m_disp->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
    }
    void Close() {
        ComPtr<IOleObject> ole;
        if (m_disp && SUCCEEDED(m_disp.As(IID_IOleObject, &ole)))
            ole->Close(0);
        m_disp.Reset();
    }
    CPosCtrl* Pad() const {
        return m_disp ? static_cast<CPosCtrl*>(static_cast<COleControl*>(
                            static_cast<CDispatchObject*>(static_cast<IDispatch*>(m_disp.Get()))))
                      : nullptr;
    }
    HWND Window() const { return m_disp ? Pad()->GetSafeHwnd() : nullptr; }

    kw::headless::HeadlessSession session;
    Sink sink;
    HWND m_host{nullptr};
    HWND m_other{nullptr};
    ComPtr<IDispatch> m_disp;
};

constexpr BYTE kKeys[] = {VK_LEFT,  VK_RIGHT, VK_UP,    VK_DOWN, VK_HOME,    VK_END,
                          VK_PRIOR, VK_NEXT,  VK_SHIFT, VK_MENU, VK_SPACE,   'X',
                          'Z',      'A',      'B',      'Q',     VK_CONTROL, VK_CONTROL};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Host host;
    host.Create(SHORT(size ? data[0] % 8 : 0));
    bool left = false, right = false;
    std::vector<BYTE> held;
    for (std::size_t i = 1; i + 1 < size && i < 400; i += 2) {
        const BYTE op = data[i], arg = data[i + 1];
        switch (op % 16) {
        case 0:
        case 1:
            if (HWND w = host.Window())
                host.session.MouseMove(w, arg % 90, (arg * 7) % 70);
            break;
        case 2:
            host.session.MouseMove(arg, arg / 2);
            break;
        case 3:
        case 4: {
            bool& down = op % 16 == 3 ? left : right;
            const MouseButton b = op % 16 == 3 ? MouseButton::Left : MouseButton::Right;
            if (down)
                host.session.MouseUp(b);
            else
                host.session.MouseDown(b);
            down = !down;
            break;
        }
        case 5:
        case 6:
        case 7: {
            const BYTE vk = kKeys[arg % std::size(kKeys)];
            const auto it = std::find(held.begin(), held.end(), vk);
            if (it == held.end()) {
                host.session.KeyDown(vk);
                held.push_back(vk);
            } else {
                host.session.KeyUp(vk);
                held.erase(it);
            }
            break;
        }
        case 8:
            if (HWND w = host.Window())
                SetFocus(arg % 2 ? w : host.m_other);
            break;
        case 9:
            if (arg % 2)
                SetCapture(host.m_other);
            else
                ReleaseCapture();
            break;
        case 10:
            if (HWND w = host.Window())
                EnableWindow(w, arg % 2);
            break;
        case 11:
            if (HWND w = host.Window())
                ShowWindow(w, arg % 2 ? SW_SHOW : SW_HIDE);
            break;
        case 12:
            host.session.Advance(arg * 4u);
            break;
        case 13:
            host.SetMode(SHORT(arg % 8));
            break;
        case 14:
            if (arg % 3 == 0)
                host.sink.onStart = [&host] { host.Close(); };
            else if (arg % 3 == 1)
                host.sink.onStart = [&host] { host.m_disp.Reset(); };
            else
                host.sink.onStart = nullptr;
            break;
        default:
            if (arg % 4 == 0)
                host.Close();
            else if (!host.m_disp)
                host.Create(SHORT(arg % 8));
            break;
        }
        host.session.Pump();
    }
    // The operator's hands come off the pad.
    if (left)
        host.session.MouseUp(MouseButton::Left);
    if (right)
        host.session.MouseUp(MouseButton::Right);
    for (auto it = held.rbegin(); it != held.rend(); ++it)
        host.session.KeyUp(*it);
    host.session.Pump();
    host.sink.onStart = nullptr;
    if (CPosCtrl* pad = host.Pad(); pad && pad->IsPressActive()) {
        std::fprintf(stderr, "a press is still running with the hands off the pad\n");
        std::abort();
    }
    const auto& jogs = host.sink.jogs;
    const bool started =
        std::find(jogs.begin(), jogs.end(), CPosCtrl::kEventStartPos) != jogs.end();
    if (started && jogs.back() != CPosCtrl::kEventStopPos) {
        std::fprintf(stderr, "the last jog event the host saw is StartPos\n");
        std::abort();
    }
    return 0;
}
