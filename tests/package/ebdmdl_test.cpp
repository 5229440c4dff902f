#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/document.h"
#include "corvane.h"
#include "package/ebdmdl.h"
#include "package/sect.h"
#include "support/snippet.h"

namespace fs = std::filesystem;

namespace {

// Lines 1 to 3 of a .ebd file.
std::string Head(const std::string& strFile) { return Header32(strFile); }

// The elements of a path as letters: P pin, S section, N node, C no-connect
// and F(...) a fork with its branch.
std::string PathShape(const PATHELEM* pElem) {
    std::string str;
    for (; pElem != nullptr; pElem = pElem->pNext) {
        switch (pElem->eNodeType) {
            case PATHELEM_PIN: str += "P"; break;
            case PATHELEM_SECTION: str += "S"; break;
            case PATHELEM_NODE: str += "N"; break;
            case PATHELEM_NC: str += "C"; break;
            default: str += "F(" + PathShape(static_cast<const PATHELEM*>(pElem->pData)) + ")"; break;
        }
    }
    return str;
}

TEST(BoardDescription, PathTokensPinListMapAndTheEndChecks) {
    ReadResult result = ReadSnippet(
        "syn.ebd", Head("syn.ebd") +
                       "[Path Description] X\n"                 // 4
                       "Pin 1\n"                                // 5
                       "[Begin Board Description] SYN\n"
                       "[Manufacturer] M\n"
                       "[Number Of Pins] 4\n"
                       "[Number Of Pins] 5\n"                   // 9
                       "[Pin List] signal_name extra\n"         // 10
                       "A1 S1\n"
                       "A123456789 S2 more\n"                   // 12
                       "A1 S3\n"                                // 13
                       "A4\n"                                   // 14
                       "A5 GND\n"                               // 15
                       "[Pin List] x\n"                         // 16
                       "[Path Description] P1\n"
                       "Len=0 R=1/\n"                           // 18
                       "Node U1.1\n"                            // 19
                       "NC\n"                                   // 20
                       "Fork\n"                                 // 21
                       "Endfork\n"                              // 22
                       "Pin A1 = / Bogus\n"                     // 23
                       "Node U1\n"                              // 24
                       "Node V12345678901.123456789\n"          // 25
                       "Fork\n"
                       "Endfork\n"                              // 27
                       "Endfork\n"                              // 28
                       "NC\n"
                       "Node U2.1\n"                            // 30
                       "Pin\n"                                  // 31
                       "Node\n"                                 // 32
                       "[Path Description] P1\n"                // 33
                       "Pin A1\n"
                       "Fork\n"
                       "[Path Description] P3\n"                // 36
                       "[Path Description] P4\n"
                       "Pin Len\n"                              // 38
                       "Pin A=B/C\n"                            // 39
                       "[Reference Designator Map]\n"
                       "U1 bad.txt Some Part Name\n"            // 41
                       "U1 a.b.c.ibs X\n"                       // 42
                       "U2 Chip.IBS X\n"                        // 43
                       "U3 noext\n"                             // 44
                       "U4 ok+.ibs A component name that is longer than forty characters\n"  // 45
                       "U12345678901 verylongfilename_abcdefghij.ibs X\n"                      // 46
                       "[End Board Description] x\n"            // 47
                       "[Begin Board Description]\n"            // 48
                       "[End]\n",
        [](IBIS* pIbis) {
            EBDMDL* pEbd = nullptr;
            ASSERT_EQ(IBIS_GetEbdMdlList(pIbis, &pEbd), 1);
            ASSERT_NE(pEbd->pNext, nullptr);
            EBDPATH* pPath = nullptr;
            ASSERT_EQ(EBDMDL_GetPaths(pEbd->pNext, &pPath), 1);
            EXPECT_EQ(PathShape(pPath->pFirst), "PNNF()CN");
            REFDES* pMap = nullptr;
            ASSERT_EQ(EBDMDL_GetRefDesList(pEbd->pNext, &pMap), 1);
            EXPECT_STREQ(pMap->szRefDes, "U123456789");
            EXPECT_STREQ(pMap->szFileName, "verylongfilename_abcdefg");
            EXPECT_STREQ(pMap->pNext->szComponent, "A component name that is longer than for");
        });
    EXPECT_EQ(result.strLog,
              "ERROR  (line    4) - Orphan Electrical Board Description keyword.\n"
              "ERROR  (line    5) - Orphan Data Line.\n"
              "ERROR  (line    9) - Duplicate [Number of Pins] keyword\n"
              "ERROR  (line    9) - Duplicate Number_of_Pins keyword.\n"
              "ERROR  (line   10) - Unrecognized data after 'signal_name'\n"
              "ERROR  (line   12) - Pin name string too long. will be truncated.\n"
              "ERROR  (line   12) - Unexpected data after signal_name.\n"
              "ERROR  (line   13) - Duplicate Pin <A1>.\n"
              "ERROR  (line   14) - No signal_name found\n"
              "ERROR  (line   15) - More Pin Numbers names than Number of pins.\n"
              "ERROR  (line   16) - Duplicate [Pin List] keyword found.\n"
              "ERROR  (line   18) - Detected the start of an orphan R/L/C section\n"
              "ERROR  (line   19) - Detected an orphan 'Node' sub param\n"
              "ERROR  (line   20) - Detected the start of an orphan 'NC'\n"
              "ERROR  (line   21) - Detected the start of an orphan 'Fork'\n"
              "ERROR  (line   22) - Detected the start of an orphan 'Endfork'\n"
              "ERROR  (line   23) - Unexpected '=' found\n"
              "ERROR  (line   23) - Unexpected '/' found\n"
              "ERROR  (line   23) - Unknown token found: 'Bogus'\n"
              "ERROR  (line   24) - Invalid Node specified. Missing '.'\n"
              "ERROR  (line   25) -\n"
              "    Node Reference designator string too long. will be truncated.\n"
              "ERROR  (line   25) - Node Pin name string too long. will be truncated.\n"
              "ERROR  (line   27) - Empty Fork/Endfork found\n"
              "ERROR  (line   28) - Endfork found without enclosing Fork\n"
              "ERROR  (line   31) - No Pin Name found after Pin sub param\n"
              "ERROR  (line   32) - No ref_designatior.pin found after Node sub param\n"
              "ERROR  (line   33) - Duplicate Path_Description 'P1'\n"
              "ERROR  (line   36) - Detected previous unterminated Forks\n"
              "WARNING  (line   38) - Found a Pin Name 'Len'. Possible syntax error\n"
              "WARNING  (line   39) -\n"
              "    Found a Pin Name 'A=B/C' containing '='. Possible syntax error\n"
              "WARNING  (line   39) -\n"
              "    Found a Pin Name 'A=B/C' containing '/'. Possible syntax error\n"
              "ERROR  (line   41) - Unknown file extension'.txt'. Should be '.ibs' or '.ebd'\n"
              "ERROR  (line   42) - Duplicate Reference Designator 'U1'\n"
              "ERROR  (line   42) - File_name 'a.b.c.ibs' contains more than one period.\n"
              "ERROR  (line   42) - File_name 'a.b.c.ibs' contains more than one period.\n"
              "ERROR  (line   43) - Unknown file extension'.IBS'. Should be '.ibs' or '.ebd'\n"
              "ERROR  (line   43) - File_name 'Chip.IBS' contains an upper case character 'C'.\n"
              "ERROR  (line   43) - File_name 'Chip.IBS' contains an upper case character 'I'.\n"
              "ERROR  (line   43) - File_name 'Chip.IBS' contains an upper case character 'B'.\n"
              "ERROR  (line   43) - File_name 'Chip.IBS' contains an upper case character 'S'.\n"
              "ERROR  (line   44) - Invalid file name 'noext'. It has no extension\n"
              "ERROR  (line   44) - No Component name found\n"
              "ERROR  (line   45) -\n"
              "    File_name 'ok+.ibs' contains a character '+' that is illegal for DOS.\n"
              "ERROR  (line   45) - Component name 'A component name that is longer than forty characters' "
              "too long. Will be truncated\n"
              "ERROR  (line   46) -\n"
              "    Reference Designator name 'U12345678901' too long. Will be truncated\n"
              "ERROR  (line   46) -\n"
              "    File name 'verylongfilename_abcdefghij.ibs' too long. Will be truncated\n"
              "ERROR  (line   47) - Extraneous data on 'End_Board_Description' line.\n"
              "ERROR  - Pin 'A1' was referenced 2 times on Electrical Paths\n"
              "ERROR  - Pin 'A1234567' was not referenced on any Electrical Path\n"
              "ERROR  - Pin 'A1' was referenced 2 times on Electrical Paths\n"
              "ERROR  - Pin 'A4' was not referenced on any Electrical Path\n"
              "ERROR  - Reference Designator 'V123456789' used in Path 'P1' not defined\n"
              "ERROR  - Path P1 or a branch does not terminate after NC\n"
              "ERROR  - Path Descriptor 'P3' has no segments\n"
              "ERROR  - Pin 'Len' used in Path 'P4' not defined\n"
              "ERROR  - Pin 'A=B/C' used in Path 'P4' not defined\n"
              "ERROR  (line   48) - Zero length value for keyword 'Define Ebd Model'.\n"
              "ERROR  - Ebd Model keyword 'Begin_Board_Description' not found or blank.\n"
              "ERROR  - Keyword 'Manufacturer' not found or blank for Ebd Model ''.\n"
              "ERROR  - Number_of_Pins keyword not found or value bad for Ebd Model ''.\n"
              "ERROR  - Required keyword Pin_List not found.\n"
              "ERROR  - EBD Model '' has no paths defined\n"
              "ERROR  - Required End_Board_Description keyword not found.\n");
}

// The [Pin List] column header, and pins whose signal is a reserved word,
// which may stay off every path.
TEST(BoardDescription, PinListHeaderAndReservedSignals) {
    const std::string strHead = Head("pins.ebd") +
                                "[Begin Board Description] PINS\n"
                                "[Manufacturer] M\n"
                                "[Number Of Pins] 4\n";
    const std::string strRest =
        "A1 gnd\n"
        "A2 NC\n"
        "A3 Power\n"
        "A4 DATA\n"
        "[Path Description] P\n"
        "Pin A4 Len=0 R=1/ Node U1.1 Fork Len=0 R=2/ NC Endfork Len=0 C=1p/\n"
        "[Reference Designator Map]\n"
        "U1 part.txt Part\n"  // 15: never looked for
        "[End Board Description]\n"
        "[End]\n";
    std::string strShape;
    std::string strNode;
    ReadResult result = ReadSnippet("pins.ebd", strHead + "[Pin List]\n" + strRest, [&](IBIS* pIbis) {
        EBDPATH* pPath = nullptr;
        ASSERT_EQ(EBDMDL_GetPaths(pIbis->pEbdMdlList, &pPath), 1);
        PATHELEM* pElem = nullptr;
        ASSERT_EQ(EBDPATH_GetFirst(pPath, &pElem), 1);
        strShape = PathShape(pElem);
        const char* psz = nullptr;
        EXPECT_EQ(PATHELEM_GetPinName(pElem, &psz), 1);
        EXPECT_STREQ(psz, "A4");
        EBDNODE* pNode = nullptr;
        EXPECT_EQ(PATHELEM_GetNode(pElem, &pNode), 0);
        ASSERT_EQ(PATHELEM_GetNext(pElem, &pElem), 1);
        ASSERT_EQ(PATHELEM_GetNext(pElem, &pElem), 1);
        ASSERT_EQ(PATHELEM_GetNode(pElem, &pNode), 1);
        EXPECT_EQ(EBDNODE_GetRefDes(pNode, &psz), 1);
        strNode = psz;
        EXPECT_EQ(EBDNODE_GetPin(pNode, &psz), 1);
        strNode += std::string(".") + psz;
        REFDES* pMap = nullptr;
        ASSERT_EQ(EBDMDL_GetRefDesList(pIbis->pEbdMdlList, &pMap), 1);
        EXPECT_EQ(REFDES_IsFileNameOk(pMap), 0);
        EXPECT_EQ(REFDES_IsComponentSet(pMap), 1);
    });
    EXPECT_EQ(strShape, "PSNF(SC)S");
    EXPECT_EQ(strNode, "U1.1");
    EXPECT_EQ(result.strLog,
              "ERROR  (line    7) - Unable to find 'signal_name' after [Pin List] keyword.\n"
              "ERROR  (line   15) - Unknown file extension'.txt'. Should be '.ibs' or '.ebd'\n");
    EXPECT_EQ(ReadSnippet("pins.ebd", strHead + "[Pin List] names\n" + strRest).strLog,
              "ERROR  (line    7) - 'signal_name' column header not found.\n"
              "ERROR  (line   15) - Unknown file extension'.txt'. Should be '.ibs' or '.ebd'\n");
    EXPECT_EQ(ReadSnippet("pins.ebd", strHead + "[Pin List] Signal_Name\n" + strRest).strLog,
              "ERROR  (line   15) - Unknown file extension'.txt'. Should be '.ibs' or '.ebd'\n");
}

// Forks may nest as deep as the file goes: the paths are walked, checked
// and released without recursion.
TEST(BoardDescription, DeeplyNestedForks) {
    // 100 000 forks, 16 to a line, closed 10 to a line (lines of 80 characters).
    std::string strForks;
    std::string strEnds;
    for (int i = 0; i < 16; ++i) strForks += "Fork ";
    for (int i = 0; i < 10; ++i) strEnds += "Endfork ";
    std::string strText = Head("deep.ebd") +
                          "[Begin Board Description] DEEP\n"
                          "[Manufacturer] M\n"
                          "[Number Of Pins] 1\n"
                          "[Pin List] signal_name\n"
                          "A1 S1\n"
                          "[Path Description] P\n"
                          "Pin A1\n";
    for (int i = 0; i < 6250; ++i) strText += strForks + "\n";
    strText += "Len=0 R=1/ Node U1.1\n";
    for (int i = 0; i < 10000; ++i) strText += strEnds + "\n";
    strText += "[Reference Designator Map]\nU1 deep.ebd DEEP\n[End Board Description]\n[End]\n";
    ReadResult result = ReadSnippet("deep.ebd", strText);
    EXPECT_EQ(result.nBugs, 0);
    EXPECT_EQ(result.strLog,
              "ERROR  - Reference Designator 'U1' refers to the Component 'DEEP' itself being defined\n");
}

// The files of each test in a directory of their own.
class BoardFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char szTemplate[] = "/tmp/tavelin-ebdfiles-XXXXXX";
        ASSERT_NE(mkdtemp(szTemplate), nullptr);
        strDir = std::string(szTemplate) + "/";
    }
    void TearDown() override {
        termCentralLibrary();
        std::error_code ec;
        fs::remove_all(strDir, ec);
    }
    std::string Write(const std::string& strRelative, const std::string& strText) {
        fs::path path = fs::path(strDir + strRelative);
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << strText;
        return path.string();
    }
    // The log of a read with the file names shown, the directory taken out.
    std::string Check(const std::string& strFile) const {
        std::string strLog = ReadPath(strDir + strFile, nullptr, 0).strLog;
        for (size_t n; (n = strLog.find(strDir)) != std::string::npos;) strLog.erase(n, strDir.size());
        return strLog;
    }

    std::string strDir;
};

