#include "reader/read.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/cmn.h"
#include "core/diag.h"
#include "reader/hdr.h"
#include "core/lines.h"
#include "support/log_capture.h"
#include "support/snippet.h"

namespace fs = std::filesystem;

namespace {

// A scratch directory whose path has no upper-case letter, so that the
// lower-case retry of the opening rules can find files in it.
class IbisFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_strDir = "/tmp/tavelin-ibis-" + std::to_string(getpid()) + "/";
        fs::create_directories(m_strDir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_strDir, ec);
    }
    std::string Write(const std::string& strName, const std::string& strText) const {
        std::ofstream(m_strDir + strName, std::ios::binary) << strText;
        return m_strDir + strName;
    }
    // Pre-scans `strPath`; the log text goes to `pstrLog`.
    static int Detect(const std::string& strPath, int eFileKind, std::string* pstrLog,
                      unsigned long* pulLines = nullptr) {
        LogCapture log;
        unsigned long ulLines = 0;
        const int nClass = IBIS_DetectVersion(strPath.c_str(), &ulLines, eFileKind);
        *pstrLog = log.Text();
        if (pulLines != nullptr) *pulLines = ulLines;
        return nClass;
    }
    // Reads `strPath` into a document of its own, as a nested read does;
    // `pstrOpened` receives the name the line reader opened.
    static std::string Read(const std::string& strPath, int eFileKind, int* pnResult = nullptr,
                            std::string* pstrOpened = nullptr) {
        LogCapture log;
        EXPECT_TRUE(IBIS_Create());
        const int nResult = IBIS_ReadFile(strPath.c_str(), eFileKind);
        if (nResult) IBIS_Finish(eFileKind, 1);
        IBIS_EndRead();
        if (pnResult != nullptr) *pnResult = nResult;
        if (pstrOpened != nullptr) *pstrOpened = PARSE_FileName();
        return log.Text();
    }
    std::string m_strDir;
};

// ------------------------------------------------------------ document stack

TEST(IbisDocument, CreatedDocumentsStackAndDestroyingRestores) {
    IBIS* pBefore = nullptr;
    IBIS_GetCurrent(&pBefore);
    ASSERT_TRUE(IBIS_Create());
    IBIS* pFirst = nullptr;
    ASSERT_EQ(1, IBIS_GetCurrent(&pFirst));
    ASSERT_TRUE(IBIS_Create());
    IBIS* pSecond = nullptr;
    ASSERT_EQ(1, IBIS_GetCurrent(&pSecond));
    EXPECT_EQ(pFirst, pSecond->pNext);
    EXPECT_EQ(pBefore, pFirst->pNext);

    IBIS_Destroy(pSecond);
    IBIS* pNow = nullptr;
    IBIS_GetCurrent(&pNow);
    EXPECT_EQ(pFirst, pNow);
    IBIS_EndRead();
    IBIS_GetCurrent(&pNow);
    EXPECT_EQ(pBefore, pNow);
}

// A host may keep several documents and destroy them in any order: every
// live document stays stacked, the newest live one current, and none leads
// back to a destroyed one.
TEST(IbisDocument, DestroyingADocumentBelowTheTop) {
    IBIS* pBefore = nullptr;
    IBIS_GetCurrent(&pBefore);
    ASSERT_TRUE(IBIS_Create());
    IBIS* pLower = nullptr;
    IBIS_GetCurrent(&pLower);
    ASSERT_TRUE(IBIS_Create());
    IBIS* pMiddle = nullptr;
    IBIS_GetCurrent(&pMiddle);
    ASSERT_TRUE(IBIS_Create());
    IBIS* pUpper = nullptr;
    IBIS_GetCurrent(&pUpper);

    IBIS_Destroy(pMiddle);
    IBIS* pNow = nullptr;
    IBIS_GetCurrent(&pNow);
    EXPECT_EQ(pUpper, pNow);
    EXPECT_EQ(pLower, pUpper->pNext);

    IBIS_Destroy(pLower);
    IBIS_GetCurrent(&pNow);
    EXPECT_EQ(pUpper, pNow);
    // The document above no longer leads to the destroyed one.
    EXPECT_EQ(pBefore, pUpper->pNext);

    // Destroyed from the top, the one below becomes current.
    IBIS_Destroy(pUpper);
    IBIS_GetCurrent(&pNow);
    EXPECT_EQ(pBefore, pNow);
}

