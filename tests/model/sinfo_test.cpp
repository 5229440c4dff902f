#include "model/sinfo.h"

#include <gtest/gtest.h>

#include <string>

#include "model/crv.h"
#include "model/mdl.h"
#include "support/log_capture.h"
#include "support/snippet.h"
#include "support/verify.h"
#include "model/smos.h"
#include "core/cmn.h"
#include "core/lines.h"
#include "core/rng.h"

namespace {

int CountMosfets(const SINFO* pSinfo) {
    int n = 0;
    for (const SMOS* p = pSinfo->pMosfets; p != nullptr; p = p->pNext) ++n;
    return n;
}

TEST(SinfoRead, OnAndOffSections) {
    Verify v = ModelFile();
    v << ModelHead("SW1", "Series_switch")
      << "[On]"
      << "[R Series] 10 NA NA"
      << "[R Series] 20 NA NA" << Expect::Error("R_series Already Defined For Model 'SW1'")
      << "[Rl Series] 1 NA NA"
      << "[Series MOSFET]"
      << "Vds = 1.0"
      << "0 0 NA NA"
      << "1 10m NA NA"
      << "[Series MOSFET] extra"
      << Expect::Error("Incorrect Number of Line Items (2) For [Series_MOSFET]: Expecting 1")
      << Expect::Error("Incorrect Number of Line Items (2) For Series_MOSFET: Expecting 1")
      << "Vds = 1.0"
      << "0 0 NA NA"
      << "1 -10m NA NA"
      << "[Series MOSFET]" << Expect::Error("Model SW1: Series_MOSFET has Decreasing Current").NoLine();
    const std::string strNoVds = std::to_string(v.Line());
    v << "0 0 NA NA" << Expect::Error("Unknown data line in Series_MOSFET")  // not Vds, dropped
      << "0 0 NA NA"
      << "1 5m NA NA"
      << "[Off]" << Expect::Error("Model SW1: Vds not specified for [Series MOSFET] defined on line " + strNoVds)
                        .NoLine()
      << "[C Series] 1p NA NA"
      << "[Lc Series] 1n NA NA"
      << "[Rc Series] 1 NA NA"
      << "[Series MOSFET]";
    const std::string strNegative = std::to_string(v.Line());
    v << "Vds = -0.5"
      << "0 0 NA NA"
      << "1 1m NA NA"
      << "[Series Current]"
      << Expect::Error("Model SW1: Vds should be >= 0 for [Series MOSFET] defined on line " + strNegative).NoLine()
      << "-1 -1m NA NA"
      << "1 1m NA NA";
    // End of the model: the [On] section, then the [Off] section.
    v.ExpectEnd(Expect::Error("Model SW1 [On]: Rl_series cannot be specified if L_series is not specified"))
        .ExpectEnd(Expect::Error("Model SW1 [On]: Found two Series_MOSFETs with identical Vds value 1.000000e+00"))
        .ExpectEnd(Expect::Error("Model SW1: [Series_MOSFET] is not allowed in conjunction with the [Off] keyword"));
    v.Check([](IBIS* pIbis) {
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
}

TEST(SinfoRead, SectionRules) {
    Verify v = ModelFile();
    v << ModelHead("S1", "Series")
      << "[Lc Series] 1n NA NA"
      << "[Rc Series] 1 NA NA"
      << "[Model] SW2" << Expect::Error("Model S1 : No series data found").NoLine()
                       << Expect::Error("Model S1 : Rc_series cannot be specified if C_series is not specified").NoLine()
                       << Expect::Error("Model S1 : Lc_series cannot be specified if C_series is not specified").NoLine()
      << "Model_type Series_switch\nC_comp 1p NA NA\n[Voltage Range] 3.3 3.0 3.6"
      << "[On]"
      << "[R Series] 1 NA NA"
      << "[On] x" << Expect::Error("[On] Series Info: Already Defined for this model")  // replaces the first
                  << Expect::Error("Incorrect Number of Line Items (2) For [On]: Expecting 1")
      << "[Off]"
      << "[L Series] 1n NA NA"
      << "[Series MOSFET]";  // no Vds, no rows
    const std::string strMosfet = std::to_string(v.Line());
    v << "[Model] SW3"
      << Expect::Error("Model SW2: Vds not specified for [Series MOSFET] defined on line " + strMosfet).NoLine()
      << Expect::Error("Require at least 2 Voltage Points for Series_MOSFET Beginning at Line " + strMosfet).NoLine()
      << Expect::Error("Model SW2 [On]: No series data found").NoLine()
      << Expect::Error("Model SW2: [Series_MOSFET] is not allowed in conjunction with the [Off] keyword").NoLine()
      << "Model_type Series_switch\nC_comp 1p NA NA\n[Voltage Range] 3.3 3.0 3.6"
      << "[Series Current]" << Expect::Error("No preceding [On] or [Off] keyword found. Assuming [On]")
      << "0 0 NA NA"
      << "1 1m NA NA";
    v.ExpectEnd(Expect::Error("Model SW3 is of type Series_switch. [Off] keyword is required"));
    v.Check();
}

TEST(SmosRead, VdsLines) {
    LogCapture log;
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
    Verify v = ModelFile();
    v << ModelHead("SW", "Series_switch") << "[On]";
    for (int i = 0; i < 101; ++i) {
        v << "[Series MOSFET]";
        if (i == 100) v << Expect::Error("More than 100 [Series_MOSFET]s are defined");
        v << "Vds = " + std::to_string(i) + "\n0 0 NA NA\n1 1m NA NA";
    }
    v << "[Off]\n[R Series] 1M NA NA";
    v.Check([](IBIS* pIbis) { EXPECT_EQ(101, CountMosfets(FindModel(pIbis, "SW")->pSeriesOn)); });
}

}  // namespace
