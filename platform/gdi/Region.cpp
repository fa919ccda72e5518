#include "platform/gdi/Region.h"

#include "platform/gdi/GdiInternal.h"

#include <algorithm>

namespace gdi {

namespace {

struct Region : GdiObject {
    Region() : GdiObject(OBJ_REGION) {}
    std::vector<RECT> m_rects; // disjoint, in bands top to bottom
};

std::shared_ptr<Region> FindRegion(HRGN rgn) {
    return Find<Region>(rgn, OBJ_REGION);
}

// Rebuilds a rectangle list from the cells of a coordinate grid: the sorted
// distinct edges split the plane into cells that are wholly in or out of
// every operand, so any boolean operation is exact cell by cell. Rows of
// cells with the same runs merge into one band.
template <class Inside>
std::vector<RECT> FromCells(const std::vector<LONG>& xs, const std::vector<LONG>& ys,
                            Inside inside) {
    std::vector<RECT> out;
    std::vector<std::pair<LONG, LONG>> previousRuns;
    std::size_t bandStart = 0;
    for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
        std::vector<std::pair<LONG, LONG>> runs;
        for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
            if (!inside(xs[i], ys[j]))
                continue;
            if (!runs.empty() && runs.back().second == xs[i])
                runs.back().second = xs[i + 1];
            else
                runs.emplace_back(xs[i], xs[i + 1]);
        }
        if (!runs.empty() && runs == previousRuns && !out.empty() && out.back().bottom == ys[j]) {
            for (std::size_t k = bandStart; k < out.size(); ++k)
                out[k].bottom = ys[j + 1];
            continue;
        }
        bandStart = out.size();
        for (auto [l, r] : runs)
            out.push_back(RECT{l, ys[j], r, ys[j + 1]});
        previousRuns = std::move(runs);
    }
    return out;
}

bool Contains(const std::vector<RECT>& rects, LONG x, LONG y) {
    for (const RECT& r : rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    return false;
}

std::vector<RECT> Combine(const std::vector<RECT>& a, const std::vector<RECT>& b, int mode) {
    std::vector<LONG> xs, ys;
    for (const auto* list : {&a, &b})
        for (const RECT& r : *list) {
            xs.push_back(r.left), xs.push_back(r.right);
            ys.push_back(r.top), ys.push_back(r.bottom);
        }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    return FromCells(xs, ys, [&](LONG x, LONG y) {
        bool inA = Contains(a, x, y), inB = Contains(b, x, y);
        switch (mode) {
        case RGN_AND:
            return inA && inB;
        case RGN_OR:
            return inA || inB;
        case RGN_XOR:
            return inA != inB;
        default:
            return inA && !inB; // RGN_DIFF
        }
    });
}

int Complexity(const std::vector<RECT>& rects) {
    return rects.empty() ? NULLREGION : rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

std::vector<RECT> RectList(int left, int top, int right, int bottom) {
    RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right),
           std::max(top, bottom)};
    if (IsRectEmpty(&r))
        return {};
    return {r};
}

} // namespace

} // namespace gdi

using gdi::FindRegion;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    auto region = std::make_shared<gdi::Region>();
    region->m_rects = gdi::RectList(left, top, right, bottom);
    return reinterpret_cast<HRGN>(gdi::AddObject(region));
}

HRGN CreateRectRgnIndirect(const RECT* rc) {
    return rc ? CreateRectRgn(rc->left, rc->top, rc->right, rc->bottom) : nullptr;
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
    auto region = FindRegion(rgn);
    if (!region)
        return FALSE;
    region->m_rects = gdi::RectList(left, top, right, bottom);
    return TRUE;
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
    auto target = FindRegion(dst);
    auto a = FindRegion(src1);
    if (!target || !a || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    if (mode == RGN_COPY) {
        target->m_rects = a->m_rects;
        return gdi::Complexity(target->m_rects);
    }
    auto b = FindRegion(src2);
    if (!b)
        return ERROR;
    target->m_rects = gdi::Combine(a->m_rects, b->m_rects, mode);
    return gdi::Complexity(target->m_rects);
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
    auto region = FindRegion(rgn);
    if (!region)
        return ERROR;
    for (RECT& r : region->m_rects)
        OffsetRect(&r, dx, dy);
    return gdi::Complexity(region->m_rects);
}

int GetRgnBox(HRGN rgn, RECT* rc) {
    auto region = FindRegion(rgn);
    if (!region || !rc)
        return ERROR;
    *rc = RECT{};
    for (const RECT& r : region->m_rects)
        UnionRect(rc, rc, &r);
    return gdi::Complexity(region->m_rects);
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
    auto region = FindRegion(rgn);
    return region && gdi::Contains(region->m_rects, x, y);
}

BOOL RectInRegion(HRGN rgn, const RECT* rc) {
    auto region = FindRegion(rgn);
    if (!region || !rc)
        return FALSE;
    for (const RECT& r : region->m_rects) {
        RECT common;
        if (IntersectRect(&common, &r, rc))
            return TRUE;
    }
    return FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
    auto ra = FindRegion(a), rb = FindRegion(b);
    if (!ra || !rb)
        return FALSE;
    return gdi::Combine(ra->m_rects, rb->m_rects, RGN_XOR).empty();
}

std::vector<RECT> GetRegionRects(HRGN rgn) {
    auto region = FindRegion(rgn);
    return region ? region->m_rects : std::vector<RECT>{};
}
