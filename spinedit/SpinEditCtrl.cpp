// CSpinEditCtrl: interfaces, construction, persistence, the property
// handlers and the host's answers to unit requests.
#include "spinedit/SpinEditCtrl.h"

#include "module/Guids.h"
#include "platform/afx/ControlPointer.h"
#include "platform/afx/ModuleState.h"
#include "platform/gdi/SysColors.h"
#include "spinedit/MeasurementSystem.h"
#include "spinedit/SEEdit.h"

#include <cstdint>

namespace {

constexpr DispParam kSetValParams[] = {{"dbValue", VT_R8}, {"nUnit", VT_I2}};
constexpr DispParam kGetValParams[] = {{"dbValue", VT_BYREF | VT_R8}, {"nUnit", VT_I2}};
constexpr DispParam kGetfValParams[] = {{"fValue", VT_BYREF | VT_R4}, {"nUnit", VT_I2}};
constexpr DispParam kGetsValParams[] = {{"sValue", VT_BYREF | VT_I2}, {"nUnit", VT_I2}};
constexpr DispParam kGetlValParams[] = {{"lValue", VT_BYREF | VT_I4}, {"nUnit", VT_I2}};
constexpr DispParam kGetUnitParams[] = {{"nUnit", VT_BYREF | VT_I2}};
constexpr DispParam kSetUnitParams[] = {{"nUnit", VT_I2}};
constexpr DispParam kSetOffsetParams[] = {{"dbValue", VT_R8}};
constexpr DispParam kSetColorParams[] = {{"color", VT_I4}};
constexpr DispParam kGetColorParams[] = {{"color", VT_BYREF | VT_I4}};

using C = CSpinEditCtrl;

const DispEntry kSpinEditRows[] = {
    DispMember<&C::m_label, &C::OnChanged>("Label", 1, VT_BSTR),
    DispMember<&C::m_lowLimit, &C::OnLimitChanged>("LowLimit", 2, VT_R4),
    DispMember<&C::m_highLimit, &C::OnLimitChanged>("HighLimit", 3, VT_R4),
    DispMember<&C::m_stepVal, &C::OnChanged>("StepVal", 4, VT_R4),
    DispMember<&C::m_typ, &C::OnChanged>("Typ", 5, VT_I2),
    DispMember<&C::m_pointPos, &C::OnChanged>("PointPos", 6, VT_I2),
    DispMember<&C::m_units, &C::OnChanged>("Units", 7, VT_I2),
    DispMember<&C::m_defaultUnit, &C::OnDefaultUnitChanged>("DefaultUnit", 8, VT_I2),
    DispMember<&C::m_labelWidth, &C::OnChanged>("LabelWidth", 9, VT_I2),
    DispMember<&C::m_spinWidth, &C::OnChanged>("SpinWidth", 10, VT_I2),
    DispMember<&C::m_unitWidth, &C::OnChanged>("UnitWidth", 11, VT_I2),
    DispMember<&C::m_unitText, &C::OnUnitTextChanged>("UnitText", 12, VT_BSTR),
    DispMember<&C::m_unitsMaskMM, &C::OnChanged>("UnitsMaskMM", 13, VT_I2),
    DispMember<&C::m_unitsMaskINCH, &C::OnChanged>("UnitsMaskINCH", 14, VT_I2),
    DispMember<&C::m_absWidth, &C::OnChanged>("AbsWidth", 15, VT_I2),
    DispGetSet<&C::GetFlags, &C::SetFlags>("Flags", 16, VT_I2),
    DispGetSet<&C::GetValue, &C::SetValue>("Value", 17, VT_R8),
    DispControlPointer("ControlPointer", 18),
    DispMethod<&C::SetVal>("SetVal", 19, VT_BOOL, kSetValParams),
    DispMethod<&C::GetVal>("GetVal", 20, VT_BOOL, kGetValParams),
    DispMethod<&C::GetfVal>("GetfVal", 21, VT_BOOL, kGetfValParams),
    DispMethod<&C::GetsVal>("GetsVal", 22, VT_BOOL, kGetsValParams),
    DispMethod<&C::GetlVal>("GetlVal", 23, VT_BOOL, kGetlValParams),
    DispMethod<&C::GetUnit>("GetUnit", 24, VT_BOOL, kGetUnitParams),
    DispMethod<&C::SetUnit>("SetUnit", 25, VT_BOOL, kSetUnitParams),
    DispMethod<&C::SetOffset>("SetOffset", 26, VT_BOOL, kSetOffsetParams),
    DispMethod<&C::SetLabelColor>("SetLabelColor", 27, VT_BOOL, kSetColorParams),
    DispMethod<&C::GetLabelColor>("GetLabelColor", 28, VT_BOOL, kGetColorParams),
    DispMethod<&C::SetUndefined>("SetUndefined", 29, VT_EMPTY, {}),
    DispMethod<&C::IsDefVal>("IsDefVal", 30, VT_BOOL, {}),
    DispMethod<&C::SetValueColor>("SetValueColor", 31, VT_BOOL, kSetColorParams),
    DispMethod<&C::GetValueColor>("GetValueColor", 32, VT_BOOL, kGetColorParams),
    DispMember<&C::m_editHeight, &C::OnChanged>("EditHeight", 33, VT_I2),
    DispStockText(),
    DispStockBorderStyle(),
    DispStockEnabled(),
    DispStockAboutBox(),
};

constexpr DispParam kUnitChangedParams[] = {
    {"oldUnit", VT_I2}, {"newUnit", VT_I2}, {"hWnd", VT_I4}};
constexpr DispParam kRequestUnitTextParams[] = {
    {"Text", VT_BYREF | VT_BSTR}, {"dspUnit", VT_I2}, {"bHandled", VT_BYREF | VT_I4}};
constexpr DispParam kRequestUnitConvertParams[] = {{"curValue", VT_R8},
                                                   {"curUnit", VT_I2},
                                                   {"newValue", VT_BYREF | VT_R8},
                                                   {"newUnit", VT_I2},
                                                   {"bHandled", VT_BYREF | VT_I4},
                                                   {"hWnd", VT_I4}};
constexpr DispParam kRequestLabelTextParams[] = {{"LabelText", VT_BYREF | VT_BSTR},
                                                 {"bHandled", VT_BYREF | VT_I4}};

const DispEntry kSpinEditEventRows[] = {
    DispEvent("ValueChanged", C::kEventValueChanged, {}),
    DispEvent("UnitChanged", C::kEventUnitChanged, kUnitChangedParams),
    DispEvent("LabelChanged", C::kEventLabelChanged, {}),
    DispEvent("RequestUnitText", C::kEventRequestUnitText, kRequestUnitTextParams),
    DispEvent("RequestUnitConvert", C::kEventRequestUnitConvert, kRequestUnitConvertParams),
    DispEvent("RequestLabelText", C::kEventRequestLabelText, kRequestLabelTextParams),
    DispEvent("Toggle", C::kEventToggle, {}),
};

const DispTable kSpinEditTable{kSpinEditRows};
const DispTable kSpinEditEvents{kSpinEditEventRows};

COleControlClass SpinEditClass() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_SpinEdit, &kSpinEditTable, &kSpinEditEvents};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x20191;
    return cls;
}

