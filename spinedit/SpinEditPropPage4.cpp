#include "spinedit/SpinEditPropPage4.h"

#include "platform/afx/OleControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <cstdlib>
#include <string>

using namespace kw::spinedit;

namespace {

enum : int {
    IDC_SPIN_WIDTH = 250,
    IDC_SPIN_EDIT_HEIGHT = 251,
    IDC_SPIN_UNIT_WIDTH = 252,
    IDC_SPIN_SPIN_WIDTH = 253,
    IDC_SPIN_VALUE_WIDTH = 254,
    IDC_SPIN_LABEL_WIDTH = 255,
    IDC_SPIN_HEIGHT = 256,
    IDC_WIDTH = 270,
    IDC_EDIT_HEIGHT = 271,
    IDC_UNIT_WIDTH = 272,
    IDC_SPIN_PART_WIDTH = 273,
    IDC_VALUE_WIDTH = 274,
    IDC_LABEL_WIDTH = 275,
    IDC_HEIGHT = 276,
    IDC_LABEL = 301,
    IDC_SPIN = 302,
    IDC_UNIT = 303,
    IDC_PICTURE = 411,
};

constexpr UINT kLayoutBitmap = 208;
constexpr WORD kNoSpin = 0x0001, kNoUnits = 0x0002, kLabel = 0x0004;

struct SpinRange {
    int id;
    short lower, upper;
};
// In the order of CSpinEditPropPage4::m_spins.
constexpr SpinRange kSpinRanges[] = {
    {IDC_SPIN_WIDTH, 10, 400},       {IDC_SPIN_HEIGHT, 10, 50},
    {IDC_SPIN_EDIT_HEIGHT, 10, 200}, {IDC_SPIN_UNIT_WIDTH, 10, 200},
    {IDC_SPIN_SPIN_WIDTH, 10, 200},  {IDC_SPIN_VALUE_WIDTH, 10, 200},
    {IDC_SPIN_LABEL_WIDTH, 10, 200},
};

} // namespace

// [SECTION] The layout picture

