// [Model Spec]: the specification values of a model as typ/min/max
// triples, and the end checks of their signs and relations with each other
// and with the model's own thresholds.  State: the line of the open
// specification.
#define TAV_MODULE "mspec"
#include "model/mspec.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "model/crv.h"
#include "model/mdl.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/lines.h"
#include "core/rng.h"
#include "core/tav_assert.h"

namespace {

struct SpecSub {
    const char* pszWord;  // as written in the file
    const char* pszName;  // as named in messages
    RNG* MSPEC::*pField;
};

const SpecSub g_aSubs[] = {
    {"Vinh", "Vinh", &MSPEC::pVinh},
    {"Vinl", "Vinl", &MSPEC::pVinl},
    {"Vinh+", "Vinh+", &MSPEC::pVinhPlus},
    {"Vinh-", "Vinh-", &MSPEC::pVinhMinus},
    {"Vinl+", "Vinl+", &MSPEC::pVinlPlus},
    {"Vinl-", "Vinl-", &MSPEC::pVinlMinus},
    {"S_overshoot_high", "S_overshoot_high", &MSPEC::pSOvershootHigh},
    {"S_overshoot_low", "S_overshoot_low", &MSPEC::pSOvershootLow},
    {"D_overshoot_high", "D_overshoot_high", &MSPEC::pDOvershootHigh},
    {"D_overshoot_low", "D_overshoot_low", &MSPEC::pDOvershootLow},
    {"D_overshoot_time", "D_overshoot_time", &MSPEC::pDOvershootTime},
    {"Pulse_high", "PulseHigh", &MSPEC::pPulseHigh},
    {"Pulse_low", "PulseLow", &MSPEC::pPulseLow},
    {"Pulse_time", "PulseTime", &MSPEC::pPulseTime},
    {"Vmeas", "Vmeas", &MSPEC::pVmeas},
};

struct MspecState {
    unsigned long ulSpecLine = 0;  // the [Model Spec] line, named in the end checks
};

MspecState g_mspec;

const char* const g_apszCorner[CORNER_COUNT] = {"Typ", "Min", "Max"};

// A value of the end checks with its name: the corners of a typ/min/max
// value, or one number standing for all three.
struct Checked {
    const char* pszName;
    CORNERS corners;
};

Checked FromRange(const char* pszName, const RNG* pRng) { return {pszName, RNG_Corners(pRng)}; }

Checked FromNumber(const char* pszName, double d) { return {pszName, RNG_SameCorners(d)}; }

bool HasTypical(const Checked& value) { return value.corners.State(eCorner::TYP) == VALUE_NUMBER; }

// A minimum or maximum that is no number stands in for by the typical.
double CornerOrTypical(const Checked& value, eCorner e) {
    const CORNERS& c = value.corners;
    return c.State(e) == VALUE_NUMBER ? c.Value(e) : c.Value(eCorner::TYP);
}

int SpecLine() { return static_cast<int>(g_mspec.ulSpecLine); }

const SpecSub* LookupSub(const char* pszLine, size_t* pnLength) {
    size_t n = CMN_TokenLength('=', pszLine);
    *pnLength = n;
    for (const SpecSub& sub : g_aSubs)
        if (strlen(sub.pszWord) == n && strncmp(sub.pszWord, pszLine, n) == 0) return &sub;
    return nullptr;
}

// ---- end checks ----

enum eSign { SIGN_NOT_NEGATIVE, SIGN_NOT_POSITIVE };

// Each corner on the wrong side of zero, in the order typical, maximum,
// minimum.
void CheckSign(const RNG* pRng, const char* pszName, eSign eExpected) {
    if (pRng == nullptr) return;
    const Checked value = FromRange(pszName, pRng);
    if (!HasTypical(value)) return;
    for (eCorner e : {eCorner::TYP, eCorner::MAX, eCorner::MIN}) {
        const double d = CornerOrTypical(value, e);
        char szLabel[64];
        snprintf(szLabel, sizeof szLabel, "%s (%s)", pszName, g_apszCorner[CornerIndex(e)]);
        if (eExpected == SIGN_NOT_NEGATIVE && d < 0)
            DIAG_Warning("%s is less than zero for Model Spec defined on line %d", szLabel,
                         SpecLine());
        if (eExpected == SIGN_NOT_POSITIVE && d > 0)
            DIAG_Warning("%s is greater than zero for Model Spec defined on line %d", szLabel,
                         SpecLine());
    }
}

enum eRelation { REL_AT_LEAST, REL_GREATER, REL_LESS };

bool Holds(eRelation eRel, double dA, double dB) {
    switch (eRel) {
        case REL_AT_LEAST: return dA >= dB;
        case REL_GREATER: return dA > dB;
        case REL_LESS: return dA < dB;
    }
    return true;
}

void ReportRelation(eRelation eRel, const Checked& a, const Checked& b, eCorner e) {
    const char* pszCorner = g_apszCorner[CornerIndex(e)];
    switch (eRel) {
        case REL_AT_LEAST:
            DIAG_Warning("%s(%s) is not greater than or equal to %s(%s) for Model Spec defined on line %d",
                         a.pszName, pszCorner, b.pszName, pszCorner, SpecLine());
            break;
        case REL_GREATER:
            DIAG_Warning("%s(%s) is not greater than %s(%s) for Model Spec defined on line %d",
                         a.pszName, pszCorner, b.pszName, pszCorner, SpecLine());
            break;
        case REL_LESS:
            DIAG_Warning("%s(%s) is not less than %s(%s) for Model Spec defined on line %d",
                         a.pszName, pszCorner, b.pszName, pszCorner, SpecLine());
            break;
    }
}

// Typical first, then minimum and maximum.  A minimum or maximum takes
// part when both sides give it, as a number or as "NA"; "NA" stands for
// the typical value.
void Compare(const Checked& a, eRelation eRel, const Checked& b) {
    if (!HasTypical(a) || !HasTypical(b)) return;
    for (eCorner e : g_aeCorners) {
        if (e != eCorner::TYP && (a.corners.State(e) == VALUE_ABSENT || b.corners.State(e) == VALUE_ABSENT))
            continue;
        if (!Holds(eRel, CornerOrTypical(a, e), CornerOrTypical(b, e))) ReportRelation(eRel, a, b, e);
    }
}

void CheckHysteresis(MSPEC* pSpec) {
    const int nGiven = (pSpec->pVinhPlus != nullptr) + (pSpec->pVinhMinus != nullptr) +
                       (pSpec->pVinlPlus != nullptr) + (pSpec->pVinlMinus != nullptr);
    pSpec->bHystComplete = nGiven == 4 ? 1 : 0;
    if (nGiven == 0) return;
    if (nGiven < 4) {
        DIAG_Warning("All %s Hystereis Thresholds should be specified for Model Spec defined on line %d",
                     "", SpecLine());
        return;
    }
    Compare(FromRange("Vinh+", pSpec->pVinhPlus), REL_AT_LEAST, FromRange("Vinh-", pSpec->pVinhMinus));
    Compare(FromRange("Vinl+", pSpec->pVinlPlus), REL_AT_LEAST, FromRange("Vinl-", pSpec->pVinlMinus));
}

void RequireOther(const char* pszName, const char* pszOther) {
    DIAG_Error("%s requires %s to be specified for Model Spec defined on line %d", pszName, pszOther,
               SpecLine());
}

void ReportOrphan(const char* pszName) {
    DIAG_Warning("orphan %s found for Model Spec defined on line %d", pszName, SpecLine());
}

// A dynamic overshoot lies beyond its static one and needs its time.
void CheckDynamicOvershoot(const MSPEC* pSpec, const RNG* pDynamic, const char* pszDynamic,
                           const RNG* pStatic, const char* pszStatic, eSign eExpected,
                           eRelation eRel) {
    if (pDynamic == nullptr) return;
    CheckSign(pDynamic, pszDynamic, eExpected);
    if (pStatic == nullptr)
        RequireOther(pszDynamic, pszStatic);
    else
        Compare(FromRange(pszDynamic, pDynamic), eRel, FromRange(pszStatic, pStatic));
    if (pSpec->pDOvershootTime == nullptr) RequireOther(pszDynamic, "D_overshoot_time");
}

// The threshold a pulse is measured against: the hysteresis threshold,
// the threshold of [Model Spec], or the model's, the first given.
bool PulseReference(const RNG* pHyst, const char* pszHyst, const RNG* pSpecOwn,
                    const double* pdModelOwn, const char* pszOwn, Checked* pReference) {
    if (pHyst != nullptr) {
        *pReference = FromRange(pszHyst, pHyst);
    } else if (pSpecOwn != nullptr) {
        *pReference = FromRange(pszOwn, pSpecOwn);
    } else if (pdModelOwn != nullptr) {
        *pReference = FromNumber(pszOwn, *pdModelOwn);
    } else {
        return false;
    }
    return true;
}

void CheckPulse(const MSPEC* pSpec, const RNG* pPulse, const char* pszPulse, eRelation eRel,
                const Checked* pReference) {
    if (pPulse == nullptr) return;
    if (pSpec->pPulseTime == nullptr) RequireOther(pszPulse, "Pulse_time");
    if (pReference == nullptr)
        RequireOther(pszPulse, "Thresholds or Hysteresis Thresholds");
    else
        Compare(FromRange(pszPulse, pPulse), eRel, *pReference);
}

void CheckPulses(const MSPEC* pSpec, const MDL* pMdl) {
    const bool bHyst = pSpec->bHystComplete != 0;
    Checked reference{};
    bool bFound = PulseReference(bHyst ? pSpec->pVinhMinus : nullptr, "Vinh-", pSpec->pVinl,
                                 pMdl->pdVinl, "Vinl", &reference);
    CheckPulse(pSpec, pSpec->pPulseHigh, "Pulse_high", REL_GREATER, bFound ? &reference : nullptr);
    bFound = PulseReference(bHyst ? pSpec->pVinlPlus : nullptr, "Vinl+", pSpec->pVinh,
                            pMdl->pdVinh, "Vinh", &reference);
    CheckPulse(pSpec, pSpec->pPulseLow, "Pulse_low", REL_LESS, bFound ? &reference : nullptr);
}

// A time belongs to the values it times.
void CheckTime(const RNG* pTime, const char* pszTime, bool bTimed) {
    if (pTime == nullptr) return;
    if (!bTimed)
        ReportOrphan(pszTime);
    else
        CheckSign(pTime, pszTime, SIGN_NOT_NEGATIVE);
}

int GetRange(const MSPEC* pSpec, RNG* MSPEC::*pField, RNG** ppRng) {
    TAV_ASSERT(pSpec != nullptr && ppRng != nullptr);
    *ppRng = pSpec->*pField;
    return *ppRng != nullptr ? 1 : 0;
}

}  // namespace

void MSPEC_Reset() { g_mspec = MspecState(); }

int MSPEC_Begin(char* pszLine, MSPEC** ppSlot) {
    TAV_ASSERT(pszLine != nullptr && ppSlot != nullptr);
    if (*ppSlot != nullptr) {
        DIAG_ErrorLine("Model Specification: Already Defined for this model");
        MSPEC_Free(*ppSlot);
        *ppSlot = nullptr;
    }
    MSPEC* pSpec = nullptr;
    if (!CMN_Alloc(&pSpec, sizeof *pSpec)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return 0;
    }
    *ppSlot = pSpec;
    CMN_CheckKeywordAlone(pszLine, "Model Spec");
    g_mspec.ulSpecLine = PARSE_GetLineNumber();
    return 1;
}

void MSPEC_Line(const char* pszLine, MSPEC* pSpec, const char* pszModelName) {
    TAV_ASSERT(pszLine != nullptr && pszModelName != nullptr);
    if (pSpec == nullptr) return;  // [Model Spec] itself could not be made
    size_t nLength = 0;
    const SpecSub* pSub = LookupSub(pszLine, &nLength);
    if (pSub == nullptr) {
        DIAG_ErrorLine("Unknown Line Among Model Spec Data");
        return;
    }
    RNG*& pField = pSpec->*(pSub->pField);
    if (pField != nullptr) {
        DIAG_ErrorLine("%s Already Defined For Model '%s'", pSub->pszName, pszModelName);
        return;
    }
    RNG_Parse(pszLine + nLength, pSub->pszName, &pField);
    if (pField != nullptr && pField->eTypState == VALUE_NA)
        DIAG_ErrorLine("'NA' not allowed for Typical value");
}

