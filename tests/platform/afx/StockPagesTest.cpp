// The stock font, colour and picture pages on the module's controls: which
// properties they offer, what a user's change writes on Apply (and only
// then), several objects at once, and the pages reached through the frame
// by their class identifiers.
#include "module/Guids.h"
#include "platform/afx/FileDialog.h"
#include "platform/afx/PropertyFrame.h"
#include "platform/afx/StockColorPage.h"
#include "platform/afx/StockFontPage.h"
#include "platform/afx/StockPicturePage.h"
#include "tests/buttons/HostedControlTest.h"
#include "tests/support/PageHarness.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class StockPagesTest : public HostedControlTest {
protected:
    void SetUp() override {
        HostedControlTest::SetUp();
        m_dir = fs::temp_directory_path() / ("kw-stockpages-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        kw::afx::ClearFileDialogAnswers();
        fs::remove_all(m_dir);
        HostedControlTest::TearDown();
    }

    // The texts of a combo box or list box of the page.
    static std::vector<std::string> Entries(const PageHarness& page, int id, bool list = false) {
        const HWND item = page.Item(id);
        std::vector<std::string> texts;
        const int count = int(SendMessageA(item, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[256]{};
            SendMessageA(item, list ? LB_GETTEXT : CB_GETLBTEXT, WPARAM(i),
                         reinterpret_cast<LPARAM>(text));
            texts.push_back(text);
        }
        return texts;
    }
    static int IndexOf(const std::vector<std::string>& texts, const std::string& text) {
        const auto it = std::find(texts.begin(), texts.end(), text);
        return it == texts.end() ? -1 : int(it - texts.begin());
    }
    // Chooses a list box entry with the keyboard, as a user would.
    void ChooseInList(const PageHarness& page, int id, int index) {
        SetFocus(page.Item(id));
        session.Key(VK_HOME);
        for (int i = 0; i < index; ++i)
            session.Key(VK_DOWN);
    }
    static CComVariant FontAttribute(const ComPtr<IDispatch>& control, const char* name) {
        CComVariant font = Get(control, "Font");
        CComVariant value;
        EXPECT_EQ(font.vt, VT_DISPATCH);
        if (font.vt == VT_DISPATCH) {
            EXPECT_EQ(CallByName(font.pdispVal, name, DISPATCH_PROPERTYGET, {}, &value), S_OK);
        }
        return value;
    }
    static long Long(const ComPtr<IDispatch>& control, const char* name) {
        CComVariant value = Get(control, name);
        EXPECT_EQ(value.vt, VT_I4) << name;
        return value.lVal;
    }
    static std::string PictureData(const ComPtr<IDispatch>& control, const char* name) {
        CComVariant picture = Get(control, name);
        CComVariant data;
        if (picture.vt == VT_DISPATCH && picture.pdispVal)
            CallByName(picture.pdispVal, "Data", DISPATCH_PROPERTYGET, {}, &data);
        return data.vt == VT_BSTR ? AnsiFromBstr(data.bstrVal) : std::string();
    }
    // A 4 x 2 picture of 24-bit pixels.
    std::string WriteBmp(const char* name) {
        const std::uint8_t file[] = {
            'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header
            40, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0,
            0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // info header
            0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255, // red row
            255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, // blue row
        };
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file), sizeof file);
        return path.string();
    }
    std::vector<std::uint32_t> HostPixels() {
        session.Pump();
        const auto pixels = session.Pixels(m_host);
        std::vector<std::uint32_t> all;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 160; ++x)
                all.push_back(pixels.Pixel(x, y));
        return all;
    }

    fs::path m_dir;
};

} // namespace

// [SECTION] Font

