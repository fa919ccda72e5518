#pragma once
// CAccelerationPropPage: the ramp parameters of the acceleration display,
// V(t) = Vstart + B * (1 - exp(-t * A/100%)), up to Vmax. Giving B a value
// puts the control into its exponential mode.
#include "platform/afx/OlePropertyPage.h"

class CAccelerationPropPage final : public COlePropertyPage {
public:
    CAccelerationPropPage();

    enum : UINT { IDD = 70, IDS_CAPTION = 133 };
    enum : int {
        IDC_SPIN_VSTART = 250,
        IDC_SPIN_A = 251,
        IDC_SPIN_B = 252,
        IDC_SPIN_VMAX = 253,
        IDC_VSTART = 270,
        IDC_A = 271,
        IDC_B = 272,
        IDC_VMAX = 273,
    };

    short m_Vstart{0};
    short m_A{0};
    short m_B{0};
    // The control's Vmax is a 32-bit value, which a host may set above what
    // 16 bits hold; the page shows it whole.
    long m_Vmax{0};

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
