// CSelectQubePropPage: the exchange of the packed `defaultSel` with its
// three items, and the writes into each object's own value.
#include "views3d/SelectQubePropPage.h"
#include "views3d/SelectQubeCtrl.h"

#include "platform/afx/OleDispatchDriver.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <functional>

namespace {

constexpr const char* kDefaultSel = "defaultSel";

// Runs `use` with a driver on the object's `defaultSel` and its DISPID;
// false when the object has no such property.
bool WithDefaultSel(IDispatch* object,
                    const std::function<void(COleDispatchDriver&, DISPID)>& use) {
    LPCSTR name = kDefaultSel;
    DISPID dispid = DISPID_UNKNOWN;
    if (!object || FAILED(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &dispid)))
        return false;
    COleDispatchDriver driver(object, FALSE);
    use(driver, dispid);
    return true;
}

} // namespace

CSelectQubePropPage::CSelectQubePropPage() : COlePropertyPage(IDD, IDS_CAPTION) {}

BOOL CSelectQubePropPage::OnInitDialog() {
    COlePropertyPage::OnInitDialog();
    FitSpinToMode();
    return FALSE;
}

BOOL CSelectQubePropPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const BOOL handled = COlePropertyPage::OnCommand(wParam, lParam);
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && (id == IDC_MODE3D || id == IDC_MODE2D))
        FitSpinToMode();
    return handled;
}

void CSelectQubePropPage::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_SPIN, m_spin);
    if (!pDX->m_bSaveAndValidate) {
        DDP_Text(pDX, IDC_PRESEL, m_defaultSel, kDefaultSel);
        Unpack();
        if (m_noPoint) {
            // An index here would be a number the control never selected.
            if (const HWND edit = pDX->PrepareEditCtrl(IDC_PRESEL))
                ::SetWindowTextA(edit, "");
        } else {
            DDX_Text(pDX, IDC_PRESEL, m_point);
        }
        DDX_Radio(pDX, IDC_MODE3D, m_mode);
        DDX_Check(pDX, IDC_NOAXISTEXT, m_noAxisText);
        FitSpinToMode();
        DDP_PostProcessing(pDX);
        return;
    }

    m_pointChanged = IsControlChanged(IDC_PRESEL) != FALSE;
    m_modeChanged = IsModeChanged() != FALSE;
    m_switchChanged = IsControlChanged(IDC_NOAXISTEXT) != FALSE;
    // An index left empty leaves every object without a point as it is.
    // One left alone under a mode left alone lands nowhere new.
    const HWND edit = GetDlgItem(IDC_PRESEL);
    if (m_pointChanged || (edit && ::GetWindowTextLengthA(edit) > 0)) {
        DDX_Text(pDX, IDC_PRESEL, m_point);
        DDV_MinMaxUInt(pDX, m_point, 0,
                       m_pointChanged || m_modeChanged ? LastPoint() : kLastPoint3D);
    }
    DDX_Radio(pDX, IDC_MODE3D, m_mode);
    DDX_Check(pDX, IDC_NOAXISTEXT, m_noAxisText);
    if (!pDX->Failed() && (m_pointChanged || m_modeChanged || m_switchChanged))
        pDX->Defer([this] { WriteEachObject(); });
    DDP_PostProcessing(pDX);
}

void CSelectQubePropPage::Unpack() {
    // The index is the word without the mode bits; a negative one, or one
    // beyond the cube's points, selects nothing.
    const int point = SHORT(m_defaultSel & ~CSelectQubeCtrl::kModeBits);
    m_noPoint = point < 0 || point > int(kLastPoint3D);
    m_point = m_noPoint ? 0 : UINT(point);
    m_mode = (m_defaultSel & CSelectQubeCtrl::kMode2D) ? 1 : 0;
    m_noAxisText = (m_defaultSel & CSelectQubeCtrl::kNoAxisText) ? BST_CHECKED : BST_UNCHECKED;
}

SHORT CSelectQubePropPage::Packed(SHORT value) const {
    int packed = value;
    // A point entered replaces the index and the high byte, as a click on
    // the control does; the mode bits stay.
    if (m_pointChanged)
        packed = (packed & CSelectQubeCtrl::kModeBits) | int(m_point);
    if (m_modeChanged)
        packed =
            m_mode > 0 ? packed | CSelectQubeCtrl::kMode2D : packed & ~CSelectQubeCtrl::kMode2D;
    if (m_switchChanged)
        packed = m_noAxisText > 0 ? packed | CSelectQubeCtrl::kNoAxisText
                                  : packed & ~CSelectQubeCtrl::kNoAxisText;
    return SHORT(packed);
}

void CSelectQubePropPage::WriteEachObject() {
    ULONG count = 0;
    IDispatch** objects = GetObjectArray(&count);
    for (ULONG i = 0; i < count; ++i) {
        WithDefaultSel(objects[i], [&](COleDispatchDriver& driver, DISPID dispid) {
            SHORT value = 0;
            if (FAILED(driver.GetProperty(dispid, VT_I2, &value)))
                return;
            const SHORT packed = Packed(value);
            // The same word again would still redraw the control and mark
            // it modified.
            if (packed != value)
                driver.SetProperty(dispid, VT_I2, &packed);
            if (i == 0)
                m_defaultSel = packed;
        });
    }
}

UINT CSelectQubePropPage::LastPoint() {
    if (IsModeChanged())
        return IsSquareChosen() ? kLastPoint2D : kLastPoint3D;
    bool square = false;
    ULONG count = 0;
    IDispatch** objects = GetObjectArray(&count);
    for (ULONG i = 0; i < count && !square; ++i)
        WithDefaultSel(objects[i], [&](COleDispatchDriver& driver, DISPID dispid) {
            SHORT value = 0;
            square = SUCCEEDED(driver.GetProperty(dispid, VT_I2, &value)) &&
                     (value & CSelectQubeCtrl::kMode2D) != 0;
        });
    return square ? kLastPoint2D : kLastPoint3D;
}

void CSelectQubePropPage::FitSpinToMode() {
    if (m_spin.GetSafeHwnd())
        m_spin.SetRange(0, short(LastPoint()));
}

BOOL CSelectQubePropPage::IsSquareChosen() const {
    const HWND square = GetDlgItem(IDC_MODE2D);
    return square && ::SendMessageA(square, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

BOOL CSelectQubePropPage::IsModeChanged() const {
    return IsGroupChanged(IDC_MODE3D);
}
