// The stack of documents: a host may keep several documents and destroy
// them in any order; every live document stays stacked and the current
// one is the newest live one.
#include <gtest/gtest.h>

#include "core/document.h"
#include "core/memory.h"

namespace {

IBIS* Current() {
    IBIS* pIbis = nullptr;
    IBIS_GetCurrent(&pIbis);
    return pIbis;
}

IBIS* Stack() {
    EXPECT_EQ(1, IBIS_Create());
    return Current();
}

void Drop(IBIS* pIbis) {
    IBIS_Unstack(pIbis);
    CMN_Free(pIbis);
}

}  // namespace

TEST(DocumentStack, DocumentsDestroyedInAnyOrderLeaveTheLiveOnesStacked) {
    IBIS* const pBase = Current();
    IBIS* pA = Stack();
    IBIS* pB = Stack();
    IBIS* pC = Stack();

    // Below the top: C stays current and leads to A.
    Drop(pB);
    EXPECT_EQ(pC, Current());
    EXPECT_EQ(pA, pC->pNext);

    // A document made now stacks on C; the oldest goes next.
    IBIS* pD = Stack();
    EXPECT_EQ(pC, pD->pNext);
    Drop(pA);
    EXPECT_EQ(pD, Current());
    EXPECT_EQ(pBase, pC->pNext);

    // From the top: the one below becomes current.
    Drop(pD);
    EXPECT_EQ(pC, Current());
    Drop(pC);
    EXPECT_EQ(pBase, Current());
}
