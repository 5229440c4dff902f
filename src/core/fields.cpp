// Shared readers of keyword-line fields; the messages are the callers'.
// Stateless; called by the component and model modules.
#define TAV_MODULE "cmn"
#include "core/fields.h"

#include <cstring>

#include "core/diag.h"
#include "core/words.h"

int CMN_MatchSpelling(const char* pszWord, const char* pszSub, const CMN_SPELLING* pTable,
                      size_t nEntries, unsigned* peValue) {
    TAV_ASSERT(pszWord != nullptr && pszSub != nullptr && pTable != nullptr && peValue != nullptr);
    for (size_t i = 0; i < nEntries; ++i) {
        if (strcmp(pszWord, pTable[i].pszText) == 0) {
            *peValue = pTable[i].eValue;
            return 1;
        }
    }
    for (size_t i = 0; i < nEntries; ++i) {
        if (CMN_StrEqualNoCase(pszWord, pTable[i].pszText)) {
            DIAG_ErrorLine("Invalid %s (\"%s\") (try \"%s\")", pszSub, pszWord, pTable[i].pszText);
            return 0;
        }
    }
    DIAG_ErrorLine("Invalid %s (\"%s\")", pszSub, pszWord);
    return 0;
}

int CMN_ReadName(const char* pszText, const char* pszKeyword, char* pszName, size_t nMaxLen,
                 int* pbTooLong) {
    TAV_ASSERT(pszText != nullptr && pszKeyword != nullptr && pszName != nullptr && pbTooLong != nullptr);
    *pbTooLong = 0;
    const WORDS words(pszText, 1);
    if (!words.Split()) {
        DIAG_Error("Unable to Save %s Name", pszKeyword);
        return 0;
    }
    if (words.Found() == 0) {
        DIAG_ErrorLine("'%s' Keyword Missing name", pszKeyword);
        return 0;
    }
    if (words.Found() > 1)
        DIAG_ErrorLine("Incorrect Number of Line Items (%d) For Keyword %s: Expecting %d",
                       words.Found(), pszKeyword, 1);
    if (strlen(words[0]) > nMaxLen) {
        DIAG_ErrorLine("%s Name Over %d Characters Long", pszKeyword, static_cast<int>(nMaxLen));
        *pbTooLong = 1;
    }
    CMN_StrCopy(pszName, words[0], nMaxLen);
    return 1;
}

int CMN_ReadNameValue(const char* pszLine, const CMN_NAME_VALUE_TEXTS& texts, double* pdValue) {
    TAV_ASSERT(pszLine != nullptr && pdValue != nullptr);
    *pdValue = 0.0;
    const WORDS words(pszLine, 3, '=');
    if (!words.Split()) {
        DIAG_BugLine("Unable to Parse %s: %s %d", texts.pszCountName, TAV_MODULE, __LINE__);
        return 0;
    }
    if (words.Found() < 3) {
        DIAG_ErrorLine("%s", texts.pszInvalidLine);
        return 0;
    }
    if (words.Found() != 3)
        DIAG_ErrorLine("Incorrect Number of Line Items (%d) For %s: Expecting %d", words.Found(),
                       texts.pszCountName, 3);
    if (strcmp(words[1], "=") != 0) {
        DIAG_ErrorLine("%s", texts.pszInvalidLine);
        return 0;
    }
    const int nResult = CMN_GetNumber(words[2], pdValue);
    if (nResult == 0)
        DIAG_ErrorLine("Invalid %s Value (\"%s\")", texts.pszValueName, words[2]);
    else if (nResult == 2 && texts.pszSuspicious != nullptr)
        DIAG_WarningLine("Suspicious %s Value (\"%s\"); Numeric in Scale", texts.pszSuspicious, words[2]);
    return nResult;
}

void CMN_CheckKeywordAlone(char* pszLine, const char* pszName) {
    TAV_ASSERT(pszLine != nullptr && pszName != nullptr);
    char* pszRest = pszLine;
    if (!CMN_SkipKeyword(&pszRest)) return;
    const WORDS words(pszRest, 1);
    if (words.Found() > 0)
        DIAG_ErrorLine("Incorrect Number of Line Items (%d) For %s: Expecting %d", words.Found() + 1,
                       pszName, 1);
}

int CMN_ReadSetting(const char* pszLine, const char* pszSub, const CMN_SPELLING* pTable,
                    size_t nEntries, unsigned* peValue) {
    TAV_ASSERT(pszLine != nullptr && pszSub != nullptr);
    const WORDS words(pszLine, 2, '=');
    if (!words.Split()) {
        DIAG_BugLine("Unable to Parse %s: %s %d", pszSub, TAV_MODULE, __LINE__);
        return 0;
    }
    if (words.Found() == 1)
        DIAG_ErrorLine("'%s' Subparameter Missing Setting", pszSub);
    else if (words.Found() > 2 && strcmp(words[1], "=") == 0)
        DIAG_ErrorLine("Invalid %s Line", pszSub);
    else if (words.Found() != 2)
        DIAG_ErrorLine("Incorrect Number of Line Items (%d) For %s: Expecting %d", words.Found(),
                       pszSub, 2);
    else
        return CMN_MatchSpelling(words[1], pszSub, pTable, nEntries, peValue);
    return 0;
}