// Window handles of this platform fit in 32 bits, as the events pass them.
LONG HandleAsLong(HWND hwnd) {
    return static_cast<LONG>(reinterpret_cast<std::uintptr_t>(hwnd));
}

} // namespace

const DispTable& SpinEditDispatchTable() {
    return kSpinEditTable;
}
const DispTable& SpinEditEventTable() {
    return kSpinEditEvents;
}

CSpinEditCtrl::CSpinEditCtrl()
    : COleControl(SpinEditClass()), m_labelColor(::GetSysColor(COLOR_BTNFACE)),
      m_valueColor(::GetSysColor(COLOR_WINDOW)) {
    InitializeIIDs(&kw::ids::IID_DSpinEdit, &kw::ids::IID_DSpinEditEvents);
    SetInitialSize(120, 21);
    m_inchSystem = ReadInchSystem();
}

CSpinEditCtrl::~CSpinEditCtrl() = default;

// [SECTION] Window life

int CSpinEditCtrl::OnCreate(CREATESTRUCTA* cs) {
    if (COleControl::OnCreate(cs) == -1)
        return -1;
    // Without the entry box the field still shows, steps and converts; it
    // only cannot be typed into.
    auto entry = std::make_unique<CSEEdit>();
    if (entry->CreateFor(this))
        m_entry = std::move(entry);
    return 0;
}

void CSpinEditCtrl::OnDestroy() {
    StopRepeatTimer();
    if (m_entry)
        m_entry->DestroyWindow();
    m_editing = false;
    COleControl::OnDestroy();
}

// [SECTION] Persistence

void CSpinEditCtrl::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
    COleControl::DoPropExchange(pPX);
    SHORT flags = SHORT(m_flags);
    PX_String(pPX, "Label", m_label, CString("X:"));
    PX_Float(pPX, "LowLimit", m_lowLimit, 0.0f);
    PX_Float(pPX, "HighLimit", m_highLimit, 0.0f);
    PX_Float(pPX, "StepVal", m_stepVal, 1.0f);
    PX_Short(pPX, "Typ", m_typ, 1);
    PX_Short(pPX, "PointPos", m_pointPos, 0);
    PX_Short(pPX, "Units", m_units, 5);
    PX_Short(pPX, "DefaultUnit", m_defaultUnit, 0);
    PX_Short(pPX, "LabelWidth", m_labelWidth);
    PX_Short(pPX, "SpinWidth", m_spinWidth);
    if (pPX->IsLoading() && (m_spinWidth < 10 || m_spinWidth > 30))
        m_spinWidth = 15;
    PX_Short(pPX, "UnitWidth", m_unitWidth);
    PX_String(pPX, "UnitText", m_unitText, CString());
    PX_Short(pPX, "Flags", flags, 4);
    m_flags = WORD(flags);
    // Older stores lack the later properties; they keep what they have.
    const DWORD version = pPX->IsLoading() ? GetVersion() : MAKELONG_VERSION(1, 4);
    if (version >= MAKELONG_VERSION(1, 1)) {
        PX_Short(pPX, "UnitsMaskMM", m_unitsMaskMM, 1);
        PX_Short(pPX, "UnitsMaskINCH", m_unitsMaskINCH, 4);
    }
    if (version >= MAKELONG_VERSION(1, 2))
        PX_Short(pPX, "AbsWidth", m_absWidth);
    if (version >= MAKELONG_VERSION(1, 4))
        PX_Short(pPX, "EditHeight", m_editHeight);
    m_display.displayUnit = DefaultUnitBit();
    m_display.unitTextStale = true;
}

