// CBmpButton1Ctrl: interfaces, construction, the property handlers and
// persistence.
#include "buttons/BmpButton1Ctrl.h"

#include "module/Guids.h"
#include "platform/afx/ControlPointer.h"
#include "platform/afx/ModuleState.h"
#include "platform/gdi/SysColors.h"

namespace {

using C = CBmpButton1Ctrl;

// [SECTION] Rows of the font and picture properties

template <CFontHolder C::*Font> HRESULT FontGet(void* object, const DispEntry&, VARIANT* result) {
    auto* self = static_cast<C*>(object);
    result->vt = VT_DISPATCH;
    result->pdispVal = (self->*Font).GetFontDispatch();
    return S_OK;
}

template <CFontHolder C::*Font>
HRESULT FontPut(void* object, const DispEntry&, const VARIANT& value) {
    auto* self = static_cast<C*>(object);
    self->OnFontPropertyChanged(self->*Font, value.vt == VT_DISPATCH ? value.pdispVal : nullptr);
    return S_OK;
}

template <CPictureHolder C::*Picture>
HRESULT PictureGet(void* object, const DispEntry&, VARIANT* result) {
    return BmpButtonPictureGet(static_cast<C*>(object)->*Picture, result);
}

template <CPictureHolder C::*Picture>
HRESULT PicturePut(void* object, const DispEntry&, const VARIANT& value) {
    auto* self = static_cast<C*>(object);
    const HRESULT hr = BmpButtonPicturePut(self->*Picture, value);
    if (SUCCEEDED(hr))
        self->OnPictureChanged();
    return hr;
}

template <CFontHolder C::*Font> constexpr DispEntry FontRow(const char* name, DISPID dispid) {
    return DispEntry{name, dispid,         DispKind::Property, VT_DISPATCH,
                     {},   &FontGet<Font>, &FontPut<Font>};
}

template <CPictureHolder C::*Picture>
constexpr DispEntry PictureRow(const char* name, DISPID dispid) {
    return DispEntry{name,
                     dispid,
                     DispKind::Property,
                     VT_DISPATCH,
                     {},
                     &PictureGet<Picture>,
                     &PicturePut<Picture>};
}

// [SECTION] The interfaces

const DispEntry kBmpButton1Rows[] = {
    DispMember<&C::m_staticText, &C::OnChanged>("StaticText", 1, VT_BSTR),
    DispMember<&C::m_hooverText, &C::OnChanged>("HooverText", 2, VT_BSTR),
    DispMember<&C::m_pushText, &C::OnChanged>("PushText", 3, VT_BSTR),
    DispMember<&C::m_hooverColor, &C::OnChanged>("HooverColor", 4, VT_I4),
    DispMember<&C::m_pushColor, &C::OnChanged>("PushColor", 5, VT_I4),
    PictureRow<&C::m_staticPic>("StaticPic", 6),
    PictureRow<&C::m_hooverPic>("HooverPic", 7),
    FontRow<&C::m_staticFont>("StaticFont", 8),
    FontRow<&C::m_hooverFont>("HooverFont", 9),
    DispGetSet<&C::GetAlign, &C::SetAlign>("Align", 10, VT_I2),
    DispGetSet<&C::GetSpacingValue, &C::SetSpacing>("Spacing", 11, VT_I2),
    DispGetSet<&C::GetEnableHoover, &C::SetEnableHoover>("EnableHoover", 12, VT_BOOL),
    DispGetSet<&C::GetShowFocus, &C::SetShowFocus>("ShowFocus", 13, VT_I2),
    DispGetSet<&C::GetEnableAutorepeat, &C::SetEnableAutorepeat>("EnableAutorepeat", 14, VT_BOOL,
                                                                 "EnableAutoRepeat"),
    DispGetSet<&C::GetStaticColor, &C::SetStaticColor>("StaticColor", 15, VT_I4),
    DispControlPointer("ControlPointer", 16),
    DispGetSet<&C::GetFlags, &C::SetFlags>("Flags", 17, VT_I2),
    DispStockBorderStyle(),
    DispStockEnabled(),
    DispStockBackColor(),
    DispStockForeColor(),
    DispStockAboutBox(),
};
const DispEntry kBmpButton1EventRows[] = {DispStockClickEvent()};

const DispTable kBmpButton1Table{kBmpButton1Rows};
const DispTable kBmpButton1Events{kBmpButton1EventRows};

COleControlClass BmpButton1Class() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_BmpButton1, &kBmpButton1Table, &kBmpButton1Events};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x21190;
    return cls;
}

} // namespace

