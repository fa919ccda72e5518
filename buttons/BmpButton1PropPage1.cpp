// CBmpButton1PropPage1: texts, focus mode and two bits of Flags.
#include "buttons/BmpButton1PropPage1.h"

#include "platform/afx/OwnedBits.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

namespace {

// The show-focus values, in the order of their codes.
constexpr const char* kShowFocusNames[] = {"0 - None", "1 - Draw FocusRect", "2 - Set Hoover",
                                           "3 - Both"};

} // namespace

CBmpButton1PropPage1::CBmpButton1PropPage1() : COlePropertyPage(IDD, IDS_CAPTION) {}

BOOL CBmpButton1PropPage1::OnInitDialog() {
    // The list is filled before the framework shows the values in it.
    const HWND list = GetDlgItem(IDC_SHOWFOCUS);
    for (const char* name : kShowFocusNames)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    return COlePropertyPage::OnInitDialog();
}

void CBmpButton1PropPage1::DoDataExchange(CDataExchange* pDX) {
    DDP_Text(pDX, IDC_STATICTEXT, m_staticText, "StaticText");
    DDX_Text(pDX, IDC_STATICTEXT, m_staticText);
    DDP_Text(pDX, IDC_HOOVERTEXT, m_hooverText, "HooverText");
    DDX_Text(pDX, IDC_HOOVERTEXT, m_hooverText);
    DDP_Text(pDX, IDC_PUSHTEXT, m_pushText, "PushText");
    DDX_Text(pDX, IDC_PUSHTEXT, m_pushText);
    DDP_Text(pDX, IDC_SHOWFOCUS, m_showFocus, "ShowFocus");
    DDX_CBIndex(pDX, IDC_SHOWFOCUS, m_showFocus);

    if (!pDX->m_bSaveAndValidate) {
        short flags = 0;
        GetPropText("Flags", &flags);
        m_flat = BitCheck(flags, kFlatBit);
        m_transparent = BitCheck(flags, kTransparentBit);
    }
    DDX_Check(pDX, IDC_FLAT, m_flat);
    DDX_Check(pDX, IDC_TRANSPARENT, m_transparent);
    DDP_PostProcessing(pDX);

    if (pDX->m_bSaveAndValidate && !pDX->Failed())
        ApplyFlags(pDX);
}

// Each button keeps its own Flags word: its alignment and other bits, and
// the bits of a box the user left alone, are its own. Only the bits of the
// boxes the user changed are set or cleared, and a word is written only
// when that changed it.
void CBmpButton1PropPage1::ApplyFlags(CDataExchange* pDX) {
    COwnedBits bits;
    bits.SetFromCheck(IsControlChanged(IDC_FLAT), m_flat, kFlatBit);
    bits.SetFromCheck(IsControlChanged(IDC_TRANSPARENT), m_transparent, kTransparentBit);
    WriteOwnedBits(*this, pDX, "Flags", bits);
}
