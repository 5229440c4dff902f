// Whole-file reads through the reader entry, without a log: the line
// reader, keyword recognition and every module a file reaches.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "bench_support.h"

namespace {

void BM_ReadExample(benchmark::State& state) {
    ReadEachIteration(state, std::string(TAVELIN_EXAMPLES) + "/tvl8244.ibs");
}

// A package-model file of 3564 matrix rows with CR-LF line ends.
void BM_ReadLargePackageFile(benchmark::State& state) {
    ReadEachIteration(state, std::string(TAVELIN_CORPUS) + "/ff1738_5vlx330t_ibis.pkg");
}

// A component file of many models and tables.
void BM_ReadLargeComponentFile(benchmark::State& state) {
    ReadEachIteration(state, std::string(TAVELIN_CORPUS) + "/inb868_v2p0.ibs");
}

// A model whose [GND Clamp] holds N rows: reading a table is linear in its
// rows, whatever their number.
void BM_ReadLongTable(benchmark::State& state) {
    const std::string strPath = "/tmp/tavelin-bench-long-table.ibs";
    {
        std::ofstream out(strPath, std::ios::trunc);
        out << "[IBIS Ver] 3.2\n[File Name] tavelin-bench-long-table.ibs\n[File Rev] 1\n"
               "[Component] C\n[Manufacturer] M\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\n"
               "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 A M1\n[Model] M1\n"
               "Model_type Input\nC_comp 1p NA NA\nVinl = 0.8\nVinh = 2.0\n"
               "[Voltage Range] 3.3 NA NA\n[GND Clamp]\n";
        for (int64_t i = 0; i < state.range(0); ++i) out << i << " " << i << "m NA NA\n";
        out << "[End]\n";
    }
    ReadEachIteration(state, strPath);
    state.SetComplexityN(state.range(0));
    std::remove(strPath.c_str());
}

}  // namespace

BENCHMARK(BM_ReadLongTable)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();
BENCHMARK(BM_ReadExample);
BENCHMARK(BM_ReadLargePackageFile);
BENCHMARK(BM_ReadLargeComponentFile);
