#include "buttons/PolPropPage.h"

#include "buttons/PolCtrl.h"
#include "platform/afx/ControlPointer.h"
#include "platform/afx/OleDispatchDriver.h"
#include "platform/afx/OwnedBits.h"

CPolPropPage::CPolPropPage() : COlePropertyPage(IDD, IDS_CAPTION) {}

CPolCtrl* CPolPropPage::ControlOf(IDispatch* object) {
    if (!object)
        return nullptr;
    if (auto* control = dynamic_cast<CPolCtrl*>(object))
        return control;
    // By name, not by number: another control's DISPID 4 is another
    // property, whose value could pass for a token of an unrelated control.
    const char* names[] = {"ControlPointer"};
    DISPID dispid = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid)))
        return nullptr;
    LONG token = 0;
    COleDispatchDriver driver(object, FALSE);
    if (FAILED(driver.GetProperty(dispid, VT_I4, &token)))
        return nullptr;
    return dynamic_cast<CPolCtrl*>(AfxControlFromPointer(token));
}

BOOL CPolPropPage::OnInitDialog() {
    COlePropertyPage::OnInitDialog();
    m_widthSpin.SetRange(short(kMinWidth), short(kMaxWidth));
    m_heightSpin.SetRange(short(kMinHeight), short(kMaxHeight));
    return FALSE;
}

void CPolPropPage::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_WIDTH_SPIN, m_widthSpin);
    DDX_Control(pDX, IDC_HEIGHT_SPIN, m_heightSpin);
    if (!pDX->m_bSaveAndValidate) {
        SHORT mode = 0;
        if (GetPropText("Mode", &mode)) {
            m_toggle = BitCheck(mode, kSwitchLeftToggles);
            m_vertical = BitCheck(mode, kSwitchNarrow);
            m_state = (mode & kSwitchChecked) ? 1 : 0;
        }
        m_width = m_height = 0;
        ULONG count = 0;
        IDispatch** objects = GetObjectArray(&count);
        CPolCtrl* control = count ? ControlOf(objects[0]) : nullptr;
        if (control)
            control->GetControlSize(&m_width, &m_height);
        // Without a control there is no size to change: a typed one would
        // be dropped on Apply.
        for (int id : {IDC_WIDTH, IDC_WIDTH_SPIN, IDC_HEIGHT, IDC_HEIGHT_SPIN})
            if (HWND item = GetDlgItem(id))
                ::EnableWindow(item, control != nullptr);
    }
    DDX_Check(pDX, IDC_TOGGLE, m_toggle);
    DDX_Radio(pDX, IDC_OFF, m_state);
    DDX_Check(pDX, IDC_VERTICAL, m_vertical);
    // A size the container gave outside the spin ranges stands until the
    // user types a new one.
    DDX_Text(pDX, IDC_WIDTH, m_width);
    if (pDX->m_bSaveAndValidate && IsControlChanged(IDC_WIDTH))
        DDV_MinMaxInt(pDX, m_width, kMinWidth, kMaxWidth);
    DDX_Text(pDX, IDC_HEIGHT, m_height);
    if (pDX->m_bSaveAndValidate && IsControlChanged(IDC_HEIGHT))
        DDV_MinMaxInt(pDX, m_height, kMinHeight, kMaxHeight);
    if (!pDX->m_bSaveAndValidate || pDX->Failed())
        return;
    ApplySize(pDX);
    // The right-click bits belong to the control's clicks and stay.
    COwnedBits bits;
    bits.SetFromCheck(IsControlChanged(IDC_TOGGLE), m_toggle, kSwitchLeftToggles);
    if (IsGroupChanged(IDC_OFF) && m_state >= 0)
        bits.Set(kSwitchChecked, m_state == 1);
    bits.SetFromCheck(IsControlChanged(IDC_VERTICAL), m_vertical, kSwitchNarrow);
    WriteOwnedBits(*this, pDX, "Mode", bits);
}

// Every selected Polarity control takes the width and the height the user
// changed and keeps its own other extent.
void CPolPropPage::ApplySize(CDataExchange* pDX) {
    const bool width = IsControlChanged(IDC_WIDTH);
    const bool height = IsControlChanged(IDC_HEIGHT);
    if (!width && !height)
        return;
    pDX->Defer([this, width, height, cx = m_width, cy = m_height] {
        ULONG count = 0;
        IDispatch** objects = GetObjectArray(&count);
        for (ULONG i = 0; i < count; ++i) {
            CPolCtrl* control = ControlOf(objects[i]);
            int oldCx = 0;
            int oldCy = 0;
            if (!control || !control->GetControlSize(&oldCx, &oldCy))
                continue;
            control->SetControlSize(width ? cx : oldCx, height ? cy : oldCy);
        }
    });
}
