// Property pages: the exchange both ways for every type, range refusals
// that write nothing, writes to every selected object, and the page-site
// protocol a frame drives.
#include "platform/afx/OleObjectFactory.h"
#include "platform/afx/OlePropertyPage.h"
#include "platform/afx/PropertyFrame.h"
#include "platform/afx/SpinButtonCtrl.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/com/DispatchAdapters.h"
#include "platform/com/DispatchObject.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>

namespace {

// [SECTION] An object with a property of every type

constexpr IID IID_DPanel = MakeGuid(0x44444444, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);

class CPanel final : public CDispatchObject {
public:
    CPanel();
    CString m_label{"Axis"};
    float m_low{1.5f};
    double m_step{0.125};
    SHORT m_width{120};
    LONG m_count{-70000};
    LONG m_decimals{3};
    SHORT m_typ{1};
    BOOL m_flag{TRUE};
    SHORT m_unit{2};
    // Writes per property, to see what an apply touched.
    std::map<std::string, int> writes;
    void WroteLabel() { ++writes["Label"]; }
    void WroteLow() { ++writes["LowLimit"]; }
    void WroteStep() { ++writes["StepVal"]; }
    void WroteWidth() { ++writes["Width"]; }
    void WroteCount() { ++writes["Count"]; }
    // Count through functions, as a control whose setter checks the value.
    LONG GetCount() { return m_count; }
    void SetCount(LONG count) {
        if (count > 1000000)
            ThrowDispatchException(E_INVALIDARG, "Count is too large");
        m_count = count;
        WroteCount();
    }
    void WroteDecimals() { ++writes["Decimals"]; }
    void WroteTyp() { ++writes["Typ"]; }
    void WroteFlag() { ++writes["Flag"]; }
    void WroteUnit() { ++writes["Unit"]; }
    int TotalWrites() const {
        int n = 0;
        for (const auto& [name, count] : writes)
            n += count;
        return n;
    }
};

const DispEntry kRows[] = {
    DispMember<&CPanel::m_label, &CPanel::WroteLabel>("Label", 1, VT_BSTR),
    DispMember<&CPanel::m_low, &CPanel::WroteLow>("LowLimit", 2, VT_R4),
    DispMember<&CPanel::m_step, &CPanel::WroteStep>("StepVal", 3, VT_R8),
    DispMember<&CPanel::m_width, &CPanel::WroteWidth>("Width", 4, VT_I2),
    DispGetSet<&CPanel::GetCount, &CPanel::SetCount>("Count", 5, VT_I4),
    DispMember<&CPanel::m_decimals, &CPanel::WroteDecimals>("Decimals", 6, VT_I4),
    DispMember<&CPanel::m_typ, &CPanel::WroteTyp>("Typ", 7, VT_I2),
    DispMember<&CPanel::m_flag, &CPanel::WroteFlag>("Flag", 8, VT_BOOL),
    DispMember<&CPanel::m_unit, &CPanel::WroteUnit>("Unit", 9, VT_I2),
};
const DispTable kTable{kRows};

CPanel::CPanel() : CDispatchObject({nullptr, &kTable, IID_DPanel, GUID{}, nullptr}, this) {}

// [SECTION] A page of every exchange

enum : int {
    IDC_LABEL = 100,
    IDC_LOW,
    IDC_STEP,
    IDC_WIDTH,
    IDC_COUNT,
    IDC_DECIMALS,
    IDC_SMALL,
    IDC_TYP0 = 110,
    IDC_TYP1,
    IDC_TYP2,
    IDC_FLAG = 120,
    IDC_UNIT = 130,
    IDC_SPIN = 140,
};

constexpr DWORD kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kRadio = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
const DialogItemTemplate kItems[] = {
    {"EDIT", "", IDC_LABEL, kEdit, 0, 60, 4, 80, 12},
    {"EDIT", "", IDC_LOW, kEdit, 0, 60, 20, 80, 12},
    {"EDIT", "", IDC_STEP, kEdit, 0, 60, 36, 80, 12},
    {"EDIT", "", IDC_WIDTH, kEdit, 0, 60, 52, 40, 12},
    {UPDOWN_CLASS, "", IDC_SPIN,
     WS_CHILD | WS_VISIBLE | UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0,
     0, 10, 14},
    {"EDIT", "", IDC_COUNT, kEdit, 0, 60, 68, 80, 12},
    {"EDIT", "", IDC_DECIMALS, kEdit, 0, 60, 84, 80, 12},
    {"EDIT", "", IDC_SMALL, kEdit, 0, 60, 100, 80, 12},
    {"BUTTON", "Short", IDC_TYP0, kRadio | WS_GROUP | WS_TABSTOP, 0, 150, 4, 50, 10},
    {"BUTTON", "Float", IDC_TYP1, kRadio, 0, 150, 16, 50, 10},
    {"BUTTON", "Double", IDC_TYP2, kRadio, 0, 150, 28, 50, 10},
    {"BUTTON", "&Flag", IDC_FLAG, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX,
     0, 150, 44, 50, 10},
    {"COMBOBOX", "", IDC_UNIT, WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 150, 60,
     60, 80},
};
constexpr UINT kPageDialog = 51;
constexpr UINT kPageCaption = 120;
constexpr UINT kSecondDialog = 76;
constexpr UINT kSecondCaption = 131;
constexpr int IDC_SECOND_COUNT = 200;
const DialogItemTemplate kSecondItems[] = {
    {"EDIT", "", IDC_SECOND_COUNT, kEdit, 0, 10, 10, 60, 12},
};
const DialogTemplate kDialogs[] = {
    {kPageDialog, WS_CHILD | DS_SETFONT, 0, 0, 0, 220, 120, "", 8, "MS Shell Dlg", kItems},
    {kSecondDialog, WS_CHILD | DS_SETFONT, 0, 0, 0, 120, 140, "", 8, "MS Shell Dlg", kSecondItems},
};
const StringTableEntry kStrings[] = {{kPageCaption, "Typ & Label"}, {kSecondCaption, "Layout"}};
const CModuleResources kResources{&kStrings, kStrings, kDialogs};

class CTestPage : public COlePropertyPage {
public:
    CTestPage() : COlePropertyPage(&kResources, kPageDialog, kPageCaption) {}

