#include "api/cbs.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "component/ibs_text.h"
#include "support/log_capture.h"
#include "support/snippet.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& strText) {
    std::vector<std::string> lines;
    std::istringstream in(strText);
    for (std::string strLine; std::getline(in, strLine);) lines.push_back(strLine);
    return lines;
}

// Compares line by line, naming the first line that differs.
void ExpectSameLines(const std::string& strExpected, const std::string& strActual) {
    const std::vector<std::string> expected = Lines(strExpected);
    const std::vector<std::string> actual = Lines(strActual);
    for (size_t i = 0; i < expected.size() && i < actual.size(); ++i)
        ASSERT_EQ(expected[i], actual[i]) << "line " << i + 1;
    EXPECT_EQ(expected.size(), actual.size());
    EXPECT_EQ(strExpected, strActual);
}

std::string ScratchPath(const std::string& strName) { return WriteScratchFile(strName, ""); }

// Reads the IBIS text and writes the component to a scratch file; returns
// what was written ("<none>" when CBS_Write failed).
std::string Compile(const std::string& strIbsBody, const char* pszComponent = nullptr) {
    const std::string strOut = ScratchPath("out.cbs");
    fs::remove(strOut);
    int nWritten = 0;
    ReadIbs(strIbsBody, [&](IBIS* pIbis) { nWritten = CBS_Write(pIbis, strOut.c_str(), pszComponent); });
    return nWritten ? ReadFile(strOut) : "<none>";
}

const char* const kSupplyPins =
    "[Pin] signal_name model_name\n"
    "1 VDD POWER\n";

// A file needs a model of its own to be written.
const char* const kModel =
    "[Model] M\n"
    "Model_type Input\n"
    "C_comp 1p NA NA\n"
    "[Voltage Range] 3.3 NA NA\n";

// ------------------------------------------------------------ the layout

// Supply pins, differential and series partners, terminators, thresholds
// with their fall-backs, and a model whose pulldown alone has a minimum
// column: the expected file is written by hand beside the source.
TEST(CbsWrite, FullComponentMatchesTheHandWrittenFile) {
    const std::string strOut = ScratchPath("full.cbs");
    int nWritten = 0;
    ReadResult read = ReadPath(TAVELIN_TEST_DATA "/cbs/full.ibs", [&](IBIS* pIbis) {
        nWritten = CBS_Write(pIbis, strOut.c_str(), nullptr);
    });
    EXPECT_EQ("", read.strLog);
    ASSERT_EQ(1, nWritten);
    ExpectSameLines(ReadFile(TAVELIN_TEST_DATA "/cbs/full.cbs"), ReadFile(strOut));
}

TEST(CbsWrite, CopyrightQuotesAreDoubledBeforeTheCutAndNoPairIsSplit) {
    const std::string strX38(38, 'x');
    // Doubled: 38 x, two quotes, y: the cut at 40 keeps the pair.
    EXPECT_EQ("Copyright \"" + strX38 + "\"\"\"",
              Lines(Compile("[Copyright] " + strX38 + "\"y\n" + kComponentX + kSupplyPins + kModel))[1]);
    // Doubled: 39 x, two quotes, y: the cut at 40 would keep half a pair.
    EXPECT_EQ("Copyright \"" + strX38 + "x\"",
              Lines(Compile("[Copyright] " + strX38 + "x\"y\n" + kComponentX + kSupplyPins + kModel))[1]);
    // 50 characters, cut to 40.
    EXPECT_EQ("Copyright \"" + std::string(40, 'c') + "\"",
              Lines(Compile("[Copyright] " + std::string(50, 'c') + "\n" + kComponentX + kSupplyPins + kModel))[1]);
}

TEST(CbsWrite, QuotesInNamesAreDoubled) {
    const std::string strText = Compile(kComponentX +
                                        "[Pin] signal_name model_name\n"
                                        "1 a\"b POWER\n" +
                                        kModel);
    EXPECT_EQ("Pin \"1\" \"a\"\"b\" \"POWER\" 0 1", Lines(strText)[8]);
}

