// The system classes "BUTTON" and "STATIC": what they ask their parent, the
// notifications they send, and what they draw.
#include "platform/user/SystemControls.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/user/Icon.h"
#include "tests/platform/user/UserTestFixture.h"

#include <algorithm>
#include <vector>

using namespace kw::test;

namespace {

constexpr std::uint32_t kRed = 0xFF0000; // 0x00RRGGBB in surfaces.
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;

HWND CreateControl(const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
                   HWND parent, int id) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(std::intptr_t(id)), nullptr, nullptr);
}

class SystemControlsTest : public UserTest {
protected:
    void SetUp() override {
        parent = rec.CreateTop(0, 0, 240, 120);
        rec.OnMessage(parent, [this](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT*) {
            if (msg == WM_DRAWITEM) {
                const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                drawn.push_back(*dis);
                // Red while selected, green otherwise: the press shows in pixels.
                const HBRUSH brush = CreateSolidBrush(
                    (dis->itemState & ODS_SELECTED) ? RGB(255, 0, 0) : RGB(0, 255, 0));
                FillRect(dis->hDC, &dis->rcItem, brush);
                DeleteObject(brush);
                return true;
            }
            return false;
        });
    }

    std::vector<Received> Clicks() const {
        std::vector<Received> clicks;
        for (const Received& r : rec.Of(WM_COMMAND))
            if (r.hwnd == parent && HIWORD(r.wParam) == BN_CLICKED)
                clicks.push_back(r);
        return clicks;
    }

    std::uint32_t Pixel(HWND hwnd, int x, int y) const { return session.Pixels(hwnd).Pixel(x, y); }

    HWND parent{nullptr};
    std::vector<DRAWITEMSTRUCT> drawn;
};

// The rows of a window's client area that hold a pixel of `color`, or with
// `other` a pixel of any colour but it (anti-aliased text has few pixels of
// the text colour itself).
std::vector<int> RowsWith(const SurfaceBuffer& pixels, std::uint32_t color, bool other = false) {
    std::vector<int> rows;
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < pixels.Width(); ++x)
            if ((pixels.Pixel(x, y) == color) != other) {
                rows.push_back(y);
                break;
            }
    return rows;
}

int LeftmostColumnWithout(const SurfaceBuffer& pixels, std::uint32_t background) {
    for (int x = 0; x < pixels.Width(); ++x)
        for (int y = 0; y < pixels.Height(); ++y)
            if (pixels.Pixel(x, y) != background)
                return x;
    return -1;
}

} // namespace

// [SECTION] Buttons

TEST_F(SystemControlsTest, OwnerDrawnButtonAsksItsParentWithTheItemDescription) {
    const HWND button = CreateControl("BUTTON", "Go", BS_OWNERDRAW, 10, 10, 60, 30, parent, 7);
    ASSERT_TRUE(button);
    session.Pump();
    ASSERT_EQ(drawn.size(), 1u);
    const DRAWITEMSTRUCT& dis = drawn[0];
    EXPECT_EQ(dis.CtlType, ODT_BUTTON);
    EXPECT_EQ(dis.CtlID, 7u);
    EXPECT_EQ(dis.itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(dis.itemState, 0u);
    EXPECT_EQ(dis.hwndItem, button);
    EXPECT_NE(dis.hDC, nullptr);
    EXPECT_EQ(dis.rcItem, (RECT{0, 0, 60, 30}));
    const auto wm = rec.Of(WM_DRAWITEM);
    ASSERT_EQ(wm.size(), 1u);
    EXPECT_EQ(wm[0].wParam, 7u) << "wParam carries the control id";
    EXPECT_EQ(Pixel(button, 30, 15), kGreen);

    // The parent draws into the DC it is given: a disabled button says so.
    drawn.clear();
    EnableWindow(button, FALSE);
    session.Pump();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().itemState & ODS_DISABLED, ODS_DISABLED);
}

