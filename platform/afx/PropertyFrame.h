#pragma once
// The property frame: a modal dialog with a tab control, one tab per page in
// the order given, and the buttons OK, Cancel and Apply. Its title is the
// objects' name with " Properties". Each page edits every object; the frame
// is the pages' site.
//
// Ctrl+Tab and Ctrl+Shift+Tab turn the pages. OK applies every dirty page
// and closes; a page that refuses a value keeps
// the frame open on that page. Cancel closes and writes nothing more. Apply
// applies every dirty page and is enabled only while a page is dirty. The
// frame is as large as the largest page needs. Headless, the host's modal
// handler runs it like any dialog.
#include "platform/afx/PropertyPageInterfaces.h"

#include <memory>
#include <span>
#include <vector>

// The ids of the frame's own items.
constexpr int AFX_IDC_TAB_CONTROL = 0x3020;
constexpr int ID_APPLY_NOW = 0x3021;

// Creates each page by its class identifier through the component runtime
// (which knows the stock font, colour and picture pages itself); a class
// that cannot be created is skipped with a note on standard error. Runs
// the frame modally over `owner` and returns S_OK when it closed, E_FAIL
// when no page could be shown. `x`, `y`, the locale and the reserved
// parameters are accepted and not used: the frame centres on its owner.
HRESULT OleCreatePropertyFrame(HWND owner, UINT x, UINT y, LPCSTR caption, ULONG objectCount,
                               IUnknown** objects, ULONG pageCount, const CLSID* pages, LCID locale,
                               DWORD reserved, void* reserved2);

// The same with page objects already made. `result` receives IDOK or
// IDCANCEL.
HRESULT AfxRunPropertyFrame(HWND owner, LPCSTR caption, std::span<IUnknown* const> objects,
                            std::span<IPropertyPage* const> pages, int* result = nullptr);

// The same frame for a host that drives it one step at a time instead of
// running its loop (a script's frame): built and shown without a modal
// loop over `owner`, which stays enabled. OK and Cancel end it as they end
// the modal frame; the host then closes it.
class CSteppedPropertyFrame {
public:
    // Null when no page could be shown. The frame holds the pages.
    static std::unique_ptr<CSteppedPropertyFrame> Open(HWND owner, LPCSTR caption,
                                                       std::span<IUnknown* const> objects,
                                                       std::span<IPropertyPage* const> pages);
    ~CSteppedPropertyFrame();
    CSteppedPropertyFrame(const CSteppedPropertyFrame&) = delete;
    CSteppedPropertyFrame& operator=(const CSteppedPropertyFrame&) = delete;

    HWND GetSafeHwnd() const;
    // The pages shown, one per tab in order.
    std::vector<IPropertyPage*> Pages() const;
    // Whether OK or Cancel ended the frame (or it was closed), with IDOK or
    // IDCANCEL.
    bool IsEnded(int* result = nullptr) const;
    // The pages let go of their windows and objects; the window goes.
    void Close();

private:
    struct State;
    explicit CSteppedPropertyFrame(std::unique_ptr<State> state);
    std::unique_ptr<State> m_state;
};