TEST(IbisDocument, EmptyFieldsAndNewestFirstLists) {
    ASSERT_TRUE(IBIS_Create());
    IBIS* pIbis = nullptr;
    IBIS_GetCurrent(&pIbis);
    HDR* pHdr = reinterpret_cast<HDR*>(1);
    MSEL* pMsel = reinterpret_cast<MSEL*>(1);
    EXPECT_EQ(0, IBIS_GetHdr(pIbis, &pHdr));
    EXPECT_EQ(0, IBIS_GetMselList(pIbis, &pMsel));
    EXPECT_EQ(nullptr, pHdr);
    EXPECT_EQ(nullptr, pMsel);

    HDR* pOld = nullptr;
    HDR* pNew = nullptr;
    ASSERT_TRUE(CMN_Alloc(&pOld, sizeof(HDR)));
    ASSERT_TRUE(CMN_Alloc(&pNew, sizeof(HDR)));
    HDR* pLater = nullptr;
    ASSERT_TRUE(CMN_Alloc(&pLater, sizeof(HDR)));
    IBIS_SetHdr(pIbis, pOld);
    IBIS_SetHdr(pIbis, pNew);
    IBIS_SetHdr(pIbis, pLater);
    // The document keeps the header of its own file at the head; headers
    // read later (package files) follow it, newest first.
    EXPECT_EQ(1, IBIS_GetHdr(pIbis, &pHdr));
    EXPECT_EQ(pOld, pHdr);
    EXPECT_EQ(pLater, pHdr->pNext);
    EXPECT_EQ(pNew, pHdr->pNext->pNext);
    IBIS_EndRead();  // releases the headers
}

// A null document between modules is an assertion, reached before any
// access through the pointer.
TEST(IbisDocumentDeathTest, NullDocumentIsAnAssertion) {
    HDR* pHdr = nullptr;
    EXPECT_DEATH(IBIS_GetHdr(nullptr, &pHdr), "^ibis:[0-9]+:assertion failed\\.\n$");
    EXPECT_DEATH(IBIS_AddMsel(nullptr, reinterpret_cast<MSEL*>(&pHdr)),
                 "^ibis:[0-9]+:assertion failed\\.\n$");
}

// ------------------------------------------------------------ version pre-scan

TEST_F(IbisFiles, PreScanClasses) {
    std::string strLog;
    unsigned long ulLines = 0;
    EXPECT_EQ(3, Detect(Write("a.ibs", "| comment\n\n   \nstray data\n[IBIS Ver] 3.2\n[End]\n"), 1,
                        &strLog, &ulLines));
    EXPECT_EQ(5u, ulLines);
    EXPECT_EQ(2, Detect(Write("b.ibs", "[ibis_ver]    2.1\n"), 1, &strLog));
    EXPECT_EQ(1, Detect(Write("c.ibs", "  [IBIS VER]1.1"), 1, &strLog));
    EXPECT_EQ(0, Detect(Write("d.ibs", "[IBIS Ver] 4.0\n"), 1, &strLog));
    EXPECT_EQ(0, Detect(Write("e.ibs", "[IBIS Ver]\n[File Name] e.ibs\n"), 1, &strLog));
    EXPECT_EQ(0, Detect(Write("f.ibs", "| c\n| c\n| c\n[Component] x\n[IBIS Ver] 3.2\n"), 1, &strLog));
    EXPECT_EQ(0, Detect(Write("g.ibs", "| nothing but comments\n"), 1, &strLog));
    EXPECT_EQ(0, Detect(Write("h.ibs", ""), 1, &strLog));
    EXPECT_EQ(0, Detect(Write("i.ibs", "[IBIS Ve] 3.2\n"), 1, &strLog));
    EXPECT_EQ("", strLog);
    // Illegal characters are left for the read itself to report.
    EXPECT_EQ(3, Detect(Write("j.ibs", "| \xB5\n[IBIS Ver] 3.2\n"), 1, &strLog));
    EXPECT_EQ("", strLog);
}

