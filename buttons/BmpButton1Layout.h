#pragma once
// Where the picture button puts its picture and its text: pure arithmetic on
// rectangles, so that every alignment code can be checked without a window.
//
// Placement runs in two steps. TextWrapRect gives the rectangle the text is
// wrapped into (DrawText with DT_CALCRECT | DT_WORDBREAK | DT_CENTER); the
// caller measures the text there and hands the measured rectangle to
// PlaceBmpButton, which gives the final rectangles.
#include "platform/base/Geometry.h"

struct BmpButtonLayoutInput {
    CRect item;          // the button's item rectangle
    CSize picture{0, 0}; // the picture's size in pixels
    bool hasPicture{false};
    bool hasText{false};
    int spacing{0}; // gap between picture and text
    int align{0};   // the alignment code, 0 to 15
};

struct BmpButtonLayout {
    CRect picture; // empty without a picture
    CRect text;    // empty without a text
};

// The alignment codes; the property page lists them under these numbers.
enum BmpButtonAlign : int {
    kAlignLeft = 0,
    kAlignCenter = 1,
    kAlignRight = 2,
    kAlignTop = 3,
    kAlignBottom = 4,
    kAlignGroupCenter = 5,
    kAlignTextCenter = 6,
};

// The rectangle to wrap the text into; `textExtent` is the text's single-line
// extent (only the code that centres the text in the space right of the
// picture uses it).
CRect TextWrapRect(const BmpButtonLayoutInput& in, CSize textExtent);

// The final rectangles; `measured` is the wrap rectangle after DT_CALCRECT
// (its left and top as given, its width and height those of the text).
BmpButtonLayout PlaceBmpButton(const BmpButtonLayoutInput& in, const CRect& measured);
