// wglUseFontOutlinesA: the glyphs of the DC's font as outlines, flattened,
// tessellated with the GLU tessellator and extruded.
#include "platform/base/Windows1252.h"
#include "platform/gdi/FontFace.h"
#include "platform/gl/GlInternal.h"

#include <GL/glu.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <vector>

namespace kw::gl::detail {
std::shared_ptr<gdi::FontFace> SelectedFace(HDC hdc);
} // namespace kw::gl::detail

namespace {

using namespace kw::gl::detail;

using Point = std::array<GLdouble, 3>;
using Contour = std::vector<Point>;

// Flattens a glyph outline given in em units (the em square 1 high).
class OutlineFlattener {
public:
    OutlineFlattener(double scale, double deviation) : m_scale(scale), m_deviation(deviation) {}

    std::vector<Contour> Flatten(FT_Outline* outline) {
        FT_Outline_Funcs funcs{};
        funcs.move_to = &MoveTo;
        funcs.line_to = &LineTo;
        funcs.conic_to = &ConicTo;
        funcs.cubic_to = &CubicTo;
        FT_Outline_Decompose(outline, &funcs, this);
        Close();
        return std::move(m_contours);
    }

private:
    Point At(const FT_Vector* v) const { return {v->x * m_scale, v->y * m_scale, 0}; }

    void Close() {
        // A closing point equal to the start is dropped: the loop closes itself.
        if (m_open.size() > 1 && m_open.front() == m_open.back())
            m_open.pop_back();
        if (m_open.size() >= 3)
            m_contours.push_back(std::move(m_open));
        m_open.clear();
    }
    int Steps(const Point& a, const Point& b, const Point& c) const {
        const double length =
            std::hypot(b[0] - a[0], b[1] - a[1]) + std::hypot(c[0] - b[0], c[1] - b[1]);
        const double deviation = m_deviation > 0 ? m_deviation : 0.005;
        return std::clamp(int(std::ceil(std::sqrt(length / (8 * deviation)))), 1, 32);
    }

    static int MoveTo(const FT_Vector* to, void* user) {
        auto* self = static_cast<OutlineFlattener*>(user);
        self->Close();
        self->m_open.push_back(self->At(to));
        return 0;
    }
    static int LineTo(const FT_Vector* to, void* user) {
        auto* self = static_cast<OutlineFlattener*>(user);
        self->m_open.push_back(self->At(to));
        return 0;
    }
    static int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
        auto* self = static_cast<OutlineFlattener*>(user);
        const Point a = self->m_open.back(), b = self->At(control), c = self->At(to);
        const int n = self->Steps(a, b, c);
        for (int i = 1; i <= n; ++i) {
            const double t = double(i) / n, u = 1 - t;
            self->m_open.push_back({u * u * a[0] + 2 * u * t * b[0] + t * t * c[0],
                                    u * u * a[1] + 2 * u * t * b[1] + t * t * c[1], 0});
        }
        return 0;
    }
    static int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        auto* self = static_cast<OutlineFlattener*>(user);
        const Point a = self->m_open.back(), b = self->At(c1), c = self->At(c2), d = self->At(to);
        const int n = 2 * self->Steps(a, b, d);
        for (int i = 1; i <= n; ++i) {
            const double t = double(i) / n, u = 1 - t;
            Point p{};
            for (int k = 0; k < 2; ++k)
                p[k] = u * u * u * a[k] + 3 * u * u * t * b[k] + 3 * u * t * t * c[k] +
                       t * t * t * d[k];
            self->m_open.push_back(p);
        }
        return 0;
    }

    double m_scale;
    double m_deviation;
    Contour m_open;
    std::vector<Contour> m_contours;
};

// Vertices the tessellator makes where contours cross, kept until the
// polygon is done.
struct TessState {
    std::deque<Point> combined;
    bool failed{false};
};

void GLAPIENTRY TessBegin(GLenum mode) {
    glBegin(mode);
}
void GLAPIENTRY TessVertex(void* vertex) {
    glVertex3dv(static_cast<const GLdouble*>(vertex));
}
void GLAPIENTRY TessEnd() {
    glEnd();
}
void GLAPIENTRY TessCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* data) {
    auto* state = static_cast<TessState*>(data);
    state->combined.push_back({coords[0], coords[1], coords[2]});
    *out = state->combined.back().data();
}
void GLAPIENTRY TessError(GLenum, void* data) {
    static_cast<TessState*>(data)->failed = true;
}

using TessCallback = void(GLAPIENTRY*)();

