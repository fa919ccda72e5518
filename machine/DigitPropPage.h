#pragma once
// CDigitPropPage: the read-out's format, its number of cells, and the bits
// of its Flags: zero padding, the glyph size, the uninitialized and the
// error state.
#include "platform/afx/OlePropertyPage.h"
#include "platform/user/SystemControls.h"

class CDigitPropPage final : public COlePropertyPage {
public:
    CDigitPropPage();

    enum : UINT { IDD = 75, IDS_CAPTION = 193 };
    enum : int {
        IDC_BIG = 230,
        IDC_MEDIUM = 231,
        IDC_SMALL = 232,
        IDC_SPIN_MAXSIZE = 250,
        IDC_MAXSIZE = 270,
        IDC_FORMAT = 271,
        IDC_ZEROPADDING = 301,
        IDC_UNINITIALIZED = 302,
        IDC_ERROR = 303,
    };
    // The size radio buttons, in their order.
    enum : int { kSizeBig = 0, kSizeMedium = 1, kSizeSmall = 2 };

    CString m_strFormat;
    short m_nMaxSize{0};
    int m_bZeroPadding{BST_UNCHECKED};
    int m_bUninitialized{BST_UNCHECKED};
    int m_bError{BST_UNCHECKED};
    int m_nSize{kSizeMedium};

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
