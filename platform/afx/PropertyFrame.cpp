// The property frame: its layout, its pages' site, and OK, Cancel and Apply.
#include "platform/afx/PropertyFrame.h"

#include "platform/afx/Dialog.h"
#include "platform/com/ComLoader.h"
#include "platform/com/ComObject.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
// Positions come from OnInitDialog, in pixels, once the pages are measured.
const DialogItemTemplate kFrameItems[] = {
    {WC_TABCONTROL, "", AFX_IDC_TAB_CONTROL, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, 0, 0,
     10, 10},
    {"BUTTON", "OK", IDOK, kButton | BS_DEFPUSHBUTTON | WS_GROUP, 0, 0, 0, 50, 14},
    {"BUTTON", "Cancel", IDCANCEL, kButton, 0, 0, 0, 50, 14},
    {"BUTTON", "&Apply", ID_APPLY_NOW, kButton | WS_DISABLED, 0, 0, 0, 50, 14},
};

// Margins and gaps in dialog units, as the platform's frames have them.
constexpr int kMargin = 7;
constexpr int kGap = 4;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;

class CPropertyFrame;

class CFrameSite final : public CComObjectRoot<IPropertyPageSite, IID_IPropertyPageSite> {
public:
    explicit CFrameSite(CPropertyFrame* frame) : m_frame(frame) {}
    STDMETHOD(OnStatusChange)(DWORD flags) override;
    STDMETHOD(GetLocaleID)(LCID* locale) override {
        if (!locale)
            return E_POINTER;
        *locale = LOCALE_USER_DEFAULT;
        return S_OK;
    }
    void Detach() { m_frame = nullptr; }

private:
    CPropertyFrame* m_frame;
};

class CPropertyFrame final : public CDialog {
public:
    CPropertyFrame(const DialogTemplate* t, HWND owner, std::span<IPropertyPage* const> pages)
        : CDialog(t, owner), m_pages(pages.begin(), pages.end()) {}

    void UpdateApply() {
        const bool dirty = std::any_of(m_pages.begin(), m_pages.end(), [](IPropertyPage* page) {
            return page->IsPageDirty() == S_OK;
        });
        if (const HWND apply = GetDlgItem(ID_APPLY_NOW))
            EnableWindow(apply, dirty ? TRUE : FALSE);
    }

protected:
    BOOL OnInitDialog() override {
        SIZE largest{0, 0};
        for (IPropertyPage* page : m_pages) {
            PROPPAGEINFO info;
            if (SUCCEEDED(page->GetPageInfo(&info))) {
                largest.cx = std::max(largest.cx, info.size.cx);
                largest.cy = std::max(largest.cy, info.size.cy);
            }
        }
        const HWND tab = GetDlgItem(AFX_IDC_TAB_CONTROL);
        for (IPropertyPage* page : m_pages) {
            PROPPAGEINFO info;
            page->GetPageInfo(&info);
            TCITEMA item;
            item.mask = TCIF_TEXT;
            item.pszText = info.title.data();
            SendMessageA(tab, TCM_INSERTITEMA, SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0),
                         reinterpret_cast<LPARAM>(&item));
        }
        RECT units{kMargin, kGap, kButtonWidth, kButtonHeight};
        MapDialogRect(&units);
        const int margin = units.left;
        const int gap = units.top;
        // The tab control around the largest page.
        RECT tabRect{0, 0, largest.cx, largest.cy};
        SendMessageA(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&tabRect));
        OffsetRect(&tabRect, margin - tabRect.left, margin - tabRect.top);
        MoveWindow(tab, tabRect.left, tabRect.top, tabRect.right - tabRect.left,
                   tabRect.bottom - tabRect.top, FALSE);
        const int buttonsTop = tabRect.bottom + gap;
        const int width = tabRect.right + margin;
        const int height = buttonsTop + units.bottom + margin;
        int x = width - margin - units.right;
        for (int id : {ID_APPLY_NOW, IDCANCEL, IDOK}) {
            MoveWindow(GetDlgItem(id), x, buttonsTop, units.right, units.bottom, FALSE);
            x -= units.right + gap;
        }
        RECT window;
        GetWindowRect(m_hWnd, &window);
        const int left = window.left + ((window.right - window.left) - width) / 2;
        const int top = window.top + ((window.bottom - window.top) - height) / 2;
        MoveWindow(m_hWnd, left, top, width, height, TRUE);
        m_display = RECT{0, 0, tabRect.right - tabRect.left, tabRect.bottom - tabRect.top};
        SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&m_display));
        OffsetRect(&m_display, tabRect.left, tabRect.top);

        m_sites.clear();
        for (IPropertyPage* page : m_pages) {
            auto site = ComPtr<CFrameSite>::Attach(new CFrameSite(this));
            page->SetPageSite(site.Get());
            m_sites.push_back(std::move(site));
        }
        m_active.assign(m_pages.size(), false);
        ShowPage(0);
        return TRUE;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NOTIFY) {
            const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
            if (nm && nm->code == TCN_SELCHANGE && int(nm->idFrom) == AFX_IDC_TAB_CONTROL)
                ShowPage(int(SendMessageA(GetDlgItem(AFX_IDC_TAB_CONTROL), TCM_GETCURSEL, 0, 0)));
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == ID_APPLY_NOW && HIWORD(wParam) == BN_CLICKED) {
            ApplyAll();
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }

    // Ctrl+Tab and Ctrl+Shift+Tab go to the next and the previous page.
    BOOL OnDialogKey(HWND, WPARAM key) override {
        if (key != VK_TAB || GetKeyState(VK_CONTROL) >= 0 || m_pages.size() < 2)
            return FALSE;
        const int n = int(m_pages.size());
        const int next = (m_current + (GetKeyState(VK_SHIFT) < 0 ? n - 1 : 1)) % n;
        SendMessageA(GetDlgItem(AFX_IDC_TAB_CONTROL), TCM_SETCURSEL, WPARAM(next), 0);
        ShowPage(next);
        return TRUE;
    }

    void OnOK() override {
        if (ApplyAll())
            Finish(IDOK);
    }
    void OnCancel() override { Finish(IDCANCEL); }

