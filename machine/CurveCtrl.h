#pragma once
// CCurveCtrl: a small editable characteristic curve, such as a speed or a
// correction table. The host fills it with SetPoint and reads it back with
// GetPoint; the operator adds points with the mouse and, with the Y-Lock
// bit of Flags, drags the selected point along x. Every move of a drag
// fires Changed with the selected index. Its window is a system "BUTTON"
// window, owner-drawn.
#include "machine/CurveEditor.h"
#include "platform/afx/OleControl.h"

#include <cfloat>

class CCurveCtrl final : public COleControl {
public:
    CCurveCtrl();
    ~CCurveCtrl() override;

    // [SECTION] Dispatch members
    void OnChanged(); // the common change handler: redraw, mark modified
    void SetPoint(SHORT index, float x, float y);
    BOOL GetPoint(SHORT index, float* x, float* y);

    // Persistent properties (Xaxis, Yaxis, Points, Flags) and the two
    // bounds, exchanged by the dispatch rows.
    CString m_strXaxis;
    CString m_strYaxis;
    SHORT m_nMaxPoints{2};
    SHORT m_nFlags{0};
    float m_fMinVal{-FLT_MAX};
    float m_fMaxVal{FLT_MAX};

    static constexpr SHORT kFlagXLock = 0x0001; // stored only
    static constexpr SHORT kFlagYLock = 0x0002; // a drag moves the point along x
    static constexpr DISPID kEventChanged = 1;

    // [SECTION] State a host or a test may look at
    int PointsInUse() const { return m_editor.PointsInUse(); }
    int Capacity() const { return m_editor.Capacity(); }
    bool HasPointArray() const { return m_editor.HasArray(); }
    int Selection() const { return m_editor.Selection(); }
    bool IsDragging() const { return m_editor.IsDragging(); }
    CurveScale Scale() const { return m_editor.Scale(); }
    const CRect& PlotRect() const { return m_editor.Plot(); }

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    UINT OnGetDlgCode() override;
    void OnEnable(BOOL enable) override;

private:
    CCurveEditor m_editor;
};

// The Curve's interfaces, for its factory and the type library.
const DispTable& CurveDispatchTable();
const DispTable& CurveEventTable();
