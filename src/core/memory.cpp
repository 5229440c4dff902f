// Memory of the reader: zero-filled allocations whose failures are
// reported as errors, and the block pool that hands out fixed-size
// elements in order and releases them together.  Stateless; the pools
// belong to their callers.
#define TAV_MODULE "cmn"
#include "core/memory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/diag.h"
#include "core/tav_assert.h"

namespace {

// Link word in front of the elements of every pool block, kept a multiple
// of 8 so that the elements stay aligned.
constexpr size_t POOL_LINK_SIZE = (sizeof(void*) + 7) & ~static_cast<size_t>(7);

}  // namespace

// ---------------------------------------------------------------- memory

int CMN_Alloc(void** ppv, size_t nSize) {
    TAV_ASSERT(ppv != nullptr);
    // A zero size still yields a block of its own, never a null result.
    *ppv = calloc(1, nSize == 0 ? 1 : nSize);
    if (*ppv == nullptr) {
        DIAG_Error("Memory allocation failed.  This request %u.\n", static_cast<unsigned>(nSize));
        return 0;
    }
    return 1;
}

int CMN_Realloc(void** ppv, size_t nSize) {
    TAV_ASSERT(ppv != nullptr);
    void* pv = realloc(*ppv, nSize == 0 ? 1 : nSize);
    if (pv == nullptr) {
        // The old block stays valid and stays with the caller.
        DIAG_Error("Memory reallocation failed.  This request %u.\n", static_cast<unsigned>(nSize));
        return 0;
    }
    *ppv = pv;
    return 1;
}

void CMN_Free(void* pv) {
    TAV_ASSERT(pv != nullptr);
    free(pv);
}

// ---------------------------------------------------------------- block pool

struct POOL {
    size_t nElementSize;
    size_t nPerBlock;
    char* pBlocks;  // newest block first; each starts with the link word
    size_t nUsed;   // elements handed out from the newest block
};

POOL* POOL_Create(size_t nElementSize, size_t nPerBlock) {
    TAV_ASSERT(nElementSize > 0 && nPerBlock > 0);
    size_t nRounded = (nElementSize + 7) & ~static_cast<size_t>(7);
    if (nRounded < nElementSize || nPerBlock > (SIZE_MAX - POOL_LINK_SIZE) / nRounded)
        return nullptr;
    POOL* pPool = nullptr;
    if (!CMN_Alloc(&pPool, sizeof(POOL))) return nullptr;
    pPool->nElementSize = nRounded;
    pPool->nPerBlock = nPerBlock;
    pPool->pBlocks = nullptr;
    pPool->nUsed = 0;
    return pPool;
}

void* POOL_Get(POOL* pPool) {
    TAV_ASSERT(pPool != nullptr);
    if (pPool->pBlocks == nullptr || pPool->nUsed == pPool->nPerBlock) {
        char* pBlock = nullptr;
        if (!CMN_Alloc(&pBlock, POOL_LINK_SIZE + pPool->nPerBlock * pPool->nElementSize))
            return nullptr;
        memcpy(pBlock, &pPool->pBlocks, sizeof(char*));
        pPool->pBlocks = pBlock;
        pPool->nUsed = 0;
    }
    return pPool->pBlocks + POOL_LINK_SIZE + pPool->nUsed++ * pPool->nElementSize;
}

void POOL_FreeAll(POOL* pPool) {
    TAV_ASSERT(pPool != nullptr);
    char* pBlock = pPool->pBlocks;
    while (pBlock != nullptr) {
        char* pNext = nullptr;
        memcpy(&pNext, pBlock, sizeof(char*));
        CMN_Free(pBlock);
        pBlock = pNext;
    }
    pPool->pBlocks = nullptr;
    pPool->nUsed = 0;
}

// Like free(), a null pool is accepted so that cleanup paths stay simple.
void POOL_Destroy(POOL* pPool) {
    if (pPool == nullptr) return;
    POOL_FreeAll(pPool);
    CMN_Free(pPool);
}
