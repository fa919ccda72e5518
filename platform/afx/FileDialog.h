#pragma once
// CFileDialog: the platform's file-open (and save) dialog, a modal dialog
// built from our own controls: the folder it shows, a list of its folders
// and files (".." first, then folders as "name/", then the files that match
// the chosen filter), a name field, the filter list when a filter is given,
// and the buttons Open and Cancel.
//
// A folder is entered by a double click, by Enter or Open while it is
// selected in the list, or by typing its name (relative or absolute, ".."
// too) and pressing Open. A typed pattern with * or ? becomes the list's
// filter. A typed name is taken relative to the folder shown. In open mode a
// name that is no existing file is refused with a message and the dialog
// stays open; in save mode an existing file is confirmed first under
// OFN_OVERWRITEPROMPT. Hidden files (names starting with a dot) are listed
// only under OFN_FORCESHOWHIDDEN. The process's working folder is never
// changed.
//
// Texts are Windows-1252, as everywhere in the framework: the names of the
// file system (UTF-8) are shown and returned converted; a name that the code
// page cannot hold is not listed. Callers that open the chosen file convert
// the path back with AnsiToUtf8.
//
// DoModal runs through the window manager's modal loop, so a headless
// host's modal handler drives it (ModalUiLog::onModalLoop receives the
// dialog window; its items have the ids below). Answers queued with
// kw::afx::QueueFileDialogAnswer are given by the next dialogs themselves,
// before anything else happens in them.
#include "platform/afx/CString.h"
#include "platform/afx/Dialog.h"

class CWnd;

#include <optional>
#include <string>
#include <vector>

// [SECTION] The platform's values

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_SHOWHELP = 0x00000010;
constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
constexpr DWORD OFN_ENABLETEMPLATE = 0x00000040;
constexpr DWORD OFN_ENABLETEMPLATEHANDLE = 0x00000080;
constexpr DWORD OFN_NOVALIDATE = 0x00000100;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_EXTENSIONDIFFERENT = 0x00000400;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
constexpr DWORD OFN_SHAREAWARE = 0x00004000;
constexpr DWORD OFN_NOREADONLYRETURN = 0x00008000;
constexpr DWORD OFN_NOTESTFILECREATE = 0x00010000;
constexpr DWORD OFN_NONETWORKBUTTON = 0x00020000;
constexpr DWORD OFN_NOLONGNAMES = 0x00040000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_NODEREFERENCELINKS = 0x00100000;
constexpr DWORD OFN_LONGNAMES = 0x00200000;
constexpr DWORD OFN_ENABLEINCLUDENOTIFY = 0x00400000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;
constexpr DWORD OFN_DONTADDTORECENT = 0x02000000;
constexpr DWORD OFN_FORCESHOWHIDDEN = 0x10000000;

// The dialog's items, with the ids of the platform's file dialog templates.
constexpr int stc1 = 0x0440; // the folder shown
constexpr int stc2 = 0x0441; // "Files of type:"
constexpr int stc3 = 0x0442; // "File name:"
constexpr int stc4 = 0x0443; // "Look in:"
constexpr int lst1 = 0x0460; // folders and files
constexpr int cmb1 = 0x0470; // the filters
constexpr int edt1 = 0x0480; // the name

struct OPENFILENAMEA {
    DWORD lStructSize{sizeof(OPENFILENAMEA)};
    HWND hwndOwner{nullptr};
    // Pairs of display text and pattern ("*.bmp;*.ico"), each ended by a
    // zero byte, the list ended by a second one.
    LPCSTR lpstrFilter{nullptr};
    DWORD nFilterIndex{0}; // 1-based; 0 takes the first
    LPSTR lpstrFile{nullptr}; // in: a name to start with; out: the chosen path
    DWORD nMaxFile{0};
    LPSTR lpstrFileTitle{nullptr}; // out: the chosen name, when given
    DWORD nMaxFileTitle{0};
    LPCSTR lpstrInitialDir{nullptr};
    LPCSTR lpstrTitle{nullptr};
    DWORD Flags{0};
    WORD nFileOffset{0};    // of the name in lpstrFile
    WORD nFileExtension{0}; // of the extension (after the dot), 0 for none
    LPCSTR lpstrDefExt{nullptr}; // appended to a typed name without one
};
using OPENFILENAME = OPENFILENAMEA;

class CFileDialog : public CDialog {
public:
    // `lpszFilter` is the framework's form: "Bitmaps (*.bmp)|*.bmp|All
    // Files (*.*)|*.*||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr,
                         LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCTSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

    // IDOK with a chosen file, IDCANCEL otherwise.
    INT_PTR DoModal() override;

    // The chosen file: its whole path, its name, its extension (no dot).
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const; // the name without its extension
    // The folder the dialog shows (while it runs) or showed last.
    CString GetFolderPath() const { return m_folder; }

    OPENFILENAME m_ofn;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Filter {
        std::string text;
        std::vector<std::string> patterns;
    };
    void ReadFilters();
    bool Navigate(const std::string& folder);
    void FillList();
    // A name typed or chosen: a folder is entered, a pattern filters, a
    // file ends the dialog; false when it was refused.
    bool TakeName(const std::string& typed);
    bool Finish(const std::string& path);
    std::string Resolve(const std::string& typed) const;
    void ApplyScriptedAnswer();

    BOOL m_open;
    std::string m_filterText; // the zero-separated form m_ofn points to
    char m_fileBuffer[4096]{};
    std::vector<Filter> m_filters;
    std::vector<std::string> m_customPatterns; // typed with * or ?
    CString m_folder;
};

namespace kw::afx {

// Queues the answer of the next file dialog on this thread: a path (taken
// as if typed into the name field and confirmed with Open) or nothing
// (Cancel). Answers are used in order, one per dialog.
void QueueFileDialogAnswer(std::optional<std::string> answer);
// Drops the answers not yet used; returns how many there were.
std::size_t ClearFileDialogAnswers();

} // namespace kw::afx
