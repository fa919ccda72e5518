#include "buttons/SwitchPropPage.h"

#include "buttons/PictureSwitch.h"
#include "platform/afx/OwnedBits.h"

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
    COwnedBits bits;
    bits.SetFromCheck(IsControlChanged(IDC_TOGGLE), m_toggle, kSwitchLeftToggles);
    if (IsGroupChanged(IDC_OFF) && m_state >= 0)
        bits.Set(kSwitchChecked, m_state == 1);
    WriteOwnedBits(*this, pDX, "Mode", bits);
}