TEST_F(StockPagesTest, FontPageChangesFaceSizeAndBoldOfALabelOnApplyOnly) {
    // A SpinEdit draws with the system's font and has no font property.
    const auto spinEdit = Create(kw::ids::CLSID_SpinEdit, {4, 44, 154, 64});
    PageHarness none(session, CLSID_StockFontPage);
    ASSERT_TRUE(none.Open({spinEdit.Get()}));
    EXPECT_TRUE(Entries(none, IDC_STOCK_PROPERTY).empty());
    EXPECT_FALSE(IsWindowEnabled(none.Item(IDC_FONT_FACE)));

    const auto spin = Create(kw::ids::CLSID_ColorStatic, {4, 4, 154, 34});
    Put(spin, "Caption", CComVariant::Str("Feed"));
    PageHarness page(session, CLSID_StockFontPage);
    ASSERT_TRUE(page.Open({spin.Get()}));
    EXPECT_EQ(Entries(page, IDC_STOCK_PROPERTY), std::vector<std::string>{"Font"});
    const auto faces = Entries(page, IDC_FONT_FACE, true);
    EXPECT_GE(IndexOf(faces, "Liberation Serif"), 0);
    EXPECT_GE(IndexOf(faces, "Arial"), 0) << "the platform's face names are offered too";
    const std::string face = AnsiFromBstr(FontAttribute(spin, "Name").bstrVal);
    const LRESULT shown = SendMessageA(page.Item(IDC_FONT_FACE), LB_GETCURSEL, 0, 0);
    EXPECT_EQ(shown, IndexOf(faces, face)) << "the control's face " << face << " is chosen";

    const auto before = HostPixels();
    ChooseInList(page, IDC_FONT_FACE, IndexOf(faces, "Liberation Serif"));
    page.Retype(IDC_FONT_SIZE, "14");
    page.Click(IDC_FONT_BOLD);
    EXPECT_TRUE(page.Dirty());
    EXPECT_EQ(AnsiFromBstr(FontAttribute(spin, "Name").bstrVal), face) << "nothing before Apply";
    EXPECT_EQ(HostPixels(), before);

    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_FALSE(page.Dirty());
    EXPECT_EQ(AnsiFromBstr(FontAttribute(spin, "Name").bstrVal), "Liberation Serif");
    CComVariant size = FontAttribute(spin, "Size");
    ASSERT_EQ(VariantChangeType(&size, &size, 0, VT_R8), S_OK);
    EXPECT_DOUBLE_EQ(size.dblVal, 14.0);
    EXPECT_TRUE(FontAttribute(spin, "Bold").boolVal);
    EXPECT_FALSE(FontAttribute(spin, "Italic").boolVal) << "untouched";
    EXPECT_NE(HostPixels(), before) << "the control redrew with the new font";
}

TEST_F(StockPagesTest, FontPageRefusesASizeOutOfRangeAndWritesNothing) {
    const auto spin = Create(kw::ids::CLSID_ColorStatic, {4, 4, 154, 34});
    CComVariant size = FontAttribute(spin, "Size");
    PageHarness page(session, CLSID_StockFontPage);
    ASSERT_TRUE(page.Open({spin.Get()}));
    page.Click(IDC_FONT_ITALIC);
    page.Retype(IDC_FONT_SIZE, "0");
    EXPECT_EQ(page.Apply(), E_FAIL);
    EXPECT_EQ(page.TakeMessages(),
              std::vector<std::string>{"Please enter a size between 1 and 2048."});
    EXPECT_TRUE(page.Dirty());
    EXPECT_FALSE(FontAttribute(spin, "Italic").boolVal) << "a refusal writes nothing";
    EXPECT_EQ(GetFocus(), page.Item(IDC_FONT_SIZE));
    page.Retype(IDC_FONT_SIZE, " 9.5 ");
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_TRUE(FontAttribute(spin, "Italic").boolVal);
}

// [SECTION] Colour

