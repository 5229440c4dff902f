// [Series MOSFET]: one table per Vds line, read through the table module,
// and the check that every table has its Vds.  State: whether the next line
// must be a Vds line, and the line of the open keyword.
#define TAV_MODULE "smos"
#include "model/smos.h"

#include <cstring>

#include "model/crv.h"
#include "model/mdl.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/lines.h"
#include "core/tav_assert.h"

namespace {

enum { SMOS_MAX_ENTRIES = 100 };

struct SmosState {
    SMOS* pCur = nullptr;
    unsigned long ulKeywordLine = 0;
    bool bVdsLineNext = false;
};

SmosState g_smos;

// "Vds = number"; Vds stays unset when the line cannot be read.
void ReadVds(SMOS* pEntry, const char* pszLine) {
    const size_t n = CMN_TokenLength('=', pszLine);
    if (n != 3 || strncmp(pszLine, "Vds", 3) != 0) {
        DIAG_ErrorLine("Unknown data line in Series_MOSFET");
        return;
    }
    double dVds = 0.0;
    if (CMN_ReadNameValue(pszLine, {"Invalid Vds Line", "Vds", "Vds", nullptr}, &dVds) == 0) return;
    if (CMN_Alloc(&pEntry->pdVds, sizeof *pEntry->pdVds))
        *pEntry->pdVds = dVds;
    else
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
}

}  // namespace

void SMOS_Reset() { g_smos = SmosState(); }

int SMOS_Begin(char* pszLine, SMOS** ppList, SMOS** ppEntry) {
    TAV_ASSERT(pszLine != nullptr && ppList != nullptr && ppEntry != nullptr);
    g_smos = SmosState();
    *ppEntry = nullptr;
    int nBefore = 0;
    SMOS** ppTail = ppList;
    for (; *ppTail != nullptr; ppTail = &(*ppTail)->pNext) ++nBefore;
    SMOS* pEntry = nullptr;
    if (!CMN_Alloc(&pEntry, sizeof *pEntry)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return 0;
    }
    *ppTail = pEntry;
    *ppEntry = pEntry;
    if (nBefore >= SMOS_MAX_ENTRIES) DIAG_ErrorLine("More than 100 [Series_MOSFET]s are defined");
    CMN_CheckKeywordAlone(pszLine, "[Series_MOSFET]");
    g_smos.pCur = pEntry;
    g_smos.ulKeywordLine = PARSE_GetLineNumber();
    g_smos.bVdsLineNext = true;
    return 1;
}

void SMOS_Line(const char* pszLine) {
    TAV_ASSERT(pszLine != nullptr);
    SMOS* pEntry = g_smos.pCur;
    if (pEntry == nullptr) return;  // the entry itself could not be made
    if (g_smos.bVdsLineNext) {
        g_smos.bVdsLineNext = false;
        ReadVds(pEntry, pszLine);
    } else {
        CRV_AddRow(pszLine, pEntry->pTable, "Series_MOSFET");
    }
}

void SMOS_End(const MDL* pMdl, int eKeyword) {
    TAV_ASSERT(pMdl != nullptr);
    SMOS* pEntry = g_smos.pCur;
    const int nLine = static_cast<int>(g_smos.ulKeywordLine);
    g_smos = SmosState();
    if (pEntry == nullptr) return;
    if (pEntry->pdVds == nullptr)
        DIAG_Error("Model %s: Vds not specified for [Series MOSFET] defined on line %d", pMdl->szName,
                   nLine);
    else if (*pEntry->pdVds < 0)
        DIAG_Error("Model %s: Vds should be >= 0 for [Series MOSFET] defined on line %d", pMdl->szName,
                   nLine);
    if (pEntry->pTable != nullptr)
        CRV_End(pMdl->szName, pMdl->eModelType, eKeyword, &pEntry->pTable, "Series_MOSFET", "Model");
}

void SMOS_FreeList(SMOS* pList) {
    while (pList != nullptr) {
        SMOS* pNext = pList->pNext;
        if (pList->pdVds != nullptr) CMN_Free(pList->pdVds);
        CRV_Free(pList->pTable);
        if (g_smos.pCur == pList) g_smos = SmosState();
        CMN_Free(pList);
        pList = pNext;
    }
}
