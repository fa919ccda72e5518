#pragma once
// OpenGL on windows, with the platform's calls: pixel formats of a window,
// rendering contexts, SwapBuffers and font display lists.
//
// Every context renders into an off-screen framebuffer of its window's
// client size on an EGL display that needs no window system (Mesa's
// surfaceless platform), so rendering is the same with and without a
// display. SwapBuffers copies the finished frame into the window's own
// surface; snapshots, WM_PRINTCLIENT and a real display then show it like
// anything else the window draws.
//
// Nothing here ends the process: when OpenGL cannot be had, the calls fail
// with the platform's failure values (0, FALSE or null).
//
// [SECTION] Pixel formats
// [SECTION] Rendering contexts
// [SECTION] Font lists
#include "platform/gdi/GdiTypes.h"

#include <GL/gl.h>

// [SECTION] Pixel formats

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "the platform's layout");

constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_STEREO = 0x00000002;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_DRAW_TO_BITMAP = 0x00000008;
constexpr DWORD PFD_SUPPORT_GDI = 0x00000010;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr DWORD PFD_GENERIC_FORMAT = 0x00000040;
constexpr DWORD PFD_DEPTH_DONTCARE = 0x20000000;
constexpr DWORD PFD_DOUBLEBUFFER_DONTCARE = 0x40000000;
constexpr DWORD PFD_STEREO_DONTCARE = 0x80000000;
constexpr BYTE PFD_TYPE_RGBA = 0;
constexpr BYTE PFD_TYPE_COLORINDEX = 1;
constexpr BYTE PFD_MAIN_PLANE = 0;

// The best of the offered formats for `pfd` (1-based), 0 when none fits or
// OpenGL is not available. Depth and stencil are matched as closely as the
// formats allow: a format has at least the stencil asked for, and no
// stencil when none is asked for.
int ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* pfd);
// A window's pixel format is set once; setting another one later fails.
BOOL SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* pfd);
// The number of formats (0 when OpenGL is not available); fills `pfd` with
// format `format` when it exists and `bytes` is large enough.
int DescribePixelFormat(HDC hdc, int format, UINT bytes, PIXELFORMATDESCRIPTOR* pfd);
// The format of the DC's window, 0 when none is set.
int GetPixelFormat(HDC hdc);

// [SECTION] Rendering contexts

struct HGLRC__;
using HGLRC = HGLRC__*;

// A context for DCs of the window `hdc` draws on, which must have a pixel
// format. Null on failure.
HGLRC wglCreateContext(HDC hdc);
// Makes the context no longer current anywhere and frees it with its lists.
BOOL wglDeleteContext(HGLRC rc);
// Makes `rc` current on the calling thread, drawing into a frame of the
// client size of hdc's window (which needs the context's pixel format). The
// first time a context is made current its viewport is set to that size, as
// on the platform. A null `rc` makes no context current.
BOOL wglMakeCurrent(HDC hdc, HGLRC rc);
HGLRC wglGetCurrentContext();
HDC wglGetCurrentDC();
// Copies the finished frame into `hdc` at its client origin: the frame of
// the context that was last current on hdc's window, or, for a DC of no
// window (a memory DC a window is printed into), the frame of the context
// current on the calling thread. FALSE when there is no such frame.
BOOL SwapBuffers(HDC hdc);

// [SECTION] Font lists
// Both take the font selected into `hdc` and compile display lists
// listBase + i for the characters first + i, i < count, in the context
// current on the calling thread. They work also while that context is
// compiling a list of its own: the glyphs are compiled in a second context
// that shares the lists.

// Each list draws the glyph with glBitmap at the raster position and moves
// the position by the glyph's advance.
BOOL wglUseFontBitmapsA(HDC hdc, DWORD first, DWORD count, DWORD listBase);

using FLOAT = float;

struct POINTFLOAT {
    FLOAT x;
    FLOAT y;
};
struct GLYPHMETRICSFLOAT {
    FLOAT gmfBlackBoxX;
    FLOAT gmfBlackBoxY;
    POINTFLOAT gmfptGlyphOrigin;
    FLOAT gmfCellIncX;
    FLOAT gmfCellIncY;
};
constexpr int WGL_FONT_LINES = 0;
constexpr int WGL_FONT_POLYGONS = 1;

// Each list draws the glyph's outline in the z = 0 plane, the em square
// being 1 unit high: as line loops (WGL_FONT_LINES) or as polygons extruded
// by `extrusion` towards -z, with normals (WGL_FONT_POLYGONS); then it moves
// by the glyph's advance with glTranslatef. Curves are flattened to within
// `deviation` (0: a fine default). `metrics`, when given, receives `count`
// records.
BOOL wglUseFontOutlinesA(HDC hdc, DWORD first, DWORD count, DWORD listBase, FLOAT deviation,
                         FLOAT extrusion, int format, GLYPHMETRICSFLOAT* metrics);
