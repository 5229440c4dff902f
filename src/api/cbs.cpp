// The compiled component model writer.  Owns the output of one write (a
// file beside the final path, renamed into place when complete); reads the
// IBIS document of a finished read.  Called by the model library manager
// after a successful compile and by the `tavelin compile` command.
#define TAV_MODULE "cbs"

#include "api/cbs.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "api/cloc.h"
#include "component/cmpnt.h"
#include "component/difpin.h"
#include "component/pin.h"
#include "component/pinmpg.h"
#include "component/pkg.h"
#include "component/spinmpg.h"
#include "model/crv.h"
#include "model/mdl.h"
#include "model/mspec.h"
#include "model/ramp.h"
#include "model/sinfo.h"
#include "model/wvfrm.h"
#include "platform/platform.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "reader/hdr.h"
#include "core/document.h"
#include "core/rng.h"
#include "core/tav_assert.h"

namespace {

// Texts are cut after their quotes are doubled.
const size_t kCopyrightMax = 40;
const size_t kTextMax = 2048;

struct CBS_OUTPUT {
    FILE* pFile = nullptr;
    std::string strPath;
    std::string strTemp;
};

CBS_OUTPUT g_out;

void Put(const char* pszFormat, ...) TAV_PRINTF(1, 2);

void Put(const char* pszFormat, ...) {
    TAV_ASSERT(g_out.pFile != nullptr);
    va_list args;
    va_start(args, pszFormat);
    vfprintf(g_out.pFile, pszFormat, args);
    va_end(args);
}

// The text in double quotes, inner quotes doubled, cut to nMax characters
// between the quotes.  A cut never splits a doubled quote: its lone half
// would close the text early and take the following lines into it.
std::string Quoted(const char* pszText, size_t nMax = kTextMax) {
    std::string str;
    for (const char* p = pszText != nullptr ? pszText : ""; *p != '\0'; ++p) {
        if (*p == '"') str += '"';
        str += *p;
    }
    if (str.size() > nMax) {
        size_t nQuotes = 0;
        while (nQuotes < nMax && str[nMax - 1 - nQuotes] == '"') ++nQuotes;
        str.resize(nQuotes % 2 == 1 ? nMax - 1 : nMax);
    }
    return "\"" + str + "\"";
}

double Corner(const RNG* pRng, eCorner eWhich) {
    double d = 0.0;
    RNG_GetCorner(pRng, eWhich, &d);
    return d;
}

// "keyword typ min max" in %g; a missing minimum or maximum is the typical value.
void PutTriple(const char* pszKeyword, const RNG* pRng) {
    if (pRng == nullptr) return;
    Put("%s %g %g %g\n", pszKeyword, Corner(pRng, eCorner::TYP), Corner(pRng, eCorner::MIN),
        Corner(pRng, eCorner::MAX));
}

// The same with six decimals.
void PutTripleFixed(const char* pszKeyword, const RNG* pRng) {
    if (pRng == nullptr) return;
    Put("%s %f %f %f\n", pszKeyword, Corner(pRng, eCorner::TYP), Corner(pRng, eCorner::MIN),
        Corner(pRng, eCorner::MAX));
}

bool IsSupplyModel(const char* pszModel) {
    return CMN_StrEqualNoCase(pszModel, "POWER") || CMN_StrEqualNoCase(pszModel, "GND");
}

// ------------------------------------------------------------ look-ups of one component

// Everything a pin group looks up, indexed once per component so that a
// component of many pins is written in linear time.
class CBS_COMPONENT {
public:
    CBS_COMPONENT(CMPNT* pCmpnt, MDL* pMdlList);

    MDL* Model(const char* pszName) const { return Lookup(m_models, pszName); }
    DIFPIN* DiffRow(const char* pszPin) const { return Lookup(m_diffRows, pszPin); }
    PINMPG* MapRow(const char* pszPin) const { return m_pinMap.Find(pszPin); }
    bool HasPinMap() const { return m_pCmpnt->pPinMapList != nullptr; }
    const std::vector<SPINMPG*>* SeriesRows(const char* pszPin) const;
    const std::vector<const char*>* SupplyPins(const char* pszBus) const;
    bool IsUsed(const MDL* pMdl) const { return m_used.count(pMdl->szName) != 0; }

private:
    template <typename T>
    static T* Lookup(const std::unordered_map<std::string, T*>& map, const char* pszKey) {
        auto it = map.find(pszKey);
        return it == map.end() ? nullptr : it->second;
    }

