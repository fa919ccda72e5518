#pragma once
// The jog pad's layouts as data and pure functions: which picture each
// layout uses and how many buttons and lamps it holds, the direction codes
// of its buttons, the keys that jog them, the analysis that finds buttons
// and lamps in a picture, the recolouring of their pixels and the hit test.
// Nothing here needs a window.
#include "platform/base/Geometry.h"

#include <array>
#include <cstdint>
#include <span>

// Direction codes: bits 0 to 3 move the axes X, Y, Z and the fourth axis,
// bits 4 to 7 make the same axes move the negative way. Events add these
// modifiers.
inline constexpr int kPosShift = 0x100;    // PosRel: Shift held
inline constexpr int kPosAlt = 0x200;      // PosRel: Alt held
inline constexpr int kPosLeftJog = 0x400;  // StartPos: left button, or a Ctrl jog
inline constexpr int kPosRightJog = 0x800; // StartPos: right button, or a Ctrl+Shift jog
inline constexpr int kPosAxisZ = 0x04;     // a code that moves Z lights the Z lamp

// Pixel values of the working picture (0x00RRGGBB).
inline constexpr std::uint32_t kPosBlack = 0x000000;  // a button at rest
inline constexpr std::uint32_t kPosWhite = 0xFFFFFF;  // hovered; a button's seed in the picture
inline constexpr std::uint32_t kPosGreen = 0x00FF00;  // pressed with the left button
inline constexpr std::uint32_t kPosRed = 0xFF0000;    // pressed with the right button or a key
inline constexpr std::uint32_t kPosYellow = 0xFFFF00; // a lamp on
inline constexpr std::uint32_t kPosGrey = 0x808080;   // a lamp off; disabled artwork

inline constexpr int kPosMaxRects = 13;
inline constexpr int kPosLayoutCount = 5;

struct PosLayoutInfo {
    unsigned bitmapId;
    int width, height; // of the picture
    int buttons;       // rectangles 0 .. buttons - 1
    int rects;         // buttons, then lamps
};

// Mode & 7 picks the layout; 5, 6 and 7 give layout 0.
int PosLayoutOf(int mode);
const PosLayoutInfo& PosLayoutInfoOf(int layout);

// The direction code of button `index`, 0 for anything that is not a
// button. Layout 2 combines its A and B codes by its lamps.
int PosButtonCode(int layout, int index, bool lampA, bool lampB);

// The button a virtual key jogs, -1 for none.
int PosKeyButton(int layout, unsigned vk);

// A picture as the pad works on it: 32-bit pixels, the bottom row first.
struct PosPixels {
    std::uint32_t* pixels{nullptr};
    int width{0};
    int height{0};

    bool IsValid() const { return pixels && width > 0 && height > 0; }
    // y counts from the bottom row upwards.
    std::uint32_t& At(int x, int y) const {
        return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
};

// Rectangles with x from the left and y from the bottom row, both ends
// included: left, top (the lower y), right, bottom (the higher y).
using PosRects = std::array<CRect, kPosMaxRects>;

struct PosAnalysis {
    PosRects rects{};
    int buttonsFound{0};
    int lampsFound{0};
};

// Finds the buttons and lamps: every white pixel becomes black, and while
// buttons are missing it seeds a 4-connected fill over black pixels whose
// bounding box is the next button; every red pixel becomes yellow, and
// while lamps are missing it marks the centre of the next lamp. Buttons
// come out painted black. The fill stays inside the picture whatever it
// holds.
PosAnalysis AnalysePosLayout(const PosPixels& picture, int buttons, int rects);

// Every pixel of `rc` (both ends included, clipped to the picture) that is
// not the background `key` takes `colour`.
void PaintPosRect(const PosPixels& picture, const CRect& rc, std::uint32_t key,
                  std::uint32_t colour);

// Every pixel of value `from` takes `to`.
void RecolourPos(const PosPixels& picture, std::uint32_t from, std::uint32_t to);

// The first rectangle under a point of the client area, with the picture of
// w x h centred in `client`; -1 for none.
int PosHitTest(const CRect& client, int w, int h, CPoint point, std::span<const CRect> rects);
