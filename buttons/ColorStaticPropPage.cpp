#include "buttons/ColorStaticPropPage.h"

#include "buttons/PackedWordExchange.h"

CColorStaticPropPage::CColorStaticPropPage() : COlePropertyPage(IDD, IDS_CAPTION) {}

void CColorStaticPropPage::DoDataExchange(CDataExchange* pDX) {
    if (!pDX->m_bSaveAndValidate) {
        SHORT flags = 0;
        if (GetPropText("Flags", &flags))
            m_transparent = BitCheck(flags, kTransparentBk);
    }
    DDX_Check(pDX, IDC_TRANSPARENT, m_transparent);
    if (pDX->m_bSaveAndValidate && IsControlChanged(IDC_TRANSPARENT) &&
        m_transparent != BST_INDETERMINATE)
        ApplyPackedBits(this, pDX, "Flags", kTransparentBk,
                        CheckBit(m_transparent, kTransparentBk));
}
