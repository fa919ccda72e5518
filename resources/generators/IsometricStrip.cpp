// Strip 214: the isometric level of the view chooser.
#include "resources/generators/Draw16.h"
#include "resources/generators/ViewStrips.h"

namespace kw::bitmaps {

namespace {

// The cube: its front corner C, the outer corners of its outline clockwise
// from the top, and the points the hotspots sit on.
constexpr int kCx = 26, kCy = 24;
struct Corner {
    int x, y;
};
constexpr Corner kTop{26, 4}, kUpperRight{46, 14}, kLowerRight{46, 37}, kBottom{26, 47},
    kLowerLeft{6, 37}, kUpperLeft{6, 14};
constexpr Corner kOuter[] = {kTop, kUpperRight, kLowerRight, kBottom, kLowerLeft, kUpperLeft};

// A turn arrow around the cube: an arc about the picture's middle through
// the corner that chooses it, red on a black outline.
struct TurnArrow {
    int picture;
    Corner corner;
    double from, to; // degrees
};
constexpr TurnArrow kTurns[] = {
    {1, kUpperRight, -76, 14},   // 90 degrees
    {2, kTop, -180, 0},          // 180 degrees
    {3, kUpperLeft, -104, -194}, // 90 degrees
    {4, kLowerLeft, 61, 241},    // 180 degrees
    {5, kBottom, 10, 170},       // turning over
    {6, kLowerRight, 119, -61},  // 180 degrees
};
constexpr double kTurnRadius = 22.0;

// The 120-degree arrows beside the front corner: left turns right
// (clockwise), right turns left, both with their heads up.
struct SmallArrow {
    int picture;
    double from, to;
};
constexpr SmallArrow kSmallArrows[] = {{7, 110, 172}, {8, 70, 8}};
constexpr double kSmallRadius = 7.0;

void DrawCube(Cell& cell) {
    cell.FillPolygon({{kCx + 0.5, kCy + 0.5},
                      {kUpperLeft.x + 0.5, kUpperLeft.y + 0.5},
                      {kTop.x + 0.5, kTop.y + 0.5},
                      {kUpperRight.x + 0.5, kUpperRight.y + 0.5}},
                     White);
    cell.FillPolygon({{kCx + 0.5, kCy + 0.5},
                      {kUpperLeft.x + 0.5, kUpperLeft.y + 0.5},
                      {kLowerLeft.x + 0.5, kLowerLeft.y + 0.5},
                      {kBottom.x + 0.5, kBottom.y + 0.5}},
                     LightGrey);
    cell.FillPolygon({{kCx + 0.5, kCy + 0.5},
                      {kUpperRight.x + 0.5, kUpperRight.y + 0.5},
                      {kLowerRight.x + 0.5, kLowerRight.y + 0.5},
                      {kBottom.x + 0.5, kBottom.y + 0.5}},
                     Grey);
    for (int i = 0; i < 6; ++i) {
        const Corner& a = kOuter[i];
        const Corner& b = kOuter[(i + 1) % 6];
        cell.Line(a.x, a.y, b.x, b.y, Black);
    }
    cell.Line(kCx, kCy, kUpperLeft.x, kUpperLeft.y, Black);
    cell.Line(kCx, kCy, kUpperRight.x, kUpperRight.y, Black);
    cell.Line(kCx, kCy, kBottom.x, kBottom.y, Black);
}

void FillFace(Cell& cell, int picture) {
    // Faces 9 (left), 10 (right) and 11 (top), inside their black edges.
    const Corner left[] = {{kCx, kCy}, kUpperLeft, kLowerLeft, kBottom};
    const Corner right[] = {{kCx, kCy}, kUpperRight, kLowerRight, kBottom};
    const Corner top[] = {{kCx, kCy}, kUpperLeft, kTop, kUpperRight};
    const Corner* face = picture == 9 ? left : picture == 10 ? right : top;
    cell.FillPolygon({{face[0].x + 0.5, face[0].y + 0.5},
                      {face[1].x + 0.5, face[1].y + 0.5},
                      {face[2].x + 0.5, face[2].y + 0.5},
                      {face[3].x + 0.5, face[3].y + 0.5}},
                     Green);
}

void DrawPicture(Cell& cell, int picture) {
    DrawCube(cell);
    if (picture >= 9) {
        FillFace(cell, picture);
        // The face's edges stay black.
        for (int i = 0; i < 6; ++i)
            cell.Line(kOuter[i].x, kOuter[i].y, kOuter[(i + 1) % 6].x, kOuter[(i + 1) % 6].y,
                      Black);
        cell.Line(kCx, kCy, kUpperLeft.x, kUpperLeft.y, Black);
        cell.Line(kCx, kCy, kUpperRight.x, kUpperRight.y, Black);
        cell.Line(kCx, kCy, kBottom.x, kBottom.y, Black);
    }
    for (const TurnArrow& t : kTurns)
        if (t.picture == picture) {
            cell.ArcArrow(26, 26, kTurnRadius, t.from, t.to, 5.0, Black, 5.0);
            cell.ArcArrow(26, 26, kTurnRadius, t.from, t.to, 2.6, Red, 3.6);
        }
    for (const SmallArrow& a : kSmallArrows) {
        if (a.picture == picture) {
            cell.ArcArrow(kCx, kCy, kSmallRadius, a.from, a.to, 4.0, Black, 3.6);
            cell.ArcArrow(kCx, kCy, kSmallRadius, a.from, a.to, 2.2, Red, 2.6);
        } else {
            cell.ArcArrow(kCx, kCy, kSmallRadius, a.from, a.to, 2.2, Blue, 2.8);
        }
    }
    // The corners last, so that no arrow covers them; the one that chooses
    // the picture's turn is red.
    for (const TurnArrow& t : kTurns)
        cell.Dot(t.corner.x, t.corner.y, 1.6, t.picture == picture ? Red : Green);
    cell.Dot(kCx, kCy, 1.6, Green);
}

} // namespace

Picture16 MakeIsometricStrip() {
    Picture16 strip(kViewPicture * kIsometricPictures, kViewPicture, Magenta);
    for (int picture = 0; picture < kIsometricPictures; ++picture) {
        Cell cell(strip, picture * kViewPicture);
        DrawPicture(cell, picture);
    }
    return strip;
}

} // namespace kw::bitmaps
