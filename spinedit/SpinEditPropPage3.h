#pragma once
// CSpinEditPropPage3 ("Conf. Units"): the eight host-defined units (enabled,
// name, decimals, "only with" mm or inch), the default unit and the unit
// button's width.
#include "spinedit/SpinEditPage.h"

class CSpinEditPropPage3 final : public CSpinEditPage {
public:
    static constexpr int kUnits = 8;

    CSpinEditPropPage3();

    std::array<int, kUnits> m_enabled{};
    std::array<CString, kUnits> m_names;
    std::array<BYTE, kUnits> m_decimals{};
    std::array<int, kUnits> m_onlyMM{};
    std::array<int, kUnits> m_onlyINCH{};
    int m_enableUnits{0};
    short m_unitWidth{0};
    std::array<CSpinButtonCtrl, kUnits + 1> m_spins;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void EnableUnits();
};
