#include "views3d/ToolpathPreview.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace kw::views3d {

namespace {

constexpr std::size_t kVertexFloats = 7; // x, y, z, r, g, b, a

struct Segment {
    PreviewVertex a, b;
};

bool Connects(const Segment& previous, const Segment& next) {
    return previous.b.xyz == next.a.xyz;
}

std::array<float, 3> Normal(const std::vector<PreviewVertex>& corners) {
    // Newell's method: the area vector of the polygon, whatever its shape.
    double n[3] = {};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const auto& p = corners[i].xyz;
        const auto& q = corners[(i + 1) % corners.size()].xyz;
        n[0] += (double(p[1]) - q[1]) * (double(p[2]) + q[2]);
        n[1] += (double(p[2]) - q[2]) * (double(p[0]) + q[0]);
        n[2] += (double(p[0]) - q[0]) * (double(p[1]) + q[1]);
    }
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0) || !std::isfinite(length))
        return {0, 0, 1};
    return {float(n[0] / length), float(n[1] / length), float(n[2] / length)};
}

// Every k-th isolated segment; runs of connected segments merged k at a time,
// so that a path stays a path.
std::vector<PreviewVertex> Thin(const std::vector<Segment>& segments, std::size_t k) {
    std::vector<PreviewVertex> out;
    std::size_t singles = 0;
    for (std::size_t start = 0; start < segments.size();) {
        std::size_t end = start + 1;
        while (end < segments.size() && Connects(segments[end - 1], segments[end]))
            ++end;
        if (end - start == 1) {
            if (singles++ % k == 0) {
                out.push_back(segments[start].a);
                out.push_back(segments[start].b);
            }
        } else {
            for (std::size_t s = start; s < end; s += k) {
                out.push_back(segments[s].a);
                out.push_back(segments[std::min(s + k, end) - 1].b);
            }
        }
        start = end;
    }
    return out;
}

} // namespace

ToolpathPreview ReadFeedback(std::span<const float> buffer, double toWindow, double depthScale,
                             std::size_t budget) {
    ToolpathPreview preview;
    if (!(toWindow > 0) || !std::isfinite(toWindow) || !(depthScale > 0) ||
        !std::isfinite(depthScale))
        return preview;
    std::vector<Segment> segments;
    std::size_t i = 0;
    const std::size_t n = buffer.size();
    // The next vertex, in world coordinates; false when the buffer ends
    // before it.
    auto read = [&](PreviewVertex* v) {
        if (n - i < kVertexFloats)
            return false;
        const float* f = buffer.data() + i;
        i += kVertexFloats;
        v->xyz = {float(f[0] / toWindow), float(f[1] / toWindow),
                  float((2 * double(f[2]) - 1) * depthScale)};
        v->rgba = {f[3], f[4], f[5], f[6]};
        return true;
    };
    auto finite = [](const PreviewVertex& v) {
        return std::all_of(v.xyz.begin(), v.xyz.end(), [](float c) { return std::isfinite(c); });
    };
    bool good = true;
    while (good && i < n) {
        const float token = buffer[i++];
        PreviewVertex v;
        // Tokens are small whole numbers; anything else is not feedback.
        switch (token >= 0 && token < 65536 ? int(token) : -1) {
        case GL_PASS_THROUGH_TOKEN:
            good = i < n;
            ++i;
            break;
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            good = read(&v);
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN: {
            Segment s;
            good = read(&s.a) && read(&s.b);
            if (good && finite(s.a) && finite(s.b))
                segments.push_back(s);
            break;
        }
        case GL_POLYGON_TOKEN: {
            const float count = i < n ? buffer[i++] : -1;
            if (!(count >= 0) || count > float((n - i) / kVertexFloats)) {
                good = false;
                break;
            }
            PreviewPolygon polygon;
            polygon.corners.resize(std::size_t(count));
            for (auto& corner : polygon.corners)
                good = good && read(&corner);
            if (good && polygon.corners.size() >= 3 &&
                std::all_of(polygon.corners.begin(), polygon.corners.end(), finite)) {
                polygon.normal = Normal(polygon.corners);
                preview.polygons.push_back(std::move(polygon));
            }
            break;
        }
        default:
            good = false; // not a record of feedback: the rest is not read
            break;
        }
    }
    preview.sourceSegments = segments.size();
    budget = std::max<std::size_t>(budget, 1);
    std::size_t k = (segments.size() + budget - 1) / budget;
    k = std::max<std::size_t>(k, 1);
    for (;;) {
        preview.lines = Thin(segments, k);
        if (preview.lines.size() / 2 <= budget || k >= segments.size())
            break;
        k *= 2;
    }
    return preview;
}

} // namespace kw::views3d
