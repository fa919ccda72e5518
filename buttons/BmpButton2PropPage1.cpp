// CBmpButton2PropPage1: program, icon size, working directory, arguments,
// and "..." to choose the program.
#include "buttons/BmpButton2PropPage1.h"

#include "buttons/BmpButton2Ctrl.h"
#include "buttons/PageObjectProperties.h"
#include "platform/afx/FileDialog.h"
#include "platform/afx/Wnd.h"
#include "platform/shell/ShellIcons.h"
#include "platform/shell/ShellPaths.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <string>

namespace {

// The folder of `path`, with its trailing separator.
CString FolderOf(const CString& path) {
    char drive[_MAX_DRIVE];
    char dir[_MAX_DIR];
    char folder[_MAX_PATH];
    _splitpath(path.Str().c_str(), drive, dir, nullptr, nullptr);
    _makepath(folder, drive, dir, "", "");
    return CString(folder);
}

CString ItemText(HWND item) {
    const int length = GetWindowTextLengthA(item);
    std::string text(std::size_t(length) + 1, '\0');
    GetWindowTextA(item, text.data(), length + 1);
    text.resize(std::size_t(length));
    return CString(text);
}

} // namespace

CBmpButton2PropPage1::CBmpButton2PropPage1() : COlePropertyPage(IDD, IDS_CAPTION) {}

CBmpButton2PropPage1::~CBmpButton2PropPage1() {
    DestroyIcons();
}

void CBmpButton2PropPage1::DoDataExchange(CDataExchange* pDX) {
    DDP_Text(pDX, IDC_COMMAND, m_command, "COMMAND");
    DDX_Text(pDX, IDC_COMMAND, m_command);
    DDP_Radio(pDX, IDC_SMALLSYMBOL, m_symSize, "SymSize");
    DDX_Radio(pDX, IDC_SMALLSYMBOL, m_symSize);
    DDP_Text(pDX, IDC_WORKPATH, m_workPath, "WORKPATH");
    DDX_Text(pDX, IDC_WORKPATH, m_workPath);
    DDP_Text(pDX, IDC_ARG, m_arg, "ARG");
    DDX_Text(pDX, IDC_ARG, m_arg);
    DDP_PostProcessing(pDX);
}

BOOL CBmpButton2PropPage1::OnInitDialog() {
    // The launcher refuses a working directory its launch buffer cannot
    // hold; the field takes no more, so that Apply never drops one.
    SendMessageA(GetDlgItem(IDC_WORKPATH), EM_LIMITTEXT, CBmpButton2Ctrl::kPathBuffer - 1, 0);
    const BOOL result = COlePropertyPage::OnInitDialog();
    LoadIcons(m_command);
    return result;
}

BOOL CBmpButton2PropPage1::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_BROWSE && HIWORD(wParam) == BN_CLICKED) {
        OnBrowse();
        return TRUE;
    }
    return COlePropertyPage::OnCommand(wParam, lParam);
}

LRESULT CBmpButton2PropPage1::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = COlePropertyPage::WindowProc(message, wParam, lParam);
    if (message == WM_DESTROY)
        DestroyIcons();
    return result;
}

// [SECTION] Icons

void CBmpButton2PropPage1::LoadIcons(const CString& file) {
    HICON large = nullptr;
    HICON small = nullptr;
    ExtractIconExA(file.Str().c_str(), 0, &large, &small, 1);
    if (!large && !small)
        ExtractIconExA(kStockIconLibrary, 0, &large, &small, 1);
    // The statics let go of the old icons before they are destroyed.
    SendMessageA(GetDlgItem(IDC_SMALLICON), STM_SETICON, reinterpret_cast<WPARAM>(small), 0);
    SendMessageA(GetDlgItem(IDC_LARGEICON), STM_SETICON, reinterpret_cast<WPARAM>(large), 0);
    DestroyIcons();
    m_smallIcon = small;
    m_largeIcon = large;
}

void CBmpButton2PropPage1::DestroyIcons() {
    for (HICON* icon : {&m_smallIcon, &m_largeIcon}) {
        if (*icon)
            DestroyIcon(*icon);
        *icon = nullptr;
    }
}

// [SECTION] Choosing the program

void CBmpButton2PropPage1::OnBrowse() {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr,
                       CWnd::FromHandle(m_hWnd));
    if (dialog.DoModal() == IDOK)
        UseProgram(dialog.GetPathName());
}

// The program is given to every object at once. The working directory
// follows it where none is set: on every object when the user emptied the
// field, else on the objects that have none of their own. Afterwards the
// page shows the objects' values again, and what the user typed into the
// other items and has not applied yet stays as typed.
void CBmpButton2PropPage1::UseProgram(const CString& path) {
    const CString workField = ItemText(GetDlgItem(IDC_WORKPATH));
    const bool workEdited = IsControlChanged(IDC_WORKPATH);
    const bool argEdited = IsControlChanged(IDC_ARG);
    const CString argField = ItemText(GetDlgItem(IDC_ARG));
    int symSize = -1;
    if (IsGroupChanged(IDC_SMALLSYMBOL)) {
        for (int id : {IDC_SMALLSYMBOL, IDC_LARGESYMBOL})
            if (SendMessageA(GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED)
                symSize = id;
    }

    const CString folder = FolderOf(path);
    ULONG count = 0;
    IDispatch** objects = GetObjectArray(&count);
    for (ULONG i = 0; i < count; ++i) {
        kw::pages::SetObjectProperty(objects[i], "COMMAND", VT_BSTR, path);
        if (!workField.IsEmpty())
            continue;
        const auto own = kw::pages::GetObjectProperty<CString>(objects[i], "WORKPATH", VT_BSTR);
        if (workEdited || (own && own->IsEmpty()))
            kw::pages::SetObjectProperty(objects[i], "WORKPATH", VT_BSTR, folder);
    }

    LoadIcons(path);
    UpdateData(FALSE);

    // Typing them back counts them as the user's changes again.
    if (workEdited && !workField.IsEmpty())
        SetWindowTextA(GetDlgItem(IDC_WORKPATH), workField.Str().c_str());
    if (argEdited)
        SetWindowTextA(GetDlgItem(IDC_ARG), argField.Str().c_str());
    if (symSize >= 0)
        SendMessageA(GetDlgItem(symSize), BM_CLICK, 0, 0);
}
