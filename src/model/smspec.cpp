// [Submodel Spec]: the trigger voltages and delays of a submodel as
// typ/min/max triples.  Stateless; called by the submodel module.
#define TAV_MODULE "smspec"
#include "model/smspec.h"

#include <cstring>

#include "model/crv.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/rng.h"
#include "core/tav_assert.h"

namespace {

struct SpecSub {
    const char* pszName;
    RNG* SMSPEC::*pField;
};

const SpecSub g_aSubs[] = {
    {"V_trigger_r", &SMSPEC::pVtriggerR},
    {"V_trigger_f", &SMSPEC::pVtriggerF},
    {"Off_delay", &SMSPEC::pOffDelay},
};

const SpecSub* LookupSub(const char* pszLine, size_t* pnLength) {
    size_t n = CMN_TokenLength('=', pszLine);
    *pnLength = n;
    for (const SpecSub& sub : g_aSubs)
        if (strlen(sub.pszName) == n && strncmp(sub.pszName, pszLine, n) == 0) return &sub;
    return nullptr;
}

}  // namespace

int SMSPEC_Begin(char* pszLine, SMSPEC** ppSlot) {
    TAV_ASSERT(pszLine != nullptr && ppSlot != nullptr);
    if (*ppSlot != nullptr) {
        DIAG_ErrorLine("Sub Model Specification: Already Defined for this sub model");
        SMSPEC_Free(*ppSlot);
        *ppSlot = nullptr;
    }
    if (!CMN_Alloc(ppSlot, sizeof **ppSlot)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return 0;
    }
    CMN_CheckKeywordAlone(pszLine, "Submodel Spec");
    return 1;
}

// An unknown word is the file's fault, reported like any other line.
void SMSPEC_Line(const char* pszLine, SMSPEC* pSpec, const char* pszSubmodelName) {
    TAV_ASSERT(pszLine != nullptr && pszSubmodelName != nullptr);
    if (pSpec == nullptr) return;  // [Submodel Spec] itself could not be made
    size_t nLength = 0;
    const SpecSub* pSub = LookupSub(pszLine, &nLength);
    if (pSub == nullptr) {
        DIAG_ErrorLine("Unknown Line Among Submodel Spec Data");
        return;
    }
    RNG*& pField = pSpec->*(pSub->pField);
    if (pField != nullptr) {
        DIAG_ErrorLine("%s Already Defined For Submodel '%s'", pSub->pszName, pszSubmodelName);
        return;
    }
    RNG_Parse(pszLine + nLength, pSub->pszName, &pField);
    if (pField != nullptr && pField->eTypState == VALUE_NA)
        DIAG_ErrorLine("'NA' not allowed for Typical value");
}

void SMSPEC_Free(SMSPEC* pSpec) {
    if (pSpec == nullptr) return;
    for (const SpecSub& sub : g_aSubs)
        if (pSpec->*(sub.pField) != nullptr) RNG_Free(pSpec->*(sub.pField));
    CMN_Free(pSpec);
}
