// Reading a feedback buffer into the drag preview: world coordinates back,
// paths kept connected while thinned, the budget held, and a buffer cut
// short or holding garbage read safely.
#include "views3d/ToolpathPreview.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kw::views3d;

namespace {

// Feedback as the viewer asks for it: x and y times 8, depth (z / 100 + 1) / 2.
constexpr double kToWindow = 8;
constexpr double kDepth = 100;

struct Feedback {
    std::vector<float> f;
    void Vertex(float x, float y, float z, float r = 0, float g = 0, float b = 1) {
        f.insert(f.end(), {float(x * kToWindow), float(y * kToWindow), float((z / kDepth + 1) / 2),
                           r, g, b, 1});
    }
    void Line(float x0, float y0, float x1, float y1, float z = 0) {
        f.push_back(GL_LINE_TOKEN);
        Vertex(x0, y0, z);
        Vertex(x1, y1, z);
    }
};

bool Same(const std::array<float, 3>& p, float x, float y, float z) {
    return std::fabs(p[0] - x) < 1e-5f && std::fabs(p[1] - y) < 1e-5f &&
           std::fabs(p[2] - z) < 1e-4f;
}

} // namespace

TEST(ToolpathPreviewTest, SmallListsComeBackWholeInWorldCoordinates) {
    Feedback fb;
    fb.Line(1, 2, 3, 4, 5);
    fb.f.push_back(GL_POINT_TOKEN);
    fb.Vertex(9, 9, 9);
    fb.f.insert(fb.f.end(), {GL_PASS_THROUGH_TOKEN, 42});
    fb.f.push_back(GL_BITMAP_TOKEN);
    fb.Vertex(0, 0, 0);
    fb.f.insert(fb.f.end(), {GL_POLYGON_TOKEN, 4});
    fb.Vertex(0, 0, 1, 1, 0, 0);
    fb.Vertex(2, 0, 1, 1, 0, 0);
    fb.Vertex(2, 2, 1, 1, 0, 0);
    fb.Vertex(0, 2, 1, 1, 0, 0);
    fb.f.push_back(GL_LINE_RESET_TOKEN);
    fb.Vertex(-1, -1, 0);
    fb.Vertex(-2, -2, 0);

    const ToolpathPreview p = ReadFeedback(fb.f, kToWindow, kDepth);
    EXPECT_EQ(p.sourceSegments, 2u);
    ASSERT_EQ(p.lines.size(), 4u);
    EXPECT_TRUE(Same(p.lines[0].xyz, 1, 2, 5));
    EXPECT_TRUE(Same(p.lines[1].xyz, 3, 4, 5));
    EXPECT_EQ(p.lines[0].rgba[2], 1.0f);
    EXPECT_TRUE(Same(p.lines[3].xyz, -2, -2, 0));
    ASSERT_EQ(p.polygons.size(), 1u);
    EXPECT_EQ(p.polygons[0].corners.size(), 4u);
    EXPECT_TRUE(Same(p.polygons[0].normal, 0, 0, 1)) << "counter-clockwise faces the viewer";
    EXPECT_EQ(p.polygons[0].corners[2].rgba[0], 1.0f);
}

TEST(ToolpathPreviewTest, LargeListsAreThinnedToTheBudgetAndPathsStayConnected) {
    Feedback fb;
    // A path of 1000 connected moves along a circle, then 3000 loose dashes.
    for (int i = 0; i < 1000; ++i) {
        const double a0 = i * 0.006, a1 = (i + 1) * 0.006;
        fb.Line(float(std::cos(a0)), float(std::sin(a0)), float(std::cos(a1)), float(std::sin(a1)));
    }
    for (int i = 0; i < 3000; ++i)
        fb.Line(float(i), 5, float(i) + 0.5f, 5);
    const ToolpathPreview p = ReadFeedback(fb.f, kToWindow, kDepth, 400);
    EXPECT_EQ(p.sourceSegments, 4000u);
    const std::size_t kept = p.lines.size() / 2;
    EXPECT_LE(kept, 400u);
    EXPECT_GE(kept, 200u) << "the budget is used, not wasted";
    // The path: its first point, consecutive pieces joined, its last point.
    EXPECT_TRUE(Same(p.lines[0].xyz, 1, 0, 0));
    std::size_t pathPieces = 1;
    while (pathPieces * 2 < p.lines.size() &&
           p.lines[pathPieces * 2].xyz == p.lines[pathPieces * 2 - 1].xyz)
        ++pathPieces;
    const auto& last = p.lines[pathPieces * 2 - 1].xyz;
    EXPECT_TRUE(Same(last, float(std::cos(6.0)), float(std::sin(6.0)), 0)) << "the path ends";
    EXPECT_GT(pathPieces, 50u);
    EXPECT_LT(pathPieces, 200u);
    // Loose dashes: every k-th, from the first.
    EXPECT_TRUE(Same(p.lines[pathPieces * 2].xyz, 0, 5, 0));
    // No budget at all still keeps something of every path.
    EXPECT_FALSE(ReadFeedback(fb.f, kToWindow, kDepth, 0).lines.empty());
}

TEST(ToolpathPreviewTest, BuffersCutShortOrHoldingGarbageAreReadSafely) {
    Feedback fb;
    fb.Line(1, 1, 2, 2);
    fb.Line(3, 3, 4, 4);
    const std::vector<float> whole = fb.f;
    // Cut anywhere: only whole records count.
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        const ToolpathPreview p = ReadFeedback(std::span(whole).first(cut), kToWindow, kDepth);
        EXPECT_EQ(p.lines.size(), cut < 15 ? 0u : cut < 30 ? 2u : 4u) << "cut " << cut;
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<std::vector<float>> garbage = {
        {GL_POLYGON_TOKEN, 1e9f, 0, 0},
        {GL_POLYGON_TOKEN, -3, 0, 0},
        {GL_POLYGON_TOKEN, nan},
        {GL_POLYGON_TOKEN},
        {12345, 1, 2, 3},
        {nan, nan},
        {GL_PASS_THROUGH_TOKEN},
    };
    for (const auto& g : garbage) {
        const ToolpathPreview p = ReadFeedback(g, kToWindow, kDepth);
        EXPECT_TRUE(p.lines.empty());
        EXPECT_TRUE(p.polygons.empty());
    }
    // A segment with a coordinate that is no number is dropped; the rest stays.
    Feedback bad;
    bad.Line(1, 1, 2, 2);
    bad.f[1] = inf;
    bad.Line(3, 3, 4, 4);
    EXPECT_EQ(ReadFeedback(bad.f, kToWindow, kDepth).lines.size(), 2u);
    EXPECT_TRUE(ReadFeedback(whole, 0, kDepth).lines.empty()) << "no scale, nothing read";
}
