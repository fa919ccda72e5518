// Text is checked by structure (cells, bounding boxes, colours present),
// never against anti-aliased reference images.
#include "platform/gdi/FontFace.h"
#include "platform/gdi/Text.h"
#include "tests/platform/gdi/GdiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class FontScope {
public:
    FontScope(HDC dc, const char* face, int height, int escapement = 0, int weight = FW_NORMAL)
        : m_dc(dc) {
        m_font = CreateFont(height, 0, escapement, escapement, weight, 0, 0, 0, ANSI_CHARSET, 0, 0,
                            0, 0, face);
        m_old = SelectObject(dc, m_font);
    }
    ~FontScope() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_font);
    }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
};

std::string FaceOf(HDC dc) {
    char name[64] = {};
    GetTextFace(dc, sizeof name, name);
    return name;
}

} // namespace

TEST(Text, PlatformFaceNamesMapToMetricCompatibleFamilies) {
    Canvas c(4, 4);
    const std::pair<const char*, const char*> mappings[] = {
        {"Arial", "Liberation Sans"},         {"MS Shell Dlg", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"}, {"Tahoma", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},   {"No Such Face", "Liberation Sans"}};
    for (auto [face, family] : mappings) {
        FontScope font(c.Dc(), face, -11);
        EXPECT_EQ(FaceOf(c.Dc()), family) << "face " << face;
    }
    // The stock GUI font is 8 points of "MS Shell Dlg".
    SelectObject(c.Dc(), GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRIC tm{};
    ASSERT_TRUE(GetTextMetrics(c.Dc(), &tm));
    EXPECT_GE(tm.tmHeight, 12) << "got " << tm.tmHeight;
    EXPECT_LE(tm.tmHeight, 14) << "got " << tm.tmHeight;
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    LOGFONT lf{};
    ASSERT_EQ(GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf), int(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_STREQ(lf.lfFaceName, "MS Shell Dlg");
}

TEST(Text, InstalledFamiliesNameEachScalableFamilyOnce) {
    const std::vector<std::string> families = gdi::FontFace::InstalledFamilies();
    for (const char* family : {"Liberation Sans", "Liberation Mono", "Liberation Serif"})
        EXPECT_EQ(std::count(families.begin(), families.end(), family), 1) << family;
}

TEST(Text, HeightsAndExtents) {
    Canvas c(4, 4);
    SIZE small{}, large{}, wide{}, narrow{};
    {
        // Negative height asks for the character height, positive for the cell.
        FontScope font(c.Dc(), "Arial", 20);
        TEXTMETRIC tm{};
        GetTextMetrics(c.Dc(), &tm);
        EXPECT_NEAR(tm.tmHeight, 20, 1) << "cell height";
        FontScope font2(c.Dc(), "Arial", -20);
        GetTextMetrics(c.Dc(), &tm);
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20) << "character height";
        GetTextExtentPoint32(c.Dc(), "Hello", 5, &large);
        EXPECT_EQ(large.cy, tm.tmHeight);
    }
    {
        FontScope font(c.Dc(), "Arial", -10);
        GetTextExtentPoint32(c.Dc(), "Hello", 5, &small);
    }
    EXPECT_LT(small.cx, large.cx);
    {
        FontScope font(c.Dc(), "Courier New", -12);
        GetTextExtentPoint32(c.Dc(), "WWW", 3, &wide);
        GetTextExtentPoint32(c.Dc(), "iii", 3, &narrow);
        EXPECT_EQ(wide.cx, narrow.cx) << "Courier New is fixed pitch";
    }
    SIZE none{7, 7};
    EXPECT_TRUE(GetTextExtentPoint32(c.Dc(), "", 0, &none));
    EXPECT_EQ(none.cx, 0);
    EXPECT_FALSE(GetTextExtentPoint32(nullptr, "a", 1, &none));
}

TEST(Text, TextOutDrawsInTheTextColourWithinItsCell) {
    Canvas c(120, 40);
    FontScope font(c.Dc(), "Arial", -16);
    SetTextColor(c.Dc(), kBlue);
    SetBkMode(c.Dc(), TRANSPARENT);
    ASSERT_TRUE(TextOut(c.Dc(), 10, 5, "Kestrel", 7));
    SIZE ext{};
    GetTextExtentPoint32(c.Dc(), "Kestrel", 7, &ext);
    const RECT ink = c.Bounds();
    EXPECT_FALSE(IsRectEmpty(&ink));
    EXPECT_GE(ink.left, 10);
    EXPECT_GE(ink.top, 5);
    EXPECT_LE(ink.right, 10 + ext.cx + 1) << "ink " << RectText(ink) << " extent " << ext.cx;
    EXPECT_LE(ink.bottom, 5 + ext.cy);
    bool fullBlue = false;
    for (auto [x, y] : c.Touched())
        fullBlue |= c.At(x, y) == kBlue;
    EXPECT_TRUE(fullBlue) << "solid text pixels have the text colour";

    // An opaque background fills exactly the cell.
    c.Clear(kWhite);
    SetBkMode(c.Dc(), OPAQUE);
    SetBkColor(c.Dc(), RGB(255, 255, 0));
    TextOut(c.Dc(), 10, 5, "Kestrel", 7);
    EXPECT_EQ(c.Bounds(), (RECT{10, 5, 10 + ext.cx, 5 + ext.cy}));
}

TEST(Text, Windows1252CharactersHaveGlyphs) {
    Canvas c(60, 30);
    FontScope font(c.Dc(), "Arial", -16);
    SetBkMode(c.Dc(), TRANSPARENT);
    for (const char* s : {"\xDF", "\xFC", "\xB0", "\x80"}) { // ß ü ° €
        c.Clear(kWhite);
        TextOut(c.Dc(), 5, 5, s, 1);
        EXPECT_FALSE(c.Touched().empty())
            << "byte 0x" << std::hex << int(static_cast<unsigned char>(s[0]));
    }
}

// The cell of centred single-line text sits in the middle of the rectangle,
// within one pixel both ways.
TEST(Text, CentredSingleLineTextIsCentredWithinOnePixel) {
    const char* texts[] = {"OK", "Abbrechen", "mm", "W", "1234.567"};
    const RECT rects[] = {{0, 0, 120, 21}, {13, 7, 100, 40}, {5, 5, 46, 20}};
    for (const char* text : texts)
        for (const RECT& rc : rects) {
            Canvas c(130, 50);
            SelectObject(c.Dc(), GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(c.Dc(), OPAQUE);
            SetBkColor(c.Dc(), kBlue);
            RECT r = rc;
            DrawText(c.Dc(), text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            const RECT cell = c.Bounds();
            const int dx = (cell.left + cell.right) - (rc.left + rc.right);
            const int dy = (cell.top + cell.bottom) - (rc.top + rc.bottom);
            EXPECT_LE(std::abs(dx), 2)
                << "\"" << text << "\" in " << RectText(rc) << ": cell " << RectText(cell);
            EXPECT_LE(std::abs(dy), 2)
                << "\"" << text << "\" in " << RectText(rc) << ": cell " << RectText(cell);
        }
}

TEST(Text, EscapementNineHundredRunsUpwards) {
    Canvas c(60, 140);
    FontScope font(c.Dc(), "Arial", -14, 900);
    SetBkMode(c.Dc(), TRANSPARENT);
    SetTextColor(c.Dc(), kBlack);
    ASSERT_TRUE(TextOut(c.Dc(), 20, 120, "Beschleunigung", 14));
    SIZE ext{};
    GetTextExtentPoint32(c.Dc(), "Beschleunigung", 14, &ext);
    const RECT ink = c.Bounds();
    EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left))
        << "taller than wide: " << RectText(ink);
    EXPECT_LE(ink.bottom, 121) << "everything lies above the reference point";
    EXPECT_NEAR(ink.top, 120 - ext.cx, 3) << "runs the text's width upwards";
    EXPECT_GE(ink.left, 20) << "the cell lies to the right of the reference point";
    EXPECT_LE(ink.right, 20 + ext.cy);
    // The first letter sits at the bottom: ink near the reference point.
    bool nearStart = false;
    for (auto [x, y] : c.Touched())
        nearStart |= y >= 110;
    EXPECT_TRUE(nearStart);
}

TEST(Text, DrawTextAlignmentAndMeasuring) {
    Canvas c(200, 100);
    SelectObject(c.Dc(), GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(c.Dc(), TRANSPARENT);
    TEXTMETRIC tm{};
    GetTextMetrics(c.Dc(), &tm);

    // DT_CALCRECT measures and draws nothing.
    RECT calc{10, 10, 100, 10};
    const char* para = "Die Geschwindigkeit wird in Hz angegeben";
    const int h = DrawText(c.Dc(), para, -1, &calc, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    EXPECT_TRUE(c.Touched().empty());
    EXPECT_EQ(h, calc.bottom - calc.top);
    EXPECT_EQ(h % tm.tmHeight, 0);
    EXPECT_GT(h / tm.tmHeight, 1) << "wrapped onto several lines";
    EXPECT_LE(calc.right - calc.left, 90) << "breakable words fit the width";

    // Right alignment ends at the right edge.
    RECT rc{0, 0, 150, 20};
    DrawText(c.Dc(), "Rechts", -1, &rc, DT_RIGHT | DT_SINGLELINE);
    EXPECT_NEAR(c.Bounds().right, 150, 2) << RectText(c.Bounds());

    // A prefix '&' is not drawn; DT_NOPREFIX draws it.
    RECT a{0, 0, 200, 0}, b{0, 0, 200, 0};
    DrawText(c.Dc(), "&Datei", -1, &a, DT_CALCRECT | DT_SINGLELINE);
    DrawText(c.Dc(), "&Datei", -1, &b, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SIZE plain{};
    GetTextExtentPoint32(c.Dc(), "Datei", 5, &plain);
    EXPECT_EQ(a.right, plain.cx);
    EXPECT_GT(b.right, a.right);

    // Tabs expand to stops of eight average character widths.
    RECT tab{0, 0, 200, 0};
    DrawText(c.Dc(), "a\tb", -1, &tab, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_GE(tab.right, 8 * tm.tmAveCharWidth);
}

TEST(Text, EndEllipsisKeepsTheTextInsideAndClippingConfinesIt) {
    Canvas c(200, 30);
    SelectObject(c.Dc(), GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(c.Dc(), TRANSPARENT);
    const char* longText = "Beschleunigungsrampe berechnen";
    RECT rc{10, 5, 70, 25};
    DrawText(c.Dc(), longText, -1, &rc, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(c.Bounds().right, 70) << "unclipped text runs past the rectangle";
    c.Clear(kWhite);
    DrawText(c.Dc(), longText, -1, &rc, DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS);
    EXPECT_LE(c.Bounds().right, 70) << RectText(c.Bounds());
    c.Clear(kWhite);
    DrawText(c.Dc(), longText, -1, &rc, DT_SINGLELINE);
    EXPECT_LE(c.Bounds().right, 70) << "clipped to the rectangle";
}
