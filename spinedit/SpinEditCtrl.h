#pragma once
// CSpinEditCtrl: the numeric entry field. One row of an optional label
// button, the value field, two spin buttons, a unit button and an
// absolute/relative button. The operator changes the value by typing an
// expression into the entry box over the value field, by the spin buttons
// (click, auto-repeat, vertical drag, wheel) or by the arrow keys; the value
// is held as a double in its value unit and shown in the display unit. The
// host hears of operator changes through events and answers unit
// conversions, unit names and labels through events with by-reference
// results.
//
// Its sections live by concern: SpinEditCtrl.cpp (interfaces, persistence,
// host requests), SpinEditValue.cpp (value logic and the entry),
// SpinEditInput.cpp (keys, mouse, timers) and SpinEditPaint.cpp (drawing).
#include "platform/afx/OleControl.h"
#include "spinedit/SpinEditLayout.h"
#include "spinedit/UnitRequests.h"
#include "spinedit/UnitText.h"
#include "spinedit/ValueFormat.h"

#include <memory>

class CSEEdit;
class CExpressionEvaluator;

// The record the entry box sends its control when editing ends (WM_NOTIFY,
// control id 1, code kSpinEditEntryCode).
struct NMSPINEDITENTRY {
    NMHDR hdr;
    const char* text{nullptr}; // the formatted result, Windows-1252
    LONG key{0};               // 9 Tab, 13 Enter, 27 Esc, an arrow or page key, 0
    HWND focus{nullptr};       // the window receiving the focus
};
inline constexpr UINT kSpinEditEntryCode = 3024;
inline constexpr UINT kSpinEditEntryId = 1;

class CSpinEditCtrl final : public COleControl, private IUnitRequests {
public:
    CSpinEditCtrl();
    ~CSpinEditCtrl() override;

    // The focus parts, in the order the arrow keys visit them.
    enum Part : SHORT { kNoPart = -1, kLabel = 0, kValue = 1, kSpin = 2, kUnit = 3, kAbsRel = 4 };

    // [SECTION] Dispatch members
    void OnChanged(); // the common change handler: redraw, mark modified
    void OnLimitChanged();
    void OnDefaultUnitChanged();
    void OnUnitTextChanged();
    SHORT GetFlags() { return SHORT(m_flags); }
    void SetFlags(SHORT flags);
    double GetValue() { return m_value; }
    void SetValue(double value);
    BOOL SetVal(double dbValue, SHORT nUnit);
    BOOL GetVal(double* dbValue, SHORT nUnit);
    BOOL GetfVal(float* fValue, SHORT nUnit);
    BOOL GetsVal(SHORT* sValue, SHORT nUnit);
    BOOL GetlVal(LONG* lValue, SHORT nUnit);
    BOOL GetUnit(SHORT* nUnit);
    BOOL SetUnit(SHORT nUnit);
    BOOL SetOffset(double dbValue);
    BOOL SetLabelColor(LONG color);
    BOOL GetLabelColor(LONG* color);
    void SetUndefined();
    BOOL IsDefVal();
    BOOL SetValueColor(LONG color);
    BOOL GetValueColor(LONG* color);

    // [SECTION] Value logic
    BOOL StepUp(int steps);
    BOOL StepDown(int steps);
    // Clamps a value in the value unit to the limits when "use Limits" is on.
    void ClampToLimits(double& v);
    // Opens the entry box over the value field; `ch` is the character that
    // started editing, or 1 for a click.
    void BeginEdit(UINT ch);
    // The entry box's record at the end of editing.
    LRESULT CommitEntry(const NMSPINEDITENTRY& entry);
    // The value field's text: the value in the display unit, or "---".
    CString FormatValue(bool withSuffix);

    // [SECTION] State a host or a test may look at
    bool IsDefined() const { return m_defined; }
    bool IsAbsolute() const { return m_absolute; }
    bool IsEditing() const { return m_editing; }
    WORD ValueUnit() const { return m_valueUnit; }
    WORD DisplayUnit() const { return m_display.displayUnit; }
    const std::string& UnitTextShown() const { return m_display.unitText; }
    bool InchSystem() const { return m_inchSystem; }
    SHORT FocusPart() const { return m_focusPart; }
    bool RepeatTimerRunning() const { return m_repeatTimer != 0; }
    UINT RepeatPeriod() const { return m_repeatPeriod; }
    SpinEditParts Parts() const;
    CSEEdit* EntryBox() const { return m_entry.get(); }

    // Persistent properties, exchanged by the dispatch rows.
    CString m_label{"X:"};
    float m_lowLimit{0.0f};
    float m_highLimit{0.0f};
    float m_stepVal{1.0f};
    SHORT m_typ{1};
    SHORT m_pointPos{0};
    SHORT m_units{5};
    SHORT m_defaultUnit{0};
    SHORT m_labelWidth{20};
    SHORT m_spinWidth{14};
    SHORT m_unitWidth{40};
    CString m_unitText;
    SHORT m_unitsMaskMM{3};
    SHORT m_unitsMaskINCH{12};
    SHORT m_absWidth{30};
    WORD m_flags{4};
    SHORT m_editHeight{21};