// ------------------------------------------------------------ opening rules

TEST_F(IbisFiles, ExtensionIsCheckedOrAppended) {
    Write("MODEL.ibs", "[IBIS Ver] 3.1\n");
    Write("model.txt", "[IBIS Ver] 3.1\n");
    std::string strLog;
    EXPECT_EQ(3, Detect(m_strDir + "MODEL", FILE_KIND_IBS, &strLog));
    EXPECT_EQ("", strLog);
    EXPECT_EQ(0, Detect(m_strDir + "model.txt", FILE_KIND_IBS, &strLog));
    EXPECT_EQ("ERROR  - File Name Requires '.ibs' Extension.\n", strLog);
    EXPECT_EQ(0, Detect(m_strDir + "MODEL.ibs", FILE_KIND_PKG, &strLog));
    EXPECT_EQ("ERROR  - File Name Requires '.pkg' Extension.\n", strLog);
    EXPECT_EQ(0, Detect(m_strDir + "MODEL.ibs", FILE_KIND_EBD, &strLog));
    EXPECT_EQ("ERROR  - File Name Requires '.ebd' Extension.\n", strLog);
    EXPECT_EQ(0, Detect(m_strDir + "nothere", FILE_KIND_PKG, &strLog));
    EXPECT_EQ("ERROR  - Unable To Open File '" + m_strDir + "nothere.pkg'\n", strLog);
}

TEST_F(IbisFiles, ExtensionAppendedReadsTheCompletedName) {
    Write("MODEL.ibs",
          "[IBIS Ver] 3.2\n"
          "[File Name] model.ibs\n"
          "[File Rev] 1.0\n"
          "[End]\n");
    int nResult = 0;
    std::string strOpened;
    EXPECT_EQ("ERROR  - Required keyword 'Component' not found.\n",
              Read(m_strDir + "MODEL", FILE_KIND_IBS, &nResult, &strOpened));
    EXPECT_EQ(1, nResult);
    EXPECT_EQ("MODEL.ibs", strOpened);
    EXPECT_EQ(m_strDir, IBIS_GetCurrentDir());
}

TEST_F(IbisFiles, OverlongNames) {
    std::string strLog;
    EXPECT_EQ(0, Detect(std::string(1021, 'n'), FILE_KIND_IBS, &strLog));
    EXPECT_EQ("ERROR  - Unable to append filename extension.\n", strLog);
    EXPECT_EQ(0, Detect(std::string(1020, 'n'), FILE_KIND_IBS, &strLog));
    EXPECT_EQ("ERROR  - Unable To Open File '" + std::string(1020, 'n') + ".ibs'\n", strLog);
    EXPECT_EQ(0, Detect(std::string(1000, 'd') + "/" + std::string(30, 'n') + ".ibs", FILE_KIND_IBS, &strLog));
    EXPECT_EQ("ERROR  - Unable to assemble filename.\n", strLog);
}

