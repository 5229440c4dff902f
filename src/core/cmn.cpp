// Common helpers of the reader: text comparison and copying, blank
// skipping, numbers with IBIS scale letters and "NA", keyword values set
// once, reserved words, and R/L/C section items.  Stateless apart from the
// "C" locale kept for number conversion; called by every keyword module.
#define TAV_MODULE "cmn"
#include "core/cmn.h"

#include <cctype>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

#include "core/diag.h"
#include "core/lines.h"
#include "core/tav_assert.h"
#include "platform/platform.h"

namespace {

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// The character classes of the C locale, whatever locale the host has set:
// IBIS files are ASCII, and these run for every character read.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int LowerOf(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u;
}

// Compares at most n characters without regard to case; true also when
// both texts end together before n.
bool EqualNoCaseN(const char* pszA, const char* pszB, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (LowerOf(pszA[i]) != LowerOf(pszB[i])) return false;
        if (pszA[i] == '\0') return true;
    }
    return true;
}

const char* SkipBlanksAndTabs(const char* psz) {
    while (IsBlankOrTab(*psz)) ++psz;
    return psz;
}

// Factor of an IBIS scale letter (case matters: M is mega, m is milli);
// any other letter is a unit such as V, A or Ohm and scales by 1.
double ScaleFactor(char c) {
    switch (c) {
        case 'T': return 1e12;
        case 'G': return 1e9;
        case 'M': return 1e6;
        case 'k': return 1e3;
        case 'm': return 1e-3;
        case 'u': return 1e-6;
        case 'n': return 1e-9;
        case 'p': return 1e-12;
        case 'f': return 1e-15;
        default: return 1.0;
    }
}

// Length of the decimal number at the start of the text: optional sign,
// digits with an optional point (at least one digit), optional exponent.
// 0 when the text does not start with one.  The C library would also take
// "inf", "nan" and hexadecimal numbers, which IBIS does not know.
size_t DecimalLength(const char* psz) {
    const char* p = psz;
    if (*p == '+' || *p == '-') ++p;
    size_t nDigits = 0;
    for (; IsDigit(*p); ++p) ++nDigits;
    if (*p == '.') {
        for (++p; IsDigit(*p); ++p) ++nDigits;
    }
    if (nDigits == 0) return 0;
    if (*p == 'e' || *p == 'E') {
        const char* pExp = p + 1;
        if (*pExp == '+' || *pExp == '-') ++pExp;
        if (IsDigit(*pExp)) {
            p = pExp;
            while (IsDigit(*p)) ++p;
        }
    }
    return static_cast<size_t>(p - psz);
}

bool ContainsDigit(const char* psz) {
    for (; *psz != '\0'; ++psz) {
        if (IsDigit(*psz)) return true;
    }
    return false;
}

const char* const g_apszReserved[] = {"GND", "NC", "POWER", "NA"};

struct SECTION_NAME {
    const char* pszName;
    int eKind;
};

const SECTION_NAME g_aSectionNames[] = {
    {"Len", SECT_ITEM_LEN}, {"L", SECT_ITEM_L}, {"R", SECT_ITEM_R}, {"C", SECT_ITEM_C}};

int SectionKind(const std::string& strName) {
    for (const SECTION_NAME& entry : g_aSectionNames) {
        if (strName == entry.pszName) return entry.eKind;
    }
    return SECT_ITEM_ERROR;
}

size_t SectionWordLength(const char* psz, const char* pszStops) {
    size_t n = 0;
    while (psz[n] != '\0' && strchr(pszStops, psz[n]) == nullptr) ++n;
    return n;
}

// Reads "= value" behind a section item name; the name's kind is returned
// even when the value is not a clean number.
int ReadSectionValue(const char* p, int eKind, double* pdValue, const char** ppszRest) {
    p = SkipBlanksAndTabs(p + 1);
    if (*p == '\0') {
        DIAG_ErrorLine("Premature end of R/L/C section");
        *ppszRest = p;
        return SECT_ITEM_EOT;
    }
    size_t nLength = SectionWordLength(p, " \t/");
    std::string strValue(p, nLength);
    if (strValue.empty()) {
        DIAG_ErrorLine("Numerical value expected");
        *pdValue = 0.0;
    } else if (CMN_GetNumber(strValue.c_str(), pdValue) != 1) {
        DIAG_ErrorLine("Illegal number found '%s'", strValue.c_str());
    }
    *ppszRest = SkipBlanksAndTabs(p + nLength);
    return eKind;
}

}  // namespace

// ---------------------------------------------------------------- text

void CMN_StrCopy(char* pszDest, const char* pszSrc, size_t n) {
    TAV_ASSERT(pszDest != nullptr && pszSrc != nullptr);
    size_t nLength = 0;
    while (nLength < n && pszSrc[nLength] != '\0') ++nLength;
    memmove(pszDest, pszSrc, nLength);
    pszDest[nLength] = '\0';
}

int CMN_StrEqualNoCase(const char* pszA, const char* pszB) {
    TAV_ASSERT(pszA != nullptr && pszB != nullptr);
    return EqualNoCaseN(pszA, pszB, SIZE_MAX) ? 1 : 0;
}