TEST_F(StockPagesTest, ColorPageListsTheColoursAndSetsOneFromThePaletteAndOneSystemColour) {
    const auto button = Create(kw::ids::CLSID_BmpButton1, {4, 4, 32, 32});
    const long hoover = Long(button, "HooverColor");
    PageHarness page(session, CLSID_StockColorPage);
    ASSERT_TRUE(page.Open({button.Get()}));
    const auto properties = Entries(page, IDC_STOCK_PROPERTY);
    for (const char* name : {"BackColor", "ForeColor", "HooverColor", "PushColor"})
        EXPECT_GE(IndexOf(properties, name), 0) << name;
    EXPECT_EQ(IndexOf(properties, "Flags"), -1) << "a long that is no colour";

    // Red from the palette for BackColor, the highlight colour for ForeColor.
    page.Choose(IDC_STOCK_PROPERTY, IndexOf(properties, "BackColor"));
    page.Click(IDC_COLOR_PALETTE + 9);
    page.Choose(IDC_STOCK_PROPERTY, IndexOf(properties, "ForeColor"));
    page.Choose(IDC_COLOR_SYSTEM, COLOR_HIGHLIGHT);
    EXPECT_EQ(Entries(page, IDC_COLOR_SYSTEM)[COLOR_HIGHLIGHT], "Highlight");
    EXPECT_NE(Long(button, "BackColor"), 0x0000FF) << "nothing before Apply";
    // Back to BackColor: its pending colour is shown, not the stored one.
    page.Choose(IDC_STOCK_PROPERTY, IndexOf(properties, "BackColor"));
    EXPECT_EQ(page.Selection(IDC_COLOR_SYSTEM), -1);

    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Long(button, "BackColor"), 0x0000FF);
    EXPECT_EQ(Long(button, "ForeColor"), long(LONG(0x80000000 | COLOR_HIGHLIGHT)));
    EXPECT_EQ(Long(button, "HooverColor"), hoover) << "untouched";
}

TEST_F(StockPagesTest, WithSeveralObjectsAPageOffersWhatAllShareAndWritesEach) {
    const auto button = Create(kw::ids::CLSID_BmpButton1, {4, 4, 32, 32});
    const auto label = Create(kw::ids::CLSID_ColorStatic, {40, 4, 120, 24});
    Put(button, "BackColor", CComVariant::I4(0x00FF00));
    const long labelBack = Long(label, "BackColor");
    ASSERT_NE(labelBack, 0x00FF00);
    PageHarness page(session, CLSID_StockColorPage);
    ASSERT_TRUE(page.Open({button.Get(), label.Get()}));
    EXPECT_EQ(Entries(page, IDC_STOCK_PROPERTY), (std::vector<std::string>{"BackColor", "ForeColor"}));
    page.Choose(IDC_STOCK_PROPERTY, 1);
    // The palette is one stop of the keyboard: the arrows walk it, Space takes.
    SetFocus(page.Item(IDC_COLOR_PALETTE));
    for (int i = 0; i < 4; ++i)
        session.Key(VK_RIGHT);
    EXPECT_EQ(GetFocus(), page.Item(IDC_COLOR_PALETTE + 4));
    session.Key(VK_SPACE); // navy
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(Long(button, "ForeColor"), 0x800000);
    EXPECT_EQ(Long(label, "ForeColor"), 0x800000);
    EXPECT_EQ(Long(label, "BackColor"), labelBack) << "the first object's value is not copied";

    // An object without pictures leaves the picture page nothing to edit.
    PageHarness pictures(session, CLSID_StockPicturePage);
    ASSERT_TRUE(pictures.Open({button.Get(), label.Get()}));
    EXPECT_TRUE(Entries(pictures, IDC_STOCK_PROPERTY).empty());
    EXPECT_FALSE(IsWindowEnabled(pictures.Item(IDC_PICTURE_BROWSE)));
}

// [SECTION] Picture

