// Files of many small [Model] blocks and of many small [Component] blocks:
// the duplicate-name checks must keep the time growing with the number of
// blocks, not with its square.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "bench_support.h"

namespace {

const char kHeader[] = "[IBIS Ver] 3.2\n[File Name] names_bench.ibs\n[File Rev] 1.0\n";

std::string ModelsText(int nModels) {
    std::string strText = std::string(kHeader) +
                          "[Component] C\n[Manufacturer] M\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\n"
                          "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 S1 M0\n";
    for (int i = 0; i < nModels; ++i)
        strText += "[Model] M" + std::to_string(i) + "\nModel_type Input\nC_comp 1p NA NA\n"
                   "Vinl = 0.8\nVinh = 2.0\n[Voltage Range] 3.3 NA NA\n";
    return strText + "[End]\n";
}

std::string ComponentsText(int nComponents) {
    std::string strText = kHeader;
    for (int i = 0; i < nComponents; ++i)
        strText += "[Component] C" + std::to_string(i) +
                   "\n[Manufacturer] M\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
                   "[Pin] signal_name model_name\n1 S1 POWER\n";
    return strText + "[End]\n";
}

void ReadGenerated(benchmark::State& state, const std::string& strText) {
    ReadGeneratedEachIteration(state, "names_bench.ibs", strText);
    state.SetComplexityN(state.range(0));
}

void BM_ManyModels(benchmark::State& state) { ReadGenerated(state, ModelsText(static_cast<int>(state.range(0)))); }

void BM_ManyComponents(benchmark::State& state) {
    ReadGenerated(state, ComponentsText(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_ManyModels)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ManyComponents)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