TEST_F(IbisFiles, LowerAndUpperCaseRetries) {
    const std::string strText =
        "[IBIS Ver] 3.2\n"
        "[File Name] lower.pkg\n"
        "[File Rev] 1.0\n"
        "[End]\n";
    Write("lower.pkg", strText);
    std::string strLog;
    EXPECT_EQ(3, Detect(m_strDir + "LoWeR.PKG", FILE_KIND_PKG, &strLog));
    std::string strLowerOpened;
    EXPECT_EQ("", Read(m_strDir + "LoWeR.PKG", FILE_KIND_PKG, nullptr, &strLowerOpened));
    // Only the directory is kept in the converted case; the name stays as asked for.
    EXPECT_EQ("LoWeR.PKG", strLowerOpened);
    EXPECT_EQ(m_strDir, IBIS_GetCurrentDir());

    // The whole path is converted, so the upper-case retry is seen with a relative path.
    Write("UPPER.PKG", strText);
    const fs::path previous = fs::current_path();
    fs::current_path(m_strDir);
    const int nClass = Detect("upper.pkg", FILE_KIND_PKG, &strLog);
    time_t tFileTime = 0;
    LogCapture log;
    ASSERT_TRUE(IBIS_Create());
    EXPECT_EQ(1, IBIS_ReadFile("Upper.pkg", FILE_KIND_PKG));
    IBIS* pIbis = nullptr;
    IBIS_GetCurrent(&pIbis);
    HDR* pHdr = nullptr;
    if (IBIS_GetHdr(pIbis, &pHdr)) tFileTime = pHdr->tFileTime;
    IBIS_EndRead();
    const std::string strReadLog = log.Text();
    const std::string strOpened = PARSE_FileName();
    fs::current_path(previous);
    EXPECT_EQ(3, nClass);
    EXPECT_EQ("", strLog);
    EXPECT_EQ("ERROR  (line    2) -\n"
              "    File name opened 'Upper.pkg' not the same as File_name 'lower.pkg'.\n",
              strReadLog);
    EXPECT_EQ("Upper.pkg", strOpened);
    EXPECT_GT(tFileTime, 0) << "the time is taken from the file that was opened";
}

// ------------------------------------------------------------ read driver and end of file

TEST_F(IbisFiles, UnopenableFileReadsNothing) {
    int nResult = 1;
    EXPECT_EQ("ERROR  - Unable To Open File '" + m_strDir + "gone.ibs'\n",
              Read(m_strDir + "gone.ibs", FILE_KIND_IBS, &nResult));
    EXPECT_EQ(0, nResult);
}

TEST_F(IbisFiles, EndOfFileChecksByKind) {
    const std::string strHeader =
        "[IBIS Ver] 3.2\n"
        "[File Rev] 1.0\n";
    // Each kind reports the missing [End]; only the component file requires [Component].
    EXPECT_EQ("ERROR  - Required keyword 'End' not found.\n"
              "ERROR  - Required keyword 'File_name' not found in file 'k.ibs'.\n"
              "ERROR  - Required keyword 'Component' not found.\n",
              Read(Write("k.ibs", strHeader), FILE_KIND_IBS));
    EXPECT_EQ("ERROR  - Required keyword 'End' not found.\n"
              "ERROR  - Required keyword 'File_name' not found in file 'k.pkg'.\n",
              Read(Write("k.pkg", strHeader), FILE_KIND_PKG));
    EXPECT_EQ("ERROR  - Required keyword 'End' not found.\n"
              "ERROR  - Required keyword 'File_name' not found in file 'k.ebd'.\n",
              Read(Write("k.ebd", strHeader), FILE_KIND_EBD));
}

TEST_F(IbisFiles, TopDirectoryIsKeptByTheOuterRead) {
    ReadPath(Write("top.pkg", Header32("top.pkg") + "[End]\n"));
    EXPECT_EQ(m_strDir, IBIS_GetTopDir());
    // A nested read changes the current directory only.
    fs::create_directories(m_strDir + "sub");
    Read(Write("sub/inner.pkg", Header32("inner.pkg") + "[End]\n"), FILE_KIND_PKG);
    EXPECT_EQ(m_strDir + "sub/", IBIS_GetCurrentDir());
    EXPECT_EQ(m_strDir, IBIS_GetTopDir());
}

TEST(IbisRead, StateStartsAfreshWithEachRead) {
    const std::string strText = Header32("again.pkg") +
                                "[Comment Char] #_char\n"
                                "[Bogus]\n"
                                "data\n"
                                "[End]\n";
    const ReadResult first = ReadSnippet("again.pkg", strText);
    const ReadResult second = ReadSnippet("again.pkg", strText);
    EXPECT_EQ("ERROR  (line    5) - Invalid Keyword. Bogus\n"
              "ERROR  (line    6) - Data for unknown keyword.\ndata\n",
              first.strLog);
    EXPECT_EQ(first.strLog, second.strLog);
    // The comment character of the last read is not the next one's.
    EXPECT_EQ("", ReadSnippet("hash.pkg", Header32("hash.pkg") + "| comment\n[End]\n").strLog);
}

}  // namespace
