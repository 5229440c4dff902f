#include "reader/hdr.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/diag.h"
#include "reader/read.h"
#include "core/lines.h"
#include "support/snippet.h"

namespace {

HDR* HdrOf(IBIS* pIbis) {
    HDR* pHdr = nullptr;
    IBIS_GetHdr(pIbis, &pHdr);
    return pHdr;
}

// One header text through its accessor, or "-" when the accessor finds none.
std::string Field(IBIS* pIbis, int (*pfnGet)(const HDR*, const char**)) {
    const char* psz = nullptr;
    if (!pfnGet(HdrOf(pIbis), &psz)) return psz == nullptr ? "-" : "accessor stored text but said none";
    return psz;
}

// A package file with the given [File Name] value and nothing but its header.
std::string NamedFile(const std::string& strValue, const std::string& strVersion = "3.2") {
    return "[IBIS Ver] " + strVersion + "\n"
           "[File Name] " + strValue + "\n"
           "[File Rev] 1.0\n"
           "[End]\n";
}

// ------------------------------------------------------------ [IBIS Ver]

TEST(HdrVersion, AcceptedVersionsSelectTheKeywordTable) {
    ReadSnippet("v21.pkg", NamedFile("v21.pkg", "2.1"));
    EXPECT_EQ(2, PARSE_GetIbisVersion());
    ReadSnippet("v32.pkg", NamedFile("v32.pkg"));
    EXPECT_EQ(3, PARSE_GetIbisVersion());
    std::string strVersion;
    ReadSnippet("v30.pkg", "[IBIS Ver]   3.0  | comment\n[File Name] v30.pkg\n[File Rev] 1\n[End]\n",
                [&strVersion](IBIS* pIbis) { strVersion = Field(pIbis, HDR_GetIbisVersion); });
    EXPECT_EQ("3.0", strVersion);
}

TEST(HdrVersion, IllegalVersionLeavesTheRecordedOneUnchanged) {
    // [Model Selector] is a keyword of IBIS 3.2 only: which table reads the
    // 1.1 file shows which version stayed in force.
    const std::string strBody =
        "[File Name] v11.pkg\n"
        "[File Rev] 1.0\n"
        "[Model Selector] s\n"
        "[End]\n";
    ReadSnippet("v32.pkg", NamedFile("v32.pkg"));
    EXPECT_EQ("ERROR  (line    1) - Illegal IBIS_Version '1.1'.\n"
              "ERROR  (line    4) - Illegal keyword for a '.pkg' file.\n",
              ReadSnippet("v11.pkg", "[IBIS Ver] 1.1\n" + strBody).strLog);
    EXPECT_EQ(3, PARSE_GetIbisVersion());

    ReadSnippet("v20.pkg", NamedFile("v20.pkg", "2.0"));
    EXPECT_EQ("ERROR  (line    1) - Illegal IBIS_Version '1.1'.\n"
              "ERROR  (line    4) - Invalid Keyword. Model Selector\n",
              ReadSnippet("v11.pkg", "[IBIS Ver] 1.1\n" + strBody).strLog);
    EXPECT_EQ(2, PARSE_GetIbisVersion());

    // The value must be one of the five versions exactly.
    const std::string strRest = "[File Name] v11.pkg\n[File Rev] 1.0\n[End]\n";
    EXPECT_EQ("ERROR  (line    1) - Illegal IBIS_Version '3.21'.\n",
              ReadSnippet("v11.pkg", "[IBIS Ver] 3.21\n" + strRest).strLog);
    EXPECT_EQ("ERROR  (line    1) - Illegal IBIS_Version '3.2 draft'.\n",
              ReadSnippet("v11.pkg", "[IBIS Ver] 3.2 draft\n" + strRest).strLog);
}

TEST(HdrVersion, DuplicateIbisVerInBothForms) {
    // Inside the open header: the header's closing message, then the opening check's.
    int nHeaders = 0;
    ReadResult result = ReadSnippet("dupver.pkg",
                                    "[IBIS Ver] 3.2\n"
                                    "[IBIS Ver] 3.2\n"
                                    "[File Name] dupver.pkg\n"
                                    "[File Rev] 1.0\n"
                                    "[End]\n",
                                    [&nHeaders](IBIS* pIbis) {
                                        for (HDR* p = HdrOf(pIbis); p != nullptr; p = p->pNext) ++nHeaders;
                                    });
    EXPECT_EQ("ERROR  (line    2) - Duplicate IBIS_Ver keyword\n"
              "ERROR  (line    2) - Duplicate IBIS_Ver keyword.\n",
              result.strLog);
    EXPECT_EQ(2, nHeaders);

    // After the header was closed: only the opening check, and the new header lacks the rest.
    result = ReadSnippet("dupver.pkg", "[IBIS Ver] 3.2\n"
                                       "[File Name] dupver.pkg\n"
                                       "[File Rev] 1.0\n"
                                       "[Component] c\n"
                                       "[IBIS Ver] 3.2\n"
                                       "[End]\n");
    EXPECT_EQ("ERROR  (line    4) - Illegal keyword for a '.pkg' file.\n"
              "ERROR  (line    5) - Duplicate IBIS_Ver keyword.\n"
              "ERROR  - Required keyword 'File_name' not found in file 'dupver.pkg'.\n"
              "ERROR  - Required keyword 'File_Rev' not found in file 'dupver.pkg'.\n",
              result.strLog);
}

// ------------------------------------------------------------ [File Name]

TEST(HdrFileName, CharacterAndPeriodRules) {
    EXPECT_EQ("", ReadSnippet("a_^$~!#%&-{})(@'`9.pkg", NamedFile("a_^$~!#%&-{})(@'`9.pkg")).strLog);
    EXPECT_EQ("ERROR  (line    2) - File_name 'ABc.pkg' contains an upper case character 'A'.\n"
              "ERROR  (line    2) - File_name 'ABc.pkg' contains an upper case character 'B'.\n",
              ReadSnippet("ABc.pkg", NamedFile("ABc.pkg")).strLog);
    EXPECT_EQ("ERROR  (line    2) - File_name 'a.b.pkg' contains more than one period.\n",
              ReadSnippet("a.b.pkg", NamedFile("a.b.pkg")).strLog);
    EXPECT_EQ("ERROR  (line    2) - File_name 'a.b.c.pkg' contains more than one period.\n"
              "ERROR  (line    2) - File_name 'a.b.c.pkg' contains more than one period.\n",
              ReadSnippet("a.b.c.pkg", NamedFile("a.b.c.pkg")).strLog);
    EXPECT_EQ("ERROR  (line    2) -\n"
              "    File_name 'a+b.pkg' contains a character '+' that is illegal for DOS.\n",
              ReadSnippet("a+b.pkg", NamedFile("a+b.pkg")).strLog);
    EXPECT_EQ("ERROR  (line    2) - File_name 'model' must contain one period.\n"
              "ERROR  (line    2) -\n"
              "    File name opened 'model.pkg' not the same as File_name 'model'.\n",
              ReadSnippet("model.pkg", NamedFile("model")).strLog);
}

TEST(HdrFileName, ComparedWithTheOpenedNameWithoutRegardToCase) {
    EXPECT_EQ("ERROR  (line    2) -\n"
              "    File name opened 'opened.pkg' not the same as File_name 'other.pkg'.\n",
              ReadSnippet("opened.pkg", NamedFile("other.pkg")).strLog);
    EXPECT_EQ("ERROR  - Required keyword 'Component' not found.\n",
              ReadSnippet("X.IBS", NamedFile("x.ibs")).strLog);
}

TEST(HdrFileName, ValueIsCheckedForReservedWordsAndTheFileTimeKept) {
    EXPECT_EQ("ERROR  (line    2) - File_name 'na' must contain one period.\n"
              "ERROR  (line    2) - File name opened 'na.pkg' not the same as File_name 'na'.\n"
              "ERROR  (line    2) - Illegal use of Reserved Word 'na'.\n",
              ReadSnippet("na.pkg", NamedFile("na")).strLog);
    time_t tFileTime = 0;
    ReadSnippet("time.pkg", NamedFile("time.pkg"), [&tFileTime](IBIS* pIbis) { tFileTime = HdrOf(pIbis)->tFileTime; });
    EXPECT_GT(tFileTime, 0);
}

// ------------------------------------------------------------ other header keywords

TEST(HdrKeywords, DuplicatesAreRefused) {
    std::string strSource, strNotes, strCopyright, strDate;
    ReadResult result = ReadSnippet("dups.pkg",
                                    "[IBIS Ver] 3.2\n"
                                    "[File Name] dups.pkg\n"
                                    "[File Name] dups.pkg\n"     // 3
                                    "[File Rev] 1.0\n"
                                    "[File Rev] 2.0\n"           // 5
                                    "[Date] Monday\n"
                                    "[Date] Tuesday\n"           // 7
                                    "[Source] s1\n"
                                    "[Source] s2\n"              // 9
                                    "[Notes] n1\n"
                                    "[Notes] n2\n"               // 11
                                    "n3 goes to the first notes\n"
                                    "[Copyright] c1\n"
                                    "[Copyright] c2\n"           // 14
                                    "[End]\n",
                                    [&](IBIS* pIbis) {
                                        strSource = Field(pIbis, HDR_GetSource);
                                        strNotes = Field(pIbis, HDR_GetNotes);
                                        strCopyright = Field(pIbis, HDR_GetCopyright);
                                        strDate = Field(pIbis, HDR_GetDate);
                                    });
    EXPECT_EQ("ERROR  (line    3) - Duplicate File_name keyword.\n"
              "ERROR  (line    5) - Duplicate File_Rev keyword.\n"
              "ERROR  (line    7) - Duplicate Date keyword.\n"
              "ERROR  (line    9) - Duplicate Source keyword.\n"
              "ERROR  (line   11) - Duplicate Notes keyword.\n"
              "ERROR  (line   14) - Duplicate Copyright keyword.\n",
              result.strLog);
    EXPECT_EQ("Monday", strDate);
    EXPECT_EQ("s1", strSource);
    EXPECT_EQ("n1\nn3 goes to the first notes", strNotes);
    EXPECT_EQ("c1", strCopyright);
}

TEST(HdrKeywords, FreeTextOverSeveralLines) {
    std::string strSource, strDisclaimer, strCopyright, strRev;
    ReadResult result = ReadSnippet("text.pkg",
                                    "[IBIS Ver] 3.2\n"
                                    "[File Name] text.pkg\n"
                                    "[File Rev] 1.0 | revision\n"
                                    "[Source] measured | in the lab\n"
                                    "    on a bench   \n"
                                    "| a comment line is no text line\n"
                                    "\n"
                                    "and simulated\n"
                                    "[Disclaimer] first\n"
                                    "[Copyright]\n"
                                    "ACME\n"
                                    "[Disclaimer] second\n"
                                    "third\n"
                                    "[End]\n",
                                    [&](IBIS* pIbis) {
                                        strSource = Field(pIbis, HDR_GetSource);
                                        strDisclaimer = Field(pIbis, HDR_GetDisclaimer);
                                        strCopyright = Field(pIbis, HDR_GetCopyright);
                                        strRev = Field(pIbis, HDR_GetFileRev);
                                    });
    EXPECT_EQ("", result.strLog);
    EXPECT_EQ("measured\non a bench\nand simulated", strSource);
    EXPECT_EQ("first\nsecond\nthird", strDisclaimer);
    EXPECT_EQ("\nACME", strCopyright);  // the keyword line without value starts with an empty line
    EXPECT_EQ("1.0", strRev);
}

// Each line is added behind the text so far without copying it again: a
// text of 100000 lines reads in well under a second instead of minutes.
TEST(HdrKeywords, LongTextIsKeptWhole) {
    const std::string strLine(70, 'n');
    std::string strText = Header32("long.pkg") + "[Notes] first\n";
    for (int i = 0; i < 100000; ++i) strText += strLine + "\n";
    strText += "[Copyright] c\n[Notes] again\nlast\n[End]\n";
    std::string strNotes, strCopyright;
    ReadResult result = ReadSnippet("long.pkg", strText, [&](IBIS* pIbis) {
        strNotes = Field(pIbis, HDR_GetNotes);
        strCopyright = Field(pIbis, HDR_GetCopyright);
    });
    EXPECT_EQ("ERROR  (line 100006) - Duplicate Notes keyword.\n", result.strLog);
    ASSERT_EQ(5 + 100000 * 71 + 5, strNotes.size());
    EXPECT_EQ("first\n" + strLine + "\n", strNotes.substr(0, 77));
    EXPECT_EQ("\n" + strLine + "\nlast", strNotes.substr(strNotes.size() - 76));
    EXPECT_EQ("c", strCopyright);
}

TEST(HdrKeywords, EmptyFieldsHaveNoValue) {
    std::string strDate, strNotes, strName;
    ReadSnippet("empty.pkg", NamedFile("empty.pkg"), [&](IBIS* pIbis) {
        strDate = Field(pIbis, HDR_GetDate);
        strNotes = Field(pIbis, HDR_GetNotes);
        strName = Field(pIbis, HDR_GetFileName);
    });
    EXPECT_EQ("-", strDate);
    EXPECT_EQ("-", strNotes);
    EXPECT_EQ("empty.pkg", strName);
}

TEST(HdrKeywords, DataLineWithoutTextKeywordIsAnOrphan) {
    EXPECT_EQ("ERROR  (line    2) - Orphan Data Line.\n"
              "ERROR  (line    4) - Orphan Data Line.\n",
              ReadSnippet("orph.pkg",
                          "[IBIS Ver] 3.2\n"
                          "3.2 again\n"
                          "[File Name] orph.pkg\n"
                          "more name\n"
                          "[File Rev] 1.0\n"
                          "[End]\n")
                  .strLog);
}

// ------------------------------------------------------------ header span

TEST(HdrSpan, RequiredKeywordsAtTheFirstOtherKeyword) {
    EXPECT_EQ("ERROR  - Required keyword 'File_name' not found in file 'req.pkg'.\n"
              "ERROR  - Required keyword 'File_Rev' not found in file 'req.pkg'.\n"
              "ERROR  (line    3) - Illegal keyword for a '.pkg' file.\n",
              ReadSnippet("req.pkg",
                          "[IBIS Ver] 3.2\n"
                          "[Date] today\n"
                          "[Component] c\n"
                          "[End]\n")
                  .strLog);
}

TEST(HdrSpan, HeaderKeywordsOutsideTheHeaderAreOrphans) {
    EXPECT_EQ("ERROR  (line    4) - Illegal keyword for a '.pkg' file.\n"
              "ERROR  (line    5) - Orphan File Header keyword.\n"
              "ERROR  (line    6) - Orphan Data Line.\n",
              ReadSnippet("late.pkg", Header32("late.pkg") +
                                          "[Model] m\n"
                                          "[Notes] late\n"
                                          "late text\n"
                                          "[End]\n")
                  .strLog);
}

// Before [IBIS Ver] the version pre-scan refuses the file, so the read
// driver is called directly here.
TEST(HdrSpan, HeaderKeywordBeforeIbisVer) {
    const std::string strPath = WriteScratchFile("early.pkg",
                                                 "[File Name] early.pkg\n"
                                                 "[IBIS Ver] 3.2\n"
                                                 "[File Name] early.pkg\n"
                                                 "[File Rev] 1.0\n"
                                                 "[End]\n");
    FILE* pLog = tmpfile();
    ASSERT_NE(nullptr, pLog);
    DIAG_SetLog(pLog);
    DIAG_SetNameMode(1);
    DIAG_ResetCounts();
    ASSERT_TRUE(IBIS_Create());
    EXPECT_EQ(1, IBIS_ReadFile(strPath.c_str(), FILE_KIND_PKG));
    IBIS_EndRead();
    DIAG_SetLog(nullptr);
    rewind(pLog);
    std::string strLog;
    int c;
    while ((c = fgetc(pLog)) != EOF) strLog += static_cast<char>(c);
    fclose(pLog);
    EXPECT_EQ("ERROR  (line    1) - Orphan File Header keyword.\n", strLog);
}

}  // namespace
