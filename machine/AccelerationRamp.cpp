#include "machine/AccelerationRamp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kw::machine {

namespace {

constexpr double kEntryScale = 65536.0;
constexpr LONG kMicroseconds = 1000000; // per second
constexpr LONG kFirstDivisor = 255;     // of the divider grid
constexpr LONG kGridFactor = 256;
constexpr SHORT kMinimumRate = 10;            // percent
constexpr double kRatePerMicrosecond = 5e-8;  // per percent
constexpr std::int64_t kSmallestQuotient = 2; // entry 1: the slowest step
constexpr std::int64_t kLargestQuotient = 65536;

// The step period in whole microseconds at frequency f. A frequency of 0 or
// below stands still: its period is the longest there is, and so is that of
// a frequency too low for the period to fit.
LONG PeriodAt(double f) {
    constexpr LONG kLongest = std::numeric_limits<LONG>::max();
    if (!(f > 0.0))
        return kLongest;
    const double period = double(kMicroseconds) / f;
    return period < double(kLongest) ? LONG(period) : kLongest;
}

} // namespace

LONG RoundSingle(double x) {
    if (std::isnan(x))
        return 0;
    const double single = static_cast<float>(x);
    const double shifted = single >= 0.0 ? single + 0.5 : single - 0.5;
    return LONG(std::clamp(shifted, double(std::numeric_limits<LONG>::min()),
                           double(std::numeric_limits<LONG>::max())));
}

void CalcRampTable(RampParameters& p, RampTable& table, SHORT& count) {
    if (p.alpha != 0)
        CalcLinearRamp(p, table, count);
    else
        CalcExponentialRamp(p, table, count);
}

// Speed grows with the square root of the step number (v^2 = 2 a s); the
// entries are fractions of the final frequency.
void CalcLinearRamp(const RampParameters& p, RampTable& table, SHORT& count) {
    table.fill(kRampFullSpeed);
    if (p.alpha == 0 || p.vmax == 0) {
        count = 0;
        return;
    }
    const double vmax = p.vmax;
    const double vstart = p.vstart;
    const double n = vmax * vmax / (2.0 * double(p.alpha));
    // A negative acceleration gives a negative n, whose size may pass what
    // a LONG holds: only its sign matters.
    LONG steps = kRampTableSize;
    if (n <= double(kRampTableSize))
        steps = n < -1.0 ? -1 : RoundSingle(n);
    if (steps == 0) {
        count = 0;
        return;
    }
    if (steps < 0) {
        count = 1;
        return;
    }
    const double accel = vmax * vmax / (2.0 * double(steps));
    const double twoAccel = 2.0 * accel;
    // Step i runs at v = sqrt(2 a i), step 0 at the start frequency; a step
    // below the start frequency or below one unit of the scale is left out.
    auto fraction = [&](LONG i) { return std::sqrt(twoAccel * double(i)) * kEntryScale / vmax; };
    int k = 0;
    auto open = [&] {
        // The start frequency opens the ramp, capped at full speed: a start
        // above the final frequency must not read back as a slower 16-bit
        // entry.
        table[0] =
            RoundSingle(std::clamp(vstart * kEntryScale / vmax, 1.0, double(kRampFullSpeed)));
        k = 1;
    };
    if (const double r = vstart * kEntryScale / vmax; r >= 1.0) {
        open();
        table[std::size_t(k++)] = RoundSingle(std::min(r, double(kRampFullSpeed)));
    }
    // The speed grows with the step, so the steps left out are the first
    // ones: find the first that counts, then every later one does.
    LONG from = 1;
    while (from < steps && (std::sqrt(twoAccel * double(from)) < vstart || fraction(from) < 1.0))
        ++from;
    if (from < steps) {
        if (k == 0)
            open();
        // The start entry is written twice, so every sampled step together
        // could need one entry more than the table has. The last slot keeps
        // its full-speed entry, which ends every linear ramp; the fastest
        // samples before it are the ones left out.
        const LONG room = kRampTableSize - 1 - k;
        const LONG to = std::min(steps, from + room);
        LONG* out = table.data() + k;
        LONG i = from;
#if defined(__SSE2__)
        // Two steps at a time: the same correctly rounded operations in the
        // same order, so the same entries, at twice the speed of the square
        // roots and divisions this loop waits for.
        const __m128d twoAccels = _mm_set1_pd(twoAccel);
        const __m128d scale = _mm_set1_pd(kEntryScale);
        const __m128d finals = _mm_set1_pd(vmax);
        const __m128d full = _mm_set1_pd(double(kRampFullSpeed));
        const __m128d half = _mm_set1_pd(0.5);
        for (; i + 1 < to; i += 2, out += 2) {
            const __m128d steps2 = _mm_set_pd(double(i + 1), double(i));
            __m128d r = _mm_sqrt_pd(_mm_mul_pd(twoAccels, steps2));
            r = _mm_min_pd(_mm_div_pd(_mm_mul_pd(r, scale), finals), full);
            const __m128d single = _mm_cvtps_pd(_mm_cvtpd_ps(r));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out),
                             _mm_cvttpd_epi32(_mm_add_pd(single, half)));
        }
