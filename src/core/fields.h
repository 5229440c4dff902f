// The fields of keyword lines that many keyword modules read the same way,
// each with its own message texts passed in: the one name after a keyword,
// a word looked up in a table of spellings, "name = number" lines, a
// keyword line that must stand alone; and the results of record accessors.
#ifndef TAVELIN_FIELDS_H
#define TAVELIN_FIELDS_H

#include <cstddef>

#include "core/cmn.h"
#include "core/tav_assert.h"

// One accepted spelling of a setting and the value it stands for.
struct CMN_SPELLING {
    const char* pszText;
    unsigned eValue;
};

// Looks the word up among the first nEntries spellings: an exact spelling
// stores its value and gives 1; a spelling that differs in letter case only
// is pointed out ("Invalid <sub> ("<word>") (try "<spelling>")"), any other
// word is invalid; both give 0 and leave the value alone.
int CMN_MatchSpelling(const char* pszWord, const char* pszSub, const CMN_SPELLING* pTable,
                      size_t nEntries, unsigned* peValue);

// "<sub> = <word>" with the word looked up as by CMN_MatchSpelling:
// "'<sub>' Subparameter Missing Setting" without a word, "Invalid <sub>
// Line" or the count of line items for a line of another shape.
int CMN_ReadSetting(const char* pszLine, const char* pszSub, const CMN_SPELLING* pTable,
                    size_t nEntries, unsigned* peValue);

// The one name after a keyword such as [Model]: pszText is the text after
// the keyword.  Reports "Unable to Save <keyword> Name" when the line cannot
// be split, "'<keyword>' Keyword Missing name" when there is no word (result
// 0), and the count of line items when more words follow.  The name is
// copied cut to nMaxLen characters; *pbTooLong tells that it was longer, after
// "<keyword> Name Over <n> Characters Long" was reported.
int CMN_ReadName(const char* pszText, const char* pszKeyword, char* pszName, size_t nMaxLen,
                 int* pbTooLong);

// Message texts of a "name = number" line.
struct CMN_NAME_VALUE_TEXTS {
    const char* pszInvalidLine;  // the whole text for a line of another shape
    const char* pszCountName;    // in "Incorrect Number of Line Items (%d) For %s: Expecting 3"
    const char* pszValueName;    // in "Invalid %s Value (\"%s\")"
    const char* pszSuspicious;   // in "Suspicious %s Value ..."; null: digits after the scale letter pass
};

// Reads "name = number".  The number (0 when the line or the number is not
// readable) is stored; the result is that of CMN_GetNumber, 0 for a line of
// another shape.
int CMN_ReadNameValue(const char* pszLine, const CMN_NAME_VALUE_TEXTS& texts, double* pdValue);

// A keyword line with anything after the keyword: "Incorrect Number of Line
// Items (n) For <name>: Expecting 1".
void CMN_CheckKeywordAlone(char* pszLine, const char* pszName);

// Accessor results: a text is given when it is not empty, a record or an
// optional number when it is there, a number when its state says it is one.
// What is not given gives 0; a text or record then stores null, a number
// leaves the output alone.  The macros name the accessor's own module and
// line in an assertion.
#define CMN_RECORD(p) CMN_Record((p), TAV_MODULE, __LINE__)
#define CMN_GIVE_FIELD(holder, field, out) CMN_GiveField((holder), (field), (out), TAV_MODULE, __LINE__)
#define CMN_GIVE_TEXT(text, out) CMN_GiveText((text), (out), TAV_MODULE, __LINE__)
#define CMN_GIVE_OPTIONAL(pd, out) CMN_GiveOptional((pd), (out), TAV_MODULE, __LINE__)
#define CMN_GIVE_VALUE(d, state, out) CMN_GiveValue((d), (state), (out), TAV_MODULE, __LINE__)

template <typename T>
const T& CMN_Record(const T* pRecord, const char* pszModule, int nLine) {
    if (pRecord == nullptr) TAV_AssertFailed(pszModule, nLine);
    return *pRecord;
}

// A record held by another through a pointer field, named by member
// pointer so that a null holder reaches the assertion before any access.
template <typename R, typename T>
int CMN_GiveField(const R* pHolder, T* R::*pmField, T** ppOut, const char* pszModule, int nLine) {
    if (pHolder == nullptr || ppOut == nullptr) TAV_AssertFailed(pszModule, nLine);
    *ppOut = pHolder->*pmField;
    return *ppOut != nullptr;
}

inline int CMN_GiveText(const char* pszField, const char** ppsz, const char* pszModule, int nLine) {
    if (ppsz == nullptr) TAV_AssertFailed(pszModule, nLine);
    *ppsz = pszField != nullptr && pszField[0] != '\0' ? pszField : nullptr;
    return *ppsz != nullptr;
}

inline int CMN_GiveOptional(const double* pdField, double* pdOut, const char* pszModule, int nLine) {
    if (pdOut == nullptr) TAV_AssertFailed(pszModule, nLine);
    if (pdField == nullptr) return 0;
    *pdOut = *pdField;
    return 1;
}

inline int CMN_GiveValue(double dValue, unsigned eState, double* pdOut, const char* pszModule,
                         int nLine) {
    if (pdOut == nullptr) TAV_AssertFailed(pszModule, nLine);
    if (eState != VALUE_NUMBER) return 0;
    *pdOut = dValue;
    return 1;
}

#endif