void CTransparentStatic::OnPaint() {
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(m_hWnd, &ps);
    const auto image =
        reinterpret_cast<HBITMAP>(SendMessageA(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    if (dc && image && GetObject(image, int(sizeof info), &info)) {
        const int cx = int(info.bmWidth), cy = int(info.bmHeight);
        const HDC imageDC = CreateCompatibleDC(dc);
        const HGDIOBJ oldImage = SelectObject(imageDC, image);
        // The mask is set where the image shows the key colour.
        const HBITMAP mask = CreateBitmap(cx, cy, 1, 1, nullptr);
        const HDC maskDC = CreateCompatibleDC(dc);
        const HGDIOBJ oldMask = SelectObject(maskDC, mask);
        SetBkColor(imageDC, kKeyColor);
        BitBlt(maskDC, 0, 0, cx, cy, imageDC, 0, 0, SRCCOPY);
        // Background XOR image, AND mask, XOR image: the background where the
        // mask is set, the image elsewhere.
        const HBITMAP work = CreateCompatibleBitmap(dc, cx, cy);
        const HDC workDC = CreateCompatibleDC(dc);
        const HGDIOBJ oldWork = SelectObject(workDC, work);
        BitBlt(workDC, 0, 0, cx, cy, dc, 0, 0, SRCCOPY);
        BitBlt(workDC, 0, 0, cx, cy, imageDC, 0, 0, SRCINVERT);
        SetBkColor(workDC, RGB(255, 255, 255));
        SetTextColor(workDC, RGB(0, 0, 0));
        BitBlt(workDC, 0, 0, cx, cy, maskDC, 0, 0, SRCAND);
        BitBlt(workDC, 0, 0, cx, cy, imageDC, 0, 0, SRCINVERT);
        BitBlt(dc, 0, 0, cx, cy, workDC, 0, 0, SRCCOPY);
        SelectObject(workDC, oldWork);
        DeleteDC(workDC);
        DeleteObject(work);
        SelectObject(maskDC, oldMask);
        DeleteDC(maskDC);
        DeleteObject(mask);
        SelectObject(imageDC, oldImage);
        DeleteDC(imageDC);
    }
    EndPaint(m_hWnd, &ps);
}

// [SECTION] The page

CSpinEditPropPage4::CSpinEditPropPage4() : CSpinEditPage(76, 131) {}

BOOL CSpinEditPropPage4::OnInitDialog() {
    m_live = false;
    COlePropertyPage::OnInitDialog();
    for (std::size_t i = 0; i < std::size(kSpinRanges); ++i)
        m_spins[i].SetRange(kSpinRanges[i].lower, kSpinRanges[i].upper);
    if (m_picture.SubclassWindow(::GetDlgItem(m_hWnd, IDC_PICTURE)) &&
        (m_layout.GetSafeHandle() || m_layout.LoadBitmap(kLayoutBitmap)))
        SendMessageA(m_picture.m_hWnd, STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(m_layout.GetSafeHandle()));
    m_live = true;
    return FALSE;
}

short CSpinEditPropPage4::ValueWidth() const {
    int width = m_width;
    if (m_label == BST_CHECKED)
        width -= m_labelWidth;
    if (m_spin == BST_CHECKED)
        width -= m_spinWidth;
    if (m_unit == BST_CHECKED)
        width -= m_unitWidth;
    return short(width);
}

short CSpinEditPropPage4::ItemNumber(int id) const {
    char text[32]{};
    GetWindowTextA(::GetDlgItem(m_hWnd, id), text, int(sizeof text));
    return short(std::strtol(text, nullptr, 10));
}

void CSpinEditPropPage4::ShowNumber(int id, short value) {
    m_updating = true;
    SetWindowTextA(::GetDlgItem(m_hWnd, id), std::to_string(value).c_str());
    m_updating = false;
}

void CSpinEditPropPage4::ReadItems() {
    m_width = ItemNumber(IDC_WIDTH);
    m_height = ItemNumber(IDC_HEIGHT);
    m_editHeight = ItemNumber(IDC_EDIT_HEIGHT);
    m_unitWidth = ItemNumber(IDC_UNIT_WIDTH);
    m_spinWidth = ItemNumber(IDC_SPIN_PART_WIDTH);
    m_valueWidth = ItemNumber(IDC_VALUE_WIDTH);
    m_labelWidth = ItemNumber(IDC_LABEL_WIDTH);
    m_label = IsChecked(IDC_LABEL) ? BST_CHECKED : BST_UNCHECKED;
    m_spin = IsChecked(IDC_SPIN) ? BST_CHECKED : BST_UNCHECKED;
    m_unit = IsChecked(IDC_UNIT) ? BST_CHECKED : BST_UNCHECKED;
}

void CSpinEditPropPage4::EnableItems() {
    const bool label = IsChecked(IDC_LABEL), spin = IsChecked(IDC_SPIN), unit = IsChecked(IDC_UNIT);
    for (int id : {IDC_LABEL_WIDTH, IDC_SPIN_LABEL_WIDTH, IDC_HEIGHT, IDC_SPIN_HEIGHT})
        EnableItem(id, label);
    for (int id : {IDC_SPIN_PART_WIDTH, IDC_SPIN_SPIN_WIDTH})
        EnableItem(id, spin);
    for (int id : {IDC_UNIT_WIDTH, IDC_SPIN_UNIT_WIDTH})
        EnableItem(id, unit);
}

BOOL CSpinEditPropPage4::OnCommand(WPARAM wParam, LPARAM lParam) {
    const BOOL handled = CSpinEditPage::OnCommand(wParam, lParam);
    if (!m_live || m_updating)
        return handled;
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    const bool part = id == IDC_LABEL || id == IDC_SPIN || id == IDC_UNIT;
    if (code == BN_CLICKED && part) {
        ReadItems();
        ShowNumber(IDC_VALUE_WIDTH, ValueWidth());
        EnableItems();
    } else if (code == EN_CHANGE &&
               (id == IDC_WIDTH || id == IDC_EDIT_HEIGHT || id == IDC_UNIT_WIDTH ||
                id == IDC_SPIN_PART_WIDTH || id == IDC_LABEL_WIDTH)) {
        ReadItems();
        ShowNumber(IDC_VALUE_WIDTH, ValueWidth());
    } else if (code == EN_CHANGE && id == IDC_VALUE_WIDTH) {
        // A new value-field width resizes the control at once.
        ReadItems();
        int width = m_valueWidth;
        if (m_label == BST_CHECKED)
            width += m_labelWidth;
        if (m_spin == BST_CHECKED)
            width += m_spinWidth;
        if (m_unit == BST_CHECKED)
            width += m_unitWidth;
        m_width = short(width);
        if (COleControl* control = SpinEditPageControl(*this);
            control && m_width > 0 && m_height > 0)
            control->SetControlSize(m_width, m_height);
        ShowNumber(IDC_WIDTH, m_width);
    }
    return handled;
}

void CSpinEditPropPage4::DoDataExchange(CDataExchange* pDX) {
    COleControl* control = SpinEditPageControl(*this);
    for (std::size_t i = 0; i < std::size(kSpinRanges); ++i)
        DDX_Control(pDX, kSpinRanges[i].id, m_spins[i]);
    if (!pDX->m_bSaveAndValidate) {
        int cx = 0, cy = 0;
        if (!control || !control->GetControlSize(&cx, &cy))
            cx = cy = 0;
        m_width = short(cx);
        m_height = short(cy);
        short flags = 0;
        GetPropText("EditHeight", &m_editHeight);
        GetPropText("UnitWidth", &m_unitWidth);
        GetPropText("SpinWidth", &m_spinWidth);
        GetPropText("LabelWidth", &m_labelWidth);
        GetPropText("Flags", &flags);
        m_spin = (WORD(flags) & kNoSpin) ? BST_UNCHECKED : BST_CHECKED;
        m_label = (WORD(flags) & kLabel) ? BST_CHECKED : BST_UNCHECKED;
        m_unit = (WORD(flags) & kNoUnits) ? BST_UNCHECKED : BST_CHECKED;
        m_valueWidth = ValueWidth();
    }
    const bool wasUpdating = std::exchange(m_updating, true);
    DDX_Text(pDX, IDC_WIDTH, m_width);
    DDX_Text(pDX, IDC_HEIGHT, m_height);
    DDX_Text(pDX, IDC_EDIT_HEIGHT, m_editHeight);
    DDX_Text(pDX, IDC_UNIT_WIDTH, m_unitWidth);
    DDX_Text(pDX, IDC_SPIN_PART_WIDTH, m_spinWidth);
    DDX_Text(pDX, IDC_VALUE_WIDTH, m_valueWidth);
    DDX_Text(pDX, IDC_LABEL_WIDTH, m_labelWidth);
    DDX_Check(pDX, IDC_LABEL, m_label);
    DDX_Check(pDX, IDC_SPIN, m_spin);
    DDX_Check(pDX, IDC_UNIT, m_unit);
    m_updating = wasUpdating;

    if (pDX->m_bSaveAndValidate && !pDX->Failed()) {
        // The edit field cannot be taller than the control.
        const bool clamped = m_editHeight > m_height;
        if (clamped)
            m_editHeight = m_height;
        if (control && m_width > 0 && m_height > 0)
            control->SetControlSize(m_width, m_height);
        UpdateEachShort(pDX, kDispFlags, [&](IDispatch*, short flags) {
            flags = PackBox(flags, IDC_LABEL, m_label, kLabel);
            flags = PackBox(flags, IDC_SPIN, m_spin, kNoSpin, true);
            return PackBox(flags, IDC_UNIT, m_unit, kNoUnits, true);
        });
        // Widths the user left alone keep what other pages may have applied
        // in the same frame.
        if (IsControlChanged(IDC_UNIT_WIDTH))
            SetPropText("UnitWidth", m_unitWidth);
        if (IsControlChanged(IDC_SPIN_PART_WIDTH))
            SetPropText("SpinWidth", m_spinWidth);
        if (IsControlChanged(IDC_LABEL_WIDTH))
            SetPropText("LabelWidth", m_labelWidth);
        if (IsControlChanged(IDC_EDIT_HEIGHT) || clamped)
            SetPropText("EditHeight", m_editHeight);
        if (clamped)
            ShowNumber(IDC_EDIT_HEIGHT, m_editHeight);
    }
    if (m_hWnd)
        EnableItems();
}
