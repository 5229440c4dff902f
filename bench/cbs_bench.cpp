// Writing the compiled model of a component of many pins (supply, series
// and differential partners for most of them) and reading it back into a
// record.  Both should grow with the number of pins, not with its square.
// Every signal pin's supply lines list every supply pin of its bus, so the
// file itself grows with signal pins times supply pins: the supply pins are
// kept to a fixed sixteen here.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

#include "api/cbs.h"
#include "api/cbsread.h"
#include "api/rdibis.h"
#include "reader/read.h"

namespace {

std::string ComponentText(int nPins) {
    std::string strText =
        "[IBIS Ver] 3.2\n[File Name] cbs_bench.ibs\n[File Rev] 1.0\n"
        "[Component] BIG\n[Manufacturer] M\n[Package]\n"
        "R_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
        "[Pin] signal_name model_name R_pin L_pin C_pin\n";
    auto model = [](int i) { return i > 16 ? "IO" : i % 2 == 0 ? "POWER" : "GND"; };
    for (int i = 1; i <= nPins; ++i)
        strText += std::to_string(i) + " S" + std::to_string(i) + " " + model(i) + " 1m 1n 1p\n";
    strText += "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref\n";
    for (int i = 1; i <= nPins; ++i) {
        const char* pszRefs = i > 16        ? " VSS VDD VSS VDD\n"
                              : i % 2 == 0 ? " NC VDD NC NC\n"
                                           : " VSS NC NC NC\n";
        strText += std::to_string(i) + pszRefs;
    }
    strText += "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n";
    for (int i = 22; i + 1 <= nPins; i += 10) strText += std::to_string(i) + " " + std::to_string(i + 1) + " 0.1 1n 0.5n 2n\n";
    strText += "[Series Pin Mapping] pin_2 model_name\n";
    for (int i = 24; i + 1 <= nPins; i += 10) strText += std::to_string(i) + " " + std::to_string(i + 1) + " RS\n";
    strText +=
        "[Model] IO\nModel_type I/O\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3.3 3 3.6\n"
        "[Pulldown]\n0 0 0 0\n1 1m 1m 1m\n[Pullup]\n0 0 0 0\n1 -1m -1m -1m\n"
        "[Ramp]\ndV/dt_r 1/1n 1/2n 1/0.5n\ndV/dt_f 1/1n 1/2n 1/0.5n\n"
        "[Model] RS\nModel_type Series\nC_comp 0 NA NA\n[Voltage Range] 3.3 NA NA\n[R Series] 10 NA NA\n";
    return strText + "[End]\n";
}

// A record that only looks at what it is given: the parse alone is timed.
struct BenchRecord {
    int SetModelParam(eIbisParam, const char* psz, int) {
        m_nTextBytes += strlen(psz);
        return 1;
    }
    int SetModelParam(eIbisParam, int n, int) { return n >= 0; }
    int SetModelParam(eIbisParam, double d, int, eTypMinMax) {
        m_dSum += d;
        return 1;
    }
    int AddPinDesc(int n) { return n >= 0; }
    void SetStatus(eIbisStatus) {}
    size_t m_nTextBytes = 0;
    double m_dSum = 0;
};

class CompiledFixture {
public:
    explicit CompiledFixture(int nPins) {
        char szDir[] = "/tmp/tavelin-bench-XXXXXX";
        if (mkdtemp(szDir) == nullptr) return;
        m_strDir = szDir;
        m_strIbs = m_strDir + "/cbs_bench.ibs";
        m_strCbs = m_strDir + "/cbs_bench.cbs";
        std::ofstream(m_strIbs) << ComponentText(nPins);
        FILE* pLog = fopen("/dev/null", "w");
        RDIBIS_Read(m_strIbs.c_str(), pLog, &m_pIbis);
        fclose(pLog);
    }
    ~CompiledFixture() {
        if (m_pIbis != nullptr) IBIS_Destroy(m_pIbis);
        unlink(m_strIbs.c_str());
        unlink(m_strCbs.c_str());
        rmdir(m_strDir.c_str());
    }
    IBIS* m_pIbis = nullptr;
    std::string m_strDir, m_strIbs, m_strCbs;
};

void BM_WriteCompiled(benchmark::State& state) {
    CompiledFixture fixture(static_cast<int>(state.range(0)));
    if (fixture.m_pIbis == nullptr) {
        state.SkipWithError("the component did not read");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(CBS_Write(fixture.m_pIbis, fixture.m_strCbs.c_str(), nullptr));
    state.SetComplexityN(state.range(0));
}

void BM_ReadCompiledBack(benchmark::State& state) {
    CompiledFixture fixture(static_cast<int>(state.range(0)));
    if (fixture.m_pIbis == nullptr || !CBS_Write(fixture.m_pIbis, fixture.m_strCbs.c_str(), nullptr)) {
        state.SkipWithError("the component did not compile");
        return;
    }
    for (auto _ : state) {
        BenchRecord record;
        CCbsRecordParser<BenchRecord> parser(record, nullptr);
        std::ifstream in(fixture.m_strCbs);
        benchmark::DoNotOptimize(parser.Read(in));
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_WriteCompiled)->Arg(1000)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ReadCompiledBack)->Arg(1000)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
