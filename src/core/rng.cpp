// Typ/min/max triples: reading "typ min max" with "NA" and scale letters,
// the check that the typical lies between minimum and maximum, corner access
// and the limit checks.  Stateless; called by every keyword module.
#define TAV_MODULE "rng"
#include "core/rng.h"

#include "core/cmn.h"
#include "core/diag.h"
#include "core/tav_assert.h"

namespace {

enum { RNG_WORDS = 3 };

// Names of the corners that are missing when a line stops after word i + 1.
const char* const g_apszMissing[RNG_WORDS - 1] = {"minimum", "maximum"};

// A line of one or two words names each corner it lacks; any other count
// that is not three draws one count error.  The read goes on in every case.
void CheckWordCount(int nFound, const char* pszQuantity) {
    if (nFound >= 1 && nFound < RNG_WORDS) {
        for (int i = nFound; i < RNG_WORDS; ++i)
            DIAG_ErrorLine("No %s Value Was Provided for %s", g_apszMissing[i - 1], pszQuantity);
    } else if (nFound != RNG_WORDS) {
        DIAG_ErrorLine("Incorrect Number of Line Items (%d) For %s: Expecting %d", nFound,
                       pszQuantity, RNG_WORDS);
    }
}

// The typical value lies outside both bounds.  Equal to a bound, or between
// them in either order, is accepted.
bool IsTypOutside(const RNG* pRng) {
    bool bBelow = pRng->dTyp < pRng->dMin && pRng->dTyp < pRng->dMax;
    bool bAbove = pRng->dTyp > pRng->dMin && pRng->dTyp > pRng->dMax;
    return bBelow || bAbove;
}

void CheckBetween(const RNG* pRng) {
    if (pRng->eTypState != VALUE_NUMBER || pRng->eMinState != VALUE_NUMBER ||
        pRng->eMaxState != VALUE_NUMBER)
        return;
    if (IsTypOutside(pRng)) DIAG_WarningLine("Typ value is not in between min and max ");
}

int GetIfNumber(double dValue, unsigned eState, double* pd) {
    if (eState != VALUE_NUMBER) return 0;
    *pd = dValue;
    return 1;
}

// The caller's format is a message of the code, never file content; its
// arguments are the name, the corner name and three scaled numbers.
bool IsCornerInLimits(double dValue, unsigned eState, const char* pszCorner, double dLow,
                      double dHigh, const char* pszFormat, const char* pszName, double dScale) {
    if (eState != VALUE_NUMBER || (dValue >= dLow && dValue <= dHigh)) return true;
    DIAG_Warning(pszFormat, pszName, pszCorner, dValue * dScale, dLow * dScale, dHigh * dScale);
    return false;
}

}  // namespace

int RNG_Create(RNG** ppRng) {
    TAV_ASSERT(ppRng != nullptr);
    if (!CMN_Alloc(ppRng, sizeof(RNG))) return 0;
    **ppRng = RNG{};
    return 1;
}

int RNG_Parse(const char* pszText, const char* pszQuantity, RNG** ppRng) {
    TAV_ASSERT(pszText != nullptr && pszQuantity != nullptr && ppRng != nullptr);
    *ppRng = nullptr;

    const WORDS words(pszText, RNG_WORDS);
    if (!words.Split()) {
        DIAG_BugLine("Unable to Parse %s: %s %d", pszQuantity, TAV_MODULE, __LINE__);
        return 0;
    }
    CheckWordCount(words.Found(), pszQuantity);

    RNG* pRng = nullptr;
    if (!RNG_Create(&pRng)) {
        DIAG_BugLine("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return 0;
    }

    // Every word is read so that each bad one is reported; a missing word
    // (a null word) keeps state 0.
    const char* pszQ = pszQuantity;
    int bValid = CMN_ParseValue(words[0], pszQ, "Typical", &pRng->dTyp, &pRng->eTypState);
    bValid &= CMN_ParseValue(words[1], pszQ, "Minimum", &pRng->dMin, &pRng->eMinState);
    bValid &= CMN_ParseValue(words[2], pszQ, "Maximum", &pRng->dMax, &pRng->eMaxState);
    CheckBetween(pRng);

    int bAllRead = words.Stored() == RNG_WORDS;
    *ppRng = pRng;
    return bAllRead && bValid;
}

void RNG_Free(RNG* pRng) {
    if (pRng != nullptr) CMN_Free(pRng);
}

int RNG_GetTyp(const RNG* pRng, double* pd) {
    TAV_ASSERT(pRng != nullptr && pd != nullptr);
    return GetIfNumber(pRng->dTyp, pRng->eTypState, pd);
}

int RNG_GetMin(const RNG* pRng, double* pd) {
    TAV_ASSERT(pRng != nullptr && pd != nullptr);
    return GetIfNumber(pRng->dMin, pRng->eMinState, pd);
}

int RNG_GetMax(const RNG* pRng, double* pd) {
    TAV_ASSERT(pRng != nullptr && pd != nullptr);
    return GetIfNumber(pRng->dMax, pRng->eMaxState, pd);
}

// A missing or "NA" minimum or maximum falls back to the typical value.
void RNG_GetCorner(const RNG* pRng, eCorner eWhich, double* pd) {
    TAV_ASSERT(pRng != nullptr && pd != nullptr);
    if (eWhich == eCorner::MIN && RNG_GetMin(pRng, pd)) return;
    if (eWhich == eCorner::MAX && RNG_GetMax(pRng, pd)) return;
    RNG_GetTyp(pRng, pd);
}

CORNERS RNG_Corners(const RNG* pRng) {
    TAV_ASSERT(pRng != nullptr);
    return {{pRng->dTyp, pRng->dMin, pRng->dMax}, {pRng->eTypState, pRng->eMinState, pRng->eMaxState}};
}

CORNERS RNG_SameCorners(double d) { return {{d, d, d}, {VALUE_NUMBER, VALUE_NUMBER, VALUE_NUMBER}}; }

unsigned RNG_CornerState(const RNG* pRng, eCorner eWhich, double* pd) {
    TAV_ASSERT(pRng != nullptr && pd != nullptr);
    switch (eWhich) {
        case eCorner::TYP: *pd = pRng->dTyp; return pRng->eTypState;
        case eCorner::MIN: *pd = pRng->dMin; return pRng->eMinState;
        case eCorner::MAX: *pd = pRng->dMax; return pRng->eMaxState;
    }
    TAV_ASSERT(!"corner out of range");
}

int RNG_CheckLimits(const RNG* pRng, double dLow, double dHigh, const char* pszFormat,
                    const char* pszName, double dScale) {
    TAV_ASSERT(pRng != nullptr && pszFormat != nullptr && pszName != nullptr);
    bool bTyp = IsCornerInLimits(pRng->dTyp, pRng->eTypState, "TYP", dLow, dHigh, pszFormat,
                                 pszName, dScale);
    bool bMin = IsCornerInLimits(pRng->dMin, pRng->eMinState, "MIN", dLow, dHigh, pszFormat,
                                 pszName, dScale);
    bool bMax = IsCornerInLimits(pRng->dMax, pRng->eMaxState, "MAX", dLow, dHigh, pszFormat,
                                 pszName, dScale);
    return bTyp && bMin && bMax;
}
