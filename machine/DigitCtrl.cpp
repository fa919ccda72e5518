// CDigitCtrl: interfaces, persistence, the glyph strips and painting.
#include "machine/DigitCtrl.h"

#include "module/Guids.h"
#include "platform/afx/ModuleState.h"

namespace {

using C = CDigitCtrl;

constexpr DispParam kSetFormatParams[] = {{"format", VT_BYREF | VT_BSTR}};
constexpr DispParam kSetValParams[] = {{"dbValue", VT_R8}};

const DispEntry kDigitRows[] = {
    DispMember<&C::m_strFormat, &C::OnChanged>("Format", 1, VT_BSTR, "m_strFormat"),
    DispMember<&C::m_nFlags, &C::OnFlagsChanged>("Flags", 2, VT_I2, "m_nFlags"),
    DispMember<&C::m_nMaxSize, &C::OnChanged>("MaxSize", 3, VT_I2, "m_nMaxSize"),
    DispMethod<&C::SetFormat>("SetFormat", 4, VT_EMPTY, kSetFormatParams),
    DispMethod<&C::SetVal>("SetVal", 5, VT_EMPTY, kSetValParams),
    DispMethod<&C::GetVal>("GetVal", 6, VT_R8, {}),
    DispStockEnabled(),
    DispStockAboutBox(),
};
const DispTable kDigitTable{kDigitRows};
const DispTable kDigitEvents{};

COleControlClass DigitClass() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_Digit, &kDigitTable, &kDigitEvents};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x20191;
    return cls;
}

struct StripIds {
    UINT normal;
    UINT disabled;
    UINT error;
};

// The big size has no disabled and error strips of its own: it uses the
// small ones, cut at its own cell size.
StripIds StripsFor(SHORT flags) {
    if (flags & kDigitBig)
        return {C::kBigStrip, C::kSmallDisabledStrip, C::kSmallErrorStrip};
    if (flags & kDigitSmall)
        return {C::kSmallStrip, C::kSmallDisabledStrip, C::kSmallErrorStrip};
    return {C::kMediumStrip, C::kMediumDisabledStrip, C::kMediumErrorStrip};
}

} // namespace

const DispTable& DigitDispatchTable() {
    return kDigitTable;
}
const DispTable& DigitEventTable() {
    return kDigitEvents;
}

CDigitCtrl::CDigitCtrl() : COleControl(DigitClass()) {
    InitializeIIDs(&kw::ids::IID_DDigit, &kw::ids::IID_DDigitEvents);
    SetInitialSize(50, 20);
    LoadStrips();
}

CDigitCtrl::~CDigitCtrl() = default;

// [SECTION] Persistence

void CDigitCtrl::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
    COleControl::DoPropExchange(pPX);
    PX_String(pPX, "Format", m_strFormat, CString("%f"));
    PX_Short(pPX, "Flags", m_nFlags, 0);
    PX_Short(pPX, "MaxSize", m_nMaxSize, 5);
    LoadStrips();
}

// [SECTION] Glyph strips

void CDigitCtrl::LoadStrips() {
    const StripIds ids = StripsFor(m_nFlags);
    if (ids.normal == m_nBitmapId)
        return;
    m_nBitmapId = ids.normal;
    m_bmpDigits.DeleteObject();
    if (!m_bmpDigits.LoadBitmap(ids.normal))
        return;
    BITMAP bm{};
    m_bmpDigits.GetBitmap(&bm);
    m_nGlyphWidth = bm.bmWidth / kDigitGlyphCount;
    m_nGlyphHeight = bm.bmHeight;
    m_bmpDisabled.DeleteObject();
    m_bmpDisabled.LoadBitmap(ids.disabled);
    m_bmpError.DeleteObject();
    m_bmpError.LoadBitmap(ids.error);
}

// [SECTION] Dispatch members

void CDigitCtrl::OnChanged() {
    InvalidateControl();
    SetModifiedFlag();
}

void CDigitCtrl::OnFlagsChanged() {
    LoadStrips();
    InvalidateControl();
    SetModifiedFlag();
}

void CDigitCtrl::SetFormat(CString* format) {
    if (!format || format->Str() == m_strFormat.Str())
        return;
    m_strFormat = *format;
    InvalidateControl();
}

void CDigitCtrl::SetVal(double dbValue) {
    const bool uninitialized = (m_nFlags & kDigitUninitialized) != 0;
    if (dbValue == m_dValue && !uninitialized)
        return;
    m_dValue = dbValue;
    if (uninitialized) {
        m_nFlags = SHORT(m_nFlags & ~kDigitUninitialized);
        Refresh();
    } else {
        InvalidateControl();
    }
}

double CDigitCtrl::GetVal() {
    return m_dValue;
}

std::string CDigitCtrl::Text() const {
    return DigitText(m_strFormat.Str(), m_dValue, (m_nFlags & kDigitUninitialized) != 0);
}

// [SECTION] Painting

BOOL CDigitCtrl::OnEraseBkgnd(CDC*) {
    return TRUE;
}

void CDigitCtrl::OnEnable(BOOL) {
    InvalidateControl();
}

void CDigitCtrl::OnDraw(CDC* dc, const CRect& rcBounds, const CRect&) {
    CBitmap* strip = &m_bmpDigits;
    if (m_hWnd && !::IsWindowEnabled(m_hWnd))
        strip = &m_bmpDisabled;
    else if ((m_nFlags & kDigitError) && m_bmpError.GetSafeHandle())
        strip = &m_bmpError;
    if (!strip->GetSafeHandle())
        return;
    CDC memory;
    if (!memory.CreateCompatibleDC(dc))
        return;
    CBitmap* old = memory.SelectObject(strip);
    const int w = m_nGlyphWidth;
    const int h = m_nGlyphHeight;
    const std::vector<DigitCell> cells =
        DigitLayout(Text(), m_nMaxSize, (m_nFlags & kDigitZeroPadding) != 0, m_dValue);
    int x = rcBounds.left + 1;
    const int y = rcBounds.top + 1;
    for (const DigitCell& cell : cells) {
        dc->BitBlt(x, y, w, h, &memory, cell.background * w, 0, SRCCOPY);
        if (cell.glyph >= 0)
            dc->BitBlt(x, y, w, h, &memory, cell.glyph * w, 0, SRCAND);
        x += w;
    }
    memory.SelectObject(old);
}
