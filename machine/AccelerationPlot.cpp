// CAccelerationCtrl: the double-buffered painter and its two pictures of
// the ramp table, the ramp plot (frequency per step) and the profile plot
// (a whole move against time, with its acceleration and the current step).
//
// [SECTION] Helpers
// [SECTION] Painter
// [SECTION] Ramp plot
// [SECTION] Profile plot
#include "machine/AccelerationCtrl.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// [SECTION] Helpers

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kGrey = 0x808080;
constexpr COLORREF kProfileText = 0x006000;
constexpr COLORREF kSpeedLegend = 0x000080;
constexpr COLORREF kAccelLegend = 0x800000;
constexpr int kTickSpacing = 50; // pixels between time ticks at least
constexpr int kLabelGap = 12;    // pixels between the B= and Vmax= labels at least
constexpr double kEntryScale = 65536.0;
constexpr UINT kLabelFormat = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
constexpr UINT kTickFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

// A device coordinate from a computed one, toward zero. Degenerate
// parameters give scales of any size; coordinates stay within what the
// raster handles, and NaN reads as 0.
int Coord(double v) {
    constexpr double kLimit = 32767.0;
    if (std::isnan(v))
        return 0;
    return int(std::clamp(v, -kLimit, kLimit));
}

// a / b, or 0 where b is 0: a scale of nothing draws everything on its axis.
double Ratio(double a, double b) {
    return b != 0.0 ? a / b : 0.0;
}

// The duration of a step at frequency f: a frequency of 0 takes for ever.
double StepTime(double f) {
    return f != 0.0 ? 1.0 / f : std::numeric_limits<double>::infinity();
}

int RoundHalfAway(double x) {
    constexpr double kLimit = std::numeric_limits<int>::max();
    if (std::isnan(x))
        return 0;
    return int(std::clamp(x >= 0.0 ? x + 0.5 : x - 0.5, -kLimit, kLimit));
}

// Drawn numbers use the user's decimal separator; "C" afterwards.
class UserNumericLocale {
public:
    UserNumericLocale() { std::setlocale(LC_NUMERIC, ""); }
    ~UserNumericLocale() { std::setlocale(LC_NUMERIC, "C"); }
    UserNumericLocale(const UserNumericLocale&) = delete;
    UserNumericLocale& operator=(const UserNumericLocale&) = delete;
};

// The objects a plot selects go back when it ends. Declared after the
// objects it selects, so that they are deselected before they are deleted.
class SavedDC {
public:
    explicit SavedDC(CDC* dc) : m_dc(dc), m_level(dc->SaveDC()) {}
    ~SavedDC() { m_dc->RestoreDC(m_level); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    CDC* m_dc;
    int m_level;
};

void Line(CDC* dc, int x0, int y0, int x1, int y1) {
    dc->MoveTo(x0, y0);
    dc->LineTo(x1, y1);
}

} // namespace

// [SECTION] Painter

void CAccelerationCtrl::OnDraw(CDC* dc, const CRect& rcBounds, const CRect&) {
    if (!dc)
        return;
    DRAWITEMSTRUCT item{};
    item.hDC = dc->GetSafeHdc();
    item.rcItem = rcBounds;
    DrawItem(&item);
}

