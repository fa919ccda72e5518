// CSelectQubeCtrl: the picture. It is drawn into a cached bitmap of the
// control's size and copied to the screen in one piece, so the cube never
// flickers while the hover marker moves.
#include "platform/gdi/SysColors.h"
#include "views3d/SelectQubeCtrl.h"

namespace {

// An axis letter beside its corner: the rectangle is the point inflated by
// (a, b) and moved by (u, v), the letter set on its bottom line.
struct AxisLetter {
    int point;
    const char* letter;
    int a, b, u, v;
};

constexpr AxisLetter kLetters3D[] = {
    {3, "x", 7, 5, 17, 0},
    {7, "y", 17, 5, 22, 7},
    {1, "z", 7, 5, 0, -7},
};
constexpr AxisLetter kLetters2D[] = {
    {3, "x", 7, 5, 17, 0},
    {1, "y", 7, 5, 0, -7},
};

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kDisabledInk = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kRed = RGB(0xFF, 0, 0);
constexpr COLORREF kGreen = RGB(0, 0xFF, 0);

// The first pick points are the corners and edge middles (drawn larger and
// filled); from index 20 on, the face centres and the centre are hollow.
constexpr int kFirstHollow = 20;
constexpr int kFirstSmall = 16;

void Line(CDC* dc, POINT from, POINT to) {
    dc->MoveTo(from);
    dc->LineTo(to);
}

} // namespace

void CSelectQubeCtrl::OnDraw(CDC* dc, const CRect& rcBounds, const CRect&) {
    // With its window, the button asks for the drawing (OnOcmDrawItem);
    // without one, the picture is drawn straight into the bounds.
    if (m_hWnd && IsSubclassedControl()) {
        DoSuperclassPaint(dc, rcBounds);
        return;
    }
    if (rcBounds.Width() != m_size.cx || rcBounds.Height() != m_size.cy) {
        m_size = CSize(rcBounds.Width(), rcBounds.Height());
        m_geometry = kw::views3d::ComputeQubeGeometry(m_size.cx, m_size.cy, m_mode2D != FALSE);
    }
    DrawItem(dc, rcBounds);
}

LRESULT CSelectQubeCtrl::OnOcmDrawItem(WPARAM, LPARAM lParam) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!dis)
        return FALSE;
    CDC dc;
    if (!dc.Attach(dis->hDC))
        return FALSE;
    DrawItem(&dc, CRect(dis->rcItem));
    dc.Detach();
    return TRUE;
}

void CSelectQubeCtrl::DrawItem(CDC* dc, const CRect& rc) {
    const CSize size(rc.Width(), rc.Height());
    if (!dc || size.cx <= 0 || size.cy <= 0)
        return;
    if (!m_cache.GetSafeHandle() || !(m_cacheSize == size)) {
        m_cache.DeleteObject();
        if (!m_cache.CreateCompatibleBitmap(dc, size.cx, size.cy))
            return;
        m_cacheSize = size;
    }
    CDC memory;
    if (!memory.CreateCompatibleDC(dc))
        return;
    CBitmap* previous = memory.SelectObject(&m_cache);
    Paint(&memory, CRect(0, 0, size.cx, size.cy));
    dc->BitBlt(rc.left, rc.top, size.cx, size.cy, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
}

void CSelectQubeCtrl::Paint(CDC* dc, const CRect& r) {
    dc->FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
    CBrush shadow(GetSysColor(COLOR_BTNSHADOW));
    dc->FrameRect(&r, &shadow);

    const bool enabled = !m_hWnd || IsWindowEnabled();
    const COLORREF ink = enabled ? kBlack : kDisabledInk;
    CPen thick(PS_SOLID, 2, ink);
    CPen dotted(PS_DOT, 0, ink);
    CPen redPen(PS_SOLID, 0, kRed);
    CPen greenPen(PS_SOLID, 0, kGreen);
    CBrush greenBrush(kGreen);
    CBrush redBrush(kRed);
    CPen* oldPen = dc->SelectObject(&thick);
    CBrush* oldBrush = dc->SelectObject(&redBrush);

    const CRect& F = m_geometry.front;
    const CRect& B = m_geometry.back;
    const POINT fLB{F.left, F.bottom}, fLT{F.left, F.top}, fRT{F.right, F.top},
        fRB{F.right, F.bottom};
    const POINT bLB{B.left, B.bottom}, bLT{B.left, B.top}, bRT{B.right, B.top},
        bRB{B.right, B.bottom};
    dc->MoveTo(fLB);
    dc->LineTo(fLT);
    dc->LineTo(fRT);
    dc->LineTo(fRB);
    dc->LineTo(fLB);
    if (!m_mode2D) {
        dc->MoveTo(bLT);
        dc->LineTo(bRT);
        dc->LineTo(bRB);
        Line(dc, fLT, bLT);
        Line(dc, fRT, bRT);
        Line(dc, fRB, bRB);
        // The hidden edges, dotted.
        dc->SelectObject(&dotted);
        Line(dc, fLB, bLB);
        Line(dc, bRB, bLB);
        Line(dc, bLB, bLT);
    }

    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(kBlack);

    if (enabled) {
        const int selected = SelectedPoint();
        const int hovered = HoverPoint();
        const std::span<const AxisLetter> letters =
            m_mode2D ? std::span<const AxisLetter>(kLetters2D) : std::span(kLetters3D);
        const auto points = m_geometry.Points();
        for (int i = 0; i < int(points.size()); ++i) {
            const int x = points[std::size_t(i)].x;
            const int y = points[std::size_t(i)].y;
            if (i == selected || i == hovered) {
                dc->SelectObject(i == selected ? &greenPen : &redPen);
                dc->SelectObject(i == selected ? &greenBrush : &redBrush);
                dc->Ellipse(x - 5, y - 4, x + 4, y + 5);
            } else {
                dc->SelectObject(&redPen);
                if (i < kFirstHollow)
                    dc->SelectObject(&shadow);
                else
                    dc->SelectStockObject(NULL_BRUSH);
                if (i < kFirstSmall)
                    dc->Ellipse(x - 4, y - 3, x + 3, y + 4);
                else
                    dc->Ellipse(x - 3, y - 2, x + 2, y + 3);
            }
            if (m_noAxisText)
                continue;
            for (const AxisLetter& l : letters) {
                if (l.point != i)
                    continue;
                CRect box(x, y, x, y);
                box.InflateRect(l.a, l.b);
                box.OffsetRect(l.u, l.v);
                dc->DrawText(l.letter, -1, &box, DT_SINGLELINE | DT_BOTTOM);
            }
        }
    }

    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}
