#pragma once
// CCurvePropPage: the curve editor's axis captions, its number of points
// and its two lock bits.
#include "platform/afx/OlePropertyPage.h"
#include "platform/user/SystemControls.h"

class CCurvePropPage final : public COlePropertyPage {
public:
    CCurvePropPage();

    enum : UINT { IDD = 79, IDS_CAPTION = 208 };
    enum : int {
        IDC_SPIN_POINTS = 250,
        IDC_XAXIS = 270,
        IDC_YAXIS = 271,
        IDC_POINTS = 272,
        IDC_XLOCK = 301,
        IDC_YLOCK = 302,
    };

    CString m_strXaxis;
    CString m_strYaxis;
    short m_nPoints{0};
    int m_bXLock{BST_UNCHECKED};
    int m_bYLock{BST_UNCHECKED};

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
