#include <gtest/gtest.h>

#include <string>

#include "core/document.h"
#include "package/mtx.h"
#include "package/pkgmdl.h"
#include "package/row.h"
#include "support/corpus.h"
#include "support/snippet.h"

namespace {

// The real IBIS 3.2 package files: every matrix holds one row per pin and
// the files read without a finding.
TEST(PackageCorpus, RealPackageFilesReadWithEveryRow) {
    const std::string strDir = CorpusDir();
    if (strDir.empty()) return;
    const char* const apszFiles[] = {"ff1136_5vsx95t.pkg", "ff1738_5vlx330t_ibis.pkg", "ff1760_5vlx220.pkg",
                                     "ff1760_5vlx330.pkg", "ff665_5vfx70t_ibis.pkg"};
    for (const char* pszFile : apszFiles) {
        SCOPED_TRACE(pszFile);
        ReadResult result = ReadPath(strDir + "/" + pszFile, [](IBIS* pIbis) {
            PKGMDL* pMdl = pIbis->pPkgMdlList;
            ASSERT_NE(pMdl, nullptr);
            EXPECT_EQ(pMdl->pNext, nullptr);
            for (const MTX* pMtx : {pMdl->pResistance, pMdl->pInductance, pMdl->pCapacitance}) {
                ASSERT_NE(pMtx, nullptr);
                EXPECT_EQ(pMtx->uiRowsRead, pMdl->uiNumberOfPins);
            }
        });
        EXPECT_EQ(result.strLog, "");
    }
}

TEST(PackageCorpus, ValuesLandInTheirColumns) {
    const std::string strDir = CorpusDir();
    if (strDir.empty()) return;
    ReadPath(strDir + "/ff1760_5vlx330.pkg", [](IBIS* pIbis) {
        PKGMDL* pMdl = pIbis->pPkgMdlList;
        ASSERT_NE(pMdl, nullptr);
        EXPECT_STREQ(pMdl->szName, "ff1760_xc5vlx330_fga4322");
        EXPECT_EQ(pMdl->uiNumberOfPins, 1263u);
        EXPECT_EQ(pMdl->pResistance->eMatrixType, MTX_BANDED);
        double d = 0.0;
        ASSERT_EQ(ROW_GetEntry(pMdl->pResistance->pRows, 0, &d), 1);
        EXPECT_DOUBLE_EQ(d, 0.64279);
        const ROW* pRow = pMdl->pInductance->pRows;  // [Row] BB22
        ASSERT_EQ(ROW_GetEntry(pRow, 0, &d), 1);
        EXPECT_DOUBLE_EQ(d, 8.5995e-9);
        unsigned uiColumn = 0;
        PKGMDL* pCur = nullptr;
        ASSERT_EQ(PKGMDL_Find(pIbis->pPkgMdlList, "ff1760_xc5vlx330_fga4322", &pCur), 1);
        const char* pszPin = nullptr;
        for (int bFirst = 1; PKGMDL_NextPin(pCur, pCur->szName, bFirst, &pszPin); bFirst = 0) {
            ++uiColumn;
            if (std::string(pszPin) == "BB21") break;
        }
        ASSERT_EQ(ROW_GetEntry(pRow, uiColumn - 1, &d), 1);
        EXPECT_DOUBLE_EQ(d, 1.2441e-9);
    });
}

}  // namespace
