#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/document.h"
#include "package/pkgmdl.h"
#include "reader/hdr.h"
#include "support/snippet.h"

namespace fs = std::filesystem;

namespace {

// A directory of its own, so that the .pkg files of other tests are not
// listed with it.
class PackageSearch : public ::testing::Test {
protected:
    void SetUp() override {
        char szTemplate[] = "/tmp/tavelin-pkgsearch-XXXXXX";
        ASSERT_NE(mkdtemp(szTemplate), nullptr);
        strDir = std::string(szTemplate) + "/";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(strDir, ec);
    }
    std::string Write(const std::string& strName, const std::string& strText) {
        std::ofstream(strDir + strName, std::ios::binary) << strText;
        return strDir + strName;
    }
    // The log with the directory taken out of the shown file names.
    std::string LogOf(const ReadResult& result) const {
        std::string strLog = result.strLog;
        for (size_t n; (n = strLog.find(strDir)) != std::string::npos;) strLog.erase(n, strDir.size());
        return strLog;
    }

    std::string strDir;
};

std::string PackageFile(const std::string& strFile, const std::string& strModel, const std::string& strPins) {
    return Header32(strFile) + "[Define Package Model] " + strModel + "\n" +
           "[Manufacturer] M\n"
           "[Description] D\n"
           "[Number Of Pins] 3\n"
           "[Pin Numbers]\n" + strPins +
           "[Model Data]\n"
           "[Inductance Matrix] Banded_matrix\n"
           "[Bandwidth] 0\n"
           "[Row] 1\n1n\n[Row] 2\n1n\n[Row] 3\n1n\n"
           "[Capacitance Matrix] Banded_matrix\n"
           "[Bandwidth] 0\n"
           "[Row] 1\n1p\n[Row] 2\n1p\n[Row] 3\n1p\n"
           "[End Model Data]\n"
           "[End Package Model]\n"
           "[End]\n";
}

std::string Component(const std::string& strName, const std::string& strPackageModel) {
    return "[Component] " + strName + "\n"
           "[Manufacturer] M\n"
           "[Package]\n"
           "R_pkg 1 NA NA\n"
           "L_pkg 1n NA NA\n"
           "C_pkg 1p NA NA\n"
           "[Package Model] " + strPackageModel + "\n"
           "[Pin] signal_name model_name\n"
           "1 VCC POWER\n"
           "2 GND GND\n";
}

// The model named by a component is found in the .pkg files beside the
// file, whatever the case of their extension; every file that defines a
// name beginning with it is read, one that defines other names is not.
// The findings of the read files are shown under their names, those of the
// component checks after them under the component file's name again.
TEST_F(PackageSearch, FindsTheModelInANeighbouringFileAndRefusesAMissingOne) {
    Write("Z.PKG", PackageFile("z.pkg", "BGA2", "1\n2\n3\n"));
    Write("a.pkg", PackageFile("a.pkg", "BGA2_LONG", "1\n2\n3\n"));
    Write("b.pkg", PackageFile("b.pkg", "OTHER", "1\n2\n3\n"));
    const std::string strBoard = Write("board.ibs", Header32("board.ibs") + Component("NOPKG", "NOPE") +
                                                        Component("CHIP", "BGA2") + "[End]\n");
    std::string strModels;
    const char* pszFileName = nullptr;
    ReadResult result = ReadPath(
        strBoard,
        [&](IBIS* pIbis) {
            for (PKGMDL* p = pIbis->pPkgMdlList; p != nullptr; p = p->pNext) strModels += std::string(p->szName) + ",";
            HDR* pHdr = nullptr;
            // The package files read into the document do not take its header.
            if (IBIS_GetHdr(pIbis, &pHdr)) HDR_GetFileName(pHdr, &pszFileName);
            EXPECT_STREQ(pszFileName, "board.ibs");
        },
        0);
    EXPECT_EQ(strModels, "BGA2_LONG,BGA2,");
    EXPECT_EQ(LogOf(result),
              "ERROR Z.PKG - OEM keyword not found for Package Model 'BGA2'.\n"
              "ERROR a.pkg - OEM keyword not found for Package Model 'BGA2_LONG'.\n"
              "ERROR board.ibs - Pin '3' found in Package_Model 'BGA2' Pin_Numbers list not found in Component "
              "'CHIP' Pin list.\n"
              "ERROR board.ibs - Unable to find Package Model 'NOPE' for Component 'NOPKG'\n");
}

// Without any package model in the document, a name that no .pkg file
// defines is accepted.
TEST_F(PackageSearch, AMissingModelIsAcceptedWhileTheDocumentHasNone) {
    Write("b.pkg", PackageFile("b.pkg", "OTHER", "1\n2\n3\n"));
    const std::string strBoard =
        Write("board.ibs", Header32("board.ibs") + Component("NOPKG", "NOPE") + "[End]\n");
    EXPECT_EQ(LogOf(ReadPath(strBoard, nullptr, 0)), "");
}

}  // namespace
