// Assertions guard what can never happen between modules (a null argument,
// an impossible code); file content never leads here.  Each source file
// defines TAV_MODULE with its module name before using TAV_ASSERT.
#ifndef TAVELIN_TAV_ASSERT_H
#define TAVELIN_TAV_ASSERT_H

#include "platform/plat_assert.h"

[[noreturn]] inline void TAV_AssertFailed(const char* pszModule, int nLine) {
    PLAT_AssertFailed(pszModule, nLine);
}

#define TAV_ASSERT(cond)                                                      \
    do {                                                                      \
        if (!(cond)) TAV_AssertFailed(TAV_MODULE, __LINE__);                  \
    } while (0)

#endif
