#include "model/wvfrm.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "model/mdl.h"
#include "support/log_capture.h"
#include "support/snippet.h"
#include "support/verify.h"
#include "core/rng.h"

namespace {

int CountWaveforms(WVFRM* pList) {
    int n = 0;
    for (WVFRM* p = pList; p != nullptr; WVFRM_GetNext(p, &p)) ++n;
    return n;
}

int CountRows(const WVFRM* pWvfrm) {
    RNGP* pRow = nullptr;
    int n = 0;
    for (WVFRM_GetRows(pWvfrm, &pRow); pRow != nullptr; pRow = pRow->pNext) ++n;
    return n;
}

TEST(WvfrmRead, FixtureAndTimingRules) {
    Verify v = ModelFile();
    v << CleanModel("O1")
      << "[Rising Waveform]"
      << "R_fixture = 50"
      << "V_fixture = 0"
      << "0 0 0 0"
      << "1n 0 0 0"
      << "1n 0 0 0" << Expect::Error("Time value did not increase")
      << "[Falling Waveform] x" << Expect::Error("Incorrect Number of Line Items (2) For Falling Waveform: Expecting 1");
    const std::string strFalling = " for Falling Waveform Beginning at Line " + std::to_string(v.Line());
    v << "V_fixture = 0"
      << "0 0 NA NA"
      << "R_fixture = 50" << Expect::Error("R_fixture specified after beginning of timing data")
      << "V_fixture = 1" << Expect::Error("V_fixture specified after beginning of timing data")
                         << Expect::Error("Duplicate definition for Falling Waveform V_fixture")
      << "1n NA 0 NA"
      << "[Rising Waveform]" << Expect::Error("First Minimum Value Cannot Be 'NA'" + strFalling).NoLine()
                             << Expect::Error("Last Typical Value Cannot Be 'NA'" + strFalling).NoLine();
    const std::string strRisingLine = std::to_string(v.Line());
    v << "C_fixture 1p" << Expect::Error("Invalid Rising Waveform line")
      << "L_fixture = 1n 2n" << Expect::Error("Incorrect Number of Line Items (4) For Rising Waveform: Expecting 3")
      << "R_dut = abc" << Expect::Error("Invalid Rising Waveform Value (\"abc\")")
      << "C_dut = 1p5" << Expect::Warning("Suspicious Rising Waveform C_dut Value (\"1p5\"); Numeric in Scale")
      << "bogus line" << Expect::Error("Unknown Line Among Rising Waveform Data")
      << "NA 0 0 0" << Expect::Error("'NA' not allowed for Time value");
    v.ExpectEnd(Expect::Error("R_fixture Not Defined For Rising Waveform Beginning on Line " + strRisingLine))
        .ExpectEnd(Expect::Error("V_fixture Not Defined For Rising Waveform Beginning on Line " + strRisingLine))
        .ExpectEnd(Expect::Error("Require at least 2 Data Points for Rising Waveform Beginning at Line " +
                                 strRisingLine));
    v.Check([](IBIS* pIbis) {
        MDL* pMdl = FindModel(pIbis, "O1");
        WVFRM* pRising = nullptr;
        WVFRM* pFalling = nullptr;
        ASSERT_EQ(1, MDL_GetRising(pMdl, &pRising));
        ASSERT_EQ(1, MDL_GetFalling(pMdl, &pFalling));
        EXPECT_EQ(2, CountWaveforms(pRising));
        EXPECT_EQ(3, CountRows(pRising));
        double d = -1;
        EXPECT_EQ(1, WVFRM_GetRfixture(pFalling, &d));  // late, but stored
        EXPECT_DOUBLE_EQ(50, d);
        EXPECT_EQ(1, WVFRM_GetVfixture(pFalling, &d));
        EXPECT_DOUBLE_EQ(0, d);  // the first value stays
        EXPECT_EQ(0, WVFRM_GetCdut(pFalling, &d));
        WVFRM* pSecond = nullptr;
        ASSERT_EQ(1, WVFRM_GetNext(pRising, &pSecond));
        EXPECT_EQ(1, WVFRM_GetLfixture(pSecond, &d));
        EXPECT_DOUBLE_EQ(1e-9, d);
        EXPECT_EQ(1, WVFRM_GetCdut(pSecond, &d));
        EXPECT_EQ(0, WVFRM_GetRfixture(pSecond, &d));
        EXPECT_EQ(0, WVFRM_GetNext(pSecond, &pSecond));
    });
}

TEST(WvfrmRead, MoreThan100WaveformsOrRowsAreReportedOnce) {
    Verify v = ModelFile();
    v << CleanModel("O1");
    for (int i = 0; i < 101; ++i) {
        v << "[Rising Waveform]";
        if (i == 100) v << Expect::Error("More than 100 Rising Waveforms are defined");
        v << "R_fixture = 50\nV_fixture = 0\n0 0 0 0\n1n 0 0 0";
    }
    v << "[Falling Waveform]\nR_fixture = 50\nV_fixture = 0";
    for (int i = 0; i < 101; ++i) v << std::to_string(i) + "n 0 0 0";
    v << Expect::Error("More than 100 data points provided for Falling Waveform table");
    v.Check([](IBIS* pIbis) {
        WVFRM* pList = nullptr;
        MDL_GetRising(FindModel(pIbis, "O1"), &pList);
        EXPECT_EQ(101, CountWaveforms(pList));
        MDL_GetFalling(FindModel(pIbis, "O1"), &pList);
        EXPECT_EQ(101, CountRows(pList));
    });
}

// A pulse table read through direct calls, as the submodel module makes
// them; its keyword is on the next line of the log.
WVFRM* ReadPulse(LogCapture* pLog, const char* pszName, std::initializer_list<const char*> rows) {
    WVFRM* pList = nullptr;
    char szKeyword[] = "[Pulse Table]";
    pLog->NextLine();
    WVFRM_Begin(szKeyword, &pList, pszName);
    for (const char* pszRow : rows) {
        pLog->NextLine();
        WVFRM_Line(pszRow, pszName);
    }
    return pList;
}

TEST(WvfrmRead, PulseTableChecks) {
    LogCapture log;
    WVFRM* pGnd = ReadPulse(&log, "GND Pulse Table", {"0 0 0 0", "1n -0.5 -0.2 0.1", "2n 0.1 0 NA"});
    WVFRM_End("GND Pulse Table", 0);  // keyword on line 1
    WVFRM* pPower = ReadPulse(&log, "POWER Pulse Table", {"0 0 0 0", "1n 0.5 0.2 0.3", "2n 0 0 0"});
    WVFRM_End("POWER Pulse Table", 0);  // line 5
    WVFRM* pShort = ReadPulse(&log, "POWER Pulse Table", {"0 1 NA NA"});
    WVFRM_End("POWER Pulse Table", 0);  // line 9
    WVFRM_End("POWER Pulse Table", 0);  // nothing is current any more
    EXPECT_EQ("ERROR  - Last Maximum Value Cannot Be 'NA' for GND Pulse Table Waveform Beginning at Line 1\n"
              "ERROR  - First Typical Value should be the same as the Last for GND Pulse Table "
              "Waveform Beginning at Line 1\n"
              "WARNING  - Found some GND Pulse Table (Typical) offsets less than 0 for Table "
              "Beginning at Line 1\n"
              "WARNING  - Found some GND Pulse Table (Minimum) offsets less than 0 for Table "
              "Beginning at Line 1\n"
              "WARNING  - Found some POWER Pulse Table (Typical) offsets greater than 0 for Table "
              "Beginning at Line 5\n"
              "WARNING  - Found some POWER Pulse Table (Minimum) offsets greater than 0 for Table "
              "Beginning at Line 5\n"
              "WARNING  - Found some POWER Pulse Table (Maximum) offsets greater than 0 for Table "
              "Beginning at Line 5\n"
              "ERROR  - Require at least 2 Data Points for POWER Pulse Table Waveform Beginning at "
              "Line 9\n"
              "WARNING  - Found some POWER Pulse Table (Typical) offsets greater than 0 for Table "
              "Beginning at Line 9\n",
              log.Text());
    for (WVFRM* p : {pGnd, pPower, pShort}) WVFRM_FreeList(p);
}

}  // namespace
