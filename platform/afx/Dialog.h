#pragma once
// Modal dialogs built from dialog templates.
//
// A dialog window is of the class "#32770". Its size and the positions of its
// items come from the template's dialog units, turned into pixels with the
// base units of the template's font: a horizontal unit is a quarter of the
// font's average character width, a vertical unit an eighth of its height.
// Each item becomes a child window of its class with its id, style and text,
// drawing with the dialog's font; a combo box or list box is filled with the
// item's initial data.
//
// The keyboard works as in a dialog: Enter clicks the focused push button or
// else the default one (IDOK when there is none), Escape sends IDCANCEL, Tab
// and Shift+Tab move between the tab stops, the arrow keys within a group
// (choosing automatic radio buttons), and Alt with a letter, or the letter
// alone where the focused control types no characters, finds the label or
// button with that mnemonic (platform/user/DialogNavigation.h). A control
// that asks for a key through WM_GETDLGCODE (DLGC_WANTALLKEYS, DLGC_WANTTAB,
// DLGC_WANTARROWS, DLGC_WANTCHARS) gets it instead.
//
// A dialog may also be built without a modal run (CreateModeless), as a
// child inside another window: a property page in its frame. Such a child
// dialog is a control parent: its controls join the keyboard order of the
// dialog around it, and Enter and Escape act on that outer dialog.
//
// DoModal runs the window through the window manager's modal loop, so the
// host's modal handler runs it (a headless host's recording handler ends it
// as a user closing the window would).
#include "platform/afx/DialogTemplate.h"
#include "platform/afx/ModuleResources.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/user/UserTypes.h"

#include <cstdint>
#include <map>
#include <vector>

constexpr DWORD DS_ABSALIGN = 0x0001;
constexpr DWORD DS_SYSMODAL = 0x0002;
constexpr DWORD DS_3DLOOK = 0x0004;
constexpr DWORD DS_FIXEDSYS = 0x0008;
constexpr DWORD DS_NOFAILCREATE = 0x0010;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_CONTROL = 0x0400;
constexpr DWORD DS_CENTER = 0x0800;
constexpr DWORD DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;

// The window class of dialogs.
inline constexpr const char* kDialogClass = "#32770";

// The id of the About box in the module's resources.
constexpr UINT IDD_ABOUTBOX = 50;

class CDialog {
public:
    // A template of the module's resources, found when DoModal runs.
    CDialog(UINT templateId, HWND parent, HMODULEINSTANCE resources);
    explicit CDialog(const DialogTemplate* dialogTemplate, HWND parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Builds the window, runs it modally and destroys it. The owner (the
    // parent's top-level window) is disabled meanwhile. Returns the value
    // given to EndDialog, IDCANCEL when the window was closed otherwise, -1
    // when the dialog could not be built (no such template, an item of an
    // unknown class without DS_NOFAILCREATE).
    virtual INT_PTR DoModal();
    // Builds the window without a modal run: a template with WS_CHILD (or
    // any with `asChild`) becomes a child of `parent` at its template
    // position, any other a popup owned by it. WM_INITDIALOG has been
    // handled when it returns. FALSE when the dialog could not be built.
    BOOL CreateModeless(HWND parent, BOOL asChild = FALSE);
    // The size of the template's window in pixels, measured with its font.
    BOOL GetTemplateSize(SIZE* size) const;
    // Ends the modal loop; DoModal returns `result`.
    void EndDialog(int result);

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const;
    // The dialog's font (owned by the dialog) and its base units.
    HFONT GetFont() const { return m_font; }
    SIZE GetBaseUnits() const { return m_baseUnits; }
    // Dialog units of this dialog's template to pixels.
    void MapDialogRect(RECT* rc) const;

    // The dialog object of a dialog window; null for other windows.
    static CDialog* FromHandle(HWND hwnd);

protected:
    const DialogTemplate* GetTemplate() const { return FindTemplate(); }
    // The outermost dialog this one lies in (itself when it is no child).
    CDialog* RootDialog();

    // A dialog key (Enter, Escape, Tab, an arrow) reaching the outermost
    // dialog, before the dialog's own handling; TRUE when it was used.
    virtual BOOL OnDialogKey(HWND focus, WPARAM key);

    // WM_INITDIALOG; TRUE lets the focus go to the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // WM_COMMAND; TRUE when handled. IDOK and IDCANCEL go to OnOK and OnCancel.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Every message of the dialog window; the default handles the ones above
    // and passes the rest to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd{nullptr};

private:
    static LRESULT DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT ItemProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    const DialogTemplate* FindTemplate() const;
    bool Create(const DialogTemplate& dialogTemplate, HWND owner, bool child = false);
    bool CreateItems(const DialogTemplate& dialogTemplate);
    bool HandleKey(HWND focus, WPARAM key);
    // A character the focused item does not type; true when it was a mnemonic.
    bool HandleMnemonic(HWND focus, WPARAM ch);
    void SetItemIcon(HWND item, const DialogItemTemplate& t);
    HWND DefaultButton() const;

    UINT m_templateId{0};
    HWND m_parent{nullptr};
    HMODULEINSTANCE m_resources{nullptr};
    const DialogTemplate* m_template{nullptr};
    HFONT m_font{nullptr};
    bool m_ownsFont{false};
    SIZE m_baseUnits{4, 8};
    std::vector<HWND> m_items;           // In template order.
    std::map<HWND, WNDPROC> m_itemProcs; // The items' own procedures.
    std::vector<HICON> m_icons;          // Loaded for SS_ICON items; ours.
    int m_defId{0};                      // Set by DM_SETDEFID.
};

// Dialog units to pixels for a window made by CDialog; FALSE for others.
BOOL MapDialogRect(HWND dialog, RECT* rc);

// Shows the module's About box (dialog 50) modally over `owner` and returns
// after OK or Escape: IDOK or IDCANCEL, -1 when the module has no About box.
int AfxShowAboutBox(HMODULEINSTANCE resources, HWND owner);
