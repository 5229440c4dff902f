// Plausibility checks of a component file, called by the read driver's
// end-of-file step after the whole file has been read: package, pin and die values and ramp
// times against fixed ranges, and the I-V tables of each model against its
// own waveform end voltages and timing test load.
//
// State: the two process-wide switches of the check groups, both on from
// the start.  The I-V checks work on tables of their own, made afresh from
// the model's tables for each corner in storage that one CHK_Curves call
// keeps from corner to corner (a large file has thousands of corners); the
// model's records are only read.
#define TAV_MODULE "chk"
#include "model/chk.h"

#include <cmath>
#include <initializer_list>
#include <vector>

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
bool LoadLine(const CRVPTS& state, double dVt, double dR, double* pdV) {
    TAV_ASSERT(pdV != nullptr);
    const double dG = dR < CHK_TINY ? CHK_HUGE : 1.0 / dR;
    const std::vector<double>& adV = state.adV;
    const std::vector<double>& adI = state.adI;
    if (adV.size() < 2 || adV[1] < adV[0]) return false;
    for (size_t b = 1;; ++b) {
        const double dV1 = adV[b - 1];
        double dV;
        if (!CrossSegment(dV1, adI[b - 1], adV[b], adI[b], dG, dVt, &dV)) return false;
        *pdV = dV;
        if ((dV1 <= dV && dV <= adV[b]) || (b == 1 && dV < dV1) ||
            std::fabs(dV - dV1) < CHK_SAME_VOLTS || b + 1 == adV.size())
            return true;
    }
}

// The working tables of one corner, kept from corner to corner so that
// their storage is made once per file: the four copies on pin voltages and
// the combined states low (driving low) and high (driving high), each
// with both clamps added.
struct CornerTables {
    CRVROWS scratch;
    CRVPTS pulldown, pullup, powerClamp, gndClamp;
    CRVPTS clamps;
    CRVPTS low, high;
};

bool IsEclModel(const MDL* pMdl) {
    unsigned eType = MT_NOT_GIVEN;
    MDL_GetModelType(pMdl, &eType);
    return MDL_IsEcl(pMdl) || eType == MT_3_STATE_ECL;
}

// Copies of the four tables in the corner on the model's own voltages (an
// absent table or corner becomes a table of zero current), moved to pin
// voltages: pull-ups, POWER clamps and ECL pull-downs are tabled against
// their supply, pin voltage = reference - table voltage.
bool MakeCopies(const MDL* pMdl, eCorner eWhich, CornerTables* pTables) {
    CRV* apModel[4] = {nullptr, nullptr, nullptr, nullptr};
    MDL_GetPulldown(pMdl, &apModel[0]);
    MDL_GetPullup(pMdl, &apModel[1]);
    MDL_GetPowerClamp(pMdl, &apModel[2]);
    MDL_GetGndClamp(pMdl, &apModel[3]);
    CRVPTS* apCopy[4] = {&pTables->pulldown, &pTables->pullup, &pTables->powerClamp,
                         &pTables->gndClamp};
    for (int i = 0; i < 4; ++i)
        if (!CRV_CornerPoints(apModel[i], eWhich, &pTables->scratch, apCopy[i])) return false;

    double dPowerRef, dPullupRef, dGndRef, dPulldownRef;
    CRV_References(pMdl, eWhich, &dPowerRef, &dPullupRef, &dGndRef, &dPulldownRef);
    if (IsEclModel(pMdl)) CRV_NegatePoints(&pTables->pulldown);
    CRV_ShiftPoints(&pTables->pulldown, dPulldownRef);
    CRV_NegatePoints(&pTables->pullup);
    CRV_ShiftPoints(&pTables->pullup, dPullupRef);
    CRV_NegatePoints(&pTables->powerClamp);
    CRV_ShiftPoints(&pTables->powerClamp, dPowerRef);
    CRV_ShiftPoints(&pTables->gndClamp, dGndRef);
    return true;
}

