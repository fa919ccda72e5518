#pragma once
// CPictureSwitch: what the Switch and the Polarity control share. Both are
// two-state switches shown as one picture of an image strip, with one state
// word (Mode), one click rule and one way of drawing: the container's
// background under the control is saved at the first full repaint and put
// back before every picture. Both windows are owner-drawn system "BUTTON"s
// that paint in OnDraw.
#include "platform/afx/OleControl.h"

// The bits of the state word.
inline constexpr SHORT kSwitchChecked = 0x01;     // on
inline constexpr SHORT kSwitchLeftToggles = 0x02; // a left click toggles the check
inline constexpr SHORT kSwitchSpecial = 0x04;     // toggled by right clicks; picture 3
inline constexpr SHORT kSwitchRightLast = 0x08;   // the last click was a right click
inline constexpr SHORT kSwitchNarrow = 0x10;      // Polarity: the narrow strip

// The state word after a click with `button` (LEFT_BUTTON, RIGHT_BUTTON,
// MIDDLE_BUTTON); `redraw` tells whether the picture may have changed.
SHORT SwitchClicked(SHORT mode, USHORT button, bool* redraw = nullptr);
// The picture of a state word: 3 for the special state, else the check;
// 2 when disabled.
int SwitchPicture(SHORT mode, bool disabled);

class CPictureSwitch : public COleControl {
public:
    // [SECTION] Dispatch members
    void OnChanged(); // the common change handler: redraw, mark modified
    SHORT GetCheck();
    void SetCheck(SHORT sel);

    // Persistent: the state word.
    SHORT m_mode{0};

    // The picture drawn now: its index, or -1 when the strip in use has no
    // such cell (the two-cell Polarity strips) and only the saved
    // background shows.
    int PictureIndex();
    bool HasSavedBackground() const { return m_savedBk.GetSafeHandle() != nullptr; }

protected:
    explicit CPictureSwitch(const COleControlClass& cls);
    ~CPictureSwitch() override;

    // The strip in use and its cell size.
    virtual CImageList& Images() = 0;
    virtual CSize CellSize() const = 0;
    // The size of image 0 of a list, or `fallback` when the list is empty.
    static CSize CellOf(const CImageList& list, CSize fallback);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnDestroy() override;
    void OnEnable(BOOL enable) override;
    void OnKillFocus(CWnd* newWnd) override;
    void OnClick(USHORT button) override;

private:
    // The container's pixels under the control, taken at the first full
    // repaint; dropped when the control's size changes.
    CBitmap m_savedBk;
    CSize m_savedSize;
};
