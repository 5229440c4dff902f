// Accessors of model records: names, settings with their spellings,
// thresholds, ranges, tables, ramps, waveforms and the extras.  Stateless.
#define TAV_MODULE "mdl_plus"
#include "model/mdl.h"

#include "core/tav_assert.h"

namespace {

// The value of the end entry of every spelling table.
enum { END_MARKER = 1 };

int GetNumber(const MDL* pMdl, double* MDL::*pField, double* pdOut) {
    return CMN_GIVE_OPTIONAL(CMN_RECORD(pMdl).*pField, pdOut);
}

// The spelling of a setting; 0 when it is the table's "No ..." entry.
int GetSpelling(const MDL* pMdl, const MDL_SPELLING* pTable, unsigned MDL::*pField,
                const char** ppszText) {
    TAV_ASSERT(pMdl != nullptr && ppszText != nullptr);
    const unsigned eValue = pMdl->*pField;
    *ppszText = MDL_Spelling(pTable, eValue);
    for (int i = 0; pTable[i].eValue != END_MARKER; ++i)
        if (pTable[i].eValue == eValue) return 1;
    return 0;
}

}  // namespace

int MDL_GetName(const MDL* pMdl, const char** ppszName) {
    TAV_ASSERT(pMdl != nullptr && ppszName != nullptr);
    if (pMdl->szName[0] == '\0') return 0;
    *ppszName = pMdl->szName;
    return 1;
}

int MDL_GetModelType(const MDL* pMdl, unsigned* peType) {
    TAV_ASSERT(pMdl != nullptr && peType != nullptr);
    *peType = pMdl->eModelType;
    return 1;
}

int MDL_GetModelTypeText(const MDL* pMdl, const char** ppszText) {
    return GetSpelling(pMdl, g_aModelTypeSpellings, &MDL::eModelType, ppszText);
}

int MDL_GetPolarityText(const MDL* pMdl, const char** ppszText) {
    return GetSpelling(pMdl, g_aPolaritySpellings, &MDL::ePolarity, ppszText);
}

int MDL_GetEnableText(const MDL* pMdl, const char** ppszText) {
    return GetSpelling(pMdl, g_aEnableSpellings, &MDL::eEnable, ppszText);
}

int MDL_GetVinl(const MDL* pMdl, double* pd) { return GetNumber(pMdl, &MDL::pdVinl, pd); }
int MDL_GetVinh(const MDL* pMdl, double* pd) { return GetNumber(pMdl, &MDL::pdVinh, pd); }
int MDL_GetVmeas(const MDL* pMdl, double* pd) { return GetNumber(pMdl, &MDL::pdVmeas, pd); }
int MDL_GetCref(const MDL* pMdl, double* pd) { return GetNumber(pMdl, &MDL::pdCref, pd); }
int MDL_GetRref(const MDL* pMdl, double* pd) { return GetNumber(pMdl, &MDL::pdRref, pd); }
int MDL_GetVref(const MDL* pMdl, double* pd) { return GetNumber(pMdl, &MDL::pdVref, pd); }

int MDL_GetCcomp(const MDL* pMdl, RNG** ppRng) { return CMN_GIVE_FIELD(pMdl, &MDL::pCcomp, ppRng); }
int MDL_GetTempRange(const MDL* pMdl, RNG** ppRng) { return CMN_GIVE_FIELD(pMdl, &MDL::pTempRange, ppRng); }
int MDL_GetVoltRange(const MDL* pMdl, RNG** ppRng) { return CMN_GIVE_FIELD(pMdl, &MDL::pVoltRange, ppRng); }
int MDL_GetPullupRef(const MDL* pMdl, RNG** ppRng) { return CMN_GIVE_FIELD(pMdl, &MDL::pPullupRef, ppRng); }
int MDL_GetPulldownRef(const MDL* pMdl, RNG** ppRng) {
    return CMN_GIVE_FIELD(pMdl, &MDL::pPulldownRef, ppRng);
}
int MDL_GetPowerClampRef(const MDL* pMdl, RNG** ppRng) {
    return CMN_GIVE_FIELD(pMdl, &MDL::pPowerClampRef, ppRng);
}
int MDL_GetGndClampRef(const MDL* pMdl, RNG** ppRng) {
    return CMN_GIVE_FIELD(pMdl, &MDL::pGndClampRef, ppRng);
}
int MDL_GetRgnd(const MDL* pMdl, RNG** ppRng) { return CMN_GIVE_FIELD(pMdl, &MDL::pRgnd, ppRng); }
int MDL_GetRpower(const MDL* pMdl, RNG** ppRng) { return CMN_GIVE_FIELD(pMdl, &MDL::pRpower, ppRng); }
int MDL_GetRac(const MDL* pMdl, RNG** ppRng) { return CMN_GIVE_FIELD(pMdl, &MDL::pRac, ppRng); }
int MDL_GetCac(const MDL* pMdl, RNG** ppRng) { return CMN_GIVE_FIELD(pMdl, &MDL::pCac, ppRng); }

int MDL_GetPullup(const MDL* pMdl, CRV** ppCrv) { return CMN_GIVE_FIELD(pMdl, &MDL::pPullup, ppCrv); }
int MDL_GetPulldown(const MDL* pMdl, CRV** ppCrv) { return CMN_GIVE_FIELD(pMdl, &MDL::pPulldown, ppCrv); }
int MDL_GetGndClamp(const MDL* pMdl, CRV** ppCrv) { return CMN_GIVE_FIELD(pMdl, &MDL::pGndClamp, ppCrv); }
int MDL_GetPowerClamp(const MDL* pMdl, CRV** ppCrv) {
    return CMN_GIVE_FIELD(pMdl, &MDL::pPowerClamp, ppCrv);
}

int MDL_GetRamp(const MDL* pMdl, RAMP** ppRamp) { return CMN_GIVE_FIELD(pMdl, &MDL::pRamp, ppRamp); }
int MDL_GetRising(const MDL* pMdl, WVFRM** ppWvfrm) { return CMN_GIVE_FIELD(pMdl, &MDL::pRising, ppWvfrm); }
int MDL_GetFalling(const MDL* pMdl, WVFRM** ppWvfrm) {
    return CMN_GIVE_FIELD(pMdl, &MDL::pFalling, ppWvfrm);
}
int MDL_GetModelSpec(const MDL* pMdl, MSPEC** ppSpec) { return CMN_GIVE_FIELD(pMdl, &MDL::pMdlSpec, ppSpec); }
int MDL_GetSeriesOn(const MDL* pMdl, SINFO** ppSinfo) {
    return CMN_GIVE_FIELD(pMdl, &MDL::pSeriesOn, ppSinfo);
}

int MDL_IsEcl(const MDL* pMdl) {
    TAV_ASSERT(pMdl != nullptr);
    const unsigned eType = pMdl->eModelType;
    return eType == MT_INPUT_ECL || eType == MT_OUTPUT_ECL || eType == MT_IO_ECL ? 1 : 0;
}
