#include "machine/AccelerationPropPage.h"

#include "machine/PageRanges.h"
#include "platform/user/SystemControls.h"

namespace {

// The ranges a designer may enter; the spin buttons step within the same.
constexpr PageRange kVstartRange{32, 1000};
constexpr PageRange kARange{10, 500};
constexpr PageRange kBRange{1000, 30000};
constexpr PageRange kVmaxRange{32, 8000};

} // namespace

CAccelerationPropPage::CAccelerationPropPage() : COlePropertyPage(IDD, IDS_CAPTION) {}

BOOL CAccelerationPropPage::OnInitDialog() {
    COlePropertyPage::OnInitDialog();
    SetSpinRange(*this, IDC_SPIN_VSTART, kVstartRange);
    SetSpinRange(*this, IDC_SPIN_A, kARange);
    SetSpinRange(*this, IDC_SPIN_B, kBRange);
    SetSpinRange(*this, IDC_SPIN_VMAX, kVmaxRange);
    return FALSE;
}

void CAccelerationPropPage::DoDataExchange(CDataExchange* pDX) {
    DDP_Text(pDX, IDC_VSTART, m_Vstart, "VStart");
    DDX_Text(pDX, IDC_VSTART, m_Vstart);
    ValidateChanged(*this, pDX, IDC_VSTART, m_Vstart, kVstartRange);
    DDP_Text(pDX, IDC_A, m_A, "A");
    DDX_Text(pDX, IDC_A, m_A);
    ValidateChanged(*this, pDX, IDC_A, m_A, kARange);
    DDP_Text(pDX, IDC_B, m_B, "B");
    DDX_Text(pDX, IDC_B, m_B);
    ValidateChanged(*this, pDX, IDC_B, m_B, kBRange);
    DDP_Text(pDX, IDC_VMAX, m_Vmax, "Vmax");
    DDX_Text(pDX, IDC_VMAX, m_Vmax);
    ValidateChanged(*this, pDX, IDC_VMAX, m_Vmax, kVmaxRange);
    DDP_PostProcessing(pDX);
}
