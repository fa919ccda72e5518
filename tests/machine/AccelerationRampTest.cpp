// The ramp computation without a control: the figures a drive depends on,
// and what any parameters whatsoever must leave behind.
#include "machine/AccelerationRamp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

using namespace kw::machine;

namespace {

struct Ramp {
    RampTable table{};
    SHORT count{0};
    Ramp() { table.fill(kRampFullSpeed); }
    void Calc(RampParameters& p) { CalcRampTable(p, table, count); }
};

RampParameters Linear(LONG alpha, SHORT vstart = 200, LONG vmax = 5000) {
    RampParameters p;
    p.vstart = vstart;
    p.vmax = vmax;
    p.alpha = alpha;
    p.b = 0;
    return p;
}

} // namespace

TEST(AccelerationRamp, TheDefaultExponentialRamp) {
    RampParameters p; // Vstart 200, A 200, B 10000, Vmax 5000
    Ramp r;
    r.Calc(p);
    // P0 = 100 us, P1 = 102 us: the first step runs at 5000 us, q = 1310.
    EXPECT_EQ(r.table[0], 1309);
    EXPECT_EQ(r.count, 191);
    // The last counted entries stand for about 5000 Hz of B's 10000.
    EXPECT_GT(r.table[190], 32000);
    EXPECT_LE(r.table[190], 32767);
    // The uncounted last pass reached 5000 Hz: the entry behind the ramp.
    EXPECT_GE(r.table[191], 32767);
    for (int i = 1; i < r.count; ++i)
        EXPECT_GE(r.table[i], r.table[i - 1]) << "entry " << i;
    EXPECT_EQ(p.a, 200);
    EXPECT_EQ(p.vmax, 5000);
}

TEST(AccelerationRamp, TheExponentialRampChangesItsOwnParameters) {
    RampParameters p;
    p.a = 5;
    p.vmax = 0;
    Ramp r;
    r.Calc(p);
    EXPECT_EQ(p.a, 10) << "the rate is raised to its minimum";
    EXPECT_EQ(p.vmax, 10000) << "a final frequency of 0 becomes B";
    EXPECT_GT(r.count, 0);
}

TEST(AccelerationRamp, ExponentialDegenerateParameters) {
    Ramp r;
    RampParameters p;
    r.Calc(p);
    const RampTable before = r.table;
    const SHORT count = r.count;
    p.b = 0;
    r.Calc(p);
    EXPECT_EQ(r.count, count) << "B 0 leaves the ramp as it was";
    EXPECT_EQ(r.table, before);
    p.b = 10000;
    p.a = 0;
    r.Calc(p);
    EXPECT_EQ(r.count, 0) << "A 0 empties the ramp";
    EXPECT_EQ(p.a, 0);
}

TEST(AccelerationRamp, AnUnreachableFinalFrequencyFillsTheTable) {
    RampParameters p;
    p.vmax = 30000; // above Vstart + L
    Ramp r;
    r.table.fill(-7);
    r.Calc(p);
    EXPECT_EQ(r.count, 4095) << "the size limit ends the loop";
    EXPECT_NE(r.table[4095], -7) << "the last pass wrote the last entry";
}

TEST(AccelerationRamp, TheExponentialRampKeepsEntriesPastWhatItWrites) {
    Ramp r;
    r.table.fill(4711);
    RampParameters p;
    r.Calc(p);
    EXPECT_EQ(r.table[192], 4711);
    EXPECT_EQ(r.table[4095], 4711);
}

TEST(AccelerationRamp, LinearRampCutAtTheTableSize) {
    RampParameters p = Linear(1000);
    Ramp r;
    r.Calc(p);
    // n = 12500 > 4096: 4096 steps sampled with a = 25000000 / 8192; steps 1
    // to 6 run below 200 Hz and are left out.
    EXPECT_EQ(r.count, 4092);
    EXPECT_EQ(r.table[0], 2621);
    EXPECT_EQ(r.table[1], 2621);
    EXPECT_EQ(r.table[2], 2709) << "step 7 at 206.7 Hz";
    EXPECT_EQ(r.table[4091], kRampFullSpeed);
}

