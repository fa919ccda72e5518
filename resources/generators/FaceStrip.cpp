// Strip 221: the face level of the view chooser.
#include "resources/generators/Draw16.h"
#include "resources/generators/ViewStrips.h"

namespace kw::bitmaps {

namespace {

constexpr int kLeft = 8, kTop = 8, kRight = 44, kBottom = 44, kMid = 26;

// The dots and the picture that shows each one in red.
struct FaceDot {
    int x, y;
    int picture;
};
constexpr FaceDot kDots[] = {
    {kLeft, kTop, 3},   {kMid, kTop, 4},      {kRight, kTop, 5}, {kLeft, kBottom, 6},
    {kMid, kBottom, 7}, {kRight, kBottom, 8}, {kLeft, kMid, 9},  {kRight, kMid, 10},
};

// The two 90-degree arrows about the middle: one over the top (picture 1),
// one down the right side (picture 2).
struct FaceArrow {
    int picture;
    double from, to;
};
constexpr FaceArrow kArrows[] = {{1, 190, 300}, {2, -20, 80}};
constexpr double kArrowRadius = 9.0;

void DrawPicture(Cell& cell, int picture) {
    cell.FillPolygon({{kLeft + 0.5, kTop + 0.5},
                      {kRight + 0.5, kTop + 0.5},
                      {kRight + 0.5, kBottom + 0.5},
                      {kLeft + 0.5, kBottom + 0.5}},
                     White);
    cell.Line(kLeft, kTop, kRight, kTop, Black);
    cell.Line(kRight, kTop, kRight, kBottom, Black);
    cell.Line(kRight, kBottom, kLeft, kBottom, Black);
    cell.Line(kLeft, kBottom, kLeft, kTop, Black);
    for (const FaceArrow& a : kArrows) {
        if (a.picture == picture) {
            cell.ArcArrow(kMid, kMid, kArrowRadius, a.from, a.to, 4.4, Black, 4.0);
            cell.ArcArrow(kMid, kMid, kArrowRadius, a.from, a.to, 2.4, Red, 3.0);
        } else {
            cell.ArcArrow(kMid, kMid, kArrowRadius, a.from, a.to, 2.6, Blue, 3.4);
        }
    }
    for (const FaceDot& d : kDots)
        cell.Dot(d.x, d.y, d.picture == picture ? 2.6 : 1.6, d.picture == picture ? Red : Green);
}

} // namespace

Picture16 MakeFaceStrip() {
    Picture16 strip(kViewPicture * kFacePictures, kViewPicture, Magenta);
    for (int picture = 0; picture < kFacePictures; ++picture) {
        Cell cell(strip, picture * kViewPicture);
        DrawPicture(cell, picture);
    }
    return strip;
}

} // namespace kw::bitmaps
