// CNavigPrs: the keyword-table parser of the exported layer, and the
// engineering-number conversions.  State: the input stream, the comment
// character, the end flag, one held (peeked) token with the line ends
// passed before it, line ends still owed to the caller's count, and the
// stop request.  Used by the compiled model read-back, by listings that
// copy sections of compiled models, and by hosts that derive parsers.
#include <tavelin/tavelin.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <new>
#include <ostream>
#include <string>
#include <vector>

#include "api/cloc.h"

namespace {

const int kNoToken = 99;
const int kDefaultComment = '|';

// Token types.
enum { TOK_END = 0, TOK_STRING = 1, TOK_WORD = 2, TOK_NUMBER = 3, TOK_LONG = 5 };

// Error kinds and codes of the parse loop.
enum { KIND_STRING = 1, KIND_KEYWORD = 2, KIND_NUMBER = 3 };
enum { CODE_UNKNOWN = 6, CODE_RANGE = 7, CODE_ACTION = 8 };

// The text store grows in steps; one token always fits after the used part.
const size_t kStoreStep = 8196;
const size_t kArgStep = 60;

const key_lookup kEmptyTable[] = {{"", 0, 0, "", 0}};

bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\r'; }

bool StartsNumber(char c) {
    return isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
}

// The exponent a scale letter stands for, or null when the character is
// not a scale letter.  Only m and M differ by case (milli and mega).
const char* ScaleExponent(char c) {
    switch (c) {
        case 'F': case 'f': return "e-15";
        case 'P': case 'p': return "e-12";
        case 'N': case 'n': return "e-9";
        case 'U': case 'u': return "e-6";
        case 'm': return "e-3";
        case 'K': case 'k': return "e+3";
        case 'M': return "e+6";
        case 'G': case 'g': return "e+9";
        case 'T': case 't': return "e+12";
        default: return nullptr;
    }
}

// Decimal conversion of an integer argument.  A number beyond the range of
// an int is refused rather than wrapped.
bool ToInt(const char* psz, int* pn) {
    errno = 0;
    long l = strtol(psz, nullptr, 10);
    if (errno == ERANGE || l > INT_MAX || l < INT_MIN) return false;
    *pn = static_cast<int>(l);
    return true;
}

// Copies "***" or "NaN " cut to the width.
char* CopyCut(const char* pszText, int width, char* out) {
    size_t n = width > 0 ? static_cast<size_t>(width) : 0;
    size_t nLen = strlen(pszText);
    if (nLen > n) nLen = n;
    memcpy(out, pszText, nLen);
    out[nLen] = '\0';
    return out;
}

}  // namespace

CNavigPrs::CNavigPrs()
    : m_pIn(nullptr),
      m_nComChar(kDefaultComment),
      m_bAtEnd(0),
      m_nBufType(kNoToken),
      m_szBuf{},
      m_nBufLines(0),
      m_nPendLines(0),
      m_bStop(0) {}

CNavigPrs::~CNavigPrs() {}

int CNavigPrs::ParseStream(std::istream& in) {
    m_pIn = &in;
    m_bAtEnd = 0;
    m_nBufType = kNoToken;
    m_nBufLines = 0;
    m_nPendLines = 0;
    m_bStop = 0;
    // Through the object: a derived parser brings its table by overriding
    // ut_parse.
    return ut_parse(kEmptyTable, 0) == 0 ? 1 : 0;
}

// Bytes 0 to 255; -1 only at the end of the input (or when it failed).
int CNavigPrs::ut_getc() {
    if (m_pIn == nullptr) return -1;
    std::istream::int_type c = m_pIn->get();
    if (std::istream::traits_type::eq_int_type(c, std::istream::traits_type::eof())) return -1;
    return static_cast<unsigned char>(std::istream::traits_type::to_char_type(c));
}

void CNavigPrs::Error(int, int, int, const char*, const char*) {}

int CNavigPrs::switch_func(int action, arg_val*, int, int, int) { return action == 0 ? 0 : -1; }

