// [Rising Waveform], [Falling Waveform] and the pulse tables: the fixture
// values, the timing rows, and the end checks of a waveform.  State: the
// waveform being read, its tail and row count.
#define TAV_MODULE "wvfrm"
#include "model/wvfrm.h"

#include <cstdio>
#include <cstring>

#include "model/crv.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/lines.h"
#include "core/rng.h"
#include "core/tav_assert.h"

namespace {

enum { WVFRM_MAX_WAVEFORMS = 100, WVFRM_MAX_ROWS = 100 };

struct FixtureSub {
    const char* pszName;
    double* WVFRM::*pField;
};

const FixtureSub g_aFixtureSub[] = {
    {"R_fixture", &WVFRM::pdRfixture},   {"V_fixture", &WVFRM::pdVfixture},
    {"V_fixture_min", &WVFRM::pdVfixtureMin}, {"V_fixture_max", &WVFRM::pdVfixtureMax},
    {"C_fixture", &WVFRM::pdCfixture},   {"L_fixture", &WVFRM::pdLfixture},
    {"R_dut", &WVFRM::pdRdut},           {"L_dut", &WVFRM::pdLdut},
    {"C_dut", &WVFRM::pdCdut},           {"NOT_SUB", nullptr},
};

const char* const g_apszCornerText[CORNER_COUNT] = {"Typical", "Minimum", "Maximum"};

struct WvfrmState {
    WVFRM* pCur = nullptr;
    unsigned long ulStartLine = 0;
    // Last timing row of the current waveform and the row count, so that
    // rows are appended in constant time.
    RNGP* pTail = nullptr;
    unsigned nRows = 0;
};

WvfrmState g_wvfrm;

const FixtureSub* LookupFixture(const char* pszLine, size_t n) {
    for (const FixtureSub* pSub = g_aFixtureSub; pSub->pField != nullptr; ++pSub)
        if (strlen(pSub->pszName) == n && strncmp(pSub->pszName, pszLine, n) == 0) return pSub;
    return nullptr;
}

bool CornerValue(const RNGP* pRow, eCorner eWhich, double* pd) {
    return RNGP_CornerState(pRow, eWhich, pd) == VALUE_NUMBER;
}

bool IsNA(const RNGP* pRow, eCorner eWhich) {
    double d;
    return RNGP_CornerState(pRow, eWhich, &d) == VALUE_NA;
}

int StartLine() { return static_cast<int>(g_wvfrm.ulStartLine); }

void ReadFixture(const char* pszLine, const FixtureSub* pSub, const char* pszKeyword) {
    WVFRM* pWvfrm = g_wvfrm.pCur;
    if (pWvfrm->pRows != nullptr)
        DIAG_ErrorLine("%s specified after beginning of timing data", pSub->pszName);
    double*& pdField = pWvfrm->*(pSub->pField);
    if (pdField != nullptr) {
        DIAG_ErrorLine("Duplicate definition for %s %s", pszKeyword, pSub->pszName);
        return;
    }
    if (!CMN_Alloc(&pdField, sizeof *pdField)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return;
    }
    char szInvalid[64];
    char szSuspicious[96];
    snprintf(szInvalid, sizeof szInvalid, "Invalid %s line", pszKeyword);
    snprintf(szSuspicious, sizeof szSuspicious, "%s %s", pszKeyword, pSub->pszName);
    CMN_ReadNameValue(pszLine, {szInvalid, pszKeyword, pszKeyword, szSuspicious}, pdField);
}

void ReadTimingRow(const char* pszLine, const char* pszKeyword) {
    RNGP* pRow = nullptr;
    if (!RNGP_Parse(pszLine, pszKeyword, "Time", &pRow) || pRow == nullptr) return;
    RNGP_AppendAfter(&g_wvfrm.pCur->pRows, g_wvfrm.pTail, pRow);
    g_wvfrm.pTail = pRow;
    if (++g_wvfrm.nRows == WVFRM_MAX_ROWS + 1)
        DIAG_ErrorLine("More than 100 data points provided for %s table", pszKeyword);
    if (pRow->eXState == VALUE_NA) DIAG_ErrorLine("'NA' not allowed for %s value", "Time");
    const RNGP* pPrev = pRow->pPrev;
    if (pRow->eXState == VALUE_NUMBER && pPrev != nullptr && pPrev->eXState == VALUE_NUMBER &&
        pPrev->dX >= pRow->dX)
        DIAG_ErrorLine("Time value did not increase");
}

// A line that is not a fixture subparameter is a timing row when its
// first word is a time ("NA" included, which draws its own message).
bool StartsWithTime(const char* pszLine, size_t n) {
    char szWord[PARSE_LINE_SIZE];
    CMN_StrCopy(szWord, pszLine, n < sizeof szWord - 1 ? n : sizeof szWord - 1);
    double d;
    int bNA;
    return CMN_GetValueOrNA(szWord, &d, &bNA) != 0;
}

void CheckFixturePresent(const WVFRM* pWvfrm, const char* pszLabel) {
    if (pWvfrm->pdRfixture == nullptr)
        DIAG_Error("%s Not Defined For %s Waveform Beginning on Line %d", "R_fixture", pszLabel,
                   StartLine());
    if (pWvfrm->pdVfixture == nullptr)
        DIAG_Error("%s Not Defined For %s Waveform Beginning on Line %d", "V_fixture", pszLabel,
                   StartLine());
}

void CheckEndRowNA(const RNGP* pRow, const char* pszWhich, const RNGP* pFirst,
                   const char* pszLabel) {
    for (eCorner eWhich : g_aeCorners) {
        if (!IsNA(pRow, eWhich)) continue;
        if (eWhich != eCorner::TYP && !RNGP_AnyNumber(pFirst, eWhich)) continue;
        DIAG_Error("%s %s Value Cannot Be 'NA' for %s Waveform Beginning at Line %d", pszWhich,
                   g_apszCornerText[CornerIndex(eWhich)], pszLabel, StartLine());
    }
}

// A pulse must come back to where it started.
void CheckPulseReturns(const RNGP* pFirst, const RNGP* pLast, const char* pszLabel) {
    for (eCorner eWhich : g_aeCorners) {
        double dFirst, dLast;
        if (!CornerValue(pFirst, eWhich, &dFirst) || !CornerValue(pLast, eWhich, &dLast)) continue;
        if (dFirst != dLast)
            DIAG_Error("First %s Value should be the same as the Last for %s Waveform Beginning at Line %d",
                       g_apszCornerText[CornerIndex(eWhich)], pszLabel, StartLine());
    }
}

// GND pulses offset downwards, POWER pulses upwards.
void CheckPulseOffsets(const RNGP* pFirst, const char* pszLabel) {
    const bool bGnd = strcmp(pszLabel, "GND Pulse Table") == 0;
    for (eCorner eWhich : g_aeCorners) {
        for (const RNGP* pRow = pFirst; pRow != nullptr; pRow = pRow->pNext) {
            double d;
            if (!CornerValue(pRow, eWhich, &d)) continue;
            if (bGnd && d < 0) {
                DIAG_Warning("Found some %s (%s) offsets less than 0 for Table Beginning at Line %d",
                             pszLabel, g_apszCornerText[CornerIndex(eWhich)], StartLine());
                break;
            }
            if (!bGnd && d > 0) {
                DIAG_Warning("Found some %s (%s) offsets greater than 0 for Table Beginning at Line %d",
                             pszLabel, g_apszCornerText[CornerIndex(eWhich)], StartLine());
                break;
            }
        }
    }
}

void FreeOne(WVFRM* pWvfrm) {
    for (const FixtureSub* pSub = g_aFixtureSub; pSub->pField != nullptr; ++pSub)
        if (pWvfrm->*(pSub->pField) != nullptr) CMN_Free(pWvfrm->*(pSub->pField));
    RNGP_FreeList(pWvfrm->pRows);
    if (g_wvfrm.pCur == pWvfrm) g_wvfrm.pCur = nullptr;
    CMN_Free(pWvfrm);
}

int GetFixture(const WVFRM* pWvfrm, double* WVFRM::*pField, double* pd) {
    TAV_ASSERT(pWvfrm != nullptr && pd != nullptr);
    const double* pdValue = pWvfrm->*pField;
    if (pdValue == nullptr) return 0;
    *pd = *pdValue;
    return 1;
}

}  // namespace