    CMPNT* m_pCmpnt;
    PINMPG_INDEX m_pinMap;
    std::unordered_map<std::string, MDL*> m_models;
    std::unordered_map<std::string, DIFPIN*> m_diffRows;
    std::unordered_map<std::string, std::vector<SPINMPG*>> m_seriesRows;
    std::unordered_map<std::string, std::vector<const char*>> m_supplyPins;
    std::unordered_set<std::string> m_used;
};

CBS_COMPONENT::CBS_COMPONENT(CMPNT* pCmpnt, MDL* pMdlList)
    : m_pCmpnt(pCmpnt), m_pinMap(pCmpnt->pPinMapList) {
    // The first record of a name counts, as a walk from the head would find.
    for (MDL* pMdl = pMdlList; pMdl != nullptr; pMdl = pMdl->pNext)
        m_models.emplace(pMdl->szName, pMdl);
    for (DIFPIN* pRow = pCmpnt->pDiffPinList; pRow != nullptr; pRow = pRow->pNext) {
        m_diffRows.emplace(pRow->szDiffPin, pRow);
        m_diffRows.emplace(pRow->szInvPin, pRow);
    }
    for (SPINMPG* pRow = pCmpnt->pSpinMapList; pRow != nullptr; pRow = pRow->pNext) {
        m_seriesRows[pRow->szPin1].push_back(pRow);
        if (strcmp(pRow->szPin1, pRow->szPin2) != 0) m_seriesRows[pRow->szPin2].push_back(pRow);
    }
    for (PIN* pPin = pCmpnt->pPinList; pPin != nullptr; pPin = pPin->pNext) {
        m_used.insert(pPin->szModelName);
        if (!IsSupplyModel(pPin->szModelName)) continue;
        const PINMPG* pRow = m_pinMap.Find(pPin->szPinName);
        if (pRow == nullptr) continue;
        if (pRow->szPulldownRef[0] != '\0')
            m_supplyPins[pRow->szPulldownRef].push_back(pPin->szPinName);
        if (pRow->szPullupRef[0] != '\0' && strcmp(pRow->szPullupRef, pRow->szPulldownRef) != 0)
            m_supplyPins[pRow->szPullupRef].push_back(pPin->szPinName);
    }
}

const std::vector<SPINMPG*>* CBS_COMPONENT::SeriesRows(const char* pszPin) const {
    auto it = m_seriesRows.find(pszPin);
    return it == m_seriesRows.end() ? nullptr : &it->second;
}

const std::vector<const char*>* CBS_COMPONENT::SupplyPins(const char* pszBus) const {
    auto it = m_supplyPins.find(pszBus);
    return it == m_supplyPins.end() ? nullptr : &it->second;
}

// ------------------------------------------------------------ pin group

void PutPinValues(const PIN* pPin) {
    double d;
    if (PIN_GetCpin(pPin, &d)) Put("C_Pin %g\n", d);
    if (PIN_GetLpin(pPin, &d)) Put("L_Pin %g\n", d);
    if (PIN_GetRpin(pPin, &d)) Put("R_Pin %g\n", d);
}

void PutSeriesPartners(const PIN* pPin, const CBS_COMPONENT& cmp) {
    const std::vector<SPINMPG*>* pRows = cmp.SeriesRows(pPin->szPinName);
    if (pRows == nullptr) return;
    for (const SPINMPG* pRow : *pRows) {
        const MDL* pMdl = cmp.Model(pRow->szModel);
        if (pMdl == nullptr || pMdl->eModelType != MT_SERIES) continue;
        const char* pszOther = strcmp(pRow->szPin1, pPin->szPinName) == 0 ? pRow->szPin2 : pRow->szPin1;
        Put("series_2nd_pin %s %s\n", Quoted(pszOther).c_str(), Quoted(pMdl->szName).c_str());
        const SINFO* pOn = pMdl->pSeriesOn;
        if (pOn == nullptr) continue;
        PutTriple("series_r", pOn->pRseries);
        PutTriple("series_l", pOn->pLseries);
        PutTriple("series_c", pOn->pCseries);
        PutTriple("series_rl", pOn->pRlSeries);
        PutTriple("series_lc", pOn->pLcSeries);
        PutTriple("series_rc", pOn->pRcSeries);
    }
}

void PutDiffPartner(const PIN* pPin, const DIFPIN* pRow) {
    const bool bFirst = strcmp(pRow->szDiffPin, pPin->szPinName) == 0;
    Put("diff_2nd_pin %s\n", Quoted(bFirst ? pRow->szInvPin : pRow->szDiffPin).c_str());
    Put("diff_polarity %d\n", bFirst ? 1 : 0);
    double d;
    if (DIFPIN_GetVdiff(pRow, &d)) Put("vdiff %f\n", d);
    double dTyp;
    if (!DIFPIN_GetTdelayTyp(pRow, &dTyp)) return;
    double dMin = dTyp, dMax = dTyp;
    DIFPIN_GetTdelayMin(pRow, &dMin);
    DIFPIN_GetTdelayMax(pRow, &dMax);
    // %g: a delay in seconds with six decimals would lose everything below
    // a microsecond.
    Put("tdelay %g %g %g\n", dTyp, dMin, dMax);
}

// dV/dt of one edge for the corner; a missing corner takes the typical ratio.
bool EdgeRatio(const RAMPVAL* pEdge, eCorner eWhich, double* pdDv, double* pdDt) {
    if (eWhich == eCorner::MIN && RAMP_GetMin(pEdge, pdDv, pdDt)) return true;
    if (eWhich == eCorner::MAX && RAMP_GetMax(pEdge, pdDv, pdDt)) return true;
    return RAMP_GetTyp(pEdge, pdDv, pdDt) != 0;
}

double Rate(const RAMPVAL* pEdge, eCorner eWhich) {
    double dDv = 0.0, dDt = 0.0;
    if (!EdgeRatio(pEdge, eWhich, &dDv, &dDt) || dDt == 0.0) return 0.0;
    return dDv / dDt;
}

void PutEdgeRate(const MDL* pMdl) {
    RAMPVAL* pRising = nullptr;
    RAMPVAL* pFalling = nullptr;
    if (pMdl->pRamp == nullptr || !RAMP_GetRates(pMdl->pRamp, &pRising, &pFalling)) return;
    double ad[CORNER_COUNT];
    for (eCorner e : g_aeCorners) ad[CornerIndex(e)] = std::fmax(Rate(pRising, e), Rate(pFalling, e));
    Put("ERate %g %g %g\n", ad[CornerIndex(eCorner::TYP)], ad[CornerIndex(eCorner::MIN)],
        ad[CornerIndex(eCorner::MAX)]);
}

// A single [Model] value written as a triple.
void PutSingleAsTriple(const char* pszKeyword, const double* pd) {
    if (pd != nullptr) Put("%s %f %f %f\n", pszKeyword, *pd, *pd, *pd);
}

void PutThresholds(const MDL* pMdl) {
    const MSPEC* pSpec = pMdl->pMdlSpec;
    const MSPEC none{};
    if (pSpec == nullptr) pSpec = &none;
    PutTripleFixed("vinh_plus", pSpec->pVinhPlus);
    PutTripleFixed("vinh_minus", pSpec->pVinhMinus);
    PutTripleFixed("vinl_plus", pSpec->pVinlPlus);
    PutTripleFixed("vinl_minus", pSpec->pVinlMinus);
    PutTripleFixed("over_high_s", pSpec->pSOvershootHigh);
    PutTripleFixed("over_low_s", pSpec->pSOvershootLow);
    PutTripleFixed("over_high_d", pSpec->pDOvershootHigh);
    PutTripleFixed("over_low_d", pSpec->pDOvershootLow);
    if (pSpec->pDOvershootTime != nullptr)  // seconds: %g, as for tdelay
        Put("over_time_d %g %g %g\n", Corner(pSpec->pDOvershootTime, eCorner::TYP),
            Corner(pSpec->pDOvershootTime, eCorner::MIN), Corner(pSpec->pDOvershootTime, eCorner::MAX));
    PutTripleFixed("vmeas", pSpec->pVmeas);
    if (pSpec->pVinhPlus == nullptr) PutSingleAsTriple("vinh_plus", pMdl->pdVinh);
    if (pSpec->pVinlMinus == nullptr) PutSingleAsTriple("vinl_minus", pMdl->pdVinl);
    if (pSpec->pVmeas == nullptr) PutSingleAsTriple("vmeas", pMdl->pdVmeas);
}

void PutModelValues(const MDL* pMdl) {
    PutEdgeRate(pMdl);
    PutTriple("VoltRange", pMdl->pVoltRange);
    PutTriple("PullUpRef", pMdl->pPullupRef);
    PutTriple("PullDownRef", pMdl->pPulldownRef);
    PutTriple("PowerClampRef", pMdl->pPowerClampRef);
    PutTriple("GndClampRef", pMdl->pGndClampRef);
    if (pMdl->eModelType == MT_TERMINATOR) {
        PutTriple("term_rgnd", pMdl->pRgnd);
        PutTriple("term_rpwr", pMdl->pRpower);
        PutTriple("term_rac ", pMdl->pRac);
        PutTriple("term_cac ", pMdl->pCac);
    }
    PutThresholds(pMdl);
}

// One supply line per bus label of the pin's mapping row that names
// supply pins.
void PutSupplyPartners(const PIN* pPin, const CBS_COMPONENT& cmp) {
    if (!cmp.HasPinMap() || IsSupplyModel(pPin->szModelName)) return;
    const PINMPG* pRow = cmp.MapRow(pPin->szPinName);
    if (pRow == nullptr) return;
    const struct {
        const char* pszKeyword;
        const char* pszBus;
    } aLines[] = {{"PU_Pin", pRow->szPullupRef},
                  {"PD_Pin", pRow->szPulldownRef},
                  {"PC_Pin", pRow->szPowerClampRef},
                  {"GC_Pin", pRow->szGndClampRef}};
    for (const auto& line : aLines) {
        if (line.pszBus[0] == '\0' || CMN_StrEqualNoCase(line.pszBus, "NC")) continue;
        const std::vector<const char*>* pPins = cmp.SupplyPins(line.pszBus);
        if (pPins == nullptr) continue;
        Put("%s", line.pszKeyword);
        for (const char* pszPin : *pPins) Put(" %s", Quoted(pszPin).c_str());
        Put("\n");
    }
}

void PutPin(const PIN* pPin, const CBS_COMPONENT& cmp) {
    const MDL* pMdl = cmp.Model(pPin->szModelName);
    const DIFPIN* pDiff = cmp.DiffRow(pPin->szPinName);
    Put("Pin %s %s %s %1d %1d\n", Quoted(pPin->szPinName).c_str(),
        Quoted(pPin->szSignalName).c_str(), Quoted(pPin->szModelName).c_str(),
        pDiff != nullptr ? 1 : 0, pMdl != nullptr ? static_cast<int>(pMdl->eModelType) : static_cast<int>(MT_NO_TYPE));
    PutPinValues(pPin);
    PutSeriesPartners(pPin, cmp);
    if (pDiff != nullptr) PutDiffPartner(pPin, pDiff);
    if (pMdl != nullptr) PutModelValues(pMdl);
    PutSupplyPartners(pPin, cmp);
}

void PutComponent(CMPNT* pCmpnt, const CBS_COMPONENT& cmp) {
    Put("Component %s\n", Quoted(pCmpnt->szName).c_str());
    if (pCmpnt->szManufacturer[0] != '\0')
        Put("Manufacturer %s\n", Quoted(pCmpnt->szManufacturer).c_str());
    if (pCmpnt->pPkg != nullptr) {
        PutTriple("C_Pkg", pCmpnt->pPkg->pCpkg);
        PutTriple("R_Pkg", pCmpnt->pPkg->pRpkg);
        PutTriple("L_Pkg", pCmpnt->pPkg->pLpkg);
    }
    int nPins = 0;
    for (PIN* pPin = pCmpnt->pPinList; pPin != nullptr; pPin = pPin->pNext) ++nPins;
    Put("Num_Pins %d\n", nPins);
    for (PIN* pPin = pCmpnt->pPinList; pPin != nullptr; pPin = pPin->pNext) PutPin(pPin, cmp);
}

// ------------------------------------------------------------ model blocks

bool HasOwnRng(const RNG* pRng, eCorner eWhich) {
    double d;
    return pRng != nullptr && RNG_CornerState(pRng, eWhich, &d) == VALUE_NUMBER;
}

// A table has a column for the corner when its first row has a number there.
bool HasColumn(const RNGP* pRows, eCorner eWhich) {
    return pRows != nullptr && RNGP_HasCorner(pRows, eWhich);
}

bool HasOwnEdge(const RAMPVAL* pEdge, eCorner eWhich) {
    return pEdge != nullptr && pEdge->aRatio[CornerIndex(eWhich)].eState == VALUE_NUMBER;
}

// Whether the model gives values of its own for the minimum (maximum) corner.
bool HasOwnCorner(const MDL* pMdl, eCorner eWhich) {
    const MSPEC* pSpec = pMdl->pMdlSpec;
    if (pSpec != nullptr) {
        for (const RNG* pRng : {pSpec->pVinhPlus, pSpec->pVinhMinus, pSpec->pVinlPlus,
                                pSpec->pVinlMinus, pSpec->pSOvershootHigh, pSpec->pSOvershootLow})
            if (HasOwnRng(pRng, eWhich)) return true;
    }
    for (const RNG* pRng : {pMdl->pCcomp, pMdl->pRgnd, pMdl->pRpower, pMdl->pRac, pMdl->pCac})
        if (HasOwnRng(pRng, eWhich)) return true;
    for (const CRV* pCrv : {pMdl->pPullup, pMdl->pPulldown, pMdl->pPowerClamp, pMdl->pGndClamp})
        if (pCrv != nullptr && HasColumn(pCrv->pRows, eWhich)) return true;
    for (const WVFRM* pWv : {pMdl->pRising, pMdl->pFalling})
        if (pWv != nullptr && HasColumn(pWv->pRows, eWhich)) return true;
    if (pMdl->pRamp != nullptr &&
        (HasOwnEdge(pMdl->pRamp->pDvdtR, eWhich) || HasOwnEdge(pMdl->pRamp->pDvdtF, eWhich)))
        return true;
    return false;
}

void PutCornerValue(const char* pszKeyword, const RNG* pRng, eCorner eWhich) {
    if (pRng != nullptr) Put("%s %g\n", pszKeyword, Corner(pRng, eWhich));
}

// Rows of a table for the corner: its own column when the table has one
// (a row without a value there is left out), else the typical column.
void PutRows(const char* pszKeyword, const RNGP* pRows, eCorner eWhich) {
    if (pRows == nullptr) return;
    const eCorner eColumn = HasColumn(pRows, eWhich) ? eWhich : eCorner::TYP;
    Put("%s\n", pszKeyword);
    for (const RNGP* pRow = pRows; pRow != nullptr; pRow = pRow->pNext) {
        double dY;
        if (RNGP_CornerState(pRow, eColumn, &dY) != VALUE_NUMBER) continue;
        Put("%g %g\n", pRow->dX, dY);
    }
}

void PutTable(const char* pszKeyword, const CRV* pCrv, eCorner eWhich) {
    if (pCrv != nullptr) PutRows(pszKeyword, pCrv->pRows, eWhich);
}

double Sum(const double* pdA, const double* pdB) {
    return (pdA != nullptr ? *pdA : 0.0) + (pdB != nullptr ? *pdB : 0.0);
}

// A waveform's rows and fixture; the suffix is "r" or "f".
void PutWaveform(const char* pszKeyword, const WVFRM* pWv, char cEdge, eCorner eWhich) {
    if (pWv == nullptr) return;
    PutRows(pszKeyword, pWv->pRows, eWhich);
    if (pWv->pdVfixture != nullptr) Put("v_fix_%c %g\n", cEdge, *pWv->pdVfixture);
    if (pWv->pdRfixture != nullptr || pWv->pdRdut != nullptr)
        Put("r_fix_%c %g\n", cEdge, Sum(pWv->pdRfixture, pWv->pdRdut));
    if (pWv->pdLfixture != nullptr || pWv->pdLdut != nullptr)
        Put("l_fix_%c %g\n", cEdge, Sum(pWv->pdLfixture, pWv->pdLdut));
    if (pWv->pdCfixture != nullptr || pWv->pdCdut != nullptr)
        Put("c_fix_%c %g\n", cEdge, Sum(pWv->pdCfixture, pWv->pdCdut));
}

void PutRamp(const RAMP* pRamp, eCorner eWhich) {
    if (pRamp == nullptr) return;
    double d;
    if (RAMP_GetRload(pRamp, &d)) Put("r_load %g\n", d);
    RAMPVAL* pRising = nullptr;
    RAMPVAL* pFalling = nullptr;
    if (!RAMP_GetRates(pRamp, &pRising, &pFalling)) return;
    double dDv = 0.0, dDt = 0.0;
    EdgeRatio(pRising, eWhich, &dDv, &dDt);
    Put("dv_r %g dt_r %g\n", dDv, dDt);
    dDv = dDt = 0.0;
    EdgeRatio(pFalling, eWhich, &dDv, &dDt);
    Put("dv_f %g dt_f %g\n", dDv, dDt);
}

void PutCornerBody(const MDL* pMdl, eCorner eWhich) {
    if (pMdl->pdVinl != nullptr) Put("vinl %g\n", *pMdl->pdVinl);
    if (pMdl->pdVinh != nullptr) Put("vinh %g\n", *pMdl->pdVinh);
    if (const MSPEC* pSpec = pMdl->pMdlSpec) {
        PutCornerValue("Vinh+", pSpec->pVinhPlus, eWhich);
        PutCornerValue("Vinh-", pSpec->pVinhMinus, eWhich);
        PutCornerValue("Vinl+", pSpec->pVinlPlus, eWhich);
        PutCornerValue("Vinl-", pSpec->pVinlMinus, eWhich);
        PutCornerValue("S_overshoot_high", pSpec->pSOvershootHigh, eWhich);
        PutCornerValue("S_overshoot_low", pSpec->pSOvershootLow, eWhich);
    }
    PutCornerValue("c_comp", pMdl->pCcomp, eWhich);
    PutTable("pullup", pMdl->pPullup, eWhich);
    PutTable("pulldown", pMdl->pPulldown, eWhich);
    PutTable("power_clamp", pMdl->pPowerClamp, eWhich);
    PutTable("gnd_clamp", pMdl->pGndClamp, eWhich);
    PutCornerValue("rgnd", pMdl->pRgnd, eWhich);
    PutCornerValue("rpower", pMdl->pRpower, eWhich);
    PutCornerValue("rac", pMdl->pRac, eWhich);
    PutCornerValue("cac", pMdl->pCac, eWhich);
    PutRamp(pMdl->pRamp, eWhich);
    PutWaveform("rising_waveform", pMdl->pRising, 'r', eWhich);
    PutWaveform("falling_waveform", pMdl->pFalling, 'f', eWhich);
}

void PutModel(const MDL* pMdl) {
    Put("\nModel %s\n", Quoted(pMdl->szName).c_str());
    const char* pszType = "";
    MDL_GetModelTypeText(pMdl, &pszType);
    if (CMN_StrEqualNoCase(pszType, "3-state")) pszType = "tristate";
    Put("Type %s\n", Quoted(pszType).c_str());
    if (HasOwnCorner(pMdl, eCorner::MIN)) {
        Put("\nMin_Model\n");
        PutCornerBody(pMdl, eCorner::MIN);
    }
    if (HasOwnCorner(pMdl, eCorner::MAX)) {
        Put("\nMax_Model\n");
        PutCornerBody(pMdl, eCorner::MAX);
    }
    Put("\nTyp_Model\n");
    PutCornerBody(pMdl, eCorner::TYP);
}

// ------------------------------------------------------------ the file

void PutFile(const HDR* pHdr, CMPNT* pCmpnt, MDL* pMdlList) {
    Put("File_Rev 3 0\n");
    const char* psz;
    if (HDR_GetCopyright(pHdr, &psz)) Put("Copyright %s\n", Quoted(psz, kCopyrightMax).c_str());
    if (HDR_GetFileName(pHdr, &psz)) Put("Src_Name %s\n", Quoted(psz).c_str());
    const CBS_COMPONENT cmp(pCmpnt, pMdlList);
    PutComponent(pCmpnt, cmp);
    for (const MDL* pMdl = pMdlList; pMdl != nullptr; pMdl = pMdl->pNext)
        if (cmp.IsUsed(pMdl)) PutModel(pMdl);
}

// The component to write: the named one (without regard to case), or the
// only named one of the file.
CMPNT* ChooseComponent(CMPNT* pList, const char* pszName) {
    if (pszName != nullptr) {
        for (CMPNT* p = pList; p != nullptr; p = p->pNext)
            if (CMN_StrEqualNoCase(p->szName, pszName)) return p;
        DIAG_Error("Unable to find component \"%s\" in ibis file", pszName);
        return nullptr;
    }
    CMPNT* pFound = nullptr;
    int nNamed = 0;
    for (CMPNT* p = pList; p != nullptr; p = p->pNext) {
        if (p->szName[0] == '\0') continue;
        pFound = p;
        ++nNamed;
    }
    if (nNamed == 1) return pFound;
    DIAG_Error("No Component Name supplied and IBIS file contains multiple entries");
    return nullptr;
}

}  // namespace

