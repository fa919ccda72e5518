// Lines, shapes, fills and pixels.
//
// [SECTION] Lines
// [SECTION] Rectangles and ellipses
// [SECTION] Polygons
// [SECTION] Fills and pixels
#include "platform/gdi/Draw.h"

#include "platform/gdi/Raster.h"
#include "platform/gdi/SysColors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

using namespace gdi;

namespace {

// [SECTION] Lines

// Cosmetic styled pens: lengths of the on and off runs in pixels.
constexpr int kDotOn = 3;
constexpr int kDotPeriod = 6;

// Draws segments with one pen; the dotted pattern runs on across segments.
class LinePainter {
public:
    explicit LinePainter(const Dc& dc) : m_raster(dc), m_offset(dc.Offset()) {
        const Pen* pen = dc.m_state.m_pen.get();
        m_null = !pen || pen->m_style == PS_NULL;
        if (m_null)
            return;
        m_pixel = dc.PixelOf(pen->m_color);
        m_gapPixel = dc.PixelOf(dc.m_state.m_bkColor);
        m_opaqueGaps = dc.m_state.m_bkMode == OPAQUE;
        // Only cosmetic pens are styled; a wider styled pen draws solid.
        m_styled = pen->IsCosmetic() && pen->m_style >= PS_DASH && pen->m_style <= PS_DASHDOTDOT;
        m_width = pen->IsCosmetic() ? 1 : pen->m_width;
    }

    bool IsNull() const { return m_null; }
    int Width() const { return m_width; }

    // From a to b in logical coordinates, without b.
    void Segment(POINT a, POINT b) {
        if (m_null)
            return;
        int x = a.x + m_offset.x, y = a.y + m_offset.y;
        const int x1 = b.x + m_offset.x, y1 = b.y + m_offset.y;
        const int dx = std::abs(x1 - x), dy = std::abs(y1 - y);
        const int sx = x < x1 ? 1 : -1, sy = y < y1 ? 1 : -1;
        if (m_width > 1) {
            WideSegment(x, y, x1, y1);
            return;
        }
        if (dx >= dy) {
            int err = dx / 2;
            for (int i = 0; i < dx; ++i) {
                Dot(x, y);
                x += sx;
                err -= dy;
                if (err < 0) {
                    y += sy;
                    err += dx;
                }
            }
        } else {
            int err = dy / 2;
            for (int i = 0; i < dy; ++i) {
                Dot(x, y);
                y += sy;
                err -= dx;
                if (err < 0) {
                    x += sx;
                    err += dy;
                }
            }
        }
    }

private:
    void Dot(int x, int y) {
        if (!m_styled) {
            m_raster.Plot(x, y, m_pixel);
            return;
        }
        const bool on = m_dashPos < kDotOn;
        m_dashPos = (m_dashPos + 1) % kDotPeriod;
        if (on)
            m_raster.Plot(x, y, m_pixel);
        else if (m_opaqueGaps)
            m_raster.Plot(x, y, m_gapPixel);
    }

    // A pen of width w covers a round blob of w pixels across around every
    // pixel of the thin line. Coverage is gathered first so that each pixel
    // is written once, which matters for R2_XORPEN.
    void WideSegment(int x0, int y0, int x1, int y1) {
        const int w = m_width;
        const int lo = -(w / 2), hi = lo + w; // Offsets [lo, hi).
        const int left = std::min(x0, x1) + lo, top = std::min(y0, y1) + lo;
        const int cols = std::abs(x1 - x0) + w, rows = std::abs(y1 - y0) + w;
        std::vector<bool> covered(std::size_t(cols) * std::size_t(rows), false);
        // Twice the distance from the blob's centre, squared, against w².
        auto stamp = [&](int cx, int cy) {
            for (int oy = lo; oy < hi; ++oy)
                for (int ox = lo; ox < hi; ++ox) {
                    const int ex = 2 * ox - (lo + hi - 1), ey = 2 * oy - (lo + hi - 1);
                    if (ex * ex + ey * ey > w * w + 1)
                        continue;
                    covered[std::size_t(cy + oy - top) * cols + std::size_t(cx + ox - left)] = true;
                }
        };
        int x = x0, y = y0;
        const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        const int steps = std::max(dx, dy);
        int err = (dx >= dy ? dx : dy) / 2;
        for (int i = 0; i < steps; ++i) {
            stamp(x, y);
            if (dx >= dy) {
                x += sx;
                err -= dy;
                if (err < 0) {
                    y += sy;
                    err += dx;
                }
            } else {
                y += sy;
                err -= dx;
                if (err < 0) {
                    x += sx;
                    err += dy;
                }
            }
        }
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                if (covered[std::size_t(r) * cols + c])
                    m_raster.Plot(left + c, top + r, m_pixel);
    }

