#ifndef TAVELIN_CMN_H
#define TAVELIN_CMN_H

#include <cstddef>
#include <cstdio>

// Corner state of an optional number: not given, a number, or "NA".
enum eValueState : unsigned { VALUE_ABSENT = 0, VALUE_NUMBER = 1, VALUE_NA = 2 };

// Words of one line.  Slots beyond nFound are null; nFound may exceed nMax.
struct TOKENS {
    int nMax;
    int nStored;
    int nFound;
    char** ppszToken;
};

// Kinds returned by CMN_NextSectionItem.
enum eSectionItem {
    SECT_ITEM_ERROR = 0,
    SECT_ITEM_LEN = 1,
    SECT_ITEM_R = 2,
    SECT_ITEM_C = 3,
    SECT_ITEM_L = 4,
    SECT_ITEM_SLASH = 5,
    SECT_ITEM_EOT = 6
};

// Memory: zero-filled allocation; failures are reported as errors.
int CMN_Alloc(void** ppv, size_t nSize);
int CMN_Realloc(void** ppv, size_t nSize);
void CMN_Free(void* pv);

template <typename T>
inline int CMN_Alloc(T** pp, size_t nSize) {
    void* pv = nullptr;
    int nResult = CMN_Alloc(&pv, nSize);
    *pp = static_cast<T*>(pv);
    return nResult;
}

template <typename T>
inline int CMN_Realloc(T** pp, size_t nSize) {
    void* pv = *pp;
    int nResult = CMN_Realloc(&pv, nSize);
    *pp = static_cast<T*>(pv);
    return nResult;
}

// Text.
void CMN_StrCopy(char* pszDest, const char* pszSrc, size_t n);
int CMN_StrEqualNoCase(const char* pszA, const char* pszB);
int CMN_StrEqualNoCaseN(const char* pszA, const char* pszB, size_t n);
int CMN_KeywordEqual(const char* pszTableName, char* pszText);
void CMN_SkipWhite(char** ppsz);
void CMN_SkipWhite(const char** ppsz);
void CMN_SkipToWhite(char** ppsz);
int CMN_SkipKeyword(char** ppsz);
void CMN_TrimRight(char* psz);
size_t CMN_TokenLength(char cDelim, const char* psz);
void CMN_ToLower(char* psz);
void CMN_ToUpper(char* psz);
FILE* CMN_OpenBinary(const char* pszPath, const char* pszMode);

// Words, numbers and keyword values.
int CMN_Tokenize(const char* pszLine, int n, TOKENS* pTokens);
int CMN_TokenizeDelim(const char* pszLine, int n, char cDelim, TOKENS* pTokens);
void CMN_FreeTokens(TOKENS* pTokens);
int CMN_GetUnsigned(const char* psz, unsigned long* pulValue);
int CMN_GetNumber(const char* psz, double* pdValue);
int CMN_GetValueOrNA(const char* psz, double* pdValue, int* pbNA);
int CMN_ParseValue(const char* psz, const char* pszContext, const char* pszValueName,
                   double* pdValue, unsigned* peState);
void CMN_SetString(char* pszDest, const char* pszValue, unsigned n, const char* pszKeyword);
int CMN_SetKeywordOnce(char* pszDest, const char* pszValue, unsigned n, const char* pszKeyword);
void CMN_CheckRequired(const char* pszKeyword, int bPresent);
int CMN_IsNotReserved(const char* pszWord);
void CMN_CheckReserved(const char* pszWord);
int CMN_NextSectionItem(const char* pszText, double* pdValue, const char** ppszRest);

// Fixed-size block pool: elements are handed out in order and released
// together.
struct POOL;
POOL* POOL_Create(size_t nElementSize, size_t nPerBlock);
void* POOL_Get(POOL* pPool);
void POOL_FreeAll(POOL* pPool);
void POOL_Destroy(POOL* pPool);

#endif
