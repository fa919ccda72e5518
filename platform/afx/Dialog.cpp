// Modal dialogs from templates: building the window and its items, the
// dialog keyboard, and the modal run.
//
// [SECTION] The dialog class
// [SECTION] Building
// [SECTION] Keyboard
// [SECTION] Messages
// [SECTION] The modal run
#include "platform/afx/Dialog.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/user/DialogNavigation.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// [SECTION] The dialog class

constexpr int kObjectOffset = 0;

// Registered on a thread by its first dialog.
void RegisterDialogClass(WNDPROC proc) {
    WNDCLASSA wc;
    if (GetClassInfoA(nullptr, kDialogClass, &wc))
        return;
    wc = WNDCLASSA{};
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(std::intptr_t(COLOR_BTNFACE + 1));
    wc.lpszClassName = kDialogClass;
    RegisterClassA(&wc);
}

int Scale(int units, int base, int divisor) {
    // MulDiv: rounded to the nearest pixel.
    const long long product = static_cast<long long>(units) * base;
    return int((product >= 0 ? product + divisor / 2 : product - divisor / 2) / divisor);
}

// The base units of a font, as the platform measures them: the average
// width of the 52 letters, rounded, and the character height.
SIZE BaseUnitsOf(HFONT font) {
    SIZE units{4, 8};
    HDC hdc = GetDC(nullptr);
    if (!hdc)
        return units;
    HGDIOBJ old = SelectObject(hdc, font);
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE extent{};
    TEXTMETRIC tm;
    if (GetTextExtentPoint32(hdc, kLetters, 52, &extent) && GetTextMetrics(hdc, &tm)) {
        units.cx = std::max<LONG>(1, (extent.cx / 26 + 1) / 2);
        units.cy = std::max<LONG>(1, tm.tmHeight);
    }
    SelectObject(hdc, old);
    ReleaseDC(nullptr, hdc);
    return units;
}

} // namespace

// [SECTION] Building

CDialog::CDialog(UINT templateId, HWND parent, HMODULEINSTANCE resources)
    : m_templateId(templateId), m_parent(parent), m_resources(resources) {}

CDialog::CDialog(const DialogTemplate* dialogTemplate, HWND parent)
    : m_parent(parent), m_template(dialogTemplate) {}

CDialog::~CDialog() {
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
    if (m_ownsFont)
        DeleteObject(m_font);
    for (HICON icon : m_icons)
        DestroyIcon(icon);
}

CDialog* CDialog::FromHandle(HWND hwnd) {
    char name[16]{};
    if (!GetClassNameA(hwnd, name, int(sizeof name)) || std::strcmp(name, kDialogClass) != 0)
        return nullptr;
    return reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, kObjectOffset));
}

const DialogTemplate* CDialog::FindTemplate() const {
    if (m_template)
        return m_template;
    return m_resources ? m_resources->FindDialog(m_templateId) : nullptr;
}

HWND CDialog::GetDlgItem(int id) const {
    return ::GetDlgItem(m_hWnd, id);
}

void CDialog::MapDialogRect(RECT* rc) const {
    if (!rc)
        return;
    rc->left = Scale(rc->left, m_baseUnits.cx, 4);
    rc->right = Scale(rc->right, m_baseUnits.cx, 4);
    rc->top = Scale(rc->top, m_baseUnits.cy, 8);
    rc->bottom = Scale(rc->bottom, m_baseUnits.cy, 8);
}

BOOL MapDialogRect(HWND dialog, RECT* rc) {
    const CDialog* dlg = CDialog::FromHandle(dialog);
    if (!dlg || !rc)
        return FALSE;
    dlg->MapDialogRect(rc);
    return TRUE;
}