TEST(CbsWrite, ChoosesTheNamedOrTheOnlyComponent) {
    const std::string strTwo = kComponentX + kSupplyPins + "[Component] Y\n" + kManufacturerAndPackage +
                               "[Pin] signal_name model_name\n2 VSS GND\n" + kModel;
    EXPECT_EQ("Component \"Y\"", Lines(Compile(strTwo, "y"))[2]);
    EXPECT_EQ("Component \"X\"", Lines(Compile(strTwo, "X"))[2]);
    const std::string strOut = ScratchPath("none.cbs");
    fs::remove(strOut);
    ReadIbs(strTwo, [&](IBIS* pIbis) {
        LogCapture log;
        EXPECT_EQ(0, CBS_Write(pIbis, strOut.c_str(), nullptr));
        EXPECT_EQ(0, CBS_Write(pIbis, strOut.c_str(), "Z"));
        EXPECT_EQ(1, CBS_Write(pIbis, nullptr, "X"));
        EXPECT_EQ(1, CBS_Write(pIbis, "-", "X"));
        EXPECT_EQ("ERROR  - No Component Name supplied and IBIS file contains multiple entries\n"
                  "ERROR  - Unable to find component \"Z\" in ibis file\n",
                  log.Text());
    });
    EXPECT_FALSE(fs::exists(strOut));
    EXPECT_FALSE(fs::exists("-"));
}

TEST(CbsWrite, ModelTypesOfSeriesModelsTakeTwoDigits) {
    const std::string strText = ReadFile(TAVELIN_TEST_DATA "/cbs/full.cbs");
    EXPECT_NE(std::string::npos, strText.find("\nPin \"10\" \"X1\" \"SERX\" 0 16\n"));
    EXPECT_NE(std::string::npos, strText.find("\nPin \"11\" \"X2\" \"SWX\" 0 17\n"));
}

// ------------------------------------------------------------ the output file

TEST(CbsWrite, AnOutputThatCannotBeOpenedIsReported) {
    const std::string strOut = ScratchPath("x") + ".dir/missing/out.cbs";
    ReadIbs(kComponentX + kSupplyPins + kModel, [&](IBIS* pIbis) {
        LogCapture log;
        EXPECT_EQ(0, CBS_Write(pIbis, strOut.c_str(), nullptr));
        EXPECT_EQ("ERROR  - Unable to open output file.\n"
                  "ERROR  - Unable to open file \"" + strOut + "\"\n",
                  log.Text());
    });
}

// A write that fails half way (here: the file size limit) leaves the good
// file of the same name as it was and no partial file beside it.
TEST(CbsWrite, AFailedWriteNeverReplacesTheGoodFile) {
    const std::string strOut = WriteScratchFile("good.cbs", "File_Rev 3 0\n");
    std::string strBody = kComponentX + "[Pin] signal_name model_name\n";
    for (int i = 1; i <= 300; ++i) strBody += std::to_string(i) + " S" + std::to_string(i) + " POWER\n";
    strBody += kModel;
    struct sigaction ignore {}, old {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &old);
    rlimit limit{}, saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    ReadIbs(strBody, [&](IBIS* pIbis) {
        LogCapture log;
        limit = saved;
        limit.rlim_cur = 2000;
        setrlimit(RLIMIT_FSIZE, &limit);
        const int nWritten = CBS_Write(pIbis, strOut.c_str(), nullptr);
        setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_EQ(0, nWritten);
        EXPECT_EQ("ERROR  - Unable to close output file.\n", log.Text());
    });
    sigaction(SIGXFSZ, &old, nullptr);
    EXPECT_EQ("File_Rev 3 0\n", ReadFile(strOut));
    for (const auto& entry : fs::directory_iterator(fs::path(strOut).parent_path()))
        EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".tmp"));
    // Without the limit the same write replaces the file.
    ReadIbs(strBody, [&](IBIS* pIbis) { EXPECT_EQ(1, CBS_Write(pIbis, strOut.c_str(), nullptr)); });
    EXPECT_EQ("Num_Pins 300", Lines(ReadFile(strOut))[7]);
}

}  // namespace