TEST_F(SystemControlsTest, OwnerDrawnButtonErasesWithItsParentsButtonBrush) {
    const HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    rec.OnMessage(parent, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT* result) {
        if (msg != WM_CTLCOLORBTN)
            return false;
        *result = reinterpret_cast<LRESULT>(blue);
        return true;
    });
    const HWND button = CreateControl("BUTTON", "Go", BS_OWNERDRAW, 10, 10, 60, 30, parent, 7);
    session.Pump();
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(60, 30, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(mem, bitmap);
    EXPECT_EQ(SendMessageA(button, WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0), 1);
    EXPECT_EQ(GetPixel(mem, 59, 29), RGB(0, 0, 255));
    const auto asked = rec.Of(WM_CTLCOLORBTN);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().lParam, reinterpret_cast<LPARAM>(button));
    // A parent that gives no brush: the button face.
    rec.OnMessage(parent, [](HWND, UINT, WPARAM, LPARAM, LRESULT*) { return false; });
    SendMessageA(button, WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0);
    EXPECT_EQ(GetPixel(mem, 0, 0), GetSysColor(COLOR_3DFACE));
    // Other buttons paint all of themselves and leave the DC alone.
    const HWND push = CreateControl("BUTTON", "Ok", BS_PUSHBUTTON, 80, 10, 60, 30, parent, 8);
    SetPixel(mem, 5, 5, RGB(1, 2, 3));
    SendMessageA(push, WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0);
    EXPECT_EQ(GetPixel(mem, 5, 5), RGB(1, 2, 3));
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    DestroyWindow(push);
    DestroyWindow(button);
    DeleteObject(blue);
}

TEST_F(SystemControlsTest, ButtonIsPushedWhileThePointerIsInsideAndClicksOnReleaseInside) {
    const HWND button = CreateControl("BUTTON", "Go", BS_OWNERDRAW, 10, 10, 60, 30, parent, 7);
    session.Pump();
    drawn.clear();

    session.MouseMove(button, 5, 5);
    session.MouseDown();
    EXPECT_EQ(GetCapture(), button);
    EXPECT_EQ(GetFocus(), button);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
    ASSERT_GE(drawn.size(), 2u);
    EXPECT_EQ(drawn.front().itemAction, ODA_FOCUS);
    EXPECT_EQ(drawn.front().itemState, ODS_FOCUS);
    EXPECT_EQ(drawn.back().itemAction, ODA_SELECT);
    EXPECT_EQ(drawn.back().itemState, ODS_SELECTED | ODS_FOCUS);
    EXPECT_EQ(Pixel(button, 30, 15), kRed) << "pushed at once, not at the next paint";

    // Leaving the button lets it up; coming back pushes it again.
    session.MouseMove(button, 100, 5);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    EXPECT_EQ(Pixel(button, 30, 15), kGreen);
    session.MouseMove(button, 50, 25);
    EXPECT_EQ(Pixel(button, 30, 15), kRed);
    EXPECT_TRUE(Clicks().empty());

    session.MouseUp();
    const auto clicks = Clicks();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].wParam, MAKEWPARAM(7, BN_CLICKED));
    EXPECT_EQ(clicks[0].lParam, reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Pixel(button, 30, 15), kGreen);

    // A release outside is no click.
    session.Advance(1000); // No double click.
    session.MouseMove(button, 5, 5);
    session.MouseDown();
    session.MouseMove(button, 5, 40);
    session.MouseUp();
    EXPECT_EQ(Clicks().size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SystemControlsTest, SpaceBarClicksAndLostCaptureCancelsThePress) {
    const HWND button = CreateControl("BUTTON", "Go", BS_PUSHBUTTON, 10, 10, 60, 30, parent, 3);
    SetFocus(button);
    session.KeyDown(VK_SPACE);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    EXPECT_TRUE(Clicks().empty());
    session.KeyUp(VK_SPACE);
    ASSERT_EQ(Clicks().size(), 1u);
    EXPECT_EQ(Clicks()[0].wParam, MAKEWPARAM(3, BN_CLICKED));

    session.MouseMove(button, 5, 5);
    session.MouseDown();
    SetCapture(parent);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    ReleaseCapture();
    session.MouseUp();
    EXPECT_EQ(Clicks().size(), 1u);
}

TEST_F(SystemControlsTest, ButtonsAnswerTheDialogCodeOfTheirStyle) {
    struct Case {
        DWORD style;
        LRESULT code;
    } cases[] = {
        {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {BS_OWNERDRAW, DLGC_BUTTON},
        {BS_AUTOCHECKBOX, DLGC_BUTTON},
        {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_GROUPBOX, DLGC_STATIC},
    };
    for (const Case& c : cases) {
        const HWND button = CreateControl("BUTTON", "x", c.style, 0, 0, 50, 20, parent, 1);
        EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), c.code) << "style " << c.style;
        DestroyWindow(button);
    }
    const HWND button = CreateControl("BUTTON", "x", BS_PUSHBUTTON, 0, 0, 50, 20, parent, 1);
    SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(DWORD(GetWindowLongA(button, GWL_STYLE)) & (WS_CHILD | BS_TYPEMASK),
              WS_CHILD | BS_DEFPUSHBUTTON)
        << "BM_SETSTYLE keeps the window styles";
}

