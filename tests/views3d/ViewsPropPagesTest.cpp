// The pages of the 3D views, opened headless on controls as a designer's
// frame opens them: what they show, what Apply writes (every property read
// before and after), refusals that write nothing, and Cancel.
#include "tests/support/LateBound.h"
#include "tests/support/PageHarness.h"
#include "tests/views3d/SelectQubeTestSupport.h"
#include "views3d/LineViewCtrl.h"
#include "views3d/SelectQubePropPage.h"
#include "views3d/ViewmanagerCtrl.h"

#include "platform/afx/PropertyFrame.h"
#include "platform/com/Bstr.h"

#include <map>

using namespace views3d_test;

namespace {

using Page = CSelectQubePropPage;

// [SECTION] What a page may have touched

COleControl* ControlOf(IDispatch* d) {
    return static_cast<COleControl*>(static_cast<CDispatchObject*>(d));
}

// Every property of the control's dispatch table as text, and whether the
// control is marked modified.
std::map<std::string, std::string> StateOf(IDispatch* d, const DispTable& table) {
    std::map<std::string, std::string> state;
    for (const DispEntry& e : table.entries) {
        if (e.kind != DispKind::Property)
            continue;
        CComVariant value;
        DISPPARAMS none{};
        if (FAILED(d->Invoke(e.dispid, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                             nullptr))) {
            state[e.name] = "<unreadable>";
            continue;
        }
        CComVariant text;
        state[e.name] = SUCCEEDED(VariantChangeType(&text, &value, 0, VT_BSTR))
                            ? std::string(BstrView(text.bstrVal))
                            : "<vt " + std::to_string(value.vt) + ">";
    }
    state["(modified)"] = ControlOf(d)->IsModified() ? "yes" : "no";
    return state;
}

// A control made by its factory with its defaults, without a window.
ComPtr<IDispatch> NewControl(REFCLSID clsid) {
    ComPtr<IClassFactory> factory;
    ComPtr<IDispatch> d;
    EXPECT_EQ(
        AfxDllGetClassObject(kw::module::Factories(), clsid, IID_IClassFactory, factory.OutVoid()),
        S_OK);
    if (!factory)
        return d;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, d.OutVoid()), S_OK);
    ComPtr<IPersistPropertyBag> persist;
    if (d && SUCCEEDED(d.As(IID_IPersistPropertyBag, &persist))) {
        EXPECT_EQ(persist->InitNew(), S_OK);
    }
    return d;
}

SHORT DefaultSelOf(IDispatch* d) {
    CComVariant value;
    DISPPARAMS none{};
    EXPECT_EQ(
        d->Invoke(kDefaultSel, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr),
        S_OK);
    return value.iVal;
}

void PutDefaultSel(IDispatch* d, SHORT value) {
    VARIANT arg = CComVariant::I2(value);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS p{&arg, &put, 1, 1};
    ASSERT_EQ(
        d->Invoke(kDefaultSel, IID_NULL, 0, DISPATCH_PROPERTYPUT, &p, nullptr, nullptr, nullptr),
        S_OK);
}

std::string SnapshotPath(const char* name) {
    return ::testing::TempDir() + "kw_page_" + name + ".png";
}

// [SECTION] The point picker's page on a hosted picker

class QubePageTest : public QubeTest {
protected:
    void SetUp() override {
        QubeTest::SetUp();
        ASSERT_TRUE(page);
    }
    // Opens the page on the hosted picker after setting its word.
    void OpenOn(SHORT defaultSel) {
        PutShort(kDefaultSel, defaultSel);
        Ctrl()->SetModifiedFlag(FALSE);
        ASSERT_TRUE(page.Open({m_disp.Get()}));
    }
    std::map<std::string, std::string> State() {
        return StateOf(m_disp.Get(), SelectQubeDispatchTable());
    }
    std::pair<int, int> SpinRange() {
        int lower = -1, upper = -1;
        SendMessageA(page.Item(Page::IDC_SPIN), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                     reinterpret_cast<LPARAM>(&upper));
        return {lower, upper};
    }
    // The three items as "index|mode|switch", the mode as 3D or 2D.
    std::string Shown() {
        const bool cube = page.Checked(Page::IDC_MODE3D), square = page.Checked(Page::IDC_MODE2D);
        return page.Text(Page::IDC_PRESEL) + "|" +
               (cube && !square   ? "3D"
                : square && !cube ? "2D"
                                  : "?") +
               "|" + (page.Checked(Page::IDC_NOAXISTEXT) ? "no letters" : "letters");
    }

