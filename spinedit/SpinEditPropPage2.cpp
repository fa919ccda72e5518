#include "spinedit/SpinEditPropPage2.h"

#include <string>

using namespace kw::spinedit;

namespace {

enum : int {
    IDC_UNIT_LIST = 240,
    IDC_SPIN_DECIMALS = 250, // + i
    IDC_DECIMALS = 270,      // + i
    IDC_UNIT_WIDTH = 294,
    IDC_ABS_WIDTH = 295,
    IDC_UNIT = 301,      // + i
    IDC_ONLY_MM = 309,   // + i
    IDC_ONLY_INCH = 317, // + i
    IDC_ENABLE_UNITS = 325,
    IDC_ABS_REL = 326,
    IDC_FLAT_UNIT = 327,
    IDC_SPIN_UNIT_WIDTH = 405,
    IDC_SPIN_ABS_WIDTH = 406,
};

constexpr WORD kNoUnits = 0x0002, kAbsRel = 0x0080, kFlatUnit = 0x0200;

char Letter(int i) {
    return char('a' + i);
}

} // namespace

CSpinEditPropPage2::CSpinEditPropPage2() : CSpinEditPage(52, 121) {}

BOOL CSpinEditPropPage2::OnInitDialog() {
    COlePropertyPage::OnInitDialog();
    for (int i = 0; i < kUnits; ++i)
        m_spins[std::size_t(i)].SetRange(0, 8);
    m_spins[kUnits].SetRange(10, 100);
    m_spins[kUnits + 1].SetRange(10, 100);
    return FALSE;
}

BOOL CSpinEditPropPage2::OnCommand(WPARAM wParam, LPARAM lParam) {
    const BOOL handled = CSpinEditPage::OnCommand(wParam, lParam);
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && id >= IDC_UNIT && id < IDC_UNIT + kUnits)
        EnableUnits();
    return handled;
}

void CSpinEditPropPage2::EnableUnits() {
    for (int i = 0; i < kUnits; ++i) {
        const bool on = IsChecked(IDC_UNIT + i);
        for (int id : {IDC_DECIMALS + i, IDC_SPIN_DECIMALS + i, IDC_ONLY_MM + i, IDC_ONLY_INCH + i})
            EnableItem(id, on);
    }
}

void CSpinEditPropPage2::DoDataExchange(CDataExchange* pDX) {
    for (int i = 0; i < kUnits; ++i)
        DDX_Control(pDX, IDC_SPIN_DECIMALS + i, m_spins[std::size_t(i)]);
    DDX_Control(pDX, IDC_SPIN_UNIT_WIDTH, m_spins[kUnits]);
    DDX_Control(pDX, IDC_SPIN_ABS_WIDTH, m_spins[kUnits + 1]);

    if (!pDX->m_bSaveAndValidate) {
        CString text;
        short units = 0, maskMM = 0, maskINCH = 0, flags = 0;
        GetPropText("UnitText", &text);
        GetPropText("Units", &units);
        GetPropText("UnitsMaskMM", &maskMM);
        GetPropText("UnitsMaskINCH", &maskINCH);
        GetPropText("Flags", &flags);
        auto box = [](short word, int bit) { return (WORD(word) >> bit) & 1 ? BST_CHECKED : 0; };
        for (int i = 0; i < kUnits; ++i) {
            const auto n = std::size_t(i);
            m_enabled[n] = box(units, i);
            m_onlyMM[n] = box(maskMM, i);
            m_onlyINCH[n] = box(maskINCH, i);
            m_decimals[n] = BYTE(UnitDecimals(text.GetString(), Letter(i)));
        }
        m_enableUnits = (WORD(flags) & kNoUnits) ? BST_UNCHECKED : BST_CHECKED;
        m_absRel = (WORD(flags) & kAbsRel) ? BST_CHECKED : BST_UNCHECKED;
        m_flatUnit = (WORD(flags) & kFlatUnit) ? BST_CHECKED : BST_UNCHECKED;
        ShowDefaultUnit(IDC_UNIT_LIST);
    }
    for (int i = 0; i < kUnits; ++i) {
        const auto n = std::size_t(i);
        DDX_Check(pDX, IDC_UNIT + i, m_enabled[n]);
        DDX_Text(pDX, IDC_DECIMALS + i, m_decimals[n]);
        // An entry holds one digit; more would spill into the next entry.
        DDV_MinMaxUInt(pDX, m_decimals[n], 0, 8);
        DDX_Check(pDX, IDC_ONLY_MM + i, m_onlyMM[n]);
        DDX_Check(pDX, IDC_ONLY_INCH + i, m_onlyINCH[n]);
    }
    DDX_Check(pDX, IDC_ENABLE_UNITS, m_enableUnits);
    DDP_Text(pDX, IDC_UNIT_WIDTH, m_unitWidth, "UnitWidth");
    DDX_Text(pDX, IDC_UNIT_WIDTH, m_unitWidth);
    DDV_MinMaxInt(pDX, m_unitWidth, 10, 100);
    DDX_Check(pDX, IDC_ABS_REL, m_absRel);
    DDX_Check(pDX, IDC_FLAT_UNIT, m_flatUnit);
    DDP_Text(pDX, IDC_ABS_WIDTH, m_absWidth, "AbsWidth");
    DDX_Text(pDX, IDC_ABS_WIDTH, m_absWidth);
    DDV_MinMaxInt(pDX, m_absWidth, 10, 100);
    DDP_PostProcessing(pDX);

    if (pDX->m_bSaveAndValidate && !pDX->Failed()) {
        auto packUnits = [&](const std::array<int, kUnits>& boxes, int firstId) {
            return [&boxes, firstId, this](IDispatch*, short word) {
                for (int i = 0; i < kUnits; ++i)
                    word = PackBox(word, firstId + i, boxes[std::size_t(i)], WORD(1u << i));
                return word;
            };
        };
        UpdateEachShort(pDX, kDispUnits, packUnits(m_enabled, IDC_UNIT));
        UpdateEachShort(pDX, kDispUnitsMaskMM, packUnits(m_onlyMM, IDC_ONLY_MM));
        UpdateEachShort(pDX, kDispUnitsMaskINCH, packUnits(m_onlyINCH, IDC_ONLY_INCH));
        ApplyDefaultUnit(pDX, IDC_UNIT_LIST);
        UpdateEachShort(pDX, kDispFlags, [&](IDispatch*, short flags) {
            flags = PackBox(flags, IDC_ENABLE_UNITS, m_enableUnits, kNoUnits, true);
            flags = PackBox(flags, IDC_ABS_REL, m_absRel, kAbsRel);
            return PackBox(flags, IDC_FLAT_UNIT, m_flatUnit, kFlatUnit);
        });
        // The decimals entries of the enabled units follow everything else.
        UpdateEachText(pDX, kDispUnitText, true, [&](IDispatch* object, const CString& old) {
            const short units = ReadShort(object, kDispUnits);
            std::string text = old.GetString();
            for (int i = 0; i < kUnits; ++i)
                RemoveUnitEntry(text, Letter(i));
            for (int i = 0; i < kUnits; ++i) {
                const auto n = std::size_t(i);
                if (!BitFromBox(IDC_UNIT + i, m_enabled[n], units, WORD(1u << i)))
                    continue;
                const int decimals = IsControlChanged(IDC_DECIMALS + i)
                                         ? m_decimals[n]
                                         : UnitDecimals(old.GetString(), Letter(i));
                text += Letter(i);
                text += '$';
                text += char('0' + decimals);
            }
            return CString(text.c_str());
        });
    }
    if (m_hWnd)
        EnableUnits();
}
