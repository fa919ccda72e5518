#pragma once
// Converts a value between units: the host is asked first, then the field's
// own rules (lengths between millimetres and inches, angles between degrees
// and radians). The absolute and relative variants of a length are converted
// only by the host.
#include "platform/base/WinTypes.h"

class IUnitRequests;

inline constexpr double kUnitPi = 3.141592653589793;
inline constexpr double kMillimetresPerInch = 25.4;
inline constexpr double kInchesPerMillimetre = 0.03937007874015748;

// Converts `value` from unit `from` into `out`, unit `to`, and says whether
// it was converted; false leaves `out` untouched.
//  - `unitsOff` (the field shows no units): out = value, true.
//  - `to` 0: false.
//  - The host answered (`host` may be null): out is what it wrote, true.
//  - Same unit: out = value, true.
//  - To a length or an angle: by the rule for the source, true; a source
//    without a rule (mm to MM, % to mm) leaves out as the caller set it, so
//    callers that want a pass-through set out = value first.
//  - Any other target: false.
[[nodiscard]] bool ConvertUnit(double value, WORD from, double& out, WORD to, bool unitsOff,
                               IUnitRequests* host);
