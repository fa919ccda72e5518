// CSpinEditCtrl: the value logic. Setting and reading the value in any
// unit, clamping, stepping, and the entry the operator commits.
#include "spinedit/ExpressionEvaluator.h"
#include "spinedit/SEEdit.h"
#include "spinedit/SpinEditCtrl.h"
#include "spinedit/UnitConversion.h"
#include "spinedit/ValueFormat.h"

#include "platform/gdi/SysColors.h"
#include "platform/user/MessageBox.h"
#include "platform/user/Window.h"

#include <cmath>
#include <limits>

namespace {

constexpr WORD kAnyUnit = 0xFFFF; // -1: the default unit, or the value unit
constexpr LONG kKeyTab = 9;
constexpr char kUndefinedText[] = "---";

// The text of the host application's main window: the top-level window the
// control lives in.
CString MainWindowText(HWND control) {
    HWND main = control ? ::GetAncestor(control, GA_ROOTOWNER) : nullptr;
    if (!main)
        return CString();
    const int length = ::GetWindowTextLengthA(main);
    CString text;
    ::GetWindowTextA(main, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer();
    return text;
}

} // namespace

bool CSpinEditCtrl::Convert(double value, WORD from, double& out, WORD to) {
    return ConvertUnit(value, from, out, to, UnitsOff(), this);
}

double CSpinEditCtrl::ConvertOrPass(double value, WORD from, WORD to) {
    double out = value;
    (void)Convert(value, from, out, to);
    return out;
}

double CSpinEditCtrl::LimitInValueUnit(float limit) {
    return ::LimitInValueUnit(limit, m_defaultUnit, m_valueUnit, UnitsOff(), this);
}

CString CSpinEditCtrl::FormatValue(bool withSuffix) {
    ValueFormatInput input;
    input.value = m_value;
    input.defined = m_defined;
    input.displayOffset = m_displayOffset;
    input.referenceValue = m_referenceValue;
    input.absolute = m_absolute;
    input.defaultUnit = m_defaultUnit;
    input.typ = m_typ;
    input.pointPos = m_pointPos;
    input.flags = m_flags;
    input.lowLimit = m_lowLimit;
    input.text = InternalGetText().Str();
    return CString(::FormatValue(input, m_valueUnit, m_display.displayUnit, withSuffix, this));
}

// [SECTION] Setting and reading

BOOL CSpinEditCtrl::SetVal(double dbValue, SHORT nUnit) {
    const WORD unit = WORD(nUnit);
    if (m_units != 0 && (WORD(m_units) & unit) == 0 && m_valueUnit != 0) {
        // A unit the field does not show: the value keeps its unit and takes
        // the converted number.
        if (unit == 0)
            return FALSE;
        // A unit without a rule for the value's unit leaves the output
        // alone; the marker shows that nothing was converted.
        double converted = std::numeric_limits<double>::quiet_NaN();
        if (!Convert(dbValue, unit, converted, m_valueUnit) || std::isnan(converted))
            return FALSE;
        m_value = converted;
        m_referenceValue = m_value;
        m_defined = true;
        RedrawValueField();
        return TRUE;
    }
    if (dbValue == m_value && m_defined && (unit == m_valueUnit || unit == kAnyUnit)) {
        if (!m_absolute) {
            m_referenceValue = m_value;
            RedrawValueField();
        }
        return TRUE;
    }
    m_value = dbValue;
    m_referenceValue = dbValue;
    m_defined = true;
    m_valueUnit = unit == kAnyUnit ? DefaultUnitBit() : unit;
    if (m_hWnd)
        Refresh();
    if (!m_absolute) {
        m_referenceValue = m_value;
        RedrawValueField();
    }
    return TRUE;
}

BOOL CSpinEditCtrl::GetVal(double* dbValue, SHORT nUnit) {
    if (!dbValue)
        return FALSE;
    const WORD unit = WORD(nUnit) == kAnyUnit ? m_valueUnit : WORD(nUnit);
    if (!UnitsOff() && unit != m_valueUnit) {
        // A target with a rule but a source without one passes the value
        // through, so a TRUE answer always comes with a written result.
        double converted = m_value;
        if (!Convert(m_value, m_valueUnit, converted, unit))
            return FALSE;
        *dbValue = converted;
        return TRUE;
    }
    *dbValue = m_value;
    return TRUE;
}

BOOL CSpinEditCtrl::GetfVal(float* fValue, SHORT nUnit) {
    double v = 0.0;
    if (!fValue || !GetVal(&v, nUnit))
        return FALSE;
    // Beyond the float range the answer is the infinity of its sign, stated
    // rather than left to the conversion.
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (std::fabs(v) > kLargest && std::isfinite(v))
        *fValue = v > 0 ? std::numeric_limits<float>::infinity()
                        : -std::numeric_limits<float>::infinity();
    else
        *fValue = static_cast<float>(v);
    return TRUE;
}

BOOL CSpinEditCtrl::GetsVal(SHORT* sValue, SHORT nUnit) {
    double v = 0.0;
    if (!sValue || !GetVal(&v, nUnit))
        return FALSE;
    return TruncateSaturated(v, *sValue) ? TRUE : FALSE;
}

BOOL CSpinEditCtrl::GetlVal(LONG* lValue, SHORT nUnit) {
    double v = 0.0;
    if (!lValue || !GetVal(&v, nUnit))
        return FALSE;
    return TruncateSaturated(v, *lValue) ? TRUE : FALSE;
}

// [SECTION] Limits and steps

void CSpinEditCtrl::ClampToLimits(double& v) {
    if ((m_flags & kSpinEditFlagUseLimits) == 0)
        return;
    const double lo = LimitInValueUnit(m_lowLimit);
    const double hi = LimitInValueUnit(m_highLimit);
    if (v < lo)
        v = lo;
    else if (hi != 0.0 && v > hi)
        v = hi;
}

void CSpinEditCtrl::StepBy(double delta) {
    double d = ConvertOrPass(m_value, m_valueUnit, m_display.displayUnit);
    d += delta;
    double result = ConvertOrPass(d, m_display.displayUnit, m_valueUnit);
    ClampToLimits(result);
    if (result != m_value) {
        m_value = result;
        RoundToDisplayedDecimals(m_value);
        FireEvent(kEventValueChanged);
    }
}

void CSpinEditCtrl::RoundToDisplayedDecimals(double& v) const {
    // PointPos counts decimals of the display unit. A value held in another
    // unit keeps its full conversion: rounded there, 6 mm entered into a
    // field that stores inches would come back as 5.994 mm.
    if (UnitsOff() || m_display.displayUnit == m_valueUnit)
        RoundToDecimals(v, m_pointPos);
}

BOOL CSpinEditCtrl::StepUp(int steps) {
    StepBy(steps * double(m_stepVal));
    if (m_hWnd) {
        RedrawValueField();
        if (Geometry().HasSpin())
            RedrawUpButton();
    }
    return TRUE;
}

BOOL CSpinEditCtrl::StepDown(int steps) {
    // At or below the low limit there is nothing to step down to.
    if ((m_flags & kSpinEditFlagUseLimits) != 0 && !(m_lowLimit < m_value))
        return FALSE;
    StepBy(-steps * double(m_stepVal));
    if (m_hWnd) {
        RedrawValueField();
        if (Geometry().HasSpin())
            RedrawDownButton();
    }
    return TRUE;
}

// [SECTION] Entry

void CSpinEditCtrl::BeginEdit(UINT ch) {
    if (m_editing || ch == UINT(kKeyTab) || !m_entry)
        return;
    const CString text = FormatValue(false);
    const SpinEditParts parts = Parts();
    if (!parts.value)
        return;
    m_editing = true;
    if (CDC* dc = m_hWnd ? GetDC() : nullptr) {
        dc->FillSolidRect(&*parts.value, ::GetSysColor(COLOR_WINDOW));
        ReleaseDC(dc);
    }
    const WORD limitsAndUninitialized = kSpinEditFlagUseLimits | kSpinEditFlagShowUninitialized;
    if ((m_flags & limitsAndUninitialized) == limitsAndUninitialized)
        m_entry->Evaluator().SetVariable(InternalGetText().Str(), LimitInValueUnit(m_lowLimit));
    m_entry->Activate(0, *parts.value, text, ch);
}

void CSpinEditCtrl::ReportEntryError() {
    const CString& error = CString(m_entry->Evaluator().GetErrorMessage());
    CString message = error;
    if (!m_label.IsEmpty() && (m_flags & kSpinEditFlagLabel) != 0)
        message.Format("Fehler bei Eingabe %s\n\n%s", m_label.GetString(), error.GetString());
    const CString caption = MainWindowText(m_hWnd);
    ::MessageBoxA(m_hWnd, message, caption, MB_ICONHAND);
}

LRESULT CSpinEditCtrl::CommitEntry(const NMSPINEDITENTRY& entry) {
    if (!m_hWnd)
        return 0;
    m_editing = false;
    const CString text(entry.text ? entry.text : "");
    if (m_entry && m_entry->Evaluator().HasError()) {
        // A typing error keeps the value the field had: storing whatever the
        // failed evaluation left would silently change an axis value.
        ReportEntryError();
    } else {
        double v = ReadEnteredNumber(text.Str());
        if (text == kUndefinedText || !std::isfinite(v)) {
            // A result that is no number, or beyond what the field holds, is
            // refused audibly; the value stays.
            ::MessageBeep(MB_ICONHAND);
        } else {
            v = ConvertOrPass(v, m_display.displayUnit, m_valueUnit);
            RoundToDisplayedDecimals(v);
            if (m_absolute)
                v -= m_displayOffset;
            else
                v += m_referenceValue;
            ClampToLimits(v);
            m_value = v;
            m_defined = true;
            FireEvent(kEventValueChanged);
        }
    }
    if (entry.key == kKeyTab && m_hWnd)
        OnChar(UINT(kKeyTab), 1, 0);
    InvalidateControl();
    return 0;
}