TEST(AccelerationRamp, LinearRampOfTwelveHundredFiftySteps) {
    RampParameters p = Linear(10000);
    Ramp r;
    r.table.fill(0);
    r.Calc(p);
    EXPECT_EQ(r.count, 1251);
    EXPECT_EQ(r.table[0], 2621);
    EXPECT_EQ(r.table[1], 2621);
    EXPECT_EQ(r.table[2], 2621) << "step 2 runs at exactly 200 Hz";
    EXPECT_EQ(r.table[1249], 65510);
    EXPECT_EQ(r.table[1250], kRampFullSpeed);
    EXPECT_EQ(r.table[4095], kRampFullSpeed) << "the linear ramp fills the table first";
}

TEST(AccelerationRamp, LinearDegenerateParameters) {
    Ramp r;
    RampParameters p = Linear(10000, 200, 0);
    r.Calc(p);
    EXPECT_EQ(r.count, 0) << "Vmax 0: an empty ramp";
    p = Linear(-10000);
    r.Calc(p);
    EXPECT_EQ(r.count, 1) << "a negative acceleration: one entry";
    EXPECT_EQ(r.table[0], kRampFullSpeed);
    p = Linear(-1, 200, INT_MAX); // n far below what a LONG holds
    r.Calc(p);
    EXPECT_EQ(r.count, 1);
}

// Every sampled step qualifies when the start frequency is tiny: with the
// start entry written twice that is one entry more than the table holds.
TEST(AccelerationRamp, ALinearRampNeverPassesTheTable) {
    struct Guarded {
        RampTable table;
        LONG after[16];
    } g{};
    std::fill(std::begin(g.after), std::end(g.after), -1);
    for (SHORT vstart : {SHORT(0), SHORT(1)}) {
        g.table.fill(0);
        SHORT count = 0;
        RampParameters p = Linear(1, vstart);
        CalcRampTable(p, g.table, count);
        EXPECT_EQ(count, kRampTableSize) << "Vstart " << vstart;
        EXPECT_EQ(g.table[4095], kRampFullSpeed) << "the ramp still ends at full speed";
        EXPECT_LT(g.table[4094], kRampFullSpeed);
        EXPECT_GT(g.table[4094], 65500);
        for (LONG v : g.after)
            EXPECT_EQ(v, -1);
    }
}

TEST(AccelerationRamp, AStartAboveTheFinalFrequencyIsCappedAtFullSpeed) {
    RampParameters p = Linear(10000, 6000, 5000);
    Ramp r;
    r.Calc(p);
    ASSERT_GT(r.count, 0);
    // 6000 * 65536 / 5000 = 78643 would read back as 13107.
    EXPECT_EQ(r.table[0], kRampFullSpeed);
    for (int i = 0; i < r.count; ++i)
        EXPECT_LE(r.table[i], kRampFullSpeed) << "entry " << i;
}

TEST(AccelerationRamp, ALowBStillGivesARampWithinTheScale) {
    for (SHORT b : {SHORT(1), SHORT(15), SHORT(30), SHORT(31)}) {
        RampParameters p;
        p.b = b;
        p.vstart = 0;
        p.vmax = b;
        Ramp r;
        r.Calc(p);
        EXPECT_GT(r.count, 0) << "B " << b;
        for (int i = 0; i < r.count; ++i) {
            EXPECT_GE(r.table[i], 1) << "B " << b << " entry " << i;
            EXPECT_LE(r.table[i], kRampFullSpeed) << "B " << b << " entry " << i;
        }
    }
}

TEST(AccelerationRamp, AnyParametersGiveABoundedDeterministicRamp) {
    const std::vector<LONG> shorts = {SHRT_MIN, -10000, -31, -1,  0,    1,     2,       5,
                                      10,       30,     31,  200, 5000, 10000, SHRT_MAX};
    const std::vector<LONG> longs = {INT_MIN, -40000, -1,    0,       1,      2,
                                     10,      5000,   40000, 1000000, INT_MAX};
    auto check = [](RampParameters p) {
        Ramp first, second;
        RampParameters q = p;
        first.Calc(p);
        second.Calc(q);
        ASSERT_GE(first.count, 0);
        ASSERT_LE(first.count, kRampTableSize);
        for (int i = 0; i < first.count; ++i) {
            ASSERT_GE(first.table[i], 1) << "entry " << i;
            ASSERT_LE(first.table[i], kRampFullSpeed) << "entry " << i;
        }
        ASSERT_EQ(first.count, second.count);
        ASSERT_EQ(first.table, second.table);
    };
    for (LONG vstart : shorts)
        for (LONG b : shorts)
            for (LONG vmax : longs) {
                RampParameters p{SHORT(vstart), 200, SHORT(b), vmax, 0};
                ASSERT_NO_FATAL_FAILURE(check(p))
                    << "Vstart " << vstart << " B " << b << " Vmax " << vmax;
            }
    for (LONG a : shorts)
        for (LONG b : shorts) {
            RampParameters p{200, SHORT(a), SHORT(b), 5000, 0};
            ASSERT_NO_FATAL_FAILURE(check(p)) << "A " << a << " B " << b;
        }
    for (LONG vstart : shorts)
        for (LONG vmax : longs)
            for (LONG alpha : longs) {
                RampParameters p{SHORT(vstart), 200, 0, vmax, alpha};
                ASSERT_NO_FATAL_FAILURE(check(p))
                    << "Vstart " << vstart << " Vmax " << vmax << " Alpha " << alpha;
            }
}

