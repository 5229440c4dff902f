// The `tavelin compile` command, run as users run it: in a directory of
// its own, with the IBIS file beside the output.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "support/corpus.h"
#include "support/snippet.h"
#include "support/tool_run.h"

namespace fs = std::filesystem;

namespace {

class TavelinCompile : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::path(WriteScratchFile("compile-marker", "")).parent_path() / "compile";
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    // Runs the tool in the test's directory.
    ToolRun Run(const std::string& strArguments) { return RunTool(strArguments, m_dir.string()); }
    void Put(const std::string& strName, const std::string& strText) {
        std::ofstream(m_dir / strName, std::ios::binary) << strText;
    }
    bool Exists(const std::string& strName) const { return fs::exists(m_dir / strName); }
    std::string Get(const std::string& strName) const { return ReadText((m_dir / strName).string()); }
    // The names in the directory, sorted.
    std::string Listing() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir)) names.insert(entry.path().filename().string());
        std::string str;
        for (const std::string& strName : names) str += strName + " ";
        return str;
    }

    fs::path m_dir;
};

const char* const kBanner = "\nChecking full.ibs for IBIS 3.2 Compatibility...\n\n";

TEST_F(TavelinCompile, WritesTheOnlyComponent) {
    Put("full.ibs", ReadText(TAVELIN_TEST_DATA "/cbs/full.ibs"));
    const ToolRun run = Run("compile --indent 0 full.ibs -o full.cbs");
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ(kBanner, run.strOut);
    EXPECT_EQ("full.ibs: 0 errors, 0 warnings, 0 program bugs\n", run.strErr);
    EXPECT_EQ(ReadText(TAVELIN_TEST_DATA "/cbs/full.cbs"), Get("full.cbs"));
    // The component named in other letter case; no option before the file.
    const ToolRun named = Run("compile full.ibs full -o again.cbs");
    EXPECT_EQ(0, named.nStatus);
    EXPECT_EQ(Get("full.cbs"), Get("again.cbs"));
}

TEST_F(TavelinCompile, ErrorsWriteNothingAndKeepAnEarlierFile) {
    std::string strText = ReadText(TAVELIN_TEST_DATA "/cbs/full.ibs");
    strText.replace(strText.find("Model_type Output"), 17, "Model_type Outpt");
    Put("full.ibs", strText);
    Put("full.cbs", "File_Rev 3 0\n");
    const ToolRun run = Run("compile --indent 2 full.ibs -o full.cbs");
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ(std::string(kBanner) + "  ERROR  (line   88) - Invalid Model_type (\"Outpt\")\n",
              run.strOut.substr(0, run.strOut.find('\n', strlen(kBanner)) + 1));
    EXPECT_EQ("File_Rev 3 0\n", Get("full.cbs"));
    EXPECT_EQ("full.cbs full.ibs ", Listing());
}

TEST_F(TavelinCompile, SeveralComponentsNeedAName) {
    std::string strText = ReadText(TAVELIN_TEST_DATA "/cbs/full.ibs");
    strText.insert(strText.find("[Model] IOX"),
                   "[Component] Second\n[Manufacturer] M\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\n"
                   "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 A IOX\n");
    strText.replace(strText.find("full.ibs"), 8, "two.ibs");
    Put("two.ibs", strText);
    const ToolRun run = Run("compile two.ibs -o two.cbs");
    EXPECT_EQ(2, run.nStatus);
    EXPECT_EQ("two.ibs: 0 errors, 0 warnings, 0 program bugs\n"
              "two.ibs: 2 components; name one of them:\n"
              "  FULL\n"
              "  Second\n",
              run.strErr);
    EXPECT_FALSE(Exists("two.cbs"));
    const ToolRun unknown = Run("compile two.ibs Third -o two.cbs");
    EXPECT_EQ(2, unknown.nStatus);
    EXPECT_EQ("two.ibs: 0 errors, 0 warnings, 0 program bugs\n"
              "two.ibs: no component \"Third\"\n"
              "  FULL\n"
              "  Second\n",
              unknown.strErr);
    EXPECT_FALSE(Exists("two.cbs"));
    const ToolRun second = Run("compile two.ibs SECOND -o two.cbs");
    EXPECT_EQ(0, second.nStatus);
    EXPECT_NE(std::string::npos, Get("two.cbs").find("\nComponent \"Second\"\nManufacturer \"M\"\n"));
}

TEST_F(TavelinCompile, AnOutputThatCannotBeWrittenIsReported) {
    Put("full.ibs", ReadText(TAVELIN_TEST_DATA "/cbs/full.ibs"));
    const ToolRun run = Run("compile full.ibs -o no/such/dir/full.cbs");
    EXPECT_EQ(2, run.nStatus);
    EXPECT_EQ("full.ibs: 0 errors, 0 warnings, 0 program bugs\n"
              "ERROR  - Unable to open output file.\n"
              "ERROR  - Unable to open file \"no/such/dir/full.cbs\"\n",
              run.strErr);
}

TEST_F(TavelinCompile, UnusableInputAndUsageErrors) {
    Put("new.ibs", "[IBIS Ver] 5.0\n[End]\n");
    EXPECT_EQ(2, Run("compile new.ibs -o new.cbs").nStatus);
    EXPECT_EQ(2, Run("compile missing.ibs -o missing.cbs").nStatus);
    EXPECT_FALSE(Exists("new.cbs"));
    EXPECT_EQ(3, Run("compile new.ibs").nStatus);
    EXPECT_EQ(3, Run("compile -o new.cbs").nStatus);
    EXPECT_EQ(3, Run("compile new.ibs A B -o new.cbs").nStatus);
    EXPECT_EQ(3, Run("compile --fast new.ibs -o new.cbs").nStatus);
    EXPECT_EQ(3, Run("compile --indent x new.ibs -o new.cbs").nStatus);
    EXPECT_EQ(3, Run("compile new.ibs -o a.cbs -o b.cbs").nStatus);
    const ToolRun usage = Run("compile new.ibs");
    EXPECT_EQ(0u, usage.strErr.find("tavelin: --output is required\nCheck one IBIS file and compile"));
    EXPECT_NE(std::string::npos, usage.strErr.find("Usage: compile [OPTIONS] file [component]"));
}

}  // namespace