TEST_F(StockPagesTest, PicturePageLoadsABmpChosenInTheFileDialogAndClearsIt) {
    const auto button = Create(kw::ids::CLSID_BmpButton1, {4, 4, 32, 32});
    PageHarness page(session, CLSID_StockPicturePage);
    ASSERT_TRUE(page.Open({button.Get()}));
    const auto properties = Entries(page, IDC_STOCK_PROPERTY);
    ASSERT_FALSE(properties.empty());
    const std::string property = properties.front();
    const std::string before = PictureData(button, property.c_str());

    // Cancel in the file dialog changes nothing.
    kw::afx::QueueFileDialogAnswer(std::nullopt);
    page.Click(IDC_PICTURE_BROWSE);
    EXPECT_FALSE(page.Dirty());

    // A file that is no picture is refused.
    const std::string text = (m_dir / "notes.bmp").string();
    std::ofstream(text) << "no picture";
    kw::afx::QueueFileDialogAnswer(text);
    page.Click(IDC_PICTURE_BROWSE);
    EXPECT_EQ(page.TakeMessages(),
              std::vector<std::string>{
                  text + "\nThis file holds no picture the page can load (BMP, ICO or PNG)."});
    EXPECT_FALSE(page.Dirty());

    kw::afx::QueueFileDialogAnswer(WriteBmp("red-blue.bmp"));
    page.Click(IDC_PICTURE_BROWSE);
    EXPECT_TRUE(page.Dirty());
    EXPECT_EQ(PictureData(button, property.c_str()), before) << "nothing before Apply";
    ASSERT_EQ(page.Apply(), S_OK);
    CComVariant picture = Get(button, property.c_str());
    ASSERT_EQ(picture.vt, VT_DISPATCH);
    CComVariant type, width;
    CallByName(picture.pdispVal, "Type", DISPATCH_PROPERTYGET, {}, &type);
    CallByName(picture.pdispVal, "Width", DISPATCH_PROPERTYGET, {}, &width);
    ASSERT_EQ(VariantChangeType(&type, &type, 0, VT_I4), S_OK);
    ASSERT_EQ(VariantChangeType(&width, &width, 0, VT_I4), S_OK);
    EXPECT_EQ(type.lVal, PICTYPE_BITMAP);
    EXPECT_EQ(width.lVal, 106) << "4 pixels in HIMETRIC";

    page.Click(IDC_PICTURE_CLEAR);
    ASSERT_EQ(page.Apply(), S_OK);
    EXPECT_EQ(PictureData(button, property.c_str()), "");
    EXPECT_FALSE(IsWindowEnabled(page.Item(IDC_PICTURE_CLEAR)));
}

// [SECTION] In the frame

TEST_F(StockPagesTest, TheFrameMakesTheStockPagesByClassAndCancelWritesNothing) {
    const auto button = Create(kw::ids::CLSID_BmpButton1, {4, 4, 32, 32});
    const long hoover = Long(button, "HooverColor");
    const CLSID pages[] = {CLSID_StockFontPage, CLSID_StockColorPage, CLSID_StockPicturePage};
    IUnknown* objects[] = {button.Get()};
    for (int closeWith : {IDCANCEL, IDOK}) {
        std::vector<std::string> tabs;
        session.Modal().onModalLoop = [&](HWND frame) {
            const HWND tab = GetDlgItem(frame, AFX_IDC_TAB_CONTROL);
            const int count = int(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                char text[64]{};
                TCITEMA item{};
                item.mask = TCIF_TEXT;
                item.pszText = text;
                item.cchTextMax = int(sizeof text);
                SendMessageA(tab, TCM_GETITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
                tabs.push_back(text);
            }
            // The colour page: white for its first property (HooverColor).
            RECT rc{};
            SendMessageA(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rc));
            session.MouseMove(tab, rc.left + 4, rc.top + 4);
            session.Click();
            HWND swatch = nullptr;
            for (HWND child = GetWindow(frame, GW_CHILD); child && !swatch;
                 child = GetWindow(child, GW_HWNDNEXT))
                if (IsWindowVisible(child))
                    if (const HWND s = GetDlgItem(child, IDC_COLOR_PALETTE + 15))
                        swatch = s;
            ASSERT_NE(swatch, nullptr);
            SendMessageA(swatch, BM_CLICK, 0, 0);
            SendMessageA(GetDlgItem(frame, closeWith), BM_CLICK, 0, 0);
        };
        EXPECT_EQ(OleCreatePropertyFrame(m_host, 0, 0, "BmpButton1", 1, objects, 3, pages, 0, 0,
                                         nullptr),
                  S_OK);
        session.Modal().onModalLoop = nullptr;
        EXPECT_EQ(tabs, (std::vector<std::string>{"Font", "Color", "Picture"}));
        EXPECT_EQ(Long(button, "HooverColor"), closeWith == IDOK ? 0xFFFFFF : hoover)
            << (closeWith == IDOK ? "OK" : "Cancel");
    }
}

