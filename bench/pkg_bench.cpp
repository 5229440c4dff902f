// Package-model files read through the reader entry, without a log: the
// largest real IBIS 3.2 package file, and generated matrices whose reading
// time must follow the number of values in the file, not the square of the
// pin count.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "bench_support.h"

namespace {

// 339 683 bytes, 1263 pins, three matrices of 3789 rows in all.
void BM_ReadLargestPackage32(benchmark::State& state) {
    const std::string strPath = std::string(TAVELIN_CORPUS) + "/ff1760_5vlx330.pkg";
    ReadEachIteration(state, strPath);
    std::ifstream in(strPath, std::ios::binary | std::ios::ate);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(in.tellg()));
}

enum eForm { FORM_BANDED, FORM_FULL, FORM_SPARSE };

// A package model of N pins whose inductance and capacitance matrices are
// written in the given form (banded with bandwidth 8, full, or sparse with
// the diagonal and the next pin); returns the number of values written.
int64_t WriteModel(const std::string& strPath, int64_t nPins, eForm eMatrixForm) {
    std::ofstream out(strPath, std::ios::trunc);
    out << "[IBIS Ver] 3.2\n[File Name] tavelin-bench-pkg.pkg\n[File Rev] 1\n"
           "[Define Package Model] GEN\n[Manufacturer] M\n[OEM] O\n[Description] D\n"
           "[Number Of Pins] " << nPins << "\n[Pin Numbers]\n";
    for (int64_t i = 0; i < nPins; ++i) out << "P" << i << "\n";
    out << "[Model Data]\n";
    int64_t nValues = 0;
    for (const char* pszMatrix : {"Inductance", "Capacitance"}) {
        const char* pszForm = eMatrixForm == FORM_BANDED ? "Banded_matrix"
                              : eMatrixForm == FORM_FULL ? "Full_matrix" : "Sparse_matrix";
        out << "[" << pszMatrix << " Matrix] " << pszForm << "\n";
        if (eMatrixForm == FORM_BANDED) out << "[Bandwidth] 8\n";
        for (int64_t r = 0; r < nPins; ++r) {
            out << "[Row] P" << r << "\n";
            if (eMatrixForm == FORM_SPARSE) {
                out << "P" << r << " 1n\n";
                ++nValues;
                if (r + 1 < nPins) out << "P" << r + 1 << " 0.1n\n", ++nValues;
                continue;
            }
            const int64_t nColumns = eMatrixForm == FORM_FULL ? nPins - r : std::min<int64_t>(9, nPins - r);
            for (int64_t c = 0; c < nColumns; ++c) out << (c == 0 ? "1n" : "0.1n") << ((c + 1) % 8 ? " " : "\n");
            out << "\n";
            nValues += nColumns;
        }
    }
    out << "[End Model Data]\n[End Package Model]\n[End]\n";
    return nValues;
}

void ReadGenerated(benchmark::State& state, eForm eMatrixForm) {
    const std::string strPath = "/tmp/tavelin-bench-pkg.pkg";
    const int64_t nValues = WriteModel(strPath, state.range(0), eMatrixForm);
    ReadEachIteration(state, strPath);
    state.SetComplexityN(nValues);
    state.counters["values"] = static_cast<double>(nValues);
    std::remove(strPath.c_str());
}

void BM_BandedMatrix(benchmark::State& state) { ReadGenerated(state, FORM_BANDED); }
void BM_FullMatrix(benchmark::State& state) { ReadGenerated(state, FORM_FULL); }
void BM_SparseMatrix(benchmark::State& state) { ReadGenerated(state, FORM_SPARSE); }

}  // namespace

BENCHMARK(BM_ReadLargestPackage32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BandedMatrix)->RangeMultiplier(4)->Range(440, 28160)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullMatrix)->DenseRange(440, 1760, 440)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SparseMatrix)->RangeMultiplier(4)->Range(440, 28160)->Complexity()->Unit(benchmark::kMillisecond);
