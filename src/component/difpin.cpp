// [Diff Pin]: the column headers, one row per differential pair with its
// inverting pin, vdiff and tdelay values, and the checks of the pairs against
// the component's pins.  State: the tail of the row list being appended to.
#define TAV_MODULE "difpin"
#include "component/difpin.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "component/cmpnt.h"
#include "component/pin.h"
#include "component/rows.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/tav_assert.h"

namespace {

// A [Diff Pin] table: the pin, then inv_pin, vdiff and tdelay_typ, and
// optionally tdelay_min and tdelay_max.
enum { DIFF_WORDS = 6, DIFF_COLUMNS_SHORT = 4, DIFF_COLUMNS_LONG = 6 };

struct DifpinState {
    ROWTAIL<DIFPIN> tail;
};

DifpinState g_difpin;

const char* const g_apszHeaders[] = {"inv_pin", "vdiff", "tdelay_typ", "tdelay_min", "tdelay_max"};
const int g_nHeaders = static_cast<int>(sizeof g_apszHeaders / sizeof g_apszHeaders[0]);

void ReadPins(const WORDS& words, DIFPIN* pRow) {
    if (words[0] == nullptr) {
        DIAG_ErrorLine("No Diff_Pin column entry.");
    } else {
        CMN_SetString(pRow->szDiffPin, words[0], DIFPIN_PIN_LEN, "Diff_Pin column");
        CMN_CheckReserved(words[0]);
        ++pRow->nColumns;
    }
    if (words[1] == nullptr) {
        DIAG_ErrorLine("No inv_pin column entry.");
    } else {
        CMN_SetString(pRow->szInvPin, words[1], DIFPIN_PIN_LEN, "inv_pin column");
        CMN_CheckReserved(words[1]);
        ++pRow->nColumns;
    }
    if (words[0] != nullptr && words[1] != nullptr && strcmp(pRow->szDiffPin, pRow->szInvPin) == 0)
        DIAG_ErrorLine("Diff_Pin column pin same as inv_pin column pin.");
}

// Reads one value column; "NA" is kept as its state for the replacement.
void ReadValue(const char* pszWord, const char* pszColumn, DIFPIN* pRow, double* pdValue, unsigned* peState) {
    if (pszWord == nullptr) return;
    ++pRow->nColumns;
    int bNA = 0;
    switch (CMN_GetValueOrNA(pszWord, pdValue, &bNA)) {
        case 0:
            DIAG_ErrorLine("Bad value for %s column.", pszColumn);
            *peState = VALUE_ABSENT;
            break;
        case 1:
            *peState = bNA ? VALUE_NA : VALUE_NUMBER;
            break;
        case 2:
            DIAG_WarningLine("Suspicious value for %s column.", pszColumn);
            *peState = VALUE_NUMBER;
            break;
        default:
            DIAG_BugLine("Unknown value returned by CMN_GetValueOrNA(). %s %d", TAV_MODULE, __LINE__);
            break;
    }
}

void ReadValues(const WORDS& words, DIFPIN* pRow) {
    if (words[2] == nullptr) DIAG_ErrorLine("No vdiff column entry.");
    ReadValue(words[2], "vdiff", pRow, &pRow->dVdiff, &pRow->eVdiffState);
    if (words[3] == nullptr) DIAG_ErrorLine("No tdelay_typ column entry.");
    ReadValue(words[3], "tdelay_typ", pRow, &pRow->dTdelayTyp, &pRow->eTdelayTypState);
    ReadValue(words[4], "tdelay_min", pRow, &pRow->dTdelayMin, &pRow->eTdelayMinState);
    ReadValue(words[5], "tdelay_max", pRow, &pRow->dTdelayMax, &pRow->eTdelayMaxState);
}

void ReplaceNA(double* pdValue, unsigned* peState, double dBy) {
    if (*peState != VALUE_NA) return;
    *pdValue = dBy;
    *peState = VALUE_NUMBER;
}

// "NA" stands for no threshold and no delay; a missing maximum delay
// takes the typical one.
void ReplaceNAs(DIFPIN* pRow) {
    ReplaceNA(&pRow->dVdiff, &pRow->eVdiffState, 0.0);
    ReplaceNA(&pRow->dTdelayTyp, &pRow->eTdelayTypState, 0.0);
    ReplaceNA(&pRow->dTdelayMin, &pRow->eTdelayMinState, 0.0);
    ReplaceNA(&pRow->dTdelayMax, &pRow->eTdelayMaxState, pRow->dTdelayTyp);
}

void CheckDelayOrder(const DIFPIN* pRow) {
    if (pRow->eTdelayTypState != VALUE_NUMBER || pRow->eTdelayMinState != VALUE_NUMBER ||
        pRow->eTdelayMaxState != VALUE_NUMBER)
        return;
    double dTyp = pRow->dTdelayTyp;
    bool bBelowBoth = dTyp < pRow->dTdelayMin && dTyp < pRow->dTdelayMax;
    bool bAboveBoth = dTyp > pRow->dTdelayMin && dTyp > pRow->dTdelayMax;
    if (bBelowBoth || bAboveBoth) DIAG_WarningLine("Typ value is not in between min and max ");
}

void CheckDeclared(DIFPIN* pList, PIN* pPinList, const char* pszCmpnt) {
    PIN_INDEX pins(pPinList);
    for (DIFPIN* pRow = pList; pRow != nullptr; pRow = pRow->pNext) {
        if (pins.Find(pRow->szDiffPin) == nullptr)
            DIAG_Error("Component '%s': Diff_Pin '%s' not previously declared in Pin section.", pszCmpnt,
                       pRow->szDiffPin);
        if (pins.Find(pRow->szInvPin) == nullptr)
            DIAG_Error("Component '%s': inv_pin '%s' not previously declared in Pin section.", pszCmpnt,
                       pRow->szInvPin);
    }
}

// Where each name stands among the rows: the positions of the rows that
// have it as their pin and as their inverting pin, ascending.
class NAME_POSITIONS {
public:
    explicit NAME_POSITIONS(const std::vector<const DIFPIN*>& rows) {
        for (size_t i = 0; i < rows.size(); ++i) {
            m_mapAsPin[rows[i]->szDiffPin].push_back(i);
            m_mapAsInv[rows[i]->szInvPin].push_back(i);
        }
    }

