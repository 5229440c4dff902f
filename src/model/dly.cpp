// The four delays of a [Driver Schedule] row (Rise_on_dly, Rise_off_dly,
// Fall_on_dly, Fall_off_dly), read as numbers or "NA" and checked for sign.
// Stateless.
#define TAV_MODULE "dly"
#include "model/dly.h"

#include "core/cmn.h"
#include "core/diag.h"
#include "core/tav_assert.h"

namespace {

const char* const g_apszDelay[DLY_COUNT] = {"Rise_on_dly", "Rise_off_dly", "Fall_on_dly",
                                            "Fall_off_dly"};

bool IsNumber(const DLY* pDly, int eDelay) { return pDly->aeState[eDelay] == VALUE_NUMBER; }

// A driver switching on at one edge cannot also switch off at the other.
void CheckDelays(const DLY* pDly) {
    int nNumbers = 0;
    for (int eDelay = 0; eDelay < DLY_COUNT; ++eDelay)
        if (IsNumber(pDly, eDelay)) ++nNumbers;
    if (nNumbers < 2) {
        DIAG_ErrorLine("At least two delays must be specified");
        return;
    }
    if (IsNumber(pDly, DLY_RISE_ON) && IsNumber(pDly, DLY_FALL_OFF))
        DIAG_ErrorLine("%s and %s cannot be specified together", "Rise_on_dly", "Fall_off_delay");
    if (IsNumber(pDly, DLY_RISE_OFF) && IsNumber(pDly, DLY_FALL_ON))
        DIAG_ErrorLine("%s and %s cannot be specified together", "Rise_off_dly", "Fall_on_delay");
    for (int eDelay = 0; eDelay < DLY_COUNT; ++eDelay)
        if (IsNumber(pDly, eDelay) && pDly->adDelay[eDelay] < 0)
            DIAG_ErrorLine("%s is less than zero", g_apszDelay[eDelay]);
}

}  // namespace

DLY* DLY_Read(const WORDS& words, int iFirst) {
    TAV_ASSERT(iFirst >= 0);
    DLY* pDly = nullptr;
    if (!CMN_Alloc(&pDly, sizeof *pDly)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return nullptr;
    }
    bool bAllRead = true;
    for (int eDelay = 0; eDelay < DLY_COUNT; ++eDelay) {
        const int iWord = iFirst + eDelay;
        const char* pszWord = words[iWord];
        if (!CMN_ParseValue(pszWord, "Driver Schedule", g_apszDelay[eDelay], &pDly->adDelay[eDelay],
                            &pDly->aeState[eDelay]))
            bAllRead = false;
    }
    if (bAllRead) CheckDelays(pDly);
    return pDly;
}

void DLY_Free(DLY* pDly) {
    if (pDly != nullptr) CMN_Free(pDly);
}
