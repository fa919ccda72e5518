#pragma once
// Icons: a colour image with a monochrome mask, drawn as the platform does
// (the mask ANDed onto the destination, then the image XORed), so that mask
// pixels that are set and image pixels that are black leave the destination
// alone.
//
// Icons are handles in the calling thread's table: a null, destroyed or
// made-up HICON makes a call fail, never crash.
#include "platform/gdi/GdiTypes.h"
#include "platform/user/UserTypes.h"

#include <cstdint>
#include <span>

struct HICON__;
using HICON = HICON__*;

struct ICONINFO {
    BOOL fIcon{TRUE};
    DWORD xHotspot{0};
    DWORD yHotspot{0};
    HBITMAP hbmMask{nullptr};  // Monochrome; set bits are transparent.
    HBITMAP hbmColor{nullptr}; // Black where the mask is set.
};

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = DI_MASK | DI_IMAGE;

// The icon keeps copies of both bitmaps; they stay the caller's. A missing
// mask makes every pixel opaque. NULL without a colour bitmap.
HICON CreateIconIndirect(const ICONINFO* info);
HICON CopyIcon(HICON icon);
BOOL DestroyIcon(HICON icon);
// Gives new copies of the bitmaps, which the caller deletes.
BOOL GetIconInfo(HICON icon, ICONINFO* info);
// cx, cy of 0 take the icon's size; other sizes stretch it. `step` and
// `brush` are accepted and not used.
BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH brush,
                UINT flags);
BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);

namespace kw::user {
// The icon's size in pixels; {0, 0} for an invalid handle.
SIZE IconSize(HICON icon);

// An icon from the bytes of an icon file (ICONDIR, entries, and for each a
// packed bitmap of twice the icon's height: the image, then its 1-bit AND
// mask). Of several images the one nearest `preferredSize` pixels wide is
// taken. Input is untrusted: null for anything malformed.
HICON CreateIconFromIconFile(std::span<const std::uint8_t> data, int preferredSize = 32);
} // namespace kw::user
