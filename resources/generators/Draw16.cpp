#include "resources/generators/Draw16.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace kw::bitmaps {

namespace {

constexpr double kPi = 3.14159265358979323846;

double Radians(double degrees) {
    return degrees * kPi / 180.0;
}

// Whether the angle `a` (degrees) lies on the way from `from` to `to`,
// either way round.
bool AngleBetween(double a, double from, double to) {
    double lo = std::min(from, to);
    double hi = std::max(from, to);
    while (a < lo)
        a += 360.0;
    while (a >= lo + 360.0)
        a -= 360.0;
    return a <= hi;
}

bool InsidePolygon(const std::vector<Pt>& poly, double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Pt& a = poly[i];
        const Pt& b = poly[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

} // namespace

void Cell::Line(int x0, int y0, int x1, int y1, Colour c) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Set(x0, y0, c);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Cell::FillPolygon(std::initializer_list<Pt> corners, Colour c) {
    const std::vector<Pt> poly(corners);
    double top = 1e9, bottom = -1e9, left = 1e9, right = -1e9;
    for (const Pt& p : poly) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
        left = std::min(left, p.x);
        right = std::max(right, p.x);
    }
    for (int y = int(std::floor(top)); y <= int(std::ceil(bottom)); ++y)
        for (int x = int(std::floor(left)); x <= int(std::ceil(right)); ++x)
            if (InsidePolygon(poly, x + 0.5, y + 0.5))
                Set(x, y, c);
}

void Cell::Disc(int cx, int cy, double r, Colour c) {
    const int reach = int(std::ceil(r)) + 1;
    for (int y = cy - reach; y <= cy + reach; ++y)
        for (int x = cx - reach; x <= cx + reach; ++x) {
            const double dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy <= r * r)
                Set(x, y, c);
        }
}

void Cell::Dot(int cx, int cy, double r, Colour fill) {
    Disc(cx, cy, r + 1.0, Black);
    Disc(cx, cy, r, fill);
}

void Cell::ArcArrow(int cx, int cy, double r, double from, double to, double width, Colour c,
                    double head) {
    const double half = width / 2.0;
    const int reach = int(std::ceil(r + half + head)) + 1;
    // The head: a triangle at the end, pointing along the arc.
    const double end = Radians(to);
    const double dir = to > from ? 1.0 : -1.0;
    const Pt tip{cx + 0.5 + r * std::cos(end) + dir * head * -std::sin(end),
                 cy + 0.5 + r * std::sin(end) + dir * head * std::cos(end)};
    const Pt outer{cx + 0.5 + (r + head * 0.9) * std::cos(end),
                   cy + 0.5 + (r + head * 0.9) * std::sin(end)};
    const Pt inner{cx + 0.5 + (r - head * 0.9) * std::cos(end),
                   cy + 0.5 + (r - head * 0.9) * std::sin(end)};
    const std::vector<Pt> triangle{tip, outer, inner};
    for (int y = cy - reach; y <= cy + reach; ++y)
        for (int x = cx - reach; x <= cx + reach; ++x) {
            const double dx = x + 0.5 - (cx + 0.5), dy = y + 0.5 - (cy + 0.5);
            const double distance = std::sqrt(dx * dx + dy * dy);
            double angle = std::atan2(dy, dx) * 180.0 / kPi;
            const bool onArc = std::abs(distance - r) < half && AngleBetween(angle, from, to);
            if (onArc || InsidePolygon(triangle, x + 0.5, y + 0.5))
                Set(x, y, c);
        }
}

} // namespace kw::bitmaps