int CMN_StrEqualNoCaseN(const char* pszA, const char* pszB, size_t n) {
    TAV_ASSERT(pszA != nullptr && pszB != nullptr);
    return EqualNoCaseN(pszA, pszB, n) ? 1 : 0;
}

int CMN_KeywordEqual(const char* pszTableName, char* pszText) {
    TAV_ASSERT(pszTableName != nullptr && pszText != nullptr);
    for (char* p = pszText; *p != '\0'; ++p) {
        if (*p == ' ') *p = '_';
    }
    return CMN_StrEqualNoCase(pszTableName, pszText);
}

void CMN_SkipWhite(char** ppsz) {
    TAV_ASSERT(ppsz != nullptr && *ppsz != nullptr);
    while (IsSpace(**ppsz)) ++*ppsz;
}

void CMN_SkipWhite(const char** ppsz) {
    TAV_ASSERT(ppsz != nullptr && *ppsz != nullptr);
    while (IsSpace(**ppsz)) ++*ppsz;
}

void CMN_SkipToWhite(char** ppsz) {
    TAV_ASSERT(ppsz != nullptr && *ppsz != nullptr);
    while (**ppsz != '\0' && !IsSpace(**ppsz)) ++*ppsz;
}

int CMN_SkipKeyword(char** ppsz) {
    TAV_ASSERT(ppsz != nullptr && *ppsz != nullptr);
    char* pClose = strchr(*ppsz, ']');
    if (pClose == nullptr) return 0;
    *ppsz = pClose + 1;
    CMN_SkipWhite(ppsz);
    return 1;
}

void CMN_TrimRight(char* psz) {
    TAV_ASSERT(psz != nullptr);
    size_t n = strlen(psz);
    while (n > 0 && IsSpace(psz[n - 1])) --n;
    psz[n] = '\0';
}

size_t CMN_TokenLength(char cDelim, const char* psz) {
    TAV_ASSERT(psz != nullptr);
    size_t n = 0;
    while (psz[n] != '\0' && !IsBlankOrTab(psz[n]) && psz[n] != cDelim) ++n;
    return n;
}

void CMN_ToLower(char* psz) {
    TAV_ASSERT(psz != nullptr);
    for (; *psz != '\0'; ++psz) *psz = static_cast<char>(LowerOf(*psz));
}

void CMN_ToUpper(char* psz) {
    TAV_ASSERT(psz != nullptr);
    for (; *psz != '\0'; ++psz) *psz = static_cast<char>(toupper(static_cast<unsigned char>(*psz)));
}

FILE* CMN_OpenBinary(const char* pszPath, const char* pszMode) {
    TAV_ASSERT(pszPath != nullptr && pszMode != nullptr && pszMode[0] != '\0');
    char szMode[16];
    TAV_ASSERT(strlen(pszMode) + 1 < sizeof szMode);
    snprintf(szMode, sizeof szMode, "%cb%s", pszMode[0], pszMode + 1);
    return PLAT_OpenFile(pszPath, szMode);
}

// ---------------------------------------------------------------- numbers

namespace {

// The decimal number of nLength characters at psz, correctly rounded;
// false when it is too large for a double.  std::from_chars needs no copy
// and no locale (the decimal point stays a point whatever locale the host
// has set); it refuses a leading '+', and reports an underflow that the C
// library would round to a denormal or zero, so both go the slow way.
bool ConvertDecimal(const char* psz, size_t nLength, double* pdValue) {
    const char* pEnd = psz + nLength;
    const std::from_chars_result result = std::from_chars(psz[0] == '+' ? psz + 1 : psz, pEnd, *pdValue);
    if (result.ec == std::errc() && result.ptr == pEnd) return true;
    static const locale_t s_cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    *pdValue = strtod_l(std::string(psz, nLength).c_str(), nullptr, s_cLocale);
    return !std::isinf(*pdValue);
}

}  // namespace

int CMN_GetUnsigned(const char* psz, unsigned long* pulValue) {
    TAV_ASSERT(psz != nullptr && pulValue != nullptr);
    *pulValue = 0;
    if (!IsDigit(psz[0])) return 0;
    errno = 0;
    char* pEnd = nullptr;
    unsigned long ulValue = strtoul(psz, &pEnd, 10);
    if (errno == ERANGE) return 0;
    *pulValue = ulValue;
    return *pEnd == '\0' ? 1 : 2;
}

int CMN_GetNumber(const char* psz, double* pdValue) {
    TAV_ASSERT(psz != nullptr && pdValue != nullptr);
    *pdValue = 0.0;
    size_t nLength = DecimalLength(psz);
    if (nLength == 0) return 0;
    // Only the decimal part is converted, so that "0x10" stays the number 0
    // followed by text.
    double dValue = 0.0;
    if (!ConvertDecimal(psz, nLength, &dValue)) return 0;  // too large for any IBIS quantity

    const char* pAfter = psz + nLength;
    if (*pAfter == '\0') {
        *pdValue = dValue;
        return 1;
    }
    if (!IsLetter(*pAfter)) return 0;
    const double dScaled = dValue * ScaleFactor(*pAfter);
    if (std::isinf(dScaled)) return 0;  // too large once scaled
    *pdValue = dScaled;
    return ContainsDigit(pAfter) ? 2 : 1;
}