    Raster m_raster;
    POINT m_offset;
    bool m_null{true};
    bool m_styled{false};
    bool m_opaqueGaps{false};
    int m_width{1};
    int m_dashPos{0};
    std::uint32_t m_pixel{0};
    std::uint32_t m_gapPixel{0};
};

// [SECTION] Rectangles and ellipses

// The ring between two device rectangles (outer minus inner) and the inner
// rectangle, drawn with pen and brush.
void FrameAndFill(const Dc& dc, const RECT& outer, const RECT& inner, bool pen, bool brush) {
    Raster raster(dc);
    std::uint32_t brushPixel = 0;
    if (brush && BrushPixel(dc, dc.m_state.m_brush.get(), &brushPixel))
        raster.Fill(inner, brushPixel);
    if (!pen)
        return;
    const std::uint32_t penPixel = dc.PixelOf(dc.m_state.m_pen->m_color);
    for (int y = outer.top; y < outer.bottom; ++y) {
        if (y < inner.top || y >= inner.bottom || inner.left >= inner.right) {
            raster.Span(outer.left, outer.right, y, penPixel);
        } else {
            raster.Span(outer.left, inner.left, y, penPixel);
            raster.Span(inner.right, outer.right, y, penPixel);
        }
    }
}

// Whether the centre of pixel (x, y) lies in the ellipse inscribed in box.
bool InEllipse(const RECT& box, int x, int y) {
    const long long w = box.right - box.left, h = box.bottom - box.top;
    if (w <= 0 || h <= 0)
        return false;
    const long long ex = 2LL * x - (box.left + box.right - 1);
    const long long ey = 2LL * y - (box.top + box.bottom - 1);
    return ex * ex * h * h + ey * ey * w * w <= w * w * h * h;
}

// Pen and brush extents of a shape drawn in box with the DC's pen: the pen's
// outer box and the inner box the brush fills.
void PenBoxes(const Dc& dc, const RECT& box, RECT* outer, RECT* inner) {
    const Pen& pen = *dc.m_state.m_pen;
    const int w = pen.IsCosmetic() ? 1 : pen.m_width;
    if (pen.m_style == PS_INSIDEFRAME || w == 1) {
        *outer = box;
    } else {
        // Centred on the path through the box's outermost pixels.
        *outer = RECT{box.left - w / 2, box.top - w / 2, box.right - 1 - w / 2 + w,
                      box.bottom - 1 - w / 2 + w};
    }
    *inner = RECT{outer->left + w, outer->top + w, outer->right - w, outer->bottom - w};
}

// [SECTION] Polygons

// Rows of a polygon's inside by the alternate rule, sampled at pixel centres.
void FillPolygon(const Dc& dc, const std::vector<POINT>& pts) {
    Raster raster(dc);
    std::uint32_t pixel = 0;
    if (!BrushPixel(dc, dc.m_state.m_brush.get(), &pixel) || pts.size() < 3)
        return;
    int top = pts[0].y, bottom = pts[0].y;
    for (const POINT& p : pts) {
        top = std::min(top, int(p.y));
        bottom = std::max(bottom, int(p.y));
    }
    top = std::max(top, int(raster.Clip().top));
    bottom = std::min(bottom, int(raster.Clip().bottom));
    std::vector<double> xs;
    for (int y = top; y < bottom; ++y) {
        const double cy = y + 0.5;
        xs.clear();
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const POINT a = pts[i], b = pts[(i + 1) % pts.size()];
            if ((a.y <= cy) == (b.y <= cy))
                continue;
            xs.push_back(a.x + (cy - a.y) * double(b.x - a.x) / double(b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
            // Pixels whose centres lie inside [xa, xb).
            const int x0 = int(std::ceil(xs[i] - 0.5)), x1 = int(std::ceil(xs[i + 1] - 0.5));
            raster.Span(x0, x1, y, pixel);
        }
    }
}

} // namespace

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
    auto dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->m_state.m_position;
    dc->m_state.m_position = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, POINT* pt) {
    auto dc = FindDc(hdc);
    if (!dc || !pt)
        return FALSE;
    *pt = dc->m_state.m_position;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    auto dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    LinePainter painter(*dc);
    painter.Segment(dc->m_state.m_position, POINT{x, y});
    dc->m_state.m_position = POINT{x, y};
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
    auto dc = FindDc(hdc);
    if (!dc || !points || count < 2)
        return FALSE;
    LinePainter painter(*dc);
    for (int i = 0; i + 1 < count; ++i)
        painter.Segment(points[i], points[i + 1]);
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    auto dc = FindDc(hdc);
    if (!dc || !points || count < 2)
        return FALSE;
    const POINT o = dc->Offset();
    std::vector<POINT> device(points, points + count);
    for (POINT& p : device) {
        p.x += o.x;
        p.y += o.y;
    }
    FillPolygon(*dc, device);
    LinePainter painter(*dc);
    for (int i = 0; i < count; ++i)
        painter.Segment(points[i], points[(i + 1) % count]);
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    auto dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    const RECT box = ToDevice(*dc, RECT{left, top, right, bottom});
    const Pen& pen = *dc->m_state.m_pen;
    if (pen.m_style == PS_NULL) {
        // Without a pen the platform fills one pixel less at right and bottom.
        const RECT inner{box.left, box.top, box.right - 1, box.bottom - 1};
        FrameAndFill(*dc, inner, inner, false, true);
        return TRUE;
    }
    RECT outer, inner;
    PenBoxes(*dc, box, &outer, &inner);
    const bool styled = pen.IsCosmetic() && pen.m_style >= PS_DASH && pen.m_style <= PS_DASHDOTDOT;
    if (!styled) {
        FrameAndFill(*dc, outer, inner, true, true);
        return TRUE;
    }
    FrameAndFill(*dc, outer, inner, false, true);
    // A dotted outline runs once round, clockwise from the top-left corner.
    LinePainter painter(*dc);
    const POINT o = dc->Offset();
    const POINT corners[5] = {{box.left - o.x, box.top - o.y},
                              {box.right - 1 - o.x, box.top - o.y},
                              {box.right - 1 - o.x, box.bottom - 1 - o.y},
                              {box.left - o.x, box.bottom - 1 - o.y},
                              {box.left - o.x, box.top - o.y}};
    if (box.right - box.left == 1 || box.bottom - box.top == 1) {
        painter.Segment(corners[0], corners[2]);
        Raster(*dc).Plot(box.right - 1, box.bottom - 1, dc->PixelOf(pen.m_color));
        return TRUE;
    }
    for (int i = 0; i < 4; ++i)
        painter.Segment(corners[i], corners[i + 1]);
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    auto dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    const RECT box = ToDevice(*dc, RECT{left, top, right, bottom});
    const Pen& pen = *dc->m_state.m_pen;
    RECT outer = box, inner = box;
    const bool hasPen = pen.m_style != PS_NULL;
    if (hasPen && !pen.IsCosmetic())
        PenBoxes(*dc, box, &outer, &inner);
    Raster raster(*dc);
    std::uint32_t brushPixel = 0;
    const bool hasBrush = BrushPixel(*dc, dc->m_state.m_brush.get(), &brushPixel);
    const std::uint32_t penPixel = dc->PixelOf(pen.m_color);
    const RECT& clip = raster.Clip();
    const int y0 = std::max(outer.top, clip.top), y1 = std::min(outer.bottom, clip.bottom);
    const int x0 = std::max(outer.left, clip.left), x1 = std::min(outer.right, clip.right);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            if (!InEllipse(outer, x, y))
                continue;
            bool onPen;
            if (!hasPen)
                onPen = false;
            else if (pen.IsCosmetic())
                // The pixels of the inside with a neighbour outside it.
                onPen = !InEllipse(outer, x - 1, y) || !InEllipse(outer, x + 1, y) ||
                        !InEllipse(outer, x, y - 1) || !InEllipse(outer, x, y + 1);
            else
                onPen = !InEllipse(inner, x, y);
            if (onPen)
                raster.Plot(x, y, penPixel);
            else if (hasBrush)
                raster.Plot(x, y, brushPixel);
        }
    return TRUE;
}

