#include "api/cbsread.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "api/cbs.h"
#include "component/cmpnt.h"
#include "reader/ibis.h"
#include "support/snippet.h"

namespace {

// Stands in for the component record: writes down every call it receives,
// one line each, and refuses pin indexes outside its pins.
class RecordDouble {
public:
    int SetModelParam(eIbisParam eParam, const char* pszText, int nPin) {
        return Note("T " + std::to_string(eParam) + " " + std::to_string(nPin) + " [" + pszText + "]",
                    eParam, nPin);
    }
    int SetModelParam(eIbisParam eParam, int nValue, int nPin) {
        return Note("I " + std::to_string(eParam) + " " + std::to_string(nPin) + " " +
                        std::to_string(nValue),
                    eParam, nPin);
    }
    int SetModelParam(eIbisParam eParam, double dValue, int nPin, eTypMinMax eCorner) {
        char sz[64];
        snprintf(sz, sizeof sz, "%g", dValue);
        return Note("D " + std::to_string(eParam) + " " + std::to_string(nPin) + " " +
                        std::to_string(eCorner) + " " + sz,
                    eParam, nPin);
    }
    int AddPinDesc(int nCount) {
        m_calls.push_back("P " + std::to_string(nCount));
        m_nPins = nCount;
        return 1;
    }
    void SetStatus(eIbisStatus eStatus) { m_calls.push_back("S " + std::to_string(eStatus)); }

