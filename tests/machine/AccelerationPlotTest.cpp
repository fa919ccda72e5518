// The acceleration control's pictures, checked where a rule fixes a pixel:
// the plot rectangle's axes, the empty face, the marker of the current step
// and its state from paint to paint, and the double buffer.
#include "platform/gdi/SysColors.h"
#include "tests/machine/AccelerationTestSupport.h"

#include <climits>
#include <functional>

using acceleration_test::AccelerationTest;

namespace {

// Pixels read 0xRRGGBB; colours are 0x00BBGGRR.
std::uint32_t Shown(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
const std::uint32_t kBlack = 0x000000;
const std::uint32_t kGreyPen = 0x808080;
const std::uint32_t kBlueMarker = 0x0000FF;
const std::uint32_t kRedMarker = 0xFF0000;

// The control's 300 x 200 as the host shows it at (10, 10), in the
// control's own coordinates.
struct Picture {
    SurfaceBuffer pixels;
    std::uint32_t At(int x, int y) const { return pixels.Pixel(10 + x, 10 + y); }
    bool operator==(const Picture& other) const {
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                if (At(x, y) != other.At(x, y))
                    return false;
        return true;
    }
};

// Where the profile plot puts step j of a move along `table` (the host's
// 16-bit entries): the same sums, done step by step.
struct ProfilePoint {
    int x;
    int y;
};
ProfilePoint ProfileAt(const std::vector<USHORT>& table, LONG vmax, LONG j) {
    const CRect r(60, 10, 290, 180);
    const LONG c = LONG(table.size());
    auto entry = [&](LONG k) -> double {
        if (k > c && k <= 2 * c)
            return 65535;
        return k <= c ? (k < c ? table[std::size_t(k)] : 65535) : table[std::size_t(3 * c - k)];
    };
    auto frequency = [&](LONG k) {
        return k > c && k <= 2 * c ? double(vmax) : double(vmax) * entry(k) / 65536.0;
    };
    double total = 0;
    double before = 0;
    for (LONG k = 0; k < 3 * c; ++k) {
        if (k == j)
            before = total;
        total += 1.0 / frequency(k);
    }
    const double xs = 0.9 * r.Width() / total;
    const double q = 1000000.0 * entry(j) / (double(vmax) * 65536.0);
    const double qs = 0.9 * r.Height() * double(vmax) / 1000000.0;
    return {r.left + int(before * xs), r.bottom - int(q * qs)};
}

class CProbeAccelerationCtrl final : public CAccelerationCtrl {
public:
    std::function<void()> painted;

protected:
    void Paint(CDC* dc, const CRect& rc) override {
        CAccelerationCtrl::Paint(dc, rc);
        if (painted)
            painted();
    }
};

class AccelerationPlotTest : public AccelerationTest {
protected:
    Picture Shot() {
        session.Pump();
        return Picture{session.Pixels(m_host)};
    }
};

} // namespace

TEST_F(AccelerationPlotTest, TheRampPlotsAxesFrameAndFace) {
    auto c = Create();
    Put(c, "Vstart", CComVariant::I2(200));
    Picture p = Shot();
    const std::uint32_t face = Shown(::GetSysColor(COLOR_BTNFACE));
    const std::uint32_t shadow = Shown(::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(p.At(0, 0), shadow) << "the frame";
    EXPECT_EQ(p.At(299, 199), shadow);
    EXPECT_EQ(p.At(150, 0), shadow);
    EXPECT_EQ(p.At(20, 60), face) << "left of the plot, between the labels";
    // The plot rectangle (75, 10) - (290, 180): the frequency axis on its
    // left edge, the time axis on its bottom, in black 2-pixel pens.
    EXPECT_EQ(p.At(75, 100), kBlack);
    EXPECT_EQ(p.At(75, 12), kBlack);
    EXPECT_EQ(p.At(180, 180), kBlack);
    EXPECT_EQ(p.At(288, 180), kBlack);
    EXPECT_EQ(p.At(78, 100), face) << "inside the plot, left of the curve";
    // The curve ends at step 189 of 191 (pixel 114 of 115), and the blue
    // tail carries its level on to the right edge.
    const std::vector<USHORT> table = Table(c);
    const int level = int(double(LONG(table[189]) * 10000 / 65536) * (0.9 * 170 / 10200));
    EXPECT_EQ(p.At(250, 180 - level), Shown(0xFF0000));
    EXPECT_EQ(p.At(250, 180 - level + 1), face);

    Put(c, "Enabled", CComVariant::Bool(false));
    p = Shot();
    EXPECT_EQ(p.At(75, 100), kGreyPen) << "a disabled control draws its pens grey";
    EXPECT_EQ(p.At(180, 180), kGreyPen);
    EXPECT_EQ(p.At(0, 0), shadow);
}

TEST_F(AccelerationPlotTest, ModeTwoShowsTheFaceAlone) {
    auto c = Create();
    Put(c, "Vstart", CComVariant::I2(200));
    Put(c, "Mode", CComVariant::I4(2));
    const Picture p = Shot();
    const std::uint32_t face = Shown(::GetSysColor(COLOR_BTNFACE));
    int other = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            other += p.At(x, y) != face;
    EXPECT_EQ(other, 0) << "no frame, no axes, no text";
}

TEST_F(AccelerationPlotTest, TheMarkerFollowsTheCurrentStepUpAndDown) {
    auto c = Create();
    auto* object = Object(c);
    Put(c, "Alpha", CComVariant::I4(10000)); // a linear ramp of 1251 entries
    Put(c, "Mode", CComVariant::I4(1));
    const std::vector<USHORT> table = Table(c);
    const LONG count = LONG(table.size());

    // Accelerating: a blue marker on the rising speed, the highest point
    // reached kept with its frequency.
    Put(c, "CurRamp", CComVariant::I4(300));
    Picture p = Shot();
    ProfilePoint at = ProfileAt(table, 5000, 300);
    EXPECT_EQ(p.At(at.x, at.y), kBlueMarker) << "at (" << at.x << ", " << at.y << ")";
    EXPECT_EQ(object->LastRamp(), 300);
    EXPECT_EQ(object->PeakY(), at.y);
    EXPECT_EQ(object->PeakFreq(), LONG((5000 * LONG(table[300])) >> 16));

    Put(c, "CurRamp", CComVariant::I4(900));
    p = Shot();
    const ProfilePoint higher = ProfileAt(table, 5000, 900);
    EXPECT_EQ(p.At(higher.x, higher.y), kBlueMarker);
    EXPECT_NE(p.At(at.x, at.y), kBlueMarker) << "the marker moved on";
    EXPECT_EQ(object->PeakY(), higher.y);
    EXPECT_LT(higher.y, at.y);

    // Decelerating: a red marker on the falling side at the same entry.
    Put(c, "CurRamp", CComVariant::I4(300));
    p = Shot();
    const ProfilePoint falling = ProfileAt(table, 5000, 3 * count - 300);
    EXPECT_EQ(p.At(falling.x, falling.y), kRedMarker)
        << "at (" << falling.x << ", " << falling.y << ")";
    EXPECT_EQ(object->LastRamp(), 300);
    EXPECT_EQ(object->PeakY(), higher.y) << "the peak stays";
    int dots = 0;
    for (int x = 61; x < 290; ++x)
        dots += p.At(x, higher.y) == kRedMarker;
    EXPECT_GT(dots, 100) << "the dotted peak line";

    Put(c, "CurRamp", CComVariant::I4(0));
    Shot();
    EXPECT_EQ(object->LastRamp(), 0);
    EXPECT_EQ(object->PeakY(), 0);
    EXPECT_EQ(object->PeakFreq(), 0);
}

TEST_F(AccelerationPlotTest, TheWindowNeverShowsAHalfDrawnPlot) {
    auto c = Create(kPlace, &COleControl::CreateObject<CProbeAccelerationCtrl>);
    auto* probe = static_cast<CProbeAccelerationCtrl*>(Object(c));
    Put(c, "Vstart", CComVariant::I2(200));
    Picture before = Shot();
    // The painter has drawn everything when it returns; what the window
    // shows then must still be the whole previous picture.
    std::vector<Picture> during;
    probe->painted = [&] { during.push_back(Picture{session.Pixels(m_host)}); };
    for (LONG mode : {2, 1, 0}) {
        Put(c, "Mode", CComVariant::I4(mode));
        const Picture after = Shot();
        ASSERT_FALSE(during.empty()) << "mode " << mode;
        for (const Picture& seen : during)
            EXPECT_TRUE(seen == before) << "mode " << mode;
        EXPECT_FALSE(after == before) << "mode " << mode;
        during.clear();
        before = after;
    }
}

TEST_F(AccelerationPlotTest, AResizeDropsTheBitmapAndThePlotFillsTheNewSize) {
    auto c = Create();
    auto* object = Object(c);
    Shot();
    EXPECT_TRUE(object->HasPlotBitmap());
    ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(c.As(IID_IOleInPlaceObject, &inPlace), S_OK);
    const RECT smaller{10, 10, 160, 110};
    ASSERT_EQ(inPlace->SetObjectRects(&smaller, &smaller), S_OK);
    EXPECT_FALSE(object->HasPlotBitmap());
    const RECT larger{10, 10, 360, 260};
    ASSERT_EQ(inPlace->SetObjectRects(&larger, &larger), S_OK);
    session.Pump();
    auto pixels = session.Pixels(m_host);
    const std::uint32_t shadow = Shown(::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(pixels.Pixel(359, 259), shadow) << "the frame at the new corner";
    EXPECT_EQ(pixels.Pixel(10 + 75, 10 + 200), kBlack) << "the frequency axis, longer";
}

// Degenerate parameters and tables give scales of nothing or of anything,
// zero step frequencies and empty plots; every picture still paints.
TEST_F(AccelerationPlotTest, AnyParametersAndTablesPaint) {
    auto c = Create(RECT{10, 10, 110, 60}); // narrower than the ramp plot's margins
    auto big = Create(kPlace);
    for (auto* object : {Object(c), Object(big)}) {
        for (LONG vmax : {INT_MIN, -1, 0, 40000, INT_MAX})
            for (SHORT b : {SHORT(SHRT_MIN), SHORT(0), SHORT(1), SHORT(SHRT_MAX)})
                for (LONG fill : {INT_MIN, 0, 65535, INT_MAX})
                    for (SHORT count : {SHORT(0), SHORT(1), SHORT(4096)})
                        for (LONG mode : {0, 1}) {
                            object->m_Vmax = vmax;
                            object->m_B = b;
                            object->m_Vstart = SHORT(-b);
                            object->m_rampTable.fill(fill);
                            object->m_rampCount = count;
                            object->m_Mode = mode;
                            object->m_curramp = count;
                            object->InvalidateControl();
                            session.Pump();
                        }
    }
    SUCCEED();
}

// The same painter answers the reflected owner-draw request and a
// container's drawing into its own DC at any place, and erasing leaves the
// picture alone.
TEST_F(AccelerationPlotTest, OwnerDrawAndContainerDrawingPaintTheItemsRectangle) {
    auto c = Create();
    auto* object = Object(c);
    constexpr COLORREF kMarker = RGB(1, 2, 3);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 300);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, 400, 300};
    HBRUSH marker = CreateSolidBrush(kMarker);
    FillRect(dc, &all, marker);
    DeleteObject(marker);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);

