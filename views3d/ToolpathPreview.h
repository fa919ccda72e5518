#pragma once
// The coarse stand-in for a large display list that the viewer draws while
// the user drags the view: the list's primitives, read back once through
// OpenGL's feedback mode, with its line segments thinned to a budget. Runs of
// connected segments (a toolpath's moves) stay connected, every k-th
// segment merged into one; isolated segments keep every k-th. Polygons stay
// whole, with a normal from their own corners. Points, bitmaps, pixel
// rectangles and pass-through markers are left out.
//
// Reading the feedback is pure arithmetic and is tested without a context.
#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace kw::views3d {

struct PreviewVertex {
    std::array<float, 3> xyz{};
    std::array<float, 4> rgba{};
};

struct PreviewPolygon {
    std::array<float, 3> normal{};
    std::vector<PreviewVertex> corners;
};

struct ToolpathPreview {
    std::vector<PreviewVertex> lines; // two vertices a segment
    std::vector<PreviewPolygon> polygons;
    std::size_t sourceSegments{0}; // line segments in the feedback
};

// The most line segments a preview keeps: what the software renderer draws
// at a usable frame rate while a drag repaints the view at every move.
inline constexpr std::size_t kPreviewSegments = 30000;

// Reads a feedback buffer of GL_3D_COLOR records (RGBA) whose window
// coordinates are world coordinates times `toWindow` (x and y), and whose
// depth is (z / depthScale + 1) / 2; keeps at most `budget` line segments.
// A record cut short ends the reading.
ToolpathPreview ReadFeedback(std::span<const float> buffer, double toWindow, double depthScale,
                             std::size_t budget = kPreviewSegments);

} // namespace kw::views3d