// [SECTION] Property handlers

void CSpinEditCtrl::OnChanged() {
    InvalidateControl();
    SetModifiedFlag();
}

void CSpinEditCtrl::OnLimitChanged() {
    m_flags |= kSpinEditFlagUseLimits;
    StepUp(0);
    InvalidateControl();
    SetModifiedFlag();
}

void CSpinEditCtrl::OnDefaultUnitChanged() {
    m_display.displayUnit = DefaultUnitBit();
    RefreshUnitText();
    InvalidateControl();
    SetModifiedFlag();
}

void CSpinEditCtrl::OnUnitTextChanged() {
    m_display.unitTextStale = true;
    InvalidateControl();
    SetModifiedFlag();
}

void CSpinEditCtrl::SetFlags(SHORT flags) {
    m_flags = WORD(flags);
    InvalidateControl();
    SetModifiedFlag();
}

void CSpinEditCtrl::SetValue(double value) {
    m_value = value;
    m_referenceValue = value;
    m_defined = true;
    InvalidateControl();
    SetModifiedFlag();
}

BOOL CSpinEditCtrl::GetUnit(SHORT* nUnit) {
    if (nUnit)
        *nUnit = SHORT(m_display.displayUnit);
    return TRUE;
}

BOOL CSpinEditCtrl::SetUnit(SHORT nUnit) {
    if (WORD(nUnit) != m_display.displayUnit)
        m_display.displayUnit = WORD(nUnit);
    RefreshUnitText();
    InvalidateControl();
    return TRUE;
}

BOOL CSpinEditCtrl::SetOffset(double dbValue) {
    m_displayOffset = dbValue;
    InvalidateControl();
    return TRUE;
}

BOOL CSpinEditCtrl::SetLabelColor(LONG color) {
    m_labelColor = COLORREF(color);
    InvalidateControl();
    return TRUE;
}

BOOL CSpinEditCtrl::GetLabelColor(LONG* color) {
    if (color)
        *color = LONG(m_labelColor);
    return TRUE;
}

BOOL CSpinEditCtrl::SetValueColor(LONG color) {
    m_valueColor = COLORREF(color);
    InvalidateControl();
    return TRUE;
}

BOOL CSpinEditCtrl::GetValueColor(LONG* color) {
    if (color)
        *color = LONG(m_valueColor);
    return TRUE;
}

void CSpinEditCtrl::SetUndefined() {
    m_defined = false;
    RedrawValueField();
    InvalidateControl();
}

BOOL CSpinEditCtrl::IsDefVal() {
    return m_defaultRequested ? TRUE : FALSE;
}

// [SECTION] Units

UnitMasks CSpinEditCtrl::Masks() const {
    return UnitMasks{WORD(m_units), WORD(m_unitsMaskMM), WORD(m_unitsMaskINCH)};
}

WORD CSpinEditCtrl::DefaultUnitBit() const {
    return UnitFromBitIndex(m_defaultUnit);
}

void CSpinEditCtrl::RefreshUnitText() {
    UpdateUnitText(m_display, m_pointPos, Masks(), m_unitText.Str(), m_inchSystem, this);
}

void CSpinEditCtrl::SwitchUnit() {
    const WORD before = m_display.displayUnit;
    m_display.displayUnit = WORD(before << 1);
    RefreshUnitText();
    FireEvent(kEventUnitChanged, SHORT(before), SHORT(m_display.displayUnit), HandleAsLong(m_hWnd));
}

void CSpinEditCtrl::AskForLabel() {
    CString text = m_label;
    LONG handled = 0;
    FireEvent(kEventRequestLabelText, &text, &handled);
    if (handled)
        m_label = text;
    FireEvent(kEventLabelChanged);
}

// [SECTION] Host requests

void CSpinEditCtrl::RequestUnitText(std::string& text, short dspUnit, BOOL& bHandled) {
    CString answer(text);
    LONG handled = 0;
    FireEvent(kEventRequestUnitText, &answer, SHORT(dspUnit), &handled);
    bHandled = handled != 0;
    if (bHandled)
        text = answer.Str();
}

void CSpinEditCtrl::RequestUnitConvert(double curValue, short curUnit, double& newValue,
                                       short newUnit, BOOL& bHandled) {
    double answer = newValue;
    LONG handled = 0;
    FireEvent(kEventRequestUnitConvert, curValue, SHORT(curUnit), &answer, SHORT(newUnit), &handled,
              HandleAsLong(m_hWnd));
    bHandled = handled != 0;
    if (bHandled)
        newValue = answer;
}
