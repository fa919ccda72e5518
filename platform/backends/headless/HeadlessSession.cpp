#include "platform/backends/headless/HeadlessSession.h"

#include "platform/gdi/PngWriter.h"
#include "platform/user/User.h"

namespace kw::headless {

using kw::user::MouseButton;

HeadlessSession::HeadlessSession(SIZE screen) : m_presenter(screen) {
    kw::user::ResetThreadState();
    m_previous = kw::user::InstallBackend(kw::user::Backend{&m_clock, &m_presenter, nullptr});
}

HeadlessSession::~HeadlessSession() {
    kw::user::ResetThreadState();
    kw::user::InstallBackend(m_previous);
}

kw::user::ModalUiLog& HeadlessSession::Modal() {
    return kw::user::RecordingModalUiLog();
}

void HeadlessSession::MouseMove(int x, int y) {
    kw::user::InjectMouseMove(POINT{x, y});
    Pump();
}

void HeadlessSession::MouseMove(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    if (!ClientToScreen(hwnd, &pt))
        return;
    MouseMove(pt.x, pt.y);
}

void HeadlessSession::MouseDown(MouseButton button) {
    kw::user::InjectMouseButton(button, true);
    Pump();
}

void HeadlessSession::MouseUp(MouseButton button) {
    kw::user::InjectMouseButton(button, false);
    Pump();
}

void HeadlessSession::Click(MouseButton button) {
    MouseDown(button);
    MouseUp(button);
}

void HeadlessSession::DoubleClick(MouseButton button) {
    Click(button);
    Click(button);
}

void HeadlessSession::Wheel(int notches) {
    kw::user::InjectMouseWheel(notches * WHEEL_DELTA);
    Pump();
}

void HeadlessSession::KeyDown(BYTE vk) {
    kw::user::InjectKey(vk, true);
    Pump();
}

void HeadlessSession::KeyUp(BYTE vk) {
    kw::user::InjectKey(vk, false);
    Pump();
}

void HeadlessSession::Key(BYTE vk) {
    KeyDown(vk);
    KeyUp(vk);
}

void HeadlessSession::Char(BYTE ch) {
    kw::user::InjectChar(ch);
    Pump();
}

namespace {
// The key that types a character on a plain keyboard, 0 when there is none
// worth sending.
BYTE KeyForChar(unsigned char ch) {
    if (ch >= 'a' && ch <= 'z')
        return BYTE(ch - 'a' + 'A');
    if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))
        return ch;
    switch (ch) {
    case ' ':
        return VK_SPACE;
    case '\r':
    case '\n':
        return VK_RETURN;
    case '\t':
        return VK_TAB;
    case '\b':
        return VK_BACK;
    case 0x1B:
        return VK_ESCAPE;
    case '.':
        return VK_OEM_PERIOD;
    case ',':
        return VK_OEM_COMMA;
    case '-':
        return VK_OEM_MINUS;
    case '+':
        return VK_OEM_PLUS;
    default:
        return 0;
    }
}
} // namespace

void HeadlessSession::Type(std::string_view text) {
    for (char c : text) {
        const auto ch = static_cast<unsigned char>(c);
        const BYTE vk = KeyForChar(ch);
        if (vk)
            KeyDown(vk);
        Char(ch == '\n' ? BYTE('\r') : ch);
        if (vk)
            KeyUp(vk);
    }
}

void HeadlessSession::Advance(DWORD ms) {
    kw::user::AdvanceClock(ms);
}

int HeadlessSession::Pump() {
    return kw::user::RunPendingMessages();
}

SurfaceBuffer HeadlessSession::Pixels(HWND hwnd, bool wholeTopLevel) const {
    const HWND top = GetAncestor(hwnd, GA_ROOT);
    PixelSurface surface;
    if (!top || !kw::user::TopLevelSurface(top, &surface))
        return SurfaceBuffer{};
    RECT topRect;
    GetWindowRect(top, &topRect);
    RECT area{0, 0, surface.width, surface.height};
    if (!wholeTopLevel) {
        GetClientRect(hwnd, &area);
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        OffsetRect(&area, origin.x - topRect.left, origin.y - topRect.top);
    }
    SurfaceBuffer copy(area.right - area.left, area.bottom - area.top, 0);
    PixelSurface view = copy.View();
    for (int y = 0; y < copy.Height(); ++y) {
        const int sy = area.top + y;
        if (sy < 0 || sy >= surface.height)
            continue;
        for (int x = 0; x < copy.Width(); ++x) {
            const int sx = area.left + x;
            if (sx >= 0 && sx < surface.width)
                view.At(x, y) = surface.At(sx, sy);
        }
    }
    return copy;
}

bool HeadlessSession::Snapshot(HWND hwnd, const std::string& path, bool wholeTopLevel) const {
    SurfaceBuffer pixels = Pixels(hwnd, wholeTopLevel);
    if (pixels.Width() == 0 || pixels.Height() == 0)
        return false;
    return WritePng(pixels.View(), path);
}

} // namespace kw::headless