void CAccelerationCtrl::DrawItem(LPDRAWITEMSTRUCT item) {
    if (!item || !item->hDC)
        return;
    const CRect rc(item->rcItem);
    const int width = rc.Width();
    const int height = rc.Height();
    if (width <= 0 || height <= 0)
        return;
    CDC* target = CDC::FromHandle(item->hDC);
    CDC memory;
    if (!memory.CreateCompatibleDC(target))
        return;
    // A bitmap of another size than the item's would leave part of it
    // unpainted or draw past it: it is made again.
    if (m_bitmap.GetSafeHandle() && (m_bitmapSize.cx != width || m_bitmapSize.cy != height))
        m_bitmap.DeleteObject();
    if (!m_bitmap.GetSafeHandle()) {
        if (!m_bitmap.CreateCompatibleBitmap(target, width, height))
            return;
        m_bitmapSize = CSize(width, height);
    }
    CBitmap* old = memory.SelectObject(&m_bitmap);
    // The painter draws in the item's coordinates; the bitmap starts at
    // the item's corner.
    memory.SetViewportOrg(-rc.left, -rc.top);
    Paint(&memory, rc);
    memory.SetViewportOrg(0, 0);
    target->BitBlt(rc.left, rc.top, width, height, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

void CAccelerationCtrl::Paint(CDC* dc, const CRect& rc) {
    CBrush face(::GetSysColor(COLOR_BTNFACE));
    dc->FillRect(&rc, &face);
    switch (m_Mode) {
    case 1:
        PaintProfilePlot(dc, rc);
        break;
    case 2:
        break;
    default:
        PaintRampPlot(dc, rc);
        break;
    }
}

COLORREF CAccelerationCtrl::PenColor(COLORREF color) const {
    const bool enabled = m_hWnd ? ::IsWindowEnabled(m_hWnd) != FALSE
                                : const_cast<CAccelerationCtrl*>(this)->GetEnabled() != FALSE;
    return enabled ? color : kGrey;
}

LONG CAccelerationCtrl::Entry(LONG i) const {
    if (i < 0 || i >= kw::machine::kRampTableSize)
        return kw::machine::kRampFullSpeed;
    return m_rampTable[std::size_t(i)];
}

// [SECTION] Ramp plot

void CAccelerationCtrl::PaintRampPlot(CDC* dc, const CRect& rc) {
    CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
    CBrush red(kRed);
    CPen axisPen(PS_SOLID, 2, PenColor(kBlack));
    CPen curvePen(PS_SOLID, 2, PenColor(kGreen));
    CPen fullPen(PS_SOLID, 2, PenColor(kRed));
    CPen tailPen(PS_SOLID, 2, PenColor(kBlue));
    CPen gridPen(PS_DOT, 1, PenColor(kBlack));
    SavedDC saved(dc);
    UserNumericLocale locale;

    dc->FrameRect(&rc, &shadow);
    dc->SelectObject(&red);
    const CRect r(rc.left + kRampPlotLeft, rc.top + kPlotTop, rc.right - kPlotRight,
                  rc.bottom - kPlotBottom);
    dc->SelectStockObject(DEFAULT_GUI_FONT);
    dc->SetTextColor(kBlack);
    dc->SetBkMode(TRANSPARENT);

    const LONG b = m_B;
    const LONG vmax = m_Vmax;
    const LONG vstart = m_Vstart;
    const LONG count = m_rampCount;
    const std::int64_t reference = b != 0 ? b : vmax;
    const double plotHeight = r.bottom - r.top;
    const double ys = b != 0 ? Ratio(0.9 * plotHeight, double(b + vstart))
                             : Ratio(0.9 * plotHeight, double(vmax));
    auto levelY = [&](double level) { return r.bottom - Coord(level * ys); };

    dc->SelectObject(&axisPen);
    Line(dc, r.left, r.bottom, r.left, r.top);
    CRect text(r.left - 30, r.top, r.left + 30, r.top + 10);
    dc->DrawText("f [Hz]", &text, kLabelFormat);
    Line(dc, r.left, r.bottom, r.right, r.bottom);
    text = CRect(r.right - 30, r.bottom, r.right + 5, r.bottom + 20);
    dc->DrawText("t [s]", &text, kLabelFormat);

    // The curve over W pixels, each the frequency of the step it stands for.
    const bool cut = m_Alpha != 0 && count >= kw::machine::kRampTableSize - 1;
    dc->SelectObject(cut ? &fullPen : &curvePen);
    const int w = r.right - r.left - 100;
    auto curveY = [&](LONG idx) {
        const std::int64_t v = std::int64_t(Entry(idx)) * reference / 65536;
        return r.bottom - Coord(double(v) * ys);
    };
    // Without room for a curve the tail starts from the first entry's level.
    CPoint last(r.left, curveY(0));
    for (int i = 0; i < w; ++i) {
        const LONG idx = LONG(std::int64_t(count) * i / w);
        last = CPoint(r.left + i, curveY(idx));
        if (i == 0)
            dc->MoveTo(last);
        else
            dc->LineTo(last);
    }
    dc->SelectObject(&tailPen);
    Line(dc, last.x, last.y, r.right, last.y);

    dc->SelectObject(&gridPen);
    Line(dc, r.left, levelY(vmax), r.right, levelY(vmax));
    if (b != 0)
        Line(dc, r.left, levelY(b), r.right, levelY(b));
    const int h = Coord((b != 0 ? b : vmax) * ys);

    // Time ticks at least 50 pixels apart over the whole width, each at the
    // time the ramp has taken up to its step.
    const int pw = r.right - r.left;
    double t = 0.0;
    int lastX = 0;
    for (LONG j = 0; j < count; ++j) {
        t += StepTime(double(Entry(j)) * double(reference) / kEntryScale);
        const int x = int(std::int64_t(j) * pw / count);
        if (x - lastX < kTickSpacing)
            continue;
        lastX = x;
        Line(dc, r.left + x, r.bottom, r.left + x, r.bottom - h);
        if (r.left + x < r.right - 20) {
            CString label;
            label.Format("%.3f", t);
            CRect at(r.left + x - 20, r.bottom, r.left + x + 20, r.bottom + 20);
            dc->DrawText(label.Str(), &at, kTickFormat);
        }
    }

    auto levelLabel = [&](const CString& label, int y) {
        CRect at(rc.left + 10, y - 10, r.left - 5, y + 10);
        dc->DrawText(label.Str(), &at, kLabelFormat);
    };
    CString label;
    label.Format("%d", int(vstart));
    levelLabel(label, levelY(vstart));
    if (b != 0) {
        label.Format("B=%d", int(b));
        levelLabel(label, levelY(b));
    } else {
        label.Format("f=%d", int(vmax));
        levelLabel(label, levelY(vmax));
    }
    if (b != 0 && vmax != b) {
        // Moved away from the B= label, a pixel at a time, until the two
        // stand 12 pixels apart.
        const double bLevel = double(b) * ys;
        const double step = vmax > b ? 1.0 : -1.0;
        double level = double(vmax) * ys;
        for (int moves = 0; moves <= kLabelGap && std::fabs(level - bLevel) < kLabelGap; ++moves)
            level += step;
        label.Format("Vmax=%d", int(vmax));
        levelLabel(label, r.bottom - Coord(level));
    }
}

// [SECTION] Profile plot

void CAccelerationCtrl::PaintProfilePlot(CDC* dc, const CRect& rc) {
    CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
    CBrush red(kRed);
    CPen axisPen(PS_SOLID, 2, PenColor(kBlack));
    CPen gridPen(PS_DOT, 1, kGrey);
    CPen accelPen(PS_SOLID, 2, PenColor(kBlue));
    CBrush markerBrush;
    CPen markerPen;
    CPen peakPen;
    SavedDC saved(dc);
    UserNumericLocale locale;

    dc->FrameRect(&rc, &shadow);
    dc->SelectObject(&red);
    const CRect r(rc.left + kProfilePlotLeft, rc.top + kPlotTop, rc.right - kPlotRight,
                  rc.bottom - kPlotBottom);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    dc->SelectObject(&m_font);
    dc->SetTextColor(kProfileText);
    dc->SetBkMode(TRANSPARENT);

    // The move: acceleration along the table (steps 0..c), as many steps
    // again at full speed, deceleration along the table backwards.
    const LONG c = m_rampCount;
    const LONG n = 3 * c;
    const LONG vmax = m_Vmax;
    const std::int64_t vmaxScaled = std::int64_t(vmax) * 65536;
    auto index = [&](LONG j) { return j <= c ? j : j <= 2 * c ? c : 3 * c - j; };
    auto entry = [&](LONG j) -> LONG {
        if (j > c && j <= 2 * c)
            return kw::machine::kRampFullSpeed;
        return Entry(index(j)) & 0xFFFF;
    };
    auto frequency = [&](LONG j) {
        if (j > c && j <= 2 * c)
            return double(vmax);
        return double(vmax) * double(entry(j)) / kEntryScale;
    };
    auto speed = [&](LONG j) { return Ratio(1000000.0 * double(entry(j)), double(vmaxScaled)); };

    // First pass: the move's duration and its steepest acceleration.
    double total = 0.0;
    double amax = std::numeric_limits<double>::lowest();
    for (LONG j = 0; j < n; ++j) {
        const double before = total;
        total += StepTime(frequency(j));
        if (j > 0) {
            const double a = Ratio(speed(j) - speed(j - 1), total - before);
            if (a > amax)
                amax = a;
        }
    }
    const double xs = Ratio(0.9 * width, total);
    const double as = Ratio(0.45 * height, amax);
    const double vs = Ratio(0.9 * height, double(vmax));
    const double qs = 0.9 * height * double(vmax) / 1000000.0;

    dc->SelectObject(&axisPen);
    Line(dc, r.left, r.bottom, r.left, r.top);
    Line(dc, r.left, r.bottom, r.right, r.bottom);
    dc->SelectObject(&m_fontVertical);
    CSize extent = dc->GetTextExtent("f [Hz]");
    dc->TextOut(r.left + 2, r.top + extent.cx, "f [Hz]");
    dc->SelectObject(&m_font);
    extent = dc->GetTextExtent("t [s]");
    dc->TextOut(r.right - extent.cx, r.bottom + 2, "t [s]");

    auto levelLabel = [&](LONG level, const char* name) {
        CString value;
        value.Format("%d", int(level));
        const CSize size = dc->GetTextExtent(value.Str());
        const int x = r.left - size.cx - 2;
        dc->TextOut(x, Coord(r.bottom - level * vs - size.cy / 2), value.Str());
        const CSize nameSize = dc->GetTextExtent(name);
        dc->TextOut(x - nameSize.cx - 1, Coord(r.bottom - level * vs - nameSize.cy / 2), name);
    };
    levelLabel(m_Vstart, "fStart:");
    levelLabel(vmax, "fMax:");

    dc->SetTextColor(kSpeedLegend);
    const CSize speedSize = dc->GetTextExtent("Geschwindigkeit");
    const int x1 = r.right - speedSize.cx - 2;
    const int legendY = r.top - 8;
    dc->TextOut(x1, legendY, "Geschwindigkeit");
    for (int x = x1 - 3; x >= x1 - 12; --x)
        dc->SetPixelV(x, legendY + speedSize.cy / 2, kRed);
    dc->SetTextColor(kAccelLegend);
    const CSize accelSize = dc->GetTextExtent("Beschleunigung");
    const int x2 = x1 - 20 - accelSize.cx;
    dc->TextOut(x2, legendY, "Beschleunigung");
    for (int x = x2 - 3; x >= x2 - 12; --x)
        dc->SetPixelV(x, legendY + accelSize.cy / 2, kBlue);
    dc->SetTextColor(kProfileText);

    const int ymid = r.bottom - height / 2;
    const int vmaxY = r.bottom - Coord(double(vmax) * vs);
    dc->SelectObject(&gridPen);
    Line(dc, r.left, ymid, r.right, ymid);
    Line(dc, r.left, vmaxY, r.right, vmaxY);

    // Second pass: ticks, the speed as points, the acceleration as a line
    // sampled at least every ten steps' worth of full-speed time, and the
    // marker of the current step.
    dc->SelectObject(&accelPen);
    const double minSpan =
        vmax != 0 ? 10.0 / double(vmax) : std::numeric_limits<double>::infinity();
    const LONG current = m_curramp;
    int x = 0;
    int lastTick = 0;
    double t = 0.0;
    double tp = 0.0;
    double q = 0.0;
    double qp = 0.0;
    CPoint previous(r.left, ymid);
    bool marked = false;
    CPoint marker;
    COLORREF markerColor = kBlue;
    for (LONG j = 0; j < n; ++j) {
        t += StepTime(frequency(j));
        if (x - lastTick >= kTickSpacing) {
            lastTick = x;
            dc->SelectObject(&gridPen);
            Line(dc, r.left + x, r.bottom, r.left + x, vmaxY);
            if (r.left + x < r.right - 20) {
                CString label;
                label.Format("%.3f", t);
                CRect at(r.left + x - 20, r.bottom, r.left + x + 20, r.bottom + 20);
                dc->DrawText(label.Str(), &at, kTickFormat);
            }
            dc->SelectObject(&accelPen);
        }
        const LONG e = entry(j);
        if (e != 0)
            q = speed(j);
        if (j == 0)
            qp = q;
        if (j > 0 && t - tp > minSpan) {
            const double a = Ratio(q - qp, t - tp);
            qp = q;
            tp = t;
            const CPoint point(r.left + x, r.bottom - Coord(a * as + height / 2));
            Line(dc, previous.x, previous.y, point.x, point.y);
            previous = point;
        }
        const int yq = r.bottom - Coord(q * qs);
        dc->SetPixelV(r.left + x, yq, kRed);
        if (j == c) {
            // The end of the acceleration and how long it took.
            dc->SelectObject(&gridPen);
            dc->Ellipse(r.left + x - 3, yq - 3, r.left + x + 3, yq + 3);
            CString label;
            label.Format("T=%d ms", RoundHalfAway(t * 1000.0));
            const CSize size = dc->GetTextExtent(label.Str());
            dc->TextOut(r.left + x - size.cx / 2, yq - size.cy, label.Str());
            dc->SelectObject(&accelPen);
        }
        const LONG idx = index(j);
        const LONG stepFrequency = LONG((std::int64_t(vmax) * e) >> 16);
        if (current == 0) {
            m_lastRamp = 0;
            m_peakY = 0;
            m_peakFreq = 0;
        } else if (j <= c) {
            if (current > m_lastRamp && idx == current) {
                m_lastRamp = current;
                marked = true;
                marker = CPoint(r.left + x, yq);
                markerColor = kBlue;
                m_peakY = m_peakY == 0 ? yq : std::min(m_peakY, LONG(yq));
                m_peakFreq = stepFrequency;
            }
        } else if (j <= 2 * c) {
            if (idx == current)
                m_peakFreq = stepFrequency;
        } else if (current < m_lastRamp && idx == current) {
            m_lastRamp = current;
            marked = true;
            marker = CPoint(r.left + x, yq);
            markerColor = kRed;
        }
        x = Coord(t * xs);
    }

    if (marked) {
        markerBrush.CreateSolidBrush(markerColor);
        markerPen.CreatePen(PS_SOLID, 1, markerColor);
        dc->SelectObject(&markerBrush);
        dc->SelectObject(&markerPen);
        dc->Ellipse(marker.x - 3, marker.y - 3, marker.x + 3, marker.y + 3);
    }
    if (m_peakY != 0) {
        peakPen.CreatePen(PS_DOT, 1, kRed);
        dc->SelectObject(&peakPen);
        Line(dc, r.right, m_peakY, r.left, m_peakY);
        CString label;
        label.Format("%d", int(m_peakFreq));
        const CSize size = dc->GetTextExtent(label.Str());
        dc->TextOut(r.left - size.cx - 2, m_peakY, label.Str());
    }
    dc->SelectObject(&accelPen);
    Line(dc, previous.x, previous.y, r.left + x, ymid);
}