    CString m_label;
    float m_low{0};
    double m_step{0};
    short m_width{0};
    long m_count{0};
    UINT m_decimals{0};
    int m_small{7};
    int m_typ{-1};
    int m_flag{0};
    int m_unit{-1};
    CSpinButtonCtrl m_spin;
    int initCalls{0};

protected:
    BOOL OnInitDialog() override {
        ++initCalls;
        for (const char* unit : {"mm", "inch", "%"})
            SendMessageA(GetDlgItem(IDC_UNIT), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unit));
        COlePropertyPage::OnInitDialog();
        m_spin.SetRange(10, 200);
        return FALSE;
    }

    void DoDataExchange(CDataExchange* pDX) override {
        DDP_Text(pDX, IDC_LABEL, m_label, "Label");
        DDX_Text(pDX, IDC_LABEL, m_label);
        DDP_Text(pDX, IDC_LOW, m_low, "LowLimit");
        DDX_Text(pDX, IDC_LOW, m_low);
        DDP_Text(pDX, IDC_STEP, m_step, "stepval"); // letter case does not matter
        DDX_Text(pDX, IDC_STEP, m_step);
        DDX_Control(pDX, IDC_SPIN, m_spin);
        DDP_Text(pDX, IDC_WIDTH, m_width, "Width");
        DDX_Text(pDX, IDC_WIDTH, m_width);
        DDV_MinMaxInt(pDX, m_width, 10, 400);
        DDP_Text(pDX, IDC_COUNT, m_count, "Count");
        DDX_Text(pDX, IDC_COUNT, m_count);
        DDP_Text(pDX, IDC_DECIMALS, m_decimals, "Decimals");
        DDX_Text(pDX, IDC_DECIMALS, m_decimals);
        DDV_MinMaxUInt(pDX, m_decimals, 0, 8);
        DDX_Text(pDX, IDC_SMALL, m_small);
        DDP_Radio(pDX, IDC_TYP0, m_typ, "Typ");
        DDX_Radio(pDX, IDC_TYP0, m_typ);
        DDP_Check(pDX, IDC_FLAG, m_flag, "Flag");
        DDX_Check(pDX, IDC_FLAG, m_flag);
        DDX_CBIndex(pDX, IDC_UNIT, m_unit);
        DDP_PostProcessing(pDX);
        // A value no single item holds: the page reads and writes it itself.
        if (!pDX->m_bSaveAndValidate) {
            short unit = 0;
            GetPropText("Unit", &unit);
            SendMessageA(GetDlgItem(IDC_UNIT), CB_SETCURSEL, WPARAM(unit), 0);
        } else if (!pDX->Failed() && IsControlChanged(IDC_UNIT)) {
            SetPropText("Unit", short(m_unit));
        }
    }
};

