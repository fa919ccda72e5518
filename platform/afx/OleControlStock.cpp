// COleControl: the stock properties, the About box, events and the errors a
// dispatch accessor raises.
#include "platform/afx/Dialog.h"
#include "platform/afx/OleControl.h"

namespace {

// The framework's "invalid property value" dispatch error.
constexpr HRESULT CTL_E_INVALIDPROPERTYVALUE = HRESULT_CODE(0x800A017C);

} // namespace

// [SECTION] Stock properties

void COleControl::SetBackColor(OLE_COLOR color) {
    m_backColor = color;
    SetModifiedFlag();
    OnBackColorChanged();
}

void COleControl::SetForeColor(OLE_COLOR color) {
    m_foreColor = color;
    SetModifiedFlag();
    OnForeColorChanged();
}

void COleControl::SetText(CString text) {
    m_text = std::move(text);
    // A system window draws its own text: it gets the new one, past this
    // object's handlers.
    if (m_hWnd)
        DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_text.GetString()));
    SetModifiedFlag();
    OnTextChanged();
}

void COleControl::SetEnabled(BOOL enabled) {
    m_enabled = enabled ? TRUE : FALSE;
    SetModifiedFlag();
    if (m_hWnd)
        ::EnableWindow(m_hWnd, m_enabled);
    OnEnabledChanged();
}

void COleControl::SetBorderStyle(SHORT style) {
    // Only "none" and "single" exist; anything else would be stored and
    // drawn as neither.
    if (style != 0 && style != 1)
        ThrowError(CTL_E_INVALIDPROPERTYVALUE, "BorderStyle is 0 (none) or 1 (single)");
    m_borderStyle = style;
    SetModifiedFlag();
    UpdateBorderStyle();
    OnBorderStyleChanged();
}

void COleControl::UpdateBorderStyle() {
    if (!m_hWnd)
        return;
    if (m_borderStyle == 1)
        ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
    else
        ModifyStyle(WS_BORDER, 0, SWP_FRAMECHANGED);
}

void COleControl::SetFont(IDispatch* font) {
    if (!font || !m_font.SetFontDispatch(font))
        ThrowError(E_INVALIDARG, "Font needs a font object");
    SetModifiedFlag();
}

void COleControl::OnBackColorChanged() {
    InvalidateControl();
}
void COleControl::OnForeColorChanged() {
    InvalidateControl();
}
void COleControl::OnTextChanged() {
    InvalidateControl();
}
void COleControl::OnFontChanged() {
    InvalidateControl();
}
void COleControl::OnEnabledChanged() {
    InvalidateControl();
}
void COleControl::OnBorderStyleChanged() {
    InvalidateControl();
}

HRESULT StockFontGet(void* object, const DispEntry&, VARIANT* result) {
    auto* control = static_cast<COleControl*>(object);
    VariantClear(result);
    result->vt = VT_DISPATCH;
    result->pdispVal = control->GetFont();
    return result->pdispVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT StockFontPut(void* object, const DispEntry&, const VARIANT& value) {
    auto* control = static_cast<COleControl*>(object);
    IDispatch* font = nullptr;
    if (value.vt == VT_DISPATCH)
        font = value.pdispVal;
    else if (value.vt == (VT_DISPATCH | VT_BYREF) && value.ppdispVal)
        font = *value.ppdispVal;
    else
        return DISP_E_TYPEMISMATCH;
    control->SetFont(font);
    return S_OK;
}

// [SECTION] About box

void COleControl::AboutBox() {
    ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
    HWND owner = OuterWindow();
    if (owner && ::GetParent(owner))
        owner = ::GetParent(owner);
    AfxShowAboutBox(m_class.resources, owner);
}

// [SECTION] Events

const DispEntry* COleControl::FindEvent(DISPID dispid) const {
    if (!m_class.events)
        return nullptr;
    return m_class.events->Find(dispid);
}

bool COleControl::HasStock(DISPID dispid) const {
    return m_class.dispatch && m_class.dispatch->Find(dispid) != nullptr;
}

void COleControl::FireEventArgs(DISPID dispid, VARIANT* args, UINT count) {
    // Only the events of the control's own event interface reach a sink; a
    // control without a Click row (the Led) fires no stock Click.
    if (!FindEvent(dispid))
        return;
    CDispatchObject::FireEvent(dispid, args, count);
}

// [SECTION] Errors

void COleControl::SetNotSupported() {
    ThrowDispatchException(CTL_E_SETNOTSUPPORTED, "The property is read-only");
}

void COleControl::ThrowError(SCODE scode, LPCTSTR description) {
    ThrowDispatchException(scode, description ? description : "");
}

void AfxThrowOleException(HRESULT hr) {
    ThrowDispatchException(hr);
}
