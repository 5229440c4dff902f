// [Model Selector]: the selector's name, one row per selectable model with
// its description, and the end-of-file checks of every selector against the
// models.  State: the selector open in the read.
#define TAV_MODULE "msel"
#include "model/msel.h"

#include <cstring>

#include "model/mdl.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/name_index.h"
#include "core/document.h"
#include "core/lines.h"
#include "core/tav_assert.h"

namespace {

struct MselState {
    MSEL* pCur = nullptr;
    int eLastKeyword = KW_NOT_KEY;
};

MselState g_msel;

// The names of the document's selectors, kept beyond one selector.
NAME_INDEX<MSEL> g_mselNames;

void CheckName(MSEL* pMsel, char* pszLine) {
    char* pszRest = pszLine;
    if (!CMN_SkipKeyword(&pszRest)) pszRest = pszLine + strlen(pszLine);
    int bTooLong = 0;
    if (!CMN_ReadName(pszRest, "Model Selector", pMsel->szName, MSEL_NAME_LEN, &bTooLong)) return;
    // An overlong name is checked as it was cut.
    if (!CMN_IsNotReserved(pMsel->szName))
        DIAG_ErrorLine("Invalid Model SelectorName (\"%s\"); Reserved Word.", pMsel->szName);
    if (g_mselNames.SeenBelow(pMsel, pMsel->szName))
        DIAG_ErrorLine("Model Selector Name Previously Defined (\"%s\")", pMsel->szName);
}

// Every selector's name, an empty one included, goes into the index.
void ReadName(MSEL* pMsel, char* pszLine) {
    CheckName(pMsel, pszLine);
    g_mselNames.Take(pMsel);
}

// The description is what follows the model name and its blanks; it has
// the rest of 80 characters.
void ReadDescription(MSELMDL* pEntry, const char* pszLine) {
    const char* psz = pszLine;
    CMN_SkipWhite(&psz);
    psz += CMN_TokenLength('\0', psz);
    CMN_SkipWhite(&psz);
    const unsigned nLimit = static_cast<unsigned>(MSEL_LINE_LEN - strlen(pEntry->szName));
    if (strlen(psz) > nLimit)
        DIAG_ErrorLine("Model Descriptor string '%s' is too long, truncating to %u characters.", psz,
                       nLimit);
    CMN_StrCopy(pEntry->szDescription, psz, nLimit);
}

void Append(MSEL* pMsel, MSELMDL* pEntry) {
    bool bUsed = false;
    MSELMDL** ppTail = &pMsel->pModels;
    for (; *ppTail != nullptr; ppTail = &(*ppTail)->pNext)
        if (strcmp((*ppTail)->szName, pEntry->szName) == 0) bUsed = true;
    *ppTail = pEntry;
    if (bUsed) DIAG_ErrorLine("Model '%s'. already used in this Model Selector", pEntry->szName);
}

void ReadModelLine(MSEL* pMsel, const char* pszLine) {
    const WORDS words(pszLine, 2);
    if (!words.Split()) {
        DIAG_BugLine("Unable to Parse %s: %s %d", "Model Selector", TAV_MODULE, __LINE__);
        return;
    }
    if (words.Found() == 0) {
        DIAG_ErrorLine("'Model Selector' Keyword: Missing model name");
        return;
    }
    if (words.Found() == 1)
        DIAG_ErrorLine("Incorrect Number of Line Items (%d) For Keyword %s: Expecting %d", 1,
                       "Model Selector", 2);
    MSELMDL* pEntry = nullptr;
    if (!CMN_Alloc(&pEntry, sizeof *pEntry)) {
        DIAG_ErrorLine("Unable to create new MSEL Model.");
        return;
    }
    if (strlen(words[0]) > MSEL_NAME_LEN)
        DIAG_ErrorLine("Model Name Over %d Characters Long", static_cast<int>(MSEL_NAME_LEN));
    CMN_StrCopy(pEntry->szName, words[0], MSEL_NAME_LEN);
    if (CMN_StrEqualNoCase(pEntry->szName, "NA")) DIAG_ErrorLine("Invalid Model Name (\"NA\")");
    ReadDescription(pEntry, pszLine);
    Append(pMsel, pEntry);
}

}  // namespace

