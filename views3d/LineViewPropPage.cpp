#include "views3d/LineViewPropPage.h"

CLineViewPropPage::CLineViewPropPage() : COlePropertyPage(IDD, IDS_CAPTION) {}

void CLineViewPropPage::DoDataExchange(CDataExchange* pDX) {
    DDP_PostProcessing(pDX);
}
