#include "core/cmn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/diag.h"
#include "core/lines.h"
#include "support/log_capture.h"

namespace {

// Findings go to a log of this test, all on line 5; the diagnostics are
// left as the other tests expect them.
class CmnTest : public ::testing::Test {
protected:
    // The log written since the last check.
    std::string TakeLog() { return m_log.Take(); }

    LogCapture m_log{5};
};

struct Number {
    int nResult;
    double dValue;
};

Number Read(const char* psz) {
    Number n{-1, -1.0};
    n.nResult = CMN_GetNumber(psz, &n.dValue);
    return n;
}

std::vector<std::string> Words(const TOKENS& tokens) {
    std::vector<std::string> words;
    for (int i = 0; i < tokens.nMax; ++i)
        words.push_back(tokens.ppszToken[i] != nullptr ? tokens.ppszToken[i] : "(null)");
    return words;
}

using Strings = std::vector<std::string>;

TEST(CmnNumber, ScaleLettersUnitsAndTrailingText) {
    struct Case {
        const char* psz;
        int nResult;
        double dValue;
    };
    for (const Case& c : {Case{"10pF", 1, 1e-11}, Case{"10V", 1, 10.0}, Case{"1.5n3", 2, 1.5e-9},
                          Case{"10M", 1, 1e7}, Case{"10m", 1, 0.01}, Case{"2T", 1, 2e12},
                          Case{"2G", 1, 2e9}, Case{"2k", 1, 2e3}, Case{"2u", 1, 2e-6},
                          Case{"2f", 1, 2e-15}, Case{"2K", 1, 2.0}, Case{"3Ohm2", 2, 3.0}}) {
        EXPECT_EQ(Read(c.psz).nResult, c.nResult) << c.psz;
        EXPECT_DOUBLE_EQ(Read(c.psz).dValue, c.dValue) << c.psz;
    }
    EXPECT_EQ(Read("10%").nResult, 0);
}

TEST(CmnNumber, OnlyDecimalNumbersAreRead) {
    EXPECT_DOUBLE_EQ(Read("-1.5e-3").dValue, -1.5e-3);
    EXPECT_EQ(Read("-1.5e-3").nResult, 1);
    EXPECT_DOUBLE_EQ(Read("+.5").dValue, 0.5);
    EXPECT_DOUBLE_EQ(Read("5.").dValue, 5.0);
    EXPECT_DOUBLE_EQ(Read("2E2").dValue, 200.0);
    // An "e" without exponent digits is a unit letter.
    EXPECT_EQ(Read("1e").nResult, 1);
    EXPECT_DOUBLE_EQ(Read("1e").dValue, 1.0);
    for (const char* psz : {"", "inf", "nan", "-inf", ".", "-", "e5", "abc", " 1", "1e999", "1e300T", "-1e300T"})
        EXPECT_EQ(Read(psz).nResult, 0) << psz;
    // Hexadecimal text is the number 0 followed by the letter x and digits.
    EXPECT_EQ(Read("0x10").nResult, 2);
    EXPECT_DOUBLE_EQ(Read("0x10").dValue, 0.0);
}

// The conversion must give the C library's correctly rounded value, bit for
// bit, for every shape of decimal number, underflows included.
TEST(CmnNumber, ValuesAreTheCLibrarysToTheBit) {
    std::mt19937 rng(1208);
    const char* const kSigns[] = {"", "+", "-"};
    for (int i = 0; i < 20000; ++i) {
        std::string str = kSigns[rng() % 3];
        const int nInt = static_cast<int>(rng() % 20), nFrac = static_cast<int>(rng() % 20);
        for (int k = 0; k < nInt; ++k) str += static_cast<char>('0' + rng() % 10);
        if (nFrac > 0 || nInt == 0) str += '.';
        for (int k = 0; k < nFrac || (nInt == 0 && k == 0); ++k) str += static_cast<char>('0' + rng() % 10);
        if (rng() % 2) str += "e" + std::to_string(static_cast<int>(rng() % 700) - 350);
        const double dExpected = strtod(str.c_str(), nullptr);
        if (std::isinf(dExpected)) continue;
        const Number read = Read(str.c_str());
        ASSERT_EQ(read.nResult, 1) << str;
        ASSERT_EQ(memcmp(&read.dValue, &dExpected, sizeof dExpected), 0) << str;
    }
    EXPECT_EQ(Read("1e-400").dValue, 0.0);
    EXPECT_EQ(Read("4.9e-324").dValue, 4.9e-324);
}

TEST(CmnNumber, NotAvailable) {
    double d = -1.0;
    int bNA = -1;
    EXPECT_EQ(CMN_GetValueOrNA("na", &d, &bNA), 1);
    EXPECT_EQ(bNA, 1);
    EXPECT_EQ(d, 0.0);
    EXPECT_EQ(CMN_GetValueOrNA("NA", &d, &bNA), 1);
    EXPECT_EQ(bNA, 1);
    EXPECT_EQ(CMN_GetValueOrNA("N/A", &d, &bNA), 0);
    EXPECT_EQ(bNA, 0);
    EXPECT_EQ(CMN_GetValueOrNA("NAN", &d, &bNA), 0);
    EXPECT_EQ(CMN_GetValueOrNA("3n", &d, &bNA), 1);
    EXPECT_EQ(bNA, 0);
    EXPECT_DOUBLE_EQ(d, 3e-9);
}

TEST(CmnNumber, Unsigned) {
    unsigned long ul = 99;
    EXPECT_EQ(CMN_GetUnsigned("0", &ul), 1);
    EXPECT_EQ(ul, 0u);
    EXPECT_EQ(CMN_GetUnsigned("12", &ul), 1);
    EXPECT_EQ(ul, 12u);
    EXPECT_EQ(CMN_GetUnsigned("12a", &ul), 2);
    EXPECT_EQ(ul, 12u);
    EXPECT_EQ(CMN_GetUnsigned("-1", &ul), 0);
    EXPECT_EQ(CMN_GetUnsigned("", &ul), 0);
    EXPECT_EQ(CMN_GetUnsigned(" 7", &ul), 0);
    EXPECT_EQ(CMN_GetUnsigned("99999999999999999999999", &ul), 0);
}

TEST_F(CmnTest, ParseValueMessagesAndStates) {
    double d = -1.0;
    unsigned eState = 9;
    EXPECT_EQ(CMN_ParseValue(nullptr, "Ramp", "dV/dt", &d, &eState), 1);
    EXPECT_EQ(eState, VALUE_ABSENT);
    EXPECT_EQ(CMN_ParseValue("NA", "Ramp", "dV/dt", &d, &eState), 1);
    EXPECT_EQ(eState, VALUE_NA);
    EXPECT_EQ(CMN_ParseValue("2.5V", "Ramp", "dV/dt", &d, &eState), 1);
    EXPECT_EQ(eState, VALUE_NUMBER);
    EXPECT_DOUBLE_EQ(d, 2.5);
    EXPECT_EQ(TakeLog(), "");

    EXPECT_EQ(CMN_ParseValue("N/A", "Ramp", "dV/dt", &d, &eState), 0);
    EXPECT_EQ(eState, VALUE_ABSENT);
    EXPECT_EQ(CMN_ParseValue("1.5n3", "Ramp", "dV/dt", &d, &eState), 1);
    EXPECT_EQ(eState, VALUE_NUMBER);
    EXPECT_DOUBLE_EQ(d, 1.5e-9);
    EXPECT_EQ(CMN_ParseValue("%d%s", "Ramp", "dV/dt", &d, &eState), 0);
    EXPECT_EQ(TakeLog(),
              "ERROR  (line    5) - Invalid dV/dt Value (\"N/A\")\n"
              "WARNING  (line    5) - Suspicious dV/dt Ramp Value (\"1.5n3\"); Numeric in Scale\n"
              "ERROR  (line    5) - Invalid dV/dt Value (\"%d%s\")\n");
}

TEST(CmnTokens, SlotsHoldTheFirstWordsAndAllAreCounted) {
    TOKENS tokens;
    ASSERT_EQ(CMN_Tokenize("  a b\tc   d ", 2, &tokens), 1);
    EXPECT_EQ(tokens.nStored, 2);
    EXPECT_EQ(tokens.nFound, 4);
    EXPECT_EQ(Words(tokens), (Strings{"a", "b"}));
    CMN_FreeTokens(&tokens);

    ASSERT_EQ(CMN_Tokenize("one two", 4, &tokens), 1);
    EXPECT_EQ(tokens.nFound, 2);
    EXPECT_EQ(Words(tokens), (Strings{"one", "two", "(null)", "(null)"}));
    CMN_FreeTokens(&tokens);

    ASSERT_EQ(CMN_Tokenize("x y", 0, &tokens), 1);
    EXPECT_EQ(tokens.ppszToken, nullptr);
    EXPECT_EQ(tokens.nFound, 2);
    CMN_FreeTokens(&tokens);

    ASSERT_EQ(CMN_Tokenize("   ", 3, &tokens), 1);
    EXPECT_EQ(tokens.nFound, 0);
    EXPECT_EQ(Words(tokens), (Strings{"(null)", "(null)", "(null)"}));
    CMN_FreeTokens(&tokens);
}

TEST(CmnTokens, DelimiterIsAWordOfItsOwn) {
    TOKENS tokens;
    ASSERT_EQ(CMN_TokenizeDelim("R=5", 5, '=', &tokens), 1);
    EXPECT_EQ(tokens.nFound, 3);
    EXPECT_EQ(Words(tokens), (Strings{"R", "=", "5", "(null)", "(null)"}));
    CMN_FreeTokens(&tokens);

    ASSERT_EQ(CMN_TokenizeDelim("=x", 3, '=', &tokens), 1);
    EXPECT_EQ(Words(tokens), (Strings{"=", "x", "(null)"}));
    CMN_FreeTokens(&tokens);

    ASSERT_EQ(CMN_TokenizeDelim("a==b", 4, '=', &tokens), 1);
    EXPECT_EQ(Words(tokens), (Strings{"a", "=", "=", "b"}));
    CMN_FreeTokens(&tokens);

    EXPECT_EQ(CMN_TokenLength('=', "abc=d"), 3u);
    EXPECT_EQ(CMN_TokenLength('\0', "ab\tc"), 2u);
}

struct Item {
    int eKind;
    double dValue;
    std::string strRest;
};

Item NextItem(const char* psz) {
    Item item{-1, -1.0, ""};
    const char* pszRest = nullptr;
    item.eKind = CMN_NextSectionItem(psz, &item.dValue, &pszRest);
    item.strRest = pszRest;
    return item;
}

TEST_F(CmnTest, SectionItemsOfAWellFormedSection) {
    const char* psz = "R=1m L = 2n\tC=3p / Len=0.5";
    std::vector<int> kinds;
    std::vector<double> values;
    for (;;) {
        double d = 0.0;
        int eKind = CMN_NextSectionItem(psz, &d, &psz);
        kinds.push_back(eKind);
        values.push_back(d);
        if (eKind == SECT_ITEM_EOT) break;
    }
    EXPECT_EQ(kinds, (std::vector<int>{SECT_ITEM_R, SECT_ITEM_L, SECT_ITEM_C, SECT_ITEM_SLASH,
                                       SECT_ITEM_LEN, SECT_ITEM_EOT}));
    EXPECT_DOUBLE_EQ(values[0], 1e-3);
    EXPECT_DOUBLE_EQ(values[1], 2e-9);
    EXPECT_DOUBLE_EQ(values[2], 3e-12);
    EXPECT_DOUBLE_EQ(values[4], 0.5);
    EXPECT_EQ(TakeLog(), "");
}

TEST_F(CmnTest, SectionItemErrors) {
    Item item = NextItem("R 1m / C=1p");
    EXPECT_EQ(item.eKind, SECT_ITEM_ERROR);
    EXPECT_EQ(item.strRest, " C=1p");
    EXPECT_EQ(NextItem("R 1m").strRest, "");

    item = NextItem("= 5");
    EXPECT_EQ(item.eKind, SECT_ITEM_ERROR);
    EXPECT_EQ(item.strRest, "5");

    item = NextItem("Q=1 /");
    EXPECT_EQ(item.eKind, SECT_ITEM_ERROR);
    EXPECT_EQ(item.strRest, "=1 /");
    EXPECT_EQ(NextItem("r=1").eKind, SECT_ITEM_ERROR);  // names are case-sensitive

    EXPECT_EQ(NextItem("R ").eKind, SECT_ITEM_EOT);
    EXPECT_EQ(NextItem("R=").eKind, SECT_ITEM_EOT);

    item = NextItem("R=abc /");
    EXPECT_EQ(item.eKind, SECT_ITEM_R);
    EXPECT_EQ(item.strRest, "/");
    item = NextItem("C=/");
    EXPECT_EQ(item.eKind, SECT_ITEM_C);
    EXPECT_EQ(item.dValue, 0.0);
    EXPECT_EQ(item.strRest, "/");
    EXPECT_EQ(NextItem("L=2n5").eKind, SECT_ITEM_L);

    EXPECT_EQ(TakeLog(),
              "ERROR  (line    5) - Error parsing R/L/C section. Missing '='\n"
              "ERROR  (line    5) - Error parsing R/L/C section. Missing '='\n"
              "ERROR  (line    5) - Unexpected '=' found\n"
              "ERROR  (line    5) - Unexpected token 'Q' found in R/L/C section\n"
              "ERROR  (line    5) - Unexpected token 'r' found in R/L/C section\n"
              "ERROR  (line    5) - Premature end of R/L/C section\n"
              "ERROR  (line    5) - Premature end of R/L/C section\n"
              "ERROR  (line    5) - Illegal number found 'abc'\n"
              "ERROR  (line    5) - Numerical value expected\n"
              "ERROR  (line    5) - Illegal number found '2n5'\n");
}

TEST_F(CmnTest, ReservedWords) {
    for (const char* psz : {"GND", "Gnd", "nc", "Power", "na"}) {
        EXPECT_EQ(CMN_IsNotReserved(psz), 0) << psz;
    }
    for (const char* psz : {"GND1", "VCC", "N", ""}) {
        EXPECT_EQ(CMN_IsNotReserved(psz), 1) << psz;
    }
    CMN_CheckReserved("Gnd");
    CMN_CheckReserved("Vdd");
    EXPECT_EQ(TakeLog(), "ERROR  (line    5) - Illegal use of Reserved Word 'Gnd'.\n");
}

TEST_F(CmnTest, KeywordValues) {
    char szName[6] = "";
    EXPECT_EQ(CMN_SetKeywordOnce(szName, "first", 5, "Manufacturer"), 1);
    EXPECT_EQ(CMN_SetKeywordOnce(szName, "again", 5, "Manufacturer"), 0);
    EXPECT_STREQ(szName, "first");

    char szShort[5];
    memset(szShort, '#', sizeof szShort);
    CMN_SetString(szShort, "abcdefg", 4, "File Rev");
    EXPECT_STREQ(szShort, "abcd");
    CMN_SetString(szShort, "", 4, "File Rev");
    EXPECT_STREQ(szShort, "");

    CMN_CheckRequired("Component", 1);
    PARSE_SetFileName("part.ibs");
    CMN_CheckRequired("Component", 0);
    EXPECT_EQ(TakeLog(),
              "ERROR  (line    5) - Duplicate 'Manufacturer' keyword.\n"
              "ERROR  (line    5) -\n"
              "    File Rev string 'abcdefg' is too long, truncating to 4 characters.\n"
              "ERROR  (line    5) - Zero length value for keyword 'File Rev'.\n"
              "ERROR  - Required keyword 'Component' not found in file 'part.ibs'.\n");
}

TEST(CmnText, BoundedCopy) {
    char sz[5];
    memset(sz, '#', sizeof sz);
    CMN_StrCopy(sz, "abcdefgh", 4);
    EXPECT_STREQ(sz, "abcd");
    // A short source is terminated right behind its text.
    memset(sz, '#', sizeof sz);
    CMN_StrCopy(sz, "ab", 4);
    EXPECT_STREQ(sz, "ab");
    EXPECT_EQ(sz[3], '#');
    // The source is not read past its terminator, even when n is larger.
    const char acSource[2] = {'z', '\0'};
    CMN_StrCopy(sz, acSource, 4);
    EXPECT_STREQ(sz, "z");
    CMN_StrCopy(sz, "", 0);
    EXPECT_STREQ(sz, "");
}

TEST(CmnText, ComparingAndSkipping) {
    EXPECT_EQ(CMN_StrEqualNoCase("Pin", "pIN"), 1);
    EXPECT_EQ(CMN_StrEqualNoCase("Pin", "Pins"), 0);
    EXPECT_EQ(CMN_StrEqualNoCaseN("Pins", "PINX", 3), 1);
    EXPECT_EQ(CMN_StrEqualNoCaseN("ab", "AB", 5), 1);
    EXPECT_EQ(CMN_StrEqualNoCaseN("ab", "ABC", 5), 0);

    char szKey[] = "pin mapping";
    EXPECT_EQ(CMN_KeywordEqual("Pin_Mapping", szKey), 1);
    EXPECT_STREQ(szKey, "pin_mapping");

    // White space of any length is skipped.
    std::string strLong = std::string(3000, ' ') + "\t\r\nx y";
    const char* pc = strLong.c_str();
    CMN_SkipWhite(&pc);
    EXPECT_STREQ(pc, "x y");
    char szLine[] = "[Model]  \tname ";
    char* p = szLine;
    EXPECT_EQ(CMN_SkipKeyword(&p), 1);
    EXPECT_STREQ(p, "name ");
    CMN_SkipToWhite(&p);
    EXPECT_STREQ(p, " ");
    char szNoKey[] = "[Model";
    p = szNoKey;
    EXPECT_EQ(CMN_SkipKeyword(&p), 0);
    EXPECT_EQ(p, szNoKey);

    char szTrim[] = "text \t\r\n";
    CMN_TrimRight(szTrim);
    EXPECT_STREQ(szTrim, "text");
}

TEST(CmnText, OpenBinary) {
    std::string strPath = ::testing::TempDir() + "cmn_open_binary.bin";
    FILE* pFile = CMN_OpenBinary(strPath.c_str(), "w+");
    ASSERT_NE(pFile, nullptr);
    fputs("a\r\nb", pFile);
    rewind(pFile);
    char acBuffer[8] = {};
    EXPECT_EQ(fread(acBuffer, 1, sizeof acBuffer, pFile), 4u);
    fclose(pFile);
    remove(strPath.c_str());
    EXPECT_EQ(CMN_OpenBinary("/nonexistent-dir/x", "r"), nullptr);
}

TEST(CmnMemory, AllocIsZeroFilledAndReallocKeepsContent) {
    char* p = nullptr;
    ASSERT_EQ(CMN_Alloc(&p, 16), 1);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(p[i], 0);
    memcpy(p, "keep", 5);
    ASSERT_EQ(CMN_Realloc(&p, 4096), 1);
    EXPECT_STREQ(p, "keep");
    CMN_Free(p);
    ASSERT_EQ(CMN_Alloc(&p, 0), 1);
    EXPECT_NE(p, nullptr);
    CMN_Free(p);
}

TEST(CmnPool, ElementsAreAlignedDistinctAndReusedAfterFreeAll) {
    POOL* pPool = POOL_Create(12, 3);
    ASSERT_NE(pPool, nullptr);
    std::set<char*> seen;
    for (int i = 0; i < 100; ++i) {
        char* p = static_cast<char*>(POOL_Get(pPool));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u);
        for (int k = 0; k < 16; ++k) EXPECT_EQ(p[k], 0);  // rounded up to 16, zero-filled
        memset(p, 0x5a, 16);  // the sanitizer sees writes past a block's end
        EXPECT_TRUE(seen.insert(p).second);
    }
    POOL_FreeAll(pPool);
    for (int i = 0; i < 10; ++i) {
        char* p = static_cast<char*>(POOL_Get(pPool));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p[0], 0);
        memset(p, 0x5a, 16);
    }
    POOL_Destroy(pPool);
    POOL_Destroy(nullptr);
}

}  // namespace
