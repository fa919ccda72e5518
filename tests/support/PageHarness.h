#pragma once
// One of the module's property pages (or one of the runtime's stock
// pages), opened headless on controls the way a property frame opens it:
// created through the module's factory, given a site and the objects,
// activated in a window of its own and shown. Items are driven as a user
// drives them, so the page hears of each change.
//
//   kw::headless::HeadlessSession session;
//   PageHarness page(session, kw::ids::CLSID_PolPropPage);
//   page.Open({pol.Get()});
//   page.Retype(CPolPropPage::IDC_WIDTH, "40");
//   EXPECT_EQ(page.Apply(), S_OK);
#include "module/ModuleObjects.h"
#include "platform/afx/OleObjectFactory.h"
#include "platform/afx/PropertyPageInterfaces.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/com/ComLoader.h"
#include "platform/com/ComObject.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

class PageHarness {
public:
    // Creates the page; the session must outlive the harness.
    PageHarness(kw::headless::HeadlessSession& session, REFCLSID page) : m_session(session) {
        ComPtr<IClassFactory> factory;
        if (AfxDllGetClassObject(kw::module::Factories(), page, IID_IClassFactory,
                                 factory.OutVoid()) != S_OK) {
            // The runtime's own pages (font, colour, picture).
            CoGetClassObject(page, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             factory.OutVoid());
        }
        EXPECT_TRUE(factory) << "no class object for the page";
        if (factory) {
            EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPropertyPage, m_page.OutVoid()), S_OK);
        }
        m_frame = CreateWindowExA(0, "STATIC", "Control Properties", WS_VISIBLE, 40, 40, 560, 420,
                                  nullptr, nullptr, nullptr, nullptr);
        if (m_page)
            m_page->SetPageSite(m_site.Get());
    }
    ~PageHarness() {
        if (m_page) {
            m_page->Deactivate();
            m_page->SetPageSite(nullptr);
        }
        if (IsWindow(m_frame))
            DestroyWindow(m_frame);
    }
    PageHarness(const PageHarness&) = delete;
    PageHarness& operator=(const PageHarness&) = delete;

    IPropertyPage* Page() const { return m_page.Get(); }
    explicit operator bool() const { return bool(m_page); }

    // Hands the page the objects and shows it; false when the page refused.
    bool Open(std::initializer_list<IDispatch*> objects) {
        if (!m_page)
            return false;
        std::vector<IUnknown*> unknowns(objects.begin(), objects.end());
        if (m_page->SetObjects(ULONG(unknowns.size()), unknowns.data()) != S_OK)
            return false;
        PROPPAGEINFO info{};
        m_page->GetPageInfo(&info);
        const RECT rc{8, 8, 8 + info.size.cx, 8 + info.size.cy};
        if (m_page->Activate(m_frame, &rc, TRUE) != S_OK)
            return false;
        m_page->Show(SW_SHOW);
        m_session.Pump();
        return true;
    }

    // The page's dialog window (a child of the harness's frame window).
    HWND Window() const { return GetWindow(m_frame, GW_CHILD); }
    HWND Item(int id) const { return GetDlgItem(Window(), id); }
    std::string Text(int id) const {
        char buffer[512]{};
        GetWindowTextA(Item(id), buffer, int(sizeof buffer));
        return buffer;
    }
    bool Checked(int id) const {
        return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    int Selection(int id) const { return int(SendMessageA(Item(id), CB_GETCURSEL, 0, 0)); }

    // [SECTION] A user's changes

    // Replaces an edit's text by typing.
    void Retype(int id, const char* text) {
        SetFocus(Item(id));
        SendMessageA(Item(id), EM_SETSEL, 0, -1);
        m_session.Type(text);
    }
    // Clicks a button, check box or radio button.
    void Click(int id) {
        SendMessageA(Item(id), BM_CLICK, 0, 0);
        m_session.Pump();
    }
    // Chooses entry `index` of a drop-down list with the keyboard.
    void Choose(int id, int index) {
        SetFocus(Item(id));
        m_session.Key(VK_HOME);
        for (int i = 0; i < index; ++i)
            m_session.Key(VK_DOWN);
    }

    // [SECTION] What a frame asks

    HRESULT Apply() {
        const HRESULT hr = m_page->Apply();
        m_session.Pump();
        return hr;
    }
    bool Dirty() const { return m_page->IsPageDirty() == S_OK; }
    // The message boxes shown so far (a refused value shows one), cleared.
    std::vector<std::string> TakeMessages() {
        std::vector<std::string> texts;
        for (const auto& box : m_session.Modal().messageBoxes)
            texts.push_back(box.text);
        m_session.Modal().messageBoxes.clear();
        return texts;
    }
    // A PNG of the page as shown.
    bool Snapshot(const std::string& path) const { return m_session.Snapshot(Window(), path); }

private:
    class Site final : public CComObjectRoot<IPropertyPageSite, IID_IPropertyPageSite> {
    public:
        STDMETHOD(OnStatusChange)(DWORD) override { return S_OK; }
        STDMETHOD(GetLocaleID)(LCID* id) override {
            *id = LOCALE_USER_DEFAULT;
            return S_OK;
        }
    };

    kw::headless::HeadlessSession& m_session;
    ComPtr<Site> m_site = ComPtr<Site>::Attach(new Site);
    ComPtr<IPropertyPage> m_page;
    HWND m_frame{nullptr};
};