TEST(AccelerationRamp, RoundingIsHalfAwayFromZeroAtSinglePrecision) {
    EXPECT_EQ(RoundSingle(2621.44), 2621);
    EXPECT_EQ(RoundSingle(2.5), 3);
    EXPECT_EQ(RoundSingle(-2.5), -3);
    EXPECT_EQ(RoundSingle(-0.4), 0);
    // 16777217 has no single-precision form: it is 16777216 there.
    EXPECT_EQ(RoundSingle(16777217.0), 16777216);
    EXPECT_EQ(RoundSingle(1e30), INT_MAX);
}

TEST(AccelerationRamp, AHostTableOfUpToFourThousandNinetySixEntries) {
    Ramp r;
    std::vector<LONG> elements(4096, 70000);
    EXPECT_TRUE(LoadRampTable(elements, r.table, r.count));
    EXPECT_EQ(r.count, 4096);
    EXPECT_EQ(r.table[4095], 70000) << "stored as given";
    elements.assign(3, -5);
    EXPECT_TRUE(LoadRampTable(elements, r.table, r.count));
    EXPECT_EQ(r.count, 3);
    EXPECT_EQ(r.table[2], -5);
    EXPECT_EQ(r.table[3], kRampFullSpeed);
    elements.assign(4097, 1);
    EXPECT_FALSE(LoadRampTable(elements, r.table, r.count));
    EXPECT_EQ(r.count, 3);
    EXPECT_EQ(r.table[0], -5);
}

namespace {

// The linear ramp step by step, as its definition reads: the slow reference
// the computation is checked against.
void ReferenceLinear(const RampParameters& p, RampTable& table, SHORT& count) {
    table.fill(kRampFullSpeed);
    const double vmax = p.vmax, vstart = p.vstart;
    const double n = vmax * vmax / (2.0 * double(p.alpha));
    LONG steps = n <= 4096.0 ? RoundSingle(n) : 4096;
    if (steps <= 0) {
        count = steps == 0 ? 0 : 1;
        return;
    }
    const double a = vmax * vmax / (2.0 * double(steps));
    int k = 0;
    for (LONG i = 0; i < steps; ++i) {
        const double v = i == 0 ? vstart : std::sqrt(2.0 * a * double(i));
        if (v < vstart)
            continue;
        double r = v * 65536.0 / vmax;
        if (r < 1.0)
            continue;
        if (r > 65535.0)
            r = 65535.0;
        if (k == 0) {
            table[0] = RoundSingle(std::min(std::max(vstart * 65536.0 / vmax, 1.0), 65535.0));
            k = 1;
        }
        if (k >= 4095)
            break;
        table[std::size_t(k++)] = RoundSingle(r);
    }
    count = SHORT(k + 1);
}

} // namespace

TEST(AccelerationRamp, TheLinearRampMatchesItsDefinitionEntryForEntry) {
    for (LONG vmax : {1, 7, 100, 3333, 5000, 20000, 65535, 1000000, 40000000})
        for (SHORT vstart : {SHORT(0), SHORT(1), SHORT(50), SHORT(200), SHORT(4999), SHORT(32767)})
            for (LONG alpha : {1, 3, 999, 1000, 10000, 123457, 50000000}) {
                const RampParameters p = Linear(alpha, vstart, vmax);
                RampTable want{}, got{};
                SHORT wantCount = 0, gotCount = 0;
                ReferenceLinear(p, want, wantCount);
                CalcLinearRamp(p, got, gotCount);
                ASSERT_EQ(gotCount, wantCount)
                    << "Vmax " << vmax << " Vstart " << vstart << " Alpha " << alpha;
                ASSERT_EQ(got, want)
                    << "Vmax " << vmax << " Vstart " << vstart << " Alpha " << alpha;
            }
}