    std::vector<std::string> m_calls;
    int m_nPins = 0;

private:
    int Note(const std::string& strCall, eIbisParam eParam, int nPin) {
        m_calls.push_back(strCall);
        return eParam < eIbisPrmPinName || (nPin >= 0 && nPin < m_nPins);
    }
};

struct ReadBack {
    int nResult = 0;
    int nErrors = 0;
    std::string strErrors;  // "line/kind/code keyword|token" per error
    std::vector<std::string> calls;
};

ReadBack Read(std::istream& in) {
    RecordDouble record;
    ReadBack back;
    CCbsRecordParser<RecordDouble> parser(record, [&](int nLine, int nKind, int nCode,
                                                      const char* pszKeyword, const char* pszToken) {
        back.strErrors += std::to_string(nLine) + "/" + std::to_string(nKind) + "/" +
                          std::to_string(nCode) + " " + pszKeyword + "|" +
                          std::string(pszToken).substr(0, 20) + "\n";
    });
    back.nResult = parser.Read(in);
    back.nErrors = parser.ErrorCount();
    back.calls = record.m_calls;
    return back;
}

ReadBack Read(const std::string& strText) {
    std::istringstream in(strText);
    return Read(in);
}

std::string Joined(const std::vector<std::string>& calls) {
    std::string str;
    for (const std::string& strCall : calls) str += strCall + "\n";
    return str;
}

// ------------------------------------------------------------ the keyword table

TEST(CbsRead, EveryKeywordReachesItsParameter) {
    const ReadBack back = Read(
        "File_Rev 3 0\n"
        "Copyright \"c\"\nSrc_Name \"s.ibs\"\nComponent \"C\"\nManufacturer \"M\"\nCrypt\n"
        "R_Pkg 1 2 3\nL_Pkg 1n 2n 3n\nC_Pkg 1p 2p 3p\n"
        "Num_Pins 2\n"
        "Pin \"1\" \"A\" \"IO\" 1 4\n"
        "C_Pin 1p\nL_Pin 2n\nR_Pin 0.5\n"
        "series_2nd_pin \"2\" \"SER\"\nseries_r 1 2 3\nseries_l 1 2 3\nseries_c 1 2 3\n"
        "series_rl 1 2 3\nseries_lc 1 2 3\nseries_rc 1 2 3\n"
        "series_2nd_pin \"3\" \"SER2\"\nseries_r 9 9 9\n"
        "diff_2nd_pin \"2\"\ndiff_polarity 1\nvdiff 0.2\ntdelay 1e-9 0 2e-9\n"
        "ERate 3e9 2e9 4e9\nVoltRange 3.3 3 3.6\nPullUpRef 1 1 1\nPullDownRef 2 2 2\n"
        "PowerClampRef 3 3 3\nGndClampRef 4 4 4\n"
        "term_rgnd 1 1 1\nterm_rpwr 2 2 2\nterm_rac  3 3 3\nterm_cac  4 4 4\n"
        "vinh_plus 1 1 1\nvinh_minus 2 2 2\nvinl_plus 3 3 3\nvinl_minus 4 4 4\n"
        "over_high_s 1 1 1\nover_low_s 1 1 1\nover_high_d 1 1 1\nover_low_d 1 1 1\n"
        "over_time_d 1e-9 1e-9 1e-9\nvmeas 5 5 5\n"
        "PU_Pin \"V1\" \"V2\"\nPD_Pin \"G1\"\nPC_Pin \"V1\"\nGC_Pin \"G1\" \"G2\" \"G3\"\n"
        "Pin \"2\" \"B\" \"\" 0 1\n"
        "\nModel \"IO\"\nType \"I/O\"\nbogus lines that are never read\n");
    EXPECT_EQ(1, back.nResult);
    EXPECT_EQ("", back.strErrors);
    EXPECT_EQ("D 5 0 0 1\nD 5 0 1 2\nD 5 0 2 3\n"
              "D 6 0 0 1e-09\nD 6 0 1 2e-09\nD 6 0 2 3e-09\n"
              "D 7 0 0 1e-12\nD 7 0 1 2e-12\nD 7 0 2 3e-12\n"
              "P 2\n"
              "T 8 0 [1]\nT 9 0 [A]\nT 10 0 [IO]\nI 15 0 1\nI 16 0 4\n"
              "D 19 0 0 1e-12\nD 18 0 0 2e-09\nD 17 0 0 0.5\n"
              "T 33 0 [2]\nT 34 0 [SER]\n"
              "D 35 0 0 1\nD 35 0 1 2\nD 35 0 2 3\nD 36 0 0 1\nD 36 0 1 2\nD 36 0 2 3\n"
              "D 37 0 0 1\nD 37 0 1 2\nD 37 0 2 3\nD 38 0 0 1\nD 38 0 1 2\nD 38 0 2 3\n"
              "D 39 0 0 1\nD 39 0 1 2\nD 39 0 2 3\nD 40 0 0 1\nD 40 0 1 2\nD 40 0 2 3\n"
              "T 33 0 [3]\n"
              "T 29 0 [2]\nI 30 0 1\nD 31 0 0 0.2\n"
              "D 32 0 0 1e-09\nD 32 0 1 0\nD 32 0 2 2e-09\n"
              "D 20 0 0 3e+09\nD 20 0 1 2e+09\nD 20 0 2 4e+09\n"
              "D 21 0 0 3.3\nD 21 0 1 3\nD 21 0 2 3.6\n"
              "D 22 0 0 1\nD 22 0 1 1\nD 22 0 2 1\nD 23 0 0 2\nD 23 0 1 2\nD 23 0 2 2\n"
              "D 24 0 0 3\nD 24 0 1 3\nD 24 0 2 3\nD 25 0 0 4\nD 25 0 1 4\nD 25 0 2 4\n"
              "D 41 0 0 1\nD 41 0 1 1\nD 41 0 2 1\nD 42 0 0 2\nD 42 0 1 2\nD 42 0 2 2\n"
              "D 43 0 0 3\nD 43 0 1 3\nD 43 0 2 3\nD 44 0 0 4\nD 44 0 1 4\nD 44 0 2 4\n"
              "D 47 0 0 1\nD 47 0 1 1\nD 47 0 2 1\nD 49 0 0 2\nD 49 0 1 2\nD 49 0 2 2\n"
              "D 46 0 0 3\nD 46 0 1 3\nD 46 0 2 3\nD 48 0 0 4\nD 48 0 1 4\nD 48 0 2 4\n"
              "D 45 0 0 5\nD 45 0 1 5\nD 45 0 2 5\n"
              "T 11 0 [V1]\nT 11 0 [V2]\nT 12 0 [G1]\nT 13 0 [V1]\n"
              "T 14 0 [G1]\nT 14 0 [G2]\nT 14 0 [G3]\n"
              "T 8 1 [2]\nT 9 1 [B]\nT 10 1 []\nI 15 1 0\nI 16 1 1\n",
              Joined(back.calls));
}

TEST(CbsRead, RevisionsBeforeThreeAreRefused) {
    const ReadBack old = Read("File_Rev 2 9\nNum_Pins 1\n");
    EXPECT_EQ(0, old.nResult);
    EXPECT_EQ("1/2/8 File_Rev|File_Rev\n", old.strErrors);
    EXPECT_EQ("S 3\nP 1\n", Joined(old.calls));
    EXPECT_EQ(1, Read("File_Rev 4 0\n").nResult);
    EXPECT_EQ(1, Read("File_Rev 3 7\n").nResult);
}

// Texts with quotes, blanks, line ends and 300 characters come back as written.
TEST(CbsRead, QuotedTextsReadBackIdentically) {
    const std::string strLong(300, 'n');
    const ReadBack back = Read("Num_Pins 1\nPin \"a \"\"b\"\" c\" \"" + strLong + "\" \"x\ny\" 0 1\n");
    EXPECT_EQ("", back.strErrors);
    EXPECT_EQ("P 1\nT 8 0 [a \"b\" c]\nT 9 0 [" + strLong + "]\nT 10 0 [x\ny]\nI 15 0 0\nI 16 0 1\n",
              Joined(back.calls));
}

// ------------------------------------------------------------ bad files

TEST(CbsRead, PinLinesNeedTheirPins) {
    const ReadBack back = Read("Pin \"1\" \"A\" \"M\" 0 1\n"  // before Num_Pins
                               "C_Pin 1p\n"                 // no pin yet
                               "Num_Pins 1\n"
                               "Pin \"1\" \"A\" \"M\" 0 1\n"
                               "Pin \"2\" \"B\" \"M\" 0 1\n"  // one more than allocated
                               "R_Pin 1\n"                  // belongs to the refused pin
                               "Num_Pins -3\n"
                               "Num_Pins 2000000000\n"
                               "Num_Pins 99999999999\n");
    EXPECT_EQ(0, back.nResult);
    EXPECT_EQ("1/2/8 Pin|Pin\n"
              "2/2/8 C_Pin|C_Pin\n"
              "5/2/8 Pin|Pin\n"
              "6/2/8 R_Pin|R_Pin\n"
              "7/3/7 Num_Pins|-3\n"
              "8/2/8 Num_Pins|Num_Pins\n"
              "9/3/7 Num_Pins|99999999999\n",
              back.strErrors);
    EXPECT_EQ(7, back.nErrors);
    EXPECT_EQ("P 1\nT 8 0 [1]\nT 9 0 [A]\nT 10 0 [M]\nI 15 0 0\nI 16 0 1\n", Joined(back.calls));
}

TEST(CbsRead, TruncatedFilesReportTheMissingArguments) {
    EXPECT_EQ("2/1/0 Pin|\n", Read("Num_Pins 1\nPin \"1\" \"A").strErrors);
    EXPECT_EQ("3/3/0 ERate|\n", Read("Num_Pins 1\nPin \"1\" \"A\" \"M\" 0 1\nERate 1 2").strErrors);
    EXPECT_EQ("1/1/0 Pin|\n", Read("Num_Pins 1 Pin \"1\" \"unterminated").strErrors);
}

TEST(CbsRead, TooLongTokensAndStrayTokens) {
    const std::string strLong(5000, 'w');
    const ReadBack back = Read("Num_Pins 1\nPin \"" + strLong + "\" \"A\" \"M\" 0 1\n" + strLong +
                               " more words 1 2\nSrc_Name \"s\" 17\n");
    EXPECT_EQ("2/1/5 Pin|wwwwwwwwwwwwwwwwwwww\n"
              "4/2/3 17|17\n",
              back.strErrors);
    EXPECT_EQ("P 1\n", Joined(back.calls));
}

TEST(CbsRead, RandomBytesGiveErrorsAndNoCrash) {
    unsigned uSeed = 2024;
    for (int nRound = 0; nRound < 40; ++nRound) {
        std::string strText = nRound % 2 ? "Num_Pins 3\n" : "";
        for (int i = 0; i < 3000; ++i) {
            uSeed = uSeed * 1664525u + 1013904223u;
            strText += static_cast<char>(uSeed >> 24);
            if (i % 211 == 0) strText += "\nPin \"p\" \"s\" \"m\" 0 4\nPU_Pin \"a\" ";
        }
        const ReadBack back = Read(strText);
        EXPECT_GT(back.nErrors, 0);
        EXPECT_LE(back.calls.size(), 2000u);
    }
}

// A pin count is bounded by what the rest of the input can hold: a short
// file never makes the record allocate two thousand million pins.
TEST(CbsRead, PinCountIsBoundedByTheInput) {
    EXPECT_EQ("1/2/8 Num_Pins|Num_Pins\n2/2/8 Pin|Pin\n",
              Read("Num_Pins 100\nPin \"1\" \"A\" \"M\" 0 1\n").strErrors);
    std::string strPins = "Num_Pins 3\n";
    for (int i = 0; i < 3; ++i) strPins += "Pin \"\"x\"\"x\"\"x0 0\n";  // the character after a text is eaten
    EXPECT_EQ("", Read(strPins).strErrors);
}

// ------------------------------------------------------------ round trip

}  // namespace
