// Index tables and files: the bucket hash, ordered chains, generated names
// up to the largest number, loading lenient inside entries and strict on
// the next number, overlong lines, and saves that never leave a half file.
#include "api/idx.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/platform.h"
#include "support/snippet.h"

namespace {

const std::string kHead = "***** This is an automatically generated file, do not edit! *****\n";

std::string Slurp(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string Dir(const std::string& strPath) { return strPath.substr(0, strPath.rfind('/') + 1); }

// user, disk, text ("-" for absent), flag of every entry in file order.
std::string Entries(IDX* pIdx) {
    std::string strOut;
    IDX_CURSOR* pCursor = nullptr;
    while (IDX_ENTRY* pEntry = IDX_Next(pIdx, &pCursor)) {
        strOut += pEntry->strUserName + "," + pEntry->strDiskName + "," +
                  (pEntry->bHasText ? pEntry->strText : "-") + "," + std::to_string(pEntry->sFlag) +
                  ";";
    }
    EXPECT_EQ(nullptr, pCursor);
    return strOut;
}

TEST(IdxBucket, SumOfSignedBytesPlusOne) {
    // 'A' 65 + 1 = 66; lowered 'a' 97 + 1 = 98 unless case-sensitive.
    EXPECT_EQ(98, IDX_Bucket("A", 0));
    EXPECT_EQ(66, IDX_Bucket("A", 1));
    EXPECT_EQ((98 + 99) % 100, IDX_Bucket("ab", 0));
    // 0xFF is -1 as a signed byte: it adds 0.  0x80 is -128: it subtracts 127.
    EXPECT_EQ(98, IDX_Bucket("a\xff", 0));
    EXPECT_EQ(static_cast<int>((98u + 0u - 127u) % 100u), IDX_Bucket("a\x80", 0));
    EXPECT_EQ(0, IDX_Bucket("", 0));
}

TEST(IdxTable, ChainsAreOrderedAndCaseBlindLookupFinds) {
    IDX* pIdx = IDX_Create("unused.idx", "", 0);
    // "ab" and "ba" share a bucket; the chain is kept in name order.
    ASSERT_NE(nullptr, IDX_Add(pIdx, "ba", "2.ibs", nullptr, 0));
    ASSERT_NE(nullptr, IDX_Add(pIdx, "ab", "1.ibs", "first", 3));
    EXPECT_EQ("ab,1.ibs,first,3;ba,2.ibs,-,0;", Entries(pIdx));
    ASSERT_NE(nullptr, IDX_Add(pIdx, "U1", "u1.ibs", nullptr, 0));
    EXPECT_EQ("u1.ibs", IDX_Find(pIdx, "u1")->strDiskName);
    EXPECT_EQ(nullptr, IDX_Find(pIdx, "u2"));
    // Adding the same name again returns the entry unchanged; a name that
    // differs in case only is a second entry, placed before the first.
    EXPECT_EQ(IDX_Find(pIdx, "U1"), IDX_Add(pIdx, "U1", "other.ibs", nullptr, 5));
    IDX_ENTRY* pLower = IDX_Add(pIdx, "u1", "lower.ibs", nullptr, 0);
    EXPECT_EQ("lower.ibs", pLower->strDiskName);
    EXPECT_EQ(pLower, IDX_Find(pIdx, "U1"));
    EXPECT_EQ(pLower, IDX_Add(pIdx, "u1", nullptr, nullptr, 0));
    EXPECT_EQ("u1.ibs", IDX_Add(pIdx, "U1", nullptr, nullptr, 0)->strDiskName);
    EXPECT_EQ(4, pIdx->nEntryCount);
    IDX_Free(pIdx);

    pIdx = IDX_Create("unused.idx", "", 1);
    IDX_Add(pIdx, "U1", "u1.ibs", nullptr, 0);
    EXPECT_EQ(nullptr, IDX_Find(pIdx, "u1"));
    EXPECT_NE(nullptr, IDX_Find(pIdx, "U1"));
    IDX_Free(pIdx);
}

TEST(IdxNames, GeneratedFromPatternAndNeverPastTheLargest) {
    IDX* pIdx = IDX_Create("unused.ibx", "ib%06d.cbs", 0);
    std::string strName;
    ASSERT_EQ(1, IDX_NextName(pIdx, &strName));
    EXPECT_EQ("ib000000.cbs", strName);
    EXPECT_EQ("ib000001.cbs", IDX_Add(pIdx, "c", nullptr, nullptr, 0)->strDiskName);
    ASSERT_EQ(1, IDX_NextName(pIdx, &strName));
    EXPECT_EQ("ib000002.cbs", strName);
    EXPECT_EQ(3, pIdx->nNextNumber);
    IDX_RaiseNextNumber(pIdx, 2);
    EXPECT_EQ(3, pIdx->nNextNumber);
    IDX_RaiseNextNumber(pIdx, 17);
    EXPECT_EQ(17, pIdx->nNextNumber);

    IDX_RaiseNextNumber(pIdx, INT_MAX - 1);
    ASSERT_EQ(1, IDX_NextName(pIdx, &strName));
    EXPECT_EQ("ib2147483646.cbs", strName);
    strName = "kept";
    EXPECT_EQ(0, IDX_NextName(pIdx, &strName));
    EXPECT_EQ("kept", strName);
    EXPECT_EQ(INT_MAX, pIdx->nNextNumber);
    EXPECT_EQ(nullptr, IDX_Add(pIdx, "d", nullptr, nullptr, 0));
    EXPECT_NE(nullptr, IDX_Add(pIdx, "d", "given.cbs", nullptr, 0));
    IDX_Free(pIdx);
}

TEST(IdxFile, SavedAndLoadedBack) {
    const std::string strPath = WriteScratchFile("roundtrip.ibx", "");
    IDX* pIdx = IDX_Create(strPath.c_str(), "ib%06d.cbs", 0);
    IDX_Add(pIdx, "B", nullptr, nullptr, 0);   // bucket 99
    IDX_Add(pIdx, "A", nullptr, "text", 7);    // bucket 98
    ASSERT_EQ(1, IDX_Save(pIdx));
    IDX_Free(pIdx);
    EXPECT_EQ(kHead + "2\nA\nib000001.cbs\ntext\n7\nB\nib000000.cbs\n\n0\n", Slurp(strPath));
    EXPECT_EQ(std::vector<std::string>{"roundtrip.ibx"}, PLAT_ListFiles(Dir(strPath).c_str(), ".ibx"));

    pIdx = IDX_Load(strPath.c_str(), "ib%06d.cbs", 0);
    ASSERT_NE(nullptr, pIdx);
    EXPECT_EQ(2, pIdx->nNextNumber);
    EXPECT_EQ("A,ib000001.cbs,text,7;B,ib000000.cbs,-,0;", Entries(pIdx));
    IDX_Free(pIdx);
}

TEST(IdxFile, LoadingIsLenientInsideEntriesAndStrictOnTheNumber) {
    // CR-LF ends, a flag line with trailing words, an empty text, an
    // incomplete last group.
    const std::string strPath = WriteScratchFile(
        "lenient.idx", "junk head\r\n 5 trailing\r\nU1\r\nu1.ibs\r\n\r\n2 7\r\nU2\r\nu2.ibs\r\nt\r\n");
    IDX* pIdx = IDX_Load(strPath.c_str(), "", 0);
    ASSERT_NE(nullptr, pIdx);
    EXPECT_EQ(5, pIdx->nNextNumber);
    EXPECT_EQ("U1,u1.ibs,-,2;", Entries(pIdx));
    IDX_Free(pIdx);

    // An empty file is an empty index.
    pIdx = IDX_Load(WriteScratchFile("empty.idx", "").c_str(), "", 0);
    ASSERT_NE(nullptr, pIdx);
    EXPECT_EQ("", Entries(pIdx));
    IDX_Free(pIdx);

    const std::string binary("\x01\x02\xff\x00\x80\n\x7f\x00\n", 9);
    for (const std::string& strText :
         {std::string("head\n-1\n"), std::string("head\nabc\n"), std::string("head\n"),
          std::string("head\n99999999999\n"), binary}) {
        const std::string strBad = WriteScratchFile("bad.idx", strText);
        EXPECT_EQ(nullptr, IDX_Load(strBad.c_str(), "", 0)) << strText;
    }
    EXPECT_EQ(nullptr, IDX_Load("/nonexistent/dir/x.idx", "", 0));
}

TEST(IdxFile, OverlongLinesAreCutAndKeepTheGroupsInStep) {
    const std::string strLong(10000, 'x');
    const std::string strPath = WriteScratchFile(
        "long.idx", strLong + "\n" + "2147483647\n" + strLong + "\n" + strLong + "\n" + strLong + "\n" +
                        strLong + "\nU2\nu2.ibs\nt\n1\n");
    IDX* pIdx = IDX_Load(strPath.c_str(), "ib%06d.cbs", 0);
    ASSERT_NE(nullptr, pIdx);
    EXPECT_EQ(INT_MAX, pIdx->nNextNumber);
    EXPECT_EQ(2, pIdx->nEntryCount);
    IDX_ENTRY* pLong = IDX_Find(pIdx, std::string(254, 'x').c_str());
    ASSERT_NE(nullptr, pLong);
    EXPECT_EQ(std::string(126, 'x'), pLong->strDiskName);
    EXPECT_EQ(std::string(1022, 'x'), pLong->strText);
    EXPECT_EQ(0, pLong->sFlag);
    EXPECT_EQ("u2.ibs", IDX_Find(pIdx, "U2")->strDiskName);
    std::string strName;
    EXPECT_EQ(0, IDX_NextName(pIdx, &strName));
    IDX_Free(pIdx);
}

TEST(IdxFile, AFailedSaveLeavesNoFileBehindAndKeepsTheTable) {
    const std::string strPath = WriteScratchFile("kept.idx", kHead + "4\n");
    IDX* pIdx = IDX_Load(strPath.c_str(), "", 0);
    ASSERT_NE(nullptr, pIdx);
    IDX_Add(pIdx, "U1", "u1.ibs", nullptr, 0);
    // The index path is taken by a folder that is not empty: the written
    // file cannot be put in its place and is removed.
    const std::string strFolder = Dir(strPath) + "taken.idx";
    ASSERT_TRUE(PLAT_MakeDir(strFolder.c_str()));
    WriteScratchFile("taken.idx/inside.idx", "x");
    pIdx->strFileName = strFolder;
    EXPECT_EQ(0, IDX_Save(pIdx));
    EXPECT_EQ(std::vector<std::string>{"inside.idx"}, PLAT_ListFiles(strFolder.c_str(), ""));
    EXPECT_EQ(std::vector<std::string>{}, PLAT_ListFiles(Dir(strPath).c_str(), ".tmp"));
    EXPECT_EQ(1, pIdx->nEntryCount);
    IDX_Free(pIdx);
    // A path that opens but cannot be read is refused.
    EXPECT_EQ(nullptr, IDX_Load(strFolder.c_str(), "", 0));

    IDX* pNowhere = IDX_Create("/nonexistent/dir/x.idx", "", 0);
    EXPECT_EQ(0, IDX_Save(pNowhere));
    IDX_Free(pNowhere);
}

}  // namespace
