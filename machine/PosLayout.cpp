// The jog pad's layouts: tables, the analysis of a picture, recolouring and
// the hit test.
#include "machine/PosLayout.h"

#include "platform/user/VirtualKeys.h"

#include <algorithm>
#include <vector>

namespace {

constexpr PosLayoutInfo kLayouts[kPosLayoutCount] = {
    {225, 83, 66, 10, 13}, // "XYZ-Control"
    {227, 46, 46, 2, 2},   // "Rotation Control"
    {228, 65, 66, 8, 10},  // "AB-Control"
    {231, 65, 66, 8, 10},  // "XY-Control"
    {232, 65, 54, 6, 8},   // "Z-Control"
};

constexpr int kXyzCodes[] = {0x22, 0x44, 0x33, 0x23, 0x11, 0x01, 0x13, 0x03, 0x02, 0x04};
constexpr int kRotationCodes[] = {0x08, 0x88};
// Lamp A drives the XY pad, lamp B turns the same buttons to Z (left and
// right) and the fourth axis (up and down).
constexpr int kCrossCodes[] = {0x22, 0x33, 0x23, 0x11, 0x01, 0x13, 0x03, 0x02};
constexpr int kCrossCodesB[] = {0x88, 0xCC, 0x8C, 0x44, 0x04, 0x4C, 0x0C, 0x08};
constexpr int kZCodes[] = {0xFF, 0x0F, 0x33, 0x03, 0x0C, 0xCC};

struct KeyRow {
    unsigned vk;
    int button[kPosLayoutCount]; // by layout, -1 none
};
constexpr KeyRow kKeys[] = {
    {VK_LEFT, {4, 1, 3, 3, 0}},    {VK_RIGHT, {5, 0, 4, 4, 1}},  {VK_UP, {8, -1, 7, 7, -1}},
    {VK_DOWN, {0, -1, 0, 0, -1}},  {VK_END, {2, -1, 1, 1, -1}},  {VK_HOME, {6, -1, 5, 5, -1}},
    {VK_PRIOR, {7, -1, 6, 6, -1}}, {VK_NEXT, {3, -1, 2, 2, -1}},
};

constexpr std::uint32_t kRgbMask = 0x00FFFFFF;

} // namespace

int PosLayoutOf(int mode) {
    const int layout = mode & 7;
    return layout < kPosLayoutCount ? layout : 0;
}

const PosLayoutInfo& PosLayoutInfoOf(int layout) {
    return kLayouts[PosLayoutOf(layout)];
}

int PosButtonCode(int layout, int index, bool lampA, bool lampB) {
    const PosLayoutInfo& info = PosLayoutInfoOf(layout);
    if (index < 0 || index >= info.buttons)
        return 0;
    switch (PosLayoutOf(layout)) {
    case 1:
        return kRotationCodes[index];
    case 2:
        return (lampA ? kCrossCodes[index] : 0) | (lampB ? kCrossCodesB[index] : 0);
    case 3:
        return kCrossCodes[index];
    case 4:
        return kZCodes[index];
    default:
        return kXyzCodes[index];
    }
}

int PosKeyButton(int layout, unsigned vk) {
    for (const KeyRow& row : kKeys)
        if (row.vk == vk)
            return row.button[PosLayoutOf(layout)];
    return -1;
}

// [SECTION] Analysis

namespace {

// The bounding box of the 4-connected black pixels around a seed, walked
// with a stack of its own: a large region cannot exhaust the call stack,
// and no step leaves the picture.
CRect FillBox(const PosPixels& p, int seedX, int seedY, std::vector<bool>& visited) {
    CRect box(seedX, seedY, seedX, seedY);
    std::vector<POINT> pending{POINT{seedX, seedY}};
    auto index = [&](int x, int y) {
        return std::size_t(y) * std::size_t(p.width) + std::size_t(x);
    };
    visited[index(seedX, seedY)] = true;
    while (!pending.empty()) {
        const POINT pt = pending.back();
        pending.pop_back();
        box.left = std::min(box.left, pt.x);
        box.right = std::max(box.right, pt.x);
        box.top = std::min(box.top, pt.y);
        box.bottom = std::max(box.bottom, pt.y);
        const POINT next[] = {
            {pt.x - 1, pt.y}, {pt.x + 1, pt.y}, {pt.x, pt.y - 1}, {pt.x, pt.y + 1}};
        for (const POINT& n : next) {
            if (n.x < 0 || n.y < 0 || n.x >= p.width || n.y >= p.height)
                continue;
            if (visited[index(n.x, n.y)] || (p.At(n.x, n.y) & kRgbMask) != kPosBlack)
                continue;
            visited[index(n.x, n.y)] = true;
            pending.push_back(n);
        }
    }
    return box;
}

} // namespace

PosAnalysis AnalysePosLayout(const PosPixels& p, int buttons, int rects) {
    PosAnalysis result;
    if (!p.IsValid())
        return result;
    buttons = std::clamp(buttons, 0, kPosMaxRects);
    rects = std::clamp(rects, buttons, kPosMaxRects);
    const std::uint32_t key = p.At(0, 0);
    std::vector<bool> visited(std::size_t(p.width) * std::size_t(p.height));
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const std::uint32_t pixel = p.At(x, y) & kRgbMask;
            if (pixel == kPosWhite) {
                p.At(x, y) = kPosBlack;
                if (result.buttonsFound < buttons) {
                    CRect& rc = result.rects[std::size_t(result.buttonsFound++)];
                    rc = FillBox(p, x, y, visited);
                    PaintPosRect(p, rc, key, kPosBlack);
                }
            } else if (pixel == kPosRed) {
                if (buttons + result.lampsFound < rects)
                    result.rects[std::size_t(buttons + result.lampsFound++)] =
                        CRect(x - 4, y - 5, x + 4, y + 5);
                p.At(x, y) = kPosYellow;
            }
        }
    }
    return result;
}

void PaintPosRect(const PosPixels& p, const CRect& rc, std::uint32_t key, std::uint32_t colour) {
    if (!p.IsValid() || rc.IsRectEmpty())
        return;
    const int left = std::max(0, int(rc.left)), right = std::min(p.width - 1, int(rc.right));
    const int top = std::max(0, int(rc.top)), bottom = std::min(p.height - 1, int(rc.bottom));
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (p.At(x, y) != key)
                p.At(x, y) = colour;
}

void RecolourPos(const PosPixels& p, std::uint32_t from, std::uint32_t to) {
    if (!p.IsValid())
        return;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if ((p.At(x, y) & kRgbMask) == from)
                p.At(x, y) = to;
}

int PosHitTest(const CRect& client, int w, int h, CPoint point, std::span<const CRect> rects) {
    const int bx = point.x - ((client.left + client.right) / 2 - w / 2);
    const int by = h - (point.y - ((client.top + client.bottom) / 2 - h / 2));
    for (std::size_t i = 0; i < rects.size(); ++i)
        if (rects[i].PtInRect(POINT{bx, by}))
            return int(i);
    return -1;
}