// Reads one token.  The caller's count grows by the line ends before the
// token; those inside or right after it are owed to the next request, so
// the count names the token's own line.
int CNavigPrs::get_token(int* lines, char* out) {
    *lines += m_nPendLines;
    m_nPendLines = 0;
    out[0] = '\0';
    if (m_bStop) {
        m_bStop = 0;
        return TOK_END;
    }
    if (m_bAtEnd) return TOK_END;
    int c;
    for (;;) {
        c = ut_getc();
        if (c == -1) {
            m_bAtEnd = 1;
            return TOK_END;
        }
        if (IsBlank(c)) continue;
        if (c == '\n') {
            ++*lines;
            continue;
        }
        if (c == m_nComChar) {
            while ((c = ut_getc()) != -1 && c != '\n') {}
            if (c == -1) {
                m_bAtEnd = 1;
                return TOK_END;
            }
            ++*lines;
            continue;
        }
        break;
    }
    size_t n = 0;
    bool bLong = false;
    auto put = [&](int ch) {
        if (n < TOKEN_MAX)
            out[n++] = static_cast<char>(ch);
        else
            bLong = true;
    };
    int nType;
    if (c == '"') {
        nType = TOK_STRING;
        for (;;) {
            c = ut_getc();
            if (c == -1) {
                m_bAtEnd = 1;
                break;
            }
            if (c == '"') {
                c = ut_getc();
                if (c == '"') {
                    put('"');
                    continue;
                }
                // The character after the closing quote is consumed.
                if (c == '\n') ++m_nPendLines;
                if (c == -1) m_bAtEnd = 1;
                break;
            }
            if (c == '\n') ++m_nPendLines;
            put(c);
        }
    } else {
        nType = StartsNumber(static_cast<char>(c)) ? TOK_NUMBER : TOK_WORD;
        put(c);
        for (;;) {
            c = ut_getc();
            if (c == -1) {
                m_bAtEnd = 1;
                break;
            }
            if (IsBlank(c)) break;
            if (c == '\n') {
                ++m_nPendLines;
                break;
            }
            put(c);
        }
    }
    out[n] = '\0';
    return bLong ? TOK_LONG : nType;
}

int CNavigPrs::get_buf_token(int* lines, char* out) {
    if (m_nBufType == kNoToken || m_bStop) return get_token(lines, out);
    memcpy(out, m_szBuf, sizeof(m_szBuf));
    *lines += m_nBufLines;
    m_nBufLines = 0;
    const int nType = m_nBufType;
    m_nBufType = kNoToken;
    return nType;
}

int CNavigPrs::get_next_token_type() {
    if (m_nBufType == kNoToken) {
        m_nBufLines = 0;
        m_nBufType = get_token(&m_nBufLines, m_szBuf);
    }
    return m_nBufType;
}

int CNavigPrs::ut_parse_get_next(char* out) {
    const int nType = get_next_token_type();
    memcpy(out, m_szBuf, sizeof(m_szBuf));
    return nType;
}

// The line ends passed before the dropped token stay owed to the count.
void CNavigPrs::ut_parse_clear_buffer() {
    m_nPendLines += m_nBufLines;
    m_nBufLines = 0;
    m_nBufType = kNoToken;
}

void CNavigPrs::ut_parse_stop() { m_bStop = 1; }

void CNavigPrs::ut_parse_set_comchar(char c) { m_nComChar = static_cast<unsigned char>(c); }

void CNavigPrs::Reset() {
    m_nComChar = kDefaultComment;
    m_bAtEnd = 0;
    m_nBufType = kNoToken;
    m_nBufLines = 0;
    m_nPendLines = 0;
    m_bStop = 0;
}

const key_lookup* CNavigPrs::parse_lookup(const key_lookup* table, const char* word) {
    const int nLen = static_cast<int>(strlen(word));
    for (const key_lookup* pEntry = table; pEntry->len != 0; ++pEntry) {
        if (pEntry->len == nLen && ut_stricmp(pEntry->name, word) == 0) return pEntry;
    }
    return nullptr;
}

