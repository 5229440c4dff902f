#include <tavelin/tavelin.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace {

// ------------------------------------------------------------ engineering numbers

TEST(NavigEng2Dbl, ScaleLettersSeparatorsAndUnits) {
    EXPECT_DOUBLE_EQ(4700.0, CNavigPrs::ut_eng2dbl("4.7k"));
    EXPECT_DOUBLE_EQ(1000.0, CNavigPrs::ut_eng2dbl("1,000"));
    EXPECT_DOUBLE_EQ(1000.0, CNavigPrs::ut_eng2dbl("1 000"));
    EXPECT_DOUBLE_EQ(0.01, CNavigPrs::ut_eng2dbl("10mA"));
    EXPECT_DOUBLE_EQ(2e6, CNavigPrs::ut_eng2dbl("2M"));
    EXPECT_DOUBLE_EQ(0.003, CNavigPrs::ut_eng2dbl("3meg"));
    EXPECT_DOUBLE_EQ(5.0, CNavigPrs::ut_eng2dbl("5V"));
    EXPECT_DOUBLE_EQ(1.5, CNavigPrs::ut_eng2dbl("1.5a"));
    EXPECT_DOUBLE_EQ(1.5e-15, CNavigPrs::ut_eng2dbl("1.5f"));
    EXPECT_DOUBLE_EQ(2e-12, CNavigPrs::ut_eng2dbl("2P"));
    EXPECT_DOUBLE_EQ(3e-9, CNavigPrs::ut_eng2dbl("3n"));
    EXPECT_DOUBLE_EQ(4e-6, CNavigPrs::ut_eng2dbl("4U"));
    EXPECT_DOUBLE_EQ(5e9, CNavigPrs::ut_eng2dbl("5g"));
    EXPECT_DOUBLE_EQ(6e12, CNavigPrs::ut_eng2dbl("6T"));
    EXPECT_DOUBLE_EQ(-2.5e-3, CNavigPrs::ut_eng2dbl("-2.5E-3"));
    EXPECT_DOUBLE_EQ(0.0, CNavigPrs::ut_eng2dbl("abc"));
    EXPECT_DOUBLE_EQ(0.0, CNavigPrs::ut_eng2dbl(""));
}

TEST(NavigEng2Dbl, LongNumberTextKeepsItsMagnitude) {
    const std::string strDigits(60, '1');
    EXPECT_NEAR(1.111111e59, CNavigPrs::ut_eng2dbl(strDigits.c_str()), 1e54);
}

