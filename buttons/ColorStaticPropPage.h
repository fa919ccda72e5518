#pragma once
// CColorStaticPropPage: the label's page. Its one bound item is the
// transparent-background bit of Flags; the label reads that bit when it is
// next loaded. The alignment group is part of the dialog but bound to
// nothing, and shown disabled.
#include "platform/afx/OlePropertyPage.h"
#include "platform/user/SystemControls.h"

class CColorStaticPropPage final : public COlePropertyPage {
public:
    CColorStaticPropPage();

    static constexpr UINT IDD = 74;
    static constexpr UINT IDS_CAPTION = 192;
    static constexpr int IDC_TRANSPARENT = 301;
    static constexpr int IDC_ALIGN_LEFT = 230;
    static constexpr int IDC_ALIGN_CENTER = 231;
    static constexpr int IDC_ALIGN_RIGHT = 232;

    static constexpr SHORT kTransparentBk = 0x0001;

    int m_transparent{BST_UNCHECKED};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