void MSPEC_End(const MDL* pMdl) {
    TAV_ASSERT(pMdl != nullptr);
    MSPEC* pSpec = pMdl->pMdlSpec;
    if (pSpec == nullptr) return;
    CheckHysteresis(pSpec);
    CheckSign(pSpec->pSOvershootHigh, "S_overshoot_high", SIGN_NOT_NEGATIVE);
    CheckSign(pSpec->pSOvershootLow, "S_overshoot_low", SIGN_NOT_POSITIVE);
    CheckDynamicOvershoot(pSpec, pSpec->pDOvershootHigh, "D_overshoot_high", pSpec->pSOvershootHigh,
                          "S_overshoot_high", SIGN_NOT_NEGATIVE, REL_GREATER);
    CheckDynamicOvershoot(pSpec, pSpec->pDOvershootLow, "D_overshoot_low", pSpec->pSOvershootLow,
                          "S_overshoot_low", SIGN_NOT_POSITIVE, REL_LESS);
    CheckTime(pSpec->pDOvershootTime, "D_overshoot_time",
              pSpec->pDOvershootLow != nullptr || pSpec->pDOvershootHigh != nullptr);
    CheckPulses(pSpec, pMdl);
    CheckTime(pSpec->pPulseTime, "Pulse_time",
              pSpec->pPulseHigh != nullptr || pSpec->pPulseLow != nullptr);
}

