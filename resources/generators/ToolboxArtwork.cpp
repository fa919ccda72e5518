#include "resources/generators/ToolboxArtwork.h"

#include "resources/generators/Draw16.h"

#include <cstring>

namespace kw::bitmaps {

namespace {

// A picture from rows of letters, one letter a pixel:
//   . button face   k black   g grey   w white   r/R red/dark red
//   G/d green/dark green   b/B blue/dark blue   y/Y yellow/dark yellow
//   c/C cyan/dark cyan   m magenta
Colour Letter(char c) {
    switch (c) {
    case 'k':
        return Black;
    case 'g':
        return Grey;
    case 'w':
        return White;
    case 'r':
        return Red;
    case 'R':
        return DarkRed;
    case 'G':
        return Green;
    case 'd':
        return DarkGreen;
    case 'b':
        return Blue;
    case 'B':
        return DarkBlue;
    case 'y':
        return Yellow;
    case 'Y':
        return DarkYellow;
    case 'c':
        return Cyan;
    case 'C':
        return DarkCyan;
    case 'm':
        return Magenta;
    default:
        return LightGrey;
    }
}

Picture16 FromRows(const char* const (&rows)[kToolboxHeight]) {
    Picture16 p(kToolboxWidth, kToolboxHeight, LightGrey);
    for (int y = 0; y < kToolboxHeight; ++y)
        for (int x = 0; x < kToolboxWidth && rows[y][x]; ++x)
            p.Set(x, y, Letter(rows[y][x]));
    return p;
}

// The pictures, one row of letters a pixel row.
// clang-format off

// An entry field with a value and up and down buttons.
constexpr const char* kSpinEdit[kToolboxHeight] = {
    "................",
    "................",
    "................",
    "gggggggggg.wwwwg",
    "gwwwwwwwww.w.k.g",
    "gwwkwwkkww.wkkkg",
    "gwkkwwwwkw.w...g",
    "gwwkwwwkww.ggggg",
    "gwwkwwkwww.wwwwg",
    "gwkkkwkkkw.w...g",
    "gwwwwwwwww.wkkkg",
    "gwwwwwwwww.w.k.g",
    "wwwwwwwwww.ggggg",
    "................",
    "................",
};

// A raised button with a picture and a text line.
constexpr const char* kBmpButton1[kToolboxHeight] = {
    "................",
    "wwwwwwwwwwwwwwwk",
    "w.............gk",
    "w.....bbb.....gk",
    "w....bcccb....gk",
    "w....bcccb....gk",
    "w.....bbb.....gk",
    "w.............gk",
    "w...kkkkkkk...gk",
    "w.............gk",
    "w...kkkkk.....gk",
    "w.............gk",
    "wggggggggggggggk",
    "kkkkkkkkkkkkkkkk",
    "................",
};

// A raised button that starts a program: a window with an arrow.
constexpr const char* kBmpButton2[kToolboxHeight] = {
    "................",
    "wwwwwwwwwwwwwwwk",
    "w.............gk",
    "w.BBBBBBBBB...gk",
    "w.Bwwwwwwwk...gk",
    "w.Bwwwwwwwk...gk",
    "w.Bwwwwwwwk...gk",
    "w.Bwwwwwrrk...gk",
    "w.kkkkkkrrrrr.gk",
    "w.......rrrr..gk",
    "w.......r.r...gk",
    "w.............gk",
    "wggggggggggggggk",
    "kkkkkkkkkkkkkkkk",
    "................",
};

// A cube with one face chosen.
constexpr const char* kSelectQube[kToolboxHeight] = {
    "................",
    ".....kkkkkkkkk..",
    "....kwwwwwwwwkk.",
    "...kwwwwwwwwkgk.",
    "..kwwwwwwwwkggk.",
    ".kkkkkkkkkkgggk.",
    ".krrrrrrrrkgggk.",
    ".krrrrrrrrkgggk.",
    ".krrrrrrrrkgggk.",
    ".krrrrrrrrkggk..",
    ".krrrrrrrrkgk...",
    ".krrrrrrrrkk....",
    ".kkkkkkkkkk.....",
    "................",
    "................",
};

// An acceleration ramp: axes, a rising and a level speed.
constexpr const char* kAcceleration[kToolboxHeight] = {
    "................",
    ".k..............",
    ".k..............",
    ".k......bbbbbbb.",
    ".k.....b........",
    ".k....b.........",
    ".k....b.........",
    ".k...b..........",
    ".k...b..........",
    ".k..b...........",
    ".k..b...........",
    ".k.b............",
    ".kbkkkkkkkkkkkk.",
    "................",
    "................",
};

// Standard views: three small pictures in a row under a large one.
constexpr const char* kViewmanager[kToolboxHeight] = {
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kwwwwwwwwwwwwk.",
    ".kwwwwCCCCwwwwk.",
    ".kwwwCccccCwwwk.",
    ".kwwwCccccCwwwk.",
    ".kwwwwCCCCwwwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    ".kkkk.kkkk.kkkk.",
    ".kCCk.kwwk.kwwk.",
    ".kCCk.kwwk.kwwk.",
    ".kkkk.kkkk.kkkk.",
    "................",
};

// A lit round lamp in a sunken rim.
constexpr const char* kLed[kToolboxHeight] = {
    "................",
    "................",
    "......gggg......",
    "....ggRRRRgg....",
    "...gRRGGGGRRw...",
    "...gRGwGGGGRw...",
    "..gRGwGGGGGGRw..",
    "..gRGGGGGGGGRw..",
    "..gRGGGGGGGGRw..",
    "..gRGGGGGGGGRw..",
    "...gRGGGGGGRw...",
    "...wRRGGGGRRw...",
    "....wwRRRRww....",
    "......wwww......",
    "................",
};

// A toggle switch: a lever over its base.
constexpr const char* kSwitch[kToolboxHeight] = {
    "................",
    "..........kk....",
    ".........kwgk...",
    "........kwgk....",
    ".......kwgk.....",
    "......kwgk......",
    ".....kkkk.......",
    "..kkkkkkkkkkkk..",
    "..kwwwwwwwwwgk..",
    "..kw...kk...gk..",
    "..kw..kggk..gk..",
    "..kw...kk...gk..",
    "..kgggggggggggk.",
    "..kkkkkkkkkkkkk.",
    "................",
};

// A label on a coloured background, with its text.
constexpr const char* kColorStatic[kToolboxHeight] = {
    "................",
    "................",
    "................",
    "gggggggggggggggw",
    "gyyyyyyyyyyyyyyw",
    "gyyykyykkyyykkyw",
    "gyykykykykykyyyw",
    "gyykkkykkyykyyyw",
    "gyykykykykykyyyw",
    "gyykykykkyyykkyw",
    "gyyyyyyyyyyyyyyw",
    "wwwwwwwwwwwwwwww",
    "................",
    "................",
    "................",
};

// Two seven-segment digits on a dark panel.
constexpr const char* kDigit[kToolboxHeight] = {
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kkkkkkkkkkkkkk.",
    ".kkGGGGkkGGGGkk.",
    ".kGkkkkGkkkkkGk.",
    ".kGkkkkGkkkkkGk.",
    ".kGkkkkGkkkkkGk.",
    ".kkGGGGkkGGGGkk.",
    ".kGkkkkGkGkkkkk.",
    ".kGkkkkGkGkkkkk.",
    ".kGkkkkGkGkkkkk.",
    ".kkGGGGkkkGGGGk.",
    ".kkkkkkkkkkkkkk.",
    ".kkkkkkkkkkkkkk.",
    "................",
};

// A jog pad: four arrows round a stop button.
constexpr const char* kPos[kToolboxHeight] = {
    "................",
    ".......k........",
    "......kkk.......",
    ".....kkkkk......",
    ".......k........",
    "..k....k....k...",
    ".kk...rrr...kk..",
    "kkkkkkrrrkkkkkk.",
    ".kk...rrr...kk..",
    "..k....k....k...",
    ".......k........",
    ".....kkkkk......",
    "......kkk.......",
    ".......k........",
    "................",
};

// A polarity switch: plus and minus on its two positions.
constexpr const char* kPolarity[kToolboxHeight] = {
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kwwwwwwkggggggk",
    ".kwwwrwwkgggggg.",
    ".kwwwrwwkgggggg.",
    ".kwrrrrrkggbbbgk",
    ".kwwwrwwkgggggg.",
    ".kwwwrwwkgggggg.",
    ".kwwwwwwkggggggk",
    ".kkkkkkkkkkkkkk.",
    "................",
    "....r.......b...",
    "...rrr.....bbb..",
    "....r...........",
    "................",
};

// A small curve with its control points.
constexpr const char* kCurve[kToolboxHeight] = {
    "................",
    ".k............k.",
    ".k...........k..",
    ".k..........b...",
    ".k.........b....",
    ".k.......rrr....",
    ".k.....bbrrr....",
    ".k....b..rrr....",
    ".k...b..........",
    ".k...b..........",
    ".k..rrr.........",
    ".k.brrr.........",
    ".kbbrrr.........",
    ".kkkkkkkkkkkkkk.",
    "................",
};

// Three axes of a view in space with a tool path.
constexpr const char* kLineView[kToolboxHeight] = {
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kBBBBBBBBBBBBk.",
    ".kBBBGBBBBBBBBk.",
    ".kBBBGBByyyyBBk.",
    ".kBBBGBBBBByBBk.",
    ".kBBBGBBBBByBBk.",
    ".kBBBGBByyyyBBk.",
    ".kBBBGGGGrBBBBk.",
    ".kBBGBBBBrrrBBk.",
    ".kBGBBBBBBBBBBk.",
    ".kBBBBBBBBBBBBk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
};

// clang-format on

} // namespace

std::vector<ToolboxBitmap> MakeToolboxBitmaps() {
    return {
        {11, "toolbox11.bmp", FromRows(kSpinEdit)},
        {12, "toolbox12.bmp", FromRows(kBmpButton1)},
        {13, "toolbox13.bmp", FromRows(kBmpButton2)},
        {14, "toolbox14.bmp", FromRows(kSelectQube)},
        {15, "toolbox15.bmp", FromRows(kAcceleration)},
        {16, "toolbox16.bmp", FromRows(kViewmanager)},
        {17, "toolbox17.bmp", FromRows(kLed)},
        {222, "toolbox222.bmp", FromRows(kSwitch)},
        {223, "toolbox223.bmp", FromRows(kColorStatic)},
        {224, "toolbox224.bmp", FromRows(kDigit)},
        {226, "toolbox226.bmp", FromRows(kPos)},
        {230, "toolbox230.bmp", FromRows(kPolarity)},
        {233, "toolbox233.bmp", FromRows(kCurve)},
        {1, "toolbox1.bmp", FromRows(kLineView)},
    };
}

// An operator panel: a raised grey plate with a display, two lamps and a
// spin field, on a transparent ground.
Picture16 MakeModuleIcon() {
    Picture16 icon(32, 32, kModuleIconTransparent);
    Cell c(icon, 0);
    for (int y = 2; y < 30; ++y)
        for (int x = 1; x < 31; ++x) {
            const bool rim = x == 1 || y == 2 || x == 30 || y == 29;
            const bool lower = x == 30 || y == 29;
            c.Set(x, y, rim ? (lower ? Black : White) : LightGrey);
        }
    for (int x = 2; x < 30; ++x)
        c.Set(x, 28, Grey);
    for (int y = 3; y < 29; ++y)
        c.Set(29, y, Grey);
    // The display with a value.
    for (int y = 5; y < 14; ++y)
        for (int x = 4; x < 27; ++x)
            c.Set(x, y, (x == 4 || y == 5) ? Grey : (x == 26 || y == 13) ? White : Black);
    const char* const digits[5] = {
        "GGG.GGG..GGG", "..G...G..G..", "GGG..GGG.GGG", "G.....G....G", "GGG.GGG..GGG",
    };
    for (int y = 0; y < 5; ++y)
        for (int x = 0; digits[y][x]; ++x)
            if (digits[y][x] == 'G')
                c.Set(9 + x, 7 + y, Green);
    // Two lamps.
    c.Dot(8, 20, 3.2, Green);
    c.Set(7, 19, White);
    c.Dot(16, 20, 3.2, Red);
    c.Set(15, 19, White);
    // A spin field's buttons.
    for (int y = 16; y < 26; ++y)
        for (int x = 21; x < 27; ++x) {
            const bool edge = x == 21 || y == 16 || y == 21;
            c.Set(x, y, edge ? White : (x == 26 || y == 20 || y == 25) ? Black : LightGrey);
        }
    c.FillPolygon({{22.5, 19.5}, {25.5, 19.5}, {24.0, 17.5}}, Black);
    c.FillPolygon({{22.5, 22.0}, {25.5, 22.0}, {24.0, 24.0}}, Black);
    return icon;
}

} // namespace kw::bitmaps
