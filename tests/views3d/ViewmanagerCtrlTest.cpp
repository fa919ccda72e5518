// The view chooser in a headless host: the hotspot walk with its texts, the
// pictures shown, presses and the level switches, ViewIndex, and the hover
// tracking's capture.
#include "views3d/ViewmanagerCtrl.h"
#include "platform/afx/JsonPropertyBag.h"
#include "resources/generators/ViewStrips.h"
#include "tests/views3d/ViewsTestSupport.h"

#include <string>

using namespace views3d_test;
using kw::views3d::FaceHotspots;
using kw::views3d::Hotspot;
using kw::views3d::HotspotHitTest;
using kw::views3d::IsometricHotspots;

namespace {

constexpr DISPID kViewIndex = 1;
constexpr DISPID kSelChanged = 1;
constexpr int kCentre = 40; // of the 80 x 80 control

// Every text as the host receives it: UTF-8.
std::string TextOf(int id) {
    switch (id) {
    case 201:
        return "Isometrische Anzeige";
    case 202:
        return "Teilfl\xC3\xA4"
               "che anzeigen";
    case 203:
        return "Drehung um 90\xC2\xB0";
    case 204:
        return "Drehung um 180\xC2\xB0";
    case 205:
        return "Umdrehen";
    case 206:
        return "Linksdrehung um 120\xC2\xB0";
    case 207:
        return "Rechtsdrehung um 120\xC2\xB0";
    default:
        return "";
    }
}

class ViewmanagerTest : public ControlHostTest<CViewmanagerCtrl> {
protected:
    ViewmanagerTest()
        : ControlHostTest(kw::ids::CLSID_Viewmanager, kw::ids::IID_DViewmanagerEvents) {}

    void SetUp() override {
        ControlHostTest::SetUp();
        m_other = CreateWindowExA(0, "KwTestGreyHost", "other", WS_POPUP | WS_VISIBLE, 300, 0, 100,
                                  100, nullptr, nullptr, nullptr, nullptr);
        session.Pump();
    }

    static POINT At(const Hotspot& h) { return POINT{kCentre + h.dx, kCentre + h.dy}; }
    void MoveOnto(const Hotspot& h) { MoveTo(At(h).x, At(h).y); }
    void PressOn(const Hotspot& h) { ClickAt(At(h).x, At(h).y); }
    SHORT ViewIndex() { return GetShort(kViewIndex); }

    // The last SelChanged: its text id and text.
    std::pair<int, std::string> LastSelChanged() const {
        for (auto it = events.fired.rbegin(); it != events.fired.rend(); ++it)
            if (it->id == kSelChanged)
                return {it->args.at(0).iVal, it->text};
        return {-1, "none"};
    }

