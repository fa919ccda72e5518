#pragma once
// CSpinEditPropPage2 ("Predef. Units"): the seven predefined units (enabled,
// decimals, "only with" mm or inch), the default unit, the unit and abs/rel
// buttons and their widths.
#include "spinedit/SpinEditPage.h"

class CSpinEditPropPage2 final : public CSpinEditPage {
public:
    static constexpr int kUnits = 7;

    CSpinEditPropPage2();

    std::array<int, kUnits> m_enabled{};
    std::array<BYTE, kUnits> m_decimals{};
    std::array<int, kUnits> m_onlyMM{};
    std::array<int, kUnits> m_onlyINCH{};
    int m_enableUnits{0};
    int m_absRel{0};
    int m_flatUnit{0};
    short m_unitWidth{0};
    short m_absWidth{0};
    std::array<CSpinButtonCtrl, kUnits + 2> m_spins;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void EnableUnits();
};