    DRAWITEMSTRUCT item{};
    item.hDC = dc;
    item.rcItem = RECT{0, 0, 300, 200};
    EXPECT_EQ(::SendMessageA(object->m_hWnd, OCM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(GetPixel(dc, 0, 0), shadow);
    EXPECT_EQ(GetPixel(dc, 299, 199), shadow);
    EXPECT_EQ(GetPixel(dc, 300, 200), kMarker);

    // Placed at (50, 60): the frame moves with it, nothing lands outside.
    ComPtr<IViewObject> view;
    ASSERT_EQ(c.As(IID_IViewObject, &view), S_OK);
    const RECT placed{50, 60, 350, 260};
    FillRect(dc, &all, marker = CreateSolidBrush(kMarker));
    DeleteObject(marker);
    EXPECT_EQ(view->Draw(DVASPECT_CONTENT, dc, &placed), S_OK);
    EXPECT_EQ(GetPixel(dc, 50, 60), shadow);
    EXPECT_EQ(GetPixel(dc, 349, 259), shadow);
    EXPECT_EQ(GetPixel(dc, 49, 59), kMarker);
    EXPECT_EQ(GetPixel(dc, 350, 260), kMarker);
    EXPECT_EQ(GetPixel(dc, 50 + 75, 60 + 100), RGB(0, 0, 0)) << "the frequency axis";

    const Picture before = Shot();
    EXPECT_EQ(::SendMessageA(object->m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_TRUE(Shot() == before);

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
