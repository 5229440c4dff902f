// The cost of the plausibility checks: a whole read of a large regular
// component file (many driver models, each with four 100-point I-V tables,
// a ramp, a timing load and a 100-point rising and falling waveform), with
// the checks on and with both check groups switched off.  The file is
// electrically consistent, so the checks compute everything and report
// nothing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "bench_support.h"
#include "model/chk.h"
#include "core/diag.h"

namespace {

const double g_adSupply[3] = {3.3, 3.0, 3.6};  // typical, minimum, maximum
const double g_adOhms[3] = {20.0, 25.0, 16.0};

std::string Row(double dX, const double adValue[3]) {
    char sz[128];
    snprintf(sz, sizeof sz, "%.6g %.6g %.6g %.6g\n", dX, adValue[0], adValue[1], adValue[2]);
    return sz;
}

// 100 rows from -Vcc to 2 Vcc of a driver table (sign +1 pull-down, -1
// pull-up) or a clamp (a diode conducting 0.6 V beyond its rail).
std::string Table(const char* pszKeyword, int nKind) {
    std::string str = std::string(pszKeyword) + "\n";
    for (int i = 0; i < 100; ++i) {
        const double dV = -3.3 + 9.9 * i / 99.0;
        double adI[3];
        for (int c = 0; c < 3; ++c) {
            if (nKind == 0) adI[c] = dV / g_adOhms[c];
            if (nKind == 1) adI[c] = -dV / g_adOhms[c];
            if (nKind == 2) adI[c] = dV < -0.6 ? (dV + 0.6) / 2.0 : 0.0;
            if (nKind == 3) adI[c] = dV < -0.6 ? -(dV + 0.6) / 2.0 : 0.0;
        }
        str += Row(dV, adI);
    }
    return str;
}

// A waveform settling from the start to the end voltages of each corner.
std::string Waveform(const char* pszKeyword, double dVfixture, const double adStart[3],
                     const double adEnd[3]) {
    char sz[160];
    snprintf(sz, sizeof sz, "%s\nR_fixture = 50\nV_fixture = %.6g\n", pszKeyword, dVfixture);
    std::string str = sz;
    for (int i = 0; i < 100; ++i) {
        const double dSettled = 1.0 - std::exp(-i / 5.0);
        double adV[3];
        for (int c = 0; c < 3; ++c)
            adV[c] = i == 99 ? adEnd[c] : adStart[c] + (adEnd[c] - adStart[c]) * dSettled;
        str += Row(i * 1e-11, adV);
    }
    return str;
}

std::string Model(int n) {
    double adZero[3] = {0, 0, 0}, adHigh[3], adSupplyHigh[3], adLow[3];
    for (int c = 0; c < 3; ++c) {
        adHigh[c] = g_adSupply[c] * 50.0 / (50.0 + g_adOhms[c]);
        adSupplyHigh[c] = 3.3 - (3.3 - g_adSupply[c]) * 50.0 / (50.0 + g_adOhms[c]);
        adLow[c] = 3.3 * g_adOhms[c] / (50.0 + g_adOhms[c]);
    }
    return "[Model] DRV" + std::to_string(n) + "\n"
           "Model_type I/O\nVinl = 0.8\nVinh = 2.0\nC_comp 2p 1.5p 2.5p\n"
           "Vmeas = 1.5\nCref = 0\nRref = 50\nVref = 0\n"
           "[Voltage Range] 3.3 3.0 3.6\n" +
           Table("[Pulldown]", 0) + Table("[Pullup]", 1) + Table("[GND Clamp]", 2) +
           Table("[POWER Clamp]", 3) +
           "[Ramp]\ndV/dt_r 1.6/0.5n 1.4/0.6n 1.9/0.4n\ndV/dt_f 1.6/0.5n 1.4/0.6n 1.9/0.4n\n" +
           Waveform("[Rising Waveform]", 0.0, adZero, adHigh) +
           Waveform("[Falling Waveform]", 3.3, adSupplyHigh, adLow);
}

std::string ComponentText(int nModels) {
    std::string str =
        "[IBIS Ver] 3.2\n[File Name] chk_bench.ibs\n[File Rev] 1.0\n"
        "[Component] BIG\n[Manufacturer] M\n[Package]\n"
        "R_pkg 0.2 0.1 0.3\nL_pkg 5n 4n 6n\nC_pkg 1p 0.8p 1.2p\n"
        "[Pin] signal_name model_name R_pin L_pin C_pin\n";
    for (int i = 1; i <= nModels; ++i)
        str += std::to_string(i) + " S" + std::to_string(i) + " DRV" + std::to_string(i) +
               " 0.2 5n 1p\n";
    str += std::to_string(nModels + 1) + " VCC POWER\n" + std::to_string(nModels + 2) + " GND GND\n";
    for (int i = 1; i <= nModels; ++i) str += Model(i);
    return str + "[End]\n";
}

void ReadGenerated(benchmark::State& state, bool bChecks) {
    CHK_SetRangeChecks(bChecks);
    CHK_SetCurveChecks(bChecks);
    ReadGeneratedEachIteration(state, "chk_bench.ibs", ComponentText(static_cast<int>(state.range(0))));
    // The last read's findings: none are expected.
    int nErrors = 0, nWarnings = 0;
    DIAG_GetCounts(&nErrors, &nWarnings, nullptr);
    state.counters["errors"] = nErrors;
    state.counters["warnings"] = nWarnings;
    CHK_SetRangeChecks(1);
    CHK_SetCurveChecks(1);
}

void BM_ReadModelsWithChecks(benchmark::State& state) { ReadGenerated(state, true); }
void BM_ReadModelsWithoutChecks(benchmark::State& state) { ReadGenerated(state, false); }

BENCHMARK(BM_ReadModelsWithChecks)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadModelsWithoutChecks)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace
