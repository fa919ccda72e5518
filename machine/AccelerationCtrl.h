#pragma once
// CAccelerationCtrl: computes the acceleration ramp of a stepper drive from
// its start and final frequency and either a constant acceleration (linear
// ramp) or an exponential rise, and plots it. The host may read the table,
// replace it with its own, and tell the control the step the machine is at,
// which the profile plot marks.
//
// Its sections live by concern: AccelerationRamp.cpp (the computation, a
// plain model), AccelerationCtrl.cpp (interfaces, table transfer,
// persistence, messages) and AccelerationPlot.cpp (the double-buffered
// painter and the two plots).
#include "machine/AccelerationRamp.h"
#include "platform/afx/OleControl.h"

class CAccelerationCtrl : public COleControl {
public:
    CAccelerationCtrl();
    ~CAccelerationCtrl() override;

    // [SECTION] Dispatch members
    void OnRampParameterChanged(); // Vstart, A, Vmax: recompute, redraw, mark modified
    void OnBChanged();             // non-zero: the exponential ramp replaces the linear one
    void OnAlphaChanged();         // non-zero: the linear ramp replaces the exponential one
    void OnChanged();              // the common change handler: redraw, mark modified
    // Replaces the table with a one-dimensional VT_ARRAY | VT_I4 array.
    // Null: nothing happens (TRUE). More than 4096 elements: FALSE, nothing
    // changed. Any other variant type raises E_INVALIDARG.
    BOOL SetRampTable(VARIANT* pvarData);
    // A new VT_ARRAY | VT_UI2 array of the ramp's entries, low 16 bits each.
    CComVariant GetRampTable();
    // The dispatch row's form of SetRampTable (a by-reference variant).
    BOOL SetRampTableArg(CComVariant* pvarData) { return SetRampTable(pvarData); }

    // Recomputes the table from the parameters (the properties A and Vmax
    // may change with it, see CalcExponentialRamp).
    void CalcRampTable();

    // Persistent and dispatch properties.
    SHORT m_Vstart{200};
    SHORT m_A{200};
    SHORT m_B{10000};
    LONG m_Vmax{5000};
    LONG m_Alpha{0};
    LONG m_Mode{0};
    LONG m_curramp{0};

    // The table. Its contents before the first computation are full speed.
    kw::machine::RampTable m_rampTable;
    SHORT m_rampCount{0};

    // [SECTION] Plot state a host or a test may look at
    LONG LastRamp() const { return m_lastRamp; }
    LONG PeakY() const { return m_peakY; }
    LONG PeakFreq() const { return m_peakFreq; }
    bool HasPlotBitmap() const { return m_bitmap.GetSafeHandle() != nullptr; }

    static constexpr int kRampPlotLeft = 75; // room for the level labels
    static constexpr int kProfilePlotLeft = 60;
    static constexpr int kPlotTop = 10;
    static constexpr int kPlotRight = 10;
    static constexpr int kPlotBottom = 20; // room for the time labels

    // Draws into item.hDC through the off-screen bitmap.
    virtual void DrawItem(LPDRAWITEMSTRUCT item);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnEnable(BOOL enable) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSettingChange(UINT flags, LPCSTR section) override;
    void OnDestroy() override;
    LRESULT OnOcmDrawItem(WPARAM wParam, LPARAM lParam) override;

    // The painter: the whole picture of `rc` into `dc`, which is the
    // off-screen bitmap's.
    virtual void Paint(CDC* dc, const CRect& rc);

private:
    void PaintRampPlot(CDC* dc, const CRect& rc);
    void PaintProfilePlot(CDC* dc, const CRect& rc);
    // The pen colour: `color` when enabled, grey when disabled.
    COLORREF PenColor(COLORREF color) const;
    // Entry i of the table; indexes past it read as full speed.
    LONG Entry(LONG i) const;

    CBitmap m_bitmap;
    CSize m_bitmapSize;
    CFont m_font;
    CFont m_fontVertical;
    LONG m_lastRamp{0};
    LONG m_peakY{0};
    LONG m_peakFreq{0};
};

// The Acceleration's interfaces, for its factory and the type library.
const DispTable& AccelerationDispatchTable();
const DispTable& AccelerationEventTable();
