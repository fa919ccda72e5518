#pragma once
// CLedCtrl: a small lamp, a 13 x 13 picture from one image strip chosen by
// colour, shape and mode. It can be dark, lit, shown as unavailable, blink,
// or flash once. Its window is a system "STATIC" window; it takes no input
// and fires no events.
#include "platform/afx/OleControl.h"

class CLedCtrl final : public COleControl {
public:
    CLedCtrl();
    ~CLedCtrl() override;

    // Dispatch members.
    void SetColor(SHORT sel);
    void SetShape(SHORT sel);
    void SetMode(SHORT sel);
    void OnLedChanged(); // the common change handler of the properties

    // Persistent properties, exchanged by the dispatch rows.
    SHORT m_color{0};
    SHORT m_shape{0};
    SHORT m_mode{1};

    static constexpr UINT kBitmapId = 141;
    static constexpr int kCell = 13;
    static constexpr UINT_PTR kFlashTimer = 1;
    static constexpr UINT_PTR kBlinkTimer = 2;
    static constexpr UINT kBlinkPeriod = 500;
    static constexpr UINT kPulseDuration = 300;

    // The strip cell for the current state, or -1 when colour, shape or mode
    // lie outside their ranges (such a lamp draws nothing).
    int CellIndex() const;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnPaint() override;
    void OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnTimer(UINT_PTR id) override;
    void OnEnable(BOOL enable) override;
    void OnSettingChange(UINT flags, LPCSTR section) override;
    void OnDestroy() override;

private:
    void DrawNow();

    UINT_PTR m_blinkTimer{0};
    BOOL m_pulseActive{FALSE};
    BOOL m_blinkPhase{FALSE};
    bool m_drawingOnWindow{false}; // OnDraw paints the lamp's own window

    CImageList m_images;
};

// The Led's interfaces, for its factory and the type library.
const DispTable& LedDispatchTable();
const DispTable& LedEventTable();
