// Table rows: a leading value (voltage or time) and a typ/min/max triple,
// read from one line and kept in file order in a doubly linked list.
// State: the store the rows come from.  Called by the table, waveform and
// package modules.
#define TAV_MODULE "rng"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/rng.h"
#include "core/tav_assert.h"
#include "platform/platform.h"

#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define ROW_POISON(p) ASAN_POISON_MEMORY_REGION((p), sizeof(RNGP))
#define ROW_UNPOISON(p) ASAN_UNPOISON_MEMORY_REGION((p), sizeof(RNGP))
#else
#define ROW_POISON(p) ((void)(p))
#define ROW_UNPOISON(p) ((void)(p))
#endif

namespace {

enum { ROW_WORDS = 4 };
const size_t ROWS_IN_FIRST_BLOCK = 4096;
const size_t ROWS_PER_LARGE_BLOCK = PLAT_LARGE_UNIT / sizeof(RNGP);

// Rows are the most numerous records of a read, one per table line: they
// come from blocks of rows instead of one allocation each, and freed rows
// wait on a free list for the next table.  The first block is small, for
// the many small files; the others are large blocks of the platform,
// which fill with far fewer page faults.  The blocks go back when the last
// row is freed, which the end of every document brings.  A freed row is
// poisoned for the address sanitizer, so a use after free is still caught.
struct RowStore {
    std::vector<RNGP*> blocks;
    size_t nUsedInLast = 0;
    size_t nInLast = 0;
    RNGP* pFree = nullptr;
    size_t nLive = 0;
};

RowStore g_rows;

bool AddBlock() {
    const bool bFirst = g_rows.blocks.empty();
    RNGP* pBlock = nullptr;
    if (bFirst ? !CMN_Alloc(&pBlock, ROWS_IN_FIRST_BLOCK * sizeof(RNGP))
               : (pBlock = static_cast<RNGP*>(PLAT_AllocLarge())) == nullptr)
        return false;
    g_rows.blocks.push_back(pBlock);
    g_rows.nInLast = bFirst ? ROWS_IN_FIRST_BLOCK : ROWS_PER_LARGE_BLOCK;
    g_rows.nUsedInLast = 0;
    return true;
}

void FreeBlocks() {
    for (size_t i = 0; i < g_rows.blocks.size(); ++i) {
        if (i == 0) CMN_Free(g_rows.blocks[i]);
        else PLAT_FreeLarge(g_rows.blocks[i]);
    }
}

RNGP* TakeRow() {
    RNGP* pRow = g_rows.pFree;
    if (pRow != nullptr) {
        ROW_UNPOISON(pRow);
        g_rows.pFree = pRow->pNext;
    } else {
        if (g_rows.nUsedInLast == g_rows.nInLast && !AddBlock()) return nullptr;
        pRow = g_rows.blocks.back() + g_rows.nUsedInLast++;
    }
    ++g_rows.nLive;
    return pRow;
}

void GiveBackRow(RNGP* pRow) {
    TAV_ASSERT(g_rows.nLive > 0);
    pRow->pNext = g_rows.pFree;
    g_rows.pFree = pRow;
    ROW_POISON(pRow);
    if (--g_rows.nLive > 0) return;
    FreeBlocks();
    g_rows = RowStore();
}

// Names of the corners that are missing when a row stops after word i + 1.
const char* const g_apszMissing[ROW_WORDS - 1] = {"typical", "minimum", "maximum"};

// A row of one to three words names each corner it lacks; any other count
// that is not four draws one count error.  The read goes on in every case.
void CheckWordCount(int nFound, const char* pszQuantity) {
    if (nFound >= 1 && nFound < ROW_WORDS) {
        for (int i = nFound; i < ROW_WORDS; ++i)
            DIAG_ErrorLine("No %s Value Was Provided for %s", g_apszMissing[i - 1], pszQuantity);
    } else if (nFound != ROW_WORDS) {
        DIAG_ErrorLine("Incorrect Number of Line Items (%d) For %s: Expecting %d", nFound,
                       pszQuantity, ROW_WORDS);
    }
}

int GetIfNumber(double dValue, unsigned eState, double* pd) {
    if (eState != VALUE_NUMBER) return 0;
    *pd = dValue;
    return 1;
}

// An optional corner of a row built from numbers is "NA" when not given.
void SetOptional(double dValue, int bHas, double* pd, unsigned char* peState) {
    *pd = bHas ? dValue : 0.0;
    *peState = bHas ? VALUE_NUMBER : VALUE_NA;
}

// A row keeps its states in a byte each.
void ParseInto(const char* pszWord, const char* pszQuantity, const char* pszName, double* pd,
               unsigned char* peState) {
    unsigned eState = VALUE_ABSENT;
    CMN_ParseValue(pszWord, pszQuantity, pszName, pd, &eState);
    *peState = static_cast<unsigned char>(eState);
}

}  // namespace

