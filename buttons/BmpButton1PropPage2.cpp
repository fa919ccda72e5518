// CBmpButton1PropPage2: alignment, spacing and hover.
#include "buttons/BmpButton1PropPage2.h"

#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

namespace {

// The alignment codes, in the order of their values.
constexpr const char* kAlignNames[] = {"0 - Left",       "1 - Center", "2 - Right",
                                       "3 - Top",        "4 - Bottom", "5 - Pic+Text Center",
                                       "6 - Text Center"};

} // namespace

CBmpButton1PropPage2::CBmpButton1PropPage2() : COlePropertyPage(IDD, IDS_CAPTION) {}

BOOL CBmpButton1PropPage2::OnInitDialog() {
    const HWND list = GetDlgItem(IDC_ALIGN);
    for (const char* name : kAlignNames)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    // The arrows step through the values the page accepts, up for more;
    // the up-down's own range would run the wrong way, on to 100.
    SendMessageA(GetDlgItem(IDC_SPACING_SPIN), UDM_SETRANGE, 0,
                 MAKELONG(WORD(kMaxSpacing), WORD(kMinSpacing)));
    return COlePropertyPage::OnInitDialog();
}

void CBmpButton1PropPage2::DoDataExchange(CDataExchange* pDX) {
    DDP_Text(pDX, IDC_ALIGN, m_align, "Align");
    DDX_CBIndex(pDX, IDC_ALIGN, m_align);
    DDP_Text(pDX, IDC_SPACING, m_spacing, "Spacing");
    DDX_Text(pDX, IDC_SPACING, m_spacing);
    // A spacing a host set outside the range stays until the user edits
    // it; it does not stop the other items from being applied.
    if (IsControlChanged(IDC_SPACING))
        DDV_MinMaxInt(pDX, m_spacing, kMinSpacing, kMaxSpacing);
    DDP_Check(pDX, IDC_HOOVER, m_hoover, "EnableHoover");
    DDX_Check(pDX, IDC_HOOVER, m_hoover);
    DDP_PostProcessing(pDX);
}
