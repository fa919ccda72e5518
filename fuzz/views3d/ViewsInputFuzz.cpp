// What a host and an operator hand the point picker and the view chooser:
// any selection value, mode bits, region, size, cursor place, press and
// level switch, in any order. Neither control may read or draw past its
// tables, and the answers stay within their ranges.
//
// Each input is a list of operations of three bytes (operation, a, b).
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/user/User.h"
#include "views3d/SelectQubeCtrl.h"
#include "views3d/ViewmanagerCtrl.h"

#include <cstdint>
#include <cstdlib>

namespace {

ComPtr<IDispatch> Insert(HWND host, const CLSID& clsid, RECT place) {
    ComPtr<IClassFactory> factory;
    ComPtr<IDispatch> control;
    if (FAILED(AfxDllGetClassObject(kw::module::Factories(), clsid, IID_IClassFactory,
                                    factory.OutVoid())) ||
        FAILED(factory->CreateInstance(nullptr, IID_IDispatch, control.OutVoid())))
        std::abort();
    ComPtr<IPersistPropertyBag> persist;
    ComPtr<IOleObject> ole;
    if (FAILED(control.As(IID_IPersistPropertyBag, &persist)) || FAILED(persist->InitNew()) ||
        FAILED(control.As(IID_IOleObject, &ole)) ||
        FAILED(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, host, &place)))
        std::abort();
    return control;
}

template <class T> T* Object(const ComPtr<IDispatch>& d) {
    return static_cast<T*>(
        static_cast<COleControl*>(static_cast<CDispatchObject*>(static_cast<IDispatch*>(d.Get()))));
}

void Close(ComPtr<IDispatch>& d) {
    ComPtr<IOleObject> ole;
    if (SUCCEEDED(d.As(IID_IOleObject, &ole)))
        ole->Close(0);
    d.Reset();
}

void Resize(const ComPtr<IDispatch>& d, RECT place) {
    ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(d.As(IID_IOleInPlaceObject, &inPlace)))
        inPlace->SetObjectRects(&place, &place);
}

void Check(CSelectQubeCtrl* qube, CViewmanagerCtrl* views) {
    const int count = qube->Geometry().count;
    if (qube->SelectedPoint() >= count || qube->HoverPoint() >= count)
        std::abort();
    SHORT x = -1, y = -1, z = -1;
    qube->GetBezug(&x, &y, &z);
    if (x < 0 || x > 2 || y < 0 || y > 2 || z < 0 || z > 2)
        std::abort();
    if (qube->SelectedPoint() < 0 && (x | y | z) != 0)
        std::abort();
    float ox = 1, oy = 1, oz = 1;
    qube->GetOffsets(&ox, &oy, &oz);
    if (qube->SelectedPoint() < 0 && (ox != 0 || oy != 0 || oz != 0))
        std::abort();
    const int picture = views->PictureIndex();
    if (picture < 0 || picture >= (views->IsIsometricLevel() ? 12 : 11))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kw::headless::HeadlessSession session;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.lpszClassName = "KwFuzzHost";
    RegisterClassA(&wc);
    const HWND host = CreateWindowExA(0, "KwFuzzHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                                      300, nullptr, nullptr, nullptr, nullptr);
    const HWND other = CreateWindowExA(0, "KwFuzzHost", "other", WS_POPUP | WS_VISIBLE, 500, 0, 50,
                                       50, nullptr, nullptr, nullptr, nullptr);
    ComPtr<IDispatch> qubeDisp = Insert(host, kw::ids::CLSID_SelectQube, RECT{0, 0, 80, 80});
    ComPtr<IDispatch> viewsDisp = Insert(host, kw::ids::CLSID_Viewmanager, RECT{200, 0, 280, 80});
    auto* qube = Object<CSelectQubeCtrl>(qubeDisp);
    auto* views = Object<CViewmanagerCtrl>(viewsDisp);
    session.Pump();

    for (size_t i = 0; i + 3 <= size; i += 3) {
        const uint8_t op = data[i] % 12;
        const uint8_t a = data[i + 1];
        const uint8_t b = data[i + 2];
        const SHORT value = SHORT(a | (b << 8));
        const int x = int(a) - 20, y = int(b) - 20; // around and inside the control
        switch (op) {
        case 0:
            qube->m_defaultSel = value;
            qube->OnDefaultSelChanged();
            break;
        case 1:
            qube->SetSel(value);
            break;
        case 2:
            qube->SetRegion(float(SHORT(value)), float(a), float(b), -float(a), 1e30f, -1e30f);
            break;
        case 3:
            Resize(a % 2 ? qubeDisp : viewsDisp,
                   a % 2 ? RECT{0, 0, b % 120, (a ^ b) % 120} : RECT{200, 0, 200 + b % 120, 80});
            break;
        case 4:
            session.MouseMove(qube->GetSafeHwnd(), x, y);
            break;
        case 5:
            session.MouseMove(views->GetSafeHwnd(), x, y);
            break;
        case 6:
            session.MouseDown();
            break;
        case 7:
            session.MouseUp();
            break;
        case 8:
            session.MouseMove(a % 2 ? other : host, a, b);
            break;
        case 9:
            views->m_viewIndex = value;
            views->OnViewIndexChanged();
            break;
        case 10:
            EnableWindow(a % 2 ? qube->GetSafeHwnd() : views->GetSafeHwnd(), b % 2);
            break;
        default:
            (void)qube->GetReg3DSel();
            break;
        }
        session.Pump(); // every change is painted
        Check(qube, views);
    }
    if (GetCapture())
        ReleaseCapture();
    Close(qubeDisp);
    Close(viewsDisp);
    return 0;
}
