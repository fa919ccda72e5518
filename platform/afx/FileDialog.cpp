#include "platform/afx/FileDialog.h"

#include "platform/afx/Wnd.h"
#include "platform/base/Windows1252.h"
#include "platform/user/Input.h"
#include "platform/user/MessageBox.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"
#include "platform/user/Window.h"
#include "platform/user/WindowStyles.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fnmatch.h>
#include <strings.h>

// [SECTION] The template
// [SECTION] Construction and results
// [SECTION] The folder and its list
// [SECTION] Names typed or chosen
// [SECTION] Messages
// [SECTION] Scripted answers

namespace fs = std::filesystem;

namespace {

// [SECTION] The template

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
// The name field comes first so that it has the focus and Tab's order
// reads name, list, type, buttons.
const DialogItemTemplate kItems[] = {
    {"STATIC", "File &name:", stc3, kChild | SS_LEFT, 0, 7, 141, 50, 8},
    {"EDIT", "", edt1, kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 60, 139, 150, 12},
    {"STATIC", "Look &in:", stc4, kChild | SS_LEFT, 0, 7, 7, 50, 8},
    {"STATIC", "", stc1, kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 60, 7, 213, 8},
    {"LISTBOX", "", lst1,
     kChild | WS_BORDER | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 7, 20,
     266, 112},
    {"STATIC", "Files of &type:", stc2, kChild | SS_LEFT, 0, 7, 159, 50, 8},
    {"COMBOBOX", "", cmb1, kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 60, 157, 150,
     80},
    {"BUTTON", "&Open", IDOK, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 218, 138, 55, 14},
    {"BUTTON", "Cancel", IDCANCEL, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 218, 156, 55, 14},
};
const DialogTemplate kTemplate{0,  DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               0,  0,
                               0,  280,
                               177, "Open",
                               8,  "MS Shell Dlg",
                               kItems};

// Posted to a dialog that has a scripted answer waiting.
constexpr UINT WM_KW_FILEDIALOG_ANSWER = WM_USER + 0x7F0;

// List entries carry what they are as item data.
constexpr LPARAM kFileEntry = 0;
constexpr LPARAM kFolderEntry = 1;

std::deque<std::optional<std::string>>& ScriptedAnswers() {
    thread_local std::deque<std::optional<std::string>> answers;
    return answers;
}

std::string TextOf(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(std::size_t(std::max(length, 0)) + 1, '\0');
    GetWindowTextA(hwnd, text.data(), int(text.size()));
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

std::string Trimmed(std::string text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool HasWildcard(const std::string& text) {
    return text.find_first_of("*?") != std::string::npos;
}

std::vector<std::string> SplitPatterns(const std::string& text) {
    std::vector<std::string> patterns;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        std::string pattern = Trimmed(text.substr(start, end - start));
        if (!pattern.empty())
            patterns.push_back(pattern == "*.*" ? "*" : pattern); // *.* takes names without a dot
        start = end + 1;
    }
    return patterns;
}

bool Matches(const std::vector<std::string>& patterns, const std::string& name) {
    if (patterns.empty())
        return true;
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
        return fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
    });
}

bool LessNoCase(const std::string& a, const std::string& b) {
    const int c = strcasecmp(a.c_str(), b.c_str());
    return c != 0 ? c < 0 : a < b;
}

// The name part of a path and the position of its extension (after the dot).
std::size_t NameOffset(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}
std::size_t ExtensionOffset(const std::string& path) {
    const std::size_t name = NameOffset(path);
    const auto dot = path.rfind('.');
    return dot == std::string::npos || dot < name || dot == name ? 0 : dot + 1;
}

bool IsFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

} // namespace

// [SECTION] Construction and results

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                         DWORD dwFlags, LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CDialog(&kTemplate, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr),
      m_open(bOpenFileDialog) {
    m_ofn.hwndOwner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    m_ofn.Flags = dwFlags;
    m_ofn.lpstrDefExt = lpszDefExt;
    m_ofn.lpstrFile = m_fileBuffer;
    m_ofn.nMaxFile = DWORD(sizeof m_fileBuffer);
    if (lpszFileName) {
        const std::size_t n = std::min(std::strlen(lpszFileName), sizeof m_fileBuffer - 1);
        std::memcpy(m_fileBuffer, lpszFileName, n);
    }
    if (lpszFilter && *lpszFilter) {
        m_filterText = lpszFilter;
        std::replace(m_filterText.begin(), m_filterText.end(), '|', '\0');
        m_filterText.append(2, '\0');
        m_ofn.lpstrFilter = m_filterText.c_str();
    }
}

