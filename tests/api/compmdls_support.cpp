// The recording host's library folder: the IBIS source of the tests, its
// index, and file helpers.
#include "api/compmdls_support.h"

#include <sys/stat.h>
#include <utime.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/diag.h"

const char* const kIndexHead = "***** This is an automatically generated file, do not edit! *****\n";

const char* const kLibIbs =
    "[IBIS Ver] 3.2\n"
    "[File Name] lib.ibs\n"
    "[File Rev] 1.0\n"
    "[Component] U1\n"
    "[Manufacturer] Acme\n"
    "[Package]\n"
    "R_pkg 0.1 0.05 0.2\n"
    "L_pkg 2n NA NA\n"
    "C_pkg 1p NA NA\n"
    "[Pin] signal_name model_name R_pin L_pin C_pin\n"
    "A1 VDD1 POWER 0.3 NA NA\n"
    "A2 VDD2 POWER\n"
    "B1 VSS GND\n"
    "C1 DATA IO\n"
    "C2 CLK IN\n"
    "[Pin Mapping] pulldown_ref pullup_ref\n"
    "A1 NC VDD\n"
    "A2 NC VDD\n"
    "B1 VSS NC\n"
    "C1 VSS VDD\n"
    "C2 VSS VDD\n"
    "[Component] tech_cmos\n"
    "[Manufacturer] Acme\n"
    "[Package]\n"
    "R_pkg 0.1 NA NA\n"
    "L_pkg 1n NA NA\n"
    "C_pkg 1p NA NA\n"
    "[Pin] signal_name model_name\n"
    "1 IN1 IN\n"
    "2 OUT1 IO\n"
    "[Component] default\n"
    "[Manufacturer] Acme\n"
    "[Package]\n"
    "R_pkg 0.1 NA NA\n"
    "L_pkg 1n NA NA\n"
    "C_pkg 1p NA NA\n"
    "[Pin] signal_name model_name\n"
    "1 IN1 IN\n"
    "[Model] IO\n"
    "Model_type I/O\n"
    "Vinl = 0.8\n"
    "Vinh = 2.0\n"
    "C_comp 2p 1p 3p\n"
    "[Voltage Range] 3.3 3.0 3.6\n"
    "[Pulldown]\n"
    "-1 -0.1 -0.05 -0.2\n"
    "0 0 0 0\n"
    "1 0.1 0.05 0.2\n"
    "[Pullup]\n"
    "-1 0.1 0.05 0.2\n"
    "0 0 0 0\n"
    "1 -0.1 -0.05 -0.2\n"
    "[Ramp]\n"
    "dV/dt_r 1.0/1n 0.8/1.2n 1.2/0.8n\n"
    "dV/dt_f 1.0/1n 0.8/1.2n 1.2/0.8n\n"
    "[Model] IN\n"
    "Model_type Input\n"
    "Vinl = 0.8\n"
    "Vinh = 2.0\n"
    "C_comp 2p NA NA\n"
    "[Voltage Range] 3.3 NA NA\n"
    "[GND Clamp]\n"
    "-1 -0.1 NA NA\n"
    "0 0 NA NA\n"
    "[End]\n";

void LibraryTest::SetUp() {
    char szTemplate[] = "/tmp/tavelin-lib-XXXXXX";
    if (mkdtemp(szTemplate) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_strDir = szTemplate;
    Write(Path("lib.ibs"), kLibIbs);
    Write(Path("lib.idx"), std::string(kIndexHead) +
                               "0\nU1\nlib.ibs\nAcme\n0\ntech_cmos\nlib.ibs\n\n0\ndefault\nlib.ibs\n\n0\n");
    // Sources a little in the past, so a compile of this second is newer.
    SetTime(Path("lib.ibs"), time(nullptr) - 100);
}

void LibraryTest::TearDown() {
    std::error_code error;
    std::filesystem::remove_all(m_strDir, error);
    // The manager sets the diagnostics' indent and name mode for its compiles.
    DIAG_SetIndent(0);
    DIAG_SetNameMode(1);
}

void LibraryTest::Open(TestHost* pHost) const {
    ASSERT_EQ(1, pHost->Init(Cbx().c_str()));
    ASSERT_EQ(1, pHost->AddSrcIndex(Path("lib.idx").c_str(), "lib"));
    ASSERT_EQ(1, pHost->SetSearchPaths(1));
}

std::string LibraryTest::Slurp(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void LibraryTest::Write(const std::string& strPath, const std::string& strText) {
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out << strText;
}

void LibraryTest::SetTime(const std::string& strPath, time_t t) {
    struct utimbuf times;
    times.actime = t;
    times.modtime = t;
    utime(strPath.c_str(), &times);
}

time_t LibraryTest::TimeOf(const std::string& strPath) {
    struct stat st;
    return stat(strPath.c_str(), &st) == 0 ? st.st_mtime : 0;
}