void WVFRM_Reset() { g_wvfrm = WvfrmState(); }

int WVFRM_Begin(char* pszLine, WVFRM** ppList, const char* pszKeyword) {
    TAV_ASSERT(pszLine != nullptr && ppList != nullptr && pszKeyword != nullptr);
    g_wvfrm.pCur = nullptr;
    int nBefore = 0;
    WVFRM** ppTail = ppList;
    for (; *ppTail != nullptr; ppTail = &(*ppTail)->pNext) ++nBefore;
    WVFRM* pWvfrm = nullptr;
    if (!CMN_Alloc(&pWvfrm, sizeof *pWvfrm)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return 0;
    }
    *ppTail = pWvfrm;
    g_wvfrm.pCur = pWvfrm;
    g_wvfrm.pTail = nullptr;
    g_wvfrm.nRows = 0;
    if (nBefore >= WVFRM_MAX_WAVEFORMS) DIAG_ErrorLine("More than 100 %ss are defined", pszKeyword);
    CMN_CheckKeywordAlone(pszLine, pszKeyword);
    g_wvfrm.ulStartLine = PARSE_GetLineNumber();
    return 1;
}

void WVFRM_Line(const char* pszLine, const char* pszKeyword) {
    TAV_ASSERT(pszLine != nullptr && pszKeyword != nullptr);
    if (g_wvfrm.pCur == nullptr) return;  // the waveform itself could not be made
    size_t n = CMN_TokenLength('=', pszLine);
    const FixtureSub* pSub = LookupFixture(pszLine, n);
    if (pSub != nullptr)
        ReadFixture(pszLine, pSub, pszKeyword);
    else if (StartsWithTime(pszLine, n))
        ReadTimingRow(pszLine, pszKeyword);
    else
        DIAG_ErrorLine("Unknown Line Among %s Data", pszKeyword);
}

