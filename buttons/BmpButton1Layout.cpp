#include "buttons/BmpButton1Layout.h"

namespace {

int Mid(int a, int b) {
    return (a + b) / 2;
}

// Codes outside 0-6 behave as 0.
int Normalised(int align) {
    return align >= kAlignLeft && align <= kAlignTextCenter ? align : kAlignLeft;
}

} // namespace

CRect TextWrapRect(const BmpButtonLayoutInput& in, CSize textExtent) {
    const CRect& item = in.item;
    CRect c = item;
    if (!in.hasPicture)
        return c;
    const int pw = in.picture.cx;
    const int ph = in.picture.cy;
    const int sp = in.spacing;
    switch (Normalised(in.align)) {
    case kAlignCenter:
        c.top = Mid(item.top, item.bottom) + ph / 2 + sp + 2;
        break;
    case kAlignRight:
        c.right = item.right - sp - pw - 7;
        c.left = item.left + 5;
        break;
    case kAlignTop:
        c.top = item.top + ph + sp + 7;
        c.bottom = item.bottom - 5;
        break;
    case kAlignBottom:
        c.bottom = item.bottom - sp - ph - 7;
        c.top = item.top + 5;
        break;
    case kAlignTextCenter: {
        const int x0 = item.left + pw + sp + 7;
        c.left = x0 + (item.right - textExtent.cx - x0) / 2;
        c.right = c.left + textExtent.cx + 1;
        break;
    }
    default: // left, and the group centred (measured the same way)
        c.left = item.left + pw + sp + 7;
        break;
    }
    return c;
}

BmpButtonLayout PlaceBmpButton(const BmpButtonLayoutInput& in, const CRect& measured) {
    const CRect& item = in.item;
    const int w = in.hasText ? measured.right - measured.left : 0;
    const int h = in.hasText ? measured.bottom - measured.top : 0;
    const int pw = in.picture.cx;
    const int ph = in.picture.cy;
    const int sp = in.spacing;
    const int midX = Mid(item.left, item.right);
    const int midY = Mid(item.top, item.bottom);
    BmpButtonLayout out;

    if (!in.hasPicture) {
        if (in.hasText) {
            const int left = midX - w / 2 + 1;
            const int top = midY - h / 2;
            out.text = CRect(left, top, left + w, top + h);
        }
        return out;
    }

    // The text beside the picture, centred vertically.
    const CRect besideText(measured.left, midY - h / 2, measured.right, midY - h / 2 + h);
    // The text centred horizontally at the measured height.
    const CRect belowText(midX - w / 2, measured.top, midX - w / 2 + w, measured.bottom);
    int px = 0;
    int py = midY - ph / 2;
    switch (Normalised(in.align)) {
    case kAlignCenter:
        px = midX - pw / 2;
        out.text = belowText;
        break;
    case kAlignRight:
        px = item.right - 5 - pw;
        out.text = besideText;
        break;
    case kAlignTop:
        px = midX - pw / 2;
        py = item.top + 5;
        out.text = belowText;
        break;
    case kAlignBottom:
        px = midX - pw / 2;
        py = item.bottom - 5 - ph;
        out.text = belowText;
        break;
    case kAlignGroupCenter:
        px = midX - (pw + sp + w) / 2;
        out.text = CRect(px + pw + sp, midY - h / 2, px + pw + sp + w, midY - h / 2 + h);
        break;
    default:
        px = in.hasText ? item.left + 5 : item.left + sp;
        out.text = besideText;
        break;
    }
    out.picture = CRect(px, py, px + pw, py + ph);
    if (!in.hasText)
        out.text = CRect();
    return out;
}
