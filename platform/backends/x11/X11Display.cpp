#include "platform/backends/x11/X11Display.h"

#include <X11/extensions/XShm.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace kw::x11 {

namespace {

// Xlib's handlers are process-wide and take no context, so the little they
// need lives here. One display is open at a time.
int g_lostExitStatus = 1;
std::string g_displayName;
bool g_trapping = false;
bool g_trapped = false;

int OnProtocolError(Display* display, XErrorEvent* error) {
    if (g_trapping) {
        g_trapped = true;
        return 0;
    }
    char text[256] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "%s: X11 request %d.%d failed: %s (resource 0x%lx)\n",
                 program_invocation_short_name, int(error->request_code), int(error->minor_code),
                 text, error->resourceid);
    return 0;
}

// Must not return: Xlib would end the process with its own message. _Exit
// rather than exit, because exit would run destructors that talk to the dead
// connection and re-enter this handler.
[[noreturn]] int OnConnectionLost(Display*) {
    std::fprintf(stderr, "%s: lost the connection to the X display \"%s\"; ending\n",
                 program_invocation_short_name, g_displayName.c_str());
    std::fflush(stderr);
    std::fflush(stdout);
    std::_Exit(g_lostExitStatus);
}

} // namespace

X11Display::X11Display(const std::string& name, int lostExitStatus) {
    const char* env = std::getenv("DISPLAY");
    m_name = !name.empty() ? name : env ? env : "";
    m_display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    if (!m_display)
        return;
    g_lostExitStatus = lostExitStatus;
    g_displayName = m_name;
    XSetErrorHandler(&OnProtocolError);
    XSetIOErrorHandler(&OnConnectionLost);

    m_screen = DefaultScreen(m_display);
    m_visual = DefaultVisual(m_display, m_screen);
    m_depth = DefaultDepth(m_display, m_screen);
    wmProtocols = XInternAtom(m_display, "WM_PROTOCOLS", False);
    wmDeleteWindow = XInternAtom(m_display, "WM_DELETE_WINDOW", False);
    netWmName = XInternAtom(m_display, "_NET_WM_NAME", False);
    utf8String = XInternAtom(m_display, "UTF8_STRING", False);
    m_hasShm = XShmQueryExtension(m_display) == True;
}

X11Display::~X11Display() {
    if (!m_display)
        return;
    XCloseDisplay(m_display);
    XSetIOErrorHandler(nullptr);
    XSetErrorHandler(nullptr);
}

void X11Display::BeginTrap() {
    XSync(m_display, False);
    g_trapped = false;
    g_trapping = true;
}

bool X11Display::EndTrap() {
    XSync(m_display, False);
    g_trapping = false;
    return !g_trapped;
}

} // namespace kw::x11