    PageHarness page{session, kw::ids::CLSID_SelectQubePropPage};
};

} // namespace

TEST_F(QubePageTest, OpensShowingTheIndexTheModeAndTheLettersSwitch) {
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    EXPECT_EQ(Shown(), "0|3D|letters") << "a fresh picker";
    EXPECT_EQ(SpinRange(), std::make_pair(0, 26));
    EXPECT_FALSE(page.Dirty());

    struct Case {
        SHORT defaultSel;
        const char* shown;
        int lastPoint;
    };
    for (const Case& c : {Case{0xC4, "4|2D|no letters", 8}, Case{0x40 + 23, "23|3D|no letters", 26},
                          Case{0x80 + 8, "8|2D|letters", 8}, Case{26, "26|3D|letters", 26}}) {
        PutShort(kDefaultSel, c.defaultSel);
        IUnknown* objects[] = {m_disp.Get()};
        ASSERT_EQ(page.Page()->SetObjects(1, objects), S_OK);
        EXPECT_EQ(Shown(), c.shown) << "defaultSel 0x" << std::hex << c.defaultSel;
        EXPECT_EQ(SpinRange(), std::make_pair(0, c.lastPoint)) << c.shown;
        EXPECT_FALSE(page.Dirty()) << "showing values is no change of the user's";
    }
}

TEST_F(QubePageTest, SquareNoLettersAndFourGive0xC4AndTheTopMiddleOfTheSquare) {
    OpenOn(0);
    const auto before = State();
    page.Click(Page::IDC_MODE2D);
    page.Click(Page::IDC_NOAXISTEXT);
    page.Retype(Page::IDC_PRESEL, "4");
    EXPECT_TRUE(page.Dirty());
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_TRUE(page.TakeMessages().empty());
    EXPECT_FALSE(page.Dirty());

    EXPECT_EQ(GetShort(kDefaultSel), SHORT(0xC4));
    auto expected = before;
    expected["defaultSel"] = std::to_string(0xC4);
    expected["(modified)"] = "yes";
    EXPECT_EQ(State(), expected) << "Apply writes defaultSel and nothing else";

    EXPECT_TRUE(Ctrl()->Is2D());
    EXPECT_EQ(Sel(), 4);
    EXPECT_EQ(Bezug(), (std::array<SHORT, 3>{1, 2, 0}));
    const SurfaceBuffer pixels = Pixels();
    EXPECT_EQ(pixels.Pixel(40, 10), kGreen) << "the top middle point of the square is marked";
    // No letters: nothing dark right of the square's bottom right corner,
    // where the x stands, or above its top left one, where the y stands.
    const auto& corner = Point(3);
    int dark = 0;
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = corner.x + 6; x < pixels.Width() - 1; ++x)
            dark += pixels.Pixel(x, y) == kBlack;
    EXPECT_EQ(dark, 0) << "no axis letters";
}

