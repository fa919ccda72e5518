#include "platform/user/ParentBackground.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Window.h"
#include "platform/user/WindowMessages.h"

HRESULT DrawThemeParentBackground(HWND hwnd, HDC hdc, const RECT* rc) {
    const HWND parent = ::GetParent(hwnd);
    if (!parent || !hdc)
        return E_INVALIDARG;
    // The child's client origin at the parent's client coordinates.
    POINT origin{0, 0};
    ::ClientToScreen(hwnd, &origin);
    ::ScreenToClient(parent, &origin);

    const int saved = ::SaveDC(hdc);
    if (saved == 0)
        return E_FAIL;
    if (rc)
        ::IntersectClipRect(hdc, rc->left, rc->top, rc->right, rc->bottom);
    POINT windowOrigin{0, 0};
    ::SetWindowOrgEx(hdc, 0, 0, &windowOrigin);
    ::SetWindowOrgEx(hdc, windowOrigin.x + origin.x, windowOrigin.y + origin.y, nullptr);
    ::SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    ::SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT);
    ::RestoreDC(hdc, saved);
    return S_OK;
}