INT_PTR CFileDialog::DoModal() {
    return CDialog::DoModal();
}

CString CFileDialog::GetPathName() const {
    return m_ofn.lpstrFile ? CString(m_ofn.lpstrFile) : CString();
}

CString CFileDialog::GetFileName() const {
    const std::string path = GetPathName().Str();
    return CString(path.substr(NameOffset(path)));
}

CString CFileDialog::GetFileExt() const {
    const std::string path = GetPathName().Str();
    const std::size_t ext = ExtensionOffset(path);
    return ext ? CString(path.substr(ext)) : CString();
}

CString CFileDialog::GetFileTitle() const {
    const std::string path = GetPathName().Str();
    const std::size_t ext = ExtensionOffset(path);
    const std::size_t name = NameOffset(path);
    return CString(path.substr(name, ext ? ext - 1 - name : std::string::npos));
}

// [SECTION] The folder and its list

void CFileDialog::ReadFilters() {
    m_filters.clear();
    const char* p = m_ofn.lpstrFilter;
    while (p && *p) {
        Filter filter;
        filter.text = p;
        p += filter.text.size() + 1;
        if (!*p)
            break; // a text without its pattern
        filter.patterns = SplitPatterns(p);
        p += std::strlen(p) + 1;
        m_filters.push_back(std::move(filter));
    }
}

bool CFileDialog::Navigate(const std::string& folder) {
    std::error_code ec;
    fs::directory_iterator probe(fs::path(folder), ec);
    if (ec)
        return false;
    m_folder = Utf8ToAnsi(folder);
    SetWindowTextA(GetDlgItem(stc1), m_folder);
    m_customPatterns.clear();
    FillList();
    return true;
}

void CFileDialog::FillList() {
    const HWND list = GetDlgItem(lst1);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const std::string folder = AnsiToUtf8(m_folder.Str());

    std::vector<std::string> folders;
    std::vector<std::string> files;
    std::vector<std::string> patterns = m_customPatterns;
    if (patterns.empty()) {
        const LRESULT sel = SendMessageA(GetDlgItem(cmb1), CB_GETCURSEL, 0, 0);
        if (sel >= 0 && std::size_t(sel) < m_filters.size())
            patterns = m_filters[std::size_t(sel)].patterns;
    }
    const bool showHidden = (m_ofn.Flags & OFN_FORCESHOWHIDDEN) != 0;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || (name[0] == '.' && !showHidden))
            continue;
        const std::string ansi = Utf8ToAnsi(name);
        if (AnsiToUtf8(ansi) != name)
            continue; // not reachable through a Windows-1252 path
        std::error_code typeError;
        if (it->is_directory(typeError))
            folders.push_back(ansi);
        else if (Matches(patterns, ansi))
            files.push_back(ansi);
    }
    std::sort(folders.begin(), folders.end(), LessNoCase);
    std::sort(files.begin(), files.end(), LessNoCase);

    auto add = [list](const std::string& text, LPARAM kind) {
        const LRESULT index =
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageA(list, LB_SETITEMDATA, WPARAM(index), kind);
    };
    if (fs::path(folder).has_relative_path())
        add("..", kFolderEntry);
    for (const std::string& name : folders)
        add(name + "/", kFolderEntry);
    for (const std::string& name : files)
        add(name, kFileEntry);
}

// [SECTION] Names typed or chosen

