#include "core/diag.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>

#include "core/lines.h"
#include "support/log_capture.h"

namespace {

// Every test writes into a log of its own and leaves the diagnostics as the
// rest of the tests expect them: no log, indent 0, empty shown name.
class DiagTest : public ::testing::Test {
protected:
    // The log written since the last check.
    std::string TakeLog() { return m_log.Take(); }

    void GoToLine(unsigned long ulLine) { m_log.GoToLine(ulLine); }

    static std::string Counts() {
        int nErrors = -1, nWarnings = -1, nBugs = -1;
        DIAG_GetCounts(&nErrors, &nWarnings, &nBugs);
        return std::to_string(nErrors) + "/" + std::to_string(nWarnings) + "/" +
               std::to_string(nBugs);
    }

    LogCapture m_log;
};

std::string Text(size_t nLength) { return std::string(nLength, 'x'); }

TEST_F(DiagTest, LayoutsOfTheSixReporters) {
    GoToLine(7);
    DIAG_Error("Bad %s.", "value");
    DIAG_ErrorLine("Bad %d.", 3);
    DIAG_Warning("Odd.");
    DIAG_WarningLine("Odd.");
    DIAG_Bug("%s:%d:broken", "mdl", 12);
    DIAG_BugLine("broken");
    EXPECT_EQ(TakeLog(),
              "ERROR  - Bad value.\n"
              "ERROR  (line    7) - Bad 3.\n"
              "WARNING  - Odd.\n"
              "WARNING  (line    7) - Odd.\n"
              "PROGRAM BUG  - mdl:12:broken\n"
              "PROGRAM BUG  (line    7) - broken\n");
    EXPECT_EQ(Counts(), "2/2/2");
}

TEST_F(DiagTest, LineNumberIsRightAlignedInFourPlacesAndWidens) {
    GoToLine(1234);
    DIAG_ErrorLine("a");
    PARSE_NextLine();
    DIAG_ErrorLine("b");
    GoToLine(123456);
    DIAG_WarningLine("c");
    EXPECT_EQ(TakeLog(),
              "ERROR  (line 1234) - a\n"
              "ERROR  (line 1235) - b\n"
              "WARNING  (line 123456) - c\n");
}

TEST_F(DiagTest, ErrorsWithoutLineWrapFrom72To75) {
    for (size_t n : {71, 72, 75, 76}) DIAG_Error("%s", Text(n).c_str());
    EXPECT_EQ(TakeLog(),
              "ERROR  - " + Text(71) + "\n" +
              "ERROR  -\n    " + Text(72) + "\n" +
              "ERROR  -\n    " + Text(75) + "\n" +
              "ERROR  - " + Text(76) + "\n");
}

TEST_F(DiagTest, ErrorsWithLineWrapFrom60To75) {
    GoToLine(3);
    for (size_t n : {59, 60, 75, 76}) DIAG_ErrorLine("%s", Text(n).c_str());
    EXPECT_EQ(TakeLog(),
              "ERROR  (line    3) - " + Text(59) + "\n" +
              "ERROR  (line    3) -\n    " + Text(60) + "\n" +
              "ERROR  (line    3) -\n    " + Text(75) + "\n" +
              "ERROR  (line    3) - " + Text(76) + "\n");
}

TEST_F(DiagTest, WarningsWrapFrom70WithoutAnd58WithLine) {
    GoToLine(3);
    for (size_t n : {69, 70, 75, 76}) DIAG_Warning("%s", Text(n).c_str());
    for (size_t n : {57, 58, 75, 76}) DIAG_WarningLine("%s", Text(n).c_str());
    EXPECT_EQ(TakeLog(),
              "WARNING  - " + Text(69) + "\n" +
              "WARNING  -\n    " + Text(70) + "\n" +
              "WARNING  -\n    " + Text(75) + "\n" +
              "WARNING  - " + Text(76) + "\n" +
              "WARNING  (line    3) - " + Text(57) + "\n" +
              "WARNING  (line    3) -\n    " + Text(58) + "\n" +
              "WARNING  (line    3) -\n    " + Text(75) + "\n" +
              "WARNING  (line    3) - " + Text(76) + "\n");
}

TEST_F(DiagTest, ProgramBugsAreNeverWrapped) {
    GoToLine(3);
    DIAG_Bug("%s", Text(72).c_str());
    DIAG_BugLine("%s", Text(60).c_str());
    EXPECT_EQ(TakeLog(),
              "PROGRAM BUG  - " + Text(72) + "\n" +
              "PROGRAM BUG  (line    3) - " + Text(60) + "\n");
}

TEST_F(DiagTest, OverlongMessageIsCutToTheBuffer) {
    DIAG_Error("%s", Text(5000).c_str());
    EXPECT_EQ(TakeLog(), "ERROR  - " + Text(2175) + "\n");
}

TEST_F(DiagTest, NameModesAndIndent) {
    DIAG_SetFileName("board.ibs");
    DIAG_Error("a");
    DIAG_SetNameMode(0);
    DIAG_Error("b");
    // Any other mode keeps the name shown so far, whatever file comes next.
    DIAG_SetNameMode(2);
    DIAG_SetFileName("other.pkg");
    DIAG_SetIndent(4);
    DIAG_Warning("c");
    DIAG_SetNameMode(1);
    DIAG_Bug("d");
    EXPECT_EQ(TakeLog(),
              "ERROR  - a\n"
              "ERROR board.ibs - b\n"
              "    WARNING board.ibs - c\n"
              "    PROGRAM BUG  - d\n");
    EXPECT_EQ(DIAG_GetIndent(), 4);
}

TEST_F(DiagTest, FileNameIsCutAt512Characters) {
    DIAG_SetFileName(std::string(600, 'n').c_str());
    DIAG_SetNameMode(0);
    DIAG_Error("a");
    EXPECT_EQ(TakeLog(), "ERROR " + std::string(512, 'n') + " - a\n");
}

TEST_F(DiagTest, NothingIsWrittenOrCountedWithoutLogOrSink) {
    DIAG_SetLog(nullptr);
    EXPECT_EQ(DIAG_GetLog(), nullptr);
    for (int i = 0; i < 3; ++i) {
        DIAG_Error("a");
        DIAG_WarningLine("b");
        DIAG_Bug("c");
    }
    EXPECT_EQ(Counts(), "0/0/0");
    EXPECT_EQ(TakeLog(), "");
}

// What a sink keeps of each finding, on one line.
void Keep(const DIAG_FINDING& finding, void* pContext) {
    std::string& strKept = *static_cast<std::string*>(pContext);
    strKept += std::to_string(finding.eLevel) + " " + finding.pszFile + " " +
               (finding.bHasLine ? std::to_string(finding.ulLine) : "-") + " [" + finding.pszText + "]\n";
}

// The sinks get the same findings as the log, unwrapped and with the file
// the read was given even when the log shows no name; without a log they
// still get and count them.
TEST_F(DiagTest, SinksGetEveryFindingAsARecord) {
    std::string strFirst, strSecond;
    DIAG_SetFileName("dir/part.ibs");
    DIAG_AddSink(Keep, &strFirst);
    DIAG_AddSink(Keep, &strSecond);
    GoToLine(9);
    DIAG_ErrorLine("%s", Text(60).c_str());
    DIAG_RemoveSink(Keep, &strSecond);
    DIAG_Warning("two\n          lines");
    DIAG_SetLog(nullptr);
    DIAG_BugLine("no log");
    DIAG_RemoveSink(Keep, &strFirst);
    DIAG_Error("nobody");
    EXPECT_EQ(strFirst, "0 dir/part.ibs 9 [" + Text(60) + "]\n"
                        "1 dir/part.ibs - [two\n          lines]\n"
                        "2 dir/part.ibs 9 [no log]\n");
    EXPECT_EQ(strSecond, "0 dir/part.ibs 9 [" + Text(60) + "]\n");
    EXPECT_EQ(TakeLog(), "ERROR  (line    9) -\n    " + Text(60) + "\n"
                         "WARNING  - two\n          lines\n");
    EXPECT_EQ(Counts(), "1/1/1");
}

TEST_F(DiagTest, CountsResetAndPartialQuery) {
    DIAG_Error("a");
    DIAG_Error("a");
    DIAG_Warning("b");
    int nErrors = 0;
    DIAG_GetCounts(&nErrors, nullptr, nullptr);
    EXPECT_EQ(nErrors, 2);
    DIAG_ResetCounts();
    EXPECT_EQ(Counts(), "0/0/0");
}

}  // namespace