class CSecondPage : public COlePropertyPage {
public:
    CSecondPage() : COlePropertyPage(&kResources, kSecondDialog, kSecondCaption) {}
    long m_count{0};

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDP_Text(pDX, IDC_SECOND_COUNT, m_count, "Count");
        DDX_Text(pDX, IDC_SECOND_COUNT, m_count);
        DDP_PostProcessing(pDX);
    }
};

class CRecordingSite final : public CComObjectRoot<IPropertyPageSite, IID_IPropertyPageSite> {
public:
    STDMETHOD(OnStatusChange)(DWORD flags) override {
        statuses.push_back(flags);
        return S_OK;
    }
    STDMETHOD(GetLocaleID)(LCID* id) override {
        *id = LOCALE_USER_DEFAULT;
        return S_OK;
    }
    std::vector<DWORD> statuses;
};

std::string TextOf(HWND hwnd) {
    char buffer[128]{};
    GetWindowTextA(hwnd, buffer, int(sizeof buffer));
    return buffer;
}

class PropertyPageTest : public ::testing::Test {
protected:
    PropertyPageTest() {
        frame = CreateWindowExA(0, "STATIC", "Panel Properties", WS_VISIBLE, 50, 50, 500, 300,
                                nullptr, nullptr, nullptr, nullptr);
        page->SetPageSite(site.Get());
    }
    ~PropertyPageTest() override {
        page->Deactivate();
        page->SetPageSite(nullptr);
    }

    void Open(std::initializer_list<CPanel*> objects) {
        std::vector<IUnknown*> unknowns;
        for (CPanel* p : objects)
            unknowns.push_back(static_cast<IDispatch*>(p));
        ASSERT_EQ(page->SetObjects(ULONG(unknowns.size()), unknowns.data()), S_OK);
        const RECT rc{10, 10, 450, 250};
        ASSERT_EQ(page->Activate(frame, &rc, TRUE), S_OK);
        ASSERT_EQ(page->Show(SW_SHOW), S_OK);
    }
    HWND Item(int id) const { return GetDlgItem(page->GetSafeHwnd(), id); }
    // What a user typing into an item does.
    void Retype(int id, const char* text) {
        SetFocus(Item(id));
        SendMessageA(Item(id), EM_SETSEL, 0, -1);
        session.Type(text);
    }

    kw::headless::HeadlessSession session;
    HWND frame{nullptr};
    ComPtr<CRecordingSite> site = ComPtr<CRecordingSite>::Attach(new CRecordingSite);
    ComPtr<CTestPage> page = ComPtr<CTestPage>::Attach(new CTestPage);
    ComPtr<CPanel> panel = ComPtr<CPanel>::Attach(new CPanel);
    ComPtr<CPanel> second = ComPtr<CPanel>::Attach(new CPanel);
};

} // namespace

// [SECTION] Exchange

