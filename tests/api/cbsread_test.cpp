#include "api/cbsread.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "api/cbs.h"
#include "component/cmpnt.h"
#include "core/diag.h"
#include "core/document.h"
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

// The words of one line of a compiled file; texts lose their quotes.
std::vector<std::string> Words(const std::string& strLine, std::vector<bool>* pbText) {
    std::vector<std::string> words;
    pbText->clear();
    for (size_t i = 0; i < strLine.size();) {
        if (strLine[i] == ' ') {
            ++i;
        } else if (strLine[i] == '"') {
            std::string strText;
            for (++i; i < strLine.size(); ++i) {
                if (strLine[i] == '"' && i + 1 < strLine.size() && strLine[i + 1] == '"') {
                    strText += '"';
                    ++i;
                } else if (strLine[i] == '"') {
                    ++i;
                    break;
                } else {
                    strText += strLine[i];
                }
            }
            words.push_back(strText);
            pbText->push_back(true);
        } else {
            const size_t nEnd = strLine.find(' ', i);
            words.push_back(strLine.substr(i, nEnd == std::string::npos ? std::string::npos : nEnd - i));
            pbText->push_back(false);
            i = nEnd == std::string::npos ? strLine.size() : nEnd;
        }
    }
    return words;
}

std::string Number(const std::string& strWord) {
    char sz[64];
    snprintf(sz, sizeof sz, "%g", strtod(strWord.c_str(), nullptr));
    return sz;
}

// What a record should receive from the head and component block of a
// compiled file, decoded line by line from the file's text.
class ExpectedCalls {
public:
    std::vector<std::string> Decode(const std::string& strFile) {
        std::istringstream in(strFile);
        for (std::string strLine; std::getline(in, strLine);) {
            std::vector<bool> bText;
            const std::vector<std::string> words = Words(strLine, &bText);
            if (words.empty()) continue;
            if (words[0] == "Model") break;
            Line(words);
        }
        return m_calls;
    }

private:
    void Triple(int nParam, int nPin, const std::vector<std::string>& words) {
        for (int i = 0; i < 3; ++i)
            m_calls.push_back("D " + std::to_string(nParam) + " " + std::to_string(nPin) + " " +
                              std::to_string(i) + " " + Number(words.at(1 + i)));
    }
    void Text(int nParam, const std::string& strText) {
        m_calls.push_back("T " + std::to_string(nParam) + " " + std::to_string(m_nPin) + " [" + strText + "]");
    }
    void Line(const std::vector<std::string>& words) {
        static const std::map<std::string, int> kTriples = {
            {"ERate", 20},     {"VoltRange", 21}, {"PullUpRef", 22}, {"PullDownRef", 23},
            {"PowerClampRef", 24}, {"GndClampRef", 25}, {"tdelay", 32}, {"term_rgnd", 41},
            {"term_rpwr", 42}, {"term_rac", 43},  {"term_cac", 44},  {"vmeas", 45},
            {"vinl_plus", 46}, {"vinh_plus", 47}, {"vinl_minus", 48}, {"vinh_minus", 49}};
        static const std::map<std::string, int> kSeries = {{"series_r", 35},  {"series_l", 36},
                                                           {"series_c", 37},  {"series_rl", 38},
                                                           {"series_lc", 39}, {"series_rc", 40}};
        static const std::map<std::string, int> kSingles = {
            {"R_Pin", 17}, {"L_Pin", 18}, {"C_Pin", 19}, {"vdiff", 31}};
        static const std::map<std::string, int> kLists = {
            {"PU_Pin", 11}, {"PD_Pin", 12}, {"PC_Pin", 13}, {"GC_Pin", 14}};
        static const std::map<std::string, int> kPkg = {{"R_Pkg", 5}, {"L_Pkg", 6}, {"C_Pkg", 7}};
        const std::string& strKey = words[0];
        if (kPkg.count(strKey)) {
            Triple(kPkg.at(strKey), 0, words);
        } else if (strKey == "Num_Pins") {
            m_calls.push_back("P " + words.at(1));
        } else if (strKey == "Pin") {
            ++m_nPin;
            m_nSeries = 0;
            Text(8, words.at(1));
            Text(9, words.at(2));
            Text(10, words.at(3));
            m_calls.push_back("I 15 " + std::to_string(m_nPin) + " " + words.at(4));
            m_calls.push_back("I 16 " + std::to_string(m_nPin) + " " + words.at(5));
        } else if (kLists.count(strKey)) {
            for (size_t i = 1; i < words.size(); ++i) Text(kLists.at(strKey), words[i]);
        } else if (kSingles.count(strKey)) {
            m_calls.push_back("D " + std::to_string(kSingles.at(strKey)) + " " + std::to_string(m_nPin) +
                              " 0 " + Number(words.at(1)));
        } else if (kTriples.count(strKey)) {
            Triple(kTriples.at(strKey), m_nPin, words);
        } else if (strKey == "diff_2nd_pin") {
            Text(29, words.at(1));
        } else if (strKey == "diff_polarity") {
            m_calls.push_back("I 30 " + std::to_string(m_nPin) + " " + words.at(1));
        } else if (strKey == "series_2nd_pin") {
            Text(33, words.at(1));
            if (++m_nSeries == 1) Text(34, words.at(2));
        } else if (kSeries.count(strKey)) {
            if (m_nSeries == 1) Triple(kSeries.at(strKey), m_nPin, words);
        } else {
            static const char* const kSilent[] = {"File_Rev", "Copyright", "Src_Name", "Component",
                                                  "Manufacturer", "over_high_s", "over_low_s",
                                                  "over_high_d", "over_low_d", "over_time_d"};
            bool bKnown = false;
            for (const char* psz : kSilent) bKnown = bKnown || strKey == psz;
            if (!bKnown) ADD_FAILURE() << "keyword the record does not know: " << strKey;
        }
    }

    std::vector<std::string> m_calls;
    int m_nPin = -1;
    int m_nSeries = 0;
};

std::string ReadFile(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every component of every corpus file that reads without errors is
// written, read back without a parse error, and the record receives what
// the file says.
TEST(CbsRoundTrip, EveryCorpusComponentThatCompilesReadsBack) {
    int nComponents = 0;
    const std::string strOut = WriteScratchFile("roundtrip.cbs", "");
    for (const auto& entry : std::filesystem::directory_iterator(TAVELIN_CORPUS)) {
        if (entry.path().extension() != ".ibs") continue;
        ReadPath(entry.path().string(), [&](IBIS* pIbis) {
            int nErrors = 0;
            DIAG_GetCounts(&nErrors, nullptr, nullptr);
            if (nErrors > 0) return;
            CMPNT* pList = nullptr;
            IBIS_GetCmpntList(pIbis, &pList);
            for (CMPNT* pCmpnt = pList; pCmpnt != nullptr; pCmpnt = pCmpnt->pNext) {
                SCOPED_TRACE(entry.path().filename().string() + " " + pCmpnt->szName);
                ASSERT_EQ(1, CBS_Write(pIbis, strOut.c_str(), pCmpnt->szName));
                const std::string strFile = ReadFile(strOut);
                std::ifstream in(strOut);
                const ReadBack back = Read(in);
                EXPECT_EQ(1, back.nResult);
                EXPECT_EQ("", back.strErrors);
                EXPECT_EQ(Joined(ExpectedCalls().Decode(strFile)), Joined(back.calls));
                ++nComponents;
            }
        });
    }
    EXPECT_GE(nComponents, 9);
}

}  // namespace
