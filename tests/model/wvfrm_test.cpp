#include "model/wvfrm.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "model/mdl.h"
#include "model/model_text.h"
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
    std::string strLog = ReadModels(CleanModel("O1") +           // 13-19
                                        "[Rising Waveform]\n"    // 20
                                        "R_fixture = 50\n"
                                        "V_fixture = 0\n"
                                        "0 0 0 0\n"
                                        "1n 0 0 0\n"
                                        "1n 0 0 0\n"             // 25
                                        "[Falling Waveform] x\n" // 26
                                        "V_fixture = 0\n"
                                        "0 0 NA NA\n"
                                        "R_fixture = 50\n"       // 29
                                        "V_fixture = 1\n"        // 30
                                        "1n NA 0 NA\n"
                                        "[Rising Waveform]\n"    // 32
                                        "C_fixture 1p\n"         // 33
                                        "L_fixture = 1n 2n\n"    // 34
                                        "R_dut = abc\n"          // 35
                                        "C_dut = 1p5\n"          // 36
                                        "bogus line\n"           // 37
                                        "NA 0 0 0\n",            // 38
                                    [](IBIS* pIbis) {
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
    EXPECT_EQ("ERROR  (line   25) - Time value did not increase\n"
              "ERROR  (line   26) -\n    Incorrect Number of Line Items (2) For Falling Waveform: Expecting 1\n"
              "ERROR  (line   29) - R_fixture specified after beginning of timing data\n"
              "ERROR  (line   30) - V_fixture specified after beginning of timing data\n"
              "ERROR  (line   30) - Duplicate definition for Falling Waveform V_fixture\n"
              "ERROR  - First Minimum Value Cannot Be 'NA' for Falling Waveform Beginning at Line 26\n"
              "ERROR  -\n    Last Typical Value Cannot Be 'NA' for Falling Waveform Beginning at Line 26\n"
              "ERROR  (line   33) - Invalid Rising Waveform line\n"
              "ERROR  (line   34) -\n    Incorrect Number of Line Items (4) For Rising Waveform: Expecting 3\n"
              "ERROR  (line   35) - Invalid Rising Waveform Value (\"abc\")\n"
              "WARNING  (line   36) -\n    Suspicious Rising Waveform C_dut Value (\"1p5\"); Numeric in Scale\n"
              "ERROR  (line   37) - Unknown Line Among Rising Waveform Data\n"
              "ERROR  (line   38) - 'NA' not allowed for Time value\n"
              "ERROR  - R_fixture Not Defined For Rising Waveform Beginning on Line 32\n"
              "ERROR  - V_fixture Not Defined For Rising Waveform Beginning on Line 32\n"
              "ERROR  - Require at least 2 Data Points for Rising Waveform Beginning at Line 32\n",
              strLog);
}

TEST(WvfrmRead, MoreThan100WaveformsOrRowsAreReportedOnce) {
    std::string strBody = CleanModel("O1");  // 13-19
    for (int i = 0; i < 101; ++i)            // the 101st keyword is on line 20 + 5 * 100
        strBody += "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 0 0\n1n 0 0 0\n";
    strBody += "[Falling Waveform]\nR_fixture = 50\nV_fixture = 0\n";  // 525-527
    for (int i = 0; i < 101; ++i)  // the 101st row is on line 628
        strBody += std::to_string(i) + "n 0 0 0\n";
    std::string strLog = ReadModels(strBody, [](IBIS* pIbis) {
        WVFRM* pList = nullptr;
        MDL_GetRising(FindModel(pIbis, "O1"), &pList);
        EXPECT_EQ(101, CountWaveforms(pList));
        MDL_GetFalling(FindModel(pIbis, "O1"), &pList);
        EXPECT_EQ(101, CountRows(pList));
    });
    EXPECT_EQ("ERROR  (line  520) - More than 100 Rising Waveforms are defined\n"
              "ERROR  (line  628) -\n    More than 100 data points provided for Falling Waveform table\n",
              strLog);
}

// A pulse table read through direct calls, as the submodel module makes
// them; its keyword is on the next line of the log.
WVFRM* ReadPulse(DirectLog* pLog, const char* pszName, std::initializer_list<const char*> rows) {
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
    DirectLog log;
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
