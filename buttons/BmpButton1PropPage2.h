#pragma once
// CBmpButton1PropPage2: the picture button's alignment, spacing and hover.
#include "platform/afx/OlePropertyPage.h"
#include "platform/user/SystemControls.h"

class CBmpButton1PropPage2 final : public COlePropertyPage {
public:
    enum : UINT { IDD = 56, IDS_CAPTION = 123 };
    enum : int {
        IDC_ALIGN = 208,
        IDC_HOOVER = 211,
        IDC_SPACING = 212,
        IDC_SPACING_SPIN = 251,
    };
    // The gap between picture and text the page accepts, in pixels.
    static constexpr int kMinSpacing = 0;
    static constexpr int kMaxSpacing = 20;

    CBmpButton1PropPage2();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    int m_align{0};
    short m_spacing{0};
    int m_hoover{BST_CHECKED};
};
