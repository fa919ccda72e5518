#include "platform/afx/StockColorPage.h"

#include "platform/afx/StockPageResources.h"
#include "platform/com/Variant.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Theme.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <strings.h>

namespace {

constexpr OLE_COLOR kSystemColor = 0x80000000;
// The stock colours' dispatch identifiers.
constexpr DISPID kDispidBackColor = -501;
constexpr DISPID kDispidForeColor = -513;

COLORREF Translate(OLE_COLOR color) {
    return (color & 0xFF000000) == kSystemColor ? GetSysColor(int(color & 0xFF))
                                                : COLORREF(color & 0x00FFFFFF);
}

// Black text on light colours, white on dark ones.
COLORREF Contrast(COLORREF color) {
    const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    return r * 299 + g * 587 + b * 114 > 128000 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

// Long properties that speak of a colour, and the stock colours.
bool IsColorRow(const DispEntry& row) {
    if (row.TypeLibType() != VT_I4)
        return false;
    if (row.dispid == kDispidBackColor || row.dispid == kDispidForeColor)
        return true;
    const std::string name = row.name;
    for (std::size_t i = 0; i + 5 <= name.size(); ++i)
        if (strncasecmp(name.c_str() + i, "color", 5) == 0 ||
            strncasecmp(name.c_str() + i, "colour", 6) == 0)
            return true;
    return false;
}

} // namespace

CStockColorPage::CStockColorPage()
    : CStockPropPage(kw::afx::IDD_STOCK_COLOR, kw::afx::IDD_STOCK_COLOR) {}

CStockColorPage::~CStockColorPage() {
    if (m_sampleBrush)
        DeleteObject(m_sampleBrush);
}

const std::vector<OLE_COLOR>& CStockColorPage::StandardColors() {
    static const std::vector<OLE_COLOR> colors = {
        RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
        RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(128, 128, 128),
        RGB(192, 192, 192), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
        RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
    };
    return colors;
}

const std::vector<const char*>& CStockColorPage::SystemColorNames() {
    static const std::vector<const char*> names = {
        "Scroll Bars",          "Desktop",
        "Active Title Bar",     "Inactive Title Bar",
        "Menu Bar",             "Window Background",
        "Window Frame",         "Menu Text",
        "Window Text",          "Active Title Bar Text",
        "Active Border",        "Inactive Border",
        "Application Workspace", "Highlight",
        "Highlighted Text",     "Button Face",
        "Button Shadow",        "Disabled Text",
        "Button Text",          "Inactive Title Bar Text",
        "Button Highlight",     "Button Dark Shadow",
        "Button Light Shadow",  "ToolTip Text",
        "ToolTip",
    };
    return names;
}

bool CStockColorPage::Accepts(const DispEntry& row, const VARIANT&) const {
    return IsColorRow(row);
}

CStockColorPage::Edit& CStockColorPage::Current() {
    m_edits.resize(Properties().size());
    return m_edits[std::min(CStockPropPage::Current(), m_edits.size() - 1)];
}

void CStockColorPage::ShowProperty(std::size_t index) {
    m_edits.resize(Properties().size());
    Edit& edit = m_edits[index];
    if (!edit.read) {
        VARIANT v;
        VariantInit(&v);
        if (ReadFirst(Properties()[index], &v) && SUCCEEDED(VariantChangeType(&v, &v, 0, VT_I4)))
            edit.color = OLE_COLOR(v.lVal);
        VariantClear(&v);
        edit.read = true;
    }
    FillScope filling(*this);
    const HWND system = GetDlgItem(IDC_COLOR_SYSTEM);
    if (SendMessageA(system, CB_GETCOUNT, 0, 0) == 0)
        for (const char* name : SystemColorNames())
            SendMessageA(system, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    const bool isSystem = (edit.color & 0xFF000000) == kSystemColor &&
                          (edit.color & 0xFF) < SystemColorNames().size();
    SendMessageA(system, CB_SETCURSEL, isSystem ? WPARAM(edit.color & 0xFF) : WPARAM(-1), 0);
    Redraw();
}

void CStockColorPage::Redraw() {
    for (int i = 0; i < 16; ++i)
        InvalidateRect(GetDlgItem(IDC_COLOR_PALETTE + i), nullptr, TRUE);
    InvalidateRect(GetDlgItem(IDC_STOCK_SAMPLE), nullptr, TRUE);
}

void CStockColorPage::Choose(OLE_COLOR color) {
    Edit& edit = Current();
    edit.color = color;
    edit.changed = true;
    Changed();
    Redraw();
}

BOOL CStockColorPage::OnItemCommand(int id, WORD code) {
    if (id >= IDC_COLOR_PALETTE && id < IDC_COLOR_PALETTE + 16) {
        if (code != BN_CLICKED)
            return FALSE;
        Choose(StandardColors()[std::size_t(id - IDC_COLOR_PALETTE)]);
        FillScope filling(*this);
        SendMessageA(GetDlgItem(IDC_COLOR_SYSTEM), CB_SETCURSEL, WPARAM(-1), 0);
        return TRUE;
    }
    if (id == IDC_COLOR_SYSTEM && code == CBN_SELCHANGE) {
        const LRESULT sel = SendMessageA(GetDlgItem(IDC_COLOR_SYSTEM), CB_GETCURSEL, 0, 0);
        if (sel >= 0)
            Choose(kSystemColor | OLE_COLOR(sel));
        return TRUE;
    }
    return FALSE;
}

bool CStockColorPage::ApplyChanges() {
    const auto objects = Objects();
    for (std::size_t i = 0; i < m_edits.size(); ++i) {
        if (!m_edits[i].changed)
            continue;
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = LONG(m_edits[i].color);
        for (IDispatch* object : objects)
            kw::afx::PutPropertyByName(object, Properties()[i].c_str(), v);
        m_edits[i].changed = false;
    }
    return true;
}

LRESULT CStockColorPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM && !Properties().empty()) {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const int index = int(dis->CtlID) - IDC_COLOR_PALETTE;
        if (index >= 0 && index < 16) {
            const OLE_COLOR color = StandardColors()[std::size_t(index)];
            RECT rc = dis->rcItem;
            const bool chosen = Current().color == color;
            // The chosen swatch stands in a black frame, every one in a grey edge.
            FillRect(dis->hDC, &rc, GetSysColorBrush(COLOR_BTNFACE));
            if (chosen) {
                const HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
                FrameRect(dis->hDC, &rc, black);
                DeleteObject(black);
            }
            InflateRect(&rc, -2, -2);
            const HBRUSH fill = CreateSolidBrush(color);
            FillRect(dis->hDC, &rc, fill);
            DeleteObject(fill);
            FrameRect(dis->hDC, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
            if (dis->itemState & ODS_FOCUS) {
                RECT focus = dis->rcItem;
                InflateRect(&focus, -1, -1);
                DrawFocusRect(dis->hDC, &focus);
            }
            return TRUE;
        }
    }
    if (message == WM_CTLCOLORSTATIC && !Properties().empty() &&
        reinterpret_cast<HWND>(lParam) == GetDlgItem(IDC_STOCK_SAMPLE)) {
        const COLORREF color = Translate(Current().color);
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, color);
        SetTextColor(dc, Contrast(color));
        if (m_sampleBrush)
            DeleteObject(m_sampleBrush);
        m_sampleBrush = CreateSolidBrush(color);
        return reinterpret_cast<LRESULT>(m_sampleBrush);
    }
    return CStockPropPage::WindowProc(message, wParam, lParam);
}
