#pragma once
// CColorStaticCtrl: a text label whose text colour and background colour can
// each blink between two colours, both on one shared window timer. Its
// window is a system "STATIC": the system window paints the text, and the
// control answers its colour request (the reflected WM_CTLCOLORSTATIC) with
// the colours of the current phase.
#include "platform/afx/OleControl.h"

class CColorStaticCtrl final : public COleControl {
public:
    CColorStaticCtrl();
    ~CColorStaticCtrl() override;

    // [SECTION] Dispatch members
    void OnChanged(); // the common change handler: redraw, mark modified
    void SetBlinkTextColors(LONG color1, LONG color2);
    void SetBlinkBkColors(LONG color1, LONG color2);
    void StartTextBlink(BOOL bStart, SHORT nElapse);
    void StartBkBlink(BOOL bStart, SHORT nElapse);
    void SetTransparentBk(BOOL mode);

    // Persistent properties, exchanged by the dispatch rows.
    OLE_COLOR m_textBlinkColor1;
    OLE_COLOR m_textBlinkColor2;
    OLE_COLOR m_bkBlinkColor1;
    OLE_COLOR m_bkBlinkColor2;
    SHORT m_flags{1};

    static constexpr UINT_PTR kBlinkTimer = 2;
    static constexpr UINT kDefaultPeriod = 500;
    static constexpr DWORD kVersion = MAKELONG_VERSION(1, 3);

    // [SECTION] State a host or a test may look at
    bool TextBlinks() const { return m_textBlink; }
    bool BkBlinks() const { return m_bkBlink; }
    bool TextPhase() const { return m_textPhase; }
    bool BkPhase() const { return m_bkPhase; }
    bool TransparentBk() const { return m_transparentBk; }
    // The running blink timer's id (0: none) and its period.
    UINT_PTR BlinkTimer() const { return m_timerId; }
    UINT BlinkPeriod() const { return m_timerPeriod; }
    COLORREF BkColor() const { return m_bkColor; }

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    void OnBackColorChanged() override;
    void OnFontChanged() override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;
    LRESULT OnOcmCtlColorStatic(WPARAM wParam, LPARAM lParam) override;

private:
    // Starts timer 2 with `period`, or restarts it when it runs with another.
    void RunBlinkTimer(UINT period);
    // The background colour and its brush follow the transparent mode:
    // the system button face, or the translated BackColor.
    void UpdateBackground();
    void RebuildBkBrush();
    void RebuildBlinkBrushes();
    void DeleteBrushes();
    // The system static draws with the font it is given: the stock Font.
    void PassFont();

    UINT_PTR m_timerId{0};
    UINT m_timerPeriod{kDefaultPeriod};
    COLORREF m_defaultTextColor;
    bool m_textBlink{false};
    bool m_textPhase{false};
    COLORREF m_bkColor;
    bool m_bkBlink{false};
    bool m_bkPhase{false};
    bool m_transparentBk{true};
    // The brushes live with the window; their colours outlive it, so a new
    // window gets the same brushes back.
    CBrush m_bkBrush;
    CBrush m_blinkBrushes[2];
    COLORREF m_blinkBrushColors[2];
};

// The ColorStatic's interfaces, for its factory and the type library.
const DispTable& ColorStaticDispatchTable();
const DispTable& ColorStaticEventTable();
