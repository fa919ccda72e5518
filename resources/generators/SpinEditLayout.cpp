#include "resources/generators/SpinEditLayout.h"

#include "resources/generators/Draw16.h"

namespace kw::bitmaps {

namespace {

// The field's parts, left to right, and its band.
constexpr int kLeft = 20, kLabelRight = 70, kValueRight = 170, kSpinRight = 192, kRight = 244;
constexpr int kTop = 50, kBottom = 92;         // the control
constexpr int kEditTop = 58, kEditBottom = 84; // the edit band

void Rect(Cell& cell, int l, int t, int r, int b, Colour c) {
    cell.Line(l, t, r, t, c);
    cell.Line(l, b, r, b, c);
    cell.Line(l, t, l, b, c);
    cell.Line(r, t, r, b, c);
}

void Fill(Cell& cell, int l, int t, int r, int b, Colour c) {
    for (int y = t; y <= b; ++y)
        cell.Line(l, y, r, y, c);
}

// A raised button face: white at the top and left, grey and black below.
void Raised(Cell& cell, int l, int t, int r, int b) {
    Fill(cell, l, t, r, b, LightGrey);
    cell.Line(l, t, r, t, White);
    cell.Line(l, t, l, b, White);
    cell.Line(l + 1, b - 1, r - 1, b - 1, Grey);
    cell.Line(r - 1, t + 1, r - 1, b - 1, Grey);
    cell.Line(l, b, r, b, Black);
    cell.Line(r, t, r, b, Black);
}

// A horizontal dimension from x0 to x1 at y, with arrow heads and ticks.
void HDimension(Cell& cell, int x0, int x1, int y, Colour c) {
    cell.Line(x0, y, x1, y, c);
    cell.FillPolygon({{double(x0), double(y)}, {x0 + 5.0, y - 3.0}, {x0 + 5.0, y + 3.0}}, c);
    cell.FillPolygon({{double(x1), double(y)}, {x1 - 5.0, y - 3.0}, {x1 - 5.0, y + 3.0}}, c);
    cell.Line(x0, y - 6, x0, y + 6, c);
    cell.Line(x1, y - 6, x1, y + 6, c);
}

void VDimension(Cell& cell, int x, int y0, int y1, Colour c) {
    cell.Line(x, y0, x, y1, c);
    cell.FillPolygon({{double(x), double(y0)}, {x - 3.0, y0 + 5.0}, {x + 3.0, y0 + 5.0}}, c);
    cell.FillPolygon({{double(x), double(y1)}, {x - 3.0, y1 - 5.0}, {x + 3.0, y1 - 5.0}}, c);
    cell.Line(x - 6, y0, x + 6, y0, c);
    cell.Line(x - 6, y1, x + 6, y1, c);
}

// Dotted extension lines from the part's edge down to its dimension.
void Extension(Cell& cell, int x, int y0, int y1, Colour c) {
    for (int y = y0; y <= y1; y += 2)
        cell.Set(x, y, c);
}

} // namespace

Picture16 MakeSpinEditLayout() {
    Picture16 picture(kSpinEditLayoutWidth, kSpinEditLayoutHeight, LightGrey);
    Cell cell(picture, 0);

    // The control's area and its parts.
    Fill(cell, kLeft, kTop, kRight, kBottom, White);
    Rect(cell, kLeft, kTop, kRight, kBottom, Grey);
    // The label: a sunken grey face with three text strokes.
    Raised(cell, kLeft + 2, kEditTop, kLabelRight - 2, kEditBottom);
    for (int x = kLeft + 10; x < kLabelRight - 12; x += 9)
        Fill(cell, x, kEditTop + 10, x + 5, kEditTop + 16, Black);
    // The value field: white with a sunken edge and digits as strokes.
    Rect(cell, kLabelRight, kEditTop, kValueRight, kEditBottom, Grey);
    cell.Line(kLabelRight + 1, kEditTop + 1, kValueRight - 1, kEditTop + 1, Black);
    cell.Line(kLabelRight + 1, kEditTop + 1, kLabelRight + 1, kEditBottom - 1, Black);
    for (int x = kValueRight - 14; x > kValueRight - 62; x -= 10)
        Fill(cell, x, kEditTop + 8, x + 5, kEditTop + 18, DarkBlue);
    // The spin buttons: two raised halves with arrows.
    const int middle = (kEditTop + kEditBottom) / 2;
    Raised(cell, kValueRight + 1, kEditTop, kSpinRight, middle);
    Raised(cell, kValueRight + 1, middle + 1, kSpinRight, kEditBottom);
    const double cx = (kValueRight + kSpinRight) / 2.0 + 0.5;
    cell.FillPolygon({{cx - 5, middle - 3.0}, {cx + 5, middle - 3.0}, {cx, middle - 9.0}}, Black);
    cell.FillPolygon({{cx - 5, middle + 4.0}, {cx + 5, middle + 4.0}, {cx, middle + 10.0}}, Black);
    // The unit button with its text as strokes.
    Raised(cell, kSpinRight + 2, kEditTop, kRight - 2, kEditBottom);
    Fill(cell, kSpinRight + 12, kEditTop + 10, kSpinRight + 18, kEditTop + 16, Black);
    Fill(cell, kSpinRight + 22, kEditTop + 10, kSpinRight + 36, kEditTop + 16, Black);

    // Widths of the parts under the field, the whole width below them.
    const int partsY = 116, wholeY = 146;
    for (int x : {kLeft, kLabelRight, kValueRight, kSpinRight, kRight})
        Extension(cell, x, kBottom + 3, x == kLeft || x == kRight ? wholeY : partsY, DarkBlue);
    HDimension(cell, kLeft, kLabelRight, partsY, Red);
    HDimension(cell, kLabelRight, kValueRight, partsY, DarkGreen);
    HDimension(cell, kValueRight, kSpinRight, partsY, DarkMagenta);
    HDimension(cell, kSpinRight, kRight, partsY, DarkCyan);
    HDimension(cell, kLeft, kRight, wholeY, Blue);

    // The control's height at the left, the edit band's at the right.
    Extension(cell, kLeft - 12, kTop, kTop, DarkBlue);
    VDimension(cell, 8, kTop, kBottom, Blue);
    for (int x = 9; x < kLeft; x += 2) {
        cell.Set(x, kTop, DarkBlue);
        cell.Set(x, kBottom, DarkBlue);
    }
    VDimension(cell, kRight + 10, kEditTop, kEditBottom, DarkYellow);
    for (int x = kRight - 1; x < kRight + 10; x += 2) {
        cell.Set(x, kEditTop, DarkBlue);
        cell.Set(x, kEditBottom, DarkBlue);
    }
    return picture;
}

} // namespace kw::bitmaps
