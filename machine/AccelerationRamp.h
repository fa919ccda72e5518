#pragma once
// The ramp table of a stepper drive: one entry per motor step, each the step
// frequency of that step as a fraction e / 65536 of a reference frequency
// (the final frequency for a linear ramp, the exponential rise for an
// exponential one). Plain data and functions, so that the computation can be
// checked and measured without a control or a window.
#include "platform/base/WinTypes.h"

#include <array>
#include <cstdint>
#include <span>

namespace kw::machine {

inline constexpr int kRampTableSize = 4096;
inline constexpr LONG kRampFullSpeed = 65535;

using RampTable = std::array<LONG, kRampTableSize>;

// The parameters the table is computed from, with the widths the control
// keeps them in. The exponential computation may change `a` (raised to at
// least 10) and `vmax` (0 becomes `b`), as the control's properties do.
struct RampParameters {
    SHORT vstart{200}; // start frequency, Hz
    SHORT a{200};      // exponential rise rate, percent
    SHORT b{10000};    // exponential rise above the start, Hz; reference frequency
    LONG vmax{5000};   // final frequency, Hz; reference of a linear table
    LONG alpha{0};     // constant acceleration, Hz/s; 0 selects the exponential ramp
};

// Rounding half away from zero of x taken at single precision, toward zero
// after adding or subtracting one half. `x` must lie well inside LONG range.
LONG RoundSingle(double x);

// Computes the table for `p` into `table` and `count`. A linear ramp first
// fills the whole table with full speed; an exponential one leaves entries
// past the ones it writes as they were. `count` never exceeds the table
// size and every computed entry lies in 1..65535, whatever the parameters.
void CalcRampTable(RampParameters& p, RampTable& table, SHORT& count);
void CalcLinearRamp(const RampParameters& p, RampTable& table, SHORT& count);
void CalcExponentialRamp(RampParameters& p, RampTable& table, SHORT& count);

// A table the host hands over: every entry to full speed, then the elements
// as they are. False (and nothing changed) for more elements than the table
// holds.
[[nodiscard]] bool LoadRampTable(std::span<const LONG> elements, RampTable& table, SHORT& count);

} // namespace kw::machine
