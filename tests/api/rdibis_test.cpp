#include "api/rdibis.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "corvane.h"
#include "core/diag.h"
#include "reader/read.h"
#include "core/lines.h"
#include "support/log_capture.h"
#include "support/snippet.h"

namespace fs = std::filesystem;

namespace {

const char kRefused[] = "ERROR  - Unrecognized IBIS Version\n";

// ------------------------------------------------------------ file kinds

TEST(RdibisFileKind, ByTheLastExtension) {
    EXPECT_EQ(FILE_KIND_IBS, RDIBIS_FileKind("MODEL.IBS"));
    EXPECT_EQ(FILE_KIND_IBS, RDIBIS_FileKind("dir.v2/model.ibs"));
    EXPECT_EQ(FILE_KIND_PKG, RDIBIS_FileKind("a.Pkg"));
    EXPECT_EQ(FILE_KIND_EBD, RDIBIS_FileKind("board.ebd"));
    EXPECT_EQ(FILE_KIND_NONE, RDIBIS_FileKind("model.ibs.bak"));
    EXPECT_EQ(FILE_KIND_NONE, RDIBIS_FileKind("MODEL"));
    EXPECT_EQ(FILE_KIND_NONE, RDIBIS_FileKind("model.txt"));
    EXPECT_EQ(FILE_KIND_NONE, RDIBIS_FileKind("model.ibsx"));
    EXPECT_EQ(FILE_KIND_NONE, RDIBIS_FileKind(""));
    EXPECT_EQ(FILE_KIND_NONE, RDIBIS_FileKind(nullptr));
}

TEST(RdibisRead, OtherKindsAreNotRead) {
    const std::string strText = Header32("model.ibs") + "[End]\n";
    for (const char* pszName : {"model.ibs.bak", "MODEL", "model.txt"}) {
        ReadResult result = ReadSnippet(pszName, strText);
        EXPECT_EQ(kRefused, result.strLog) << pszName;
        EXPECT_EQ(0, result.nResult) << pszName;
    }
    ReadResult result = ReadSnippet("MODEL.IBS", Header32("model.ibs") + "[End]\n");
    EXPECT_EQ(1, result.nResult);
    EXPECT_EQ("ERROR  - Required keyword 'Component' not found.\n", result.strLog);
}

// ------------------------------------------------------------ version recognition

TEST(RdibisRead, VersionRecognition) {
    ReadResult result = ReadSnippet("pre.pkg",
                                    "| comments and blank lines first\n"
                                    "\n"
                                    "|\n"
                                    "[ibis_ver]      2.1\n"
                                    "[File Name] pre.pkg\n"
                                    "[File Rev] 1.0\n"
                                    "[End]\n");
    EXPECT_EQ("", result.strLog);
    EXPECT_EQ(1, result.nResult);
    EXPECT_EQ(2, PARSE_GetIbisVersion());

    for (const char* pszText : {"[IBIS Ver] 4.0\n[File Name] v.pkg\n[File Rev] 1\n[End]\n",
                                "[IBIS Ver]\n[File Name] v.pkg\n[File Rev] 1\n[End]\n",
                                "| comment\n[Component] c\n[IBIS Ver] 3.2\n[End]\n",
                                "| only comments\n", ""}) {
        IBIS* pBefore = nullptr;
        IBIS_GetCurrent(&pBefore);
        result = ReadSnippet("v.pkg", pszText);
        EXPECT_EQ(kRefused, result.strLog) << pszText;
        EXPECT_EQ(0, result.nResult) << pszText;
        EXPECT_EQ(1, result.nErrors) << pszText;
        IBIS* pAfter = nullptr;
        IBIS_GetCurrent(&pAfter);
        EXPECT_EQ(pBefore, pAfter) << "no document is left behind";
    }
}

TEST(RdibisRead, IndentedVersionKeywordIsRecognisedAndReported) {
    EXPECT_EQ("ERROR  (line    1) - Keywords Must Begin In Column 1.\n",
              ReadSnippet("ind.pkg", "  [IBIS Ver] 3.2\n[File Name] ind.pkg\n[File Rev] 1.0\n[End]\n").strLog);
}

// ------------------------------------------------------------ odd input

TEST(RdibisRead, NoFileName) {
    LogCapture log;
    IBIS* pIbis = reinterpret_cast<IBIS*>(1);
    EXPECT_EQ(0, RDIBIS_Read(nullptr, log.Stream(), &pIbis));
    EXPECT_EQ(nullptr, pIbis);
    EXPECT_EQ(0, RDIBIS_Read("", log.Stream(), &pIbis));
    EXPECT_EQ("", log.Text());
}

TEST(RdibisRead, MissingFileAndDirectory) {
    ReadResult result = ReadPath("/nonexistent-tavelin-dir/none.ibs");
    EXPECT_EQ("ERROR  - Unable To Open File '/nonexistent-tavelin-dir/none.ibs'\n" + std::string(kRefused),
              result.strLog);
    EXPECT_EQ(0, result.nResult);

    const std::string strDir = WriteScratchFile("placeholder.pkg", "");
    const std::string strDirAsFile = strDir.substr(0, strDir.rfind('/')) + "/folder.ibs";
    fs::create_directories(strDirAsFile);
    result = ReadPath(strDirAsFile);
    EXPECT_EQ(0, result.nResult);
    EXPECT_EQ(kRefused, result.strLog);  // opens, but holds no line

    EXPECT_EQ("No such file or directory", RDIBIS_WhyRefused("/nonexistent-tavelin-dir/none.ibs"));
    EXPECT_EQ("Is a directory", RDIBIS_WhyRefused(strDirAsFile.c_str()));
    EXPECT_EQ("no file name", RDIBIS_WhyRefused(""));
}

// A file the user may not read (the superuser reads every file).
TEST(RdibisRead, RefusalOfAFileWithoutReadPermission) {
    if (geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
    const std::string strPath = WriteScratchFile("locked.ibs", "[IBIS Ver] 3.2\n[End]\n");
    fs::permissions(strPath, fs::perms::none);
    EXPECT_EQ("Permission denied", RDIBIS_WhyRefused(strPath.c_str()));
    fs::permissions(strPath, fs::perms::owner_all);
    EXPECT_EQ("", RDIBIS_WhyRefused(strPath.c_str()));
}

TEST(RdibisRead, FileEndingInsideAKeyword) {
    ReadResult result = ReadSnippet("cut.ibs",
                                    "[IBIS Ver] 3.2\n"
                                    "[File Name] cut.ibs\n"
                                    "[File Rev");
    EXPECT_EQ(1, result.nResult);
    EXPECT_EQ("ERROR  (line    3) - Keyword Missing Ending Bracket (']').\n"
              "ERROR  - Required keyword 'End' not found.\n"
              "ERROR  - Required keyword 'File_Rev' not found in file 'cut.ibs'.\n"
              "ERROR  - Required keyword 'Component' not found.\n",
              result.strLog);
}

// Deterministic bytes of every value, newlines included.
std::string Garbage(size_t nSize, unsigned uSeed) {
    std::string strBytes;
    for (size_t i = 0; i < nSize; ++i) {
        uSeed = uSeed * 1103515245u + 12345u;
        strBytes += static_cast<char>((uSeed >> 16) & 0xFF);
    }
    return strBytes;
}

TEST(RdibisRead, BinaryGarbage) {
    for (unsigned uSeed : {1u, 2u, 3u}) {
        ReadResult result = ReadSnippet("junk.ibs", "[IBIS Ver] 3.2\n" + Garbage(1 << 16, uSeed));
        EXPECT_EQ(1, result.nResult);
        EXPECT_GT(result.nErrors, 0);
        EXPECT_EQ(0, result.nBugs);
        // Bracketed garbage between keywords, and every byte value inside the brackets.
        std::string strKeywords = "[IBIS Ver] 3.2\n";
        const std::string strBytes = Garbage(1 << 12, uSeed);
        for (size_t i = 0; i < strBytes.size(); i += 16) strKeywords += "[" + strBytes.substr(i, 16) + "]\n";
        result = ReadSnippet("junk.pkg", strKeywords);
        EXPECT_EQ(1, result.nResult);
        EXPECT_EQ(0, result.nBugs);
    }
    EXPECT_EQ(kRefused, ReadSnippet("junk.ibs", Garbage(1 << 12, 7)).strLog);
}

// ------------------------------------------------------------ log and document

TEST(RdibisRead, WithoutLogNothingIsCounted) {
    const std::string strPath = WriteScratchFile("quiet.ibs", "[IBIS Ver] 3.2\n[Bogus]\n");
    DIAG_ResetCounts();
    IBIS* pIbis = nullptr;
    EXPECT_EQ(1, RDIBIS_Read(strPath.c_str(), nullptr, &pIbis));
    ASSERT_NE(nullptr, pIbis);
    int nErrors = -1, nWarnings = -1, nBugs = -1;
    DIAG_GetCounts(&nErrors, &nWarnings, &nBugs);
    EXPECT_EQ(0, nErrors);
    EXPECT_EQ(0, nWarnings);
    EXPECT_EQ(0, nBugs);
    IBIS_Destroy(pIbis);
}

TEST(RdibisRead, DocumentIsHandedOverOrDestroyed) {
    const std::string strPath = WriteScratchFile("doc.pkg", Header32("doc.pkg") + "[End]\n");
    IBIS* pBefore = nullptr;
    IBIS_GetCurrent(&pBefore);
    IBIS* pIbis = nullptr;
    EXPECT_EQ(1, RDIBIS_Read(strPath.c_str(), nullptr, &pIbis));
    IBIS* pCurrent = nullptr;
    IBIS_GetCurrent(&pCurrent);
    EXPECT_EQ(pIbis, pCurrent);
    EXPECT_EQ(pBefore, pIbis->pNext);
    IBIS_Destroy(pIbis);

    // Without a place for it the document is not left current (nobody would destroy it).
    EXPECT_EQ(1, RDIBIS_Read(strPath.c_str(), nullptr, nullptr));
    IBIS_GetCurrent(&pCurrent);
    EXPECT_EQ(pBefore, pCurrent);
}

// With file names shown, a refused file is named in its own findings, not
// under the name of the file read before it.
TEST(RdibisRead, RefusedFileIsNamedInItsFindings) {
    const std::string strGood = WriteScratchFile("named.pkg", Header32("named.pkg") + "[End]\n");
    const std::string strNew = WriteScratchFile("newer.pkg", "[IBIS Ver] 5.0\n[End]\n");
    const std::string strText = WriteScratchFile("named.txt", Header32("named.txt") + "[End]\n");
    const std::string strMissing = strGood.substr(0, strGood.rfind('/')) + "/absent.ebd";
    LogCapture log;
    DIAG_SetNameMode(0);
    for (const std::string& strPath : {strGood, strNew, strText, strMissing}) {
        IBIS* pIbis = nullptr;
        RDIBIS_Read(strPath.c_str(), log.Stream(), &pIbis);
        if (pIbis != nullptr) IBIS_Destroy(pIbis);
    }
    EXPECT_EQ("ERROR " + strNew + " - Unrecognized IBIS Version\n"
              "ERROR " + strText + " - Unrecognized IBIS Version\n"
              "ERROR " + strMissing + " - Unable To Open File '" + strMissing + "'\n"
              "ERROR " + strMissing + " - Unrecognized IBIS Version\n",
              log.Text());
}

TEST(RdibisRead, LogIsDetachedAfterTheRead) {
    ReadSnippet("detach.pkg", Header32("detach.pkg") + "[End]\n");
    EXPECT_EQ(nullptr, DIAG_GetLog());
}

// ------------------------------------------------------------ central library

class RdibisLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        m_strDir = "/tmp/tavelin-rdibis-" + std::to_string(getpid()) + "/";
        fs::create_directories(m_strDir + "models");
        std::ofstream(m_strDir + "models/probe.ibs") << "x\n";
        for (const char* pszName : {"lib.PRJ", "lib.lmc", "lib.txt"})
            std::ofstream(m_strDir + pszName) << m_strDir + "models\n";
        m_strFile = m_strDir + "lib.pkg";
        std::ofstream(m_strFile) << Header32("lib.pkg") << "[End]\n";
    }
    void TearDown() override {
        termCentralLibrary();
        std::error_code ec;
        fs::remove_all(m_strDir, ec);
    }
    static bool LibraryUp() {
        char szDir[CORVANE_DIR_SIZE];
        return findCentralLibraryFile("probe.ibs", szDir) != 0;
    }
    int ReadWith(const std::string& strLibrary) {
        IBIS* pIbis = nullptr;
        const int nResult = RDIBIS_ReadWithLibrary(strLibrary.c_str(), m_strFile.c_str(), nullptr, &pIbis);
        if (pIbis != nullptr) IBIS_Destroy(pIbis);
        return nResult;
    }
    std::string m_strDir;
    std::string m_strFile;
};