public:
    // A frame a host drives step by step runs no loop: OK and Cancel only
    // record how it ended.
    void SetStepwise() { m_stepwise = true; }
    bool IsEnded(int* result) const {
        if (m_ended && result)
            *result = m_result;
        return m_ended;
    }

    // After the modal run: the pages let go of their windows and the site.
    void Close() {
        for (std::size_t i = 0; i < m_pages.size(); ++i) {
            if (i < m_active.size() && m_active[i])
                m_pages[i]->Deactivate();
            m_pages[i]->SetPageSite(nullptr);
        }
        for (auto& site : m_sites)
            site->Detach();
        m_sites.clear();
        m_active.assign(m_pages.size(), false);
    }

private:
    void ShowPage(int index) {
        if (index < 0 || index >= int(m_pages.size()))
            return;
        for (std::size_t i = 0; i < m_pages.size(); ++i)
            if (m_active[i] && int(i) != index)
                m_pages[i]->Show(SW_HIDE);
        if (!m_active[std::size_t(index)]) {
            if (FAILED(m_pages[std::size_t(index)]->Activate(m_hWnd, &m_display, TRUE)))
                return;
            m_active[std::size_t(index)] = true;
        }
        m_pages[std::size_t(index)]->Show(SW_SHOW);
        m_current = index;
    }

    // Applies the dirty pages; a refusal shows its page and stops.
    bool ApplyAll() {
        for (std::size_t i = 0; i < m_pages.size(); ++i) {
            if (m_pages[i]->IsPageDirty() != S_OK)
                continue;
            if (FAILED(m_pages[i]->Apply())) {
                if (int(i) != m_current) {
                    SendMessageA(GetDlgItem(AFX_IDC_TAB_CONTROL), TCM_SETCURSEL, i, 0);
                    ShowPage(int(i));
                }
                UpdateApply();
                return false;
            }
        }
        UpdateApply();
        return true;
    }

    void Finish(int result) {
        if (!m_stepwise) {
            EndDialog(result);
            return;
        }
        m_ended = true;
        m_result = result;
    }

    bool m_stepwise{false};
    bool m_ended{false};
    int m_result{IDCANCEL};
    std::vector<IPropertyPage*> m_pages;
    std::vector<ComPtr<CFrameSite>> m_sites;
    std::vector<bool> m_active;
    RECT m_display{};
    int m_current{-1};
};

HRESULT CFrameSite::OnStatusChange(DWORD) {
    if (m_frame)
        m_frame->UpdateApply();
    return S_OK;
}

} // namespace

namespace {

// The pages that take the objects; a page that refuses them is left out.
std::vector<IPropertyPage*> PagesOnObjects(std::span<IUnknown* const> objects,
                                           std::span<IPropertyPage* const> pages) {
    std::vector<IPropertyPage*> shown;
    for (IPropertyPage* page : pages) {
        if (!page)
            continue;
        IUnknown* const* first = objects.empty() ? nullptr : objects.data();
        if (FAILED(page->SetObjects(ULONG(objects.size()), const_cast<IUnknown**>(first)))) {
            std::fprintf(stderr, "property frame: a page refused the objects; it is left out\n");
            continue;
        }
        shown.push_back(page);
    }
    return shown;
}

DialogTemplate FrameTemplate(const std::string& title) {
    return DialogTemplate{
        0,          WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME | DS_CENTER,
        0,          0,
        0,          200,
        100,        title.c_str(),
        8,          "MS Shell Dlg",
        kFrameItems};
}

} // namespace

