#include "machine/PosPropPage.h"

#include "platform/afx/OwnedBits.h"
#include "machine/PosLayout.h"

CPosPropPage::CPosPropPage() : COlePropertyPage(IDD, IDS_CAPTION) {}

void CPosPropPage::DoDataExchange(CDataExchange* pDX) {
    if (!pDX->m_bSaveAndValidate) {
        short mode = 0;
        // The values that name no layout show the pad's first, as the pad does.
        if (GetPropText("Mode", &mode))
            m_nLayout = PosLayoutOf(mode);
    }
    DDX_Radio(pDX, IDC_XYZ, m_nLayout);
    DDX_Check(pDX, IDC_TOGGLEONCLICK, m_bToggleOnClick);

    // The chosen layout replaces the whole Mode, on the objects where that
    // changes it: setting Mode rebuilds the pad and lights its lamps anew.
    if (pDX->m_bSaveAndValidate && IsGroupChanged(IDC_XYZ) && m_nLayout >= 0) {
        COwnedBits bits;
        bits.Assign(0xFFFF, unsigned(m_nLayout));
        WriteOwnedBits(*this, pDX, "Mode", bits);
    }
}
