// Whole-file reads through the reader entry, without a log: the line
// reader, keyword recognition and every module a file reaches.
#include <benchmark/benchmark.h>

#include <string>

#include "api/rdibis.h"
#include "reader/ibis.h"

namespace {

void ReadFile(benchmark::State& state, const std::string& strPath) {
    for (auto _ : state) {
        IBIS* pIbis = nullptr;
        int nResult = RDIBIS_Read(strPath.c_str(), nullptr, &pIbis);
        if (pIbis != nullptr) IBIS_Destroy(pIbis);
        benchmark::DoNotOptimize(nResult);
    }
}

void BM_ReadExample(benchmark::State& state) {
    ReadFile(state, std::string(TAVELIN_EXAMPLES) + "/tvl8244.ibs");
}

// A package-model file of 3564 matrix rows with CR-LF line ends.
void BM_ReadLargePackageFile(benchmark::State& state) {
    ReadFile(state, std::string(TAVELIN_CORPUS) + "/ff1738_5vlx330t_ibis.pkg");
}

// A component file of many models and tables.
void BM_ReadLargeComponentFile(benchmark::State& state) {
    ReadFile(state, std::string(TAVELIN_CORPUS) + "/inb868_v2p0.ibs");
}

}  // namespace

BENCHMARK(BM_ReadExample);
BENCHMARK(BM_ReadLargePackageFile);
BENCHMARK(BM_ReadLargeComponentFile);
