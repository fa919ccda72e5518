#pragma once
// The embedding interfaces a container uses to place a control in its window
// and draw it: IOleObject (site, class, extent, verbs), IOleInPlaceObject
// (the control's window and its position), IViewObject (drawing into any
// device context) and IProvideClassInfo (the control's coclass, from which a
// host finds its event interface). They keep the platform's names and
// identifiers but carry only the parameters a container here needs.
#include "platform/com/TypeInfo.h"
#include "platform/user/UserTypes.h"

constexpr IID IID_IOleObject =
    MakeGuid(0x00000112, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
constexpr IID IID_IOleInPlaceObject =
    MakeGuid(0x00000113, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
constexpr IID IID_IViewObject =
    MakeGuid(0x0000010D, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

// Verbs.
constexpr LONG OLEIVERB_PRIMARY = 0;
constexpr LONG OLEIVERB_SHOW = -1;
constexpr LONG OLEIVERB_OPEN = -2;
constexpr LONG OLEIVERB_HIDE = -3;
constexpr LONG OLEIVERB_UIACTIVATE = -4;
constexpr LONG OLEIVERB_INPLACEACTIVATE = -5;
constexpr LONG OLEIVERB_PROPERTIES = -7;

// Aspects.
constexpr DWORD DVASPECT_CONTENT = 1;

// IOleObject::Close.
constexpr DWORD OLECLOSE_SAVEIFDIRTY = 0;
constexpr DWORD OLECLOSE_NOSAVE = 1;
constexpr DWORD OLECLOSE_PROMPTSAVE = 2;

constexpr HRESULT OLEOBJ_S_INVALIDVERB = 0x00040180;
constexpr HRESULT OLEOBJ_E_NOVERBS = HRESULT_CODE(0x80040180);
constexpr HRESULT OLE_E_NOT_INPLACEACTIVE = HRESULT_CODE(0x80040010);
constexpr HRESULT DV_E_DVASPECT = HRESULT_CODE(0x8004006B);

// A size in HIMETRIC units (0.01 mm): 2540 per inch.
struct SIZEL {
    LONG cx{0};
    LONG cy{0};
};

// Pixels at 96 dots per inch and HIMETRIC, rounded to the nearest.
constexpr LONG HimetricFromPixels(int pixels) {
    const long long v = static_cast<long long>(pixels) * 2540;
    return LONG(v >= 0 ? (v + 48) / 96 : -((-v + 48) / 96));
}
constexpr int PixelsFromHimetric(LONG himetric) {
    const long long v = static_cast<long long>(himetric) * 96;
    return int(v >= 0 ? (v + 1270) / 2540 : -((-v + 1270) / 2540));
}

struct IOleObject : IUnknown {
    // The container's site (may be null: the control leaves its container).
    STDMETHOD(SetClientSite)(IUnknown* pClientSite) = 0;
    STDMETHOD(GetClientSite)(IUnknown** ppClientSite) = 0;
    STDMETHOD(GetUserClassID)(CLSID* pClsid) = 0;
    STDMETHOD(GetMiscStatus)(DWORD dwAspect, DWORD* pdwStatus) = 0;
    // OLEIVERB_INPLACEACTIVATE and OLEIVERB_SHOW create the control's window
    // as a child of `hwndParent` at `lprcPosRect` (the parent's client
    // coordinates) and show it; an active control only moves.
    STDMETHOD(DoVerb)(LONG iVerb, HWND hwndParent, const RECT* lprcPosRect) = 0;
    // Deactivates the control (its window is destroyed).
    STDMETHOD(Close)(DWORD dwSaveOption) = 0;
    STDMETHOD(SetExtent)(DWORD dwDrawAspect, SIZEL* psizel) = 0;
    STDMETHOD(GetExtent)(DWORD dwDrawAspect, SIZEL* psizel) = 0;

protected:
    ~IOleObject() = default;
};

struct IOleInPlaceObject : IUnknown {
    // OLE_E_NOT_INPLACEACTIVE (and a null window) while it has none.
    STDMETHOD(GetWindow)(HWND* phwnd) = 0;
    STDMETHOD(SetObjectRects)(const RECT* lprcPosRect, const RECT* lprcClipRect) = 0;
    STDMETHOD(InPlaceDeactivate)() = 0;

protected:
    ~IOleInPlaceObject() = default;
};

struct IViewObject : IUnknown {
    // Draws the control into `hdcDraw` within `lprcBounds` (the DC's
    // logical coordinates), also while the control has no window.
    STDMETHOD(Draw)(DWORD dwDrawAspect, HDC hdcDraw, const RECT* lprcBounds) = 0;

protected:
    ~IViewObject() = default;
};

struct IProvideClassInfo : IUnknown {
    // The type information of the object's coclass.
    STDMETHOD(GetClassInfo)(ITypeInfo** ppTI) = 0;

protected:
    ~IProvideClassInfo() = default;
};
