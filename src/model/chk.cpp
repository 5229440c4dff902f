// Plausibility checks of a component file, called by the read driver's
// end-of-file step after the whole file has been read: package, pin and die values and ramp
// times against fixed ranges, and the I-V tables of each model against its
// own waveform end voltages and timing test load.
//
// State: the two process-wide switches of the check groups, both on from
// the start.  The I-V checks work on tables of their own, made from the
// model's tables per corner and freed before the next corner; the model's
// records are only read.
#define TAV_MODULE "chk"
#include "model/chk.h"

#include <cmath>
#include <initializer_list>

#include "component/cmpnt.h"
#include "component/pin.h"
#include "component/pkg.h"
#include "model/crv.h"
#include "model/mdl.h"
#include "model/ramp.h"
#include "model/submdl.h"
#include "model/wvfrm.h"
#include "core/diag.h"
#include "core/rng.h"
#include "core/tav_assert.h"

namespace {

struct ChkState {
    bool bRangeChecks = true;
    bool bCurveChecks = true;
};

ChkState g_chk;


// Below this a resistance is a short and a voltage step is vertical; the
// stand-in conductance or slope is this large.
constexpr double CHK_TINY = 1e-32;
constexpr double CHK_HUGE = 1e32;
// An absent fixture resistance is an open circuit.
constexpr double CHK_OPEN_OHMS = 1e32;
// A crossing this close to a segment's start ends the walk.
constexpr double CHK_SAME_VOLTS = 1e-6;
constexpr double CHK_ENDPOINT_PERCENT = 2.0;
constexpr double CHK_RAMP_LIMIT_SEC = 0.001;
constexpr double CHK_CLAMP_VOLTS = -1.5;
constexpr double CHK_CLAMP_LIMIT_AMPS = 10.0;

constexpr double NANO = 1e9;
constexpr double PICO = 1e12;

// ---- Range checks ------------------------------------------------------

// A given triple must lie within [dLow, dHigh] in each corner; returns
// whether any corner drew a warning.
bool CheckRange(const RNG* pRng, double dLow, double dHigh, const char* pszFormat,
                const char* pszOwner, double dScale) {
    if (pRng == nullptr) return false;
    return RNG_CheckLimits(pRng, dLow, dHigh, pszFormat, pszOwner, dScale) == 0;
}

bool CheckPackage(const CMPNT* pCmpnt, const char* pszName) {
    PKG* pPkg = nullptr;
    if (!CMPNT_GetPkg(pCmpnt, &pPkg)) return false;
    RNG* pRng = nullptr;
    bool bWarned = false;
    if (PKG_GetRpkg(pPkg, &pRng))
        bWarned |= CheckRange(pRng, 0.0, 1000.0,
                              "CMPT '%s': Rpkg %s value %g Ohms not within expected range "
                              "(%g Ohms, %g Ohms)",
                              pszName, 1.0);
    if (PKG_GetLpkg(pPkg, &pRng))
        bWarned |= CheckRange(pRng, 0.0, 1e-6,
                              "CMPT '%s': Lpkg %s value %gnH not within expected range "
                              "(%gnH, %gnH)",
                              pszName, NANO);
    if (PKG_GetCpkg(pPkg, &pRng))
        bWarned |= CheckRange(pRng, 0.0, 1e-9,
                              "CMPT '%s': Cpkg %s value %gpF not within expected range "
                              "(%gpF, %gpF)",
                              pszName, PICO);
    return bWarned;
}

// A pin's own R, L and C may not exceed their limits (equal passes).
bool CheckPin(const PIN* pPin, const char* pszCmpnt) {
    // An empty name is given as null: the messages then show it empty.
    const char* pszPin = "";
    if (!PIN_GetName(pPin, &pszPin)) pszPin = "";
    bool bWarned = false;
    double d;
    if (PIN_GetRpin(pPin, &d) && d > 1000.0) {
        DIAG_Warning("CMPT '%s', Pin '%s': Pin Resistance %g Ohms greater than %g Ohms", pszCmpnt,
                     pszPin, d, 1000.0);
        bWarned = true;
    }
    if (PIN_GetLpin(pPin, &d) && d > 1e-6) {
        DIAG_Warning("CMPT '%s', Pin '%s': Pin Inductance %gnH greater than %gnH", pszCmpnt, pszPin,
                     d * NANO, 1e-6 * NANO);
        bWarned = true;
    }
    if (PIN_GetCpin(pPin, &d) && d > 1e-9) {
        DIAG_Warning("CMPT '%s', Pin '%s': Pin Capacitance %gpF greater than %gpF", pszCmpnt,
                     pszPin, d * PICO, 1e-9 * PICO);
        bWarned = true;
    }
    return bWarned;
}

bool CheckComponent(const CMPNT* pCmpnt) {
    // A [Component] without a name gives null: the messages show it empty.
    const char* pszName = "";
    if (!CMPNT_GetName(pCmpnt, &pszName)) pszName = "";
    bool bWarned = CheckPackage(pCmpnt, pszName);
    PIN* pPin = nullptr;
    for (CMPNT_GetPinList(pCmpnt, &pPin); pPin != nullptr; PIN_GetNext(pPin, &pPin))
        bWarned |= CheckPin(pPin, pszName);
    return bWarned;
}

int RampCorner(const RAMPVAL* pVal, eCorner eWhich, double* pdDv, double* pdDt) {
    switch (eWhich) {
        case eCorner::TYP: return RAMP_GetTyp(pVal, pdDv, pdDt);
        case eCorner::MIN: return RAMP_GetMin(pVal, pdDv, pdDt);
        case eCorner::MAX: return RAMP_GetMax(pVal, pdDv, pdDt);
    }
    return 0;
}

bool CheckRampRate(const RAMPVAL* pVal, const char* pszLabel, const char* pszKind,
                   const char* pszOwner) {
    if (pVal == nullptr) return false;
    bool bWarned = false;
    for (eCorner eWhich : g_aeCorners) {
        double dDv, dDt;
        if (!RampCorner(pVal, eWhich, &dDv, &dDt) || dDt <= CHK_RAMP_LIMIT_SEC) continue;
        DIAG_Warning("%s '%s': %s %s Ramptime %5.3ensec unusually large ( > %5.3ensec )", pszKind,
                     pszOwner, CRV_CornerName(eWhich), pszLabel, dDt * NANO,
                     CHK_RAMP_LIMIT_SEC * NANO);
        bWarned = true;
    }
    return bWarned;
}

// Both slew rates of a ramp; an owner kind is "Model" or "Sub Model".
bool CheckRamp(const RAMP* pRamp, const char* pszKind, const char* pszOwner) {
    if (pRamp == nullptr) return false;
    bool bWarned = CheckRampRate(pRamp->pDvdtR, "Rising", pszKind, pszOwner);
    bWarned |= CheckRampRate(pRamp->pDvdtF, "Falling", pszKind, pszOwner);
    return bWarned;
}

bool CheckModelRanges(const MDL* pMdl) {
    const char* pszName = "";
    MDL_GetName(pMdl, &pszName);
    RNG* pCcomp = nullptr;
    bool bWarned = false;
    if (MDL_GetCcomp(pMdl, &pCcomp))
        bWarned |= CheckRange(pCcomp, 0.0, 1e-9,
                              "Model '%s': C_comp %s value %gpF out of expected range "
                              "(%gpF, %gpF)  ",
                              pszName, PICO);
    RAMP* pRamp = nullptr;
    if (MDL_GetRamp(pMdl, &pRamp)) bWarned |= CheckRamp(pRamp, "Model", pszName);
    return bWarned;
}

// ---- I-V consistency ---------------------------------------------------

// The line of a segment from (dV1, dI1) to (dV2, dI2) crossed with a load
// of conductance dG to dVt; false when the two are parallel.
bool CrossSegment(double dV1, double dI1, double dV2, double dI2, double dG, double dVt,
                  double* pdV) {
    const double dStep = dV2 - dV1;
    const double dSlope = dStep < CHK_TINY ? CHK_HUGE : (dI2 - dI1) / dStep;
    if (std::fabs(dG + dSlope) < CHK_TINY) return false;
    *pdV = (dG * dVt - dI1 + dSlope * dV1) / (dG + dSlope);
    return std::isfinite(*pdV);
}

// Where a combined state table, walked in ascending voltage, meets a
// resistor dR to the voltage dVt: the segment that holds the crossing,
// the first segment's line below the table or the last one's above it.
bool LoadLine(CRV* pState, double dVt, double dR, eCorner eWhich, double* pdV) {
    TAV_ASSERT(pState != nullptr && pdV != nullptr);
    const double dG = dR < CHK_TINY ? CHK_HUGE : 1.0 / dR;
    double dV1, dI1, dV2, dI2;
    RNGP* pA = CRV_FirstPoint(pState->pRows, eWhich, &dV1, &dI1);
    RNGP* pB = CRV_NextPoint(pA, eWhich, &dV2, &dI2);
    if (pB == nullptr || dV2 < dV1) return false;
    for (bool bFirst = true;; bFirst = false) {
        double dV;
        if (!CrossSegment(dV1, dI1, dV2, dI2, dG, dVt, &dV)) return false;
        *pdV = dV;
        double dVn, dIn;
        RNGP* pNext = CRV_NextPoint(pB, eWhich, &dVn, &dIn);
        if ((dV1 <= dV && dV <= dV2) || (bFirst && dV < dV1) ||
            std::fabs(dV - dV1) < CHK_SAME_VOLTS || pNext == nullptr)
            return true;
        dV1 = dV2;
        dI1 = dI2;
        pB = pNext;
        dV2 = dVn;
        dI2 = dIn;
    }
}

// The pin-voltage state tables of one corner: low (driving low) and high
// (driving high), each with both clamps added.
struct StateTables {
    CRV* pLow = nullptr;
    CRV* pHigh = nullptr;
};

bool IsEclModel(const MDL* pMdl) {
    unsigned eType = MT_NOT_GIVEN;
    MDL_GetModelType(pMdl, &eType);
    return MDL_IsEcl(pMdl) || eType == MT_3_STATE_ECL;
}

// A copy of a table in one corner on the model's own voltages; an absent
// table or corner becomes a table of zero current.
CRV* CornerCopy(CRV* pCrv, eCorner eWhich) { return CRV_Combine(pCrv, CRV_ZeroTable(), eWhich); }

void FreeAll(CRV* const* ppCrv, int nCount) {
    for (int i = 0; i < nCount; ++i) CRV_Free(ppCrv[i]);
}

// Builds the corner's state tables; false (with nothing left allocated)
// when memory runs out.
bool MakeStates(const MDL* pMdl, eCorner eWhich, StateTables* pStates) {
    CRV* apModel[4] = {nullptr, nullptr, nullptr, nullptr};
    MDL_GetPulldown(pMdl, &apModel[0]);
    MDL_GetPullup(pMdl, &apModel[1]);
    MDL_GetPowerClamp(pMdl, &apModel[2]);
    MDL_GetGndClamp(pMdl, &apModel[3]);
    CRV* apCopy[4] = {nullptr, nullptr, nullptr, nullptr};
    for (int i = 0; i < 4; ++i) {
        apCopy[i] = CornerCopy(apModel[i], eWhich);
        if (apCopy[i] == nullptr) {
            FreeAll(apCopy, 4);
            return false;
        }
    }
    CRV* pPulldown = apCopy[0];
    CRV* pPullup = apCopy[1];
    CRV* pPowerClamp = apCopy[2];
    CRV* pGndClamp = apCopy[3];

    // Pull-ups, POWER clamps and ECL pull-downs are tabled against their
    // supply: pin voltage = reference - table voltage.
    double dPowerRef, dPullupRef, dGndRef, dPulldownRef;
    CRV_References(pMdl, eWhich, &dPowerRef, &dPullupRef, &dGndRef, &dPulldownRef);
    if (IsEclModel(pMdl)) CRV_NegateVoltages(pPulldown->pRows);
    CRV_ShiftVoltages(pPulldown->pRows, dPulldownRef);
    CRV_NegateVoltages(pPullup->pRows);
    CRV_ShiftVoltages(pPullup->pRows, dPullupRef);
    CRV_NegateVoltages(pPowerClamp->pRows);
    CRV_ShiftVoltages(pPowerClamp->pRows, dPowerRef);
    CRV_ShiftVoltages(pGndClamp->pRows, dGndRef);

    CRV* pClamps = CRV_Combine(pPowerClamp, pGndClamp, eWhich);
    if (pClamps != nullptr) {
        pStates->pLow = CRV_Combine(pClamps, pPulldown, eWhich);
        pStates->pHigh = CRV_Combine(pClamps, pPullup, eWhich);
    }
    CRV* apWork[5] = {pPulldown, pPullup, pPowerClamp, pGndClamp, pClamps};
    FreeAll(apWork, 5);
    if (pStates->pLow != nullptr && pStates->pHigh != nullptr) return true;
    CRV_Free(pStates->pLow);
    CRV_Free(pStates->pHigh);
    return false;
}

// The fixture of a waveform in a corner: its resistor and the voltage it
// goes to.
void FixtureLoad(const WVFRM* pWvfrm, eCorner eWhich, double* pdR, double* pdVt) {
    if (!WVFRM_GetRfixture(pWvfrm, pdR)) *pdR = CHK_OPEN_OHMS;
    if (!WVFRM_GetVfixture(pWvfrm, pdVt)) *pdVt = 0.0;
    if (eWhich == eCorner::MIN) WVFRM_GetVfixtureMin(pWvfrm, pdVt);
    if (eWhich == eCorner::MAX) WVFRM_GetVfixtureMax(pWvfrm, pdVt);
}

// The voltages a waveform starts and ends at in a corner; false unless it
// has two points there.
bool WaveformEnds(const WVFRM* pWvfrm, eCorner eWhich, double* pdFirst, double* pdLast) {
    RNGP* pRows = nullptr;
    WVFRM_GetRows(pWvfrm, &pRows);
    RNGP* pFirst = CRV_FirstPoint(pRows, eWhich, nullptr, pdFirst);
    RNGP* pLast = CRV_LastPoint(pRows, eWhich, nullptr, pdLast);
    return pFirst != nullptr && pLast != nullptr && pFirst != pLast;
}

// A waveform's settled voltages must be where the state tables meet its
// fixture, within 2 % of its swing.
bool CheckWaveformEnds(const char* pszModel, eCorner eWhich, const WVFRM* pWvfrm,
                       const StateTables& states, bool bRising) {
    double dR, dVt, dFirst, dLast;
    FixtureLoad(pWvfrm, eWhich, &dR, &dVt);
    if (!WaveformEnds(pWvfrm, eWhich, &dFirst, &dLast)) return false;
    const double dLowEnd = bRising ? dFirst : dLast;
    const double dHighEnd = bRising ? dLast : dFirst;
    double dLowCross, dHighCross;
    if (!LoadLine(states.pLow, dVt, dR, eWhich, &dLowCross) ||
        !LoadLine(states.pHigh, dVt, dR, eWhich, &dHighCross))
        return false;
    const double dTolerance = CHK_ENDPOINT_PERCENT / 100.0 * std::fabs(dHighEnd - dLowEnd);
    if (std::fabs(dLowCross - dLowEnd) <= dTolerance && std::fabs(dHighCross - dHighEnd) <= dTolerance)
        return false;
    DIAG_Warning("Model '%s': %s AC %s Endpoints (%5.2fV, %5.2fV) not within \n"
                 "          %5.3fV (%g%%) of (%5.2fV, %5.2fV) on VI curves for %g Ohms to %gV",
                 pszModel, CRV_CornerName(eWhich), bRising ? "Rising" : "Falling", dLowEnd,
                 dHighEnd, dTolerance, CHK_ENDPOINT_PERCENT, dLowCross, dHighCross, dR, dVt);
    return true;
}

// Driving low the pin must end below Vmeas and driving high above it
// under the timing test load, or the driver cannot switch that load.
bool CheckDriveVmeas(const MDL* pMdl, const char* pszModel, eCorner eWhich,
                     const StateTables& states) {
    double dVmeas, dRref, dVref;
    if (!MDL_GetVmeas(pMdl, &dVmeas) || !MDL_GetRref(pMdl, &dRref) || !MDL_GetVref(pMdl, &dVref))
        return false;
    double dLowCross, dHighCross;
    if (!LoadLine(states.pLow, dVref, dRref, eWhich, &dLowCross) ||
        !LoadLine(states.pHigh, dVref, dRref, eWhich, &dHighCross))
        return false;
    if (dLowCross <= dVmeas && dHighCross >= dVmeas) return false;
    DIAG_Warning("Model '%s': %s VI curves cannot drive through Vmeas=%gV\n"
                 "          given load Rref=%g Ohms to Vref=%gV",
                 pszModel, CRV_CornerName(eWhich), dVmeas, dRref, dVref);
    return true;
}

// The corner can be checked when it has a driver: a [Pulldown] or
// [Pullup] with two points in it, and no driver table that lacks the
// corner (a missing corner is no zero current: it takes the typical one).
bool HasDriverCorner(const MDL* pMdl, eCorner eWhich) {
    CRV* pPulldown = nullptr;
    CRV* pPullup = nullptr;
    MDL_GetPulldown(pMdl, &pPulldown);
    MDL_GetPullup(pMdl, &pPullup);
    if (pPulldown == nullptr && pPullup == nullptr) return false;
    for (const CRV* pCrv : {pPulldown, pPullup})
        if (pCrv != nullptr && CRV_TooFewPoints(pCrv->pRows, eWhich)) return false;
    return true;
}

bool CheckCorner(const MDL* pMdl, const char* pszModel, eCorner eWhich) {
    if (!HasDriverCorner(pMdl, eWhich)) return false;
    StateTables states;
    if (!MakeStates(pMdl, eWhich, &states)) return false;
    bool bWarned = false;
    WVFRM* pWvfrm = nullptr;
    for (MDL_GetRising(pMdl, &pWvfrm); pWvfrm != nullptr; WVFRM_GetNext(pWvfrm, &pWvfrm))
        bWarned |= CheckWaveformEnds(pszModel, eWhich, pWvfrm, states, true);
    pWvfrm = nullptr;
    for (MDL_GetFalling(pMdl, &pWvfrm); pWvfrm != nullptr; WVFRM_GetNext(pWvfrm, &pWvfrm))
        bWarned |= CheckWaveformEnds(pszModel, eWhich, pWvfrm, states, false);
    bWarned |= CheckDriveVmeas(pMdl, pszModel, eWhich, states);
    CRV_Free(states.pLow);
    CRV_Free(states.pHigh);
    return bWarned;
}

bool HasTimingLoad(const MDL* pMdl) {
    double d;
    return MDL_GetVmeas(pMdl, &d) && MDL_GetRref(pMdl, &d) && MDL_GetVref(pMdl, &d);
}

bool CheckConsistency(const MDL* pMdl, const char* pszModel) {
    WVFRM* pWvfrm = nullptr;
    if (!MDL_GetRising(pMdl, &pWvfrm) && !MDL_GetFalling(pMdl, &pWvfrm) && !HasTimingLoad(pMdl))
        return false;
    bool bWarned = false;
    for (eCorner eWhich : g_aeCorners) bWarned |= CheckCorner(pMdl, pszModel, eWhich);
    return bWarned;
}

bool CheckClamp(CRV* pCrv, const char* pszTable, const char* pszModel) {
    if (pCrv == nullptr) return false;
    bool bWarned = false;
    for (eCorner eWhich : g_aeCorners) {
        double dI;
        if (!CRV_ValueAt(pCrv, eWhich, &dI, CHK_CLAMP_VOLTS)) continue;
        if (!std::isfinite(dI) || std::fabs(dI) <= CHK_CLAMP_LIMIT_AMPS) continue;
        DIAG_Warning("Model '%s': Extreme currents present in %s %s VI Curve (%gA @ %gV)", pszModel,
                     CRV_CornerName(eWhich), pszTable, dI, CHK_CLAMP_VOLTS);
        bWarned = true;
    }
    return bWarned;
}

bool CheckClampCurrents(const MDL* pMdl, const char* pszModel) {
    CRV* pCrv = nullptr;
    MDL_GetGndClamp(pMdl, &pCrv);
    bool bWarned = CheckClamp(pCrv, "GND_Clamp", pszModel);
    pCrv = nullptr;
    MDL_GetPowerClamp(pMdl, &pCrv);
    bWarned |= CheckClamp(pCrv, "POWER_Clamp", pszModel);
    return bWarned;
}

bool AnyCurrent(const CRV* pCrv) {
    if (pCrv == nullptr) return false;
    for (RNGP* pRow = pCrv->pRows; pRow != nullptr; RNGP_GetNext(pRow, &pRow)) {
        double d;
        if ((RNGP_GetTyp(pRow, &d) && d != 0.0) || (RNGP_GetMin(pRow, &d) && d != 0.0) ||
            (RNGP_GetMax(pRow, &d) && d != 0.0))
            return true;
    }
    return false;
}

// A device that only sinks (or only sources) current has nothing to drive
// the other way with.
bool CheckOpenDrain(const MDL* pMdl, const char* pszModel) {
    unsigned eType = MT_NOT_GIVEN;
    MDL_GetModelType(pMdl, &eType);
    CRV* pCrv = nullptr;
    switch (eType) {
        case MT_OPEN_DRAIN:
        case MT_IO_OPEN_DRAIN:
        case MT_OPEN_SINK:
        case MT_IO_OPEN_SINK:
            if (!MDL_GetPullup(pMdl, &pCrv) || !AnyCurrent(pCrv)) return false;
            DIAG_Warning("Model '%s': Currents <> 0.0mA in 'Pullup' for Open_drain/Open_sink device",
                         pszModel);
            return true;
        case MT_OPEN_SOURCE:
        case MT_IO_OPEN_SOURCE:
            if (!MDL_GetPulldown(pMdl, &pCrv) || !AnyCurrent(pCrv)) return false;
            DIAG_Warning("Model '%s': Currents <> 0.0mA in 'Pulldown' for Open_source device",
                         pszModel);
            return true;
    }
    return false;
}

bool CheckCurves(const MDL* pMdl) {
    const char* pszName = "";
    MDL_GetName(pMdl, &pszName);
    bool bWarned = CheckConsistency(pMdl, pszName);
    bWarned |= CheckClampCurrents(pMdl, pszName);
    bWarned |= CheckOpenDrain(pMdl, pszName);
    return bWarned;
}

}  // namespace