TEST_F(QubePageTest, ApplyWritesOnlyThePartsOfTheWordTheUserChanged) {
    // The switch alone: index and mode stay.
    OpenOn(0x45);
    page.Click(Page::IDC_NOAXISTEXT);
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(GetShort(kDefaultSel), 0x05);
    // The mode alone.
    page.Click(Page::IDC_MODE2D);
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(GetShort(kDefaultSel), SHORT(0x85));
    EXPECT_TRUE(Ctrl()->Is2D());

    // A change the user takes back writes nothing: the control is not
    // redrawn for it nor marked modified.
    Ctrl()->SetModifiedFlag(FALSE);
    const auto before = State();
    page.Click(Page::IDC_NOAXISTEXT);
    page.Click(Page::IDC_NOAXISTEXT);
    page.Retype(Page::IDC_PRESEL, "5");
    EXPECT_TRUE(page.Dirty());
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(State(), before);

    // A point the host set that the square does not have is kept when the
    // user changes something else.
    SetSel(12);
    ASSERT_EQ(GetShort(kDefaultSel), SHORT(0x80 + 12));
    IUnknown* objects[] = {m_disp.Get()};
    ASSERT_EQ(page.Page()->SetObjects(1, objects), S_OK);
    EXPECT_EQ(Shown(), "12|2D|letters");
    page.Click(Page::IDC_NOAXISTEXT);
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_TRUE(page.TakeMessages().empty());
    EXPECT_EQ(GetShort(kDefaultSel), SHORT(0xC0 + 12));
}

TEST_F(QubePageTest, AnIndexNamingNoPointIsRefusedWithTheRangeAndNothingIsWritten) {
    OpenOn(20); // the front face's centre
    const auto before = State();
    struct Case {
        const char* step;
        const char* index; // null: left alone
        bool square;
        const char* message;
    };
    for (const Case& c : {
             Case{"past the cube", "27", false, "Please enter an integer between 0 and 26."},
             Case{"past the square", "9", true, "Please enter an integer between 0 and 8."},
             Case{"the cube's centre on the square", nullptr, true,
                  "Please enter an integer between 0 and 8."},
             Case{"no index at all", "", false, "Please enter a positive integer."},
         }) {
        // The page shows the control's values again: nothing is changed.
        IUnknown* objects[] = {m_disp.Get()};
        ASSERT_EQ(page.Page()->SetObjects(1, objects), S_OK);
        page.Click(c.square ? Page::IDC_MODE2D : Page::IDC_MODE3D);
        page.Click(Page::IDC_NOAXISTEXT); // a change that would be valid alone
        if (c.index) {
            page.Retype(Page::IDC_PRESEL, c.index);
            if (!*c.index)
                session.Key(VK_DELETE);
        }
        EXPECT_EQ(page.Apply(), E_FAIL) << c.step;
        EXPECT_EQ(page.TakeMessages(), std::vector<std::string>{c.message}) << c.step;
        EXPECT_EQ(GetFocus(), page.Item(Page::IDC_PRESEL)) << c.step;
        EXPECT_TRUE(page.Dirty()) << c.step;
        EXPECT_EQ(State(), before) << c.step << ": nothing is written";
    }
    // The spin button follows the mode chosen.
    page.Click(Page::IDC_MODE2D);
    EXPECT_EQ(SpinRange(), std::make_pair(0, 8));
    page.Click(Page::IDC_MODE3D);
    EXPECT_EQ(SpinRange(), std::make_pair(0, 26));
}

TEST_F(QubePageTest, TheArrowKeysStepTheIndexUpToTheLastPointOfTheMode) {
    OpenOn(0);
    page.Retype(Page::IDC_PRESEL, "x25"); // digits only
    EXPECT_EQ(page.Text(Page::IDC_PRESEL), "25");
    session.Key(VK_UP);
    session.Key(VK_UP);
    EXPECT_EQ(page.Text(Page::IDC_PRESEL), "26");
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(GetShort(kDefaultSel), 26);

    page.Click(Page::IDC_MODE2D);
    page.Retype(Page::IDC_PRESEL, "7");
    session.Key(VK_UP);
    session.Key(VK_UP);
    EXPECT_EQ(page.Text(Page::IDC_PRESEL), "8");
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(GetShort(kDefaultSel), SHORT(0x88));
}

TEST_F(QubePageTest, CancelWritesNothing) {
    OpenOn(0x13);
    const auto before = State();
    page.Click(Page::IDC_MODE2D);
    page.Click(Page::IDC_NOAXISTEXT);
    page.Retype(Page::IDC_PRESEL, "7");
    EXPECT_TRUE(page.Dirty());
    // A frame's Cancel deactivates the page without applying it.
    ASSERT_EQ(page.Page()->Deactivate(), S_OK);
    session.Pump();
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(page.TakeMessages().empty());
}

