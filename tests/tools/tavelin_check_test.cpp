// The `tavelin check` command, run as users run it: the compile log as it
// is, the same findings as compiler lines and as JSON, folders, several
// files in one run, refused files with their reasons, and usage errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "support/snippet.h"
#include "support/tool_run.h"

namespace fs = std::filesystem;

namespace {

std::string Banner(const std::string& strName) {
    return "\nChecking " + strName + " for IBIS 3.2 Compatibility...\n\n";
}

const char* const kTotalsClean = "tavelin: 1 files, 0 errors, 0 warnings, 0 program bugs, 0 unreadable\n";

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
        m_strDir = m_strClean.substr(0, m_strClean.rfind('/'));
    }
    std::string m_strClean, m_strBad, m_strNew, m_strDir;
};

TEST_F(TavelinCheck, TextIsTheCompileLog) {
    ToolRun run = RunTool("check " + m_strClean);
    EXPECT_EQ(Banner("clean.pkg"), run.strOut);
    EXPECT_EQ(m_strClean + ": 0 errors, 0 warnings, 0 program bugs\n" + kTotalsClean, run.strErr);
    EXPECT_EQ(0, run.nStatus);

    run = RunTool("check " + m_strBad);
    EXPECT_EQ(Banner("bad.pkg") +
                  "WARNING  (line    4) - Exceeds official IBIS maximum length of 80 chararacters.\n"
                  "ERROR  (line    5) - Invalid Keyword. Bogus\n"
                  "ERROR  (line    6) - Data for unknown keyword.\ndata of a keyword nobody knows\n",
              run.strOut);
    EXPECT_EQ(m_strBad + ": 2 errors, 1 warnings, 0 program bugs\n"
                  "tavelin: 1 files, 2 errors, 1 warnings, 0 program bugs, 0 unreadable\n",
              run.strErr);
    EXPECT_EQ(1, run.nStatus);

    run = RunTool("check -q " + m_strBad);
    EXPECT_EQ("", run.strOut);
    EXPECT_EQ("tavelin: 1 files, 2 errors, 1 warnings, 0 program bugs, 0 unreadable\n", run.strErr);
    EXPECT_EQ(1, run.nStatus);
}

// One file with a finding without a line, a wrapped one and one whose text
// spans two lines, in the three formats.
TEST_F(TavelinCheck, TheSameFindingsInEveryFormat) {
    const std::string strPath = WriteScratchFile("formats.pkg", "[IBIS Ver] 3.2\n"
                                                                "[File Name] other.pkg\n"  // 2
                                                                "[File Rev] 1.0\n"
                                                                "[Bogus] keyword\n"        // 4
                                                                "data nobody knows\n");    // 5
    const ToolRun text = RunTool("check " + strPath);
    EXPECT_EQ(Banner("formats.pkg") +
                  "ERROR  (line    2) -\n"
                  "    File name opened 'formats.pkg' not the same as File_name 'other.pkg'.\n"
                  "ERROR  (line    4) - Invalid Keyword. Bogus\n"
                  "ERROR  (line    5) - Data for unknown keyword.\ndata nobody knows\n"
                  "ERROR  - Required keyword 'End' not found.\n",
              text.strOut);

    const ToolRun gcc = RunTool("check --format gcc " + strPath);
    EXPECT_EQ(strPath + ":2: error: File name opened 'formats.pkg' not the same as File_name 'other.pkg'.\n" +
                  strPath + ":4: error: Invalid Keyword. Bogus\n" +
                  strPath + ":5: error: Data for unknown keyword. data nobody knows\n" +
                  strPath + ": error: Required keyword 'End' not found.\n",
              gcc.strOut);
    EXPECT_EQ(1, gcc.nStatus);

    const ToolRun json = RunTool("check --format json " + strPath);
    EXPECT_EQ(1, json.nStatus);
    const nlohmann::json doc = nlohmann::json::parse(json.strOut);
    const nlohmann::json& file = doc["files"][0];
    EXPECT_EQ(strPath, file["path"]);
    EXPECT_EQ("3.2", file["ibis_version"]);
    EXPECT_TRUE(file["refused"].is_null());
    EXPECT_EQ(4, file["errors"]);
    const nlohmann::json expected = nlohmann::json::parse(R"([
        {"level": "error", "line": 2,
         "text": "File name opened 'formats.pkg' not the same as File_name 'other.pkg'."},
        {"level": "error", "line": 4, "text": "Invalid Keyword. Bogus"},
        {"level": "error", "line": 5, "text": "Data for unknown keyword.\ndata nobody knows"},
        {"level": "error", "line": null, "text": "Required keyword 'End' not found."}])");
    ASSERT_EQ(expected.size(), file["findings"].size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i]["level"], file["findings"][i]["level"]);
        EXPECT_EQ(expected[i]["line"], file["findings"][i]["line"]);
        EXPECT_EQ(expected[i]["text"], file["findings"][i]["text"]);
        EXPECT_EQ(strPath, file["findings"][i]["file"]);
    }
    EXPECT_EQ(nlohmann::json::parse(R"({"files": 1, "errors": 4, "warnings": 0, "bugs": 0, "unreadable": 0})"),
              doc["totals"]);
}

