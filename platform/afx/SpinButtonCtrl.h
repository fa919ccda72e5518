#pragma once
// CSpinButtonCtrl: the framework's object for an up-down control
// ("msctls_updown32"), usually bound to a dialog item with DDX_Control.
#include "platform/afx/Wnd.h"

class CSpinButtonCtrl : public CWnd {
public:
    // `style` takes the UDS_ styles beside the window styles.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // The up arrow steps toward `upper`.
    void SetRange(short lower, short upper);
    void SetRange32(int lower, int upper);
    void GetRange32(int& lower, int& upper) const;
    // Returns the previous position.
    int SetPos(int pos);
    // The position; with UDS_SETBUDDYINT the buddy's number when it is one.
    int GetPos() const;
    CWnd* SetBuddy(CWnd* buddy);
    CWnd* GetBuddy() const;
};