TEST_F(QubePageTest, APickerWithoutAPointShowsNoIndexAndKeepsThatUnlessOneIsEntered) {
    SetSel(-1); // every bit set: no point, the square, no letters
    Ctrl()->SetModifiedFlag(FALSE);
    ASSERT_TRUE(page.Open({m_disp.Get()}));
    EXPECT_EQ(Shown(), "|2D|no letters");

    page.Click(Page::IDC_MODE3D);
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_TRUE(page.TakeMessages().empty()) << "the empty index was the control's, not the user's";
    EXPECT_EQ(GetShort(kDefaultSel), SHORT(-1 & ~0x80));
    EXPECT_FALSE(Ctrl()->Is2D());
    EXPECT_LT(Sel(), 0) << "still no point";

    page.Retype(Page::IDC_PRESEL, "3");
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(GetShort(kDefaultSel), 0x43) << "the point and the letters switch of the page";
    EXPECT_EQ(Bezug(), (std::array<SHORT, 3>{2, 0, 0}));
}

TEST_F(QubePageTest, EachSelectedPickerKeepsThePartsTheUserLeftAlone) {
    PutShort(kDefaultSel, 0x05); // the cube, point 5
    ComPtr<IDispatch> square = NewControl(kw::ids::CLSID_SelectQube);
    ASSERT_TRUE(square);
    PutDefaultSel(square.Get(), 0x83); // the square, point 3
    ASSERT_TRUE(page.Open({m_disp.Get(), square.Get()}));
    EXPECT_EQ(Shown(), "5|3D|letters") << "the first object's word";
    EXPECT_EQ(SpinRange(), std::make_pair(0, 8)) << "an entered index also lands on the square";

    page.Click(Page::IDC_NOAXISTEXT);
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(GetShort(kDefaultSel), 0x45);
    EXPECT_EQ(DefaultSelOf(square.Get()), SHORT(0xC3)) << "its own point and mode";

    page.Retype(Page::IDC_PRESEL, "20");
    EXPECT_EQ(page.Apply(), E_FAIL);
    EXPECT_EQ(page.TakeMessages(),
              std::vector<std::string>{"Please enter an integer between 0 and 8."});
    EXPECT_EQ(DefaultSelOf(square.Get()), SHORT(0xC3));
    EXPECT_EQ(GetShort(kDefaultSel), 0x45);

    page.Retype(Page::IDC_PRESEL, "7");
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(GetShort(kDefaultSel), 0x47);
    EXPECT_EQ(DefaultSelOf(square.Get()), SHORT(0xC7));

    // A mode chosen goes to both, and then the cube's range holds.
    page.Click(Page::IDC_MODE3D);
    page.Retype(Page::IDC_PRESEL, "20");
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(GetShort(kDefaultSel), 0x54);
    EXPECT_EQ(DefaultSelOf(square.Get()), 0x54);
}

TEST_F(QubePageTest, InTheFrameEnterIsOkAndEscapeIsCancel) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(AfxDllGetClassObject(kw::module::Factories(), kw::ids::CLSID_SelectQubePropPage,
                                   IID_IClassFactory, factory.OutVoid()),
              S_OK);
    struct Run {
        BYTE key;
        int result;
        SHORT defaultSel;
    };
    for (const Run& run : {Run{VK_ESCAPE, IDCANCEL, 0}, Run{VK_RETURN, IDOK, SHORT(0x84)}}) {
        ComPtr<IPropertyPage> framed;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IPropertyPage, framed.OutVoid()), S_OK);
        auto* dialog = dynamic_cast<COlePropertyPage*>(framed.Get());
        ASSERT_NE(dialog, nullptr);
        session.Modal().onModalLoop = [&](HWND) {
            const HWND pageHwnd = dialog->GetSafeHwnd();
            SendMessageA(GetDlgItem(pageHwnd, Page::IDC_MODE2D), BM_CLICK, 0, 0);
            const HWND edit = GetDlgItem(pageHwnd, Page::IDC_PRESEL);
            SetFocus(edit);
            SendMessageA(edit, EM_SETSEL, 0, -1);
            session.Type("4");
            session.Key(run.key);
        };
        IUnknown* objects[] = {m_disp.Get()};
        IPropertyPage* pages[] = {framed.Get()};
        int result = 0;
        EXPECT_EQ(AfxRunPropertyFrame(m_host, "SelectQube", objects, pages, &result), S_OK);
        session.Modal().onModalLoop = nullptr;
        EXPECT_EQ(result, run.result);
        EXPECT_EQ(GetShort(kDefaultSel), run.defaultSel) << "after key " << int(run.key);
    }
}