void MSEL_Reset() {
    g_msel = MselState();
    g_mselNames.Forget();
}

void MSEL_Init() {
    g_msel = MselState();
    IBIS* pIbis = nullptr;
    if (!IBIS_GetCurrent(&pIbis)) {
        DIAG_Bug("%s:%d:MSEL_Init unable to get IBIS?", TAV_MODULE, __LINE__);
        return;
    }
    MSEL* pMsel = nullptr;
    if (!CMN_Alloc(&pMsel, sizeof *pMsel)) {
        DIAG_ErrorLine("Unable to create new MSEL.");
        return;
    }
    IBIS_AddMsel(pIbis, pMsel);
    g_msel.pCur = pMsel;
}

void MSEL_HandleLine(int eLineClass, int eKeyword, char* pszLine) {
    TAV_ASSERT(pszLine != nullptr);
    MSEL* pMsel = g_msel.pCur;
    if (eLineClass == LINE_KEYWORD) {
        if (pMsel == nullptr) {
            DIAG_ErrorLine("Orphan Model Selector keyword.");
        } else if (eKeyword != KW_MODEL_SELECTOR) {
            DIAG_BugLine("%s:%d:Illegal keyword.", TAV_MODULE, __LINE__);
        } else {
            g_msel.eLastKeyword = eKeyword;
            ReadName(pMsel, pszLine);
        }
    } else if (eLineClass == LINE_DATA) {
        if (pMsel == nullptr)
            DIAG_ErrorLine("Orphan Data Line.");
        else if (g_msel.eLastKeyword != KW_MODEL_SELECTOR)
            DIAG_ErrorLine("Orphan Data line.");
        else
            ReadModelLine(pMsel, pszLine);
    } else {
        DIAG_BugLine("%s:%d:Illegal line type received.", TAV_MODULE, __LINE__);
    }
}

void MSEL_End() {
    const MSEL* pMsel = g_msel.pCur;
    g_msel = MselState();
    if (pMsel == nullptr) return;
    if (pMsel->pModels == nullptr)
        DIAG_Error("Model Selector: '%s' has no models defined", pMsel->szName);
    else if (pMsel->pModels->pNext == nullptr)
        DIAG_Warning("Model Selector: '%s' has only one model defined", pMsel->szName);
}

void MSEL_CheckAll(MSEL* pList) {
    IBIS* pIbis = nullptr;
    if (!IBIS_GetCurrent(&pIbis)) {
        DIAG_Bug("%s:%d:Unable to get IBIS?", TAV_MODULE, __LINE__);
        return;
    }
    MDL* pMdlList = nullptr;
    IBIS_GetMdlList(pIbis, &pMdlList);
    for (const MSEL* pMsel = pList; pMsel != nullptr; pMsel = pMsel->pNext) {
        MDL* pFound = nullptr;
        if (MDL_Find(pMdlList, pMsel->szName, &pFound))
            DIAG_Error("'%s' is the name of a Model and a Model Selector", pMsel->szName);
        for (const MSELMDL* pEntry = pMsel->pModels; pEntry != nullptr; pEntry = pEntry->pNext) {
            if (CMN_IsNotReserved(pEntry->szName) && !MDL_Find(pMdlList, pEntry->szName, &pFound))
                DIAG_Error("Model '%s' in Model Selector '%s' is not defined in the file",
                           pEntry->szName, pMsel->szName);
        }
    }
}

int MSEL_Find(MSEL* pList, const char* pszName) {
    TAV_ASSERT(pszName != nullptr);
    for (const MSEL* pMsel = pList; pMsel != nullptr; pMsel = pMsel->pNext)
        if (strcmp(pMsel->szName, pszName) == 0) return 1;
    return 0;
}

void MSEL_Destroy(MSEL* pList) {
    g_mselNames.Forget();
    while (pList != nullptr) {
        MSEL* pNext = pList->pNext;
        MSELMDL* pEntry = pList->pModels;
        while (pEntry != nullptr) {
            MSELMDL* pNextEntry = pEntry->pNext;
            CMN_Free(pEntry);
            pEntry = pNextEntry;
        }
        if (g_msel.pCur == pList) g_msel = MselState();
        CMN_Free(pList);
        pList = pNext;
    }
}
