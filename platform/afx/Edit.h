#pragma once
// CEdit: the framework's object for a window of the system class "EDIT".
//
// Create makes the window with the object receiving its messages from the
// first one on; a class derived from CEdit overrides the handlers it needs
// (OnKeyDown, OnKillFocus, OnGetDlgCode, PreTranslateMessage...) and reaches
// the edit's own behaviour with Default() or the base class's handler.
#include "platform/afx/CString.h"
#include "platform/afx/Wnd.h"

class CEdit : public CWnd {
public:
    // `style` takes the ES_ styles beside the window styles; the window has
    // no text until SetWindowText.
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // The selection from `start` to `end` (the caret's end); (0, -1) selects
    // everything, a start of -1 removes the selection. Unless `noScroll`, the
    // caret is scrolled into view.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    // MAKELONG(start, end), as EM_GETSEL answers it.
    void SetSel(DWORD selection, BOOL noScroll = FALSE);
    DWORD GetSel() const;
    // The selection in order: start <= end.
    void GetSel(int& start, int& end) const;
    void ReplaceSel(LPCSTR newText, BOOL canUndo = FALSE);
    // The most characters the user may type; 0 lifts the limit.
    void LimitText(int maxChars = 0);
    void SetLimitText(UINT maxChars) { LimitText(int(maxChars)); }
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    // The caret position nearest to a client point.
    int CharFromPos(CPoint point) const;
    // The top-left corner of a character; (-1, -1) past the last one.
    CPoint PosFromChar(UINT index) const;

    // The edit's text. CWnd has no such helper here; an edit is what is most
    // often read.
    void GetWindowText(CString& text) const;
};
