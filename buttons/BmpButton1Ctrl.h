#pragma once
// CBmpButton1Ctrl: a push button with a picture and a text that change with
// its state: at rest, under the mouse (hover) and pressed. It can repeat its
// Click while held. Its window is a system "BUTTON" in owner-drawn mode, so
// pressing, focus and the click notification come from the system button;
// the control draws every state itself, through an off-screen bitmap.
//
// Its sections live by concern: BmpButton1Ctrl.cpp (interfaces, properties,
// persistence), BmpButton1Input.cpp (mouse, hover, focus, auto-repeat,
// verbs), BmpButton1Paint.cpp (drawing) and BmpButton1Layout.cpp (where the
// picture and the text go).
#include "buttons/BmpButton1Layout.h"
#include "platform/afx/OleControl.h"
#include "platform/afx/PictureHolder.h"

class CBmpButton1Ctrl : public COleControl {
public:
    CBmpButton1Ctrl();
    ~CBmpButton1Ctrl() override;

    // [SECTION] Dispatch members
    void OnChanged(); // the common change handler: redraw, mark modified
    SHORT GetAlign() { return SHORT(m_align & 0x0F); }
    void SetAlign(SHORT align);
    SHORT GetFlags() { return SHORT(m_align); }
    void SetFlags(SHORT flags);
    SHORT GetSpacingValue() { return m_spacing; }
    void SetSpacing(SHORT spacing);
    BOOL GetEnableHoover() { return m_enableHoover; }
    void SetEnableHoover(BOOL enable);
    SHORT GetShowFocus() { return m_showFocus; }
    void SetShowFocus(SHORT showFocus);
    BOOL GetEnableAutorepeat() { return m_enableAutorepeat; }
    void SetEnableAutorepeat(BOOL enable);
    OLE_COLOR GetStaticColor() { return m_staticColor; }
    void SetStaticColor(OLE_COLOR color);
    // Pictures and fonts go through rows of their own (see the .cpp).
    void OnPictureChanged();
    void OnFontPropertyChanged(CFontHolder& font, IDispatch* newFont);

    // [SECTION] State a host or a test may look at
    bool IsHovered() const { return m_hover != FALSE; }
    bool RepeatTimerRunning() const { return m_repeatTimer != 0; }
    bool IsFlat() const { return m_flat != FALSE; }
    bool IsTransparentBitmap() const { return m_transparentBitmap != FALSE; }
    COLORREF RestBackground() const { return m_restBack; }
    COLORREF ActiveBackground() const { return m_activeBack; }
    // The rectangles the last drawing used (empty when nothing was placed).
    const BmpButtonLayout& LastLayout() const { return m_lastLayout; }

    // Persistent and run-time fields, in the order of the data model.
    CPictureHolder m_staticPic;
    CPictureHolder m_hooverPic;
    CFontHolder m_staticFont;
    CFontHolder m_hooverFont;
    WORD m_align{0}; // bits 0-3 alignment, bit 4 flat, bit 5 transparent bitmap
    SHORT m_spacing{0};
    SHORT m_showFocus{1}; // bit 0 focus rectangle, bit 1 focus lights the button
    BOOL m_enableHoover{TRUE};
    CString m_staticText;
    CString m_hooverText;
    CString m_pushText;
    OLE_COLOR m_hooverColor{0};
    OLE_COLOR m_pushColor{0};
    OLE_COLOR m_staticColor{0};
    BOOL m_enableAutorepeat{FALSE};

    static constexpr UINT_PTR kRepeatTimer = 1;
    static constexpr UINT kRepeatFirst = 500;
    static constexpr UINT kRepeatNext = 200;
    static constexpr WORD kFlatBit = 0x10;
    static constexpr WORD kTransparentBit = 0x20;

    // The default font of both states: "MS Shell Dlg" 12 pt bold.
    static FONTDESC DefaultFont();

    // [SECTION] IOleObject
    STDMETHOD(DoVerb)(LONG iVerb, HWND hwndParent, const RECT* lprcPosRect) override;

protected:
    // For a control built on this one with interfaces of its own.
    explicit CBmpButton1Ctrl(const COleControlClass& cls);

    // What the button's click runs (the system button's BN_CLICKED, unless
    // auto-repeat already fired in this press, and every auto-repeat tick).
    virtual void OnButtonClick();

    // Back to the start values of the data model (colours from the system
    // colours of this moment).
    void InitialiseFields();
    // Loading and saving the properties both controls share.
    void ExchangeButtonProps(CPropExchange* pPX);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnKillFocus(CWnd* newWnd) override;
    void OnEnable(BOOL enable) override;
    void OnCaptureChanged(CWnd* wnd) override;
    void OnCancelMode() override;
    void OnTimer(UINT_PTR id) override;
    void OnClick(USHORT button) override;
    LRESULT OnOcmCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnOcmDrawItem(WPARAM wParam, LPARAM lParam) override;

private:
    // [SECTION] Input helpers
    void OnActivate(UINT state);
    void LeaveHover();
    void StartRepeat(UINT period);
    // Ends an auto-repeat and the pushed look of a press that is over.
    void StopRepeat();
    void EndPress();

    // [SECTION] Drawing
    void DrawButton(CDC* dc, const CRect& item, UINT itemState);
    void DrawFace(CDC* dc, const CRect& item);
    void DrawPicture(CDC* dc, CPictureHolder& picture, CRect rc);
    void DrawKeyedBitmap(CDC* dc, HBITMAP bitmap, const CRect& rc);
    void DrawLabel(CDC* dc, const CString& text, CRect rc);
    void DropOffscreen();
    // The transparency key: the bitmap's bottom-left pixel.
    void ReadTransparencyKey();

    COLORREF m_activeBack{0};
    COLORREF m_restBack{0};
    COLORREF m_restText{0};
    BOOL m_hover{FALSE};
    BOOL m_pressed{FALSE};
    BOOL m_focused{FALSE};
    BOOL m_disabled{FALSE};
    BOOL m_flat{FALSE};
    BOOL m_transparentBitmap{FALSE};
    UINT_PTR m_repeatTimer{0};
    BYTE m_repeatFired{0};
    CBitmap m_offscreen;
    CSize m_offscreenSize{0, 0};
    BmpButtonLayout m_lastLayout;
};

// The picture rows hand out and take picture objects (a null one empties
// the picture).
HRESULT BmpButtonPictureGet(CPictureHolder& holder, VARIANT* result);
HRESULT BmpButtonPicturePut(CPictureHolder& holder, const VARIANT& value);

// The BmpButton1's interfaces, for its factory and the type library.
const DispTable& BmpButton1DispatchTable();
const DispTable& BmpButton1EventTable();
