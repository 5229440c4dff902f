// The series sections of Series and Series_switch models ([On], [Off] and
// the series R, L, C keywords), with the checks of each section.
// Stateless; called by the model module.
#define TAV_MODULE "sinfo"
#include "model/sinfo.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "model/crv.h"
#include "model/smos.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/rng.h"
#include "core/tav_assert.h"

namespace {

// MOSFET tables closer in Vds than this are measured at the same Vds.
constexpr double VDS_EPSILON = 1e-9;

void CheckElementPairs(const SINFO* pSinfo, const char* pszModel, const char* pszLabel) {
    if (pSinfo->pRlSeries != nullptr && pSinfo->pLseries == nullptr)
        DIAG_Error("Model %s %s: Rl_series cannot be specified if L_series is not specified", pszModel,
                   pszLabel);
    if (pSinfo->pRcSeries != nullptr && pSinfo->pCseries == nullptr)
        DIAG_Error("Model %s %s: Rc_series cannot be specified if C_series is not specified", pszModel,
                   pszLabel);
    if (pSinfo->pLcSeries != nullptr && pSinfo->pCseries == nullptr)
        DIAG_Error("Model %s %s: Lc_series cannot be specified if C_series is not specified", pszModel,
                   pszLabel);
}

void CheckMosfetVds(const SINFO* pSinfo, const char* pszModel, const char* pszLabel) {
    for (const SMOS* pA = pSinfo->pMosfets; pA != nullptr; pA = pA->pNext) {
        if (pA->pdVds == nullptr) continue;
        for (const SMOS* pB = pA->pNext; pB != nullptr; pB = pB->pNext) {
            if (pB->pdVds != nullptr && std::fabs(*pA->pdVds - *pB->pdVds) < VDS_EPSILON)
                DIAG_Error("Model %s %s: Found two Series_MOSFETs with identical Vds value %e", pszModel,
                           pszLabel, *pA->pdVds);
        }
    }
}

void FreeRange(RNG* pRng) {
    if (pRng != nullptr) RNG_Free(pRng);
}

}  // namespace

int SINFO_New(SINFO** ppSlot) {
    TAV_ASSERT(ppSlot != nullptr && *ppSlot == nullptr);
    if (!CMN_Alloc(ppSlot, sizeof **ppSlot)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return 0;
    }
    return 1;
}

int SINFO_Begin(char* pszLine, SINFO** ppSlot, const char* pszLabel) {
    TAV_ASSERT(pszLine != nullptr && ppSlot != nullptr && pszLabel != nullptr);
    if (*ppSlot != nullptr) {
        DIAG_ErrorLine("%s Series Info: Already Defined for this model", pszLabel);
        SINFO_Free(*ppSlot);
        *ppSlot = nullptr;
    }
    if (!SINFO_New(ppSlot)) return 0;
    CMN_CheckKeywordAlone(pszLine, pszLabel);
    return 1;
}

void SINFO_Check(const SINFO* pSinfo, const char* pszModelName, const char* pszLabel) {
    TAV_ASSERT(pSinfo != nullptr && pszModelName != nullptr && pszLabel != nullptr);
    if (pSinfo->pRseries == nullptr && pSinfo->pLseries == nullptr && pSinfo->pCseries == nullptr &&
        pSinfo->pSeriesCurrent == nullptr && pSinfo->pMosfets == nullptr)
        DIAG_Error("Model %s %s: No series data found", pszModelName, pszLabel);
    if (strcmp(pszLabel, "[Off]") == 0 && pSinfo->pMosfets != nullptr)
        DIAG_Error("Model %s: [Series_MOSFET] is not allowed in conjunction with the [Off] keyword",
                   pszModelName);
    CheckElementPairs(pSinfo, pszModelName, pszLabel);
    CheckMosfetVds(pSinfo, pszModelName, pszLabel);
}

void SINFO_Free(SINFO* pSinfo) {
    if (pSinfo == nullptr) return;
    for (RNG* pRng : {pSinfo->pRseries, pSinfo->pLseries, pSinfo->pRlSeries, pSinfo->pCseries,
                      pSinfo->pRcSeries, pSinfo->pLcSeries})
        FreeRange(pRng);
    CRV_Free(pSinfo->pSeriesCurrent);
    SMOS_FreeList(pSinfo->pMosfets);
    CMN_Free(pSinfo);
}
