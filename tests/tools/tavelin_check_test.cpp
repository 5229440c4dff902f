// The `tavelin check` command, run as users run it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/snippet.h"
#include "support/tool_run.h"

namespace {

std::string Banner(const std::string& strName) {
    return "\nChecking " + strName + " for IBIS 3.2 Compatibility...\n\n";
}

class TavelinCheck : public ::testing::Test {
protected:
    void SetUp() override {
        m_strClean = WriteScratchFile("clean.pkg", Header32("clean.pkg") + "[End]\n");
        m_strBad = WriteScratchFile("bad.pkg", Header32("bad.pkg") +
                                                   "|" + std::string(80, 'x') + "\n"   // 4
                                                   "[Bogus] keyword\n"                 // 5
                                                   "data of a keyword nobody knows\n"  // 6
                                                   "[End]\n");
        m_strNew = WriteScratchFile("new.pkg", "[IBIS Ver] 5.0\n[End]\n");
    }
    std::string m_strClean, m_strBad, m_strNew;
};

TEST_F(TavelinCheck, CleanFile) {
    ToolRun run = RunTool("check " + m_strClean);
    EXPECT_EQ(Banner("clean.pkg"), run.strOut);
    EXPECT_EQ(m_strClean + ": 0 errors, 0 warnings, 0 program bugs\n", run.strErr);
    EXPECT_EQ(0, run.nStatus);
}

TEST_F(TavelinCheck, FindingsAsTheCompileLogHoldsThem) {
    ToolRun run = RunTool("check " + m_strBad);
    EXPECT_EQ(Banner("bad.pkg") +
                  "WARNING  (line    4) - Exceeds official IBIS maximum length of 80 chararacters.\n"
                  "ERROR  (line    5) - Invalid Keyword. Bogus\n"
                  "ERROR  (line    6) - Data for unknown keyword.\ndata of a keyword nobody knows\n",
              run.strOut);
    EXPECT_EQ(m_strBad + ": 2 errors, 1 warnings, 0 program bugs\n", run.strErr);
    EXPECT_EQ(1, run.nStatus);
}

TEST_F(TavelinCheck, UnreadableFiles) {
    ToolRun run = RunTool("check " + m_strNew);
    EXPECT_EQ("ERROR  - Unrecognized IBIS Version\n", run.strOut);
    EXPECT_EQ(m_strNew + ": 1 errors, 0 warnings, 0 program bugs\n", run.strErr);
    EXPECT_EQ(2, run.nStatus);

    const std::string strMissing = m_strClean.substr(0, m_strClean.rfind('/')) + "/missing.pkg";
    run = RunTool("check " + strMissing);
    EXPECT_EQ("ERROR  - Unable To Open File '" + strMissing + "'\nERROR  - Unrecognized IBIS Version\n",
              run.strOut);
    EXPECT_EQ(2, run.nStatus);

    const std::string strText = WriteScratchFile("notes.txt", Header32("notes.txt") + "[End]\n");
    run = RunTool("check " + strText);
    EXPECT_EQ("ERROR  - Unrecognized IBIS Version\n", run.strOut);
    EXPECT_EQ(2, run.nStatus);
}

TEST_F(TavelinCheck, SeveralFilesOneSummaryLineEachAndTheWorstStatus) {
    ToolRun run = RunTool("check " + m_strClean + " " + m_strBad);
    EXPECT_EQ(m_strClean + ": 0 errors, 0 warnings, 0 program bugs\n" +
                  m_strBad + ": 2 errors, 1 warnings, 0 program bugs\n",
              run.strErr);
    EXPECT_EQ(1, run.nStatus);
    run = RunTool("check " + m_strNew + " " + m_strClean);
    EXPECT_EQ(2, run.nStatus);
    EXPECT_EQ("ERROR  - Unrecognized IBIS Version\n" + Banner("clean.pkg"), run.strOut);
}

TEST_F(TavelinCheck, IndentAndName) {
    const std::string strWrapped = WriteScratchFile("wrap.pkg", "[IBIS Ver] 3.2\n"
                                                                "[File Name] other.pkg\n"
                                                                "[File Rev] 1.0\n"
                                                                "[End]\n");
    ToolRun run = RunTool("check --indent 4 " + strWrapped);
    EXPECT_EQ(Banner("wrap.pkg") +
                  "    ERROR  (line    2) -\n"
                  "    File name opened 'wrap.pkg' not the same as File_name 'other.pkg'.\n",
              run.strOut);

    run = RunTool("check --name " + m_strBad + " " + m_strNew + " --indent 2");
    EXPECT_EQ(Banner("bad.pkg") +
                  "  WARNING " + m_strBad + " (line    4) - Exceeds official IBIS maximum length of 80 chararacters.\n"
                  "  ERROR " + m_strBad + " (line    5) - Invalid Keyword. Bogus\n"
                  "  ERROR " + m_strBad + " (line    6) - Data for unknown keyword.\ndata of a keyword nobody knows\n"
                  "  ERROR " + m_strNew + " - Unrecognized IBIS Version\n",
              run.strOut);
    EXPECT_EQ(2, run.nStatus);
}

TEST_F(TavelinCheck, UsageErrors) {
    for (const char* pszArguments : {"", "check", "check --indent", "check --indent -1 x.pkg",
                                     "check --indent 4x x.pkg", "check --quiet x.pkg", "verify x.pkg"}) {
        ToolRun run = RunTool(pszArguments);
        EXPECT_EQ(2, run.nStatus) << pszArguments;
        EXPECT_EQ("", run.strOut) << pszArguments;
        EXPECT_NE(std::string::npos, run.strErr.find("usage: tavelin check [--indent N] [--name] FILE..."))
            << pszArguments;
    }
    ToolRun run = RunTool("--help");
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ(0u, run.strOut.find("usage: tavelin check [--indent N] [--name] FILE...\n"));
    run = RunTool("--version");
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ(0u, run.strOut.find("tavelin "));
}

}  // namespace