// A component file with one component of pins 1 and 2.
std::string ComponentFile(const std::string& strFile, const std::string& strComponent) {
    return Header32(strFile) + "[Component] " + strComponent + "\n"
           "[Manufacturer] M\n"
           "[Package]\n"
           "R_pkg 1 NA NA\n"
           "L_pkg 1n NA NA\n"
           "C_pkg 1p NA NA\n"
           "[Pin] signal_name model_name\n"
           "1 VCC POWER\n"
           "2 GND GND\n"
           "[End]\n";
}

// A board file of one description whose pins A1 ... An each start one path
// of the given node words.
std::string BoardFile(const std::string& strFile, const std::string& strName,
                      const std::vector<std::string>& nodes, const std::string& strMap) {
    std::string strPins;
    std::string strPaths;
    for (size_t i = 0; i < nodes.size(); ++i) {
        const std::string strPin = "A" + std::to_string(i + 1);
        strPins += strPin + " S" + std::to_string(i + 1) + "\n";
        strPaths += "[Path Description] P" + std::to_string(i + 1) + "\nPin " + strPin + " Len=0 R=1/ " + nodes[i] +
                    "\n";
    }
    return Header32(strFile) + "[Begin Board Description] " + strName + "\n"
           "[Manufacturer] M\n"
           "[Number Of Pins] " + std::to_string(nodes.size()) + "\n"
           "[Pin List] signal_name\n" + strPins + strPaths + "[Reference Designator Map]\n" + strMap +
           "[End Board Description]\n"
           "[End]\n";
}

