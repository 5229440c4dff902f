#include <gtest/gtest.h>

#include <string>

#include "core/document.h"
#include "package/mtx.h"
#include "package/pkgmdl.h"
#include "package/sect.h"
#include "support/log_capture.h"
#include "support/snippet.h"

namespace {

// The header of a package model up to its [Pin Numbers] keyword (lines 4 to
// 9 after a three-line file header).
std::string ModelHead(const std::string& strName, const std::string& strPins) {
    return "[Define Package Model] " + strName + "\n"  // 4
           "[Manufacturer] M\n"                        // 5
           "[OEM] O\n"                                 // 6
           "[Description] D\n"                         // 7
           "[Number Of Pins] " + strPins + "\n"        // 8
           "[Pin Numbers]\n";                          // 9
}

PKGMDL* OnlyModel(IBIS* pIbis) {
    PKGMDL* pMdl = nullptr;
    EXPECT_EQ(IBIS_GetPkgMdlList(pIbis, &pMdl), 1);
    return pMdl;
}

TEST(PackageModel, SimpleFormPinNumbersAndTheEndChecks) {
    ReadResult result = ReadSnippet(
        "simple.pkg", Header32("simple.pkg") +
                          "[Define Package Model] QFP4\n"
                          "[Manufacturer] M\n"
                          "[Number Of Pins] 4\n"
                          "[Pin Numbers]\n"
                          "1\n"
                          "A123456\n"  // 9: cut to A1234
                          "1\n"        // 10
                          "3\n"
                          "4\n"  // 12: a fifth pin
                          "[Model Data]\n"
                          "[Inductance Matrix] Full_matrix\n"
                          "[End Model Data]\n"  // 15
                          "[End Package Model]\n"
                          "[End]\n",
        [](IBIS* pIbis) {
            PKGMDL* pMdl = OnlyModel(pIbis);
            ASSERT_NE(pMdl, nullptr);
            EXPECT_STREQ(pMdl->szName, "QFP4");
            const char* pszPin = nullptr;
            std::string strPins;
            for (int bFirst = 1; PKGMDL_NextPin(pMdl, "QFP4", bFirst, &pszPin); bFirst = 0)
                strPins += std::string(pszPin) + ",";
            EXPECT_EQ(strPins, "1,A1234,1,3,");
            EXPECT_EQ(PKGMDL_NextPin(pMdl, "qfp4", 1, &pszPin), 0);
        });
    EXPECT_EQ(result.strLog,
              "ERROR  (line    9) - Pin Numbers name string too long. will be truncated.\n"
              "ERROR  (line   10) - Duplicate Pin <1>.\n"
              "ERROR  (line   12) - More Pin Numbers names than Number of pins.\n"
              "ERROR  (line   15) -\n"
              "    Expected 4 Rows, found 0 for Matrix ending previous to this line.\n"
              "ERROR  - OEM keyword not found for Package Model 'QFP4'.\n"
              "ERROR  - Description keyword not found for Package Model 'QFP4'.\n"
              "ERROR  - Capacitance matrix not found for Package Model 'QFP4'.\n");
}

TEST(PackageModel, NumberOfPinsValuesAndAHugeCountThatCostsNothingUntilItsPinsArrive) {
    const std::string strTail =
        "[Model Data]\n"
        "[Inductance Matrix] Sparse_matrix\n"
        "[Capacitance Matrix] Sparse_matrix\n"
        "[End Model Data]\n"
        "[End Package Model]\n";
    ReadResult result = ReadSnippet(
        "counts.pkg", Header32("counts.pkg") +
                          ModelHead("HUGE", "4000000000") +  // 4-9
                          "A1\nA2\nA3\n" + strTail +         // 10-17
                          "[Define Package Model] BAD\n"     // 18
                          "[Number Of Pins] 12x\n"           // 19: kept as 12
                          "[Number Of Pins] 3\n"             // 20
                          "[Define Package Model] ZERO\n"    // 21
                          "[Number Of Pins] 0\n"             // 22
                          "[Number Of Pins]\n"               // 23
                          "[Pin Numbers] extra\n"            // 24
                          "P1\n"                             // 25
                          "[Pin Numbers]\n"                  // 26
                          "[Define Package Model] WORD\n"    // 27
                          "[Number Of Pins] many\n"          // 28
                          "[Number Of Pins] 5000000000\n"    // 29: beyond 32 bits
                          "[End]\n",
        [](IBIS* pIbis) {
            PKGMDL* pMdl = nullptr;
            ASSERT_EQ(PKGMDL_Find(pIbis->pPkgMdlList, "HUGE", &pMdl), 1);
            EXPECT_EQ(pMdl->uiNumberOfPins, 4000000000u);
            EXPECT_LE(pMdl->uiPinCapacity, 64u);  // not sized from the count
            ASSERT_EQ(PKGMDL_Find(pIbis->pPkgMdlList, "BAD", &pMdl), 1);
            EXPECT_EQ(pMdl->uiNumberOfPins, 12u);
        });
    EXPECT_EQ(result.strLog,
              "ERROR  (line   15) -\n"
              "    Expected 4000000000 Rows, found 0 for Matrix ending previous to this line.\n"
              "ERROR  (line   16) -\n"
              "    Expected 4000000000 Rows, found 0 for Matrix ending previous to this line.\n"
              "ERROR  - Number of Pins <4000000000> not the same as count of Pin Numbers names found <3>.\n"
              "WARNING  (line   19) - Suspicious Number_of_Pins value.\n"
              "ERROR  (line   20) - Duplicate Number_of_Pins keyword.\n"
              "ERROR  - Keyword 'Manufacturer' not found or blank for Package Model 'BAD'.\n"
              "ERROR  - OEM keyword not found for Package Model 'BAD'.\n"
              "ERROR  - Description keyword not found for Package Model 'BAD'.\n"
              "ERROR  - Required keyword Pin_Numbers not found.\n"
              "ERROR  - Required Model_Data keyword not found for package BAD.\n"
              "ERROR  - Inductance matrix not found for Package Model 'BAD'.\n"
              "ERROR  - Capacitance matrix not found for Package Model 'BAD'.\n"
              "ERROR  - Required End_Model_Data keyword not found for package BAD.\n"
              "ERROR  - Required End_Package_Model keyword not found.\n"
              "ERROR  (line   22) - Number_of_Pins = 0.\n"
              "ERROR  (line   23) - Blank Number_of_Pins value.\n"
              "ERROR  (line   24) - Extraneous data on 'Pin_Numbers' line.\n"
              "ERROR  (line   25) - Number of Pins is zero, unable to add Pin Number.\n"
              "ERROR  (line   26) - Duplicate 'Pin_Numbers' keyword found.\n"
              "ERROR  - Keyword 'Manufacturer' not found or blank for Package Model 'ZERO'.\n"
              "ERROR  - OEM keyword not found for Package Model 'ZERO'.\n"
              "ERROR  - Description keyword not found for Package Model 'ZERO'.\n"
              "ERROR  - Number_of_Pins keyword not found or value bad for Package Model 'ZERO'.\n"
              "ERROR  - Required Model_Data keyword not found for package ZERO.\n"
              "ERROR  - Inductance matrix not found for Package Model 'ZERO'.\n"
              "ERROR  - Capacitance matrix not found for Package Model 'ZERO'.\n"
              "ERROR  - Required End_Model_Data keyword not found for package ZERO.\n"
              "ERROR  - Required End_Package_Model keyword not found.\n"
              "ERROR  (line   28) - Bad Number_of_Pins value.\n"
              "ERROR  (line   29) - Bad Number_of_Pins value.\n"
              "ERROR  - Keyword 'Manufacturer' not found or blank for Package Model 'WORD'.\n"
              "ERROR  - OEM keyword not found for Package Model 'WORD'.\n"
              "ERROR  - Description keyword not found for Package Model 'WORD'.\n"
              "ERROR  - Number_of_Pins keyword not found or value bad for Package Model 'WORD'.\n"
              "ERROR  - Required keyword Pin_Numbers not found.\n"
              "ERROR  - Required Model_Data keyword not found for package WORD.\n"
              "ERROR  - Inductance matrix not found for Package Model 'WORD'.\n"
              "ERROR  - Capacitance matrix not found for Package Model 'WORD'.\n"
              "ERROR  - Required End_Model_Data keyword not found for package WORD.\n"
              "ERROR  - Required End_Package_Model keyword not found.\n");
}

// In an IBIS 2.1 file, and without [Number Of Sections], a pin line is one
// pin number whatever follows it.
TEST(PackageModel, PinLineWithASectionIsOnePinNumberWithoutSections) {
    const std::string strBody =
        "[Define Package Model] P\n"
        "[Manufacturer] M\n"
        "[OEM] O\n"
        "[Description] D\n"
        "[Number Of Pins] 1\n"
        "[Pin Numbers]\n"
        "1 Len=0 R=1/\n"  // 10
        "[Model Data]\n"
        "[Inductance Matrix] Full_matrix\n"
        "[Row] 1 Len=0\n"  // 13
        "1\n"
        "[Capacitance Matrix] Full_matrix\n"
        "[Row] 1 Len=0\n"  // 16
        "1\n"
        "[End Model Data]\n"
        "[End Package Model]\n"
        "[End]\n";
    const char* const pszExpected =
        "ERROR  (line   10) - Pin Numbers name string too long. will be truncated.\n"
        "ERROR  (line   13) - PIN NUMBER string too long.\n"
        "ERROR  (line   16) - PIN NUMBER string too long.\n";
    std::string strPin;
    auto inspect = [&](IBIS* pIbis) {
        const char* pszPin = nullptr;
        ASSERT_EQ(PKGMDL_NextPin(pIbis->pPkgMdlList, "P", 1, &pszPin), 1);
        strPin = pszPin;
        EXPECT_EQ(OnlyModel(pIbis)->ppSections, nullptr);
    };
    EXPECT_EQ(ReadSnippet("v21.pkg", "[IBIS Ver] 2.1\n[File Name] v21.pkg\n[File Rev] 1\n" + strBody, inspect).strLog,
              pszExpected);
    EXPECT_EQ(strPin, "1 Len");
    EXPECT_EQ(ReadSnippet("v32.pkg", Header32("v32.pkg") + strBody, inspect).strLog, pszExpected);
}

// Counts the elements of a pin path as "S" (section) and "F(...)" (fork
// with its branch).
std::string PathShape(const SECTNODE* pNode) {
    std::string str;
    for (; pNode != nullptr; pNode = pNode->pNext) {
        if (pNode->eNodeType == SECTNODE_SECTION)
            str += "S";
        else
            str += "F(" + PathShape(static_cast<const SECTNODE*>(pNode->pData)) + ")";
    }
    return str;
}

TEST(PackageModel, SectionFormPathsWithForks) {
    ReadResult result = ReadSnippet(
        "sect.pkg", Header32("sect.pkg") +
                        "[Define Package Model] SECT\n"
                        "[Manufacturer] M\n"
                        "[OEM] O\n"
                        "[Description] D\n"
                        "[Number Of Pins] 6\n"
                        "[Number Of Sections] 3\n"
                        "[Pin Numbers]\n"
                        "Fork\n"                                      // 11: before any pin
                        "Len = 1 L=1n C=1p /\n"                       // 12
                        "A1 Len=0 R=1/ Len=1 L=1n C=1p/\n"            // 13: two sections
                        "Fork\n"                                      // 14
                        "Len=1 L=2n C=2p /\n"                         // 15
                        "Endfork\n"                                   // 16
                        "Len=0 C=1p/\n"                               // 17
                        "A2\n"                                        // 18
                        "Fork\n"                                      // 19: first element of A2
                        "Endfork\n"                                   // 20: empty
                        "Endfork\n"                                   // 21
                        "Len=2 L=1n/\n"                               // 22
                        "A=3 Len=0 R=1/\n"                            // 23
                        "Fork\n"                                      // 24
                        "Fork\n"                                      // 25: nested
                        "Len=0 R=1/\n"                                // 26
                        "Endfork\n"                                   // 27
                        "Len = 1 L=1n C=1p/ Len=1 L=1n C=1p / Len=0 R=2/\n"  // 28
                        "R Len=0 R=1/\n"                              // 29: forks still open
                        "Fork\n"                                      // 30: left open
                        "[End Package Model]\n"
                        "[End]\n",
        [](IBIS* pIbis) {
            PKGMDL* pMdl = OnlyModel(pIbis);
            ASSERT_NE(pMdl->ppSections, nullptr);
            EXPECT_EQ(PathShape(pMdl->ppSections[0]), "SSF(S)S");
            EXPECT_EQ(PathShape(pMdl->ppSections[1]), "F()S");
            EXPECT_EQ(PathShape(pMdl->ppSections[2]), "SF(F(S)SSS)");
            EXPECT_EQ(PathShape(pMdl->ppSections[3]), "SF()");
            SECT* pSect = static_cast<SECT*>(pMdl->ppSections[0]->pNext->pData);
            ASSERT_NE(pSect->pdL, nullptr);
            EXPECT_DOUBLE_EQ(*pSect->pdL, 1e-9);
            EXPECT_EQ(pSect->pdR, nullptr);
        });
    EXPECT_EQ(result.strLog,
              "ERROR  (line   11) - Detected the start of an orphan 'Fork'\n"
              "ERROR  (line   12) - Detected the start of an orphan R/L/C section\n"
              "ERROR  (line   20) - Empty Fork/Endfork found\n"
              "ERROR  (line   21) - Endfork found without enclosing Fork\n"
              "ERROR  (line   22) -  L and C must be specified when Len != 0\n"
              "WARNING  (line   23) -\n"
              "    Found a Pin Name 'A=3' containing '='. Possible syntax error\n"
              "ERROR  (line   25) - Cannot Nest Forks\n"
              "ERROR  (line   29) - A new Pin R has been defined before terminating a previous Fork with the "
              "corresponding Endfork\n"
              "WARNING  (line   29) - Found a Pin Name 'R'. Possible syntax error\n"
              "ERROR  -\n"
              "    Number of Pins <6> not the same as count of Pin Numbers names found <4>.\n"
              "ERROR  - Some Fork sub parameters were not terminated with Endfork\n"
              "ERROR  - Pin 'A1' has 4 sections. This is greater than the Number of Sections 3 specified\n"
              "ERROR  - Pin 'A=3' has 5 sections. This is greater than the Number of Sections 3 specified\n");
}

TEST(PackageModel, KeywordPlacesAndTheRulesOfTheSectionForm) {
    ReadResult result = ReadSnippet(
        "rules.pkg", Header32("rules.pkg") +
                         "[Pin Numbers]\n"                      // 4
                         "P1\n"                                 // 5
                         "[Define Package Model] RULES\n"
                         "[Manufacturer] M\n"
                         "[OEM] O\n"
                         "[Description] D\n"
                         "[Number Of Pins] 2\n"
                         "[Pin Numbers]\n"
                         "A1\n"
                         "[Number Of Sections] 4\n"             // 13
                         "[Pin Numbers]\n"                      // 14
                         "A2 Len=0 R=1/\n"                      // 15: read in the section form
                         "[Model Data] x\n"                     // 16
                         "[Bandwidth] 1\n"                      // 17
                         "[Row] A1\n"                           // 18
                         "1.0\n"                                // 19
                         "[Resistance Matrix] Banded_matrix\n"
                         "[Bandwidth] 0\n"
                         "[Bandwidth] 0\n"                      // 22
                         "[Row] A1\n"
                         "1\n"
                         "[Row] A2\n"
                         "2\n"
                         "[Resistance Matrix] Full_matrix\n"    // 27
                         "[End Model Data]\n"
                         "[End Model Data]\n"                   // 29
                         "[Inductance Matrix] Full_matrix\n"
                         "[Row] A1\n"
                         "1 2\n"
                         "[Row] A2\n"
                         "3\n"
                         "[End Package Model]\n"
                         "[Number Of Sections] 5\n"             // 36
                         "[Define Package Model] SEC0\n"
                         "[Number Of Sections] 0\n"             // 38
                         "[Number Of Sections] x\n"             // 39
                         "[Number Of Sections]\n"               // 40
                         "[End]\n",
        [](IBIS* pIbis) {
            PKGMDL* pMdl = nullptr;
            ASSERT_EQ(PKGMDL_Find(pIbis->pPkgMdlList, "RULES", &pMdl), 1);
            ASSERT_NE(pMdl->ppSections, nullptr);
            EXPECT_EQ(pMdl->ppSections[0], nullptr);
            ASSERT_NE(pMdl->ppSections[1], nullptr);
            EXPECT_EQ(pMdl->uiNumberOfSections, 4u);
        });
    EXPECT_EQ(result.strLog,
              "ERROR  (line    4) - Orphan Package Model keyword.\n"
              "ERROR  (line    5) - Orphan Data Line.\n"
              "ERROR  (line   13) - Number of Sections should be specified before Pin Numbers\n"
              "ERROR  (line   14) - Duplicate 'Pin_Numbers' keyword found.\n"
              "ERROR  (line   16) - Extraneous data on 'Model_Data' line.\n"
              "ERROR  (line   17) - Bandwidth keyword in wrong location.\n"
              "ERROR  (line   18) - Row keyword in wrong location.\n"
              "ERROR  (line   19) - Orphan Data line.\n"
              "ERROR  (line   22) - Multiple Bandwidth keywords.\n"
              "ERROR  (line   27) - Duplicate Resistance Matrix.\n"
              "ERROR  (line   29) - Duplicate 'End_Model_Data' keyword found.\n"
              "ERROR  (line   36) - Duplicate Number_of_Sections keyword.\n"
              "ERROR  - Model_Data cannot be specified when Number_Of_Sections is specified for package RULES.\n"
              "ERROR  - Resistance_Matrix cannot be specified when Number_Of_Sections is specified for Package "
              "Model RULES.\n"
              "ERROR  - Inductance_Matrix cannot be specified when Number_Of_Sections is specified for Package "
              "Model RULES.\n"
              "ERROR  - End_Model_Data cannot be specified when Number_Of_Sections is specified for package "
              "RULES.\n"
              "ERROR  (line   38) - Number_of_Sections = 0.\n"
              "ERROR  (line   39) - Bad Number_of_Sections value.\n"
              "ERROR  (line   40) - Blank Number_of_Sections value.\n"
              "ERROR  - Keyword 'Manufacturer' not found or blank for Package Model 'SEC0'.\n"
              "ERROR  - OEM keyword not found for Package Model 'SEC0'.\n"
              "ERROR  - Description keyword not found for Package Model 'SEC0'.\n"
              "ERROR  - Number_of_Pins keyword not found or value bad for Package Model 'SEC0'.\n"
              "ERROR  - Required keyword Pin_Numbers not found.\n"
              "ERROR  - Required End_Package_Model keyword not found.\n");
}

// One section read from the text, with the text left after it.
struct ParsedSection {
    int nResult;
    SECT* pSect;
    std::string strRest;
};

ParsedSection Parse(const char* pszText) {
    ParsedSection parsed{0, nullptr, ""};
    const char* pszRest = nullptr;
    parsed.nResult = SECT_Parse(pszText, &parsed.pSect, &pszRest);
    parsed.strRest = pszRest;
    return parsed;
}

TEST(Section, ValuesOrderAndTheClosingSlash) {
    LogCapture log(7);
    ParsedSection parsed = Parse("Len=2 L=1n C=1p R=0.5/ Len=0 R=1/");
    ASSERT_EQ(parsed.nResult, 1);
    ASSERT_NE(parsed.pSect, nullptr);
    EXPECT_DOUBLE_EQ(*parsed.pSect->pdLen, 2.0);
    EXPECT_DOUBLE_EQ(*parsed.pSect->pdR, 0.5);
    EXPECT_EQ(parsed.strRest, "Len=0 R=1/");
    SECT_Free(parsed.pSect);

    parsed = Parse("  ");
    EXPECT_EQ(parsed.nResult, 1);
    EXPECT_EQ(parsed.pSect, nullptr);

    parsed = Parse("R=1 Len=-1 R=2 Len=1 L=-1n C=1p X=1 /");
    ASSERT_EQ(parsed.nResult, 1);
    EXPECT_DOUBLE_EQ(*parsed.pSect->pdR, 2.0);  // the later value wins
    EXPECT_DOUBLE_EQ(*parsed.pSect->pdLen, 1.0);
    SECT_Free(parsed.pSect);

    parsed = Parse("/");
    ASSERT_EQ(parsed.nResult, 1);
    ASSERT_NE(parsed.pSect, nullptr);  // an empty section is still one
    EXPECT_EQ(parsed.pSect->pdLen, nullptr);
    SECT_Free(parsed.pSect);

    parsed = Parse("Len=0 R=1");
    EXPECT_EQ(parsed.nResult, 0);
    EXPECT_EQ(parsed.pSect, nullptr);
    EXPECT_EQ(log.Text(),
              "ERROR  (line    7) - Len should be specified before R\n"
              "ERROR  (line    7) - Len should not be less than zero\n"
              "ERROR  (line    7) - Duplicate R sub param in R/L/C section\n"
              "ERROR  (line    7) - Duplicate Len sub param in R/L/C section\n"
              "ERROR  (line    7) - L should not be less than zero\n"
              "ERROR  (line    7) - Unexpected token 'X' found in R/L/C section\n"
              "ERROR  (line    7) - Unexpected '=' found\n"
              "ERROR  (line    7) - Unexpected token '1' found in R/L/C section\n"
              "ERROR  (line    7) - Empty R/L/C section found\n"
              "ERROR  (line    7) - Premature end of R/L/C section. Trailing '/' missing\n");
}

TEST(PackageModel, DuplicateNamesArePairsOfTheList) {
    PKGMDL a{}, b{}, c{}, d{};
    snprintf(a.szName, sizeof a.szName, "D");
    snprintf(b.szName, sizeof b.szName, "E");
    snprintf(c.szName, sizeof c.szName, "D");
    snprintf(d.szName, sizeof d.szName, "D");
    a.pNext = &b;
    b.pNext = &c;
    c.pNext = &d;
    LogCapture log;
    PKGMDL_CheckDuplicates(&a);
    EXPECT_EQ(log.Text(),
              "ERROR  - Define_Package_Model 'D' is duplicated within the .ibs file.\n"
              "ERROR  - Define_Package_Model 'D' is duplicated within the .ibs file.\n"
              "ERROR  - Define_Package_Model 'D' is duplicated within the .ibs file.\n");
}

// Forks nested as deep as the file goes are reported, counted and released
// without recursion.
TEST(PackageModel, DeeplyNestedForks) {
    const int nForks = 100000;
    std::string strText = Header32("deep.pkg") + ModelHead("DEEP", "1").replace(
                                                     ModelHead("DEEP", "1").find("[Pin Numbers]"), 0,
                                                     "[Number Of Sections] 1\n") + "A1 Len=0 R=1/\n";
    for (int i = 0; i < nForks; ++i) strText += "Fork\n";
    strText += "Len=0 R=1/\n[End Package Model]\n[End]\n";
    ReadResult result = ReadSnippet("deep.pkg", strText, [](IBIS* pIbis) {
        EXPECT_EQ(SECT_CountSections(pIbis->pPkgMdlList->ppSections[0]), 2u);
    });
    EXPECT_EQ(result.nBugs, 0);
    // Every fork after the first is nested, the forks stay open, and the
    // pin has one section more than allowed.
    EXPECT_EQ(result.nErrors, nForks - 1 + 2);
}

}  // namespace
