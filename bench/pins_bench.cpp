// Reading and checking a component of many pins: every pin mapped, a
// differential partner for most signal pins, series rows, and a few
// duplicate pins.  The time should grow with the number of pins, not with
// its square.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "bench_support.h"

namespace {

std::string ComponentText(int nPins) {
    std::string strText =
        "[IBIS Ver] 3.2\n[File Name] pins_bench.ibs\n[File Rev] 1.0\n"
        "[Component] BIG\n[Manufacturer] M\n[Package]\n"
        "R_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
        "[Pin] signal_name model_name R_pin L_pin C_pin\n";
    auto model = [](int i) { return i % 10 == 0 ? "POWER" : i % 10 == 1 ? "GND" : "IO"; };
    for (int i = 1; i <= nPins; ++i)
        strText += std::to_string(i) + " S" + std::to_string(i) + " " + model(i) + " 1m 1n 1p\n";
    for (int i = 1; i <= nPins / 100; ++i) strText += std::to_string(i) + " DUP IO\n";
    strText += "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref\n";
    for (int i = 1; i <= nPins; ++i) {
        const char* pszRefs = i % 10 == 0   ? " NC VDD NC NC\n"
                              : i % 10 == 1 ? " VSS NC NC NC\n"
                                            : " VSS VDD VSS VDD\n";
        strText += std::to_string(i) + pszRefs;
    }
    strText += "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n";
    for (int i = 2; i + 1 <= nPins; i += 10)
        for (int k = 0; k < 8; k += 2)
            strText += std::to_string(i + k) + " " + std::to_string(i + k + 1) + " 0.1 1n 0.5n 2n\n";
    strText += "[Series Pin Mapping] pin_2 model_name\n";
    for (int i = 2; i + 1 <= nPins; i += 10) strText += std::to_string(i) + " " + std::to_string(i + 1) + " RS\n";
    return strText + "[End]\n";
}

void BM_CheckManyPins(benchmark::State& state) {
    ReadGeneratedEachIteration(state, "pins_bench.ibs", ComponentText(static_cast<int>(state.range(0))));
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_CheckManyPins)->Arg(1000)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
