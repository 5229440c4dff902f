// [Driver Schedule]: one row per scheduled model with its delays, the
// checks of the names, and the end-of-file checks of every schedule against
// the models it names.  Stateless; called by the model module and the
// end-of-file step.
#define TAV_MODULE "drvsh"
#include "model/drvsh.h"

#include <cstring>

#include "model/crv.h"
#include "model/dly.h"
#include "model/mdl.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/tav_assert.h"

namespace {

// A schedule line: the model name and at most four delays.
enum { SCHEDULE_DELAYS = 4, SCHEDULE_WORDS = 1 + SCHEDULE_DELAYS };

void CheckName(const DSMDL* pEntry, const char* pszModelName) {
    const char* pszName = pEntry->szName;
    if (strcmp(pszName, pszModelName) == 0)
        DIAG_ErrorLine("Model Name in Driver Schedule is the same as enclosing Model (\"%s\")",
                       pszName);
    else if (!CMN_IsNotReserved(pszName))
        DIAG_ErrorLine("Invalid Model Name in Driver Schedule (\"%s\"); Reserved Word.", pszName);
    for (const DSMDL* pOlder = pEntry->pNext; pOlder != nullptr; pOlder = pOlder->pNext) {
        if (strcmp(pOlder->szName, pszName) == 0) {
            DIAG_ErrorLine("Model Name (\"%s\") previously used in this Driver Schedule", pszName);
            break;
        }
    }
}

void ReportDelayCount(int nDelays, const char* pszName) {
    switch (nDelays) {
        case 1: DIAG_ErrorLine("No %s Value Was Provided for %s", "Rise_off_dly", pszName); break;
        case 2: DIAG_ErrorLine("No %s Value Was Provided for %s", "Fall_on_dly", pszName); break;
        case 3: DIAG_ErrorLine("No %s Value Was Provided for %s", "Fall_off_dly", pszName); break;
        case SCHEDULE_DELAYS: break;
        default:
            DIAG_ErrorLine("Incorrect Number of Line Items (%d) For %s: Expecting %d", nDelays,
                           pszName, SCHEDULE_DELAYS);
            break;
    }
}

bool IsDriverType(unsigned eType) {
    return eType != MT_INPUT && eType != MT_INPUT_ECL && eType != MT_TERMINATOR &&
           eType != MT_SERIES && eType != MT_SERIES_SWITCH;
}

// A scheduled model must exist, drive, and not schedule others itself.
void CheckEntry(MDL* pMdlList, const DSMDL* pEntry, const char* pszModelName) {
    MDL* pScheduled = nullptr;
    if (!MDL_Find(pMdlList, pEntry->szName, &pScheduled)) {
        DIAG_Error("Model %s used in the Driver Schedule of Model %s is not defined", pEntry->szName,
                   pszModelName);
        return;
    }
    if (pScheduled->pDrvSched != nullptr)
        DIAG_Error("Model %s used in the Driver Schedule of Model %s cannot itself have a Driver Schedule",
                   pEntry->szName, pszModelName);
    if (!IsDriverType(pScheduled->eModelType))
        DIAG_Error("Model %s used in the Driver Schedule of Model %s should be an output model",
                   pEntry->szName, pszModelName);
}

}  // namespace

int DRVSH_Begin(char* pszLine, DRVSH** ppSlot) {
    TAV_ASSERT(pszLine != nullptr && ppSlot != nullptr);
    if (*ppSlot != nullptr) {
        DIAG_ErrorLine("Driver Schedule: Already Defined for this model");
        DRVSH_Free(*ppSlot);
        *ppSlot = nullptr;
    }
    DRVSH* pSched = nullptr;
    if (!CMN_Alloc(&pSched, sizeof *pSched)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return 0;
    }
    *ppSlot = pSched;
    CMN_CheckKeywordAlone(pszLine, "Driver Schedule");
    return 1;
}

void DRVSH_Line(const char* pszLine, DRVSH* pSched, const char* pszModelName) {
    TAV_ASSERT(pszLine != nullptr && pszModelName != nullptr);
    if (pSched == nullptr) return;  // the schedule itself could not be made
    DSMDL* pEntry = nullptr;
    if (!CMN_Alloc(&pEntry, sizeof *pEntry)) {
        DIAG_ErrorLine("Unable to create new Driver Schedule Model.");
        return;
    }
    pEntry->pNext = pSched->pModels;
    pSched->pModels = pEntry;

    const WORDS words(pszLine, SCHEDULE_WORDS);
    if (!words.Split()) {
        DIAG_BugLine("Unable to Parse %s: %s %d", "Driver Schedule", TAV_MODULE, __LINE__);
        return;
    }
    if (words.Found() == 0) {
        DIAG_ErrorLine("'Driver Schedule' Missing model Name");
        return;
    }
    if (strlen(words[0]) > DSMDL_NAME_LEN)
        DIAG_ErrorLine("Model Name Over %d Characters Long", static_cast<int>(DSMDL_NAME_LEN));
    CMN_StrCopy(pEntry->szName, words[0], DSMDL_NAME_LEN);
    CheckName(pEntry, pszModelName);
    ReportDelayCount(words.Found() - 1, pEntry->szName);
    pEntry->pDelays = DLY_Read(words, 1);
}

void DRVSH_End(const DRVSH* pSched, const char* pszModelName) {
    TAV_ASSERT(pszModelName != nullptr);
    if (pSched == nullptr) return;
    if (pSched->pModels == nullptr)
        DIAG_Error("Model '%s': The [Driver_Schedule] has no models defined", pszModelName);
    else if (pSched->pModels->pNext == nullptr)
        DIAG_Warning("Model '%s': The [Driver_Schedule] has only one model defined", pszModelName);
}

void DRVSH_Free(DRVSH* pSched) {
    if (pSched == nullptr) return;
    DSMDL* pEntry = pSched->pModels;
    while (pEntry != nullptr) {
        DSMDL* pNext = pEntry->pNext;
        DLY_Free(pEntry->pDelays);
        CMN_Free(pEntry);
        pEntry = pNext;
    }
    CMN_Free(pSched);
}

void DRVSH_CheckAll(MDL* pMdlList) {
    for (const MDL* pMdl = pMdlList; pMdl != nullptr; pMdl = pMdl->pNext) {
        if (pMdl->pDrvSched == nullptr) continue;
        for (const DSMDL* pEntry = pMdl->pDrvSched->pModels; pEntry != nullptr; pEntry = pEntry->pNext)
            CheckEntry(pMdlList, pEntry, pMdl->szName);
    }
}
