// Files no vendor would write on purpose: keyword lines of every kind in
// random order, broken data lines, illegal bytes and mangled real files.
// None may crash the reader, reach a program bug or change its findings
// when read again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/lines.h"
#include "reader/dispatch.h"
#include "support/corpus.h"
#include "support/snippet.h"

namespace {

const char* const kWords[] = {
    "NA", "na", "=", "/", "1", "-1", "0", "3.3", "1e-3", "10pF", "2.5nH", "1.5n3", "1/2n",
    "1 / 2n", "10%", "N/A", "POWER", "GND", "NC", "M1", "M2", "S1", "DQ0", "Input", "Output",
    "I/O", "Series", "Series_switch", "Terminator", "Input_ECL", "Open_drain", "Model_type",
    "Polarity", "Enable", "Vinl", "Vinh", "Vmeas", "Cref", "Rref", "Vref", "C_comp", "R_pkg",
    "L_pkg", "C_pkg", "signal_name", "model_name", "R_pin", "L_pin", "C_pin", "pulldown_ref",
    "pullup_ref", "gnd_clamp_ref", "power_clamp_ref", "ext_ref", "inv_pin", "vdiff", "tdelay_typ",
    "tdelay_min", "tdelay_max", "dV/dt_r", "dV/dt_f", "R_load", "R_fixture", "V_fixture",
    "V_fixture_min", "V_fixture_max", "C_fixture", "Vds", "Rise_on_dly", "Fall_on_dly",
    "Rise_off_dly", "Fall_off_dly", "Vinh+", "Vinh-", "Vinl+", "Vinl-", "S_overshoot_high",
    "Pulse_high", "Submodel_type", "Dynamic_clamp", "Bus_hold", "Non-Driving", "Driving",
    "All", "Si_location", "Timing_location", "Pin", "Die", "|", "#_char", "[", "]",
    "Abcdefghijklmnopqrstuvwxyz0123456789", "\t", "Len=1", "R=1m", "L=2n", "C=3p",
};

std::string RandomLine(std::mt19937& rng) {
    std::uniform_int_distribution<int> pick(0, 99);
    const int nKind = pick(rng);
    std::string strLine;
    if (nKind < 30) {
        // A keyword of the IBIS 3.2 table, sometimes indented or with text.
        const int nCount = static_cast<int>(KW_NOT_KEY);
        std::string strName = g_aKeywords32[rng() % nCount].pszName;
        for (char& c : strName)
            if (c == '_' && rng() % 2) c = ' ';
        strLine = (pick(rng) < 5 ? " [" : "[") + strName + "]";
    } else if (nKind < 33) {
        strLine = std::string(1 + rng() % 1500, 'x');
    } else if (nKind < 36) {
        for (int i = 0; i < 20; ++i) strLine += static_cast<char>(rng() % 256);
    }
    const int nWords = static_cast<int>(rng() % 8);
    for (int i = 0; i < nWords; ++i) {
        strLine += ' ';
        strLine += kWords[rng() % (sizeof kWords / sizeof kWords[0])];
    }
    return strLine;
}

std::string RandomFile(std::mt19937& rng) {
    static const char* const kVersions[] = {"3.2", "2.1", "3.0", "2.0", "3.1"};
    std::string strText = "[IBIS Ver] " + std::string(kVersions[rng() % 5]) + "\n";
    const int nLines = 20 + static_cast<int>(rng() % 200);
    for (int i = 0; i < nLines; ++i) strText += RandomLine(rng) + (rng() % 10 ? "\n" : "\r\n");
    if (rng() % 3) strText += "[End]\n";
    return strText;
}

// A real file with lines dropped, doubled and swapped.
std::string Mangle(const std::string& strText, std::mt19937& rng) {
    std::vector<std::string> lines;
    std::istringstream in(strText);
    for (std::string strLine; std::getline(in, strLine);) lines.push_back(strLine);
    if (lines.size() < 2) return strText;
    for (int n = 0; n < 40; ++n) {
        const size_t i = rng() % lines.size();
        const size_t j = rng() % lines.size();
        switch (rng() % 3) {
            case 0: lines.erase(lines.begin() + static_cast<long>(i)); break;
            case 1: lines.insert(lines.begin() + static_cast<long>(i), lines[j]); break;
            default: std::swap(lines[i], lines[j]); break;
        }
        if (lines.size() < 2) break;
    }
    std::string strOut;
    for (const std::string& strLine : lines) strOut += strLine + "\n";
    return strOut;
}

// Reads a file three times: the first read may still change what the
// library keeps between files (the tab warning, the recorded version).
void ExpectSteadyAndBugFree(const std::string& strName, const std::string& strText) {
    ReadSnippet(strName, strText);
    ReadResult first = ReadSnippet(strName, strText);
    ReadResult second = ReadSnippet(strName, strText);
    EXPECT_EQ(0, first.nBugs) << strName << "\n" << first.strLog;
    EXPECT_EQ(std::string::npos, first.strLog.find("PROGRAM BUG")) << strName;
    EXPECT_EQ(first.strLog, second.strLog) << strName;
}

TEST(Robustness, RandomKeywordSoup) {
    std::mt19937 rng(20261208);
    static const char* const kExtensions[] = {".ibs", ".pkg", ".ebd"};
    for (int i = 0; i < 150; ++i) {
        const std::string strName = "soup" + std::to_string(i) + kExtensions[i % 3];
        ExpectSteadyAndBugFree(strName, RandomFile(rng));
    }
}

TEST(Robustness, MangledCorpusFiles) {
    std::mt19937 rng(8244);
    int nFiles = 0;
    const std::string strDir = CorpusDir();
    if (strDir.empty()) return;
    for (const std::string& strName : CorpusFiles(strDir)) {
        const std::string strText = ReadText(strDir + "/" + strName);
        if (strText.size() > 300000) continue;  // keeps the sanitizer run short
        for (int n = 0; n < 3; ++n) ExpectSteadyAndBugFree("m" + std::to_string(n) + strName, Mangle(strText, rng));
        ++nFiles;
    }
    EXPECT_GT(nFiles, 0);
}

}  // namespace
