// Sets the acceleration control's seven properties through its dispatch
// rows, in any order and to any value of each property's width, and traps
// as soon as the ramp breaks what a drive relies on: at most 4096 entries,
// every counted entry within 1..65535, B and Alpha never both non-zero after
// one of them was set, the same parameters always giving the same table.
//
// Input: records of five bytes, a property selector and a 32-bit value
// (little-endian), cut to the property's width. Eight of them reach every
// state a host can set up; more would only slow the search down.
#include "machine/AccelerationCtrl.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

struct Property {
    const char* name;
    bool wide; // 32-bit; otherwise 16-bit
};
constexpr Property kProperties[] = {{"Vstart", false}, {"A", false},    {"B", false},
                                    {"Vmax", true},    {"Alpha", true}, {"Mode", true},
                                    {"CurRamp", true}};

CAccelerationCtrl& Control() {
    // One for the process, without a window: the properties need none.
    static CAccelerationCtrl* control = new CAccelerationCtrl();
    return *control;
}

void CheckRamp(const CAccelerationCtrl& c) {
    Check(c.m_rampCount >= 0 && c.m_rampCount <= kw::machine::kRampTableSize);
    for (int i = 0; i < c.m_rampCount; ++i)
        Check(c.m_rampTable[std::size_t(i)] >= 1 &&
              c.m_rampTable[std::size_t(i)] <= kw::machine::kRampFullSpeed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CAccelerationCtrl& c = Control();
    // A fresh control's state.
    c.m_Vstart = 200;
    c.m_A = 200;
    c.m_B = 10000;
    c.m_Vmax = 5000;
    c.m_Alpha = 0;
    c.m_Mode = 0;
    c.m_curramp = 0;
    c.m_rampTable.fill(kw::machine::kRampFullSpeed);
    c.m_rampCount = 0;
    const DispTable& table = AccelerationDispatchTable();
    void* object = static_cast<COleControl*>(&c);

    constexpr std::size_t kRecords = 8;
    size = std::min(size, 5 * kRecords);
    for (std::size_t at = 0; at + 5 <= size; at += 5) {
        const Property& p = kProperties[data[at] % std::size(kProperties)];
        std::int32_t value;
        std::memcpy(&value, data + at + 1, sizeof(value));
        const DispEntry* row = table.FindByName(p.name);
        Check(row != nullptr);
        const CComVariant v = p.wide ? CComVariant::I4(value) : CComVariant::I2(SHORT(value));
        Check(SUCCEEDED(row->put(object, *row, v)));
        CheckRamp(c);
        const bool drawing =
            std::strcmp(p.name, "Mode") == 0 || std::strcmp(p.name, "CurRamp") == 0;
        const bool selects = std::strcmp(p.name, "B") == 0 || std::strcmp(p.name, "Alpha") == 0;
        const bool nonZero = p.wide ? value != 0 : SHORT(value) != 0;
        if (selects && nonZero)
            Check(c.m_B == 0 || c.m_Alpha == 0);
        // A set that recomputed: the computation again from the parameters
        // as they are now gives the same table. (A set that did not leaves
        // the table of parameters that may have changed since.)
        if (!drawing && (!selects || nonZero)) {
            kw::machine::RampParameters params{c.m_Vstart, c.m_A, c.m_B, c.m_Vmax, c.m_Alpha};
            kw::machine::RampTable again = c.m_rampTable;
            SHORT count = c.m_rampCount;
            kw::machine::CalcRampTable(params, again, count);
            Check(count == c.m_rampCount);
            Check(again == c.m_rampTable);
        }
    }
    return 0;
}
