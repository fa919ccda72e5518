// The headless session: its lifetime, scripted input and snapshots.
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/User.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using kw::headless::HeadlessSession;

namespace {

std::vector<UINT> g_messages;

LRESULT RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    g_messages.push_back(msg);
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        const HBRUSH brush = CreateSolidBrush(RGB(0, 128, 0));
        FillRect(ps.hdc, &client, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterOnce() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &RecordingProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(std::intptr_t(COLOR_WINDOW + 1));
    wc.lpszClassName = "HeadlessProbe";
    RegisterClassA(&wc);
}

HWND CreateProbe(HWND parent, int x, int y, int w, int h) {
    RegisterOnce();
    const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_VISIBLE;
    return CreateWindowExA(0, "HeadlessProbe", "", style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(std::intptr_t(parent ? 1 : 0)), nullptr,
                           nullptr);
}

} // namespace

TEST(HeadlessSessionTest, EndingTheSessionDestroysWhatIsLeftAndStartsClean) {
    HWND top = nullptr;
    {
        HeadlessSession session;
        top = CreateProbe(nullptr, 0, 0, 20, 20);
        SetTimer(top, 1, 100, nullptr);
        SetCapture(top);
        g_messages.clear();
    }
    EXPECT_FALSE(IsWindow(top));
    EXPECT_NE(std::find(g_messages.begin(), g_messages.end(), WM_DESTROY), g_messages.end());
    HeadlessSession session;
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetTickCount(), 0u) << "each session starts its virtual clock at 0";
    session.Advance(1000);
    EXPECT_EQ(GetTickCount(), 1000u);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
}

TEST(HeadlessSessionTest, TypeSendsKeysAndCharactersAndEnterAsCarriageReturn) {
    HeadlessSession session;
    const HWND top = CreateProbe(nullptr, 0, 0, 20, 20);
    SetFocus(top);
    g_messages.clear();
    session.Type("1\n");
    std::vector<UINT> keys;
    for (UINT msg : g_messages)
        if (msg == WM_KEYDOWN || msg == WM_CHAR || msg == WM_KEYUP)
            keys.push_back(msg);
    EXPECT_EQ(keys,
              (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
}

TEST(HeadlessSessionTest, PixelsAndSnapshotOfAChildAndOfItsTopLevel) {
    HeadlessSession session;
    const HWND top = CreateProbe(nullptr, 50, 40, 64, 48);
    const HWND child = CreateProbe(top, 8, 4, 16, 12);
    session.Pump();
    // The top-level paints green everywhere, then the child over it.
    HDC hdc = GetDC(child);
    const RECT rc{0, 0, 16, 12};
    FillRect(hdc, &rc, reinterpret_cast<HBRUSH>(std::intptr_t(COLOR_WINDOWTEXT + 1)));
    ReleaseDC(child, hdc);

    const SurfaceBuffer childPixels = session.Pixels(child);
    EXPECT_EQ(childPixels.Width(), 16);
    EXPECT_EQ(childPixels.Height(), 12);
    EXPECT_EQ(childPixels.Pixel(0, 0), 0x000000u);
    const SurfaceBuffer whole = session.Pixels(child, true);
    EXPECT_EQ(whole.Width(), 64);
    EXPECT_EQ(whole.Pixel(8, 4), 0x000000u);
    EXPECT_EQ(whole.Pixel(7, 4), 0x008000u);
    EXPECT_EQ(whole.Pixel(24, 16), 0x008000u);

    const std::string path =
        ::testing::TempDir() + "kw_headless_snapshot_" + std::to_string(::getpid()) + ".png";
    ASSERT_TRUE(session.Snapshot(top, path));
    std::ifstream file(path, std::ios::binary);
    char signature[8] = {};
    file.read(signature, 8);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    std::remove(path.c_str());
    EXPECT_FALSE(session.Snapshot(reinterpret_cast<HWND>(0x4321), path));
}
