// [Ramp]: dV/dt_r and dV/dt_f per corner as "dV/dt" ratios or "NA", and
// R_load; the end checks of a ramp.  State: the line the open ramp started
// on.
#define TAV_MODULE "ramp"
#include "model/ramp.h"

#include <cstdio>
#include <cstring>

#include "model/crv.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/lines.h"
#include "core/tav_assert.h"

namespace {

enum eRampSub { SUB_NONE = 0, SUB_DVDT_R = 1, SUB_DVDT_F = 2, SUB_R_LOAD = 3 };

const char* const g_apszRampSub[] = {"dV/dt_r", "dV/dt_f", "R_load", "NOT_SUB"};

const char* const g_apszCornerName[CORNER_COUNT] = {"Typical", "Minimum", "Maximum"};

struct RampState {
    unsigned long ulStartLine = 0;
};

RampState g_ramp;

// The subparameter named by the first word of the line (ended by blank,
// tab or "=").
int LookupSub(const char* pszLine, size_t* pnLength) {
    size_t n = CMN_TokenLength('=', pszLine);
    *pnLength = n;
    for (int i = 0; strcmp(g_apszRampSub[i], "NOT_SUB") != 0; ++i)
        if (strlen(g_apszRampSub[i]) == n && strncmp(g_apszRampSub[i], pszLine, n) == 0) return i + 1;
    return SUB_NONE;
}

bool ReadRatioParts(const WORDS& parts, const char* pszSub, const char* pszCorner,
                    RAMPRATIO* pRatio) {
    if (parts.Found() != 3 || strcmp(parts[1], "/") != 0) return false;
    int nDv = CMN_GetNumber(parts[0], &pRatio->dDv);
    int nDt = CMN_GetNumber(parts[2], &pRatio->dDt);
    if (nDv == 2)
        DIAG_WarningLine("Suspicious %s %s Value (\"%s\"); Numeric in Scale", pszCorner, pszSub,
                         parts[0]);
    if (nDt == 2)
        DIAG_WarningLine("Suspicious %s %s Value (\"%s\"); Numeric in Scale", pszCorner, pszSub,
                         parts[2]);
    return nDv != 0 && nDt != 0;
}

// One corner written as "dV/dt" or "NA".
void ReadRatio(const char* pszWord, const char* pszSub, eCorner eWhich, RAMPRATIO* pRatio) {
    const char* pszCorner = g_apszCornerName[CornerIndex(eWhich)];
    const WORDS parts(pszWord, 3, '/');
    if (!parts.Split()) {
        DIAG_BugLine("Unable to Parse %s: %s %d", pszSub, TAV_MODULE, __LINE__);
        return;
    }
    bool bRead;
    if (parts.Found() == 1 && CMN_StrEqualNoCase(pszWord, "NA")) {
        pRatio->eState = VALUE_NA;
        bRead = true;
    } else {
        bRead = ReadRatioParts(parts, pszSub, pszCorner, pRatio);
        pRatio->eState = bRead ? VALUE_NUMBER : VALUE_ABSENT;
    }
    if (!bRead) DIAG_ErrorLine("Invalid %s %s Value (\"%s\")", pszSub, pszCorner, pszWord);
}

void ReportWordCount(int nFound, const char* pszSub) {
    if (nFound == 1) {
        DIAG_ErrorLine("No %s Value Was Provided for %s", "minimum", pszSub);
        DIAG_ErrorLine("No %s Value Was Provided for %s", "maximum", pszSub);
    } else if (nFound == 2) {
        DIAG_ErrorLine("No %s Value Was Provided for %s", "maximum", pszSub);
    } else if (nFound != 3) {
        // Also a line without any value.
        DIAG_ErrorLine("Incorrect Number of Line Items (%d) For %s: Expecting %d", nFound, pszSub, 3);
    }
}

void ReadRate(const char* pszRest, const char* pszSub, RAMPVAL** ppSlot, const char* pszModel) {
    if (*ppSlot != nullptr) {
        DIAG_ErrorLine("%s Already Defined For Model '%s'", pszSub, pszModel);
        return;
    }
    RAMPVAL* pVal = nullptr;
    if (!CMN_Alloc(&pVal, sizeof *pVal)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return;
    }
    *ppSlot = pVal;
    const WORDS words(pszRest, CORNER_COUNT);
    if (!words.Split()) {
        DIAG_BugLine("Unable to Parse %s: %s %d", pszSub, TAV_MODULE, __LINE__);
        return;
    }
    ReportWordCount(words.Found(), pszSub);
    for (eCorner eWhich : g_aeCorners) {
        const int i = CornerIndex(eWhich);
        if (words[i] != nullptr) ReadRatio(words[i], pszSub, eWhich, &pVal->aRatio[i]);
    }
    if (pVal->aRatio[CornerIndex(eCorner::TYP)].eState == VALUE_NA)
        DIAG_ErrorLine("'NA' not allowed for %s Typical value", pszSub);
}

void ReadRload(const char* pszLine, RAMP* pRamp, const char* pszModel) {
    const char* pszSub = g_apszRampSub[SUB_R_LOAD - 1];
    if (pRamp->bRloadGiven) {
        DIAG_ErrorLine("%s Already Defined For Model '%s'", pszSub, pszModel);
        return;
    }
    char szInvalid[64];
    char szSuspicious[64];
    snprintf(szInvalid, sizeof szInvalid, "Invalid Ramp %s Line", pszSub);
    snprintf(szSuspicious, sizeof szSuspicious, "Ramp %s", pszSub);
    double dRload = 0.0;
    if (CMN_ReadNameValue(pszLine, {szInvalid, pszSub, pszSub, szSuspicious}, &dRload) != 0) {
        pRamp->dRload = dRload;
        pRamp->bRloadGiven = 1;
    }
}

void FreeRate(RAMPVAL* pVal) {
    if (pVal != nullptr) CMN_Free(pVal);
}

int GetCorner(const RAMPVAL* pVal, eCorner eWhich, double* pdDv, double* pdDt) {
    TAV_ASSERT(pVal != nullptr && pdDv != nullptr && pdDt != nullptr);
    const RAMPRATIO& ratio = pVal->aRatio[CornerIndex(eWhich)];
    if (ratio.eState != VALUE_NUMBER) return 0;
    *pdDv = ratio.dDv;
    *pdDt = ratio.dDt;
    return 1;
}

}  // namespace

