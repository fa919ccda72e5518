#include "spinedit/SpinEditPropPage3.h"

#include <cstdio>
#include <string>

using namespace kw::spinedit;

namespace {

enum : int {
    IDC_UNIT_LIST = 240,
    IDC_SPIN_DECIMALS = 250, // + j
    IDC_SPIN_UNIT_WIDTH = 269,
    IDC_NAME = 270,     // + j
    IDC_DECIMALS = 278, // + j
    IDC_UNIT_WIDTH = 294,
    IDC_UNIT = 301,      // + j
    IDC_ONLY_MM = 309,   // + j
    IDC_ONLY_INCH = 317, // + j
    IDC_ENABLE_UNITS = 325,
};

constexpr WORD kNoUnits = 0x0002;
constexpr int kFirstBit = 7;

char Letter(int j) {
    return char('h' + j);
}
WORD Bit(int j) {
    return WORD(1u << (kFirstBit + j));
}

} // namespace

CSpinEditPropPage3::CSpinEditPropPage3() : CSpinEditPage(53, 127) {}

BOOL CSpinEditPropPage3::OnInitDialog() {
    COlePropertyPage::OnInitDialog();
    for (int j = 0; j < kUnits; ++j)
        m_spins[std::size_t(j)].SetRange(0, 8);
    m_spins[kUnits].SetRange(10, 100);
    return FALSE;
}

BOOL CSpinEditPropPage3::OnCommand(WPARAM wParam, LPARAM lParam) {
    const BOOL handled = CSpinEditPage::OnCommand(wParam, lParam);
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && id >= IDC_UNIT && id < IDC_UNIT + kUnits)
        EnableUnits();
    return handled;
}

void CSpinEditPropPage3::EnableUnits() {
    for (int j = 0; j < kUnits; ++j) {
        const bool on = IsChecked(IDC_UNIT + j);
        for (int id : {IDC_NAME + j, IDC_DECIMALS + j, IDC_SPIN_DECIMALS + j, IDC_ONLY_MM + j,
                       IDC_ONLY_INCH + j})
            EnableItem(id, on);
    }
}

void CSpinEditPropPage3::DoDataExchange(CDataExchange* pDX) {
    for (int j = 0; j < kUnits; ++j)
        DDX_Control(pDX, IDC_SPIN_DECIMALS + j, m_spins[std::size_t(j)]);
    DDX_Control(pDX, IDC_SPIN_UNIT_WIDTH, m_spins[kUnits]);

    if (!pDX->m_bSaveAndValidate) {
        CString text;
        short units = 0, maskMM = 0, maskINCH = 0, flags = 0;
        GetPropText("UnitText", &text);
        GetPropText("Units", &units);
        GetPropText("UnitsMaskMM", &maskMM);
        GetPropText("UnitsMaskINCH", &maskINCH);
        GetPropText("Flags", &flags);
        const auto names = HostUnitNames(text.GetString());
        for (int j = 0; j < kUnits; ++j) {
            const auto n = std::size_t(j);
            m_enabled[n] = (WORD(units) & Bit(j)) ? BST_CHECKED : BST_UNCHECKED;
            m_onlyMM[n] = (WORD(maskMM) & Bit(j)) ? BST_CHECKED : BST_UNCHECKED;
            m_onlyINCH[n] = (WORD(maskINCH) & Bit(j)) ? BST_CHECKED : BST_UNCHECKED;
            m_decimals[n] = BYTE(UnitDecimals(text.GetString(), Letter(j)));
            m_names[n] = CString(names[n].c_str());
        }
        m_enableUnits = (WORD(flags) & kNoUnits) ? BST_UNCHECKED : BST_CHECKED;
        ShowDefaultUnit(IDC_UNIT_LIST);
    }
    for (int j = 0; j < kUnits; ++j) {
        const auto n = std::size_t(j);
        DDX_Check(pDX, IDC_UNIT + j, m_enabled[n]);
        DDX_Text(pDX, IDC_NAME + j, m_names[n]);
        // A name holding a delimiter would break the string into false entries.
        if (pDX->m_bSaveAndValidate && !pDX->Failed() && !IsValidUnitName(m_names[n].GetString()))
            pDX->Fail("Please enter a name without ':', ';' or '$'.");
        DDX_Text(pDX, IDC_DECIMALS + j, m_decimals[n]);
        // An entry holds one digit; more would spill into the next entry.
        DDV_MinMaxUInt(pDX, m_decimals[n], 0, 8);
        DDX_Check(pDX, IDC_ONLY_MM + j, m_onlyMM[n]);
        DDX_Check(pDX, IDC_ONLY_INCH + j, m_onlyINCH[n]);
    }
    DDX_Check(pDX, IDC_ENABLE_UNITS, m_enableUnits);
    DDP_Text(pDX, IDC_UNIT_WIDTH, m_unitWidth, "UnitWidth");
    DDX_Text(pDX, IDC_UNIT_WIDTH, m_unitWidth);
    DDV_MinMaxInt(pDX, m_unitWidth, 10, 100);
    DDP_PostProcessing(pDX);

    if (pDX->m_bSaveAndValidate && !pDX->Failed()) {
        auto packUnits = [this](const std::array<int, kUnits>& boxes, int firstId) {
            return [&boxes, firstId, this](IDispatch*, short word) {
                for (int j = 0; j < kUnits; ++j)
                    word = PackBox(word, firstId + j, boxes[std::size_t(j)], Bit(j));
                return word;
            };
        };
        UpdateEachShort(pDX, kDispUnits, packUnits(m_enabled, IDC_UNIT));
        UpdateEachShort(pDX, kDispUnitsMaskMM, packUnits(m_onlyMM, IDC_ONLY_MM));
        UpdateEachShort(pDX, kDispUnitsMaskINCH, packUnits(m_onlyINCH, IDC_ONLY_INCH));
        ApplyDefaultUnit(pDX, IDC_UNIT_LIST);
        UpdateEachShort(pDX, kDispFlags, [&](IDispatch*, short flags) {
            return PackBox(flags, IDC_ENABLE_UNITS, m_enableUnits, kNoUnits, true);
        });
        // The predefined units' decimals first, then one entry per named
        // host unit, enabled or not.
        UpdateEachText(pDX, kDispUnitText, true, [&](IDispatch*, const CString& old) {
            const std::string_view oldText = old.GetString();
            const auto oldNames = HostUnitNames(oldText);
            std::string text;
            for (char letter = 'a'; letter <= 'g'; ++letter)
                text += UnitEntry(oldText, letter);
            for (int j = 0; j < kUnits; ++j) {
                const auto n = std::size_t(j);
                const std::string name = IsControlChanged(IDC_NAME + j)
                                             ? std::string(m_names[n].GetString())
                                             : oldNames[n];
                if (name.empty())
                    continue;
                const int decimals = IsControlChanged(IDC_DECIMALS + j)
                                         ? m_decimals[n]
                                         : UnitDecimals(oldText, Letter(j));
                char entry[16];
                std::snprintf(entry, sizeof entry, ";%c$%d", Letter(j), decimals);
                text += std::to_string(j + 1) + ":" + name + entry;
            }
            return CString(text.c_str());
        });
    }
    if (m_hWnd)
        EnableUnits();
}
