#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "model/crv.h"
#include "model/mdl.h"
#include "model/wvfrm.h"
#include "reader/ibis.h"
#include "reader/rng.h"
#include "support/snippet.h"

namespace {

// Evaluates every table of a model the way the plausibility checks will:
// at the ends and beyond, and combined with the zero table.
void EvaluateTables(MDL* pMdl) {
    for (CRV* pCrv : {pMdl->pPulldown, pMdl->pPullup, pMdl->pGndClamp, pMdl->pPowerClamp}) {
        if (pCrv == nullptr) continue;
        for (int eCorner : {CRV_TYP, CRV_MIN, CRV_MAX}) {
            double dI = 0;
            for (double dV : {-100.0, -1.5, 0.0, 1.5, 100.0}) CRV_ValueAt(pCrv, eCorner, &dI, dV);
            CRV_TooFewPoints(pCrv->pRows, eCorner);
        }
        CRV* pCopy = CRV_Combine(pCrv, CRV_ZeroTable(), CRV_TYP | CRV_MIN | CRV_MAX);
        ASSERT_NE(nullptr, pCopy);
        CRV_NegateVoltages(pCopy->pRows);
        CRV_ShiftVoltages(pCopy->pRows, 3.3);
        CRV* pSum = CRV_Combine(pCopy, pCrv, CRV_TYP);
        ASSERT_NE(nullptr, pSum);
        CRV_Free(pSum);
        CRV_Free(pCopy);
    }
    double adRef[4];
    CRV_References(pMdl, CRV_MAX, &adRef[0], &adRef[1], &adRef[2], &adRef[3]);
}

void EvaluateDocument(IBIS* pIbis) {
    MDL* pList = nullptr;
    IBIS_GetMdlList(pIbis, &pList);
    for (MDL* pMdl = pList; pMdl != nullptr; pMdl = pMdl->pNext) EvaluateTables(pMdl);
}

TEST(ModelCorpus, EveryFileReadsAndItsTablesEvaluate) {
    int nFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TAVELIN_CORPUS)) {
        const std::string strPath = entry.path().string();
        const std::string strExt = entry.path().extension().string();
        if (strExt != ".ibs" && strExt != ".pkg" && strExt != ".ebd") continue;
        SCOPED_TRACE(strPath);
        ReadResult result = ReadPath(strPath, EvaluateDocument);
        EXPECT_EQ(0, result.nBugs) << result.strLog;
        ++nFiles;
    }
    EXPECT_GT(nFiles, 0);
}

TEST(ModelCorpus, BundledExampleModelsAreClean) {
    int nModels = 0;
    ReadResult result = ReadPath(std::string(TAVELIN_EXAMPLES) + "/tvl8244.ibs", [&](IBIS* pIbis) {
        MDL* pList = nullptr;
        IBIS_GetMdlList(pIbis, &pList);
        for (MDL* pMdl = pList; pMdl != nullptr; pMdl = pMdl->pNext) ++nModels;
    });
    EXPECT_EQ("", result.strLog);
    EXPECT_GT(nModels, 0);
}

}  // namespace
