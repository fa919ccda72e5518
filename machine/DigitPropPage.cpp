#include "machine/DigitPropPage.h"

#include "machine/DigitFormat.h"
#include "platform/afx/OwnedBits.h"
#include "machine/PageRanges.h"

namespace {

// The spin buttons' range only: any number of cells is the host's to set,
// and the read-out draws as many as it is given.
constexpr PageRange kMaxSizeSpin{0, 10};

int Checked(bool on) {
    return on ? BST_CHECKED : BST_UNCHECKED;
}

} // namespace

CDigitPropPage::CDigitPropPage() : COlePropertyPage(IDD, IDS_CAPTION) {}

BOOL CDigitPropPage::OnInitDialog() {
    COlePropertyPage::OnInitDialog();
    SetSpinRange(*this, IDC_SPIN_MAXSIZE, kMaxSizeSpin);
    return FALSE;
}

void CDigitPropPage::DoDataExchange(CDataExchange* pDX) {
    if (!pDX->m_bSaveAndValidate) {
        short flags = 0;
        if (GetPropText("Flags", &flags)) {
            m_bZeroPadding = Checked(flags & kDigitZeroPadding);
            m_bUninitialized = Checked(flags & kDigitUninitialized);
            m_bError = Checked(flags & kDigitError);
            // The read-out takes the big glyphs when both size bits are set.
            m_nSize = (flags & kDigitBig)     ? kSizeBig
                      : (flags & kDigitSmall) ? kSizeSmall
                                              : kSizeMedium;
        }
    }
    DDP_Text(pDX, IDC_FORMAT, m_strFormat, "Format");
    DDX_Text(pDX, IDC_FORMAT, m_strFormat);
    DDP_Text(pDX, IDC_MAXSIZE, m_nMaxSize, "MaxSize");
    DDX_Text(pDX, IDC_MAXSIZE, m_nMaxSize);
    DDX_Check(pDX, IDC_ZEROPADDING, m_bZeroPadding);
    DDX_Check(pDX, IDC_UNINITIALIZED, m_bUninitialized);
    DDX_Check(pDX, IDC_ERROR, m_bError);
    DDX_Radio(pDX, IDC_BIG, m_nSize);
    DDP_PostProcessing(pDX);

    if (pDX->m_bSaveAndValidate) {
        COwnedBits bits;
        if (IsControlChanged(IDC_ZEROPADDING))
            bits.Set(kDigitZeroPadding, m_bZeroPadding == BST_CHECKED);
        if (IsControlChanged(IDC_UNINITIALIZED))
            bits.Set(kDigitUninitialized, m_bUninitialized == BST_CHECKED);
        if (IsControlChanged(IDC_ERROR))
            bits.Set(kDigitError, m_bError == BST_CHECKED);
        if (IsGroupChanged(IDC_BIG) && m_nSize >= 0)
            bits.Assign(kDigitBig | kDigitSmall, m_nSize == kSizeBig     ? kDigitBig
                                                 : m_nSize == kSizeSmall ? kDigitSmall
                                                                         : 0);
        WriteOwnedBits(*this, pDX, "Flags", bits);
    }
}