    static constexpr DISPID kEventValueChanged = 1;
    static constexpr DISPID kEventUnitChanged = 2;
    static constexpr DISPID kEventLabelChanged = 3;
    static constexpr DISPID kEventRequestUnitText = 4;
    static constexpr DISPID kEventRequestUnitConvert = 5;
    static constexpr DISPID kEventRequestLabelText = 6;
    static constexpr DISPID kEventToggle = 7;

    static constexpr UINT_PTR kRepeatTimer = 513;
    static constexpr UINT kRepeatPeriod = 300;
    static constexpr UINT kDragUpPeriod = 10;
    static constexpr UINT kDragDownPeriod = 50;
    static constexpr int kDragThreshold = 50;

protected:
    void OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnDestroy() override;

    void OnKeyDown(UINT nChar, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT nChar, UINT repeat, UINT flags) override;
    void OnChar(UINT nChar, UINT repeat, UINT flags) override;
    UINT OnGetDlgCode() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnRButtonDblClk(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    void OnCaptureChanged(CWnd* wnd) override;
    void OnTimer(UINT_PTR id) override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;
    void OnEnable(BOOL enable) override;
    void OnSettingChange(UINT flags, LPCSTR section) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    // [SECTION] Host requests (IUnitRequests), answered by events
    void RequestUnitText(std::string& text, short dspUnit, BOOL& bHandled) override;
    void RequestUnitConvert(double curValue, short curUnit, double& newValue, short newUnit,
                            BOOL& bHandled) override;

    // [SECTION] Helpers of the value logic
    bool UnitsOff() const { return (m_flags & 0x0002) != 0; }
    UnitMasks Masks() const;
    WORD DefaultUnitBit() const;
    // ConvertUnit with this field's units and host.
    bool Convert(double value, WORD from, double& out, WORD to);
    // The same, where a conversion without a rule passes the value through.
    double ConvertOrPass(double value, WORD from, WORD to);
    double LimitInValueUnit(float limit);
    // Moves the value by `delta` in the display unit, clamps, rounds and
    // fires ValueChanged when it moved.
    void StepBy(double delta);
    void RoundToDisplayedDecimals(double& v) const;
    void RefreshUnitText();
    // The display unit moves to the next allowed unit; fires UnitChanged.
    void SwitchUnit();
    void AskForLabel();
    void ReportEntryError();

    // [SECTION] Helpers of the input
    bool IsPartAvailable(SHORT part) const;
    void MoveFocusPart(int direction);
    void StartRepeatTimer(UINT period);
    void StopRepeatTimer();
    bool HasFocusNow() const;
    bool IsEnabledNow();
    void PressAt(CPoint point);
    void ReleaseButtons();

    // [SECTION] Painting
    SpinEditGeometry Geometry() const;
    CRect ClientRect() const;
    // Each part routine paints with `dc`, or with the control's own DC when
    // it is null; without any DC it invalidates the part.
    void DrawLabel(CDC* dc, CRect rc);
    void DrawFrame(CDC* dc);
    void DrawValueField(CDC* dc, CRect rc);
    // `direction` is DFCS_SCROLLUP or DFCS_SCROLLDOWN.
    void DrawSpinButton(CDC* dc, CRect rc, UINT direction, bool pressed);
    void DrawUnitButton(CDC* dc, CRect rc);
    void DrawAbsRelButton(CDC* dc, CRect rc);
    void DrawSpinFocus(CDC* dc, const SpinEditParts& parts);
    void RedrawLabel();
    void RedrawValueField();
    void RedrawUpButton();
    void RedrawDownButton();
    void RedrawUnitButton();
    void RedrawAbsRelButton();
    template <class Paint> void PaintPart(const std::optional<CRect>& part, Paint paint);

    // Run-time state.
    double m_value{0.0};
    double m_referenceValue{0.0};
    double m_displayOffset{0.0};
    WORD m_valueUnit{0};
    UnitDisplay m_display;
    bool m_inchSystem{false};
    bool m_defined{false};
    bool m_absolute{true};
    CString m_absRelText{"abs"};
    bool m_defaultRequested{false};
    COLORREF m_labelColor;
    COLORREF m_valueColor;
    SHORT m_focusPart{kValue};
    bool m_labelPressed{false};
    bool m_downPressed{false};
    bool m_upPressed{false};
    bool m_unitPressed{false};
    bool m_absRelPressed{false};
    bool m_editing{false};
    UINT_PTR m_repeatTimer{0};
    UINT m_repeatPeriod{kRepeatPeriod};
    LONG m_dragAnchorX{-1};
    LONG m_dragLastX{0};
    LONG m_dragLastY{0};
    bool m_overDragZone{false};
    std::unique_ptr<CSEEdit> m_entry;
};

// The SpinEdit's interfaces, for its factory and the type library.
const DispTable& SpinEditDispatchTable();
const DispTable& SpinEditEventTable();
