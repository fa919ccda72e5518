#include "buttons/LedPropPage.h"

CLedPropPage::CLedPropPage() : COlePropertyPage(IDD, IDS_CAPTION) {}

void CLedPropPage::DoDataExchange(CDataExchange* pDX) {
    DDP_Radio(pDX, IDC_COLOR_RED, m_color, "Color");
    DDX_Radio(pDX, IDC_COLOR_RED, m_color);
    DDP_Radio(pDX, IDC_SHAPE_ROUND, m_shape, "Shape");
    DDX_Radio(pDX, IDC_SHAPE_ROUND, m_shape);
    DDP_Radio(pDX, IDC_MODE_OFF, m_mode, "Mode");
    DDX_Radio(pDX, IDC_MODE_OFF, m_mode);
    DDP_PostProcessing(pDX);
}
