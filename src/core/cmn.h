// Common helpers of the reader: text, numbers with scale letters and "NA",
// keyword values, reserved words and R/L/C section items.  Memory and word
// splitting have headers of their own, included here for every module.
#ifndef TAVELIN_CMN_H
#define TAVELIN_CMN_H

#include <cstddef>
#include <cstdio>

#include "core/memory.h"
#include "core/words.h"

// Corner state of an optional number: not given, a number, or "NA".
enum eValueState : unsigned { VALUE_ABSENT = 0, VALUE_NUMBER = 1, VALUE_NA = 2 };

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

// Numbers and keyword values.
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

#endif
