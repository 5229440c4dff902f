// [Series Pin Mapping]: the column headers, one row per pin pair with its
// series model and function table group, and the checks of the pairs against
// the pins and models.  State: the tail of the row list being appended to.
#define TAV_MODULE "spinmpg"
#include "component/spinmpg.h"

#include "component/cmpnt.h"
#include "component/pin.h"
#include "component/rows.h"
#include "model/mdl.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/document.h"
#include "core/tav_assert.h"

namespace {

// A [Series Pin Mapping] table: pin 1, then pin_2 and model_name, and
// optionally function_table_group.
enum { SERIES_HEADERS = 3, SERIES_WORDS = 4, SERIES_COLUMNS_SHORT = 3, SERIES_COLUMNS_LONG = 4 };

struct SpinmpgState {
    ROWTAIL<SPINMPG> tail;
};

SpinmpgState g_spinmpg;

const char* const g_apszHeaders[SERIES_HEADERS] = {"pin_2", "model_name", "function_table_group"};

// Stores one word of a row; every name here is checked for reserved words.
void ReadWord(char* pszDest, const char* pszWord, unsigned nLength, const char* pszName, SPINMPG* pRow) {
    CMN_SetString(pszDest, pszWord, nLength, pszName);
    CMN_CheckReserved(pszWord);
    ++pRow->nColumns;
}

void ReadRowWords(const WORDS& words, SPINMPG* pRow) {
    if (words[0] == nullptr)
        DIAG_ErrorLine("No Pin1 specified.");
    else
        ReadWord(pRow->szPin1, words[0], SPINMPG_PIN_LEN, "Pin1", pRow);
    if (words[1] == nullptr)
        DIAG_ErrorLine("No Pin2 specified.");
    else
        ReadWord(pRow->szPin2, words[1], SPINMPG_PIN_LEN, "Pin2", pRow);
    if (words[2] == nullptr)
        DIAG_ErrorLine("No Model specified.");
    else
        ReadWord(pRow->szModel, words[2], SPINMPG_MODEL_LEN, "Model", pRow);
    if (words[3] != nullptr) ReadWord(pRow->szGroup, words[3], SPINMPG_GROUP_LEN, "Function group Name", pRow);
}

struct SERIESCHECK {
    const char* pszCmpnt;
    const PIN_INDEX& pins;
    MDL* pMdlList;
};

// A pin joined by a series element must have a model of its own, and not
// a series one.
void CheckRowPin(const SERIESCHECK& check, const char* pszWhich, const char* pszPin) {
    const PIN* pPin = check.pins.Find(pszPin);
    if (pPin == nullptr) {
        DIAG_Error("Component '%s': [Series Pin Mapping] %s '%s' not previously declared in Pin section.",
                   check.pszCmpnt, pszWhich, pszPin);
        return;
    }
    if (pPin->szModelName[0] == '\0') {
        DIAG_Error("Component '%s': [Series Pin Mapping] %s '%s' has an unknown model.", check.pszCmpnt, pszWhich,
                   pszPin);
        return;
    }
    MDL* pMdl = nullptr;
    if (!MDL_Find(check.pMdlList, pPin->szModelName, &pMdl)) return;
    unsigned eType = MT_NOT_GIVEN;
    if (!MDL_GetModelType(pMdl, &eType))
        DIAG_Error("Component '%s': [Series Pin Mapping] %s '%s' has Model '%s' with unknown type.", check.pszCmpnt,
                   pszWhich, pszPin, pPin->szModelName);
    else if (eType == MT_SERIES || eType == MT_SERIES_SWITCH)
        DIAG_Error("Component '%s': [Series Pin Mapping] %s '%s': model type cannot be Series or Series_switch.",
                   check.pszCmpnt, pszWhich, pszPin);
}

// The row's own model must be a Series model, or a Series_switch model
// with its function_table_group.
void CheckRowModel(const SERIESCHECK& check, const SPINMPG* pRow) {
    MDL* pMdl = nullptr;
    if (!MDL_Find(check.pMdlList, pRow->szModel, &pMdl)) {
        DIAG_Error("Component '%s': [Series Pin Mapping] Model '%s' is not defined.", check.pszCmpnt, pRow->szModel);
        return;
    }
    unsigned eType = MT_NOT_GIVEN;
    bool bGroup = pRow->szGroup[0] != '\0';
    if (!MDL_GetModelType(pMdl, &eType))
        DIAG_Error("Component '%s': [Series Pin Mapping] Model '%s' is of unknown type.", check.pszCmpnt,
                   pRow->szModel);
    else if (eType == MT_SERIES && bGroup)
        DIAG_Warning("Component '%s': [Series Pin Mapping] Model '%s' is of type Series so function_table_group "
                     "'%s' is ignored.",
                     check.pszCmpnt, pRow->szModel, pRow->szGroup);
    else if (eType != MT_SERIES && eType != MT_SERIES_SWITCH)
        DIAG_Error(bGroup ? "Component '%s': [Series Pin Mapping] Model '%s' is not of type Series_Switch."
                          : "Component '%s': [Series Pin Mapping] Model '%s' is not of type Series.",
                   check.pszCmpnt, pRow->szModel);
    else if (eType == MT_SERIES_SWITCH && !bGroup)
        DIAG_Error("Component '%s': [Series Pin Mapping] Model '%s' is of type Series_Switch so "
                   "function_table_group is required.",
                   check.pszCmpnt, pRow->szModel);
}

}  // namespace

