#pragma once
// The questions the unit logic puts to the host. The control answers them by
// firing its RequestUnitText and RequestUnitConvert events (adding its own
// window handle); tests answer them directly. A request whose bHandled comes
// back 0 was not answered and its other results are ignored.
#include "platform/base/WinTypes.h"

#include <string>

class IUnitRequests {
public:
    virtual ~IUnitRequests() = default;

    // The name of host unit `dspUnit` (a unit code, 128 to 16384). `text`
    // comes in empty, Windows-1252.
    virtual void RequestUnitText(std::string& text, short dspUnit, BOOL& bHandled) = 0;

    // Converts curValue from curUnit to newUnit. newValue comes in as the
    // caller's output holds it.
    virtual void RequestUnitConvert(double curValue, short curUnit, double& newValue, short newUnit,
                                    BOOL& bHandled) = 0;
};
