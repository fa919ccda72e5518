// COleControl: persistence of the extent and of the stock properties.
#include "platform/afx/OleControl.h"

namespace {

constexpr OLE_COLOR kDefaultBackColor = 0x80000000 | 5; // COLOR_WINDOW
constexpr OLE_COLOR kDefaultForeColor = 0x80000000 | 8; // COLOR_WINDOWTEXT

} // namespace

void COleControl::DoPropExchange(CPropExchange* pPX) {
    ExchangeExtent(pPX);
    ExchangeStockProps(pPX);
}

void COleControl::OnResetState() {
    CPropExchange px = CPropExchange::ForReset();
    DoPropExchange(&px);
    InvalidateControl();
}

BOOL COleControl::ExchangeVersion(CPropExchange* pPX, DWORD versionDefault, BOOL convert) {
    if (!pPX)
        return FALSE;
    return pPX->ExchangeVersion(m_versionLoaded, versionDefault, convert);
}

BOOL COleControl::ExchangeExtent(CPropExchange* pPX) {
    if (!pPX)
        return FALSE;
    LONG cx = HimetricFromPixels(m_extent.cx);
    LONG cy = HimetricFromPixels(m_extent.cy);
    const BOOL ok = PX_Long(pPX, "_ExtentX", cx, HimetricFromPixels(m_initialSize.cx)) &&
                    PX_Long(pPX, "_ExtentY", cy, HimetricFromPixels(m_initialSize.cy));
    if (pPX->IsLoading()) {
        const int width = PixelsFromHimetric(cx);
        const int height = PixelsFromHimetric(cy);
        // A negative size read from storage is no size.
        if (width >= 0 && height >= 0 && (width != m_extent.cx || height != m_extent.cy))
            SetControlSize(width, height);
    }
    return ok;
}

void COleControl::ExchangeStockProps(CPropExchange* pPX) {
    if (!pPX)
        return;
    const bool loading = pPX->IsLoading();
    if (HasStock(DISPID_BACKCOLOR))
        PX_Color(pPX, "BackColor", m_backColor, kDefaultBackColor);
    if (HasStock(DISPID_FORECOLOR))
        PX_Color(pPX, "ForeColor", m_foreColor, kDefaultForeColor);
    if (HasStock(DISPID_FONT)) {
        FONTDESC font{};
        font.lpstrName = "MS Sans Serif";
        font.cySize = FONTSIZE(8);
        PX_Font(pPX, "Font", m_font, &font);
    }
    // Caption and Text share one string, stored once.
    if (HasStock(DISPID_CAPTION))
        PX_String(pPX, "Caption", m_text, CString());
    else if (HasStock(DISPID_TEXT))
        PX_String(pPX, "Text", m_text, CString());
    if (HasStock(DISPID_ENABLED))
        PX_Bool(pPX, "Enabled", m_enabled, TRUE);
    if (HasStock(DISPID_BORDERSTYLE)) {
        PX_Short(pPX, "BorderStyle", m_borderStyle, 0);
        if (m_borderStyle != 0 && m_borderStyle != 1)
            m_borderStyle = 0;
    }
    if (!loading || !m_hWnd)
        return;
    // The window follows what was loaded.
    if (HasStock(DISPID_CAPTION) || HasStock(DISPID_TEXT))
        DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_text.GetString()));
    if (HasStock(DISPID_ENABLED))
        ::EnableWindow(m_hWnd, m_enabled);
    if (HasStock(DISPID_BORDERSTYLE))
        UpdateBorderStyle();
}