TEST_F(QubePageTest, SnapshotOfTheConfiguredPage) {
    OpenOn(0xC4);
    EXPECT_TRUE(page.Snapshot(SnapshotPath("selectqube")));
    PROPPAGEINFO info{};
    ASSERT_EQ(page.Page()->GetPageInfo(&info), S_OK);
    EXPECT_EQ(info.title, "General");
    // The items stand inside the page.
    RECT pageRect{};
    GetClientRect(page.Window(), &pageRect);
    for (int id : {Page::IDC_PRESEL, Page::IDC_SPIN, Page::IDC_MODE3D, Page::IDC_MODE2D,
                   Page::IDC_NOAXISTEXT}) {
        RECT rc{};
        GetWindowRect(page.Item(id), &rc);
        MapWindowPoints(nullptr, page.Window(), reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.right <= pageRect.right &&
                    rc.bottom <= pageRect.bottom)
            << "item " << id;
    }
}

// [SECTION] The empty pages

TEST(ViewsEmptyPages, TheViewerAndTheChooserPagesShowNothingAndApplyNothing) {
    kw::headless::HeadlessSession session;
    struct Case {
        const char* name;
        CLSID control;
        CLSID page;
        const DispTable& table;
        const char* configured; // a property set before the page opens
        SHORT value;
    };
    SIZE qubeSize{};
    {
        PageHarness qube(session, kw::ids::CLSID_SelectQubePropPage);
        PROPPAGEINFO info{};
        ASSERT_EQ(qube.Page()->GetPageInfo(&info), S_OK);
        qubeSize = info.size;
    }
    for (const Case& c :
         {Case{"lineview", kw::ids::CLSID_LineView, kw::ids::CLSID_LineViewPropPage,
               LineViewDispatchTable(), "BorderStyle", 1},
          Case{"viewmanager", kw::ids::CLSID_Viewmanager, kw::ids::CLSID_ViewmanagerPropPage,
               ViewmanagerDispatchTable(), "ViewIndex", 9}}) {
        ComPtr<IDispatch> control = NewControl(c.control);
        ASSERT_TRUE(control) << c.name;
        ASSERT_EQ(CallByName(control.Get(), c.configured, DISPATCH_PROPERTYPUT,
                             {CComVariant::I2(c.value)}),
                  S_OK);
        ControlOf(control.Get())->SetModifiedFlag(FALSE);
        const auto before = StateOf(control.Get(), c.table);
        {
            PageHarness page(session, c.page);
            ASSERT_TRUE(page) << c.name;
            PROPPAGEINFO info{};
            ASSERT_EQ(page.Page()->GetPageInfo(&info), S_OK);
            EXPECT_EQ(info.title, "General") << c.name;
            EXPECT_EQ(info.size.cx, qubeSize.cx) << c.name << ": the three pages are one size";
            EXPECT_EQ(info.size.cy, qubeSize.cy) << c.name;
            ASSERT_TRUE(page.Open({control.Get()})) << c.name;
            EXPECT_EQ(GetWindow(page.Window(), GW_CHILD), nullptr) << c.name << ": no items";
            EXPECT_FALSE(page.Dirty()) << c.name;
            EXPECT_EQ(page.Apply(), S_OK) << c.name;
            EXPECT_TRUE(page.Snapshot(SnapshotPath(c.name))) << c.name;
        }
        EXPECT_EQ(StateOf(control.Get(), c.table), before) << c.name;
    }
}