TEST(NavigEng2Dbl, DecimalPointWhateverTheHostLocale) {
    const char* pszOld = setlocale(LC_NUMERIC, nullptr);
    const std::string strOld = pszOld != nullptr ? pszOld : "C";
    if (setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale";
    EXPECT_DOUBLE_EQ(1.5, CNavigPrs::ut_eng2dbl("1.5"));
    char sz[16];
    EXPECT_STREQ(" 1.50000", CNavigPrs::ut_dbl2eng(1.5, 8, sz));
    setlocale(LC_NUMERIC, strOld.c_str());
}

std::string Eng(double d, int nWidth) {
    char sz[64];
    return CNavigPrs::ut_dbl2eng(d, nWidth, sz);
}

TEST(NavigDbl2Eng, FixedWidthWithScaleLetters) {
    EXPECT_EQ(" 1.5000n", Eng(1.5e-9, 8));
    EXPECT_EQ(" 47.000k", Eng(47000, 8));
    EXPECT_EQ(" 1.00000", Eng(1.0, 8));
    EXPECT_EQ(" 0.00000", Eng(0.0, 8));
    EXPECT_EQ("-3.30000", Eng(-3.3, 8));
    EXPECT_EQ(" 1.00000", Eng(0.9999995, 8));
    EXPECT_EQ("***", Eng(1.0, 4));
    EXPECT_EQ("**", Eng(1.0, 2));
    EXPECT_EQ("", Eng(1.0, 0));
    EXPECT_EQ(" 470.00u", Eng(470e-6, 8));
    EXPECT_EQ(" 1.0000M", Eng(999999.9, 8));
    EXPECT_EQ(" 2.0000a", Eng(2e-18, 8));
    EXPECT_EQ(" 10.000T", Eng(1e13, 8));
}

TEST(NavigDbl2Eng, NotFiniteAndOutOfScale) {
    EXPECT_EQ("NaN ", Eng(NAN, 8));
    EXPECT_EQ("NaN ", Eng(-INFINITY, 5));
    EXPECT_EQ(" 1.0e+15", Eng(1e15, 8));
    EXPECT_EQ(" 1.000000e+15  ", Eng(1e15, 15));
    EXPECT_EQ("-1e-20", Eng(-1e-20, 6));
}

TEST(NavigDbl2Eng, RoundingNeverWidensTheText) {
    EXPECT_EQ(" 9.960", Eng(9.96, 6));
    EXPECT_EQ(" 10.00", Eng(9.9996, 6));
    EXPECT_EQ(" 10.0u", Eng(9.9996e-6, 6));
    EXPECT_EQ(" 10u ", Eng(9.9996e-6, 5));
    EXPECT_EQ("***", Eng(1e300, 5));
}

TEST(NavigText, QuoteAndCompare) {
    std::ostringstream out;
    CNavigPrs::QuoteText(out, "say \"hi\"");
    CNavigPrs::QuoteText(out, nullptr);
    EXPECT_EQ("\"say \"\"hi\"\"\"\"\"", out.str());
    EXPECT_EQ(0, CNavigPrs::ut_stricmp("Pin", "PIN"));
    EXPECT_EQ('b' - 'a', CNavigPrs::ut_stricmp("xa", "xB"));
    EXPECT_EQ(-'s', CNavigPrs::ut_stricmp("Pins", "Pin"));
}

// ------------------------------------------------------------ tokens

// Exposes the token operations.
class TokenReader : public CNavigPrs {
public:
    explicit TokenReader(const std::string& strText) : m_in(strText) {
        ParseStream(m_in);  // the empty table: attaches the stream, reads nothing of it
    }
    void Restart(const std::string& strText) {
        m_in.clear();
        m_in.str(strText);
        Reset();
    }
    std::string Next(int* pnType) {
        char sz[TOKEN_MAX + 1];
        *pnType = get_buf_token(&m_nLine, sz);
        return sz;
    }
    int Peek(std::string* pstr) {
        char sz[TOKEN_MAX + 1];
        int n = ut_parse_get_next(sz);
        *pstr = sz;
        return n;
    }
    int Getc() { return ut_getc(); }
    using CNavigPrs::ut_parse_clear_buffer;
    using CNavigPrs::ut_parse_copy2keywds;
    using CNavigPrs::ut_parse_set_comchar;
    using CNavigPrs::ut_parse_skip2keywds;
    using CNavigPrs::ut_parse_stop;
    int m_nLine = 1;

private:
    std::istringstream m_in;
};

// "type:text@line" of every token up to the end.
std::string Tokens(const std::string& strText) {
    TokenReader reader("");
    reader.Restart(strText);
    std::string strOut;
    for (;;) {
        int nType;
        std::string str = reader.Next(&nType);
        strOut += std::to_string(nType) + ":" + str + "@" + std::to_string(reader.m_nLine) + " ";
        if (nType == 0) return strOut;
    }
}

TEST(NavigToken, KindsQuotesCommentsAndLines) {
    EXPECT_EQ("2:abc|def@1 0:@1 ", Tokens("abc|def"));
    EXPECT_EQ("2:abc@1 0:@2 ", Tokens("abc |def\n"));
    EXPECT_EQ("1:a \"hi\" b@1 3:-1.5@2 3:+2@2 3:.5@2 2:x@3 0:@3 ", Tokens("\"a \"\"hi\"\" b\"\n-1.5 +2\t.5\r\nx"));
    EXPECT_EQ("1:two\nlines@1 2:w@2 0:@2 ", Tokens("\"two\nlines\" w"));
    EXPECT_EQ("1:open@1 0:@1 ", Tokens("\"open"));
    EXPECT_EQ("2:Pin@3 1:A@3 0:@4 ", Tokens("| c1\n\nPin \"A\"\n"));
    EXPECT_EQ("1:q@1 2:x@2 0:@2 ", Tokens("\"q\"\nx"));
}

TEST(NavigToken, TooLongTokensAreCutAndTyped) {
    const std::string strLong(5000, 'w');
    const std::string strOut = Tokens(strLong + " \"" + std::string(3000, 's') + "\" ok");
    EXPECT_EQ("5:" + std::string(2048, 'w') + "@1 5:" + std::string(2048, 's') + "@1 2:ok@1 0:@1 ",
              strOut);
}

TEST(NavigToken, ByteOf255IsNotTheEnd) {
    TokenReader reader("");
    reader.Restart(std::string("a\xff\x80", 3));
    EXPECT_EQ('a', reader.Getc());
    EXPECT_EQ(255, reader.Getc());
    EXPECT_EQ(128, reader.Getc());
    EXPECT_EQ(-1, reader.Getc());
    EXPECT_EQ("2:x\xffy@1 0:@1 ", Tokens("x\xffy"));
}

TEST(NavigToken, HeldTokenKeepsItsLines) {
    TokenReader reader("");
    reader.Restart("one\n\ntwo three\n");
    int nType;
    EXPECT_EQ("one", reader.Next(&nType));
    std::string str;
    EXPECT_EQ(2, reader.Peek(&str));
    EXPECT_EQ("two", str);
    EXPECT_EQ(1, reader.m_nLine);
    EXPECT_EQ("two", reader.Next(&nType));
    EXPECT_EQ(3, reader.m_nLine);
    EXPECT_EQ(2, reader.Peek(&str));
    reader.ut_parse_stop();  // ends the loop even with a token held
    EXPECT_EQ("", reader.Next(&nType));
    EXPECT_EQ(0, nType);
    EXPECT_EQ("three", reader.Next(&nType));
    reader.Peek(&str);
    reader.ut_parse_clear_buffer();
    EXPECT_EQ(0, reader.Peek(&str));
    EXPECT_EQ(4, reader.m_nLine);
}

TEST(NavigToken, CommentCharacterCanChange) {
    TokenReader reader("");
    reader.Restart("a #b\nc");
    reader.ut_parse_set_comchar('#');
    int nType;
    EXPECT_EQ("a", reader.Next(&nType));
    EXPECT_EQ("c", reader.Next(&nType));
    EXPECT_EQ(2, reader.m_nLine);
}

TEST(NavigToken, SkipAndCopyToKeywords) {
    TokenReader reader("");
    reader.Restart("x 1 \"s\" Typ_Model pullup 1 -2e-3 \"q\"\"\" MODEL \"n\"");
    const char* apszStart[] = {"Min_Model", "typ_model"};
    EXPECT_EQ(1, reader.ut_parse_skip2keywds(2, apszStart));
    int nType;
    EXPECT_EQ("Typ_Model", reader.Next(&nType));
    std::ostringstream out;
    const char* apszEnd[] = {"Model"};
    EXPECT_EQ(0, reader.ut_parse_copy2keywds(out, 1, apszEnd));
    EXPECT_EQ("\npullup 1 -2e-3 \"q\"\"\" ", out.str());
    EXPECT_EQ("MODEL", reader.Next(&nType));
    EXPECT_EQ(-1, reader.ut_parse_copy2keywds(out, 1, apszEnd));
    EXPECT_EQ(-1, reader.ut_parse_skip2keywds(1, apszEnd));
}

// ------------------------------------------------------------ the parse loop

const key_lookup kTable[] = {
    {"Start", 5, 0, "", 0},           {"Pins", 4, 1, "n", 1},   {"Val", 3, 2, "f+>", 1},
    {"Names", 5, 3, "*t", 1},         {"Ints", 4, 4, "pi", 1},  {"Pair", 4, 5, "t*ft", 1},
    {"Fail", 4, 6, "", 2},            {"Opt", 3, 7, "?t", 1},   {"Plain", 5, 8, "t", 0},
    {"", 0, 0, "", 0},
};

// Template letter of argument slot n (from 1): letters after '*' repeat.
char LetterOf(const char* pszTempl, int n) {
    std::string strLetters, strGroup;
    bool bGroup = false;
    for (const char* p = pszTempl; *p != '\0'; ++p) {
        if (*p == '*') bGroup = true;
        if (*p == '*' || *p == '?') continue;
        strLetters += *p;
        if (bGroup) strGroup += *p;
    }
    while (static_cast<int>(strLetters.size()) < n) strLetters += strGroup;
    return strLetters[n - 1];
}

// A parser over kTable that writes every action and error into one text.
class TableParser : public CNavigPrs {
public:
    TableParser(int bLenient) : m_bLenient(bLenient) {}
    int Run(const std::string& strText) {
        std::istringstream in(strText);
        return ParseStream(in);
    }
    std::string m_strLog;

protected:
    int ut_parse(const key_lookup*, int) override {
        m_nResult = CNavigPrs::ut_parse(kTable, m_bLenient);
        return m_nResult;
    }
    void Error(int line, int kind, int code, const char* keyword, const char* token) override {
        m_strLog += "E" + std::to_string(line) + "/" + std::to_string(kind) + "/" +
                    std::to_string(code) + " " + keyword + " " + token + "\n";
    }
    int switch_func(int action, arg_val* args, int tag, int line, int slots) override {
        m_strLog += "A" + std::to_string(line) + " " + args[0].s + " tag" + std::to_string(tag) +
                    " slots" + std::to_string(slots) + ":";
        for (int i = 1; i < slots; ++i) {
            const char c = LetterOf(kTable[tag].templ, i);
            if (c == 't') m_strLog += std::string(" [") + args[i].s + "]";
            else if (c == 'f' || c == '+' || c == '>') m_strLog += " " + std::to_string(args[i].d);
            else m_strLog += " " + std::to_string(args[i].i);
        }
        m_strLog += "\n";
        return action == 2 ? 1 : 0;
    }

public:
    int m_nResult = 0;

private:
    int m_bLenient;
};

TEST(NavigParse, TemplatesConvertAndCheck) {
    TableParser parser(1);
    EXPECT_EQ(1, parser.Run("START pins 3\n"
                            "Val 1k 2 0\n"
                            "Names \"a\" \"b\"\n\"c\" Ints 1 -7\n"
                            "Opt \"o\" Plain \"p\"\n"));
    EXPECT_EQ("A1 pins tag1 slots2: 3\n"
              "A2 Val tag2 slots4: 1000.000000 2.000000 0.000000\n"
              "A3 Names tag3 slots4: [a] [b] [c]\n"
              "A4 Ints tag4 slots3: 1 -7\n"
              "A5 Opt tag7 slots2: [o]\n",
              parser.m_strLog);
}

TEST(NavigParse, LenientReportsOnceThenSilenceUpToAKnownKeyword) {
    TableParser parser(1);
    EXPECT_EQ(0, parser.Run("Val 1 0 2\n"            // + needs more than 0
                            "  junk 5 \"s\" Other\n"  // silent
                            "Pins -1\n"                // n needs 0 or more
                            "Pins x\n"                 // a word where a number is due
                            "Pins 4 7\n"               // a stray number
                            "Unknown \"w\"\n"         // silent: still after the stray number
                            "Fail\n"
                            "Ints 0 1\n"               // p needs 1 or more
                            "Names 1\n"                // a string is due
                            "Pins 99999999999\n"       // beyond an int
                            "Pins 2\n"));
    EXPECT_EQ("E1/3/7 Val 0\n"
              "E3/3/7 Pins -1\n"
              "E4/3/2 Pins x\n"
              "A5 Pins tag1 slots2: 4\n"
              "E5/2/3 7 7\n"
              "A7 Fail tag6 slots1:\n"
              "E7/2/8 Fail Fail\n"
              "E8/3/7 Ints 0\n"
              "E9/1/3 Names 1\n"
              "E10/3/7 Pins 99999999999\n"
              "A11 Pins tag1 slots2: 2\n",
              parser.m_strLog);
    EXPECT_EQ(8, parser.m_nResult);
}

TEST(NavigParse, StrictStopsAtTheFirstError) {
    TableParser parser(0);
    EXPECT_EQ(0, parser.Run("Pins 1\nVal 1 1\nPins 2\n"));
    EXPECT_EQ("A1 Pins tag1 slots2: 1\nE3/3/2 Val Pins\n", parser.m_strLog);
    TableParser unknown(0);
    EXPECT_EQ(0, unknown.Run("Pins 1 Nope Pins 2"));
    EXPECT_EQ("A1 Pins tag1 slots2: 1\nE1/2/6 Nope Nope\n", unknown.m_strLog);
    EXPECT_EQ(1, unknown.m_nResult);
}

TEST(NavigParse, TruncatedInputReportsTheMissingArgument) {
    TableParser parser(1);
    EXPECT_EQ(0, parser.Run("Pins 1\nPair \"a\" 1"));
    EXPECT_EQ("A1 Pins tag1 slots2: 1\nE2/1/0 Pair \n", parser.m_strLog);
}

TEST(NavigParse, GroupRepeatsWhileTheNextTokenFits) {
    TableParser parser(1);
    EXPECT_EQ(1, parser.Run("Pair \"a\" 1 \"b\" 2 \"c\" Pins 1"));
    EXPECT_EQ("A1 Pair tag5 slots6: [a] 1.000000 [b] 2.000000 [c]\nA1 Pins tag1 slots2: 1\n",
              parser.m_strLog);
}

// One keyword with a hundred thousand arguments: every one reaches the action.
class CountingParser : public CNavigPrs {
public:
    int m_nSlots = 0;
    std::string m_strLast;

protected:
    int ut_parse(const key_lookup*, int) override { return CNavigPrs::ut_parse(kTable, 1); }
    int switch_func(int, arg_val* args, int, int, int slots) override {
        m_nSlots = slots;
        m_strLast = args[slots - 1].s;
        return 0;
    }
};

TEST(NavigParse, ManyArgumentsOfOneKeyword) {
    std::string strText = "Names";
    for (int i = 0; i < 100000; ++i) strText += " \"n" + std::to_string(i) + "\"";
    std::istringstream in(strText);
    CountingParser parser;
    EXPECT_EQ(1, parser.ParseStream(in));
    EXPECT_EQ(100001, parser.m_nSlots);
    EXPECT_EQ("n99999", parser.m_strLast);
}

TEST(NavigParse, ErrorLineIsTheTokensOwnLine) {
    TableParser parser(1);
    EXPECT_EQ(0, parser.Run("Pins\n-3\nVal 1\n2 -1\n"));
    EXPECT_EQ("E2/3/7 Pins -3\nE4/3/7 Val -1\n", parser.m_strLog);
}

TEST(NavigParse, LookupIsExactInLength) {
    TableParser parser(1);
    EXPECT_EQ(0, parser.Run("Pin 3 PINS 4"));
    EXPECT_EQ("E1/2/6 Pin Pin\nA1 PINS tag1 slots2: 4\n", parser.m_strLog);
}

TEST(NavigParse, BaseParserKnowsNoKeyword) {
    CNavigPrs parser;
    std::istringstream empty("  | only a comment\n");
    EXPECT_EQ(1, parser.ParseStream(empty));
    std::istringstream words("Pin 1");
    EXPECT_EQ(0, parser.ParseStream(words));
}

TEST(NavigParse, RandomBytesNeverCrash) {
    unsigned uSeed = 12345;
    for (int nRound = 0; nRound < 50; ++nRound) {
        std::string strText;
        for (int i = 0; i < 4000; ++i) {
            uSeed = uSeed * 1103515245u + 12345u;
            strText += static_cast<char>((uSeed >> 16) & 0xff);
            if (i % 97 == 0) strText += " Pair \"x\" 1 Names \"";
        }
        TableParser parser(nRound % 2);
        parser.Run(strText);
        EXPECT_GE(parser.m_nResult, 0);
    }
}

}  // namespace
