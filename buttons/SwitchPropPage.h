#pragma once
// CSwitchPropPage: the Switch's state word as the designer sets it: whether
// a left click toggles it, and whether it is on.
#include "platform/afx/OlePropertyPage.h"
#include "platform/user/SystemControls.h"

class CSwitchPropPage final : public COlePropertyPage {
public:
    CSwitchPropPage();

    static constexpr UINT IDD = 73;
    static constexpr UINT IDS_CAPTION = 191;
    static constexpr int IDC_TOGGLE = 301;
    static constexpr int IDC_OFF = 230; // the group: Off, On
    static constexpr int IDC_ON = 231;

    int m_toggle{BST_UNCHECKED};
    int m_state{0}; // 0 Off, 1 On

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