int RNGP_Create(RNGP** ppRow) {
    TAV_ASSERT(ppRow != nullptr);
    *ppRow = TakeRow();
    if (*ppRow == nullptr) return 0;
    **ppRow = RNGP{};
    return 1;
}

int RNGP_CreateFrom(RNGP** ppRow, double dX, double dMin, double dTyp, double dMax, int bHasMax,
                    int bHasMin) {
    if (!RNGP_Create(ppRow)) return 0;
    RNGP* pRow = *ppRow;
    pRow->dX = dX;
    pRow->eXState = VALUE_NUMBER;
    pRow->dTyp = dTyp;
    pRow->eTypState = VALUE_NUMBER;
    SetOptional(dMin, bHasMin, &pRow->dMin, &pRow->eMinState);
    SetOptional(dMax, bHasMax, &pRow->dMax, &pRow->eMaxState);
    return 1;
}

int RNGP_Parse(const char* pszText, const char* pszQuantity, const char* pszXName, RNGP** ppRow) {
    TAV_ASSERT(pszText != nullptr && pszQuantity != nullptr && pszXName != nullptr &&
               ppRow != nullptr);
    *ppRow = nullptr;

    const WORDS words(pszText, ROW_WORDS);
    if (!words.Split()) {
        DIAG_BugLine("Unable to parse %s arguments", pszQuantity);
        return 0;
    }
    CheckWordCount(words.Found(), pszQuantity);

    RNGP* pRow = nullptr;
    if (!RNGP_Create(&pRow)) {
        DIAG_BugLine("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return 0;
    }

    ParseInto(words[0], pszQuantity, pszXName, &pRow->dX, &pRow->eXState);
    ParseInto(words[1], pszQuantity, "Typical", &pRow->dTyp, &pRow->eTypState);
    ParseInto(words[2], pszQuantity, "Minimum", &pRow->dMin, &pRow->eMinState);
    ParseInto(words[3], pszQuantity, "Maximum", &pRow->dMax, &pRow->eMaxState);

    *ppRow = pRow;
    return 1;
}

// Rows keep file order: the new row goes behind the current tail.
void RNGP_Append(RNGP** ppHead, RNGP* pRow, unsigned* pnCount) {
    TAV_ASSERT(ppHead != nullptr && pRow != nullptr && pnCount != nullptr);
    pRow->pNext = nullptr;
    pRow->pPrev = nullptr;
    unsigned nCount = 1;
    if (*ppHead == nullptr) {
        *ppHead = pRow;
    } else {
        RNGP* pTail = *ppHead;
        for (; pTail->pNext != nullptr; pTail = pTail->pNext) ++nCount;
        pTail->pNext = pRow;
        pRow->pPrev = pTail;
        ++nCount;
    }
    *pnCount = nCount;
}

void RNGP_AppendAfter(RNGP** ppHead, RNGP* pTail, RNGP* pRow) {
    TAV_ASSERT(ppHead != nullptr && pRow != nullptr);
    TAV_ASSERT((pTail == nullptr) == (*ppHead == nullptr));
    TAV_ASSERT(pTail == nullptr || pTail->pNext == nullptr);
    pRow->pNext = nullptr;
    pRow->pPrev = pTail;
    if (pTail == nullptr)
        *ppHead = pRow;
    else
        pTail->pNext = pRow;
}

CORNERS RNGP_Corners(const RNGP* pRow) {
    TAV_ASSERT(pRow != nullptr);
    return {{pRow->dTyp, pRow->dMin, pRow->dMax}, {pRow->eTypState, pRow->eMinState, pRow->eMaxState}};
}

unsigned RNGP_XState(const RNGP* pRow, double* pd) {
    TAV_ASSERT(pRow != nullptr && pd != nullptr);
    *pd = pRow->dX;
    return pRow->eXState;
}

unsigned RNGP_CornerState(const RNGP* pRow, eCorner eWhich, double* pd) {
    TAV_ASSERT(pRow != nullptr && pd != nullptr);
    switch (eWhich) {
        case eCorner::TYP: *pd = pRow->dTyp; return pRow->eTypState;
        case eCorner::MIN: *pd = pRow->dMin; return pRow->eMinState;
        case eCorner::MAX: *pd = pRow->dMax; return pRow->eMaxState;
    }
    TAV_ASSERT(!"corner out of range");
}

void RNGP_SetCorner(RNGP* pRow, eCorner eWhich, double d) {
    TAV_ASSERT(pRow != nullptr);
    switch (eWhich) {
        case eCorner::TYP: pRow->dTyp = d; pRow->eTypState = VALUE_NUMBER; return;
        case eCorner::MIN: pRow->dMin = d; pRow->eMinState = VALUE_NUMBER; return;
        case eCorner::MAX: pRow->dMax = d; pRow->eMaxState = VALUE_NUMBER; return;
    }
}

int RNGP_AnyNumber(const RNGP* pFirst, eCorner eWhich) {
    double d;
    for (const RNGP* pRow = pFirst; pRow != nullptr; pRow = pRow->pNext)
        if (RNGP_CornerState(pRow, eWhich, &d) == VALUE_NUMBER) return 1;
    return 0;
}

void RNGP_FreeList(RNGP* pHead) {
    while (pHead != nullptr) {
        RNGP* pNext = pHead->pNext;
        GiveBackRow(pHead);
        pHead = pNext;
    }
}

int RNGP_GetX(const RNGP* pRow, double* pd) {
    TAV_ASSERT(pRow != nullptr && pd != nullptr);
    *pd = pRow->dX;
    return 1;
}

int RNGP_GetTyp(const RNGP* pRow, double* pd) {
    TAV_ASSERT(pRow != nullptr && pd != nullptr);
    return GetIfNumber(pRow->dTyp, pRow->eTypState, pd);
}

int RNGP_GetMin(const RNGP* pRow, double* pd) {
    TAV_ASSERT(pRow != nullptr && pd != nullptr);
    return GetIfNumber(pRow->dMin, pRow->eMinState, pd);
}

int RNGP_GetMax(const RNGP* pRow, double* pd) {
    TAV_ASSERT(pRow != nullptr && pd != nullptr);
    return GetIfNumber(pRow->dMax, pRow->eMaxState, pd);
}

int RNGP_HasCorner(const RNGP* pRow, eCorner eWhich) {
    double d;
    return RNGP_CornerState(pRow, eWhich, &d) == VALUE_NUMBER;
}

int RNGP_GetNext(const RNGP* pRow, RNGP** ppNext) {
    TAV_ASSERT(pRow != nullptr && ppNext != nullptr);
    *ppNext = pRow->pNext;
    return pRow->pNext != nullptr;
}

int RNGP_GetPrev(const RNGP* pRow, RNGP** ppPrev) {
    TAV_ASSERT(pRow != nullptr && ppPrev != nullptr);
    *ppPrev = pRow->pPrev;
    return pRow->pPrev != nullptr;
}