namespace {

int FindWord(const char* pszWord, int n, const char** words) {
    for (int i = 0; i < n; ++i) {
        if (CNavigPrs::ut_stricmp(words[i], pszWord) == 0) return i;
    }
    return -1;
}

}  // namespace

int CNavigPrs::ut_parse_skip2keywds(int n, const char** words) {
    for (;;) {
        const int nType = get_next_token_type();
        if (nType == TOK_END) return -1;
        if (nType == TOK_WORD) {
            const int nFound = FindWord(m_szBuf, n, words);
            if (nFound >= 0) return nFound;
        }
        ut_parse_clear_buffer();
    }
}

int CNavigPrs::ut_parse_copy2keywds(std::ostream& out, int n, const char** words) {
    for (;;) {
        const int nType = get_next_token_type();
        if (nType == TOK_END) return -1;
        if (nType == TOK_WORD && FindWord(m_szBuf, n, words) >= 0) return 0;
        if (nType == TOK_STRING) {
            QuoteText(out, m_szBuf);
            out << ' ';
        } else if (nType == TOK_WORD) {
            out << '\n' << m_szBuf << ' ';
        } else {
            out << m_szBuf << ' ';
        }
        ut_parse_clear_buffer();
    }
}

void CNavigPrs::QuoteText(std::ostream& out, const char* pszText) {
    out << '"';
    for (const char* p = pszText != nullptr ? pszText : ""; *p != '\0'; ++p) {
        if (*p == '"') out << '"';
        out << *p;
    }
    out << '"';
}

int CNavigPrs::ut_stricmp(const char* pszA, const char* pszB) {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(pszA != nullptr ? pszA : "");
    const unsigned char* b = reinterpret_cast<const unsigned char*>(pszB != nullptr ? pszB : "");
    for (;; ++a, ++b) {
        const int ca = tolower(*a);
        const int cb = tolower(*b);
        if (ca != cb) return cb - ca;
        if (ca == 0) return 0;
    }
}

// The number text is gathered whole: a cut after a fixed count of
// characters would change the number's magnitude.
double CNavigPrs::ut_eng2dbl(const char* pszText) {
    std::string strNumber;
    for (const char* p = pszText != nullptr ? pszText : ""; *p != '\0'; ++p) {
        const char c = *p;
        if (c == ' ' || c == '\t' || c == ',') continue;
        if (isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.' ||
            c == 'E' || c == 'e') {
            strNumber += c;
            continue;
        }
        const char* pszExponent = ScaleExponent(c);
        if (pszExponent != nullptr) strNumber += pszExponent;
        break;
    }
    return strtod_l(strNumber.c_str(), nullptr, CLocaleScope::CLocale());
}

void CNavigPrs::ut_sci(double value, double* mantissa, int* exponent) {
    *exponent = 0;
    if (value == 0.0) {
        *mantissa = 0.0;
        return;
    }
    while (value >= 1.0) {
        value *= 0.1;
        ++*exponent;
    }
    while (value < 0.1) {
        value *= 10.0;
        --*exponent;
    }
    if (value > 0.99999) {
        value = 0.1;
        ++*exponent;
    }
    *mantissa = value;
}

namespace {

// Prints the engineering text with the given decimals; the length written.
int PrintEng(std::vector<char>* pBuf, char cSign, int width, int nDecimals, double dMantissa,
             int nIndex, double dValue) {
    static const char kLetters[] = "afpnum kMGT";
    char* psz = pBuf->data();
    const size_t nSize = pBuf->size();
    if (nIndex < 0 || nIndex > 10)
        return snprintf(psz, nSize, "%c%-*.*e", cSign, width - 1, nDecimals, dValue);
    if (kLetters[nIndex] != ' ')
        return snprintf(psz, nSize, "%c%*.*f%c", cSign, width - 3, nDecimals, dMantissa,
                        kLetters[nIndex]);
    const int n = snprintf(psz, nSize, "%+*.*f", width - 2, nDecimals, dMantissa);
    psz[0] = cSign;
    return n;
}

}  // namespace