    // Whether the control shows picture `index` of a strip, transparent
    // magenta letting the button face through.
    ::testing::AssertionResult Shows(const kw::bitmaps::Picture16& strip, int index) {
        static constexpr std::uint32_t palette[16] = {
            0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
            0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        const SurfaceBuffer pixels = Pixels();
        for (int y = 0; y < 52; ++y)
            for (int x = 0; x < 52; ++x) {
                const auto c = strip.Get(index * 52 + x, y);
                const std::uint32_t want =
                    c == kw::bitmaps::Magenta ? 0xC0C0C0u : palette[std::size_t(c)];
                const std::uint32_t got = pixels.Pixel(kCentre - 26 + x, kCentre - 26 + y);
                if (got != want)
                    return ::testing::AssertionFailure()
                           << "picture " << index << " at (" << x << ", " << y << "): expected 0x"
                           << std::hex << want << ", got 0x" << got;
            }
        return ::testing::AssertionSuccess();
    }

    const kw::bitmaps::Picture16 m_isoStrip = kw::bitmaps::MakeIsometricStrip();
    const kw::bitmaps::Picture16 m_faceStrip = kw::bitmaps::MakeFaceStrip();
    HWND m_other = nullptr;
};

} // namespace

TEST_F(ViewmanagerTest, AFreshControlShowsTheIsometricCubeCentred) {
    int cx = 0, cy = 0;
    Ctrl()->GetControlSize(&cx, &cy);
    EXPECT_EQ(cx, 80);
    EXPECT_EQ(cy, 80);
    EXPECT_EQ(ViewIndex(), 0);
    EXPECT_TRUE(Ctrl()->IsIsometricLevel());
    EXPECT_EQ(Ctrl()->CentreSquare(), CRect(20, 20, 60, 60));
    EXPECT_TRUE(Shows(m_isoStrip, 0));
    EXPECT_EQ(Pixels().Pixel(0, 0), 0xC0C0C0u) << "no frame";
}

TEST_F(ViewmanagerTest, TheHotspotWalkReportsEveryTextByteForByteAndShowsItsPicture) {
    int fired = 0;
    const auto iso = IsometricHotspots();
    for (std::size_t k = 0; k < iso.size(); ++k) {
        MoveOnto(iso[k]);
        EXPECT_EQ(Ctrl()->HoverIndex(), int(k));
        EXPECT_EQ(events.Count(kSelChanged), ++fired) << "hotspot " << k;
        EXPECT_EQ(LastSelChanged(), std::make_pair(iso[k].textId, TextOf(iso[k].textId)))
            << "hotspot " << k;
        EXPECT_TRUE(Shows(m_isoStrip, iso[k].picture));
    }
    // Moving within one hotspot fires nothing more.
    MoveTo(At(iso[11]).x + 1, At(iso[11]).y + 1);
    EXPECT_EQ(events.Count(kSelChanged), fired);
    // Empty space inside the control: 0 and an empty text.
    MoveTo(3, 3);
    EXPECT_EQ(events.Count(kSelChanged), ++fired);
    EXPECT_EQ(LastSelChanged(), std::make_pair(0, std::string()));
    EXPECT_TRUE(Shows(m_isoStrip, 0));
    EXPECT_EQ(events.Count(DISPID_CLICK), 0) << "hovering clicks nothing";

    // The face level, reached through the left face.
    PressOn(iso[9]);
    ASSERT_FALSE(Ctrl()->IsIsometricLevel());
    const auto face = FaceHotspots();
    for (std::size_t k = 0; k < face.size(); ++k) {
        MoveOnto(face[k]);
        EXPECT_EQ(Ctrl()->HoverIndex(), int(k));
        EXPECT_EQ(LastSelChanged(), std::make_pair(face[k].textId, TextOf(face[k].textId)))
            << "face hotspot " << k;
        EXPECT_TRUE(Shows(m_faceStrip, face[k].picture));
    }
    EXPECT_EQ(LastSelChanged(), std::make_pair(0, std::string())) << "the centre has no text";
}

TEST_F(ViewmanagerTest, ThePressOnTheLeftFaceChoosesNineAndLeadsToTheFaceLevel) {
    const auto iso = IsometricHotspots();
    MoveOnto(iso[9]);
    EXPECT_EQ(LastSelChanged(), std::make_pair(202, TextOf(202)));
    EXPECT_TRUE(Shows(m_isoStrip, 9));
    Ctrl()->SetModifiedFlag(FALSE);
    PressOn(iso[9]);
    EXPECT_EQ(ViewIndex(), 9);
    EXPECT_FALSE(Ctrl()->IsIsometricLevel());
    EXPECT_EQ(events.Count(DISPID_CLICK), 1);
    EXPECT_FALSE(Ctrl()->IsModified()) << "a press neither notifies nor marks modified";
}

TEST_F(ViewmanagerTest, OnTheFaceLevelTheCentreKeepsItAndTheCornersLeadBack) {
    const auto iso = IsometricHotspots();
    const auto face = FaceHotspots();
    struct Case {
        int hotspot;
        SHORT viewIndex;
        bool backToIsometric;
    } cases[] = {
        {10, 26, false}, {0, 16, true},  {2, 18, true},  {5, 21, true},
        {7, 23, true},   {1, 17, false}, {3, 19, false}, {4, 20, false},
        {6, 22, false},  {8, 24, false}, {9, 25, false},
    };
    int clicks = 0;
    for (const Case& c : cases) {
        if (Ctrl()->IsIsometricLevel())
            PressOn(iso[10]); // the right face leads to the face level
        ASSERT_FALSE(Ctrl()->IsIsometricLevel());
        clicks = events.Count(DISPID_CLICK);
        PressOn(face[std::size_t(c.hotspot)]);
        EXPECT_EQ(ViewIndex(), c.viewIndex) << "face hotspot " << c.hotspot;
        EXPECT_EQ(bool(Ctrl()->IsIsometricLevel()), c.backToIsometric)
            << "face hotspot " << c.hotspot;
        EXPECT_EQ(events.Count(DISPID_CLICK), clicks + 1);
    }
    // Back on the isometric level, its own indexes count again.
    PressOn(face[7]);
    ASSERT_TRUE(Ctrl()->IsIsometricLevel());
    PressOn(iso[11]);
    EXPECT_EQ(ViewIndex(), 11);
    PressOn(face[0]);
    PressOn(iso[5]);
    EXPECT_EQ(ViewIndex(), 5);
    EXPECT_TRUE(Ctrl()->IsIsometricLevel());
}

TEST_F(ViewmanagerTest, APressBesideEveryHotspotLeavesViewIndexAndFiresNoClick) {
    for (bool isometric : {true, false}) {
        if (!isometric)
            PressOn(IsometricHotspots()[11]);
        const SHORT before = ViewIndex();
        const int clicks = events.Count(DISPID_CLICK);
        const auto table = Ctrl()->Hotspots();
        for (const Hotspot& h : table) {
            const POINT at = At(h);
            POINT beside{-1, -1};
            for (POINT c :
                 {POINT{at.x + 4, at.y}, POINT{at.x - 5, at.y}, POINT{at.x, at.y + 4},
                  POINT{at.x, at.y - 5}, POINT{at.x + 4, at.y + 4}, POINT{at.x - 5, at.y - 5}})
                if (HotspotHitTest(table, POINT{kCentre, kCentre}, c) < 0) {
                    beside = c;
                    break;
                }
            ASSERT_GE(beside.x, 0) << "no free place beside " << h.dx << "," << h.dy;
            ClickAt(beside.x, beside.y);
            EXPECT_EQ(Ctrl()->PressedIndex(), -1);
        }
        EXPECT_EQ(ViewIndex(), before);
        EXPECT_EQ(events.Count(DISPID_CLICK), clicks);
        EXPECT_EQ(bool(Ctrl()->IsIsometricLevel()), isometric);
    }
}

TEST_F(ViewmanagerTest, WritingViewIndexRedrawsTheSamePictureMarksModifiedAndIsNotSaved) {
    Ctrl()->SetModifiedFlag(FALSE);
    PutShort(kViewIndex, 23);
    EXPECT_EQ(ViewIndex(), 23);
    EXPECT_TRUE(Ctrl()->IsModified());
    EXPECT_TRUE(Ctrl()->IsIsometricLevel()) << "a host's write does not move the level";
    EXPECT_TRUE(Shows(m_isoStrip, 0));
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag);
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(m_disp.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
    EXPECT_FALSE(bag->Values().contains("ViewIndex"));
}

TEST_F(ViewmanagerTest, AHoverLeftOverFromTheOtherLevelNeverReadsPastTheTable) {
    const auto iso = IsometricHotspots();
    MoveOnto(iso[11]); // the top face: index 11, past the face level's 11 hotspots
    PressOn(iso[11]);
    ASSERT_FALSE(Ctrl()->IsIsometricLevel());
    EXPECT_EQ(Ctrl()->HoverIndex(), 11);
    EXPECT_EQ(Ctrl()->PictureIndex(), 0);
    EXPECT_TRUE(Shows(m_faceStrip, 0));
    // The next move hit-tests the face level.
    MoveTo(At(iso[11]).x + 1, At(iso[11]).y);
    EXPECT_EQ(Ctrl()->HoverIndex(), 9);
    EXPECT_EQ(LastSelChanged(), std::make_pair(203, TextOf(203)));
}

TEST_F(ViewmanagerTest, LeavingForAnotherWindowLetsTheMouseGoAndClearsTheText) {
    const auto iso = IsometricHotspots();
    MoveOnto(iso[1]);
    ASSERT_EQ(GetCapture(), Window());
    EXPECT_TRUE(Ctrl()->IsHovering());
    session.MouseMove(310, 10);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(Ctrl()->IsHovering());
    EXPECT_EQ(LastSelChanged(), std::make_pair(0, std::string()));
    EXPECT_TRUE(Shows(m_isoStrip, 0));
    // Back, and out over the host around the control.
    MoveOnto(iso[2]);
    EXPECT_EQ(GetCapture(), Window());
    session.MouseMove(m_host, 150, 50);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ViewmanagerTest, ADisabledControlShowsTheSamePicture) {
    ASSERT_EQ(Invoke(DISPID_ENABLED, DISPATCH_PROPERTYPUT, {CComVariant::Bool(false)}), S_OK);
    EXPECT_TRUE(Shows(m_isoStrip, 0));
}

TEST_F(ViewmanagerTest, LeavingStraightAfterAPressStillClearsTheText) {
    const auto iso = IsometricHotspots();
    PressOn(iso[2]);
    EXPECT_EQ(ViewIndex(), 2);
    EXPECT_EQ(GetCapture(), Window()) << "the hover keeps the mouse after the press ends";
    session.MouseMove(310, 10); // the next move is over the other window
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(LastSelChanged(), std::make_pair(0, std::string()));
    EXPECT_TRUE(Shows(m_isoStrip, 0));
}

TEST_F(ViewmanagerTest, AHostThatClosesTheControlFromItsHandlersEndsNothingElse) {
    // The host closes the control from inside SelChanged, then from inside
    // Click: the control touches nothing of itself afterwards.
    events.onEvent = [&](DISPID id) {
        if (id == kSelChanged)
            Close();
    };
    MoveOnto(IsometricHotspots()[3]);
    EXPECT_EQ(m_disp.Get(), nullptr);
    events.onEvent = nullptr;
    Create();
    events.onEvent = [&](DISPID id) {
        if (id == DISPID_CLICK)
            Close();
    };
    PressOn(IsometricHotspots()[9]);
    EXPECT_EQ(m_disp.Get(), nullptr);
    session.MouseMove(310, 10);
    EXPECT_EQ(GetCapture(), nullptr);
}
