#pragma once
// CPosPropPage: the jog pad's layout, one radio button per layout.
#include "platform/afx/OlePropertyPage.h"
#include "platform/user/SystemControls.h"

class CPosPropPage final : public COlePropertyPage {
public:
    CPosPropPage();

    enum : UINT { IDD = 77, IDS_CAPTION = 194 };
    enum : int {
        IDC_XYZ = 230, // the first of the five layouts' radio buttons
        IDC_ROTATION = 231,
        IDC_AB = 232,
        IDC_XY = 233,
        IDC_Z = 234,
        IDC_TOGGLEONCLICK = 301,
    };

    int m_nLayout{0};
    // Kept in the page only: the pad has no such property.
    int m_bToggleOnClick{BST_UNCHECKED};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
