#pragma once
// CSpinEditPropPage1 ("Typ & Label"): type, label, limits, step, decimals,
// widths and nine switches of Flags.
#include "spinedit/SpinEditPage.h"

class CSpinEditPropPage1 final : public CSpinEditPage {
public:
    CSpinEditPropPage1();

    CString m_label;
    float m_lowLimit{0};
    float m_highLimit{0};
    float m_stepVal{0};
    int m_typ{-1};
    UINT m_pointPos{0};
    short m_labelWidth{0};
    short m_spinWidth{0};
    // The Flags switches, one check box each, in the order of kSwitches.
    std::array<int, 9> m_switches{};
    std::array<CSpinButtonCtrl, 3> m_spins;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
