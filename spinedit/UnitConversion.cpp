#include "spinedit/UnitConversion.h"

#include "spinedit/UnitRequests.h"
#include "spinedit/UnitTable.h"

namespace {

constexpr double kOneEightieth = 0.005555555555555556;

bool IsMetricLength(WORD unit) {
    return unit == kUnitMM || unit == kUnitMMAbs;
}
bool IsInchLength(WORD unit) {
    return unit == kUnitInch || unit == kUnitInchAbs;
}

} // namespace

bool ConvertUnit(double value, WORD from, double& out, WORD to, bool unitsOff,
                 IUnitRequests* host) {
    if (unitsOff) {
        out = value;
        return true;
    }
    if (to == 0)
        return false;
    if (host != nullptr) {
        // The host writes into a copy, so that an unanswered request cannot
        // change the caller's output.
        double answer = out;
        BOOL handled = 0;
        host->RequestUnitConvert(value, static_cast<short>(from), answer, static_cast<short>(to),
                                 handled);
        if (handled != 0) {
            out = answer;
            return true;
        }
    }
    if (to == from) {
        out = value;
        return true;
    }
    if (IsMetricLength(to)) {
        if (IsInchLength(from))
            out = value * kMillimetresPerInch;
        return true;
    }
    if (IsInchLength(to)) {
        if (IsMetricLength(from))
            out = value * kInchesPerMillimetre;
        return true;
    }
    if (to == kUnitDegree) {
        if (from == kUnitRadian)
            out = value * 180.0 / kUnitPi;
        return true;
    }
    if (to == kUnitRadian) {
        if (from == kUnitDegree)
            out = kUnitPi * value * kOneEightieth;
        return true;
    }
    return false;
}