// The file name is echoed by the path and the findings as it is: quotes,
// a backslash (a separator to the reader), control characters and bytes
// that are not UTF-8 included.
TEST_F(TavelinCheck, JsonStaysValidWhateverTheFileHolds) {
    const std::string strName = "odd\"q\\b\x01\x1f\xe9\xe2\x82.pkg";
    const std::string strPath = WriteScratchFile(strName, Header32("other.pkg") + "[End]\n");
    const ToolRun run = RunTool("check --format json '" + strPath + "'");
    const nlohmann::json doc = nlohmann::json::parse(run.strOut);
    const nlohmann::json& findings = doc["files"][0]["findings"];
    ASSERT_EQ(1u, findings.size());
    // Control characters come through escaped, bytes that are not UTF-8
    // as U+FFFD.
    const std::string strShown = "b\x01\x1f\xef\xbf\xbd\xef\xbf\xbd.pkg";
    EXPECT_EQ("File name opened '" + strShown + "' not the same as File_name 'other.pkg'.",
              findings[0]["text"].get<std::string>());
    EXPECT_EQ(m_strDir + "/odd\"q\\" + strShown, doc["files"][0]["path"].get<std::string>());
    EXPECT_NE(std::string::npos, run.strOut.find("\\u0001\\u001f"));
}

// Each file of a run gets what it gets alone: the tab warning, given once
// in a read, is given again in the next file.
TEST_F(TavelinCheck, SeveralFilesEachAsIfAlone) {
    const std::string strTabA = WriteScratchFile("taba.pkg", Header32("taba.pkg") + "|\tnote\n[End]\n");
    const std::string strTabB = WriteScratchFile("tabb.pkg", Header32("tabb.pkg") + "|\tnote\n[End]\n");
    const std::string strTab = "WARNING  (line    4) - IBIS files should not contain tab characters.\n";
    const ToolRun run = RunTool("check " + strTabA + " " + strTabB + " " + m_strNew);
    EXPECT_EQ(Banner("taba.pkg") + strTab + Banner("tabb.pkg") + strTab + "ERROR  - Unrecognized IBIS Version\n",
              run.strOut);
    EXPECT_EQ(strTabA + ": 0 errors, 1 warnings, 0 program bugs\n" +
                  strTabB + ": 0 errors, 1 warnings, 0 program bugs\n" +
                  "tavelin: " + m_strNew + ": IBIS version 5.0 is not read (this tool reads 1.x–3.x)\n" +
                  m_strNew + ": 1 errors, 0 warnings, 0 program bugs\n" +
                  "tavelin: 3 files, 1 errors, 2 warnings, 0 program bugs, 1 unreadable\n",
              run.strErr);
    EXPECT_EQ(2, run.nStatus);
}