#endif
        for (; i < to; ++i) {
            // A fraction within 1..65535, rounded at single precision.
            const double r = std::min(fraction(i), double(kRampFullSpeed));
            *out++ = LONG(double(static_cast<float>(r)) + 0.5);
        }
        k += int(std::max(to - from, LONG(0)));
    }
    count = SHORT(k + 1);
}

// f(t) = Vstart + L (1 - exp(-t A 5e-8)), t in microseconds, sampled one
// step at a time on the drive's divider grid; the entries are fractions of B.
void CalcExponentialRamp(RampParameters& p, RampTable& table, SHORT& count) {
    if (p.vmax == 0)
        p.vmax = p.b;
    if (p.a == 0) {
        count = 0;
        return;
    }
    if (p.b == 0)
        return;
    const LONG b = p.b;
    const LONG vstart = p.vstart;
    const LONG p0 = kMicroseconds / b;
    // Below 31 Hz the shortest period times 65536 passes 32 bits.
    const std::int64_t p0Scaled = std::int64_t(p0) * 65536;

    LONG divisor = kFirstDivisor;
    LONG grid = p0 * kGridFactor / divisor;
    while (grid == p0 && divisor > 1) {
        --divisor;
        grid = p0 * kGridFactor / divisor;
    }
    const LONG p1 = grid + 1;

    double rise = double(b - vstart / 2);
    if (p1 != 0 && double(kMicroseconds) / p1 > double(b - vstart))
        rise = double(kMicroseconds) / p1;

    if (p.a < kMinimumRate)
        p.a = kMinimumRate;
    const std::int64_t rate = p.a;

    std::int64_t t = 0;
    int n = 0;
    double f = 0.0;
    do {
        f = double(vstart) + rise * (1.0 - std::exp(double(-t * rate) * kRatePerMicrosecond));
        LONG period = std::max(PeriodAt(f), p0);
        std::int64_t q = period != 0 ? p0Scaled / period : kLargestQuotient;
        q = std::clamp(q, kSmallestQuotient, kLargestQuotient);
        if (n >= kRampTableSize)
            break;
        table[std::size_t(n++)] = LONG(q - 1);
        t += p0Scaled / q;
    } while (f < double(p.vmax));
    // The pass that reached the final frequency is not part of the ramp.
    count = SHORT(n - 1);
}

bool LoadRampTable(std::span<const LONG> elements, RampTable& table, SHORT& count) {
    if (elements.size() > table.size())
        return false;
    table.fill(kRampFullSpeed);
    std::copy(elements.begin(), elements.end(), table.begin());
    count = SHORT(elements.size());
    return true;
}

} // namespace kw::machine