const DispTable& BmpButton1DispatchTable() {
    return kBmpButton1Table;
}
const DispTable& BmpButton1EventTable() {
    return kBmpButton1Events;
}

HRESULT BmpButtonPictureGet(CPictureHolder& holder, VARIANT* result) {
    result->vt = VT_DISPATCH;
    result->pdispVal = holder.GetPictureDispatch();
    return S_OK;
}

HRESULT BmpButtonPicturePut(CPictureHolder& holder, const VARIANT& value) {
    // The row's type lets only picture objects (or none) through.
    if (value.vt != VT_DISPATCH)
        return DISP_E_TYPEMISMATCH;
    return holder.SetPictureDispatch(value.pdispVal) ? S_OK : DISP_E_TYPEMISMATCH;
}

FONTDESC CBmpButton1Ctrl::DefaultFont() {
    FONTDESC desc{};
    desc.lpstrName = "MS Shell Dlg";
    desc.cySize = FONTSIZE(12);
    desc.sWeight = FW_BOLD;
    return desc;
}

CBmpButton1Ctrl::CBmpButton1Ctrl() : CBmpButton1Ctrl(BmpButton1Class()) {
    InitializeIIDs(&kw::ids::IID_DBmpButton1, &kw::ids::IID_DBmpButton1Events);
    SetInitialSize(28, 28);
}

CBmpButton1Ctrl::CBmpButton1Ctrl(const COleControlClass& cls) : COleControl(cls) {
    const FONTDESC font = DefaultFont();
    m_staticFont.InitializeFont(&font);
    m_hooverFont.InitializeFont(&font);
    // A host that changes a font object it reached by dispatch sees it drawn.
    m_staticFont.SetNotify([this] { InvalidateControl(); });
    m_hooverFont.SetNotify([this] { InvalidateControl(); });
    InitialiseFields();
}

CBmpButton1Ctrl::~CBmpButton1Ctrl() = default;

void CBmpButton1Ctrl::InitialiseFields() {
    m_align = 0;
    m_spacing = 0;
    m_showFocus = 1;
    m_enableHoover = TRUE;
    m_activeBack = ::GetSysColor(COLOR_BTNFACE);
    m_restBack = ::GetSysColor(COLOR_BTNFACE);
    m_restText = ::GetSysColor(COLOR_BTNTEXT);
    m_hover = m_pressed = m_focused = m_disabled = FALSE;
    m_flat = m_transparentBitmap = FALSE;
    m_repeatTimer = 0;
    m_repeatFired = 0;
    m_enableAutorepeat = FALSE;
    m_hooverColor = 0;
    m_pushColor = 0;
    m_staticColor = m_restBack;
}

BOOL CBmpButton1Ctrl::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.lpszClass = "BUTTON";
    cs.style |= BS_OWNERDRAW;
    return COleControl::PreCreateWindow(cs);
}

// [SECTION] Property handlers

void CBmpButton1Ctrl::OnChanged() {
    InvalidateControl();
    SetModifiedFlag();
}

void CBmpButton1Ctrl::SetAlign(SHORT align) {
    // Only the alignment bits change; the flat and transparent bits stay.
    if (WORD(align) == (m_align & 0x0F))
        return;
    m_align = WORD((m_align & ~0x0F) | (align & 0x0F));
    InvalidateControl();
    SetModifiedFlag();
}

void CBmpButton1Ctrl::SetFlags(SHORT flags) {
    if (WORD(flags) == m_align)
        return;
    m_align = WORD(flags);
    m_flat = (m_align & kFlatBit) ? TRUE : FALSE;
    m_transparentBitmap = (m_align & kTransparentBit) ? TRUE : FALSE;
    InvalidateControl();
    SetModifiedFlag();
}