void RAMP_Reset() { g_ramp.ulStartLine = 0; }

int RAMP_Begin(char* pszLine, RAMP** ppSlot) {
    TAV_ASSERT(pszLine != nullptr && ppSlot != nullptr);
    if (*ppSlot != nullptr) {
        DIAG_ErrorLine("Ramp Already Defined");
        RAMP_Free(*ppSlot);
        *ppSlot = nullptr;
    }
    RAMP* pRamp = nullptr;
    if (!CMN_Alloc(&pRamp, sizeof *pRamp)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return 0;
    }
    *ppSlot = pRamp;
    CMN_CheckKeywordAlone(pszLine, "Ramp");
    g_ramp.ulStartLine = PARSE_GetLineNumber();
    return 1;
}

void RAMP_Line(const char* pszLine, RAMP* pRamp, const char* pszModelName) {
    TAV_ASSERT(pszLine != nullptr && pszModelName != nullptr);
    if (pRamp == nullptr) return;  // the ramp itself could not be made
    size_t nLength = 0;
    switch (LookupSub(pszLine, &nLength)) {
        case SUB_DVDT_R:
            ReadRate(pszLine + nLength, g_apszRampSub[0], &pRamp->pDvdtR, pszModelName);
            break;
        case SUB_DVDT_F:
            ReadRate(pszLine + nLength, g_apszRampSub[1], &pRamp->pDvdtF, pszModelName);
            break;
        case SUB_R_LOAD:
            ReadRload(pszLine, pRamp, pszModelName);
            break;
        default:
            DIAG_ErrorLine("Unknown Line Among Ramp Data");
            break;
    }
}

void RAMP_End(const RAMP* pRamp) {
    if (pRamp == nullptr) return;
    int nStart = static_cast<int>(g_ramp.ulStartLine);
    if (pRamp->pDvdtR == nullptr)
        DIAG_Error("%s Not Defined For Ramp Beginning on Line %d", "dV/dt_r", nStart);
    if (pRamp->pDvdtF == nullptr)
        DIAG_Error("%s Not Defined For Ramp Beginning on Line %d", "dV/dt_f", nStart);
}

void RAMP_Free(RAMP* pRamp) {
    if (pRamp == nullptr) return;
    FreeRate(pRamp->pDvdtR);
    FreeRate(pRamp->pDvdtF);
    CMN_Free(pRamp);
}

int RAMP_GetRload(const RAMP* pRamp, double* pdRload) {
    TAV_ASSERT(pRamp != nullptr && pdRload != nullptr);
    if (!pRamp->bRloadGiven) return 0;
    *pdRload = pRamp->dRload;
    return 1;
}

int RAMP_GetRates(const RAMP* pRamp, RAMPVAL** ppRising, RAMPVAL** ppFalling) {
    TAV_ASSERT(pRamp != nullptr && ppRising != nullptr && ppFalling != nullptr);
    if (pRamp->pDvdtR == nullptr || pRamp->pDvdtF == nullptr) return 0;
    *ppRising = pRamp->pDvdtR;
    *ppFalling = pRamp->pDvdtF;
    return 1;
}

int RAMP_GetTyp(const RAMPVAL* pVal, double* pdDv, double* pdDt) {
    return GetCorner(pVal, eCorner::TYP, pdDv, pdDt);
}

int RAMP_GetMin(const RAMPVAL* pVal, double* pdDv, double* pdDt) {
    return GetCorner(pVal, eCorner::MIN, pdDv, pdDt);
}

int RAMP_GetMax(const RAMPVAL* pVal, double* pdDv, double* pdDt) {
    return GetCorner(pVal, eCorner::MAX, pdDv, pdDt);
}
