#pragma once
// CPosCtrl: the jog pad. A picture of direction buttons with which the
// operator moves machine axes by hand, with the mouse or the keyboard. It
// moves nothing itself: it tells the host which direction is pressed
// (StartPos), when it is let go (StopPos) and when one keyboard step is
// asked for (PosRel). The buttons are not windows: the pad finds them in its
// layout picture and recolours their pixels to show hover and press.
//
// A jog that the host started must always be stopped: whatever takes the
// operator's hand away from the pad (the focus or the mouse capture going
// elsewhere, the pad disabled, hidden, destroyed or released) ends a press
// the way a release does, with one StopPos.
//
// Its sections live by concern: PosCtrl.cpp (interfaces, persistence,
// layout and lamps, the press and its end), PosInput.cpp (mouse, keys,
// timer, focus, capture, enable) and PosPaint.cpp (drawing); the layout
// tables and the picture analysis are in PosLayout.cpp.
#include "machine/PosLayout.h"
#include "platform/afx/OleControl.h"

class CPosCtrl final : public COleControl {
public:
    CPosCtrl();
    ~CPosCtrl() override;

    // [SECTION] Dispatch members
    void OnModeChanged();

    // Persistent property, exchanged by the dispatch row.
    SHORT m_nMode{0};

    static constexpr DISPID kEventStartPos = 1;
    static constexpr DISPID kEventStopPos = 2;
    static constexpr DISPID kEventPosRel = 3;
    static constexpr UINT_PTR kReleaseTimer = 1;
    static constexpr UINT kReleaseDelay = 500;
    // Up to eleven waits of 10 ms decide whether a jog key is held.
    static constexpr int kKeyWaits = 11;
    static constexpr DWORD kKeyWait = 10;
    static constexpr DWORD kRepeatPause = 90;

    // [SECTION] State a host or a test may look at
    int Layout() const { return m_nLayout; }
    int Buttons() const { return m_nButtons; }
    int RectCount() const { return m_nRects; }
    const PosRects& Rects() const { return m_rects; }
    int Hover() const { return m_nHover; }
    int PressedIndex() const { return m_nPressed; }
    bool IsPressActive() const { return m_bPressed; }
    bool LampXY() const { return m_bXY; }
    bool LampA() const { return m_bA; }
    bool LampB() const { return m_bB; }
    bool ReleaseTimerRunning() const { return m_nTimer != 0; }
    bool HasCapture() const { return m_bCaptured; }
    // The working picture (bottom row first); invalid when the layout's
    // bitmap could not be loaded.
    PosPixels Picture() const { return PosPixels{m_pBits, m_nWidth, m_nHeight}; }
    // The pixel of the working picture at x, y counted from the bottom.
    std::uint32_t PixelAt(int x, int y) const;
    // The cursor shown while a button is held: the system's four-way
    // "move" arrow.
    static HCURSOR MovingCursor();

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnDestroy() override;

    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnRButtonDown(UINT flags, CPoint point) override;
    void OnRButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnRButtonDblClk(UINT flags, CPoint point) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    void OnCaptureChanged(CWnd* wnd) override;
    void OnCancelMode() override;
    void OnKeyDown(UINT nChar, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT nChar, UINT repeat, UINT flags) override;
    void OnTimer(UINT_PTR id) override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;
    void OnEnable(BOOL enable) override;
    void OnShowWindow(BOOL show, UINT status) override;
    void OnEnabledChanged() override;

private:
    // [SECTION] Layout and lamps
    // Loads the layout's picture into the working DIB and finds its buttons
    // and lamps. A running press ends first.
    void BuildLayout();
    void PaintRect(int index, std::uint32_t colour);
    void RecolourLamps();
    bool IsButton(int index) const { return index >= 0 && index < m_nButtons; }
    // The window's state, or the stock property's while there is no window.
    bool IsEnabledNow();

    // [SECTION] Press and release
    enum class PressSource { None, Mouse, Keyboard };
    // kind 1: left button or plain Ctrl jog (green), 2: right button or
    // Ctrl+Shift jog (red).
    void Press(int index, int kind, PressSource source);
    // A release as a button-up or key-up makes it: the pressed button back
    // to black, the arrow cursor, StopPos.
    void ReleasePress();
    // Ends a running press from outside the operator's hand (focus, capture,
    // enable, visibility, destruction): a release when a press runs, and the
    // mouse button still held then owes no second StopPos.
    void EndPress();
    void KillReleaseTimer();

    // [SECTION] Input helpers
    int HitTest(CPoint point) const;
    void ButtonDown(UINT flags, CPoint point, int kind, int mouseBit);
    void ButtonUp(int mouseBit);
    // A jog key (or a modifier re-keying the held button) for button
    // `index`; `vk` is the key whose release the waits watch.
    void JogKey(int index, UINT vk);
    void KeyDown(UINT nChar);
    void KeyUp(UINT nChar);
    void ClearHover();
    void ShowMovingCursor();
    LRESULT DialogCode(const MSG* msg) const;

    // [SECTION] Working picture and layout
    CBitmap m_dib;
    std::uint32_t* m_pBits{nullptr};
    int m_nWidth{0};
    int m_nHeight{0};
    std::uint32_t m_crKey{0};
    int m_nLayout{0};
    PosRects m_rects{};
    int m_nButtons{0};
    int m_nRects{0};

    // [SECTION] Operator state
    int m_nHover{-1};
    int m_nPressed{-1};
    bool m_bPressed{false};
    bool m_bXY{true};
    bool m_bA{true};
    bool m_bB{true};
    bool m_bRepeat{false};
    UINT_PTR m_nTimer{0};
    bool m_bCtrlJog{false};
    bool m_bShiftJog{false};
    bool m_bCaptured{false};
    CRect m_rcBounds;
    // Who started the running press; counts presses, so that a press that
    // an event handler ended meanwhile is not carried on.
    PressSource m_pressSource{PressSource::None};
    unsigned m_pressSerial{0};
    // Mouse buttons that went down on the pad and are not up yet (1 left,
    // 2 right), and whether their press was already ended with a StopPos.
    int m_mouseDown{0};
    bool m_stopSent{false};
};

// The Pos control's interfaces, for its factory and the type library.
const DispTable& PosDispatchTable();
const DispTable& PosEventTable();
