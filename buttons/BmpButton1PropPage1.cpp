// CBmpButton1PropPage1: texts, focus mode and two bits of Flags.
#include "buttons/BmpButton1PropPage1.h"

#include "buttons/PageObjectProperties.h"
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
        m_flat = (flags & kFlatBit) ? BST_CHECKED : BST_UNCHECKED;
        m_transparent = (flags & kTransparentBit) ? BST_CHECKED : BST_UNCHECKED;
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
    short owned = 0;
    short set = 0;
    if (IsControlChanged(IDC_FLAT)) {
        owned |= kFlatBit;
        if (m_flat == BST_CHECKED)
            set |= kFlatBit;
    }
    if (IsControlChanged(IDC_TRANSPARENT)) {
        owned |= kTransparentBit;
        if (m_transparent == BST_CHECKED)
            set |= kTransparentBit;
    }
    if (!owned)
        return;
    ULONG count = 0;
    IDispatch** objects = GetObjectArray(&count);
    for (ULONG i = 0; i < count; ++i) {
        IDispatch* object = objects[i];
        pDX->Defer([object, owned, set] {
            const auto flags = kw::pages::GetObjectProperty<short>(object, "Flags", VT_I2);
            if (!flags)
                return;
            const short packed = short((*flags & ~owned) | set);
            if (packed != *flags)
                kw::pages::SetObjectProperty(object, "Flags", VT_I2, packed);
        });
    }
}
