#include "resources/generators/StockIcons.h"

#include <algorithm>
#include <cstdlib>

namespace kw::bitmaps {

namespace {

// Drawing in the coordinates of a 32-pixel cell, scaled to the cell's size.
class Cell {
public:
    Cell(Picture16& p, int index, int size) : m_p(p), m_left(index * size), m_size(size) {}

    int S(int v) const { return v * m_size / 32; }
    void Dot(int x, int y, Colour c) { m_p.Set(m_left + x, y, c); }
    // [x0, x1) x [y0, y1) in 32-cell units.
    void Fill(int x0, int y0, int x1, int y1, Colour c) {
        for (int y = S(y0); y < std::max(S(y1), S(y0) + 1); ++y)
            for (int x = S(x0); x < std::max(S(x1), S(x0) + 1); ++x)
                Dot(x, y, c);
    }
    void Frame(int x0, int y0, int x1, int y1, Colour c) {
        const int l = S(x0), t = S(y0), r = std::max(S(x1), l + 1) - 1,
                  b = std::max(S(y1), t + 1) - 1;
        for (int x = l; x <= r; ++x)
            Dot(x, t, c), Dot(x, b, c);
        for (int y = t; y <= b; ++y)
            Dot(l, y, c), Dot(r, y, c);
    }
    void Line(int x0, int y0, int x1, int y1, Colour c) {
        int ax = S(x0), ay = S(y0);
        const int bx = S(x1), by = S(y1);
        const int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
        const int sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
        int err = dx + dy;
        while (true) {
            Dot(ax, ay, c);
            if (ax == bx && ay == by)
                break;
            const int e2 = 2 * err;
            if (e2 >= dy)
                err += dy, ax += sx;
            if (e2 <= dx)
                err += dx, ay += sy;
        }
    }
    // A disc (and with `rim`, its outline) around a centre, in cell units.
    void Disc(int cx, int cy, int r, Colour fill, Colour rim) {
        const double fx = (cx * m_size) / 32.0, fy = (cy * m_size) / 32.0;
        const double fr = (r * m_size) / 32.0;
        for (int y = 0; y < m_size; ++y)
            for (int x = 0; x < m_size; ++x) {
                const double dx = x + 0.5 - fx, dy = y + 0.5 - fy;
                const double d2 = dx * dx + dy * dy;
                if (d2 <= (fr - 1) * (fr - 1))
                    Dot(x, y, fill);
                else if (d2 <= fr * fr)
                    Dot(x, y, rim);
            }
    }

private:
    Picture16& m_p;
    int m_left;
    int m_size;
};

void Program(Cell& c) {
    c.Fill(3, 5, 29, 27, White);
    c.Fill(3, 5, 29, 10, DarkBlue);
    c.Frame(3, 5, 29, 27, Black);
    c.Fill(24, 6, 28, 9, LightGrey);
}

void Terminal(Cell& c) {
    c.Fill(2, 4, 30, 26, Black);
    c.Frame(2, 4, 30, 26, Grey);
    c.Line(7, 10, 12, 14, Green);
    c.Line(12, 14, 7, 18, Green);
    c.Fill(14, 18, 22, 20, Green);
    c.Fill(10, 26, 22, 29, Grey);
}

void Document(Cell& c) {
    c.Fill(6, 2, 22, 30, White);
    c.Fill(22, 10, 26, 30, White);
    c.Line(22, 2, 26, 6, Black);
    c.Line(6, 2, 22, 2, Black);
    c.Line(6, 2, 6, 29, Black);
    c.Line(6, 29, 26, 29, Black);
    c.Line(26, 6, 26, 29, Black);
    c.Line(22, 2, 22, 6, Black);
    c.Line(22, 6, 26, 6, Black);
    for (int y = 11; y <= 25; y += 4)
        c.Fill(9, y, 23, y + 1, Grey);
}

void Folder(Cell& c) {
    c.Fill(2, 6, 13, 10, DarkYellow);
    c.Fill(2, 9, 30, 27, Yellow);
    c.Frame(2, 9, 30, 27, DarkYellow);
    c.Fill(2, 9, 30, 11, DarkYellow);
}

void Gear(Cell& c) {
    c.Fill(14, 2, 18, 30, Grey);
    c.Fill(2, 14, 30, 18, Grey);
    c.Line(6, 6, 26, 26, Grey);
    c.Line(7, 6, 26, 25, Grey);
    c.Line(26, 6, 6, 26, Grey);
    c.Line(25, 6, 6, 25, Grey);
    c.Disc(16, 16, 11, LightGrey, Grey);
    c.Disc(16, 16, 4, Magenta, Grey);
}

void Disk(Cell& c) {
    c.Fill(4, 4, 28, 28, DarkBlue);
    c.Fill(9, 4, 23, 12, LightGrey);
    c.Fill(18, 5, 21, 11, DarkBlue);
    c.Fill(8, 16, 24, 28, White);
    c.Fill(10, 19, 22, 20, Blue);
    c.Fill(10, 23, 22, 24, Blue);
}

void Globe(Cell& c) {
    c.Disc(16, 16, 14, Blue, DarkBlue);
    c.Fill(8, 8, 15, 14, Green);
    c.Fill(10, 14, 14, 22, Green);
    c.Fill(18, 10, 24, 16, Green);
    c.Fill(19, 19, 23, 25, Green);
}

void Calculator(Cell& c) {
    c.Fill(7, 2, 25, 30, Grey);
    c.Frame(7, 2, 25, 30, Black);
    c.Fill(10, 5, 22, 11, Green);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            c.Fill(10 + col * 4, 14 + row * 4, 12 + col * 4, 16 + row * 4, White);
}

void Wrench(Cell& c) {
    for (int d = -1; d <= 1; ++d)
        c.Line(8 + d, 24, 22 + d, 10, DarkCyan);
    c.Line(9, 25, 23, 11, DarkCyan);
    c.Disc(23, 9, 6, DarkCyan, Black);
    c.Fill(22, 4, 28, 9, Magenta);
    c.Disc(7, 25, 4, DarkCyan, Black);
}

void Clock(Cell& c) {
    c.Disc(16, 16, 14, White, Black);
    c.Line(16, 16, 16, 6, Black);
    c.Line(16, 16, 23, 19, Red);
    c.Fill(15, 15, 17, 17, Black);
}

void Warning(Cell& c) {
    for (int y = 3; y < 29; ++y) {
        const int half = (y - 3) / 2 + 1;
        c.Fill(16 - half, y, 16 + half, y + 1, Yellow);
    }
    c.Line(16, 3, 3, 28, Black);
    c.Line(16, 3, 29, 28, Black);
    c.Line(3, 28, 29, 28, Black);
    c.Fill(15, 11, 17, 21, Black);
    c.Fill(15, 23, 17, 25, Black);
}

void Information(Cell& c) {
    c.Disc(16, 16, 14, Blue, DarkBlue);
    c.Fill(15, 7, 18, 10, White);
    c.Fill(15, 13, 18, 25, White);
    c.Fill(13, 13, 15, 15, White);
}

void Question(Cell& c) {
    c.Disc(16, 16, 14, DarkGreen, Black);
    c.Fill(11, 8, 21, 10, White);
    c.Fill(19, 10, 21, 15, White);
    c.Fill(15, 15, 21, 17, White);
    c.Fill(15, 17, 17, 20, White);
    c.Fill(15, 22, 17, 25, White);
}

void Star(Cell& c) {
    for (int y = 2; y < 30; ++y)
        for (int x = 2; x < 30; ++x) {
            const int dx = std::abs(x - 16), dy = std::abs(y - 17);
            if (dx + dy <= 14 && (dx <= 3 || dy <= 3 || dx + dy <= 8))
                c.Fill(x, y, x + 1, y + 1, Yellow);
        }
    c.Fill(15, 15, 17, 19, DarkYellow);
}

void Printer(Cell& c) {
    c.Fill(8, 3, 24, 13, White);
    c.Frame(8, 3, 24, 13, Black);
    c.Fill(3, 12, 29, 24, Grey);
    c.Frame(3, 12, 29, 24, Black);
    c.Fill(8, 20, 24, 29, White);
    c.Frame(8, 20, 24, 29, Black);
    c.Fill(24, 15, 27, 17, Green);
}

void Spindle(Cell& c) {
    c.Fill(6, 2, 26, 12, DarkCyan);
    c.Frame(6, 2, 26, 12, Black);
    c.Fill(12, 12, 20, 18, Grey);
    c.Fill(14, 18, 18, 26, LightGrey);
    c.Line(16, 26, 16, 30, Black);
    c.Line(14, 20, 18, 22, Grey);
    c.Line(14, 23, 18, 25, Grey);
}

} // namespace

Picture16 MakeStockIconStrip(int size) {
    Picture16 strip(size * kStockIcons, size, Magenta);
    void (*const draw[kStockIcons])(Cell&) = {
        Program, Terminal, Document, Folder,      Gear,     Disk, Globe,   Calculator,
        Wrench,  Clock,    Warning,  Information, Question, Star, Printer, Spindle};
    for (int i = 0; i < kStockIcons; ++i) {
        Cell cell(strip, i, size);
        draw[i](cell);
    }
    return strip;
}

} // namespace kw::bitmaps