// The text has exactly `width` characters; `out` holds width + 1.  When
// rounding would make the text longer (9.96 with one decimal becomes 10.0),
// fewer decimals are written; a value that cannot be shown in the width at
// all gives asterisks, never a text cut inside its number.
char* CNavigPrs::ut_dbl2eng(double value, int width, char* out) {
    if (width < 5) return CopyCut("***", width, out);
    if (!std::isfinite(value)) return CopyCut("NaN ", width, out);
    const char cSign = value < 0 ? '-' : ' ';
    if (value < 0) value = -value;
    double dMantissa;
    int nExponent;
    ut_sci(value, &dMantissa, &nExponent);
    if (dMantissa != 0.0) {
        dMantissa *= 10.0;
        --nExponent;
    }
    int nIntDigits = 1;
    while (nExponent % 3 != 0) {
        --nExponent;
        dMantissa *= 10.0;
        ++nIntDigits;
    }
    const int nIndex = nExponent / 3 + 6;
    int nDecimals;
    if (nIndex < 0 || nIndex > 10)
        nDecimals = 6;
    else if (nIndex == 6)
        nDecimals = width - nIntDigits - 2;
    else
        nDecimals = width - nIntDigits - 3;
    if (nDecimals < 0) nDecimals = 0;
    CLocaleScope locale;
    std::vector<char> buf(static_cast<size_t>(width) + 64);
    for (; nDecimals >= 0; --nDecimals) {
        const int n = PrintEng(&buf, cSign, width, nDecimals, dMantissa, nIndex, value);
        if (n >= 0 && n <= width) {
            // Without its decimal point the text is one short: pad it.
            buf.resize(static_cast<size_t>(n));
            buf.resize(static_cast<size_t>(width), ' ');
            buf.push_back('\0');
            return CopyCut(buf.data(), width, out);
        }
    }
    return CopyCut("***", width, out);
}

namespace {

// The text store of one parse: every token of one keyword stays in it until
// the keyword's action has returned.  Slots keep offsets, turned into
// pointers only when the store no longer moves.
struct ParseStore {
    std::vector<char> text = std::vector<char>(kStoreStep);
    size_t nUsed = 0;
    std::vector<arg_val> args = std::vector<arg_val>(kArgStep);
    std::vector<size_t> textAt = std::vector<size_t>(kArgStep);
    int nSlots = 0;

    // Room for one more token; returns where it goes.  The store at least
    // doubles when it grows, so a keyword of very many arguments is read in
    // linear time.
    char* Next() {
        if (nUsed + CNavigPrs::TOKEN_MAX + 1 >= text.size())
            text.resize(text.size() + std::max(text.size(), kStoreStep));
        return text.data() + nUsed;
    }
    void Keep(int nSlot) {
        textAt[nSlot] = nUsed;
        nUsed += strlen(text.data() + nUsed) + 1;
    }
    // Next argument slot.
    int Slot() {
        if (static_cast<size_t>(nSlots) >= args.size()) {
            args.resize(args.size() + std::max(args.size(), kArgStep));
            textAt.resize(args.size());
        }
        textAt[nSlots] = SIZE_MAX;
        return nSlots++;
    }
    void FixTexts() {
        for (int i = 0; i < nSlots; ++i)
            if (textAt[i] != SIZE_MAX) args[i].s = text.data() + textAt[i];
    }
};

// Kind of token a template letter expects.
int ExpectedType(char cLetter) { return cLetter == 't' ? TOK_STRING : TOK_NUMBER; }

// Converts and checks one number for its letter; false when out of range.
bool ConvertNumber(char cLetter, const char* pszToken, arg_val* pArg) {
    switch (cLetter) {
        case 'f': pArg->d = CNavigPrs::ut_eng2dbl(pszToken); return true;
        case '+': pArg->d = CNavigPrs::ut_eng2dbl(pszToken); return pArg->d > 0;
        case '>': pArg->d = CNavigPrs::ut_eng2dbl(pszToken); return pArg->d >= 0;
        case 'p': return ToInt(pszToken, &pArg->i) && pArg->i >= 1;
        case 'n': return ToInt(pszToken, &pArg->i) && pArg->i >= 0;
        default: return ToInt(pszToken, &pArg->i);
    }
}

// First argument letter of a repeated group ('?' skipped), or 0.
char GroupLetter(const char* pszGroup) {
    while (*pszGroup == '?') ++pszGroup;
    return *pszGroup;
}

}  // namespace

