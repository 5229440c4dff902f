#include "model/sinfo.h"

#include <gtest/gtest.h>

#include <string>

#include "model/crv.h"
#include "model/mdl.h"
#include "model/model_text.h"
#include "model/smos.h"
#include "core/cmn.h"
#include "core/lines.h"
#include "core/rng.h"

namespace {

// A model of the given type up to its series keywords (4 lines).
std::string SeriesModel(const std::string& strName, const std::string& strType) {
    return "[Model] " + strName + "\nModel_type " + strType +
           "\nC_comp 1p NA NA\n[Voltage Range] 3.3 3.0 3.6\n";
}

int CountMosfets(const SINFO* pSinfo) {
    int n = 0;
    for (const SMOS* p = pSinfo->pMosfets; p != nullptr; p = p->pNext) ++n;
    return n;
}

TEST(SinfoRead, OnAndOffSections) {
    std::string strLog = ReadModels(SeriesModel("SW1", "Series_switch") +  // 13-16
                                        "[On]\n"                           // 17
                                        "[R Series] 10 NA NA\n"
                                        "[R Series] 20 NA NA\n"            // 19
                                        "[Rl Series] 1 NA NA\n"
                                        "[Series MOSFET]\n"                // 21
                                        "Vds = 1.0\n"
                                        "0 0 NA NA\n"
                                        "1 10m NA NA\n"
                                        "[Series MOSFET] extra\n"          // 25
                                        "Vds = 1.0\n"
                                        "0 0 NA NA\n"
                                        "1 -10m NA NA\n"
                                        "[Series MOSFET]\n"                // 29
                                        "0 0 NA NA\n"                      // 30: not Vds, dropped
                                        "0 0 NA NA\n"
                                        "1 5m NA NA\n"
                                        "[Off]\n"                          // 33
                                        "[C Series] 1p NA NA\n"
                                        "[Lc Series] 1n NA NA\n"
                                        "[Rc Series] 1 NA NA\n"
                                        "[Series MOSFET]\n"                // 37
                                        "Vds = -0.5\n"
                                        "0 0 NA NA\n"
                                        "1 1m NA NA\n"
                                        "[Series Current]\n"               // 41
                                        "-1 -1m NA NA\n"
                                        "1 1m NA NA\n",
                                    [](IBIS* pIbis) {
                                        MDL* pMdl = FindModel(pIbis, "SW1");
                                        SINFO* pOn = nullptr;
                                        ASSERT_EQ(1, MDL_GetSeriesOn(pMdl, &pOn));
                                        EXPECT_DOUBLE_EQ(10, pOn->pRseries->dTyp);  // the first stays
                                        EXPECT_EQ(3, CountMosfets(pOn));
                                        EXPECT_DOUBLE_EQ(1.0, *pOn->pMosfets->pdVds);
                                        const SMOS* pThird = pOn->pMosfets->pNext->pNext;
                                        EXPECT_EQ(nullptr, pThird->pdVds);
                                        int nRows = 0;
                                        for (RNGP* p = pThird->pTable->pRows; p != nullptr; p = p->pNext) ++nRows;
                                        EXPECT_EQ(2, nRows);
                                        const SINFO* pOff = pMdl->pSeriesOff;
                                        ASSERT_NE(nullptr, pOff);
                                        EXPECT_EQ(1, CountMosfets(pOff));
                                        EXPECT_NE(nullptr, pOff->pSeriesCurrent);
                                        EXPECT_EQ(nullptr, pOff->pRseries);
                                    });
    EXPECT_EQ("ERROR  (line   19) - R_series Already Defined For Model 'SW1'\n"
              "ERROR  (line   25) -\n    Incorrect Number of Line Items (2) For [Series_MOSFET]: Expecting 1\n"
              "ERROR  (line   25) -\n    Incorrect Number of Line Items (2) For Series_MOSFET: Expecting 1\n"
              "ERROR  - Model SW1: Series_MOSFET has Decreasing Current\n"
              "ERROR  (line   30) - Unknown data line in Series_MOSFET\n"
              "ERROR  - Model SW1: Vds not specified for [Series MOSFET] defined on line 29\n"
              "ERROR  - Model SW1: Vds should be >= 0 for [Series MOSFET] defined on line 37\n"
              // End of the model: the [On] section, then the [Off] section.
              "ERROR  -\n    Model SW1 [On]: Rl_series cannot be specified if L_series is not specified\n"
              "ERROR  - Model SW1 [On]: Found two Series_MOSFETs with identical Vds value 1.000000e+00\n"
              "ERROR  - Model SW1: [Series_MOSFET] is not allowed in conjunction with the [Off] keyword\n",
              strLog);
}

TEST(SinfoRead, SectionRules) {
    std::string strLog = ReadModels(SeriesModel("S1", "Series") +           // 13-16
                                        "[Lc Series] 1n NA NA\n"
                                        "[Rc Series] 1 NA NA\n" +
                                        SeriesModel("SW2", "Series_switch") +  // 19-22
                                        "[On]\n"                           // 23
                                        "[R Series] 1 NA NA\n"
                                        "[On] x\n"                         // 25: replaces the first
                                        "[Off]\n"                          // 26
                                        "[L Series] 1n NA NA\n"
                                        "[Series MOSFET]\n" +              // 28: no Vds, no rows
                                        SeriesModel("SW3", "Series_switch") +  // 29-32
                                        "[Series Current]\n"               // 33: implies [On]
                                        "0 0 NA NA\n"
                                        "1 1m NA NA\n");
    EXPECT_EQ("ERROR  - Model S1 : No series data found\n"
              "ERROR  - Model S1 : Rc_series cannot be specified if C_series is not specified\n"
              "ERROR  - Model S1 : Lc_series cannot be specified if C_series is not specified\n"
              "ERROR  (line   25) - [On] Series Info: Already Defined for this model\n"
              "ERROR  (line   25) - Incorrect Number of Line Items (2) For [On]: Expecting 1\n"
              "ERROR  - Model SW2: Vds not specified for [Series MOSFET] defined on line 28\n"
              "ERROR  -\n    Require at least 2 Voltage Points for Series_MOSFET Beginning at Line 28\n"
              "ERROR  - Model SW2 [On]: No series data found\n"
              "ERROR  - Model SW2: [Series_MOSFET] is not allowed in conjunction with the [Off] keyword\n"
              "ERROR  (line   33) - No preceding [On] or [Off] keyword found. Assuming [On]\n"
              "ERROR  - Model SW3 is of type Series_switch. [Off] keyword is required\n",
              strLog);
}

TEST(SmosRead, VdsLines) {
    DirectLog log;
    MDL mdl{};
    CMN_StrCopy(mdl.szName, "SW", MDL_NAME_LEN);
    mdl.eModelType = MT_SERIES_SWITCH;
    SMOS* pList = nullptr;
    for (const char* pszVds : {"Vds 1.0", "Vds = 1 2", "Vds : 1", "Vds = abc", "Vds=2"}) {
        char szKeyword[] = "[Series MOSFET]";
        SMOS* pEntry = nullptr;
        log.NextLine();
        SMOS_Begin(szKeyword, &pList, &pEntry);
        log.NextLine();
        SMOS_Line(pszVds);
        SMOS_End(&mdl, KW_SERIES_MOSFET);
    }
    EXPECT_EQ("ERROR  (line    2) - Invalid Vds Line\n"
              "ERROR  - Model SW: Vds not specified for [Series MOSFET] defined on line 1\n"
              "ERROR  (line    4) - Incorrect Number of Line Items (4) For Vds: Expecting 3\n"
              "ERROR  (line    6) - Invalid Vds Line\n"
              "ERROR  - Model SW: Vds not specified for [Series MOSFET] defined on line 5\n"
              "ERROR  (line    8) - Invalid Vds Value (\"abc\")\n"
              "ERROR  - Model SW: Vds not specified for [Series MOSFET] defined on line 7\n",
              log.Text());
    ASSERT_NE(nullptr, pList->pNext->pdVds);
    EXPECT_DOUBLE_EQ(1.0, *pList->pNext->pdVds);
    SMOS_FreeList(pList);
}

TEST(SmosRead, MoreThanHundredEntries) {
    std::string strBody = SeriesModel("SW", "Series_switch") + "[On]\n";  // 13-17
    for (int i = 0; i < 101; ++i)
        strBody += "[Series MOSFET]\nVds = " + std::to_string(i) + "\n0 0 NA NA\n1 1m NA NA\n";
    strBody += "[Off]\n[R Series] 1M NA NA\n";
    std::string strLog = ReadModels(strBody, [](IBIS* pIbis) {
        EXPECT_EQ(101, CountMosfets(FindModel(pIbis, "SW")->pSeriesOn));
    });
    EXPECT_EQ("ERROR  (line  418) - More than 100 [Series_MOSFET]s are defined\n", strLog);
}

}  // namespace