// Builds the corner's state tables; false when memory runs out.
bool MakeStates(const MDL* pMdl, eCorner eWhich, CornerTables* pTables) {
    return MakeCopies(pMdl, eWhich, pTables) &&
           CRV_CombinePoints(&pTables->powerClamp, &pTables->gndClamp, &pTables->clamps) &&
           CRV_CombinePoints(&pTables->clamps, &pTables->pulldown, &pTables->low) &&
           CRV_CombinePoints(&pTables->clamps, &pTables->pullup, &pTables->high);
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
                       const CornerTables& states, bool bRising) {
    double dR, dVt, dFirst, dLast;
    FixtureLoad(pWvfrm, eWhich, &dR, &dVt);
    if (!WaveformEnds(pWvfrm, eWhich, &dFirst, &dLast)) return false;
    const double dLowEnd = bRising ? dFirst : dLast;
    const double dHighEnd = bRising ? dLast : dFirst;
    double dLowCross, dHighCross;
    if (!LoadLine(states.low, dVt, dR, &dLowCross) || !LoadLine(states.high, dVt, dR, &dHighCross))
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
                     const CornerTables& states) {
    double dVmeas, dRref, dVref;
    if (!MDL_GetVmeas(pMdl, &dVmeas) || !MDL_GetRref(pMdl, &dRref) || !MDL_GetVref(pMdl, &dVref))
        return false;
    double dLowCross, dHighCross;
    if (!LoadLine(states.low, dVref, dRref, &dLowCross) ||
        !LoadLine(states.high, dVref, dRref, &dHighCross))
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

bool CheckCorner(const MDL* pMdl, const char* pszModel, eCorner eWhich, CornerTables* pTables) {
    if (!HasDriverCorner(pMdl, eWhich)) return false;
    if (!MakeStates(pMdl, eWhich, pTables)) return false;
    const CornerTables& states = *pTables;
    bool bWarned = false;
    WVFRM* pWvfrm = nullptr;
    for (MDL_GetRising(pMdl, &pWvfrm); pWvfrm != nullptr; WVFRM_GetNext(pWvfrm, &pWvfrm))
        bWarned |= CheckWaveformEnds(pszModel, eWhich, pWvfrm, states, true);
    pWvfrm = nullptr;
    for (MDL_GetFalling(pMdl, &pWvfrm); pWvfrm != nullptr; WVFRM_GetNext(pWvfrm, &pWvfrm))
        bWarned |= CheckWaveformEnds(pszModel, eWhich, pWvfrm, states, false);
    bWarned |= CheckDriveVmeas(pMdl, pszModel, eWhich, states);
    return bWarned;
}

bool HasTimingLoad(const MDL* pMdl) {
    double d;
    return MDL_GetVmeas(pMdl, &d) && MDL_GetRref(pMdl, &d) && MDL_GetVref(pMdl, &d);
}

bool CheckConsistency(const MDL* pMdl, const char* pszModel, CornerTables* pTables) {
    WVFRM* pWvfrm = nullptr;
    if (!MDL_GetRising(pMdl, &pWvfrm) && !MDL_GetFalling(pMdl, &pWvfrm) && !HasTimingLoad(pMdl))
        return false;
    bool bWarned = false;
    for (eCorner eWhich : g_aeCorners) bWarned |= CheckCorner(pMdl, pszModel, eWhich, pTables);
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

bool CheckCurves(const MDL* pMdl, CornerTables* pTables) {
    const char* pszName = "";
    MDL_GetName(pMdl, &pszName);
    bool bWarned = CheckConsistency(pMdl, pszName, pTables);
    bWarned |= CheckClampCurrents(pMdl, pszName);
    bWarned |= CheckOpenDrain(pMdl, pszName);
    return bWarned;
}

}  // namespace

int CHK_Curves(MDL* pMdlList) {
    if (!g_chk.bCurveChecks) return 0;
    int nWarned = 0;
    CornerTables tables;
    for (const MDL* pMdl = pMdlList; pMdl != nullptr; pMdl = pMdl->pNext)
        if (CheckCurves(pMdl, &tables)) ++nWarned;
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