int CBS_Open(const char* pszPath) {
    TAV_ASSERT(pszPath != nullptr && g_out.pFile == nullptr);
    g_out.pFile = PLAT_CreateTempBeside(pszPath, &g_out.strTemp);
    if (g_out.pFile == nullptr) {
        DIAG_Error("Unable to open output file.");
        return 0;
    }
    g_out.strPath = pszPath;
    return 1;
}

int CBS_Close() {
    TAV_ASSERT(g_out.pFile != nullptr);
    const bool bWritten = fflush(g_out.pFile) == 0 && !ferror(g_out.pFile);
    const bool bClosed = fclose(g_out.pFile) == 0;
    g_out.pFile = nullptr;
    const bool bPlaced = bWritten && bClosed && PLAT_Rename(g_out.strTemp.c_str(), g_out.strPath.c_str());
    if (!bPlaced) {
        PLAT_Remove(g_out.strTemp.c_str());
        DIAG_Error("Unable to close output file.");
    }
    g_out.strTemp.clear();
    g_out.strPath.clear();
    return bPlaced ? 1 : 0;
}

int CBS_Write(IBIS* pIbis, const char* pszPath, const char* pszCompName) {
    TAV_ASSERT(pIbis != nullptr);
    HDR* pHdr = nullptr;
    CMPNT* pCmpntList = nullptr;
    MDL* pMdlList = nullptr;
    if (!IBIS_GetHdr(pIbis, &pHdr)) {
        DIAG_Error("Unable to access header information.");
        return 0;
    }
    if (!IBIS_GetCmpntList(pIbis, &pCmpntList)) {
        DIAG_Error("Unable to find component information.");
        return 0;
    }
    if (!IBIS_GetMdlList(pIbis, &pMdlList)) {
        DIAG_Error("Unable to find model information.");
        return 0;
    }
    CMPNT* pCmpnt = ChooseComponent(pCmpntList, pszCompName);
    if (pCmpnt == nullptr) return 0;
    if (pszPath == nullptr || strcmp(pszPath, "-") == 0) return 1;
    if (!CBS_Open(pszPath)) {
        DIAG_Error("Unable to open file \"%s\"", pszPath);
        return 0;
    }
    {
        CLocaleScope locale;  // a decimal point, whatever the host's locale
        PutFile(pHdr, pCmpnt, pMdlList);
    }
    return CBS_Close();
}
