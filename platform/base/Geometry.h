#pragma once
// Points, sizes and rectangles with the platform's layout and rules, plus the
// framework's CPoint, CSize and CRect. A rectangle includes its left and top
// edges and excludes its right and bottom edges: {0, 0, 10, 5} covers 10x5
// pixels, and PtInRect({10, 0}) is false.
#include "platform/base/WinTypes.h"

#include <algorithm>

struct POINT {
    LONG x{0};
    LONG y{0};
};

struct SIZE {
    LONG cx{0};
    LONG cy{0};
};

struct RECT {
    LONG left{0};
    LONG top{0};
    LONG right{0};
    LONG bottom{0};
};

using LPPOINT = POINT*;
using LPSIZE = SIZE*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

// Comparison of the plain structures also serves CPoint, CSize and CRect.
inline bool operator==(const POINT& a, const POINT& b) {
    return a.x == b.x && a.y == b.y;
}
inline bool operator==(const SIZE& a, const SIZE& b) {
    return a.cx == b.cx && a.cy == b.cy;
}
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The free functions take pointers as the platform's do; a null pointer makes
// them fail (return FALSE) instead of crashing.

inline BOOL SetRect(RECT* rc, int left, int top, int right, int bottom) {
    if (!rc)
        return FALSE;
    *rc = RECT{left, top, right, bottom};
    return TRUE;
}

inline BOOL SetRectEmpty(RECT* rc) {
    if (!rc)
        return FALSE;
    *rc = RECT{};
    return TRUE;
}

inline BOOL CopyRect(RECT* dst, const RECT* src) {
    if (!dst || !src)
        return FALSE;
    *dst = *src;
    return TRUE;
}

// Empty when it covers no pixel: zero or negative width or height.
inline BOOL IsRectEmpty(const RECT* rc) {
    return !rc || rc->right <= rc->left || rc->bottom <= rc->top;
}

inline BOOL EqualRect(const RECT* a, const RECT* b) {
    return a && b && *a == *b;
}

inline BOOL PtInRect(const RECT* rc, POINT pt) {
    return rc && pt.x >= rc->left && pt.x < rc->right && pt.y >= rc->top && pt.y < rc->bottom;
}

inline BOOL OffsetRect(RECT* rc, int dx, int dy) {
    if (!rc)
        return FALSE;
    rc->left += dx;
    rc->right += dx;
    rc->top += dy;
    rc->bottom += dy;
    return TRUE;
}

inline BOOL InflateRect(RECT* rc, int dx, int dy) {
    if (!rc)
        return FALSE;
    rc->left -= dx;
    rc->right += dx;
    rc->top -= dy;
    rc->bottom += dy;
    return TRUE;
}

// Intersection of two rectangles; an empty result is set to {0,0,0,0} and
// returns FALSE.
inline BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        *dst = RECT{};
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

// Smallest rectangle holding both; an empty operand is ignored. Both empty
// gives {0,0,0,0} and FALSE.
inline BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    const bool aEmpty = IsRectEmpty(a);
    const bool bEmpty = IsRectEmpty(b);
    if (aEmpty && bEmpty) {
        *dst = RECT{};
        return FALSE;
    }
    if (aEmpty) {
        *dst = *b;
        return TRUE;
    }
    if (bEmpty) {
        *dst = *a;
        return TRUE;
    }
    *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom)};
    return TRUE;
}

class CPoint : public POINT {
public:
    CPoint() = default;
    CPoint(int x0, int y0) : POINT{x0, y0} {}
    CPoint(POINT pt) : POINT(pt) {}

    void Offset(int dx, int dy) {
        x += dx;
        y += dy;
    }
    CPoint operator+(POINT pt) const { return CPoint(x + pt.x, y + pt.y); }
    CPoint operator-(POINT pt) const { return CPoint(x - pt.x, y - pt.y); }
    CPoint& operator+=(POINT pt) {
        Offset(pt.x, pt.y);
        return *this;
    }
    CPoint& operator-=(POINT pt) {
        Offset(-pt.x, -pt.y);
        return *this;
    }
};

class CSize : public SIZE {
public:
    CSize() = default;
    CSize(int cx0, int cy0) : SIZE{cx0, cy0} {}
    CSize(SIZE sz) : SIZE(sz) {}
};

class CRect : public RECT {
public:
    CRect() = default;
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rc) : RECT(rc) {}
    CRect(const RECT* rc) : RECT(rc ? *rc : RECT{}) {}
    CRect(POINT topLeft, SIZE size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
    CRect(POINT topLeft, POINT bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    operator RECT*() { return this; }
    operator const RECT*() const { return this; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }

    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void SetRectEmpty() { ::SetRectEmpty(this); }
    void CopyRect(const RECT* src) { ::CopyRect(this, src); }
    BOOL EqualRect(const RECT* other) const { return ::EqualRect(this, other); }

    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void OffsetRect(POINT pt) { ::OffsetRect(this, pt.x, pt.y); }
    void OffsetRect(SIZE sz) { ::OffsetRect(this, sz.cx, sz.cy); }
    void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
    void MoveToXY(POINT pt) { MoveToXY(pt.x, pt.y); }
    void MoveToX(int x) { OffsetRect(x - left, 0); }
    void MoveToY(int y) { OffsetRect(0, y - top); }

    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void InflateRect(SIZE sz) { ::InflateRect(this, sz.cx, sz.cy); }
    void InflateRect(int l, int t, int r, int b) {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void InflateRect(const RECT* rc) { InflateRect(rc->left, rc->top, rc->right, rc->bottom); }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    void DeflateRect(SIZE sz) { ::InflateRect(this, -sz.cx, -sz.cy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void DeflateRect(const RECT* rc) { DeflateRect(rc->left, rc->top, rc->right, rc->bottom); }

    BOOL IntersectRect(const RECT* a, const RECT* b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(const RECT* a, const RECT* b) { return ::UnionRect(this, a, b); }

    // Swaps the edges so that left <= right and top <= bottom.
    void NormalizeRect() {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }

    CRect& operator=(const RECT& rc) {
        RECT::operator=(rc);
        return *this;
    }
    CRect operator+(POINT pt) const {
        CRect r(*this);
        r.OffsetRect(pt);
        return r;
    }
    CRect operator-(POINT pt) const {
        CRect r(*this);
        r.OffsetRect(-pt.x, -pt.y);
        return r;
    }
    CRect& operator+=(POINT pt) {
        OffsetRect(pt);
        return *this;
    }
    CRect& operator-=(POINT pt) {
        OffsetRect(-pt.x, -pt.y);
        return *this;
    }
    // Intersection and union, as the framework's operators.
    CRect operator&(const RECT& rc) const {
        CRect r;
        r.IntersectRect(this, &rc);
        return r;
    }
    CRect operator|(const RECT& rc) const {
        CRect r;
        r.UnionRect(this, &rc);
        return r;
    }
};
