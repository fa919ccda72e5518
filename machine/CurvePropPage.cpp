#include "machine/CurvePropPage.h"

#include "machine/CurveCtrl.h"
#include "platform/afx/OwnedBits.h"
#include "machine/PageRanges.h"

namespace {

constexpr PageRange kPointsRange{2, 10};

} // namespace

CCurvePropPage::CCurvePropPage() : COlePropertyPage(IDD, IDS_CAPTION) {}

BOOL CCurvePropPage::OnInitDialog() {
    COlePropertyPage::OnInitDialog();
    SetSpinRange(*this, IDC_SPIN_POINTS, kPointsRange);
    return FALSE;
}

void CCurvePropPage::DoDataExchange(CDataExchange* pDX) {
    if (!pDX->m_bSaveAndValidate) {
        short flags = 0;
        if (GetPropText("Flags", &flags)) {
            m_bXLock = (flags & CCurveCtrl::kFlagXLock) ? BST_CHECKED : BST_UNCHECKED;
            m_bYLock = (flags & CCurveCtrl::kFlagYLock) ? BST_CHECKED : BST_UNCHECKED;
        }
    }
    DDP_Text(pDX, IDC_XAXIS, m_strXaxis, "Xaxis");
    DDX_Text(pDX, IDC_XAXIS, m_strXaxis);
    DDP_Text(pDX, IDC_YAXIS, m_strYaxis, "Yaxis");
    DDX_Text(pDX, IDC_YAXIS, m_strYaxis);
    DDP_Text(pDX, IDC_POINTS, m_nPoints, "Points");
    DDX_Text(pDX, IDC_POINTS, m_nPoints);
    ValidateChanged(*this, pDX, IDC_POINTS, m_nPoints, kPointsRange);
    DDX_Check(pDX, IDC_XLOCK, m_bXLock);
    DDX_Check(pDX, IDC_YLOCK, m_bYLock);
    DDP_PostProcessing(pDX);

    if (pDX->m_bSaveAndValidate) {
        COwnedBits bits;
        if (IsControlChanged(IDC_XLOCK))
            bits.Set(CCurveCtrl::kFlagXLock, m_bXLock == BST_CHECKED);
        if (IsControlChanged(IDC_YLOCK))
            bits.Set(CCurveCtrl::kFlagYLock, m_bYLock == BST_CHECKED);
        WriteOwnedBits(*this, pDX, "Flags", bits);
    }
}
