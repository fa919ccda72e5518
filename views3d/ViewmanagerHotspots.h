#pragma once
// The view chooser's hotspots: two static tables, one per level, and the hit
// test over them. A hotspot lies at (dx, dy) from the centre of the control's
// centre square and covers the 8 x 8 square around that point; it names the
// picture that shows it highlighted and the string-table text that describes
// it (0 for none).
#include "platform/base/Geometry.h"

#include <cstdint>
#include <span>

namespace kw::views3d {

struct Hotspot {
    int dx;
    int dy;
    std::uint8_t picture;
    int textId;
};

// The string-table texts of the hotspots.
constexpr int kTextIsometric = 201; // "Isometrische Anzeige": back to the first level
constexpr int kTextFace = 202;      // "Teilfläche anzeigen": on to the face level
constexpr int kTextTurn90 = 203;    // "Drehung um 90°"
constexpr int kTextTurn180 = 204;   // "Drehung um 180°"
constexpr int kTextTurnOver = 205;  // "Umdrehen"
constexpr int kTextTurnLeft = 206;  // "Linksdrehung um 120°"
constexpr int kTextTurnRight = 207; // "Rechtsdrehung um 120°"

// The isometric level (pictures of strip 214) and the face level (strip 221).
std::span<const Hotspot> IsometricHotspots();
std::span<const Hotspot> FaceHotspots();

// The first hotspot, in table order, whose square holds `pt`; -1 for none.
// `centre` is the centre of the centre square.
int HotspotHitTest(std::span<const Hotspot> table, POINT centre, POINT pt);

} // namespace kw::views3d