int CHK_Curves(MDL* pMdlList) {
    if (!g_chk.bCurveChecks) return 0;
    int nWarned = 0;
    for (const MDL* pMdl = pMdlList; pMdl != nullptr; pMdl = pMdl->pNext)
        if (CheckCurves(pMdl)) ++nWarned;
    return nWarned;
}

int CHK_Models(MDL* pMdlList) {
    if (!g_chk.bRangeChecks) return 0;
    int nWarned = 0;
    for (const MDL* pMdl = pMdlList; pMdl != nullptr; pMdl = pMdl->pNext)
        if (CheckModelRanges(pMdl)) ++nWarned;
    return nWarned;
}

int CHK_Components(CMPNT* pCmpntList) {
    if (!g_chk.bRangeChecks) return 0;
    int nWarned = 0;
    for (CMPNT* pCmpnt = pCmpntList; pCmpnt != nullptr; CMPNT_GetNext(pCmpnt, &pCmpnt))
        if (CheckComponent(pCmpnt)) ++nWarned;
    return nWarned;
}

int CHK_Submodels(SUBMDL* pSubmdlList) {
    if (!g_chk.bRangeChecks) return 0;
    int nWarned = 0;
    for (const SUBMDL* pSub = pSubmdlList; pSub != nullptr; pSub = pSub->pNext)
        if (CheckRamp(pSub->pRamp, "Sub Model", pSub->szName)) ++nWarned;
    return nWarned;
}

void CHK_SetRangeChecks(int bOn) { g_chk.bRangeChecks = bOn != 0; }

void CHK_SetCurveChecks(int bOn) { g_chk.bCurveChecks = bOn != 0; }