// Referenced component files are looked for in the directory of the board
// file; the pins named in the paths are checked in them, and a file that
// cannot be opened is reported by the reader.  Later findings carry the
// board file's name again.
TEST_F(BoardFiles, ReferencesResolvedThroughTheDirectory) {
    Write("chip.ibs", ComponentFile("chip.ibs", "CHIP"));
    Write("top.ebd", BoardFile("top.ebd", "TOP",
                               {"Node U1.1", "Node U1.9", "Node U3.1 Node U1.123456", "Node U4.1"},
                               "U1 chip.ibs CHIP\n"
                               "U3 chip.ibs NOBODY\n"
                               "U4 gone.ibs X\n"));
    EXPECT_EQ(Check("top.ebd"),
              "ERROR gone.ibs - Unable To Open File 'gone.ibs'\n"
              "ERROR top.ebd - Length of Pin '123456' referenced for Component 'CHIP' is too long\n"
              "ERROR top.ebd - Component 'NOBODY' not found in file 'chip.ibs'\n"
              "ERROR top.ebd - Pin '9' not found on Component 'CHIP' in file 'chip.ibs'\n");
}

TEST_F(BoardFiles, ReferencesResolvedThroughTheCentralLibraryFirst) {
    Write("models/lib.ibs", ComponentFile("lib.ibs", "CHIP"));
    Write("lib.ibs", ComponentFile("lib.ibs", "ELSE"));  // beside the board: not the one asked for
    const std::string strLibrary = Write("central.lmc", strDir + "models\n");
    Write("top.ebd", BoardFile("top.ebd", "TOP", {"Node U1.2", "Node U1.7"}, "U1 lib.ibs CHIP\n"));
    initCentralLibrary(0, strLibrary.c_str());
    EXPECT_EQ(Check("top.ebd"), "ERROR top.ebd - Pin '7' not found on Component 'CHIP' in file 'lib.ibs'\n");
}

