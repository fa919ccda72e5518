#include "views3d/ViewmanagerHotspots.h"

namespace kw::views3d {

namespace {

// The cube's corners turn it, the points beside its front corner turn it by
// 120 degrees, its faces lead to the face level.
constexpr Hotspot kIsometric[] = {
    {0, -2, 0, kTextIsometric}, {20, -12, 1, kTextTurn90},  {0, -22, 2, kTextTurn180},
    {-20, -12, 3, kTextTurn90}, {-20, 11, 4, kTextTurn180}, {0, 21, 5, kTextTurnOver},
    {20, 11, 6, kTextTurn180},  {-6, 2, 7, kTextTurnRight}, {6, 2, 8, kTextTurnLeft},
    {-10, 8, 9, kTextFace},     {10, 8, 10, kTextFace},     {0, -13, 11, kTextFace},
};

// The face's corners lead back to the isometric level, its edge middles to
// the neighbouring faces; the two arrows turn it; the centre does nothing
// but choose the face itself.
constexpr Hotspot kFace[] = {
    {-18, -18, 3, kTextIsometric},
    {0, -18, 4, kTextFace},
    {18, -18, 5, kTextIsometric},
    {-18, 0, 9, kTextFace},
    {18, 0, 10, kTextFace},
    {-18, 18, 6, kTextIsometric},
    {0, 18, 7, kTextFace},
    {18, 18, 8, kTextIsometric},
    {9, 0, 2, kTextTurn90},
    {0, -9, 1, kTextTurn90},
    {0, 0, 0, 0},
};

} // namespace

std::span<const Hotspot> IsometricHotspots() {
    return kIsometric;
}

std::span<const Hotspot> FaceHotspots() {
    return kFace;
}

int HotspotHitTest(std::span<const Hotspot> table, POINT centre, POINT pt) {
    for (std::size_t k = 0; k < table.size(); ++k) {
        const int x = centre.x + table[k].dx;
        const int y = centre.y + table[k].dy;
        const CRect square(x - 4, y - 4, x + 4, y + 4);
        if (square.PtInRect(pt))
            return int(k);
    }
    return -1;
}

} // namespace kw::views3d
