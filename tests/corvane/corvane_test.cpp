#include "corvane.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class CentralLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        char szTemplate[] = "/tmp/tavelin-corvane-XXXXXX";
        ASSERT_NE(mkdtemp(szTemplate), nullptr);
        strScratch = szTemplate;
    }
    void TearDown() override {
        termCentralLibrary();
        std::error_code ec;
        fs::remove_all(strScratch, ec);
    }
    // Writes a file (making its directories) below the scratch directory.
    std::string Write(const std::string& strRelative, const std::string& strText = "x\n") {
        fs::path path = fs::path(strScratch) / strRelative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << strText;
        return path.string();
    }
    std::string Dir(const std::string& strRelative) const { return strScratch + "/" + strRelative + "/"; }
    // The directory found for the name, or "-" when not found.
    static std::string Find(const char* pszName) {
        std::vector<char> dir(CORVANE_DIR_SIZE, 'z');  // exactly the size, so overruns are seen
        if (!findCentralLibraryFile(pszName, dir.data())) return "-";
        return dir.data();
    }

    std::string strScratch;
};

}  // namespace

TEST_F(CentralLibrary, FindsExactNameThenAnyCase) {
    Write("models/board.ebd");
    Write("models/Part.IBS");
    initCentralLibrary(0, Write("central.lmc", strScratch + "/models\n").c_str());
    EXPECT_EQ(Find("board.ebd"), Dir("models"));
    EXPECT_EQ(Find("part.ibs"), Dir("models"));
    EXPECT_EQ(Find("BOARD.EBD"), Dir("models"));
    EXPECT_EQ(Find("other.ibs"), "-");
}

TEST_F(CentralLibrary, FirstListedDirectoryWinsAndExactBeatsCaseBlind) {
    Write("a/x.ibs");
    Write("b/x.ibs");
    Write("a/Y.ibs");
    Write("b/y.ibs");
    initCentralLibrary(1, Write("lib.prj", strScratch + "/b\n" + strScratch + "/a\n").c_str());
    EXPECT_EQ(Find("x.ibs"), Dir("b"));
    EXPECT_EQ(Find("Y.ibs"), Dir("a"));
    EXPECT_EQ(Find("y.ibs"), Dir("b"));
}

TEST_F(CentralLibrary, RelativeDirectoriesAreMeantFromTheLibraryFile) {
    Write("lib/sub/a.ibs");
    Write("models/deep/b.ibs");
    initCentralLibrary(0, Write("lib/central.lmc", "sub\n..\\models\\deep\n").c_str());
    EXPECT_EQ(Find("a.ibs"), Dir("lib/sub"));
    EXPECT_EQ(Find("b.ibs"), Dir("lib/../models/deep"));
}

TEST_F(CentralLibrary, SkipsCommentsAndBlankLinesAndTrimsLines) {
    Write("lib/#hidden/a.ibs");
    Write("m/a.ibs");
    Write("m/b.ibs");
    initCentralLibrary(0, Write("lib/central.lmc",
                                "# comment\r\n"
                                "   #hidden\r\n"
                                "\r\n"
                                "  \t \r\n"
                                "  " + strScratch + "/m/ \t\r\n")
                              .c_str());
    EXPECT_EQ(Find("a.ibs"), Dir("m"));
    EXPECT_EQ(Find("b.ibs"), Dir("m"));
}

TEST_F(CentralLibrary, MissingOrUnusableLibraryLeavesItEmpty) {
    Write("m/a.ibs");
    std::string strList = strScratch + "/m\n";
    initCentralLibrary(0, (strScratch + "/none.lmc").c_str());
    EXPECT_EQ(Find("a.ibs"), "-");
    initCentralLibrary(0, strScratch.c_str());
    EXPECT_EQ(Find("a.ibs"), "-");
    initCentralLibrary(0, nullptr);
    EXPECT_EQ(Find("a.ibs"), "-");
    initCentralLibrary(2, Write("lib.lmc", strList).c_str());
    EXPECT_EQ(Find("a.ibs"), "-");
}

TEST_F(CentralLibrary, TermForgetsAndInitReplaces) {
    Write("a/one.ibs");
    Write("b/two.ibs");
    std::string strLibA = Write("a.lmc", strScratch + "/a\n");
    std::string strLibB = Write("b.lmc", strScratch + "/b\n");
    initCentralLibrary(0, strLibA.c_str());
    EXPECT_EQ(Find("one.ibs"), Dir("a"));
    termCentralLibrary();
    EXPECT_EQ(Find("one.ibs"), "-");
    initCentralLibrary(0, strLibA.c_str());
    initCentralLibrary(0, strLibB.c_str());
    EXPECT_EQ(Find("one.ibs"), "-");
    EXPECT_EQ(Find("two.ibs"), Dir("b"));
}

TEST_F(CentralLibrary, WhatIsNoPlainFileNameIsAMiss) {
    Write("m/sub/a.ibs");
    Write("m/dir.ibs/inner");
    initCentralLibrary(0, Write("lib.lmc", strScratch + "/m\n").c_str());
    EXPECT_EQ(Find("dir.ibs"), "-");
    EXPECT_EQ(Find("sub/a.ibs"), "-");
    EXPECT_EQ(Find("sub\\a.ibs"), "-");
    EXPECT_EQ(Find((strScratch + "/m/sub/a.ibs").c_str()), "-");
    EXPECT_EQ(Find(""), "-");
    EXPECT_EQ(Find(nullptr), "-");
    EXPECT_EQ(findCentralLibraryFile("a.ibs", nullptr), 0);
}

TEST_F(CentralLibrary, NamesAndDirectoriesTooLongForTheBufferAreMisses) {
    std::string strLong(CORVANE_DIR_SIZE, 'n');
    EXPECT_EQ(Find(strLong.c_str()), "-");

    // A directory whose name with its '/' needs CORVANE_DIR_SIZE characters
    // plus the terminator does not fit, and a later directory is not taken instead.
    std::string strDeep;
    while (strDeep.size() < CORVANE_DIR_SIZE) strDeep += "/" + std::string(200, 'd');
    strDeep.resize(CORVANE_DIR_SIZE - 1 - strScratch.size());
    ASSERT_NE(strDeep.back(), '/');
    Write(strDeep.substr(1) + "/a.ibs");
    Write("short/a.ibs");
    initCentralLibrary(0, Write("lib.lmc", strScratch + strDeep + "\n" + strScratch + "/short\n").c_str());
    EXPECT_EQ(Find("a.ibs"), "-");

    // One character less fits exactly.
    std::string strFits = strDeep.substr(0, strDeep.size() - 1);
    Write(strFits.substr(1) + "/b.ibs");
    initCentralLibrary(0, Write("lib.lmc", strScratch + strFits + "\n").c_str());
    EXPECT_EQ(Find("b.ibs"), strScratch + strFits + "/");
    EXPECT_EQ(Find("b.ibs").size(), CORVANE_DIR_SIZE - 1u);
}