// [SECTION] Fills and pixels

namespace {

// A brush handle, or a system colour index + 1 standing for one.
std::shared_ptr<Brush> ResolveBrush(HBRUSH handle) {
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (value >= 1 && value <= std::uintptr_t(COLOR_MENUBAR + 1))
        handle = GetSysColorBrush(int(value) - 1);
    return Find<Brush>(handle, OBJ_BRUSH);
}

} // namespace

int FillRect(HDC hdc, const RECT* rc, HBRUSH handle) {
    auto dc = FindDc(hdc);
    auto brush = ResolveBrush(handle);
    if (!dc || !rc || !brush)
        return 0;
    Raster raster(*dc);
    raster.SetRop2(R2_COPYPEN);
    std::uint32_t pixel = 0;
    if (BrushPixel(*dc, brush.get(), &pixel) && rc->left < rc->right && rc->top < rc->bottom)
        raster.Fill(ToDevice(*dc, *rc), pixel);
    return 1;
}

int FrameRect(HDC hdc, const RECT* rc, HBRUSH handle) {
    auto dc = FindDc(hdc);
    auto brush = ResolveBrush(handle);
    if (!dc || !rc || !brush)
        return 0;
    if (rc->left >= rc->right || rc->top >= rc->bottom)
        return 1;
    Raster raster(*dc);
    raster.SetRop2(R2_COPYPEN);
    std::uint32_t pixel = 0;
    if (!BrushPixel(*dc, brush.get(), &pixel))
        return 1;
    const RECT r = ToDevice(*dc, *rc);
    raster.Span(r.left, r.right, r.top, pixel);
    if (r.bottom - 1 > r.top)
        raster.Span(r.left, r.right, r.bottom - 1, pixel);
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        raster.Plot(r.left, y, pixel);
        if (r.right - 1 > r.left)
            raster.Plot(r.right - 1, y, pixel);
    }
    return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rc) {
    auto dc = FindDc(hdc);
    if (!dc || !rc)
        return FALSE;
    if (rc->left >= rc->right || rc->top >= rc->bottom)
        return TRUE;
    Raster raster(*dc);
    raster.SetRop2(R2_NOT);
    raster.Fill(ToDevice(*dc, *rc), 0);
    return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    auto dc = FindDc(hdc);
    if (!dc)
        return CLR_INVALID;
    Raster raster(*dc);
    const POINT o = dc->Offset();
    const POINT p{x + o.x, y + o.y};
    if (!PtInRect(&raster.Clip(), p))
        return CLR_INVALID;
    raster.SetRop2(R2_COPYPEN);
    const std::uint32_t pixel = dc->PixelOf(color);
    raster.Plot(p.x, p.y, pixel);
    return ColorFromPixel(pixel);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) {
    if (!FindDc(hdc))
        return FALSE;
    SetPixel(hdc, x, y, color);
    return TRUE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    auto dc = FindDc(hdc);
    if (!dc)
        return CLR_INVALID;
    Raster raster(*dc);
    const POINT o = dc->Offset();
    const POINT p{x + o.x, y + o.y};
    if (!PtInRect(&raster.Clip(), p))
        return CLR_INVALID;
    return ColorFromPixel(raster.Target().At(p.x, p.y));
}
