// Populating the largest component of a large IBIS file through the model
// library manager: cold (a new compiled-model folder: the component is
// compiled, then read back) and warm (the compiled model exists and is up
// to date: it is only read back).  The file holds a few small components
// and one of many pins on many supply buses.
#include <benchmark/benchmark.h>

#include <tavelin/tavelin.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const char kIndexHead[] = "***** This is an automatically generated file, do not edit! *****\n";

std::string Package() {
    return "[Manufacturer] M\n[Package]\nR_pkg 0.1 0.05 0.2\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n";
}

// Pins in groups of ten, ten groups to a pair of supply buses: a POWER pin,
// a GND pin and eight I/O pins whose supply lists hold the bus's ten POWER
// and ten GND pins.
std::string BigComponent(int nPins) {
    std::string strText = "[Component] BIG\n" + Package() + "[Pin] signal_name model_name R_pin L_pin C_pin\n";
    auto model = [](int i) { return i % 10 == 0 ? "POWER" : i % 10 == 1 ? "GND" : "IO"; };
    for (int i = 1; i <= nPins; ++i)
        strText += std::to_string(i) + " S" + std::to_string(i) + " " + model(i) + " 1m 1n 1p\n";
    strText += "[Pin Mapping] pulldown_ref pullup_ref\n";
    for (int i = 1; i <= nPins; ++i) {
        const std::string strBus = std::to_string(i / 100);
        const std::string strRefs = i % 10 == 0   ? " NC VDD" + strBus
                                    : i % 10 == 1 ? " VSS" + strBus + " NC"
                                                  : " VSS" + strBus + " VDD" + strBus;
        strText += std::to_string(i) + strRefs + "\n";
    }
    return strText;
}

std::string LibraryText(int nPins) {
    std::string strText = "[IBIS Ver] 3.2\n[File Name] lib_bench.ibs\n[File Rev] 1.0\n";
    for (int c = 0; c < 4; ++c)
        strText += "[Component] SMALL" + std::to_string(c) + "\n" + Package() +
                   "[Pin] signal_name model_name\n1 A IO\n2 B IO\n";
    strText += BigComponent(nPins);
    strText += "[Model] IO\nModel_type I/O\nVinl = 0.8\nVinh = 2.0\nC_comp 2p 1p 3p\n"
               "[Voltage Range] 3.3 3.0 3.6\n"
               "[Pulldown]\n-1 -0.1 -0.05 -0.2\n0 0 0 0\n1 0.1 0.05 0.2\n"
               "[Pullup]\n-1 0.1 0.05 0.2\n0 0 0 0\n1 -0.1 -0.05 -0.2\n"
               "[Ramp]\ndV/dt_r 1.0/1n 0.8/1.2n 1.2/0.8n\ndV/dt_f 1.0/1n 0.8/1.2n 1.2/0.8n\n";
    return strText + "[End]\n";
}

class BenchLibrary : public CIbisCompMdls {
public:
    int UseIndex(const std::string& strPath) { return AddSrcIndex(strPath.c_str(), "") && SetSearchPaths(1); }
};

// A folder with the source, its index and a compiled-model folder.
struct Workspace {
    explicit Workspace(int nPins) {
        char szDir[] = "/tmp/tavelin-libbench-XXXXXX";
        if (mkdtemp(szDir) != nullptr) dir = szDir;
        std::ofstream(dir / "lib_bench.ibs") << LibraryText(nPins);
        std::ofstream(dir / "lib_bench.idx") << kIndexHead << "0\nBIG\nlib_bench.ibs\n\n0\n";
        // The source a little in the past, so the compiled model is up to date.
        fs::last_write_time(dir / "lib_bench.ibs",
                            fs::last_write_time(dir / "lib_bench.ibs") - std::chrono::seconds(100));
    }
    ~Workspace() {
        std::error_code error;
        fs::remove_all(dir, error);
    }
    // Populates BIG; its pin count, or -1 when the record is not usable.
    int Populate() const {
        BenchLibrary library;
        library.Init((dir / "cbx").c_str());
        library.UseIndex((dir / "lib_bench.idx").string());
        CIbisCompInfo* pInfo = library.GetIbisCompInfo("BIG", nullptr, 0);
        const int nPins = pInfo != nullptr && pInfo->IsStatusOk() ? pInfo->GetPinCount() : -1;
        library.Fini(1);
        return nPins;
    }
    fs::path dir;
};

void BM_PopulateCold(benchmark::State& state) {
    const Workspace space(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(space.dir / "cbx");
        state.ResumeTiming();
        if (space.Populate() != state.range(0)) state.SkipWithError("not populated");
    }
    state.SetComplexityN(state.range(0));
}

void BM_PopulateWarm(benchmark::State& state) {
    const Workspace space(static_cast<int>(state.range(0)));
    if (space.Populate() != state.range(0)) state.SkipWithError("not compiled");
    for (auto _ : state)
        if (space.Populate() != state.range(0)) state.SkipWithError("not populated");
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_PopulateCold)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_PopulateWarm)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
