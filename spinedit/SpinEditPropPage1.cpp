#include "spinedit/SpinEditPropPage1.h"

using namespace kw::spinedit;

namespace {

enum : int {
    IDC_TYP_SHORT = 230,
    IDC_SPIN_POINTPOS = 250,
    IDC_SPIN_LABELWIDTH = 251,
    IDC_SPIN_SPINWIDTH = 252,
    IDC_LABEL = 270,
    IDC_LOWLIMIT = 271,
    IDC_HIGHLIMIT = 272,
    IDC_STEPVAL = 273,
    IDC_POINTPOS = 274,
    IDC_LABELWIDTH = 275,
    IDC_SPINWIDTH = 276,
};

struct Switch {
    int id;
    WORD bit;
};
constexpr Switch kSwitches[] = {
    {313, 0x0008}, // "Label change"
    {311, 0x0001}, // "no Spin"
    {312, 0x0020}, // "use Limits"
    {301, 0x0004}, // "Label"
    {314, 0x0100}, // "show uninitialized"
    {302, 0x0010}, // "no Edit"
    {315, 0x0400}, // "Center Label"
    {316, 0x0800}, // "allow defset"
    {317, 0x1000}, // "Toggle ON/OFF"
};

} // namespace

CSpinEditPropPage1::CSpinEditPropPage1() : CSpinEditPage(51, 120) {}

BOOL CSpinEditPropPage1::OnInitDialog() {
    COlePropertyPage::OnInitDialog();
    m_spins[0].SetRange(0, 8);
    m_spins[1].SetRange(10, 200);
    // The spin offers only widths the page accepts.
    m_spins[2].SetRange(10, 30);
    return FALSE;
}

void CSpinEditPropPage1::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_SPIN_POINTPOS, m_spins[0]);
    DDX_Control(pDX, IDC_SPIN_LABELWIDTH, m_spins[1]);
    DDX_Control(pDX, IDC_SPIN_SPINWIDTH, m_spins[2]);
    DDP_Text(pDX, IDC_LABEL, m_label, "Label");
    DDX_Text(pDX, IDC_LABEL, m_label);
    DDP_Text(pDX, IDC_LOWLIMIT, m_lowLimit, "LowLimit");
    DDX_Text(pDX, IDC_LOWLIMIT, m_lowLimit);
    DDP_Text(pDX, IDC_HIGHLIMIT, m_highLimit, "HighLimit");
    DDX_Text(pDX, IDC_HIGHLIMIT, m_highLimit);
    DDP_Text(pDX, IDC_STEPVAL, m_stepVal, "StepVal");
    DDX_Text(pDX, IDC_STEPVAL, m_stepVal);
    DDP_Radio(pDX, IDC_TYP_SHORT, m_typ, "Typ");
    DDX_Radio(pDX, IDC_TYP_SHORT, m_typ);
    DDP_Text(pDX, IDC_POINTPOS, m_pointPos, "PointPos");
    DDX_Text(pDX, IDC_POINTPOS, m_pointPos);
    DDP_Text(pDX, IDC_LABELWIDTH, m_labelWidth, "LabelWidth");
    DDX_Text(pDX, IDC_LABELWIDTH, m_labelWidth);
    DDV_MinMaxInt(pDX, m_labelWidth, 10, 400);
    DDP_Text(pDX, IDC_SPINWIDTH, m_spinWidth, "SpinWidth");
    DDX_Text(pDX, IDC_SPINWIDTH, m_spinWidth);
    DDV_MinMaxInt(pDX, m_spinWidth, 10, 30);

    if (!pDX->m_bSaveAndValidate) {
        short flags = 0;
        GetPropText("Flags", &flags);
        for (std::size_t i = 0; i < std::size(kSwitches); ++i)
            m_switches[i] = (WORD(flags) & kSwitches[i].bit) ? BST_CHECKED : BST_UNCHECKED;
    }
    for (std::size_t i = 0; i < std::size(kSwitches); ++i)
        DDX_Check(pDX, kSwitches[i].id, m_switches[i]);
    DDP_PostProcessing(pDX);

    UpdateEachShort(pDX, kDispFlags, [&](IDispatch*, short flags) {
        for (std::size_t i = 0; i < std::size(kSwitches); ++i)
            flags = PackBox(flags, kSwitches[i].id, m_switches[i], kSwitches[i].bit);
        return flags;
    });
}
