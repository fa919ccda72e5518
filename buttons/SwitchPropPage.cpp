#include "buttons/SwitchPropPage.h"

#include "buttons/PackedWordExchange.h"
#include "buttons/PictureSwitch.h"

CSwitchPropPage::CSwitchPropPage() : COlePropertyPage(IDD, IDS_CAPTION) {}

void CSwitchPropPage::DoDataExchange(CDataExchange* pDX) {
    if (!pDX->m_bSaveAndValidate) {
        SHORT mode = 0;
        if (GetPropText("Mode", &mode)) {
            m_toggle = BitCheck(mode, kSwitchLeftToggles);
            m_state = (mode & kSwitchChecked) ? 1 : 0;
        }
    }
    DDX_Check(pDX, IDC_TOGGLE, m_toggle);
    DDX_Radio(pDX, IDC_OFF, m_state);
    if (!pDX->m_bSaveAndValidate)
        return;
    // The right-click bits belong to the switch's clicks and stay.
    SHORT mask = 0;
    SHORT bits = 0;
    if (IsControlChanged(IDC_TOGGLE) && m_toggle != BST_INDETERMINATE) {
        mask |= kSwitchLeftToggles;
        bits |= CheckBit(m_toggle, kSwitchLeftToggles);
    }
    if (IsGroupChanged(IDC_OFF) && m_state >= 0) {
        mask |= kSwitchChecked;
        bits |= m_state == 1 ? kSwitchChecked : SHORT(0);
    }
    ApplyPackedBits(this, pDX, "Mode", mask, bits);
}