    // Positions after nRow of rows that share a name with the given row
    // in any of the four pairings, ascending and each once.
    std::vector<size_t> LaterSharing(size_t nRow, const DIFPIN* pRow) const {
        std::vector<size_t> later;
        AddLater(m_mapAsPin, pRow->szDiffPin, nRow, &later);
        AddLater(m_mapAsInv, pRow->szDiffPin, nRow, &later);
        AddLater(m_mapAsPin, pRow->szInvPin, nRow, &later);
        AddLater(m_mapAsInv, pRow->szInvPin, nRow, &later);
        std::sort(later.begin(), later.end());
        later.erase(std::unique(later.begin(), later.end()), later.end());
        return later;
    }

private:
    using POSITIONS = std::unordered_map<std::string, std::vector<size_t>>;

    static void AddLater(const POSITIONS& map, const char* pszName, size_t nRow, std::vector<size_t>* pOut) {
        auto it = map.find(pszName);
        if (it == map.end()) return;
        auto first = std::upper_bound(it->second.begin(), it->second.end(), nRow);
        pOut->insert(pOut->end(), first, it->second.end());
    }

    POSITIONS m_mapAsPin;
    POSITIONS m_mapAsInv;
};

// Row r against a later row s.  Every message names s's pin.
void ComparePair(const DIFPIN* pR, const DIFPIN* pS, const char* pszCmpnt) {
    if (strcmp(pR->szDiffPin, pS->szDiffPin) == 0)
        DIAG_Error("Component '%s': Diff_Pin '%s' is not unique.", pszCmpnt, pS->szDiffPin);
    if (strcmp(pR->szDiffPin, pS->szInvPin) == 0)
        DIAG_Error("Component '%s': Inv_pin '%s' already in use as a Diff_pin.", pszCmpnt, pS->szDiffPin);
    if (strcmp(pR->szInvPin, pS->szDiffPin) == 0)
        DIAG_Error("Component '%s': Diff_pin '%s' already in use as an inv_pin.", pszCmpnt, pS->szDiffPin);
    if (strcmp(pR->szInvPin, pS->szInvPin) == 0)
        DIAG_Error("Component '%s': inv_pin '%s' is not unique.", pszCmpnt, pS->szDiffPin);
}

// Each row against every later row, in row order; only the rows sharing a
// name can draw a message, so only those are compared.
void CheckUnique(DIFPIN* pList, const char* pszCmpnt) {
    std::vector<const DIFPIN*> rows;
    for (const DIFPIN* pRow = pList; pRow != nullptr; pRow = pRow->pNext) rows.push_back(pRow);
    NAME_POSITIONS positions(rows);
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t s : positions.LaterSharing(r, rows[r])) ComparePair(rows[r], rows[s], pszCmpnt);
}

}  // namespace

void DIFPIN_Reset() { g_difpin.tail.Forget(); }