void CBmpButton1Ctrl::SetSpacing(SHORT spacing) {
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    InvalidateControl();
    SetModifiedFlag();
}

void CBmpButton1Ctrl::SetEnableHoover(BOOL enable) {
    if (enable == m_enableHoover)
        return;
    m_enableHoover = enable;
    SetModifiedFlag();
}

void CBmpButton1Ctrl::SetShowFocus(SHORT showFocus) {
    if (showFocus == m_showFocus)
        return;
    m_showFocus = showFocus;
    SetModifiedFlag();
}

void CBmpButton1Ctrl::SetEnableAutorepeat(BOOL enable) {
    if (enable == m_enableAutorepeat)
        return;
    m_enableAutorepeat = enable;
    SetModifiedFlag();
}

void CBmpButton1Ctrl::SetStaticColor(OLE_COLOR color) {
    m_staticColor = color;
    if (!m_transparentBitmap) {
        const COLORREF rgb = TranslateColor(color);
        if (rgb != m_restBack) {
            m_restBack = rgb;
            m_activeBack = rgb;
        }
    }
    // With the transparent-bitmap flag the value is the transparency key.
    InvalidateControl();
    SetModifiedFlag();
}

void CBmpButton1Ctrl::OnPictureChanged() {
    InvalidateControl();
    SetModifiedFlag();
}

void CBmpButton1Ctrl::OnFontPropertyChanged(CFontHolder& font, IDispatch* newFont) {
    const FONTDESC desc = DefaultFont();
    font.InitializeFont(&desc);
    if (newFont)
        font.SetFontDispatch(newFont);
    OnFontChanged();
    SetModifiedFlag();
}

// [SECTION] Persistence

void CBmpButton1Ctrl::ExchangeButtonProps(CPropExchange* pPX) {
    const FONTDESC font = DefaultFont();
    const CPictureHolder none;
    SHORT align = SHORT(m_align);
    PX_String(pPX, "StaticText", m_staticText, CString());
    PX_String(pPX, "HooverText", m_hooverText, CString());
    PX_String(pPX, "PushText", m_pushText, CString());
    PX_Short(pPX, "Align", align, 0);
    m_align = WORD(align);
    PX_Short(pPX, "Spacing", m_spacing, 0);
    PX_Short(pPX, "ShowFocus", m_showFocus, 1);
    PX_Bool(pPX, "EnableHoover", m_enableHoover, TRUE);
    PX_Color(pPX, "HooverColor", m_hooverColor, 0);
    PX_Color(pPX, "PushColor", m_pushColor, 0);
    PX_Font(pPX, "Static Font", m_staticFont, &font);
    PX_Font(pPX, "Hoover Font", m_hooverFont, &font);
    PX_Picture(pPX, "Static Picture", m_staticPic, none);
    PX_Picture(pPX, "Hoover Picture", m_hooverPic, none);
}

void CBmpButton1Ctrl::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
    COleControl::DoPropExchange(pPX);
    if (!pPX->IsLoading()) {
        m_align = WORD(m_align & ~(kFlatBit | kTransparentBit));
        if (m_flat)
            m_align |= kFlatBit;
        if (m_transparentBitmap)
            m_align |= kTransparentBit;
    }
    ExchangeButtonProps(pPX);
    if (pPX->IsLoading()) {
        m_flat = (m_align & kFlatBit) ? TRUE : FALSE;
        m_transparentBitmap = (m_align & kTransparentBit) ? TRUE : FALSE;
        if (m_transparentBitmap && m_staticPic.GetType() == PICTYPE_BITMAP)
            ReadTransparencyKey();
    }
}

void CBmpButton1Ctrl::ReadTransparencyKey() {
    const HBITMAP bitmap = m_staticPic.GetBitmap();
    BITMAP bm{};
    if (!bitmap || !::GetObject(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return;
    // The first pixel of a bottom-up copy is the bitmap's bottom-left one.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> bits(std::size_t(bm.bmWidth) * std::size_t(bm.bmHeight));
    const HDC screen = ::GetDC(nullptr);
    const int lines =
        ::GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), bits.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (lines <= 0)
        return;
    // A DIB pixel is 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
    const DWORD p = bits[0];
    m_staticColor = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