void MSPEC_Free(MSPEC* pSpec) {
    if (pSpec == nullptr) return;
    for (const SpecSub& sub : g_aSubs)
        if (pSpec->*(sub.pField) != nullptr) RNG_Free(pSpec->*(sub.pField));
    CMN_Free(pSpec);
}

int MSPEC_GetVinhPlus(const MSPEC* pSpec, RNG** pp) { return GetRange(pSpec, &MSPEC::pVinhPlus, pp); }
int MSPEC_GetVinhMinus(const MSPEC* pSpec, RNG** pp) { return GetRange(pSpec, &MSPEC::pVinhMinus, pp); }
int MSPEC_GetVinlPlus(const MSPEC* pSpec, RNG** pp) { return GetRange(pSpec, &MSPEC::pVinlPlus, pp); }
int MSPEC_GetVinlMinus(const MSPEC* pSpec, RNG** pp) { return GetRange(pSpec, &MSPEC::pVinlMinus, pp); }
int MSPEC_GetSOvershootHigh(const MSPEC* pSpec, RNG** pp) {
    return GetRange(pSpec, &MSPEC::pSOvershootHigh, pp);
}
int MSPEC_GetSOvershootLow(const MSPEC* pSpec, RNG** pp) {
    return GetRange(pSpec, &MSPEC::pSOvershootLow, pp);
}
int MSPEC_GetDOvershootLow(const MSPEC* pSpec, RNG** pp) {
    return GetRange(pSpec, &MSPEC::pDOvershootLow, pp);
}
int MSPEC_GetDOvershootHigh(const MSPEC* pSpec, RNG** pp) {
    return GetRange(pSpec, &MSPEC::pDOvershootHigh, pp);
}
int MSPEC_GetDOvershootTime(const MSPEC* pSpec, RNG** pp) {
    return GetRange(pSpec, &MSPEC::pDOvershootTime, pp);
}
int MSPEC_GetVmeas(const MSPEC* pSpec, RNG** pp) { return GetRange(pSpec, &MSPEC::pVmeas, pp); }
