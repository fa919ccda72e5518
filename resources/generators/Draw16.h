#pragma once
// Drawing on a 16-colour picture for the generated artwork: lines, filled
// polygons and discs, and thick arcs with arrow heads, all into one cell of a
// strip (coordinates relative to the cell's left edge). Shapes are decided at
// pixel centres, so the same call always sets the same pixels.
#include "resources/generators/Bmp16.h"

#include <initializer_list>

namespace kw::bitmaps {

struct Pt {
    double x;
    double y;
};

class Cell {
public:
    Cell(Picture16& picture, int left) : m_picture(picture), m_left(left) {}

    void Set(int x, int y, Colour c) { m_picture.Set(m_left + x, y, c); }
    Colour Get(int x, int y) const { return m_picture.Get(m_left + x, y); }
    // One pixel wide, both ends included.
    void Line(int x0, int y0, int x1, int y1, Colour c);
    // Pixels whose centres lie inside the polygon.
    void FillPolygon(std::initializer_list<Pt> corners, Colour c);
    // Pixels within `r` of the pixel (cx, cy).
    void Disc(int cx, int cy, double r, Colour c);
    // A dot as the artwork uses it: a disc with a black rim.
    void Dot(int cx, int cy, double r, Colour fill);
    // The pixels within `width` / 2 of the arc of radius `r` around the pixel
    // (cx, cy) from angle `from` to `to` (degrees, clockwise on the screen
    // from the right), with an arrow head of length `head` at `to`.
    void ArcArrow(int cx, int cy, double r, double from, double to, double width, Colour c,
                  double head);

private:
    Picture16& m_picture;
    int m_left;
};

} // namespace kw::bitmaps
