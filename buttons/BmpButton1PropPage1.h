#pragma once
// CBmpButton1PropPage1: the picture button's texts, its focus mode and the
// flat and transparent-bitmap bits of its Flags word.
#include "platform/afx/OlePropertyPage.h"
#include "platform/user/SystemControls.h"

class CBmpButton1PropPage1 final : public COlePropertyPage {
public:
    enum : UINT { IDD = 55, IDS_CAPTION = 122 };
    enum : int {
        IDC_HOOVERTEXT = 204,
        IDC_PUSHTEXT = 205,
        IDC_SHOWFOCUS = 209,
        IDC_STATICTEXT = 213,
        IDC_FLAT = 301,
        IDC_TRANSPARENT = 302,
    };
    // The bits of Flags this page owns; the alignment and every other bit
    // belong to others.
    static constexpr short kFlatBit = 0x10;
    static constexpr short kTransparentBit = 0x20;

    CBmpButton1PropPage1();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    void ApplyFlags(CDataExchange* pDX);

    CString m_staticText;
    CString m_hooverText;
    CString m_pushText;
    int m_showFocus{0};
    int m_flat{BST_UNCHECKED};
    int m_transparent{BST_UNCHECKED};
};