// The parse loop: a known keyword reads its template and calls its action;
// after an error, lenient mode stays silent up to the next known keyword,
// strict mode stops.  Returns the number of errors, -1 without memory.
int CNavigPrs::ut_parse(const key_lookup* table, int lenient) {
    try {
        ParseStore store;
        Reset();
        int nLine = 1;
        bool bGood = true;
        int nErrors = 0;
        auto fail = [&](int nAt, int nKind, int nCode, const char* pszToken) {
            ++nErrors;
            bGood = false;
            Error(nAt, nKind, nCode, store.text.data(), pszToken);
        };
        // One argument for its template letter; the type of its token.
        auto readArgument = [&](char cLetter) {
            char* pszToken = store.Next();
            const int nType = get_buf_token(&nLine, pszToken);
            const int nSlot = store.Slot();
            store.Keep(nSlot);
            if (nType != ExpectedType(cLetter)) {
                fail(nLine, cLetter == 't' ? KIND_STRING : KIND_NUMBER, nType, pszToken);
            } else if (cLetter != 't') {
                store.textAt[nSlot] = SIZE_MAX;
                if (!ConvertNumber(cLetter, pszToken, &store.args[nSlot]))
                    fail(nLine, KIND_NUMBER, CODE_RANGE, pszToken);
            }
            return nType;
        };
        // The arguments of a keyword, a repeated group as long as the next
        // token fits it; the type of the last token read.
        auto readTemplate = [&](const char* pszTemplate) {
            int nType = TOK_WORD;
            const char* pszGroup = nullptr;
            for (const char* p = pszTemplate; bGood && nType != TOK_END && *p != '\0'; ++p) {
                if (*p == '*') pszGroup = p + 1;
                if (*p == '*' || *p == '?') continue;
                nType = readArgument(*p);
                if (bGood && p[1] == '\0' && pszGroup != nullptr && GroupLetter(pszGroup) != 0 &&
                    get_next_token_type() == ExpectedType(GroupLetter(pszGroup)))
                    p = pszGroup - 1;
            }
            return nType;
        };
        for (;;) {
            store.nUsed = 0;
            store.nSlots = 0;
            int nType = get_buf_token(&nLine, store.Next());
            const int nKeywordLine = nLine;
            store.Keep(store.Slot());
            if (nType == TOK_END) break;
            const char* pszWord = store.text.data();
            const key_lookup* pEntry = nType == TOK_WORD ? parse_lookup(table, pszWord) : nullptr;
            if (pEntry != nullptr) {
                if (lenient || pEntry == table) bGood = true;
                if (bGood) nType = readTemplate(pEntry->templ);
                if (bGood && pEntry->action != 0) {
                    store.FixTexts();
                    if (switch_func(pEntry->action, store.args.data(), pEntry->tag, nKeywordLine,
                                    store.nSlots) != 0)
                        fail(nKeywordLine, KIND_KEYWORD, CODE_ACTION, store.text.data());
                }
            } else if (bGood) {
                fail(nKeywordLine, KIND_KEYWORD, nType == TOK_WORD ? CODE_UNKNOWN : nType, pszWord);
            }
            if (nType == TOK_END) break;
            if (!lenient && (!bGood || pEntry == nullptr)) break;
        }
        return nErrors;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}
