// CLineViewCtrl: the display-list protocol with the host, and the font
// lists.
#include "views3d/LineViewCtrl.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/User.h"

namespace {

// The metrics of the outline glyphs; nothing reads them.
GLYPHMETRICSFLOAT g_glyphMetrics[256];

constexpr GLsizei kFontLists = 96;
constexpr DWORD kFirstChar = 32;
// Building the glyphs is tried this often before the lists are left empty.
constexpr int kFontAttempts = 10;

} // namespace

void CLineViewCtrl::BeginList() {
    // Without a context there is nothing to compile into; a second call
    // while the list is open keeps it open.
    if (!m_hrc || m_listDc)
        return;
    const HDC hdc = ::GetDC(m_hWnd);
    if (!hdc)
        return;
    if (!wglMakeCurrent(hdc, m_hrc)) {
        ::ReleaseDC(m_hWnd, hdc);
        return;
    }
    m_listDc = hdc;
    if (m_list == 0)
        m_list = glGenLists(1);
    glNewList(m_list, GL_COMPILE);
}

void CLineViewCtrl::EndList() {
    if (!m_hrc)
        return;
    if (m_listDc) {
        glEndList();
        wglMakeCurrent(nullptr, nullptr);
        ::ReleaseDC(m_hWnd, m_listDc);
        m_listDc = nullptr;
    }
    // The drag preview of the old content is of no use any more.
    m_previewState = PreviewState::Unknown;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CLineViewCtrl::CreateFont(BOOL bitmap) {
    // The first call that finds the context current decides between bitmap
    // and outline glyphs. Lists in another control's context would be of no
    // use here.
    if (m_fontBase != 0 || !m_hrc || wglGetCurrentContext() != m_hrc)
        return;
    const HDC hdc = wglGetCurrentDC();
    m_fontBase = glGenLists(kFontLists);
    if (m_fontBase == 0)
        return;
    const HFONT font = ::CreateFontA(-10, 0, 0, 0, 400, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                     OUT_TT_PRECIS, 0, ANTIALIASED_QUALITY, 0, "Courier New");
    const HGDIOBJ previous = ::SelectObject(hdc, font);
    for (int attempt = 0; attempt < kFontAttempts; ++attempt) {
        const BOOL built = bitmap
                               ? wglUseFontBitmapsA(hdc, kFirstChar, kFontLists, m_fontBase)
                               : wglUseFontOutlinesA(hdc, kFirstChar, kFontLists, m_fontBase, 0.0f,
                                                     0.1f, WGL_FONT_POLYGONS, g_glyphMetrics);
        if (built)
            break;
    }
    ::SelectObject(hdc, previous);
    ::DeleteObject(font);
}

LONG CLineViewCtrl::GetFontList() {
    return LONG(m_fontBase);
}
