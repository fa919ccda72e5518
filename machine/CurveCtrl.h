#pragma once
// CCurveCtrl: a small editable characteristic curve, such as a speed or a
// correction table. The host fills it with SetPoint and reads it back with
// GetPoint; the operator adds points with the mouse and, with the Y-Lock
// bit of Flags, drags the selected point along x. Every move of a drag
// fires Changed with the selected index. Its window is a system "BUTTON"
// window, owner-drawn.
#include "machine/CurveGeometry.h"
#include "platform/afx/OleControl.h"

#include <cfloat>
#include <vector>

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
    int PointsInUse() const { return m_nPoints; }
    int Capacity() const { return int(m_points.size()); }
    bool HasPointArray() const { return m_bAllocated; }
    int Selection() const { return m_nSel; }
    bool IsDragging() const { return m_bDragging; }
    CurveScale Scale() const { return m_scale; }
    const CRect& PlotRect() const { return m_rcPlot; }

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
    // Makes room for `Points` pairs, keeping those stored: the array exists
    // from the first SetPoint or added point on and grows when the host
    // raised Points since, so no index below Points ever lies past it.
    void ReservePoints();
    void RescaleX();
    std::span<const CurvePoint> InUse() const;

    std::vector<CurvePoint> m_points; // never-set pairs are (0, 0)
    bool m_bAllocated{false};
    int m_nPoints{0};
    int m_nSel{-1};
    bool m_bDragging{false};
    CurveScale m_scale;
    CRect m_rcPlot;
};

// The Curve's interfaces, for its factory and the type library.
const DispTable& CurveDispatchTable();
const DispTable& CurveEventTable();
