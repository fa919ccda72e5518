#pragma once
// A second client of the test's X server that plays the user and the window
// manager: real input through the XTest extension, focus, close requests
// and reading back what the server shows.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdint>
#include <optional>
#include <string>

namespace kw::test {

class XTestDriver {
public:
    explicit XTestDriver(const std::string& display) : m_display(XOpenDisplay(display.c_str())) {}
    ~XTestDriver() {
        if (m_display)
            XCloseDisplay(m_display);
    }
    XTestDriver(const XTestDriver&) = delete;
    XTestDriver& operator=(const XTestDriver&) = delete;

    bool IsOpen() const { return m_display != nullptr; }
    Display* Get() const { return m_display; }
    Window Root() const { return DefaultRootWindow(m_display); }

    // [SECTION] Input, in screen coordinates
    void MoveTo(int x, int y) {
        XTestFakeMotionEvent(m_display, -1, x, y, CurrentTime);
        XSync(m_display, False);
    }
    void Button(unsigned button, bool down) {
        XTestFakeButtonEvent(m_display, button, down ? True : False, CurrentTime);
        XSync(m_display, False);
    }
    void Click(unsigned button) {
        Button(button, true);
        Button(button, false);
    }
    void Key(KeySym sym, bool down) {
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, sym), down ? True : False,
                          CurrentTime);
        XSync(m_display, False);
    }
    // Presses and releases the key that types `sym`, with Shift when the
    // symbol is on the key's shifted level.
    void Type(KeySym sym) {
        const KeyCode code = XKeysymToKeycode(m_display, sym);
        const bool shift = XkbKeycodeToKeysymCompat(code, 0) != sym;
        if (shift)
            Key(XK_Shift_L, true);
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        XSync(m_display, False);
        if (shift)
            Key(XK_Shift_L, false);
    }
    void TypeText(const std::string& text) {
        for (char c : text)
            Type(c == '\r' || c == '\n' ? XK_Return : KeySym(static_cast<unsigned char>(c)));
    }

    // [SECTION] As a window manager
    void Focus(Window window) {
        XSetInputFocus(m_display, window, RevertToPointerRoot, CurrentTime);
        XSync(m_display, False);
    }
    void RequestClose(Window window) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_display, window, False, NoEventMask, &event);
        XSync(m_display, False);
    }

    // [SECTION] Reading back
    bool IsMapped(Window window) {
        XWindowAttributes a{};
        return XGetWindowAttributes(m_display, window, &a) && a.map_state == IsViewable;
    }
    // The window's place on the screen and size.
    struct Geometry {
        int x{0}, y{0}, width{0}, height{0};
    };
    Geometry GeometryOf(Window window) {
        XWindowAttributes a{};
        XGetWindowAttributes(m_display, window, &a);
        Geometry g{0, 0, a.width, a.height};
        Window child = None;
        XTranslateCoordinates(m_display, window, Root(), 0, 0, &g.x, &g.y, &child);
        return g;
    }
    std::string Property(Window window, const char* name) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(m_display, window, XInternAtom(m_display, name, False), 0, 1024, False,
                           AnyPropertyType, &type, &format, &count, &after, &data);
        std::string text(reinterpret_cast<const char*>(data ? data : (const unsigned char*)""),
                         count);
        if (data)
            XFree(data);
        return text;
    }
    // A pixel as 0x00RRGGBB (the test server is 24-bit TrueColor).
    std::uint32_t Pixel(Window window, int x, int y) {
        XImage* image = XGetImage(m_display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0xFFFFFFFF;
        const auto pixel = std::uint32_t(XGetPixel(image, 0, 0) & 0xFFFFFF);
        XDestroyImage(image);
        return pixel;
    }

private:
    KeySym XkbKeycodeToKeysymCompat(KeyCode code, int level) {
        int perCode = 0;
        KeySym* syms = XGetKeyboardMapping(m_display, code, 1, &perCode);
        const KeySym sym = syms && level < perCode ? syms[level] : NoSymbol;
        if (syms)
            XFree(syms);
        return sym;
    }

    Display* m_display{nullptr};
};

} // namespace kw::test