void DIFPIN_Header(CMPNT* pCmpnt, const char* pszText) {
    TAV_ASSERT(pCmpnt != nullptr && pszText != nullptr);
    if (pCmpnt->nDiffPinColumns != 0) {
        DIAG_ErrorLine("Duplicate Diff_Pin keyword found.");
        return;
    }
    pCmpnt->nDiffPinColumns = 1;  // the pin has no header
    if (!HeadersPresent(&pszText, "Diff_Pins")) return;
    WORDS headers(pszText, DIFF_WORDS);
    pCmpnt->nDiffPinColumns = CountColumns(headers, "Diff_Pins", DIFF_COLUMNS_SHORT, DIFF_COLUMNS_LONG);
    CheckHeaders(headers, g_apszHeaders, g_nHeaders, 1);
}

// One [Diff Pin] row.  Returns 0 only when the row could not be allocated.
int DIFPIN_AddRow(const char* pszRow, CMPNT* pCmpnt) {
    TAV_ASSERT(pszRow != nullptr && pCmpnt != nullptr);
    DIFPIN* pRow = nullptr;
    if (!CMN_Alloc(&pRow, sizeof(DIFPIN))) {
        DIAG_ErrorLine("Unable to alloc DIFPIN.");
        return 0;
    }
    WORDS words(pszRow, DIFF_WORDS);
    if (words.Found() > DIFF_WORDS) DIAG_ErrorLine("Too many Diff Pin data columns.");
    ReadPins(words, pRow);
    ReadValues(words, pRow);
    ReplaceNAs(pRow);
    CheckDelayOrder(pRow);
    if (pRow->nColumns != DIFF_COLUMNS_SHORT && pRow->nColumns != DIFF_COLUMNS_LONG)
        DIAG_ErrorLine("Diff_Pin data line column count must be 4 or 6.");
    else if (pRow->nColumns == DIFF_COLUMNS_LONG && pCmpnt->nDiffPinColumns == DIFF_COLUMNS_SHORT)
        DIAG_ErrorLine("When using 6 columns, the tdelay_min and tdelay_max headers must be used.");
    g_difpin.tail.Append(&pCmpnt->pDiffPinList, pRow);
    return 1;
}

// End-of-file checks of one component's differential pins.
void DIFPIN_CheckList(DIFPIN* pList, PIN* pPinList, const char* pszCmpntName) {
    TAV_ASSERT(pszCmpntName != nullptr);
    if (pPinList != nullptr) CheckDeclared(pList, pPinList, pszCmpntName);
    CheckUnique(pList, pszCmpntName);
}

void DIFPIN_Destroy(DIFPIN* pList) {
    g_difpin.tail.Forget();
    while (pList != nullptr) {
        DIFPIN* pNext = pList->pNext;
        CMN_Free(pList);
        pList = pNext;
    }
}

int DIFPIN_GetPin(const DIFPIN* pRow, const char** ppsz) { return CMN_GIVE_TEXT(CMN_RECORD(pRow).szDiffPin, ppsz); }
int DIFPIN_GetInvPin(const DIFPIN* pRow, const char** ppsz) { return CMN_GIVE_TEXT(CMN_RECORD(pRow).szInvPin, ppsz); }

int DIFPIN_GetVdiff(const DIFPIN* pRow, double* pd) {
    const DIFPIN& row = CMN_RECORD(pRow);
    return CMN_GIVE_VALUE(row.dVdiff, row.eVdiffState, pd);
}

int DIFPIN_GetTdelayTyp(const DIFPIN* pRow, double* pd) {
    const DIFPIN& row = CMN_RECORD(pRow);
    return CMN_GIVE_VALUE(row.dTdelayTyp, row.eTdelayTypState, pd);
}

int DIFPIN_GetTdelayMin(const DIFPIN* pRow, double* pd) {
    const DIFPIN& row = CMN_RECORD(pRow);
    return CMN_GIVE_VALUE(row.dTdelayMin, row.eTdelayMinState, pd);
}

int DIFPIN_GetTdelayMax(const DIFPIN* pRow, double* pd) {
    const DIFPIN& row = CMN_RECORD(pRow);
    return CMN_GIVE_VALUE(row.dTdelayMax, row.eTdelayMaxState, pd);
}

int DIFPIN_GetColumns(const DIFPIN* pRow, int* pn) {
    TAV_ASSERT(pn != nullptr);
    *pn = CMN_RECORD(pRow).nColumns;
    return 1;
}

int DIFPIN_GetNext(const DIFPIN* pRow, DIFPIN** ppNext) {
    TAV_ASSERT(ppNext != nullptr);
    *ppNext = CMN_RECORD(pRow).pNext;
    return *ppNext != nullptr;
}