TEST_F(SystemControlsTest, PushButtonDrawsItsPressAndItsFocus) {
    const HWND button = CreateControl("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 64, 24, parent, 1);
    session.Pump();
    const SurfaceBuffer up = session.Pixels(button);
    const std::uint32_t face = PixelFromColor(GetSysColor(COLOR_BTNFACE));
    const std::uint32_t ink = PixelFromColor(GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(up.Pixel(6, 4), face);
    EXPECT_FALSE(RowsWith(up, ink).empty()) << "the caption is drawn";

    SendMessageA(button, BM_SETSTATE, TRUE, 0);
    const SurfaceBuffer down = session.Pixels(button);
    EXPECT_NE(down.Pixel(1, 1), up.Pixel(1, 1)) << "the frame looks pushed";
    EXPECT_EQ(RowsWith(down, ink).front(), RowsWith(up, ink).front() + 1)
        << "the caption moves down by one pixel";
    SendMessageA(button, BM_SETSTATE, FALSE, 0);
    EXPECT_EQ(session.Pixels(button).Pixel(1, 1), up.Pixel(1, 1));

    SetFocus(button);
    const SurfaceBuffer focused = session.Pixels(button);
    int changed = 0;
    for (int x = 3; x < 61; ++x)
        changed += focused.Pixel(x, 3) != up.Pixel(x, 3);
    EXPECT_GT(changed, 20) << "a dotted focus rectangle three pixels inside";
}

TEST_F(SystemControlsTest, AutomaticCheckBoxesAndRadioButtonsKeepTheirState) {
    const HWND check = CreateControl("BUTTON", "Flag", BS_AUTOCHECKBOX, 0, 0, 80, 16, parent, 10);
    const HWND plain = CreateControl("BUTTON", "Flag", BS_CHECKBOX, 0, 20, 80, 16, parent, 11);
    SendMessageA(check, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(check, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(plain, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(plain, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "not automatic";
    SendMessageA(plain, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(SendMessageA(plain, BM_GETCHECK, 0, 0), BST_CHECKED) << "two states only";
    EXPECT_EQ(Clicks().size(), 3u);

    const HWND r1 =
        CreateControl("BUTTON", "a", BS_AUTORADIOBUTTON | WS_GROUP, 100, 0, 50, 16, parent, 20);
    const HWND r2 = CreateControl("BUTTON", "b", BS_AUTORADIOBUTTON, 100, 20, 50, 16, parent, 21);
    const HWND other =
        CreateControl("BUTTON", "c", BS_AUTORADIOBUTTON | WS_GROUP, 100, 40, 50, 16, parent, 22);
    SendMessageA(other, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(r1, BM_SETCHECK, BST_CHECKED, 0);
    session.MouseMove(r2, 5, 5);
    session.Click();
    EXPECT_EQ(SendMessageA(r2, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(r1, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(other, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group";

    // The box shows the state: its inside changes when checked.
    session.Pump();
    const SurfaceBuffer before = session.Pixels(check);
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    session.Pump();
    const SurfaceBuffer after = session.Pixels(check);
    int changed = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < kCheckBoxSize; ++x)
            changed += before.Pixel(x, y) != after.Pixel(x, y);
    EXPECT_GT(changed, 5);
}

// [SECTION] Statics

TEST_F(SystemControlsTest, StaticPaintsWithTheParentsBrushAndTextColour) {
    const HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    rec.OnMessage(parent, [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
        if (msg != WM_CTLCOLORSTATIC)
            return false;
        const auto hdc = reinterpret_cast<HDC>(wParam);
        SetTextColor(hdc, RGB(255, 0, 0));
        SetBkMode(hdc, TRANSPARENT);
        *result = reinterpret_cast<LRESULT>(blue);
        return true;
    });
    const HWND label = CreateControl("STATIC", "Hallo", SS_LEFT, 10, 10, 100, 20, parent, -1);
    session.Pump();
    const auto asked = rec.Of(WM_CTLCOLORSTATIC);
    ASSERT_FALSE(asked.empty());
    EXPECT_NE(asked[0].wParam, 0u);
    EXPECT_EQ(asked[0].lParam, reinterpret_cast<LPARAM>(label));
    const SurfaceBuffer pixels = session.Pixels(label);
    EXPECT_EQ(pixels.Pixel(99, 19), kBlue);
    EXPECT_FALSE(RowsWith(pixels, kRed).empty()) << "the text in the parent's colour";
    EXPECT_LT(LeftmostColumnWithout(pixels, kBlue), 3) << "left-aligned";

    // The superclass paint of a control framework: WM_PAINT into a given DC.
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(100, 20, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(mem, bitmap);
    SendMessageA(label, WM_PAINT, reinterpret_cast<WPARAM>(mem), 0);
    EXPECT_EQ(GetPixel(mem, 99, 19), RGB(0, 0, 255));
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);

    // New text repaints.
    SetWindowTextA(label, "");
    EXPECT_TRUE(GetUpdateRect(label, nullptr, FALSE));
    session.Pump();
    EXPECT_TRUE(RowsWith(session.Pixels(label), kBlue, true).empty());
    DestroyWindow(label);
    DeleteObject(blue);
}

TEST_F(SystemControlsTest, StaticWrapsLongTextAtWordsAndAlignsIt) {
    const HWND label = CreateControl("STATIC", "Eins zwei drei vier fuenf sechs", SS_LEFT, 0, 0, 90,
                                     40, parent, -1);
    session.Pump();
    const std::uint32_t face = PixelFromColor(GetSysColor(COLOR_BTNFACE));
    HDC hdc = GetDC(label);
    SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRIC tm;
    GetTextMetrics(hdc, &tm);
    ReleaseDC(label, hdc);
    const std::vector<int> rows = RowsWith(session.Pixels(label), face, true);
    ASSERT_FALSE(rows.empty());
    EXPECT_LT(rows.front(), tm.tmHeight) << "a first line";
    EXPECT_GE(rows.back(), tm.tmHeight) << "and a second one";
    EXPECT_LT(rows.back(), 2 * tm.tmHeight) << "but not a third";

    const HWND left = CreateControl("STATIC", "ab", SS_LEFT, 0, 50, 90, 16, parent, -1);
    const HWND centre = CreateControl("STATIC", "ab", SS_CENTER, 0, 70, 90, 16, parent, -1);
    const HWND right = CreateControl("STATIC", "ab", SS_RIGHT, 0, 90, 90, 16, parent, -1);
    session.Pump();
    const int l = LeftmostColumnWithout(session.Pixels(left), face);
    const int c = LeftmostColumnWithout(session.Pixels(centre), face);
    const int r = LeftmostColumnWithout(session.Pixels(right), face);
    EXPECT_LT(l, c);
    EXPECT_LT(c, r);
    EXPECT_GT(r, 70);
}

TEST_F(SystemControlsTest, IconStaticShowsItsIconOrAPlaceholderOfIconSize) {
    const HWND icon = CreateControl("STATIC", "#1", SS_ICON, 4, 4, 0, 0, parent, -1);
    RECT rc;
    GetClientRect(icon, &rc);
    EXPECT_EQ(rc, (RECT{0, 0, 32, 32}));
    session.Pump();
    EXPECT_NE(session.Pixels(icon).Pixel(16, 16), PixelFromColor(GetSysColor(COLOR_BTNFACE)))
        << "a placeholder, not an empty area";

    // A 16 x 16 red icon whose left half is masked out.
    HBITMAP color = CreateBitmap(16, 16, 1, 32, nullptr);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, color);
    const RECT right{8, 0, 16, 16};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(mem, &right, red);
    SelectObject(mem, mask);
    const RECT left{0, 0, 8, 16};
    FillRect(mem, &left, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(red);
    ICONINFO info;
    info.hbmColor = color;
    info.hbmMask = mask;
    const HICON hicon = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    ASSERT_TRUE(hicon);

    EXPECT_EQ(SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(hicon), 0), 0);
    session.Pump();
    GetClientRect(icon, &rc);
    EXPECT_EQ(rc, (RECT{0, 0, 16, 16}));
    const SurfaceBuffer pixels = session.Pixels(icon);
    EXPECT_EQ(pixels.Pixel(12, 8), kRed);
    EXPECT_EQ(pixels.Pixel(3, 8), PixelFromColor(GetSysColor(COLOR_BTNFACE)))
        << "the masked half shows the background";
    DestroyWindow(icon);
    EXPECT_TRUE(DestroyIcon(hicon));
    EXPECT_FALSE(DestroyIcon(hicon));
}
