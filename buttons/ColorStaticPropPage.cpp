#include "buttons/ColorStaticPropPage.h"

#include "platform/afx/OwnedBits.h"

CColorStaticPropPage::CColorStaticPropPage() : COlePropertyPage(IDD, IDS_CAPTION) {}

void CColorStaticPropPage::DoDataExchange(CDataExchange* pDX) {
    if (!pDX->m_bSaveAndValidate) {
        SHORT flags = 0;
        if (GetPropText("Flags", &flags))
            m_transparent = BitCheck(flags, kTransparentBk);
    }
    DDX_Check(pDX, IDC_TRANSPARENT, m_transparent);
    if (pDX->m_bSaveAndValidate) {
        COwnedBits bits;
        bits.SetFromCheck(IsControlChanged(IDC_TRANSPARENT), m_transparent, kTransparentBk);
        WriteOwnedBits(*this, pDX, "Flags", bits);
    }
}