// Two board files that reference each other: the referenced file is read
// with the nested flag, so its own references are not followed, and the
// loop is reported once.
TEST_F(BoardFiles, MutualReferencesAreReportedOnce) {
    Write("a.ebd", BoardFile("a.ebd", "A", {"Node R1.A1"}, "R1 b.ebd B\n"));
    Write("b.ebd", BoardFile("b.ebd", "B", {"Node R2.A1"}, "R2 a.ebd A\n"));
    EXPECT_EQ(Check("a.ebd"),
              "ERROR a.ebd - Ebd file 'b.ebd' recursively references the component A in the calling Ebd file "
              "'a.ebd'\n");
    EXPECT_EQ(Check("b.ebd"),
              "ERROR b.ebd - Ebd file 'a.ebd' recursively references the component B in the calling Ebd file "
              "'b.ebd'\n");
}

// A description that names itself is reported once, however many nodes use
// the designator, and is not looked for; other descriptions of the file
// are checked in place.
TEST_F(BoardFiles, ReferencesWithinTheFile) {
    std::string strText = BoardFile("self.ebd", "ONE", {"Node S1.A1 Node S1.A2", "Node S2.A1", "Node S2.A9 Node S3.A1"},
                                    "S1 self.ebd ONE\nS2 self.ebd TWO\nS3 self.ebd NONE\n");
    strText.erase(strText.rfind("[End]\n"));
    strText += BoardFile("self.ebd", "TWO", {"Node S1.A1"}, "S1 self.ebd ONE\n").substr(Header32("self.ebd").size());
    Write("self.ebd", strText);
    EXPECT_EQ(Check("self.ebd"),
              "ERROR self.ebd - Reference Designator 'S1' refers to the Component 'ONE' itself being defined\n"
              "ERROR self.ebd - Pin 'A9' not found on Component 'TWO' in file 'self.ebd'\n"
              "ERROR self.ebd - Component 'NONE' not found in file 'self.ebd'\n");
}

// The referenced board file runs the file checks of its own while the
// outer checks still walk their references: the component file named after
// it is still checked.
TEST_F(BoardFiles, EachFileCheckKeepsItsOwnReferences) {
    Write("c.ibs", ComponentFile("c.ibs", "CHIP"));
    Write("b.ebd", BoardFile("b.ebd", "B", {"Node D1.1"}, "D1 d.ibs CHIP\n"));
    Write("a.ebd", BoardFile("a.ebd", "A", {"Node C1.9", "Node B1.A1"}, "C1 c.ibs CHIP\nB1 b.ebd B\n"));
    EXPECT_EQ(Check("a.ebd"), "ERROR a.ebd - Pin '9' not found on Component 'CHIP' in file 'c.ibs'\n");
}

}  // namespace
