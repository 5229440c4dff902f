#include "core/lines.h"
#include "reader/dispatch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/diag.h"
#include "reader/hdr.h"
#include "reader/read.h"
#include "support/log_capture.h"
#include "support/snippet.h"
#include "support/verify.h"

using namespace std::string_literals;

namespace {

// The [Notes] text of a document, or "-" when it has none.
std::string NotesOf(IBIS* pIbis) {
    HDR* pHdr = nullptr;
    const char* psz = nullptr;
    if (!IBIS_GetHdr(pIbis, &pHdr) || !HDR_GetNotes(pHdr, &psz)) return "-";
    return psz;
}

std::string DateOf(IBIS* pIbis) {
    HDR* pHdr = nullptr;
    const char* psz = nullptr;
    if (!IBIS_GetHdr(pIbis, &pHdr) || !HDR_GetDate(pHdr, &psz)) return "-";
    return psz;
}

// A comment line of exactly `nLength` characters (line feed not counted).
std::string CommentLine(size_t nLength) { return "|" + std::string(nLength - 1, 'x') + "\n"; }

// ------------------------------------------------------------ line input

TEST(ParseReadLine, IllegalCharactersAreReportedOnTheirLineAndReadAsBlanks) {
    const std::string strConverting = ".  Converting to space.";
    Verify v("ill.pkg");
    v << "[IBIS Ver] 3.2"
      << "[File Name] ill.pkg"
      << "[File\x01Rev] 1.0"  // read as [File Rev]
      << Expect::Warning("Found illegal control character (Hex code 1)" + strConverting)
      << "| nul \0 here"s << Expect::Error("Found illegal NUL character (Hex code 0)" + strConverting)
      << "| mu \xB5" << Expect::Error("Found illegal non-7-bit ASCII character (Hex code b5)" + strConverting)
      << "| feed \f" << Expect::Warning("Found illegal control character (Hex code c)" + strConverting)
      << "| cr \r alone" << Expect::Warning("Found illegal control character (Hex code d)" + strConverting)
      << "| sub \x1A inside" << Expect::Warning("Found illegal control character (Hex code 1a)" + strConverting)
      << "[End]";
    ReadResult result = v.Check();
    EXPECT_EQ(2, result.nErrors);
    EXPECT_EQ(4, result.nWarnings);
}

TEST(ParseReadLine, NoConvertingTailOnceTheLineIsFull) {
    // 1023 characters fill the line; the NUL after them is dropped with the line's tail.
    ReadResult result = ReadSnippet("full.pkg", Header32("full.pkg") + "|" + std::string(1022, 'x') +
                                                    "\0tail\n"s + "[End]\n");
    EXPECT_EQ("ERROR  (line    4) - Found illegal NUL character (Hex code 0).\n"
              "ERROR  (line    4) - Exceeds 1022 chararacters.\n",
              result.strLog);
}

TEST(ParseReadLine, CarriageReturnLineFeedAndFinalCtrlZReadLikeLineFeeds) {
    const std::string strText = Header32("crlf.pkg") +
                                "[Bogus] 1\n"
                                "data under it\n"
                                "[End]\n";
    const std::string strExpected =
        "ERROR  (line    4) - Invalid Keyword. Bogus\n"
        "ERROR  (line    5) - Data for unknown keyword.\ndata under it\n";
    std::string strDos;
    for (char c : strText) strDos += c == '\n' ? "\r\n" : std::string(1, c);
    unsigned long ulLines = 0;
    auto countLines = [&ulLines](IBIS*) { ulLines = PARSE_GetLineNumber(); };

    EXPECT_EQ(strExpected, ReadSnippet("crlf.pkg", strText, countLines).strLog);
    EXPECT_EQ(6u, ulLines);
    EXPECT_EQ(strExpected, ReadSnippet("crlf.pkg", strDos + "\x1A", countLines).strLog);
    EXPECT_EQ(6u, ulLines);  // the Ctrl-Z makes no seventh line
    // Without a final line feed the Ctrl-Z still ends the last line.
    strDos.resize(strDos.size() - 2);
    EXPECT_EQ(strExpected, ReadSnippet("crlf.pkg", strDos + "\x1A", countLines).strLog);
    EXPECT_EQ(6u, ulLines);
}

TEST(ParseReadLine, DirectCallsOnSmallBuffers) {
    FILE* pFile = tmpfile();
    ASSERT_NE(nullptr, pFile);
    fputs("abcdef\nxy", pFile);
    rewind(pFile);
    char sz[4] = "zzz";
    EXPECT_EQ(nullptr, PARSE_ReadLine(nullptr, sizeof sz, pFile));
    EXPECT_EQ(nullptr, PARSE_ReadLine(sz, 0, pFile));
    EXPECT_EQ(nullptr, PARSE_ReadLine(sz, sizeof sz, nullptr));
    ASSERT_EQ(sz, PARSE_ReadLine(sz, 1, pFile));
    EXPECT_STREQ("", sz);
    ASSERT_EQ(sz, PARSE_ReadLine(sz, sizeof sz, pFile));
    EXPECT_STREQ("abc", sz);  // truncated: the rest of the line is dropped, not split off
    ASSERT_EQ(sz, PARSE_ReadLine(sz, sizeof sz, pFile));
    EXPECT_STREQ("xy", sz);
    EXPECT_EQ(nullptr, PARSE_ReadLine(sz, sizeof sz, pFile));
    fclose(pFile);
}

// ------------------------------------------------------------ length and tabs

TEST(ParseCheckLine, LengthLimits) {
    const Expect over80 = Expect::Warning("Exceeds official IBIS maximum length of 80 chararacters.");
    const Expect over1022 = Expect::Error("Exceeds 1022 chararacters.");
    Verify v("len.pkg");
    v << Header32("len.pkg")
      << CommentLine(80)
      << CommentLine(81) << over80
      << CommentLine(1022) << over80
      << CommentLine(1023) << over1022
      << CommentLine(5000) << over1022
      << "[End]";
    v.Check();
}

TEST(ParseCheckLine, TextBeyond1023CharactersIsLost) {
    // Were the line split, its second piece would begin with "[Bogus]".
    const std::string strHugeComment = "|" + std::string(1022, 'x') + "[Bogus]" + std::string(1 << 20, 'y');
    // A keyword on a 1 MB line keeps the first 1023 characters of it.
    const std::string strHugeNotes = "[Notes] " + std::string(1 << 20, 'n');
    std::string strNotes;
    ReadResult result = ReadSnippet("huge.pkg",
                                    Header32("huge.pkg") + strHugeComment + "\n" + strHugeNotes +
                                        "\n[Nope]\n[End]\n",
                                    [&strNotes](IBIS* pIbis) { strNotes = NotesOf(pIbis); });
    EXPECT_EQ("ERROR  (line    4) - Exceeds 1022 chararacters.\n"
              "ERROR  (line    5) - Exceeds 1022 chararacters.\n"
              "ERROR  (line    6) - Invalid Keyword. Nope\n",
              result.strLog);
    EXPECT_EQ(std::string(1023 - 8, 'n'), strNotes);
}

// The tab warning is given once for the whole life of the loaded library,
// until its state is reset as the tool does between files.
TEST(ParseCheckLine, TabWarningOncePerLoadedLibrary) {
    const std::string strA = Header32("taba.pkg") + "|\tone\n|\ttwo\n[End]\n";
    const std::string strB = Header32("tabb.pkg") + "\t| three\n[End]\n";
    const std::string strTab = "WARNING  (line    4) - IBIS files should not contain tab characters.\n";
    PARSE_ResetLibraryState();
    EXPECT_EQ(strTab, ReadSnippet("taba.pkg", strA).strLog);
    EXPECT_EQ("", ReadSnippet("tabb.pkg", strB).strLog);
    PARSE_ResetLibraryState();
    EXPECT_EQ(strTab, ReadSnippet("tabb.pkg", strB).strLog);
}

// ------------------------------------------------------------ comment character

TEST(ParseCommentChar, Definitions) {
    Verify v("cc.pkg");
    v << Header32("cc.pkg")
      << "[Comment Char] #_char"
      << "# a comment [Bogus]"
      << "| no longer a comment" << Expect::Error("Orphan Data Line.")
      << "[Comment Char] a_char" << Expect::Error("Invalid Comment Character 'a'.")
      << "# still a comment"
      << "[Comment Char] #_CHAR" << Expect::Error("Invalid Comment Character Definition.")
      << "[comment_char]   |_char extra"  // taken, then refused
      << Expect::Error("Too Many Line Items For Keyword COMMENT_CHAR.")
      << "| a comment again"
      << "[COMMENT CHAR] &_char & more"
      << "[End] & done";
    v.Check();
}

TEST(ParseCommentChar, DefinitionLeavesTheCurrentKeywordOpen) {
    std::string strNotes;
    ReadResult result = ReadSnippet("ccopen.pkg",
                                    Header32("ccopen.pkg") +
                                        "[Notes] first\n"
                                        "[Comment Char] !_char\n"
                                        "second ! cut here | kept\n"
                                        "[End]\n",
                                    [&strNotes](IBIS* pIbis) { strNotes = NotesOf(pIbis); });
    EXPECT_EQ("", result.strLog);
    EXPECT_EQ("first\nsecond", strNotes);
}

// ------------------------------------------------------------ classification

TEST(ParseClassify, IndentedKeywordsAndBracketsInFreeText) {
    std::string strNotes, strDate;
    ReadResult result = ReadSnippet("col.pkg",
                                    Header32("col.pkg") +
                                        "   [Date] today\n"                   // 4: still a keyword
                                        "  [Notes] indented keyword\n"        // 5: still a keyword
                                        "   [not a keyword] inside notes\n"   // 6: data of [Notes]
                                        "[End]\n",
                                    [&](IBIS* pIbis) {
                                        strNotes = NotesOf(pIbis);
                                        strDate = DateOf(pIbis);
                                    });
    EXPECT_EQ("ERROR  (line    4) - Keywords Must Begin In Column 1.\n"
              "ERROR  (line    5) - Keywords Must Begin In Column 1.\n",
              result.strLog);
    EXPECT_EQ("today", strDate);
    EXPECT_EQ("indented keyword\n[not a keyword] inside notes", strNotes);
}

// ------------------------------------------------------------ recognition

TEST(ParseRecognize, UnknownKeywordsAndTheirData) {
    ReadResult result = ReadSnippet("unk.pkg",
                                    "stray text before any keyword\n"     // 1
                                    "[IBIS Ver] 3.2\n"
                                    "[File Name] unk.pkg\n"
                                    "[File Rev] 1.0\n"
                                    "[Bogus Keyword] value\n"             // 5
                                    "first data\n"                        // 6
                                    "   indented data | cut\n"            // 7
                                    "a data line long enough to be wrapped\n"  // 8
                                    "[file_rev] 2.0\n"                    // 9: known again
                                    "[End]\n");
    EXPECT_EQ("ERROR  (line    1) - Data for unknown keyword.\nstray text before any keyword\n"
              "ERROR  (line    5) - Invalid Keyword. Bogus Keyword\n"
              "ERROR  (line    6) - Data for unknown keyword.\nfirst data\n"
              "ERROR  (line    7) - Data for unknown keyword.\nindented data\n"
              "ERROR  (line    8) -\n    Data for unknown keyword.\na data line long enough to be wrapped\n"
              "ERROR  (line    9) - Duplicate File_Rev keyword.\n",
              result.strLog);
}

TEST(ParseRecognize, MalformedKeywordText) {
    ReadResult result = ReadSnippet("bad.pkg", Header32("bad.pkg") +
                                                   "[Date today\n"                            // 4
                                                   "[] empty\n"                               // 5
                                                   "[" + std::string(78, 'K') + "]\n"         // 6
                                                   "[" + std::string(77, 'K') + "]\n"         // 7
                                                   "[End]\n");
    EXPECT_EQ("ERROR  (line    4) - Keyword Missing Ending Bracket (']').\n"
              "ERROR  (line    5) - Invalid Keyword.\n"
              "ERROR  (line    6) - Invalid Keyword.\n"
              "ERROR  (line    7) - Invalid Keyword. " + std::string(77, 'K') + "\n",
              result.strLog);
}

// A keyword line that is not recognised does not close the keyword before
// it, but the next recognised keyword does: the header's required-keyword
// check and a model's end checks still run.
TEST(ParseRecognize, FailedKeywordDefersTheCloseToTheNextKeyword) {
    ReadResult result = ReadSnippet("open.ibs",
                                    "[IBIS Ver] 3.2\n"
                                    "[File Name] open.ibs\n"
                                    "[Model Selector x\n"
                                    "[Component] C\n"
                                    "[Manufacturer] M\n"
                                    "[Package]\n"
                                    "R_pkg 1 NA NA\n"
                                    "L_pkg 1n NA NA\n"
                                    "C_pkg 1p NA NA\n"
                                    "[Pin] signal_name model_name\n"
                                    "1 A M1\n"
                                    "[Model] M1\n"
                                    "Model_type Output\n"
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 NA NA\n"
                                    "[Receiver Thresholds]\n"
                                    "Vth = 1.5\n"
                                    "[End]\n");
    EXPECT_EQ("ERROR  (line    3) - Keyword Missing Ending Bracket (']').\n"
              "ERROR  - Required keyword 'File_Rev' not found in file 'open.ibs'.\n"
              "ERROR  (line   16) - Invalid Keyword. Receiver Thresholds\n"
              "ERROR  (line   17) - Data for unknown keyword.\nVth = 1.5\n"
              "ERROR  - Model 'M1': Ramp Not Defined\n",
              result.strLog);
}

TEST(ParseRecognize, KeywordsMissingFromTheIbis21Table) {
    ReadResult result = ReadSnippet("ms21.pkg",
                                    "[IBIS Ver] 2.1\n"
                                    "[File Name] ms21.pkg\n"
                                    "[File Rev] 1.0\n"
                                    "[Model Selector] sel\n"
                                    "fast_model  Fast  \n"
                                    "slow_model  Slow\n"
                                    "[End]\n");
    EXPECT_EQ("ERROR  (line    4) - Invalid Keyword. Model Selector\n"
              "ERROR  (line    5) - Data for unknown keyword.\nfast_model  Fast\n"
              "ERROR  (line    6) - Data for unknown keyword.\nslow_model  Slow\n",
              result.strLog);
}

// The context rules, seen through the recognizer itself.
class ParseContext : public ::testing::Test {
protected:
    void SetUp() override {
        DIAG_SetLog(nullptr);  // whatever the stub or real modules report is not the point here
        m_nSavedVersion = PARSE_GetIbisVersion();
        PARSE_SetIbisVersion(3);
        ASSERT_TRUE(IBIS_Create());
    }
    void TearDown() override {
        IBIS_EndRead();
        PARSE_SetIbisVersion(m_nSavedVersion);
        PARSE_ResetForRead(FILE_KIND_IBS);
    }
    static int Code(const char* pszKeyword, int ePrevious, const KEYWORD_ENTRY* pTable = g_aKeywords32) {
        std::string strLine(pszKeyword);
        int eCode = -1;
        if (!PARSE_Recognize(&strLine[0], ePrevious, &eCode, pTable)) return -1;
        return eCode;
    }
    static void Feed(int eFileKind, const char* pszLine) {
        std::string strLine(pszLine);
        PARSE_Dispatch32(eFileKind, strLine[0] == '[' ? LINE_KEYWORD : LINE_DATA, &strLine[0]);
    }
    int m_nSavedVersion = 0;
};

TEST_F(ParseContext, ManufacturerBelongsToThePackageModelOrBoardBefore) {
    PARSE_ResetForRead(FILE_KIND_IBS);
    EXPECT_EQ(KW_MANUFACTURER, Code("[Manufacturer] m", KW_COMPONENT));
    EXPECT_EQ(KW_MANUFACTURER, Code("[Manufacturer] m", KW_NOT_KEY));
    EXPECT_EQ(KW_PKG_MANUFACTURER, Code("[Manufacturer] m", KW_DEFINE_PACKAGE_MODEL));
    EXPECT_EQ(KW_PKG_MANUFACTURER, Code("[manufacturer] m", KW_DESCRIPTION));
    EXPECT_EQ(KW_MANUFACTURER, Code("[Manufacturer] m", KW_NUMBER_OF_PINS));
    EXPECT_EQ(KW_EBD_MANUFACTURER, Code("[Manufacturer] m", KW_BEGIN_BOARD_DESCRIPTION));
    EXPECT_EQ(KW_EBD_MANUFACTURER, Code("[Manufacturer] m", KW_EBD_MANUFACTURER));
    EXPECT_EQ(KW_MANUFACTURER, Code("[Manufacturer] m", KW_PIN_LIST));
    EXPECT_EQ(KW_PKG_MANUFACTURER, Code("[Manufacturer] m", KW_OEM, g_aKeywords21));
}

TEST_F(ParseContext, NumberOfPinsBelongsToTheBoardInEbdFiles) {
    PARSE_ResetForRead(FILE_KIND_PKG);
    EXPECT_EQ(KW_NUMBER_OF_PINS, Code("[Number of Pins] 4", KW_DESCRIPTION));
    PARSE_ResetForRead(FILE_KIND_EBD);
    EXPECT_EQ(KW_EBD_NUMBER_OF_PINS, Code("[Number of Pins] 4", KW_BEGIN_BOARD_DESCRIPTION));
    // IBIS 2.1 has no board descriptions: its .ebd files hold package models.
    EXPECT_EQ(KW_NUMBER_OF_PINS, Code("[Number of Pins] 4", KW_DESCRIPTION, g_aKeywords21));
}

TEST_F(ParseContext, SubmodelTablesUntilTheNextModel) {
    PARSE_ResetForRead(FILE_KIND_IBS);
    EXPECT_EQ(KW_PULLUP, Code("[Pullup]", KW_MODEL));
    Feed(FILE_KIND_IBS, "[Submodel] dyn");
    EXPECT_EQ(KW_SUBMODEL, PARSE_GetCurKeyword());
    EXPECT_EQ(KW_SUB_PULLDOWN, Code("[Pulldown]", KW_SUBMODEL));
    EXPECT_EQ(KW_SUB_PULLUP, Code("[Pullup]", KW_SUBMODEL));
    EXPECT_EQ(KW_SUB_GND_CLAMP, Code("[GND Clamp]", KW_SUBMODEL));
    EXPECT_EQ(KW_SUB_POWER_CLAMP, Code("[POWER_Clamp]", KW_SUBMODEL));
    EXPECT_EQ(KW_SUB_RAMP, Code("[Ramp]", KW_SUBMODEL));
    EXPECT_EQ(KW_SUB_RISING_WAVEFORM, Code("[Rising Waveform]", KW_SUBMODEL));
    EXPECT_EQ(KW_SUB_FALLING_WAVEFORM, Code("[Falling Waveform]", KW_SUBMODEL));
    EXPECT_EQ(KW_RPOWER, Code("[Rpower]", KW_SUBMODEL));
    EXPECT_EQ(KW_PULLUP, Code("[Pullup]", KW_SUBMODEL, g_aKeywords21));  // IBIS 2.1 has no submodels
    Feed(FILE_KIND_IBS, "[Pullup]");
    EXPECT_EQ(KW_SUB_PULLUP, PARSE_GetCurKeyword());
    Feed(FILE_KIND_IBS, "[Model] m");
    EXPECT_EQ(KW_PULLUP, Code("[Pullup]", KW_MODEL));
    Feed(FILE_KIND_IBS, "[Pullup]");
    EXPECT_EQ(KW_PULLUP, PARSE_GetCurKeyword());
}

TEST(ParseDispatch, UnterminatedGroupIsReportedAtTheNextKeyword) {
    LogCapture log(1, FILE_KIND_PKG);
    HDR_Reset();  // no header open: the last read's document is gone
    PARSE_SetNotTerminated(1);
    char szLine[] = "[Date] x";
    PARSE_Dispatch32(FILE_KIND_PKG, LINE_KEYWORD, szLine);
    EXPECT_EQ(0, PARSE_GetNotTerminated());
    EXPECT_EQ("ERROR  (line    1) -\n"
              "    Previous keyword not terminated properly. Possibly missing a \"/\"\n\n"
              "ERROR  (line    1) - Orphan File Header keyword.\n",
              log.Text());
}

// ------------------------------------------------------------ file kinds

TEST(ParseStartKeyword, OpeningKeywordsRefusedByFileKind) {
    EXPECT_EQ("ERROR  (line    4) - Illegal keyword for a '.pkg' file.\n"
              "ERROR  (line    6) - Illegal keyword for a '.pkg' file.\n"
              "ERROR  (line    7) - Illegal keyword for a '.pkg' file.\n"
              "ERROR  (line    8) - Illegal keyword for a '.pkg' file.\n"
              "ERROR  (line    9) - Illegal keyword for a '.pkg' file.\n",
              ReadSnippet("kind.pkg", Header32("kind.pkg") +
                                          "[Component] c\n"                // 4
                                          "data of the refused keyword\n"  // 5: dropped silently
                                          "[Model] m\n"                    // 6
                                          "[Begin Board Description] b\n"  // 7
                                          "[Model Selector] s\n"           // 8
                                          "[Submodel] s\n"                 // 9
                                          "[End]\n")
                  .strLog);
    EXPECT_EQ("ERROR  (line    4) - Illegal keyword for a '.ebd' file.\n"
              "ERROR  (line    6) - Illegal keyword for a '.ebd' file.\n"
              "ERROR  (line    7) - Illegal keyword for a '.ebd' file.\n"
              "ERROR  (line    9) - Illegal keyword for a '.ebd' file.\n"
              "ERROR  (line   10) - Illegal keyword for a '.ebd' file.\n",
              ReadSnippet("kind.ebd", Header32("kind.ebd") +
                                          "[Component] c\n"                // 4
                                          "data of the refused keyword\n"  // 5: dropped silently
                                          "[Model] m\n"                    // 6
                                          "[Define Package Model] p\n"     // 7
                                          "[Manufacturer] who\n"           // 8: the refused package's
                                          "[Model Selector] s\n"           // 9
                                          "[Submodel] s\n"                 // 10
                                          "[End]\n")
                  .strLog);
    EXPECT_EQ("ERROR  (line    4) - Illegal keyword for a '.ibs' file.\n"
              "ERROR  - Required keyword 'Component' not found.\n",
              ReadSnippet("kind.ibs", Header32("kind.ibs") + "[Begin Board Description] b\n[End]\n").strLog);
}

TEST(ParseStartKeyword, Ibis21RefusalsAlwaysNameThePackageFile) {
    const std::string strText =
        "[IBIS Ver] 2.1\n"
        "[File Name] k21.ebd\n"
        "[File Rev] 1.0\n"
        "[Component] c\n"
        "[Model] m\n"
        "[End]\n";
    EXPECT_EQ("ERROR  (line    4) - Illegal keyword for a '.pkg' file.\n"
              "ERROR  (line    5) - Illegal keyword for a '.pkg' file.\n",
              ReadSnippet("k21.ebd", strText).strLog);
}

TEST(ParseStartKeyword, NumberOfPinsInAnIbis21EbdFileIsNoProgramBug) {
    ReadResult result = ReadSnippet("pins21.ebd",
                                    "[IBIS Ver] 2.1\n"
                                    "[File Name] pins21.ebd\n"
                                    "[File Rev] 1.0\n"
                                    "[Number of Pins] 3\n"
                                    "[End]\n");
    EXPECT_EQ(0, result.nBugs);
    EXPECT_EQ(std::string::npos, result.strLog.find("PROGRAM BUG"));
}

TEST(ParseStartKeyword, SwitchToIbis21AfterASubmodelIsNoProgramBug) {
    EXPECT_EQ("ERROR  (line    4) - Illegal keyword for a '.pkg' file.\n"
              "ERROR  (line    5) - Duplicate IBIS_Ver keyword.\n",
              ReadSnippet("switch.pkg", Header32("switch.pkg") +
                                            "[Submodel] s\n"
                                            "[IBIS Ver] 2.1\n"
                                            "[File Name] switch.pkg\n"
                                            "[File Rev] 1.0\n"
                                            "[Pullup]\n"
                                            "[End]\n")
                  .strLog);
}

// ------------------------------------------------------------ [End]

TEST(ParseEnd, MissingEndClosesTheLastKeyword) {
    std::string strNotes;
    ReadResult result = ReadSnippet("noend.pkg",
                                    "[IBIS Ver] 3.2\n"
                                    "[File Name] noend.pkg\n"
                                    "[Notes] kept",  // no line feed either
                                    [&strNotes](IBIS* pIbis) { strNotes = NotesOf(pIbis); });
    // The synthetic [END] closes the header, whose required check follows.
    EXPECT_EQ("ERROR  - Required keyword 'End' not found.\n"
              "ERROR  - Required keyword 'File_Rev' not found in file 'noend.pkg'.\n",
              result.strLog);
    EXPECT_EQ("kept", strNotes);
}

TEST(ParseEnd, OnlyBlankAndCommentLinesMayFollow) {
    ReadResult result = ReadSnippet("after.pkg", Header32("after.pkg") +
                                                     "[End] | fine\n"       // 4
                                                     "\n"                   // 5
                                                     "| comment\n"          // 6
                                                     "   \n"                // 7
                                                     "data after\n"         // 8
                                                     "[Notes] x\n"          // 9
                                                     "[Comment Char] #_char\n"  // 10
                                                     "[End]\n");            // 11
    EXPECT_EQ("ERROR  (line    8) - Non-comment line exists after 'End' keyword.\n"
              "ERROR  (line    9) - Non-comment line exists after 'End' keyword.\n"
              "ERROR  (line   10) - Non-comment line exists after 'End' keyword.\n"
              "ERROR  (line   11) - Non-comment line exists after 'End' keyword.\n",
              result.strLog);
}

TEST(ParseEnd, ExtraneousDataStillEndsTheFile) {
    ReadResult result = ReadSnippet("extra.pkg", Header32("extra.pkg") + "[End] extra\nmore\n");
    EXPECT_EQ("ERROR  (line    4) - Extraneous data on End keyword line.\n"
              "ERROR  (line    5) - Non-comment line exists after 'End' keyword.\n",
              result.strLog);
}

}  // namespace
