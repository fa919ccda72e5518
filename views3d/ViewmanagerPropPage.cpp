#include "views3d/ViewmanagerPropPage.h"

CViewmanagerPropPage::CViewmanagerPropPage() : COlePropertyPage(IDD, IDS_CAPTION) {}

void CViewmanagerPropPage::DoDataExchange(CDataExchange* pDX) {
    DDP_PostProcessing(pDX);
}