TEST_F(PropertyPageTest, OpeningShowsEveryPropertyInItsItem) {
    Open({panel.Get()});
    EXPECT_EQ(page->initCalls, 1);
    EXPECT_EQ(TextOf(Item(IDC_LABEL)), "Axis");
    EXPECT_EQ(TextOf(Item(IDC_LOW)), "1.5");
    EXPECT_EQ(TextOf(Item(IDC_STEP)), "0.125");
    EXPECT_EQ(TextOf(Item(IDC_WIDTH)), "120");
    EXPECT_EQ(TextOf(Item(IDC_COUNT)), "-70000");
    EXPECT_EQ(TextOf(Item(IDC_DECIMALS)), "3");
    EXPECT_EQ(TextOf(Item(IDC_SMALL)), "7") << "a member without a property";
    EXPECT_EQ(SendMessageA(Item(IDC_TYP1), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(Item(IDC_TYP0), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(Item(IDC_FLAG), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(Item(IDC_UNIT), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(page->m_spin.GetSafeHwnd(), Item(IDC_SPIN)) << "DDX_Control binds the spin";
    EXPECT_EQ(page->m_spin.GetBuddy()->GetSafeHwnd(), Item(IDC_WIDTH));
    EXPECT_EQ(page->IsPageDirty(), S_FALSE) << "showing values changes nothing";
    EXPECT_TRUE(site->statuses.empty());
    EXPECT_EQ(panel->TotalWrites(), 0);
}

TEST_F(PropertyPageTest, ApplyingWritesTheChangedItemsOfEveryTypeAndNothingElse) {
    Open({panel.Get()});
    Retype(IDC_LABEL, "Spindle");
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    ASSERT_FALSE(site->statuses.empty());
    EXPECT_EQ(site->statuses.front(), PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
    Retype(IDC_LOW, "-2.25");
    Retype(IDC_STEP, "1e-3");
    Retype(IDC_COUNT, "123456");
    Retype(IDC_DECIMALS, "8");
    SendMessageA(Item(IDC_TYP2), BM_CLICK, 0, 0);
    SendMessageA(Item(IDC_FLAG), BM_CLICK, 0, 0);
    SendMessageA(Item(IDC_UNIT), CB_SETCURSEL, 0, 0); // by program: not the user's change
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(panel->m_label, "Spindle");
    EXPECT_FLOAT_EQ(panel->m_low, -2.25f);
    EXPECT_DOUBLE_EQ(panel->m_step, 0.001);
    EXPECT_EQ(panel->m_count, 123456);
    EXPECT_EQ(panel->m_decimals, 8);
    EXPECT_EQ(panel->m_typ, 2);
    EXPECT_FALSE(panel->m_flag);
    EXPECT_EQ(panel->m_width, 120);
    EXPECT_EQ(panel->m_unit, 2);
    EXPECT_EQ(panel->writes, (std::map<std::string, int>{{"Label", 1},
                                                         {"LowLimit", 1},
                                                         {"StepVal", 1},
                                                         {"Count", 1},
                                                         {"Decimals", 1},
                                                         {"Typ", 1},
                                                         {"Flag", 1}}))
        << "Width and Unit were left alone";
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    EXPECT_EQ(site->statuses.back(), PROPPAGESTATUS_CLEAN);

    // Nothing changed since: a second apply writes nothing.
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(panel->TotalWrites(), 7);
}

TEST_F(PropertyPageTest, TheSpinStepsItsBuddyAndTheStepIsApplied) {
    Open({panel.Get()});
    SetFocus(Item(IDC_WIDTH));
    session.Key(VK_UP);
    EXPECT_EQ(TextOf(Item(IDC_WIDTH)), "121");
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    // A user choosing from the combo box is a change of its own.
    SetFocus(Item(IDC_UNIT));
    session.Key(VK_HOME);
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(panel->m_width, 121);
    EXPECT_EQ(panel->m_unit, 0);
}

// [SECTION] Refusals

TEST_F(PropertyPageTest, AValueOutOfItsRangeKeepsThePageOpenAndWritesNothing) {
    Open({panel.Get()});
    Retype(IDC_LABEL, "Spindle");
    SetFocus(Item(IDC_UNIT));
    session.Key(VK_HOME);
    Retype(IDC_WIDTH, "5");
    session.Modal().messageBoxes.clear();
    EXPECT_EQ(page->Apply(), E_FAIL);
    ASSERT_EQ(session.Modal().messageBoxes.size(), 1u);
    const auto& box = session.Modal().messageBoxes[0];
    EXPECT_EQ(box.text, "Please enter an integer between 10 and 400.");
    EXPECT_EQ(box.caption, "Panel Properties");
    EXPECT_EQ(box.type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(panel->TotalWrites(), 0) << "not the label changed before, nor the page's own write";
    EXPECT_EQ(panel->m_label, "Axis");
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    EXPECT_TRUE(IsWindow(page->GetSafeHwnd()));
    EXPECT_EQ(GetFocus(), Item(IDC_WIDTH)) << "the refused item has the focus";
    DWORD start = 9;
    DWORD end = 9;
    SendMessageA(Item(IDC_WIDTH), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 1u) << "with its text selected";

    // Put right, everything changed goes in one apply.
    Retype(IDC_WIDTH, "400");
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(panel->m_width, 400);
    EXPECT_EQ(panel->m_label, "Spindle");
    EXPECT_EQ(panel->m_unit, 0);
}

TEST_F(PropertyPageTest, AValueAnObjectRefusesFailsTheApplyAndKeepsThePageDirty) {
    Open({panel.Get()});
    Retype(IDC_LABEL, "Spindle");
    Retype(IDC_COUNT, "2000000");
    session.Modal().messageBoxes.clear();
    EXPECT_EQ(page->Apply(), E_FAIL) << "not reported as success";
    ASSERT_EQ(session.Modal().messageBoxes.size(), 1u);
    EXPECT_EQ(session.Modal().messageBoxes[0].text, "The value of Count was not accepted.");
    EXPECT_EQ(panel->m_count, -70000) << "the object kept its value";
    EXPECT_EQ(panel->m_label, "Spindle") << "what it took stays written";
    EXPECT_EQ(page->IsPageDirty(), S_OK);

    // Put right, the next apply writes it and the page is clean.
    Retype(IDC_COUNT, "2000");
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(panel->m_count, 2000);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
}

TEST_F(PropertyPageTest, TextsThatAreNoNumberOfTheTypeAreRefusedWithTheFrameworksMessages) {
    Open({panel.Get()});
    const struct {
        int id;
        const char* typed;
        const char* message;
    } cases[] = {
        {IDC_LOW, "abc", "Please enter a number."},
        {IDC_STEP, "1.5x", "Please enter a number."},
        {IDC_WIDTH, "70000", "Please enter an integer."},
        {IDC_COUNT, "", "Please enter an integer."},
        {IDC_DECIMALS, "-1", "Please enter a positive integer."},
        {IDC_DECIMALS, "9", "Please enter an integer between 0 and 8."},
        {IDC_SMALL, "1.0", "Please enter an integer."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        char before[64]{};
        GetWindowTextA(Item(c.id), before, int(sizeof before));
        Retype(c.id, c.typed);
        if (!*c.typed)
            SetWindowTextA(Item(c.id), "");
        session.Modal().messageBoxes.clear();
        EXPECT_EQ(page->Apply(), E_FAIL);
        ASSERT_EQ(session.Modal().messageBoxes.size(), 1u) << "one message, the first refusal's";
        EXPECT_EQ(session.Modal().messageBoxes[0].text, c.message);
        SetWindowTextA(Item(c.id), before);
    }
    EXPECT_EQ(panel->TotalWrites(), 0);
    // "  42 " with blanks around is a number.
    Retype(IDC_COUNT, " 42 ");
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(panel->m_count, 42);
}

// [SECTION] Several objects

TEST_F(PropertyPageTest, ChangedItemsAreWrittenToEveryObjectAndOthersKeepTheirOwnValues) {
    second->m_label = "Other";
    second->m_count = 5;
    Open({panel.Get(), second.Get()});
    EXPECT_EQ(TextOf(Item(IDC_LABEL)), "Axis") << "the first object's values show";
    Retype(IDC_COUNT, "99");
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(panel->m_count, 99);
    EXPECT_EQ(second->m_count, 99);
    EXPECT_EQ(second->m_label, "Other") << "an item left alone is not written";

    EXPECT_TRUE(page->SetPropText("LABEL", "Both"));
    EXPECT_EQ(panel->m_label, "Both");
    EXPECT_EQ(second->m_label, "Both");
    CString label;
    EXPECT_TRUE(page->GetPropText("label", &label));
    EXPECT_EQ(label, "Both");
    EXPECT_FALSE(page->SetPropText("NoSuchProperty", 1));
    ULONG count = 0;
    page->GetObjectArray(&count);
    EXPECT_EQ(count, 2u);
}

// [SECTION] The page-site protocol

TEST_F(PropertyPageTest, AFrameGetsThePagesInfoAndActivatesAndDeactivatesIt) {
    PROPPAGEINFO info;
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    EXPECT_EQ(info.title, "Typ & Label");
    EXPECT_GT(info.size.cx, 220) << "dialog units in pixels";
    EXPECT_GT(info.size.cy, 120);
    EXPECT_TRUE(info.helpFile.empty());
    EXPECT_EQ(page->Help(nullptr), E_NOTIMPL);
    MSG msg{};
    EXPECT_EQ(page->TranslateAccelerator(&msg), S_FALSE);

    Open({panel.Get()});
    const HWND hwnd = page->GetSafeHwnd();
    EXPECT_EQ(GetParent(hwnd), frame);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 440);
    EXPECT_EQ(page->Activate(frame, nullptr, TRUE), E_UNEXPECTED) << "already active";
    Retype(IDC_LABEL, "Dropped");
    EXPECT_EQ(page->Deactivate(), S_OK);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(page->m_spin.GetSafeHwnd(), nullptr);
    // Applied without its window, the page has nothing to write.
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(panel->TotalWrites(), 0);

    // Active again, it shows the objects' values anew.
    const RECT again{0, 0, 400, 200};
    ASSERT_EQ(page->Activate(frame, &again, TRUE), S_OK);
    EXPECT_EQ(TextOf(Item(IDC_LABEL)), "Axis");
    EXPECT_EQ(page->m_spin.GetSafeHwnd(), Item(IDC_SPIN));

    IUnknown* notDispatch = static_cast<IUnknown*>(static_cast<IPropertyPageSite*>(site.Get()));
    EXPECT_EQ(page->SetObjects(1, &notDispatch), E_NOINTERFACE);
}

CFactoryList g_pageModule;

class CCountedPage : public COlePropertyPage {
public:
    CCountedPage() : COlePropertyPage(&kResources, kSecondDialog, kSecondCaption, &g_pageModule) {}
};

TEST_F(PropertyPageTest, APageHoldsItsModuleWhileItLives) {
    EXPECT_EQ(AfxDllCanUnloadNow(g_pageModule), S_OK);
    ComPtr<IPropertyPage> counted;
    ASSERT_EQ(COlePropertyPage::CreateObject<CCountedPage>(IID_IPropertyPage, counted.OutVoid()),
              S_OK);
    EXPECT_EQ(AfxDllCanUnloadNow(g_pageModule), S_FALSE);
    counted.Reset();
    EXPECT_EQ(AfxDllCanUnloadNow(g_pageModule), S_OK);
}

TEST_F(PropertyPageTest, AFactoryCreatesPagesFromTheirCreateFunction) {
    CFactoryList list;
    constexpr CLSID kPage = MakeGuid(0x44444444, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2);
    COlePropertyPageFactory factory(list, kPage, &COlePropertyPage::CreateObject<CTestPage>,
                                    "Test.PropPage.1", &kResources, 33);
    ComPtr<IPropertyPage> created;
    ASSERT_EQ(factory.CreateInstance(nullptr, IID_IPropertyPage, created.OutVoid()), S_OK);
    PROPPAGEINFO info;
    ASSERT_EQ(created->GetPageInfo(&info), S_OK);
    EXPECT_EQ(info.title, "Typ & Label");
    ComPtr<IDispatch> none;
    EXPECT_EQ(factory.CreateInstance(nullptr, IID_IDispatch, none.OutVoid()), E_NOINTERFACE);
}

// [SECTION] The property frame

class PropertyFrameTest : public PropertyPageTest {
protected:
    int RunFrame(std::function<void(HWND)> drive) {
        session.Modal().onModalLoop = [&, drive](HWND hwnd) {
            frameHwnd = hwnd;
            drive(hwnd);
        };
        IUnknown* objects[] = {static_cast<IDispatch*>(panel.Get()),
                               static_cast<IDispatch*>(second.Get())};
        IPropertyPage* pages[] = {page.Get(), secondPage.Get()};
        int result = 0;
        EXPECT_EQ(AfxRunPropertyFrame(frame, "Panel", objects, pages, &result), S_OK);
        return result;
    }
    static HWND GetDlgItemOf(IPropertyPage* p, int id) {
        auto* dialog = dynamic_cast<COlePropertyPage*>(p);
        return dialog ? GetDlgItem(dialog->GetSafeHwnd(), id) : nullptr;
    }
    void ClickTab(int index) {
        const HWND tab = GetDlgItem(frameHwnd, AFX_IDC_TAB_CONTROL);
        RECT rc{};
        SendMessageA(tab, TCM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&rc));
        session.MouseMove(tab, rc.left + 4, rc.top + 4);
        session.Click();
    }
    void ClickButton(int id) {
        session.MouseMove(GetDlgItem(frameHwnd, id), 4, 4);
        session.Click();
    }
    ComPtr<CSecondPage> secondPage = ComPtr<CSecondPage>::Attach(new CSecondPage);
    HWND frameHwnd{nullptr};
};

TEST_F(PropertyFrameTest, OneTabPerPageApplyOnlyWhileDirtyAndCancelWritesNothingMore) {
    const int result = RunFrame([&](HWND hwnd) {
        char title[64]{};
        GetWindowTextA(hwnd, title, int(sizeof title));
        EXPECT_STREQ(title, "Panel Properties");
        const HWND tab = GetDlgItem(hwnd, AFX_IDC_TAB_CONTROL);
        ASSERT_EQ(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 2);
        char text[32]{};
        TCITEMA item;
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = int(sizeof text);
        SendMessageA(tab, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, "Layout");
        const HWND apply = GetDlgItem(hwnd, ID_APPLY_NOW);
        EXPECT_FALSE(IsWindowEnabled(apply));
        ASSERT_TRUE(IsWindowVisible(page->GetSafeHwnd()));
        EXPECT_EQ(secondPage->GetSafeHwnd(), nullptr) << "a page is built when first shown";

        Retype(IDC_LABEL, "Both");
        EXPECT_TRUE(IsWindowEnabled(apply));
        ClickButton(ID_APPLY_NOW);
        EXPECT_EQ(panel->m_label, "Both");
        EXPECT_EQ(second->m_label, "Both") << "a page edits every object";
        EXPECT_FALSE(IsWindowEnabled(apply));

        ClickTab(1);
        EXPECT_FALSE(IsWindowVisible(page->GetSafeHwnd()));
        ASSERT_TRUE(IsWindowVisible(secondPage->GetSafeHwnd()));
        const HWND count = GetDlgItemOf(secondPage.Get(), IDC_SECOND_COUNT);
        SetFocus(count);
        SendMessageA(count, EM_SETSEL, 0, -1);
        session.Type("77");
        EXPECT_TRUE(IsWindowEnabled(apply));
        session.Key(VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(panel->m_count, -70000) << "Cancel writes nothing";
    EXPECT_EQ(second->m_count, -70000);
    EXPECT_EQ(page->GetSafeHwnd(), nullptr);
}

TEST_F(PropertyFrameTest, OkWithARefusedValueStaysOpenOnItsPage) {
    const int result = RunFrame([&](HWND hwnd) {
        Retype(IDC_WIDTH, "5");
        ClickTab(1);
        const HWND count = GetDlgItemOf(secondPage.Get(), IDC_SECOND_COUNT);
        SetFocus(count);
        SendMessageA(count, EM_SETSEL, 0, -1);
        session.Type("12");
        session.Modal().messageBoxes.clear();
        session.Key(VK_RETURN);
        EXPECT_FALSE(kw::user::IsModalLoopEnded(hwnd));
        ASSERT_EQ(session.Modal().messageBoxes.size(), 1u);
        EXPECT_EQ(session.Modal().messageBoxes[0].text,
                  "Please enter an integer between 10 and 400.");
        EXPECT_EQ(SendMessageA(GetDlgItem(hwnd, AFX_IDC_TAB_CONTROL), TCM_GETCURSEL, 0, 0), 0)
            << "back on the page that refused";
        EXPECT_TRUE(IsWindowVisible(page->GetSafeHwnd()));
        EXPECT_EQ(GetFocus(), Item(IDC_WIDTH));
        EXPECT_EQ(panel->m_width, 120);
        Retype(IDC_WIDTH, "50");
        // Ctrl+Tab turns the pages, from inside a page too.
        session.KeyDown(VK_CONTROL);
        session.Key(VK_TAB);
        EXPECT_EQ(SendMessageA(GetDlgItem(hwnd, AFX_IDC_TAB_CONTROL), TCM_GETCURSEL, 0, 0), 1);
        EXPECT_TRUE(IsWindowVisible(secondPage->GetSafeHwnd()));
        session.Key(VK_TAB);
        session.KeyUp(VK_CONTROL);
        EXPECT_EQ(SendMessageA(GetDlgItem(hwnd, AFX_IDC_TAB_CONTROL), TCM_GETCURSEL, 0, 0), 0);
        EXPECT_FALSE(IsWindowVisible(secondPage->GetSafeHwnd()));
        ClickButton(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(panel->m_width, 50);
    EXPECT_EQ(second->m_width, 50);
    EXPECT_EQ(panel->m_count, 12);
    EXPECT_EQ(second->m_count, 12);
}

TEST_F(PropertyFrameTest, PagesThatCannotBeCreatedAreLeftOut) {
    // An empty registry of the test's own: nothing is registered.
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("kw-pages-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    setenv("KW_REGISTRY_DIR", dir.c_str(), 1);
    constexpr CLSID kNoSuchPage = MakeGuid(0x44444444, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9);
    IUnknown* object = static_cast<IDispatch*>(panel.Get());
    session.Modal().modalLoops.clear();
    EXPECT_EQ(OleCreatePropertyFrame(frame, 0, 0, "Panel", 1, &object, 1, &kNoSuchPage,
                                     LOCALE_USER_DEFAULT, 0, nullptr),
              E_FAIL);
    EXPECT_TRUE(session.Modal().modalLoops.empty()) << "no frame without a page";
    unsetenv("KW_REGISTRY_DIR");
    std::filesystem::remove_all(dir);
}

// The frame a host drives step by step: no loop runs; OK with a refused
// value stays open, OK with good values ends it; closing lets the pages go.
TEST_F(PropertyFrameTest, ASteppedFrameEndsOnlyWhenItsPagesApply) {
    IUnknown* objects[] = {static_cast<IDispatch*>(panel.Get()),
                           static_cast<IDispatch*>(second.Get())};
    IPropertyPage* pages[] = {page.Get(), secondPage.Get()};
    session.Modal().modalLoops.clear();
    auto stepped = CSteppedPropertyFrame::Open(frame, "Panel", objects, pages);
    ASSERT_TRUE(stepped);
    frameHwnd = stepped->GetSafeHwnd();
    EXPECT_EQ(TextOf(frameHwnd), "Panel Properties");
    EXPECT_TRUE(session.Modal().modalLoops.empty()) << "no modal loop runs";
    EXPECT_TRUE(IsWindowEnabled(frame));
    EXPECT_EQ(stepped->Pages().size(), 2u);
    EXPECT_FALSE(stepped->IsEnded());

    Retype(IDC_WIDTH, "5");
    ClickButton(IDOK);
    EXPECT_FALSE(stepped->IsEnded()) << "a refused value keeps the frame open";
    Retype(IDC_WIDTH, "60");
    ClickButton(IDOK);
    int result = 0;
    EXPECT_TRUE(stepped->IsEnded(&result));
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(panel->m_width, 60);
    EXPECT_EQ(second->m_width, 60);
    stepped->Close();
    EXPECT_FALSE(IsWindow(frameHwnd));
    EXPECT_EQ(page->GetSafeHwnd(), nullptr);
    EXPECT_EQ(stepped->GetSafeHwnd(), nullptr);
}
