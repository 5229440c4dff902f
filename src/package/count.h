// Counts of the package modules ([Number Of Pins], [Bandwidth], ...).
#ifndef TAVELIN_PACKAGE_COUNT_H
#define TAVELIN_PACKAGE_COUNT_H

#include <climits>

#include "core/cmn.h"

// Reads a count the way CMN_GetUnsigned does (0 bad, 1 good, 2 a number
// followed by other text); a count that does not fit the 32-bit fields of
// the package records is bad.
inline int PACKAGE_GetCount(const char* psz, unsigned* puiValue) {
    unsigned long ulValue = 0;
    int nResult = CMN_GetUnsigned(psz, &ulValue);
    if (ulValue > UINT_MAX) nResult = 0;
    *puiValue = nResult != 0 ? static_cast<unsigned>(ulValue) : 0;
    return nResult;
}

#endif