std::string CFileDialog::Resolve(const std::string& typed) const {
    fs::path path(AnsiToUtf8(typed));
    if (path.is_relative())
        path = fs::path(AnsiToUtf8(m_folder.Str())) / path;
    std::string text = path.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

bool CFileDialog::TakeName(const std::string& typed) {
    const HWND edit = GetDlgItem(edt1);
    const std::string title = TextOf(m_hWnd);
    auto refuse = [&](const std::string& path, const char* why) {
        const std::string text = Utf8ToAnsi(path) + why;
        MessageBoxA(m_hWnd, text.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        return false;
    };
    if (HasWildcard(typed)) {
        // A folder in front of the pattern is entered first ("icons/*.ico").
        const std::size_t slash = typed.rfind('/');
        if (slash != std::string::npos) {
            const std::string folder = Resolve(slash == 0 ? "/" : typed.substr(0, slash));
            if (!IsFolder(folder) || !Navigate(folder))
                return refuse(folder, "\nThe folder cannot be opened.");
        }
        m_customPatterns = SplitPatterns(slash == std::string::npos ? typed : typed.substr(slash + 1));
        FillList();
        SetWindowTextA(edit, typed.substr(slash == std::string::npos ? 0 : slash + 1).c_str());
        return true;
    }

    std::string path = Resolve(typed);
    if (IsFolder(path)) {
        if (!Navigate(path))
            return refuse(path, "\nThe folder cannot be opened.");
        SetWindowTextA(edit, "");
        return true;
    }
    const std::string defExt = m_ofn.lpstrDefExt ? m_ofn.lpstrDefExt : "";
    const bool bare = ExtensionOffset(path) == 0 && !defExt.empty();
    std::error_code ec;
    if (m_open) {
        if (!fs::is_regular_file(path, ec) && bare && fs::is_regular_file(path + "." + defExt, ec))
            path += "." + defExt;
        if (!fs::is_regular_file(path, ec))
            return refuse(path, "\nFile not found.\nCheck the file name and try again.");
    } else {
        if (bare)
            path += "." + defExt;
        if (!IsFolder(fs::path(path).parent_path()))
            return refuse(path, "\nPath not found.\nCheck the path and try again.");
        if (IsFolder(path))
            return refuse(path, "\nThis is a folder.");
        if ((m_ofn.Flags & OFN_OVERWRITEPROMPT) && fs::exists(path, ec)) {
            const std::string text =
                Utf8ToAnsi(path) + " already exists.\nDo you want to replace it?";
            if (MessageBoxA(m_hWnd, text.c_str(), title.c_str(),
                            MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
                return false;
        }
    }
    return Finish(path);
}

bool CFileDialog::Finish(const std::string& path) {
    const std::string ansi = Utf8ToAnsi(path);
    if (!m_ofn.lpstrFile || ansi.size() + 1 > m_ofn.nMaxFile) {
        const std::string text = ansi + "\nThe path is too long.";
        MessageBoxA(m_hWnd, text.c_str(), TextOf(m_hWnd).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    std::memcpy(m_ofn.lpstrFile, ansi.c_str(), ansi.size() + 1);
    m_ofn.nFileOffset = WORD(NameOffset(ansi));
    m_ofn.nFileExtension = WORD(ExtensionOffset(ansi));
    if (m_ofn.lpstrFileTitle && m_ofn.nMaxFileTitle > 0) {
        const std::string name = ansi.substr(m_ofn.nFileOffset);
        const std::size_t n = std::min<std::size_t>(name.size(), m_ofn.nMaxFileTitle - 1);
        std::memcpy(m_ofn.lpstrFileTitle, name.c_str(), n);
        m_ofn.lpstrFileTitle[n] = '\0';
    }
    EndDialog(IDOK);
    return true;
}

// [SECTION] Messages

BOOL CFileDialog::OnInitDialog() {
    const char* title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : m_open ? "Open" : "Save As";
    SetWindowTextA(m_hWnd, title);
    SetWindowTextA(GetDlgItem(IDOK), m_open ? "&Open" : "&Save");

    ReadFilters();
    const HWND combo = GetDlgItem(cmb1);
    for (const Filter& filter : m_filters)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(filter.text.c_str()));
    if (m_filters.empty()) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("All Files (*.*)"));
        EnableWindow(combo, FALSE);
        EnableWindow(GetDlgItem(stc2), FALSE);
    }
    const DWORD index = m_ofn.nFilterIndex;
    SendMessageA(combo, CB_SETCURSEL,
                 index >= 1 && index <= m_filters.size() ? WPARAM(index - 1) : 0, 0);

    // The folder: the one asked for, else that of the name given, else the
    // working folder.
    // Relative names start from the working folder.
    std::error_code ec;
    const std::string working = fs::current_path(ec).string();
    m_folder = Utf8ToAnsi(working.empty() ? "/" : working);
    std::string name = m_ofn.lpstrFile ? m_ofn.lpstrFile : "";
    std::vector<std::string> candidates;
    if (m_ofn.lpstrInitialDir && *m_ofn.lpstrInitialDir)
        candidates.push_back(Resolve(m_ofn.lpstrInitialDir));
    if (const auto slash = name.rfind('/'); slash != std::string::npos) {
        candidates.push_back(Resolve(slash == 0 ? "/" : name.substr(0, slash)));
        name = name.substr(slash + 1);
    }
    candidates.push_back(working);
    candidates.push_back("/");
    for (const std::string& folder : candidates)
        if (!folder.empty() && Navigate(AnsiToUtf8(Utf8ToAnsi(folder))))
            break;

    const HWND edit = GetDlgItem(edt1);
    SetWindowTextA(edit, name.c_str());
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    if (!ScriptedAnswers().empty())
        PostMessageA(m_hWnd, WM_KW_FILEDIALOG_ANSWER, 0, 0);
    return FALSE;
}

void CFileDialog::OnOK() {
    const HWND list = GetDlgItem(lst1);
    const LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
    const bool folderChosen =
        sel >= 0 && SendMessageA(list, LB_GETITEMDATA, WPARAM(sel), 0) == kFolderEntry;
    const std::string typed = Trimmed(TextOf(GetDlgItem(edt1)));
    if (folderChosen && (GetFocus() == list || typed.empty())) {
        char entry[1024]{};
        if (SendMessageA(list, LB_GETTEXTLEN, WPARAM(sel), 0) < LRESULT(sizeof entry))
            SendMessageA(list, LB_GETTEXT, WPARAM(sel), reinterpret_cast<LPARAM>(entry));
        TakeName(entry);
        return;
    }
    if (!typed.empty())
        TakeName(typed);
}

BOOL CFileDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (id == lst1 && (code == LBN_SELCHANGE || code == LBN_DBLCLK)) {
        const HWND list = GetDlgItem(lst1);
        const LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (sel < 0)
            return TRUE;
        char entry[1024]{};
        if (SendMessageA(list, LB_GETTEXTLEN, WPARAM(sel), 0) >= LRESULT(sizeof entry))
            return TRUE;
        SendMessageA(list, LB_GETTEXT, WPARAM(sel), reinterpret_cast<LPARAM>(entry));
        const bool folder = SendMessageA(list, LB_GETITEMDATA, WPARAM(sel), 0) == kFolderEntry;
        if (code == LBN_SELCHANGE) {
            if (!folder)
                SetWindowTextA(GetDlgItem(edt1), entry);
        } else {
            TakeName(entry);
        }
        return TRUE;
    }
    if (id == cmb1 && code == CBN_SELCHANGE) {
        const LRESULT sel = SendMessageA(GetDlgItem(cmb1), CB_GETCURSEL, 0, 0);
        if (sel >= 0)
            m_ofn.nFilterIndex = DWORD(sel) + 1;
        m_customPatterns.clear();
        FillList();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CFileDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KW_FILEDIALOG_ANSWER) {
        ApplyScriptedAnswer();
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

// [SECTION] Scripted answers

void CFileDialog::ApplyScriptedAnswer() {
    auto& answers = ScriptedAnswers();
    if (answers.empty())
        return;
    const std::optional<std::string> answer = std::move(answers.front());
    answers.pop_front();
    if (!answer) {
        EndDialog(IDCANCEL);
        return;
    }
    SetWindowTextA(GetDlgItem(edt1), answer->c_str());
    TakeName(*answer);
}

namespace kw::afx {

void QueueFileDialogAnswer(std::optional<std::string> answer) {
    ScriptedAnswers().push_back(std::move(answer));
}

std::size_t ClearFileDialogAnswers() {
    const std::size_t n = ScriptedAnswers().size();
    ScriptedAnswers().clear();
    return n;
}

} // namespace kw::afx