TEST_F(RdibisLibrary, LibraryIsTakenDownAfterEveryRead) {
    for (const char* pszLibrary : {"lib.PRJ", "lib.lmc", "lib.txt"}) {
        initCentralLibrary(0, (m_strDir + "lib.lmc").c_str());
        ASSERT_TRUE(LibraryUp());
        EXPECT_EQ(1, ReadWith(m_strDir + pszLibrary)) << pszLibrary;
        EXPECT_FALSE(LibraryUp()) << pszLibrary;
    }
    initCentralLibrary(0, (m_strDir + "lib.lmc").c_str());
    EXPECT_EQ(1, ReadWith(""));
    EXPECT_FALSE(LibraryUp());
    IBIS* pIbis = nullptr;
    EXPECT_EQ(1, RDIBIS_ReadWithLibrary(nullptr, m_strFile.c_str(), nullptr, &pIbis));
    IBIS_Destroy(pIbis);
}

TEST_F(RdibisLibrary, ResultIsTheReadsResult) {
    std::ofstream(m_strDir + "new.pkg") << "[IBIS Ver] 5.0\n";
    m_strFile = m_strDir + "new.pkg";
    EXPECT_EQ(0, ReadWith(m_strDir + "lib.PRJ"));
    EXPECT_EQ(0, ReadWith(""));
}

}  // namespace