TEST_F(StockPagesTest, AControlsPageListEndsWithTheStockPagesInTheFrame) {
    const auto label = Create(kw::ids::CLSID_ColorStatic, {4, 4, 120, 24});
    auto* factory =
        dynamic_cast<COleControlFactory*>(kw::module::Factories().Find(kw::ids::CLSID_ColorStatic));
    ASSERT_NE(factory, nullptr);
    const std::vector<CLSID>& pages = factory->GetPropPageIDs();
    ASSERT_GE(pages.size(), 2u);
    std::vector<std::string> tabs;
    session.Modal().onModalLoop = [&](HWND frame) {
        const HWND tab = GetDlgItem(frame, AFX_IDC_TAB_CONTROL);
        const int count = int(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[64]{};
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = int(sizeof text);
            SendMessageA(tab, TCM_GETITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
            tabs.push_back(text);
        }
    };
    IUnknown* objects[] = {label.Get()};
    EXPECT_EQ(OleCreatePropertyFrame(m_host, 0, 0, "ColorStatic", 1, objects, ULONG(pages.size()),
                                     pages.data(), 0, 0, nullptr),
              S_OK);
    session.Modal().onModalLoop = nullptr;
    ASSERT_GE(tabs.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(tabs.end() - 2, tabs.end()),
              (std::vector<std::string>{"Font", "Color"}));
}

// [SECTION] Pictures

// Each page as a designer sees it, and the file dialog, written where the
// build keeps its pictures (for looking at, not compared).
TEST_F(StockPagesTest, SnapshotsOfThePagesAndTheFileDialog) {
    const char* build = std::getenv("KW_BUILD_DIR");
    const fs::path out = fs::path(build ? build : m_dir.string()) / "pictures";
    fs::create_directories(out);
    const auto button = Create(kw::ids::CLSID_BmpButton1, {4, 4, 32, 32});
    Put(button, "ForeColor", CComVariant::I4(0x800000));
    const std::string bmp = WriteBmp("red-blue.bmp");
    for (const auto& [clsid, name] : {std::pair{CLSID_StockFontPage, "stock-font.png"},
                                      std::pair{CLSID_StockColorPage, "stock-color.png"},
                                      std::pair{CLSID_StockPicturePage, "stock-picture.png"}}) {
        PageHarness page(session, clsid);
        ASSERT_TRUE(page.Open({button.Get()}));
        if (clsid == CLSID_StockColorPage)
            page.Choose(IDC_STOCK_PROPERTY, IndexOf(Entries(page, IDC_STOCK_PROPERTY), "ForeColor"));
        if (clsid == CLSID_StockPicturePage) {
            kw::afx::QueueFileDialogAnswer(bmp);
            page.Click(IDC_PICTURE_BROWSE);
        }
        session.Pump();
        EXPECT_TRUE(page.Snapshot((out / name).string())) << name;
    }
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       "Pictures (*.bmp;*.ico;*.png)|*.bmp;*.ico;*.png|All Files (*.*)|*.*||");
    const std::string folder = m_dir.string();
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    fs::create_directories(m_dir / "icons");
    session.Modal().onModalLoop = [&](HWND hwnd) {
        session.Pump();
        EXPECT_TRUE(session.Snapshot(hwnd, (out / "file-dialog.png").string(), true));
    };
    dialog.DoModal();
    session.Modal().onModalLoop = nullptr;
}