// The font of a template and its base units.
static HFONT CreateTemplateFont(const DialogTemplate& t) {
    if (t.fontSize <= 0 || !t.fontFace)
        return nullptr;
    // Points at 96 pixels per inch.
    return CreateFontA(-Scale(t.fontSize, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                       t.fontFace);
}

BOOL CDialog::GetTemplateSize(SIZE* size) const {
    const DialogTemplate* t = FindTemplate();
    if (!t || !size)
        return FALSE;
    const HFONT font = CreateTemplateFont(*t);
    const SIZE units = BaseUnitsOf(font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    if (font)
        DeleteObject(font);
    size->cx = Scale(t->cx, units.cx, 4);
    size->cy = Scale(t->cy, units.cy, 8);
    return TRUE;
}

bool CDialog::Create(const DialogTemplate& t, HWND owner, bool child) {
    RegisterDialogClass(&CDialog::DialogProc);
    if (m_ownsFont)
        DeleteObject(m_font);
    m_ownsFont = false;
    m_font = CreateTemplateFont(t);
    m_ownsFont = m_font != nullptr;
    if (!m_font)
        m_font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    m_baseUnits = BaseUnitsOf(m_font);

    RECT rc{t.x, t.y, t.x + t.cx, t.y + t.cy};
    MapDialogRect(&rc);
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (child) {
        // A child dialog sits at its template position in the parent and
        // lends its controls to the dialog around it.
        const DWORD style = (t.style & ~(WS_POPUP | WS_VISIBLE)) | WS_CHILD;
        m_hWnd = CreateWindowExA(t.exStyle | WS_EX_CONTROLPARENT, kDialogClass, "", style, rc.left,
                                 rc.top, width, height, owner, nullptr, nullptr, this);
    } else {
        // Centred on the owner (or the screen) unless the template places it.
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (owner)
            GetWindowRect(owner, &area);
        int x = area.left + rc.left;
        int y = area.top + rc.top;
        if ((t.style & DS_CENTER) || (t.x == 0 && t.y == 0)) {
            x = area.left + (area.right - area.left - width) / 2;
            y = area.top + (area.bottom - area.top - height) / 2;
        }
        const DWORD style = (t.style & ~(WS_CHILD | WS_VISIBLE)) | WS_POPUP;
        m_hWnd = CreateWindowExA(t.exStyle, kDialogClass, t.caption ? t.caption : "", style, x, y,
                                 width, height, owner, nullptr, nullptr, this);
    }
    if (!m_hWnd)
        return false;
    SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    if (!CreateItems(t)) {
        DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
        return false;
    }
    return true;
}

BOOL CDialog::CreateModeless(HWND parent, BOOL asChild) {
    const DialogTemplate* t = FindTemplate();
    if (!t || (m_hWnd && IsWindow(m_hWnd)))
        return FALSE;
    const bool child = ((t->style & WS_CHILD) || asChild) && IsWindow(parent);
    if (!Create(*t, child ? parent : (parent ? GetAncestor(parent, GA_ROOT) : nullptr), child))
        return FALSE;
    const HWND hwnd = m_hWnd;
    SendMessageA(hwnd, WM_INITDIALOG, 0, 0);
    if (!IsWindow(hwnd))
        return FALSE;
    if (t->style & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    return TRUE;
}

// A combo box or list box gets the strings of its initial data.
static void FillFromInitialData(HWND item, const DialogItemTemplate& t) {
    if (t.initialData.empty())
        return;
    char cls[32]{};
    GetClassNameA(item, cls, int(sizeof cls));
    const UINT add = std::strcmp(cls, "COMBOBOX") == 0  ? CB_ADDSTRING
                     : std::strcmp(cls, "LISTBOX") == 0 ? LB_ADDSTRING
                                                        : 0;
    if (!add)
        return;
    for (const char* text : t.initialData)
        SendMessageA(item, add, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

// An SS_ICON static whose text is "#id" shows that icon of the module.
void CDialog::SetItemIcon(HWND item, const DialogItemTemplate& t) {
    if (!m_resources || !t.text || t.text[0] != '#' || (t.style & SS_TYPEMASK) != SS_ICON ||
        std::strcmp(t.windowClass, "STATIC") != 0)
        return;
    char* end = nullptr;
    const unsigned long id = std::strtoul(t.text + 1, &end, 10);
    if (end == t.text + 1 || *end != '\0')
        return;
    if (HICON icon = m_resources->LoadIcon(UINT(id))) {
        m_icons.push_back(icon);
        SendMessageA(item, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
}

bool CDialog::CreateItems(const DialogTemplate& t) {
    m_items.clear();
    m_itemProcs.clear();
    for (HICON icon : m_icons) // of an earlier window of this dialog
        DestroyIcon(icon);
    m_icons.clear();
    for (const DialogItemTemplate& item : t.items) {
        RECT rc{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(&rc);
        const HWND child = CreateWindowExA(
            item.exStyle, item.windowClass, item.text ? item.text : "", item.style | WS_CHILD,
            rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_hWnd,
            reinterpret_cast<HMENU>(std::intptr_t(item.id)), nullptr, nullptr);
        if (!child) {
            if (t.style & DS_NOFAILCREATE)
                continue;
            return false;
        }
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
        FillFromInitialData(child, item);
        SetItemIcon(child, item);
        // The dialog sees the keys of its items first.
        const auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(child, GWLP_WNDPROC));
        m_itemProcs[child] = proc;
        SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CDialog::ItemProc));
        m_items.push_back(child);
    }
    return true;
}

// [SECTION] Keyboard

HWND CDialog::DefaultButton() const {
    const LRESULT def = SendMessageA(m_hWnd, DM_GETDEFID, 0, 0);
    return HIWORD(std::uintptr_t(def)) == DC_HASDEFID ? GetDlgItem(LOWORD(std::uintptr_t(def)))
                                                      : nullptr;
}

CDialog* CDialog::RootDialog() {
    CDialog* root = this;
    while (root->m_hWnd && (GetWindowLongA(root->m_hWnd, GWL_STYLE) & WS_CHILD)) {
        CDialog* outer = FromHandle(GetParent(root->m_hWnd));
        if (!outer)
            break;
        root = outer;
    }
    return root;
}

// Enter, Escape, Tab and the arrows for the dialog; false for other keys.
// Inside a child dialog they act on the outermost one.
bool CDialog::HandleKey(HWND focus, WPARAM key) {
    CDialog* root = RootDialog();
    if (root != this)
        return root->HandleKey(focus, key);
    if (OnDialogKey(focus, key))
        return true;
    switch (key) {
    case VK_RETURN: {
        HWND button = nullptr;
        if (focus && (SendMessageA(focus, WM_GETDLGCODE, 0, 0) &
                      (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
            button = focus;
        if (!button)
            button = DefaultButton();
        if (button && !IsWindowEnabled(button))
            return true;
        const int id = button ? GetDlgCtrlID(button) : IDOK;
        SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(WORD(id), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        return true;
    }
    case VK_ESCAPE:
        SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(IDCANCEL)));
        return true;
    case VK_TAB:
        kw::user::DialogTab(m_hWnd, focus, GetKeyState(VK_SHIFT) < 0);
        return true;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        return kw::user::DialogArrow(m_hWnd, focus, key);
    default:
        return false;
    }
}

bool CDialog::HandleMnemonic(HWND focus, WPARAM ch) {
    CDialog* root = RootDialog();
    return kw::user::DialogMnemonic(root->m_hWnd, focus, char(ch & 0xFF));
}

LRESULT CDialog::ItemProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dlg = FromHandle(GetParent(hwnd));
    auto it = dlg ? dlg->m_itemProcs.find(hwnd) : decltype(dlg->m_itemProcs)::iterator{};
    if (!dlg || it == dlg->m_itemProcs.end())
        return DefWindowProcA(hwnd, message, wParam, lParam);
    const WNDPROC own = it->second;
    const bool dialogKey = wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_TAB;
    const bool arrow = message == WM_KEYDOWN && (wParam == VK_LEFT || wParam == VK_RIGHT ||
                                                 wParam == VK_UP || wParam == VK_DOWN);
    if ((dialogKey && (message == WM_KEYDOWN || message == WM_CHAR)) || arrow) {
        MSG msg{hwnd, message, wParam, lParam, 0, POINT{}};
        const LRESULT code =
            SendMessageA(hwnd, WM_GETDLGCODE, wParam, reinterpret_cast<LPARAM>(&msg));
        const bool wanted = (code & DLGC_WANTALLKEYS) ||
                            (wParam == VK_TAB && (code & DLGC_WANTTAB)) ||
                            (arrow && (code & DLGC_WANTARROWS));
        if (!wanted) {
            // The character that follows a handled key goes nowhere.
            if (message == WM_KEYDOWN)
                dlg->HandleKey(hwnd, wParam);
            return 0;
        }
    }
    // Alt with a character, or a character the item does not type, may be
    // a mnemonic.
    if (message == WM_SYSCHAR && dlg->HandleMnemonic(hwnd, wParam))
        return 0;
    if (message == WM_CHAR && wParam > 0x20 && wParam != 0x7F) {
        MSG msg{hwnd, message, wParam, lParam, 0, POINT{}};
        const LRESULT code =
            SendMessageA(hwnd, WM_GETDLGCODE, wParam, reinterpret_cast<LPARAM>(&msg));
        if (!(code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) && dlg->HandleMnemonic(hwnd, wParam))
            return 0;
    }
    if (!IsWindow(hwnd))
        return 0;
    if (message == WM_NCDESTROY) {
        dlg->m_itemProcs.erase(it);
        std::erase(dlg->m_items, hwnd);
    }
    return CallWindowProcA(own, hwnd, message, wParam, lParam);
}

// [SECTION] Messages

BOOL CDialog::OnDialogKey(HWND, WPARAM) {
    return FALSE;
}

BOOL CDialog::OnInitDialog() {
    return TRUE;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
    const WORD code = HIWORD(wParam);
    if (code != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case WM_CLOSE:
        OnCancel();
        return 0;
    case WM_KEYDOWN:
        // The dialog itself has the focus when no item took it.
        if (HandleKey(nullptr, wParam))
            return 0;
        break;
    case WM_SYSCHAR:
    case WM_CHAR:
        if (wParam > 0x20 && HandleMnemonic(nullptr, wParam))
            return 0;
        break;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case DM_GETDEFID: {
        if (m_defId)
            return MAKELRESULT(WORD(m_defId), DC_HASDEFID);
        for (HWND item : m_items)
            if (SendMessageA(item, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
                return MAKELRESULT(WORD(GetDlgCtrlID(item)), DC_HASDEFID);
        return 0;
    }
    case DM_SETDEFID:
        m_defId = int(wParam);
        return TRUE;
    default:
        break;
    }
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dlg = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, kObjectOffset));
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        dlg = cs ? static_cast<CDialog*>(cs->lpCreateParams) : nullptr;
        if (dlg) {
            SetWindowLongPtrA(hwnd, kObjectOffset, reinterpret_cast<LONG_PTR>(dlg));
            dlg->m_hWnd = hwnd;
        }
    }
    if (!dlg)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    const LRESULT result = dlg->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, kObjectOffset, 0);
        dlg->m_hWnd = nullptr;
    }
    return result;
}

// [SECTION] The modal run

void CDialog::EndDialog(int result) {
    if (m_hWnd)
        kw::user::EndModalLoop(m_hWnd, result);
}

INT_PTR CDialog::DoModal() {
    const DialogTemplate* t = FindTemplate();
    if (!t)
        return -1;
    const HWND owner = m_parent ? GetAncestor(m_parent, GA_ROOT) : nullptr;
    if (!Create(*t, owner))
        return -1;
    const HWND hwnd = m_hWnd;
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner)
        EnableWindow(owner, FALSE);

    const BOOL setFocus = BOOL(SendMessageA(hwnd, WM_INITDIALOG, 0, 0));
    int result = IDCANCEL;
    if (IsWindow(hwnd)) {
        ShowWindow(hwnd, SW_SHOW);
        if (setFocus) {
            const HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE);
            SetFocus(first ? first : hwnd);
        }
        result = kw::user::RunModalLoop(hwnd);
    }
    // The owner comes back before the dialog goes, so that it is activated.
    if (disableOwner && IsWindow(owner))
        EnableWindow(owner, TRUE);
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    m_hWnd = nullptr;
    if (owner && IsWindow(owner))
        SetActiveWindow(owner);
    return result;
}

int AfxShowAboutBox(HMODULEINSTANCE resources, HWND owner) {
    CDialog about(IDD_ABOUTBOX, owner, resources);
    return int(about.DoModal());
}