void WVFRM_End(const char* pszLabel, int bWaveform) {
    TAV_ASSERT(pszLabel != nullptr);
    const WVFRM* pWvfrm = g_wvfrm.pCur;
    if (pWvfrm == nullptr) return;
    if (bWaveform) CheckFixturePresent(pWvfrm, pszLabel);

    const RNGP* pFirst = pWvfrm->pRows;
    const RNGP* pLast = pFirst;
    int nRows = 0;
    for (const RNGP* pRow = pFirst; pRow != nullptr; pRow = pRow->pNext) {
        pLast = pRow;
        ++nRows;
    }
    if (nRows < 2) {
        DIAG_Error("Require at least 2 Data Points for %s Waveform Beginning at Line %d", pszLabel,
                   StartLine());
    } else {
        CheckEndRowNA(pFirst, "First", pFirst, pszLabel);
        CheckEndRowNA(pLast, "Last", pFirst, pszLabel);
        if (!bWaveform) CheckPulseReturns(pFirst, pLast, pszLabel);
    }
    if (!bWaveform) CheckPulseOffsets(pFirst, pszLabel);
    g_wvfrm.pCur = nullptr;
}

void WVFRM_FreeList(WVFRM* pList) {
    while (pList != nullptr) {
        WVFRM* pNext = pList->pNext;
        FreeOne(pList);
        pList = pNext;
    }
}

int WVFRM_GetRfixture(const WVFRM* pWvfrm, double* pd) { return GetFixture(pWvfrm, &WVFRM::pdRfixture, pd); }
int WVFRM_GetVfixture(const WVFRM* pWvfrm, double* pd) { return GetFixture(pWvfrm, &WVFRM::pdVfixture, pd); }
int WVFRM_GetVfixtureMin(const WVFRM* pWvfrm, double* pd) {
    return GetFixture(pWvfrm, &WVFRM::pdVfixtureMin, pd);
}
int WVFRM_GetVfixtureMax(const WVFRM* pWvfrm, double* pd) {
    return GetFixture(pWvfrm, &WVFRM::pdVfixtureMax, pd);
}
int WVFRM_GetCfixture(const WVFRM* pWvfrm, double* pd) { return GetFixture(pWvfrm, &WVFRM::pdCfixture, pd); }
int WVFRM_GetLfixture(const WVFRM* pWvfrm, double* pd) { return GetFixture(pWvfrm, &WVFRM::pdLfixture, pd); }
int WVFRM_GetRdut(const WVFRM* pWvfrm, double* pd) { return GetFixture(pWvfrm, &WVFRM::pdRdut, pd); }
int WVFRM_GetLdut(const WVFRM* pWvfrm, double* pd) { return GetFixture(pWvfrm, &WVFRM::pdLdut, pd); }
int WVFRM_GetCdut(const WVFRM* pWvfrm, double* pd) { return GetFixture(pWvfrm, &WVFRM::pdCdut, pd); }

int WVFRM_GetRows(const WVFRM* pWvfrm, RNGP** ppRows) {
    TAV_ASSERT(pWvfrm != nullptr && ppRows != nullptr);
    *ppRows = pWvfrm->pRows;
    return pWvfrm->pRows != nullptr ? 1 : 0;
}

int WVFRM_GetNext(const WVFRM* pWvfrm, WVFRM** ppNext) {
    TAV_ASSERT(pWvfrm != nullptr && ppNext != nullptr);
    *ppNext = pWvfrm->pNext;
    return pWvfrm->pNext != nullptr ? 1 : 0;
}