// One face of the glyph at height z, facing +z or -z.
bool TessellateFace(GLUtesselator* tess, std::vector<Contour>& contours, GLdouble z,
                    GLdouble normal) {
    TessState state;
    gluTessNormal(tess, 0, 0, normal);
    glNormal3d(0, 0, normal);
    for (Contour& contour : contours)
        for (Point& p : contour)
            p[2] = z;
    gluTessBeginPolygon(tess, &state);
    for (Contour& contour : contours) {
        gluTessBeginContour(tess);
        for (Point& p : contour)
            gluTessVertex(tess, p.data(), p.data());
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    return !state.failed;
}

// The walls between the two faces, one quad per outline edge, with the
// edge's outward normal (contours run clockwise around filled areas).
void DrawWalls(const std::vector<Contour>& contours, GLdouble depth) {
    glBegin(GL_QUADS);
    for (const Contour& contour : contours) {
        for (std::size_t i = 0; i < contour.size(); ++i) {
            const Point& a = contour[i];
            const Point& b = contour[(i + 1) % contour.size()];
            const double dx = b[0] - a[0], dy = b[1] - a[1];
            const double length = std::hypot(dx, dy);
            if (length == 0)
                continue;
            glNormal3d(-dy / length, dx / length, 0);
            glVertex3d(a[0], a[1], 0);
            glVertex3d(a[0], a[1], -depth);
            glVertex3d(b[0], b[1], -depth);
            glVertex3d(b[0], b[1], 0);
        }
    }
    glEnd();
}

struct FreeTypeFace {
    FT_Library library{nullptr};
    FT_Face face{nullptr};
    ~FreeTypeFace() {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

} // namespace

BOOL wglUseFontOutlinesA(HDC hdc, DWORD first, DWORD count, DWORD listBase, FLOAT deviation,
                         FLOAT extrusion, int format, GLYPHMETRICSFLOAT* metrics) {
    const EGLContext current = CurrentEglContext();
    if (current == EGL_NO_CONTEXT || listBase == 0 || count == 0 || first + count > 256 ||
        (format != WGL_FONT_LINES && format != WGL_FONT_POLYGONS) || deviation < 0)
        return FALSE;
    const auto selected = SelectedFace(hdc);
    if (!selected)
        return FALSE;
    FreeTypeFace ft;
    if (FT_Init_FreeType(&ft.library) != 0 ||
        FT_New_Face(ft.library, selected->File().c_str(), selected->FaceIndex(), &ft.face) != 0)
        return FALSE;
    const double scale = 1.0 / (ft.face->units_per_EM ? ft.face->units_per_EM : 2048);
    SideContext side(current);
    if (!side.IsCurrent())
        return FALSE;
    GLUtesselator* tess = gluNewTess();
    if (!tess)
        return FALSE;
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<TessCallback>(&TessBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<TessCallback>(&TessVertex));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<TessCallback>(&TessEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<TessCallback>(&TessCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<TessCallback>(&TessError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    bool ok = true;
    for (DWORD i = 0; i < count; ++i) {
        const FT_UInt index = FT_Get_Char_Index(ft.face, CodePointFromAnsi(BYTE(first + i)));
        GLYPHMETRICSFLOAT m{};
        std::vector<Contour> contours;
        if (FT_Load_Glyph(ft.face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) == 0 &&
            ft.face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
            FT_Outline* outline = &ft.face->glyph->outline;
            contours = OutlineFlattener(scale, deviation).Flatten(outline);
            FT_BBox box{};
            FT_Outline_Get_CBox(outline, &box);
            m.gmfBlackBoxX = FLOAT((box.xMax - box.xMin) * scale);
            m.gmfBlackBoxY = FLOAT((box.yMax - box.yMin) * scale);
            m.gmfptGlyphOrigin = POINTFLOAT{FLOAT(box.xMin * scale), FLOAT(box.yMax * scale)};
            m.gmfCellIncX = FLOAT(ft.face->glyph->advance.x * scale);
        } else {
            ok = false;
        }
        if (metrics)
            metrics[i] = m;
        glNewList(listBase + i, GL_COMPILE);
        if (format == WGL_FONT_LINES) {
            for (const Contour& contour : contours) {
                glBegin(GL_LINE_LOOP);
                for (const Point& p : contour)
                    glVertex3dv(p.data());
                glEnd();
            }
        } else if (!contours.empty()) {
            ok = TessellateFace(tess, contours, 0, 1) && ok;
            if (extrusion != 0) {
                ok = TessellateFace(tess, contours, -extrusion, -1) && ok;
                DrawWalls(contours, extrusion);
            }
        }
        glTranslatef(m.gmfCellIncX, m.gmfCellIncY, 0);
        glEndList();
    }
    gluDeleteTess(tess);
    return ok && glGetError() == GL_NO_ERROR ? TRUE : FALSE;
}
