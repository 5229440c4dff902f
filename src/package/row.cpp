// Rows of the package matrices: creation, placing values, widening for a
// circle-back banded matrix, the checks when a matrix closes, and release.
// Called by the matrix module only; no state of its own.
#define TAV_MODULE "row"
#include "package/row.h"

#include <cstring>
#include <new>

#include "core/cmn.h"
#include "core/diag.h"
#include "core/tav_assert.h"

namespace {

template <typename T>
int Append(std::vector<T>* pv, const T& value) {
    try {
        pv->push_back(value);
    } catch (const std::bad_alloc&) {
        DIAG_ErrorLine("Unable to add row data.");
        return 0;
    }
    return 1;
}

// Full and banded rows fill from their first slot, so the filled slots up
// to the first absent one are the held prefix.
unsigned LeadingFilled(const ROW* pRow) { return static_cast<unsigned>(pRow->vdPrefix.size()); }

bool AnyFilled(const ROW* pRow) { return !pRow->vdPrefix.empty() || !pRow->vSparse.empty(); }

}  // namespace

ROW* ROW_Create(const char* pszPin, unsigned uiColumnCount) {
    TAV_ASSERT(pszPin != nullptr);
    if (pszPin[0] == '\0')
        DIAG_ErrorLine("Unknown PIN NUMBER.");
    else if (strlen(pszPin) > ROW_PIN_LEN)
        DIAG_ErrorLine("PIN NUMBER string too long.");
    CMN_CheckReserved(pszPin);
    ROW* pRow = new (std::nothrow) ROW();
    if (pRow == nullptr) {
        DIAG_ErrorLine("Unable to add new matrix row.");
        return nullptr;
    }
    CMN_StrCopy(pRow->szPinNumber, pszPin, ROW_PIN_LEN);
    pRow->uiColumnCount = uiColumnCount;
    return pRow;
}

int ROW_AddNext(ROW* pRow, double dValue, int* pbNoSlot) {
    TAV_ASSERT(pRow != nullptr && pbNoSlot != nullptr);
    *pbNoSlot = pRow->vdPrefix.size() >= pRow->uiColumnCount;
    if (*pbNoSlot) return 0;
    if (!Append(&pRow->vdPrefix, dValue)) return 0;
    pRow->bSelfCoupled = 1;
    return 1;
}

int ROW_SetSlot(ROW* pRow, unsigned uiSlot, double dValue) {
    TAV_ASSERT(pRow != nullptr && uiSlot < pRow->uiColumnCount);
    return Append(&pRow->vSparse, ROW_ENTRY{uiSlot, dValue});
}

void ROW_Widen(ROW* pRow, unsigned uiNewColumnCount) {
    TAV_ASSERT(pRow != nullptr);
    if (pRow->uiColumnCount > uiNewColumnCount) {
        DIAG_BugLine("%s:%d:pRow->uiColumnCount > uiNewColumnCount", TAV_MODULE, __LINE__);
        return;
    }
    pRow->uiColumnCount = uiNewColumnCount;
}

void ROW_Check(ROW* pRows, int bExactCount) {
    bool bSelfCheck = true;
    for (ROW* pRow = pRows; pRow != nullptr; pRow = pRow->pNext) {
        if (bExactCount) {
            const unsigned uiFilled = LeadingFilled(pRow);
            if (uiFilled != pRow->uiColumnCount) {
                DIAG_ErrorLine("Expected %u columns of Row data for [Row] %s in Matrix ending previous to "
                               "this line, found %u column%s.",
                               pRow->uiColumnCount, pRow->szPinNumber, uiFilled, uiFilled != 1 ? "s" : "");
                bSelfCheck = false;
                continue;
            }
        } else if (!AnyFilled(pRow)) {
            DIAG_ErrorLine("Expected at least one column of Row data for [Row] %s in Matrix ending "
                           "previous to this line.",
                           pRow->szPinNumber);
            bSelfCheck = false;
            continue;
        }
        if (bSelfCheck && !pRow->bSelfCoupled)
            DIAG_ErrorLine("[Row] %s must contain a self-coupled index and entry.", pRow->szPinNumber);
    }
}

void ROW_FreeList(ROW* pRows) {
    while (pRows != nullptr) {
        ROW* pNext = pRows->pNext;
        delete pRows;
        pRows = pNext;
    }
}

int ROW_GetNext(const ROW* pRow, ROW** ppNext) {
    TAV_ASSERT(pRow != nullptr && ppNext != nullptr);
    *ppNext = pRow->pNext;
    return *ppNext != nullptr;
}

int ROW_GetPinNumber(const ROW* pRow, const char** ppszPin) {
    TAV_ASSERT(pRow != nullptr && ppszPin != nullptr);
    *ppszPin = pRow->szPinNumber;
    return pRow->szPinNumber[0] != '\0';
}

unsigned ROW_GetColumnCount(const ROW* pRow) {
    TAV_ASSERT(pRow != nullptr);
    return pRow->uiColumnCount;
}

int ROW_GetEntry(const ROW* pRow, unsigned uiSlot, double* pdValue) {
    TAV_ASSERT(pRow != nullptr && pdValue != nullptr);
    if (uiSlot < pRow->vdPrefix.size()) {
        *pdValue = pRow->vdPrefix[uiSlot];
        return 1;
    }
    for (const ROW_ENTRY& entry : pRow->vSparse) {
        if (entry.uiSlot != uiSlot) continue;
        *pdValue = entry.dValue;
        return 1;
    }
    *pdValue = 0.0;
    return 0;
}