HRESULT AfxRunPropertyFrame(HWND owner, LPCSTR caption, std::span<IUnknown* const> objects,
                            std::span<IPropertyPage* const> pages, int* result) {
    const std::vector<IPropertyPage*> shown = PagesOnObjects(objects, pages);
    if (shown.empty())
        return E_FAIL;
    const std::string title = std::string(caption ? caption : "") + " Properties";
    const DialogTemplate frameTemplate = FrameTemplate(title);
    CPropertyFrame frame(&frameTemplate, owner, shown);
    const INT_PTR answer = frame.DoModal();
    frame.Close();
    for (IPropertyPage* page : shown)
        page->SetObjects(0, nullptr);
    if (result)
        *result = int(answer);
    return answer < 0 ? E_FAIL : S_OK;
}

// [SECTION] A frame driven step by step

struct CSteppedPropertyFrame::State {
    std::string title;
    DialogTemplate frameTemplate{};
    std::vector<ComPtr<IPropertyPage>> pages;
    std::vector<IPropertyPage*> shown;
    std::unique_ptr<CPropertyFrame> frame;
};

std::unique_ptr<CSteppedPropertyFrame>
CSteppedPropertyFrame::Open(HWND owner, LPCSTR caption, std::span<IUnknown* const> objects,
                            std::span<IPropertyPage* const> pages) {
    auto state = std::make_unique<State>();
    for (IPropertyPage* page : pages)
        state->pages.push_back(ComPtr<IPropertyPage>(page));
    state->shown = PagesOnObjects(objects, pages);
    if (state->shown.empty())
        return nullptr;
    state->title = std::string(caption ? caption : "") + " Properties";
    state->frameTemplate = FrameTemplate(state->title);
    state->frame = std::make_unique<CPropertyFrame>(&state->frameTemplate, owner, state->shown);
    state->frame->SetStepwise();
    if (!state->frame->CreateModeless(owner, FALSE)) {
        for (IPropertyPage* page : state->shown)
            page->SetObjects(0, nullptr);
        return nullptr;
    }
    ShowWindow(state->frame->GetSafeHwnd(), SW_SHOW);
    return std::unique_ptr<CSteppedPropertyFrame>(new CSteppedPropertyFrame(std::move(state)));
}

CSteppedPropertyFrame::CSteppedPropertyFrame(std::unique_ptr<State> state)
    : m_state(std::move(state)) {}

CSteppedPropertyFrame::~CSteppedPropertyFrame() {
    Close();
}

HWND CSteppedPropertyFrame::GetSafeHwnd() const {
    return m_state && m_state->frame ? m_state->frame->GetSafeHwnd() : nullptr;
}

std::vector<IPropertyPage*> CSteppedPropertyFrame::Pages() const {
    return m_state ? m_state->shown : std::vector<IPropertyPage*>{};
}

bool CSteppedPropertyFrame::IsEnded(int* result) const {
    return !m_state || !m_state->frame || m_state->frame->IsEnded(result);
}

void CSteppedPropertyFrame::Close() {
    if (!m_state || !m_state->frame)
        return;
    m_state->frame->Close();
    if (const HWND hwnd = m_state->frame->GetSafeHwnd(); hwnd && IsWindow(hwnd))
        ::DestroyWindow(hwnd);
    m_state->frame.reset();
    for (IPropertyPage* page : m_state->shown)
        page->SetObjects(0, nullptr);
}

HRESULT OleCreatePropertyFrame(HWND owner, UINT, UINT, LPCSTR caption, ULONG objectCount,
                               IUnknown** objects, ULONG pageCount, const CLSID* pages, LCID, DWORD,
                               void*) {
    if ((objectCount && !objects) || (pageCount && !pages))
        return E_POINTER;
    std::vector<ComPtr<IPropertyPage>> made;
    for (ULONG i = 0; i < pageCount; ++i) {
        ComPtr<IPropertyPage> page;
        const HRESULT hr = CoCreateInstance(pages[i], nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IPropertyPage, page.OutVoid());
        if (FAILED(hr)) {
            std::fprintf(stderr,
                         "property frame: page %s cannot be created (0x%08X); it is left out\n",
                         StringFromGuid(pages[i]).c_str(), unsigned(hr));
            continue;
        }
        made.push_back(std::move(page));
    }
    std::vector<IPropertyPage*> raw;
    for (const auto& page : made)
        raw.push_back(page.Get());
    return AfxRunPropertyFrame(owner, caption,
                               std::span<IUnknown* const>(objects, objects ? objectCount : 0), raw);
}
