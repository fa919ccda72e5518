#pragma once
// Where the parts of a numeric entry field lie: an optional label at the
// left, the value field, the two spin buttons with the drag zone between
// them, the unit button and the absolute/relative button at the right. All
// but the label sit in the band, the client area centred vertically to the
// field's EditHeight.
#include "platform/base/Geometry.h"
#include "platform/base/WinTypes.h"

#include <optional>

// Flags bits that decide which parts a field has.
inline constexpr WORD kSpinEditFlagNoSpin = 0x0001;
inline constexpr WORD kSpinEditFlagLabel = 0x0004;
inline constexpr WORD kSpinEditFlagLabelChange = 0x0008;
inline constexpr WORD kSpinEditFlagNoEdit = 0x0010;
inline constexpr WORD kSpinEditFlagAbsRel = 0x0080;
inline constexpr WORD kSpinEditFlagFlatUnit = 0x0200;
inline constexpr WORD kSpinEditFlagCenterLabel = 0x0400;
inline constexpr WORD kSpinEditFlagAllowDefSet = 0x0800;
inline constexpr WORD kSpinEditFlagToggle = 0x1000;

// The properties the layout reads.
struct SpinEditGeometry {
    WORD flags{4};
    short labelWidth{20};
    short spinWidth{14};
    short unitWidth{40};
    short absWidth{30};
    short editHeight{21};

    bool HasLabel() const { return (flags & kSpinEditFlagLabel) != 0; }
    bool HasSpin() const { return (flags & kSpinEditFlagNoSpin) == 0; }
    bool HasUnits() const { return (flags & 0x0002) == 0; }
    bool HasAbsRel() const { return (flags & kSpinEditFlagAbsRel) != 0; }
};

// The rectangles of the parts that are present, in client coordinates.
struct SpinEditParts {
    std::optional<CRect> label;
    std::optional<CRect> value;
    std::optional<CRect> up;
    std::optional<CRect> down;
    std::optional<CRect> drag;
    std::optional<CRect> unit;
    std::optional<CRect> absRel;
};

// `r` centred vertically to `editHeight` when that is less than its height.
[[nodiscard]] CRect SpinEditBand(const CRect& r, int editHeight);

// The right edge of the value field before the band: the client's right
// less the abs/rel, unit and spin widths of the parts that are shown.
[[nodiscard]] int SpinEditValueRight(const CRect& client, const SpinEditGeometry& g);

[[nodiscard]] SpinEditParts LayOutSpinEdit(const CRect& client, const SpinEditGeometry& g);

[[nodiscard]] inline bool PointInPart(const std::optional<CRect>& part, POINT pt) {
    return part && part->PtInRect(pt);
}
