#include "spinedit/SpinEditLayout.h"

namespace {

CRect UpperHalf(const CRect& r) {
    return CRect(r.left, r.top, r.right, r.top + r.Height() / 2);
}

CRect LowerHalf(const CRect& r) {
    return CRect(r.left, r.top + r.Height() / 2, r.right, r.bottom);
}

// The column of the spin buttons, left of the unit and abs/rel buttons.
CRect SpinColumn(const CRect& band, const CRect& client, const SpinEditGeometry& g) {
    CRect column = band;
    column.right =
        client.right - (g.HasAbsRel() ? g.absWidth : 0) - (g.HasUnits() ? g.unitWidth : 0);
    column.left = column.right - g.spinWidth;
    return column;
}

void LayOutSpin(SpinEditParts& parts, const CRect& client, const CRect& band,
                const SpinEditGeometry& g) {
    if (client.Width() <= g.spinWidth) {
        parts.up = UpperHalf(band);
        parts.down = LowerHalf(band);
        parts.drag = band;
        return;
    }
    const CRect column = SpinColumn(band, client, g);
    const int buttonHeight = 2 * band.Height() / 5 + 1;
    parts.up = CRect(column.left, column.top, column.right, column.top + buttonHeight);
    parts.down = CRect(column.left, column.bottom - buttonHeight, column.right, column.bottom);
    parts.drag =
        CRect(column.left, column.top + buttonHeight, column.right, column.bottom - buttonHeight);
}

} // namespace

CRect SpinEditBand(const CRect& r, int editHeight) {
    if (editHeight >= r.Height())
        return r;
    CRect band = r;
    band.top = r.top + (r.Height() - editHeight) / 2;
    band.bottom = band.top + editHeight;
    return band;
}

int SpinEditValueRight(const CRect& client, const SpinEditGeometry& g) {
    return client.right - (g.HasAbsRel() ? g.absWidth : 0) - (g.HasUnits() ? g.unitWidth : 0) -
           (g.HasSpin() ? g.spinWidth : 0);
}

SpinEditParts LayOutSpinEdit(const CRect& client, const SpinEditGeometry& g) {
    SpinEditParts parts;
    const int width = client.Width();
    const CRect band = SpinEditBand(client, g.editHeight);

    if (g.HasLabel()) {
        const int labelWidth = width <= g.labelWidth ? g.labelWidth / 2 : g.labelWidth;
        parts.label = CRect(client.left, client.top, client.left + labelWidth, client.bottom);
    }
    if (width > g.spinWidth) {
        CRect value = client;
        if (g.HasLabel())
            value.left += g.labelWidth;
        value.right = SpinEditValueRight(client, g);
        value = SpinEditBand(value, g.editHeight);
        value.DeflateRect(2, 2);
        parts.value = value;
    }
    if (g.HasSpin())
        LayOutSpin(parts, client, band, g);
    if (g.HasUnits()) {
        CRect unit = band;
        if (width <= g.unitWidth) {
            unit = SpinEditBand(LowerHalf(band), g.editHeight);
        } else {
            unit.right = client.right - (g.HasAbsRel() ? g.absWidth : 0);
            unit.left = unit.right - g.unitWidth;
        }
        parts.unit = unit;
    }
    if (g.HasAbsRel()) {
        CRect absRel = band;
        if (width > g.absWidth)
            absRel.left = absRel.right - g.absWidth;
        else
            absRel = LowerHalf(band);
        parts.absRel = absRel;
    }
    return parts;
}
