#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

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

}  // namespace
