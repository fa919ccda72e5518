// wglUseFontBitmapsA: the glyphs of the DC's font as glBitmap lists.
#include "platform/base/Windows1252.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gl/GlInternal.h"

#include <vector>

namespace kw::gl::detail {

// The face of the font selected into `hdc`; null when there is none.
std::shared_ptr<gdi::FontFace> SelectedFace(HDC hdc) {
    LOGFONTA lf{};
    const HGDIOBJ font = GetCurrentObject(hdc, OBJ_FONT);
    if (!font || GetObject(font, sizeof(lf), &lf) != int(sizeof(lf)))
        return nullptr;
    return gdi::FontFace::For(lf);
}

} // namespace kw::gl::detail

using namespace kw::gl::detail;

BOOL wglUseFontBitmapsA(HDC hdc, DWORD first, DWORD count, DWORD listBase) {
    const EGLContext current = CurrentEglContext();
    if (current == EGL_NO_CONTEXT || listBase == 0 || count == 0 || first + count > 256)
        return FALSE;
    const auto face = SelectedFace(hdc);
    if (!face)
        return FALSE;
    SideContext side(current);
    if (!side.IsCurrent())
        return FALSE;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    std::vector<GLubyte> bits;
    for (DWORD i = 0; i < count; ++i) {
        const gdi::Glyph& glyph = face->GlyphFor(CodePointFromAnsi(BYTE(first + i)));
        // One bit a pixel, rows from the bottom up; coverage of at least a
        // half sets the bit.
        const int rowBytes = (glyph.width + 7) / 8;
        bits.assign(std::size_t(rowBytes) * glyph.height, 0);
        for (int y = 0; y < glyph.height; ++y) {
            GLubyte* row = bits.data() + std::size_t(glyph.height - 1 - y) * rowBytes;
            for (int x = 0; x < glyph.width; ++x)
                if (glyph.coverage[std::size_t(y) * glyph.width + x] >= 128)
                    row[x / 8] |= GLubyte(0x80 >> (x % 8));
        }
        glNewList(listBase + i, GL_COMPILE);
        if (bits.empty()) {
            // An empty bitmap compiles as an allocation failure in Mesa; a
            // single clear bit draws nothing either and moves the same.
            const GLubyte clear = 0;
            glBitmap(1, 1, 0, 0, GLfloat(glyph.advance), 0, &clear);
        } else {
            glBitmap(glyph.width, glyph.height, GLfloat(-glyph.left),
                     GLfloat(glyph.height - glyph.top), GLfloat(glyph.advance), 0, bits.data());
        }
        glEndList();
    }
    return glGetError() == GL_NO_ERROR ? TRUE : FALSE;
}