TEST_F(TavelinCheck, RefusedFilesSayWhy) {
    const std::string strEmpty = WriteScratchFile("empty.ibs", "");
    const std::string strUtf16 = WriteScratchFile("wide.ibs", std::string("\xff\xfe[\0I\0B\0I\0S\0", 12));
    const std::string strText = WriteScratchFile("notes.txt", Header32("notes.txt") + "[End]\n");
    const std::string strMissing = m_strDir + "/missing.pkg";
    const struct {
        std::string strPath;
        std::string strLog;
        std::string strWhy;
    } cases[] = {
        {strMissing, "ERROR  - Unable To Open File '" + strMissing + "'\nERROR  - Unrecognized IBIS Version\n",
         "No such file or directory"},
        {strEmpty, "ERROR  - Unrecognized IBIS Version\n", "not an IBIS file: no [IBIS Ver] line"},
        {strUtf16, "ERROR  - Unrecognized IBIS Version\n", "not an IBIS file: no [IBIS Ver] line"},
        {strText, "ERROR  - Unrecognized IBIS Version\n",
         "unknown file extension: only .ibs, .pkg and .ebd files are read"},
        {m_strNew, "ERROR  - Unrecognized IBIS Version\n",
         "IBIS version 5.0 is not read (this tool reads 1.x–3.x)"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool("check " + c.strPath);
        EXPECT_EQ(c.strLog, run.strOut) << c.strPath;
        EXPECT_EQ(0u, run.strErr.find("tavelin: " + c.strPath + ": " + c.strWhy + "\n")) << run.strErr;
        EXPECT_EQ(2, run.nStatus) << c.strPath;
        const ToolRun json = RunTool("check --format json " + c.strPath);
        EXPECT_EQ(c.strWhy, nlohmann::json::parse(json.strOut)["files"][0]["refused"]) << c.strPath;
    }
}

// A folder of mixed files: nested, upper-case extensions, a link back up
// that must not be walked twice, a link to nothing, files of other kinds.
TEST_F(TavelinCheck, FoldersAreWalked) {
    const fs::path root = fs::path(m_strDir) / "models";
    fs::remove_all(root);
    fs::create_directories(root / "sub" / "deeper");
    fs::copy_file(m_strClean, root / "a.pkg");
    fs::copy_file(m_strBad, root / "sub" / "B.PKG");
    fs::copy_file(m_strClean, root / "sub" / "deeper" / "c.Pkg");
    std::ofstream(root / "readme.txt") << "not a model\n";
    fs::create_directory_symlink("..", root / "sub" / "loop");
    fs::create_symlink("nowhere.ibs", root / "gone.ibs");

    const ToolRun run = RunTool("check -q --format gcc " + root.string());
    EXPECT_EQ("", run.strOut);
    // Every copy draws a file name error beside its own findings; the link
    // to nothing is refused with two.
    EXPECT_EQ("tavelin: 4 files, 7 errors, 1 warnings, 0 program bugs, 1 unreadable\n", run.strErr);
    EXPECT_EQ(2, run.nStatus);

    const ToolRun json = RunTool("check --format json " + root.string() + " " + m_strClean);
    std::vector<std::string> paths;
    const nlohmann::json doc = nlohmann::json::parse(json.strOut);
    for (const auto& file : doc["files"]) paths.push_back(file["path"]);
    const std::string strRoot = root.string();
    EXPECT_EQ((std::vector<std::string>{strRoot + "/a.pkg", strRoot + "/gone.ibs", strRoot + "/sub/B.PKG",
                                        strRoot + "/sub/deeper/c.Pkg", m_strClean}),
              paths);
}

TEST_F(TavelinCheck, UsageErrorsGiveAReasonAndTheUsage) {
    const struct {
        const char* pszArguments;
        const char* pszReason;
    } cases[] = {
        {"", "tavelin: a command is needed\n"},
        {"check", "tavelin: paths is required\n"},
        {"check --indent", "tavelin: --indent: 1 required INT:INT in [0 - 80] missing\n"},
        {"check --indent 81 x.pkg", "tavelin: --indent: Value 81 not in range 0 to 80\n"},
        {"check --format xml x.pkg", "tavelin: --format: xml not in {text,gcc,json}\n"},
        {"check --fast x.pkg", "tavelin: The following argument was not expected: --fast\n"},
        {"verify x.pkg", "tavelin: The following arguments were not expected: x.pkg verify\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.pszArguments);
        EXPECT_EQ(3, run.nStatus) << c.pszArguments;
        EXPECT_EQ("", run.strOut) << c.pszArguments;
        EXPECT_EQ(0u, run.strErr.find(c.pszReason)) << run.strErr;
        EXPECT_NE(std::string::npos, run.strErr.find("\nUsage: ")) << c.pszArguments;
    }
    // After "--" a name that looks like an option is a file.
    const ToolRun dashed = RunTool("check -- --fast.pkg");
    EXPECT_EQ(2, dashed.nStatus);
    EXPECT_EQ(0u, dashed.strErr.find("tavelin: --fast.pkg: No such file or directory\n"));

    ToolRun run = RunTool("check --help");
    EXPECT_EQ(0, run.nStatus);
    EXPECT_NE(std::string::npos, run.strOut.find("Indent every finding by N blanks, 0 to 80"));
    EXPECT_NE(std::string::npos, run.strOut.find("Example: tavelin check --format gcc models/"));
    run = RunTool("--version");
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ(0u, run.strOut.find("tavelin "));
    EXPECT_NE(std::string::npos, run.strOut.find("versions 1.x to 3.x"));
}

TEST_F(TavelinCheck, AnOutputThatCannotBeWrittenFailsTheRun) {
    for (const char* pszFormat : {"text", "gcc", "json"}) {
        const ToolRun run = RunTool("check --format " + std::string(pszFormat) + " " + m_strBad + " >/dev/full");
        EXPECT_EQ(2, run.nStatus) << pszFormat;
        EXPECT_EQ("tavelin: standard output cannot be written: No space left on device\n",
                  run.strErr.substr(run.strErr.find("tavelin: standard output"))) << pszFormat;
    }
}

}  // namespace