int CMN_GetValueOrNA(const char* psz, double* pdValue, int* pbNA) {
    TAV_ASSERT(psz != nullptr && pdValue != nullptr && pbNA != nullptr);
    if (CMN_StrEqualNoCase(psz, "NA")) {
        *pdValue = 0.0;
        *pbNA = 1;
        return 1;
    }
    *pbNA = 0;
    return CMN_GetNumber(psz, pdValue);
}

int CMN_ParseValue(const char* psz, const char* pszContext, const char* pszValueName,
                   double* pdValue, unsigned* peState) {
    TAV_ASSERT(pszContext != nullptr && pszValueName != nullptr);
    TAV_ASSERT(pdValue != nullptr && peState != nullptr);
    *peState = VALUE_ABSENT;
    if (psz == nullptr) return 1;
    int bNA = 0;
    switch (CMN_GetValueOrNA(psz, pdValue, &bNA)) {
        case 0:
            DIAG_ErrorLine("Invalid %s Value (\"%s\")", pszValueName, psz);
            return 0;
        case 2:
            DIAG_WarningLine("Suspicious %s %s Value (\"%s\"); Numeric in Scale", pszValueName,
                             pszContext, psz);
            *peState = VALUE_NUMBER;
            return 1;
        default:
            *peState = bNA ? VALUE_NA : VALUE_NUMBER;
            return 1;
    }
}

// ---------------------------------------------------------------- keyword values

void CMN_SetString(char* pszDest, const char* pszValue, unsigned n, const char* pszKeyword) {
    TAV_ASSERT(pszDest != nullptr && pszValue != nullptr && pszKeyword != nullptr);
    size_t nLength = strlen(pszValue);
    if (nLength > n) {
        DIAG_ErrorLine("%s string '%s' is too long, truncating to %u characters.", pszKeyword,
                       pszValue, n);
    } else if (nLength == 0) {
        DIAG_ErrorLine("Zero length value for keyword '%s'.", pszKeyword);
    }
    CMN_StrCopy(pszDest, pszValue, n);
}

int CMN_SetKeywordOnce(char* pszDest, const char* pszValue, unsigned n, const char* pszKeyword) {
    TAV_ASSERT(pszDest != nullptr && pszKeyword != nullptr);
    if (pszDest[0] != '\0') {
        DIAG_ErrorLine("Duplicate '%s' keyword.", pszKeyword);
        return 0;
    }
    CMN_SetString(pszDest, pszValue, n, pszKeyword);
    return 1;
}

void CMN_CheckRequired(const char* pszKeyword, int bPresent) {
    TAV_ASSERT(pszKeyword != nullptr);
    if (!bPresent)
        DIAG_Error("Required keyword '%s' not found in file '%s'.", pszKeyword, PARSE_FileName());
}

int CMN_IsNotReserved(const char* pszWord) {
    TAV_ASSERT(pszWord != nullptr);
    for (const char* pszReserved : g_apszReserved) {
        if (CMN_StrEqualNoCase(pszWord, pszReserved)) return 0;
    }
    return 1;
}

void CMN_CheckReserved(const char* pszWord) {
    if (!CMN_IsNotReserved(pszWord)) DIAG_ErrorLine("Illegal use of Reserved Word '%s'.", pszWord);
}

// ---------------------------------------------------------------- R/L/C sections

int CMN_NextSectionItem(const char* pszText, double* pdValue, const char** ppszRest) {
    TAV_ASSERT(pszText != nullptr && pdValue != nullptr && ppszRest != nullptr);
    const char* p = SkipBlanksAndTabs(pszText);
    *ppszRest = p;
    if (*p == '\0') return SECT_ITEM_EOT;
    if (*p == '/') {
        *ppszRest = SkipBlanksAndTabs(p + 1);
        return SECT_ITEM_SLASH;
    }
    if (*p == '=') {
        DIAG_ErrorLine("Unexpected '=' found");
        *ppszRest = SkipBlanksAndTabs(p + 1);
        return SECT_ITEM_ERROR;
    }

    size_t nLength = SectionWordLength(p, " \t=/");
    std::string strName(p, nLength);
    p = SkipBlanksAndTabs(p + nLength);
    *ppszRest = p;
    int eKind = SectionKind(strName);
    if (eKind == SECT_ITEM_ERROR) {
        DIAG_ErrorLine("Unexpected token '%s' found in R/L/C section", strName.c_str());
        return SECT_ITEM_ERROR;
    }
    if (*p == '\0') {
        DIAG_ErrorLine("Premature end of R/L/C section");
        return SECT_ITEM_EOT;
    }
    if (*p != '=') {
        DIAG_ErrorLine("Error parsing R/L/C section. Missing '='");
        const char* pSlash = strchr(p, '/');
        *ppszRest = pSlash != nullptr ? pSlash + 1 : p + strlen(p);
        return SECT_ITEM_ERROR;
    }
    return ReadSectionValue(p, eKind, pdValue, ppszRest);
}