void SPINMPG_Reset() { g_spinmpg.tail.Forget(); }

void SPINMPG_Header(CMPNT* pCmpnt, const char* pszText) {
    TAV_ASSERT(pCmpnt != nullptr && pszText != nullptr);
    if (pCmpnt->nSpinMapColumns != 0) {
        DIAG_ErrorLine("Duplicate Series_Pin_Mapping keyword found.");
        SPINMPG_Destroy(pCmpnt->pSpinMapList);
        pCmpnt->pSpinMapList = nullptr;
        pCmpnt->nSpinMapColumns = 0;
    }
    pCmpnt->nSpinMapColumns = 1;  // pin 1 has no header
    if (!HeadersPresent(&pszText, "Series_Pin_Mapping")) return;
    WORDS headers(pszText, SERIES_HEADERS);
    if (headers.Found() > SERIES_HEADERS) DIAG_ErrorLine("Unknown column header after 'function_table_group'");
    pCmpnt->nSpinMapColumns =
        CountColumns(headers, "Series_Pin_Mappings", SERIES_COLUMNS_SHORT, SERIES_COLUMNS_LONG);
    CheckHeaders(headers, g_apszHeaders, SERIES_HEADERS, 2);
}

// One [Series Pin Mapping] row.  Returns 0 only when the row could not be
// allocated.
int SPINMPG_AddRow(const char* pszRow, CMPNT* pCmpnt) {
    TAV_ASSERT(pszRow != nullptr && pCmpnt != nullptr);
    SPINMPG* pRow = nullptr;
    if (!CMN_Alloc(&pRow, sizeof(SPINMPG))) {
        DIAG_ErrorLine("Unable to alloc new Series_Pin_Mapping.");
        return 0;
    }
    WORDS words(pszRow, SERIES_WORDS);
    if (words.Found() > SERIES_WORDS) DIAG_ErrorLine("Extra data columns on this line.");
    ReadRowWords(words, pRow);
    if (pRow->nColumns != SERIES_COLUMNS_SHORT && pRow->nColumns != SERIES_COLUMNS_LONG)
        DIAG_ErrorLine(" [Series Pin Mapping] Data lines must contain either 3 or 4 columns.");
    else if (pRow->nColumns == SERIES_COLUMNS_LONG && pCmpnt->nSpinMapColumns == SERIES_COLUMNS_SHORT)
        DIAG_ErrorLine("[Series Pin Mapping] When 4 columns are specified, the heading 'function_table_group' "
                       "must be used.");
    g_spinmpg.tail.Append(&pCmpnt->pSpinMapList, pRow);
    return 1;
}

// End-of-file checks of one component's series pins against its pins and
// the models of the document.
void SPINMPG_CheckList(SPINMPG* pList, PIN* pPinList, const char* pszCmpntName) {
    TAV_ASSERT(pszCmpntName != nullptr);
    IBIS* pIbis = nullptr;
    if (!IBIS_GetCurrent(&pIbis)) {
        DIAG_Bug("%s:%d:Unable to get IBIS?", TAV_MODULE, __LINE__);
        return;
    }
    if (pPinList == nullptr) {
        DIAG_Error("Component '%s': [Series Pin Mapping] defined but [Pins] not defined.", pszCmpntName);
        return;
    }
    PIN_INDEX pins(pPinList);
    SERIESCHECK check{pszCmpntName, pins, nullptr};
    IBIS_GetMdlList(pIbis, &check.pMdlList);
    for (SPINMPG* pRow = pList; pRow != nullptr; pRow = pRow->pNext) {
        CheckRowPin(check, "Pin1", pRow->szPin1);
        CheckRowPin(check, "Pin2", pRow->szPin2);
        CheckRowModel(check, pRow);
    }
}

void SPINMPG_Destroy(SPINMPG* pList) {
    g_spinmpg.tail.Forget();
    while (pList != nullptr) {
        SPINMPG* pNext = pList->pNext;
        CMN_Free(pList);
        pList = pNext;
    }
}

// Accessors: 0 only for a null row.
int SPINMPG_GetPin1(const SPINMPG* pRow, const char** ppsz) {
    TAV_ASSERT(ppsz != nullptr);
    if (pRow == nullptr) return 0;
    *ppsz = pRow->szPin1;
    return 1;
}

int SPINMPG_GetPin2(const SPINMPG* pRow, const char** ppsz) {
    TAV_ASSERT(ppsz != nullptr);
    if (pRow == nullptr) return 0;
    *ppsz = pRow->szPin2;
    return 1;
}

int SPINMPG_GetModel(const SPINMPG* pRow, const char** ppsz) {
    TAV_ASSERT(ppsz != nullptr);
    if (pRow == nullptr) return 0;
    *ppsz = pRow->szModel;
    return 1;
}
