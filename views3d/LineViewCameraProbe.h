#pragma once
// ILineViewCamera: a private, read-only interface through which a test host
// in the same process reads the toolpath viewer's camera. It is not part of
// the control's dispatch interface and not in the type library; QueryInterface
// answers it.
#include "platform/base/Guid.h"
#include "platform/com/Unknown.h"

struct ILineViewCamera : IUnknown {
    // The view window: left, bottom, right, top, in view coordinates.
    STDMETHOD(GetViewWindow)(double window[4]) = 0;
    // The view angles X, Y, Z in degrees.
    STDMETHOD(GetViewAngles)(float angles[3]) = 0;

protected:
    ~ILineViewCamera() = default;
};

inline constexpr IID IID_ILineViewCamera =
    MakeGuid(0x6C1E52B4, 0x0F3A, 0x4D8E, 0x9A, 0x51, 0x2B, 0x7D, 0xC4, 0x18, 0xE6, 0x93);
