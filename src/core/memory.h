// Memory of the reader: zero-filled allocation with failures reported as
// errors, and a pool of fixed-size elements released together.
#ifndef TAVELIN_MEMORY_H
#define TAVELIN_MEMORY_H

#include <cstddef>

// Zero-filled allocation; failures are reported as errors.
int CMN_Alloc(void** ppv, size_t nSize);
int CMN_Realloc(void** ppv, size_t nSize);
void CMN_Free(void* pv);

template <typename T>
inline int CMN_Alloc(T** pp, size_t nSize) {
    void* pv = nullptr;
    int nResult = CMN_Alloc(&pv, nSize);
    *pp = static_cast<T*>(pv);
    return nResult;
}

template <typename T>
inline int CMN_Realloc(T** pp, size_t nSize) {
    void* pv = *pp;
    int nResult = CMN_Realloc(&pv, nSize);
    *pp = static_cast<T*>(pv);
    return nResult;
}

// Fixed-size block pool: elements are handed out in order and released
// together.
struct POOL;
POOL* POOL_Create(size_t nElementSize, size_t nPerBlock);
void* POOL_Get(POOL* pPool);
void POOL_FreeAll(POOL* pPool);
void POOL_Destroy(POOL* pPool);

#endif
