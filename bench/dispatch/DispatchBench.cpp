// Late-bound property read through IDispatch::Invoke against a direct call
// of the same accessor, in one run. Prints both and their ratio.
#include "bench/support/BenchTimes.h"
#include "platform/com/DispatchAdapters.h"
#include "platform/com/DispatchObject.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr IID IID_DProbe = MakeGuid(0x22222222, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);

class CProbe final : public CDispatchObject {
public:
    CProbe();
    // Not inlined, so the direct call costs what a call through a pointer
    // to the object costs a host.
    [[gnu::noinline]] LONG GetValue() { return m_value; }
    void SetValue(LONG v) { m_value = v; }

private:
    LONG m_value = 42;
};

const DispEntry kRows[] = {
    DispGetSet<&CProbe::GetValue, &CProbe::SetValue>("Value", 1, VT_I4),
};
const DispTable kTable{kRows};

CProbe::CProbe() : CDispatchObject({nullptr, &kTable, IID_DProbe, GUID_NULL, nullptr}, this) {}

void DirectGet(benchmark::State& state) {
    auto probe = ComPtr<CProbe>::Attach(new CProbe);
    for (auto _ : state)
        benchmark::DoNotOptimize(probe->GetValue());
}
BENCHMARK(DirectGet);

void InvokeGet(benchmark::State& state) {
    auto probe = ComPtr<CProbe>::Attach(new CProbe);
    IDispatch* dispatch = probe.Get();
    DISPPARAMS none{};
    for (auto _ : state) {
        VARIANT result;
        result.vt = VT_EMPTY;
        dispatch->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
        benchmark::DoNotOptimize(result.lVal);
    }
}
BENCHMARK(InvokeGet);

} // namespace

int main(int argc, char** argv) {
    const kw::bench::BenchTimes ns = kw::bench::RunBenchmarks(argc, argv);
    double direct = kw::bench::TimeOf(ns, "DirectGet");
    double invoke = kw::bench::TimeOf(ns, "InvokeGet");
    if (direct > 0 && invoke > 0)
        std::printf("Invoke property get: %.1f ns, direct call %.2f ns, ratio %.1f "
                    "(goal: under 150 ns per Invoke)\n",
                    invoke, direct, invoke / direct);
    return 0;
}
