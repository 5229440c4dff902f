// [Model] and its subparameters: the model record with its type, polarity,
// enable, thresholds, C_comp, ranges and references, the dispatch of the
// model's keywords to the table, ramp, waveform, [Model Spec], schedule,
// series and submodel modules, and the end-of-model checks.  State: the
// model open in the read, reset where a read starts.
#define TAV_MODULE "mdl"
#include "model/mdl.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "model/crv.h"
#include "model/drvsh.h"
#include "model/mspec.h"
#include "model/ramp.h"
#include "model/sinfo.h"
#include "model/smos.h"
#include "model/submdl.h"
#include "model/wvfrm.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/document.h"
#include "core/fields.h"
#include "core/lines.h"
#include "core/name_index.h"
#include "core/rng.h"
#include "core/tav_assert.h"

const MDL_SPELLING g_aModelTypeSpellings[] = {
    {"Input", MT_INPUT},
    {"Output", MT_OUTPUT},
    {"I/O", MT_IO},
    {"3-state", MT_3_STATE},
    {"Open_drain", MT_OPEN_DRAIN},
    {"I/O_open_drain", MT_IO_OPEN_DRAIN},
    {"Open_sink", MT_OPEN_SINK},
    {"I/O_open_sink", MT_IO_OPEN_SINK},
    {"Open_source", MT_OPEN_SOURCE},
    {"I/O_open_source", MT_IO_OPEN_SOURCE},
    {"Input_ECL", MT_INPUT_ECL},
    {"Output_ECL", MT_OUTPUT_ECL},
    {"I/O_ECL", MT_IO_ECL},
    {"Terminator", MT_TERMINATOR},
    {"Series", MT_SERIES},
    {"Series_switch", MT_SERIES_SWITCH},
    {"3-state_ECL", MT_3_STATE_ECL},
    {"No Type", MT_NO_TYPE},
};

const MDL_SPELLING g_aPolaritySpellings[] = {
    {"Non-Inverting", POL_NON_INVERTING},
    {"Inverting", POL_INVERTING},
    {"No Polarity", POL_NONE},
};

const MDL_SPELLING g_aEnableSpellings[] = {
    {"Active-High", ENA_ACTIVE_HIGH},
    {"Active-Low", ENA_ACTIVE_LOW},
    {"No Enable", ENA_NONE},
};

namespace {

enum { END_MARKER = 1 };

// IBIS 2.x knows the model types up to Terminator only.
enum { MODEL_TYPES_IBIS2 = 14, MODEL_TYPES_ALL = 17 };

enum eSubparameter {
    SUB_MODEL_TYPE,
    SUB_POLARITY,
    SUB_ENABLE,
    SUB_VINL,
    SUB_VINH,
    SUB_VMEAS,
    SUB_CREF,
    SUB_RREF,
    SUB_VREF,
    SUB_C_COMP,
    SUB_NONE
};

const char* const g_apszSubparameter[] = {"Model_type", "Polarity", "Enable", "Vinl", "Vinh",
                                          "Vmeas", "Cref", "Rref", "Vref", "C_comp", "NOT_SUB"};

// The keywords whose line holds one typ/min/max value.
struct TypedKeyword {
    int eKeyword;
    const char* pszName;
    RNG* MDL::*pField;
    bool bBeforeSwitchSections;  // belongs before [On] and [Off]
};

const TypedKeyword g_aTypedKeywords[] = {
    {KW_TEMPERATURE_RANGE, "Temperature Range", &MDL::pTempRange, true},
    {KW_VOLTAGE_RANGE, "Voltage Range", &MDL::pVoltRange, true},
    {KW_PULLUP_REFERENCE, "Pullup Reference", &MDL::pPullupRef, true},
    {KW_PULLDOWN_REFERENCE, "Pulldown Reference", &MDL::pPulldownRef, true},
    {KW_POWER_CLAMP_REFERENCE, "POWER Clamp Reference", &MDL::pPowerClampRef, true},
    {KW_GND_CLAMP_REFERENCE, "GND Clamp Reference", &MDL::pGndClampRef, true},
    {KW_RGND, "Rgnd", &MDL::pRgnd, false},
    {KW_RPOWER, "Rpower", &MDL::pRpower, false},
    {KW_RAC, "Rac", &MDL::pRac, false},
    {KW_CAC, "Cac", &MDL::pCac, false},
    {KW_TTGND, "TTgnd", &MDL::pTTgnd, false},
    {KW_TTPOWER, "TTpower", &MDL::pTTpower, false},
};

struct IvTable {
    int eKeyword;
    const char* pszName;
    CRV* MDL::*pField;
};

const IvTable g_aIvTables[] = {
    {KW_PULLDOWN, "Pulldown", &MDL::pPulldown},
    {KW_PULLUP, "Pullup", &MDL::pPullup},
    {KW_GND_CLAMP, "GND Clamp", &MDL::pGndClamp},
    {KW_POWER_CLAMP, "POWER Clamp", &MDL::pPowerClamp},
};

// The series elements, each one typ/min/max value of the current series
// section.
struct SeriesValue {
    int eKeyword;
    const char* pszName;
    RNG* SINFO::*pField;
};

const SeriesValue g_aSeriesValues[] = {
    {KW_R_SERIES, "R_series", &SINFO::pRseries},   {KW_L_SERIES, "L_series", &SINFO::pLseries},
    {KW_RL_SERIES, "Rl_series", &SINFO::pRlSeries}, {KW_C_SERIES, "C_series", &SINFO::pCseries},
    {KW_LC_SERIES, "Lc_series", &SINFO::pLcSeries}, {KW_RC_SERIES, "Rc_series", &SINFO::pRcSeries},
};

struct MdlState {
    MDL* pCur = nullptr;
    int eLastKeyword = KW_NOT_KEY;
    // The series section of the current model that series keywords fill:
    // null until [On], [Off] or the first series keyword.
    SINFO* pCurSection = nullptr;
};

MdlState g_mdl;

// The names of the document's models, kept beyond one model.
NAME_INDEX<MDL> g_mdlNames;

const TypedKeyword* FindTypedKeyword(int eKeyword) {
    for (const TypedKeyword& typed : g_aTypedKeywords)
        if (typed.eKeyword == eKeyword) return &typed;
    return nullptr;
}

const IvTable* FindIvTable(int eKeyword) {
    for (const IvTable& table : g_aIvTables)
        if (table.eKeyword == eKeyword) return &table;
    return nullptr;
}

const SeriesValue* FindSeriesValue(int eKeyword) {
    for (const SeriesValue& value : g_aSeriesValues)
        if (value.eKeyword == eKeyword) return &value;
    return nullptr;
}

bool IsSeriesType(unsigned eType) { return eType == MT_SERIES || eType == MT_SERIES_SWITCH; }

// ---- [Model] line and subparameters ----

void CheckName(MDL* pMdl, char* pszLine) {
    char* pszRest = pszLine;
    if (!CMN_SkipKeyword(&pszRest)) {
        DIAG_BugLine("Unable to eat keyword <%s>: %s %d", "Model", TAV_MODULE, __LINE__);
        return;
    }
    int bTooLong = 0;
    if (!CMN_ReadName(pszRest, "Model", pMdl->szName, MDL_NAME_LEN, &bTooLong) || bTooLong) return;
    if (!CMN_IsNotReserved(pMdl->szName))
        DIAG_ErrorLine("Invalid Model Name (\"%s\"); Reserved Word.", pMdl->szName);
    if (g_mdlNames.SeenBelow(pMdl, pMdl->szName))
        DIAG_ErrorLine("Model Name Previously Defined (\"%s\")", pMdl->szName);
}

// Every model's name, an empty one included, goes into the index.
void ReadName(MDL* pMdl, char* pszLine) {
    CheckName(pMdl, pszLine);
    g_mdlNames.Take(pMdl);
}

int LookupSubparameter(const char* pszLine, size_t* pnLength) {
    size_t n = CMN_TokenLength('=', pszLine);
    *pnLength = n;
    for (int i = 0; i < SUB_NONE; ++i)
        if (strlen(g_apszSubparameter[i]) == n && strncmp(g_apszSubparameter[i], pszLine, n) == 0)
            return i;
    return SUB_NONE;
}

// Model_type, Polarity and Enable: one word from the first nSearch
// entries of a table.  The field is 1 ("No ...") from the first attempt on.
void ReadSetting(const MDL* pMdl, const char* pszLine, const char* pszSub,
                 const MDL_SPELLING* pTable, int nSearch, unsigned* peField) {
    if (*peField != 0) {
        DIAG_ErrorLine("%s Already Defined For Model '%s'", pszSub, pMdl->szName);
        return;
    }
    *peField = END_MARKER;
    CMN_ReadSetting(pszLine, pszSub, pTable, static_cast<size_t>(nSearch), peField);
}

// Vinl, Vinh, Vmeas, Cref, Rref, Vref: "name = number".  The field counts
// as given from the first attempt on; an unreadable number leaves 0.
void ReadSingle(const MDL* pMdl, const char* pszLine, const char* pszSub, double** ppdField) {
    if (*ppdField != nullptr) {
        DIAG_ErrorLine("%s Already Defined For Model '%s'", pszSub, pMdl->szName);
        return;
    }
    if (!CMN_Alloc(ppdField, sizeof **ppdField)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return;
    }
    char szInvalid[64];
    snprintf(szInvalid, sizeof szInvalid, "Invalid %s Line", pszSub);
    CMN_ReadNameValue(pszLine, {szInvalid, pszSub, pszSub, nullptr}, *ppdField);
}

void CheckTypicalNotNA(const RNG* pRng) {
    if (pRng != nullptr && pRng->eTypState == VALUE_NA)
        DIAG_ErrorLine("'NA' Not Allowed For Typical Value");
}

void ReadCcomp(MDL* pMdl, const char* pszRest) {
    if (pMdl->pCcomp != nullptr) {
        DIAG_ErrorLine("%s Already Defined For Model '%s'", "C_comp", pMdl->szName);
        return;
    }
    RNG_Parse(pszRest, "C_comp", &pMdl->pCcomp);
    CheckTypicalNotNA(pMdl->pCcomp);
}

void ReadSubparameter(MDL* pMdl, const char* pszLine) {
    size_t nLength = 0;
    int eSub = LookupSubparameter(pszLine, &nLength);
    const char* pszSub = g_apszSubparameter[eSub];
    const int nTypes = PARSE_GetIbisVersion() == 2 ? MODEL_TYPES_IBIS2 : MODEL_TYPES_ALL;
    switch (eSub) {
        case SUB_MODEL_TYPE:
            ReadSetting(pMdl, pszLine, pszSub, g_aModelTypeSpellings, nTypes, &pMdl->eModelType);
            break;
        case SUB_POLARITY:
            ReadSetting(pMdl, pszLine, pszSub, g_aPolaritySpellings, 2, &pMdl->ePolarity);
            break;
        case SUB_ENABLE:
            ReadSetting(pMdl, pszLine, pszSub, g_aEnableSpellings, 2, &pMdl->eEnable);
            break;
        case SUB_VINL: ReadSingle(pMdl, pszLine, pszSub, &pMdl->pdVinl); break;
        case SUB_VINH: ReadSingle(pMdl, pszLine, pszSub, &pMdl->pdVinh); break;
        case SUB_VMEAS: ReadSingle(pMdl, pszLine, pszSub, &pMdl->pdVmeas); break;
        case SUB_CREF: ReadSingle(pMdl, pszLine, pszSub, &pMdl->pdCref); break;
        case SUB_RREF: ReadSingle(pMdl, pszLine, pszSub, &pMdl->pdRref); break;
        case SUB_VREF: ReadSingle(pMdl, pszLine, pszSub, &pMdl->pdVref); break;
        case SUB_C_COMP: ReadCcomp(pMdl, pszLine + nLength); break;
        default: DIAG_ErrorLine("Unknown Line Among Model Data"); break;
    }
}

// ---- keywords of the model ----

void CheckPositive(const RNG* pRng, const char* pszName) {
    if (pRng == nullptr) return;
    if (pRng->eTypState == VALUE_NUMBER && pRng->dTyp <= 0)
        DIAG_ErrorLine("%s Typical value should be > 0", pszName);
    if (pRng->eMinState == VALUE_NUMBER && pRng->dMin <= 0)
        DIAG_ErrorLine("%s Min value should be > 0", pszName);
    if (pRng->eMaxState == VALUE_NUMBER && pRng->dMax <= 0)
        DIAG_ErrorLine("%s Max value should be > 0", pszName);
}

bool AlreadyDefined(const MDL* pMdl, const RNG* pField, const char* pszName) {
    if (pField == nullptr) return false;
    DIAG_ErrorLine("%s Already Defined For Model '%s'", pszName, pMdl->szName);
    return true;
}

// The typ/min/max value that follows the keyword.
void ReadKeywordValue(char* pszLine, const char* pszName, RNG** ppField) {
    char* pszRest = pszLine;
    if (!CMN_SkipKeyword(&pszRest)) pszRest = pszLine + strlen(pszLine);
    RNG_Parse(pszRest, pszName, ppField);
    CheckTypicalNotNA(*ppField);
}

void ReadTypedValue(MDL* pMdl, const TypedKeyword& typed, char* pszLine) {
    RNG*& pField = pMdl->*(typed.pField);
    if (AlreadyDefined(pMdl, pField, typed.pszName)) return;
    if (pMdl->eModelType == MT_SERIES_SWITCH && g_mdl.pCurSection != nullptr &&
        typed.bBeforeSwitchSections)
        DIAG_ErrorLine(
            "Model '%s' is of type Series_switch. %s should be defined before the [On] and [Off] sections",
            pMdl->szName, typed.pszName);
    ReadKeywordValue(pszLine, typed.pszName, &pField);
    if (typed.eKeyword == KW_TTGND || typed.eKeyword == KW_TTPOWER) CheckPositive(pField, typed.pszName);
}

void CheckModelSpecPlacement(const MDL* pMdl) {
    const bool bLate = pMdl->pTempRange || pMdl->pVoltRange || pMdl->pPullupRef ||
                       pMdl->pPulldownRef || pMdl->pPowerClampRef || pMdl->pGndClampRef ||
                       pMdl->pTTgnd || pMdl->pTTpower || pMdl->pDrvSched || pMdl->pPulldown ||
                       pMdl->pPullup || pMdl->pGndClamp || pMdl->pPowerClamp || pMdl->pRgnd ||
                       pMdl->pRpower || pMdl->pRac || pMdl->pCac || pMdl->pRamp ||
                       pMdl->pRising || pMdl->pFalling || pMdl->pAddSubmdl;
    if (bLate)
        DIAG_ErrorLine(
            "[Model Spec] should be specified immediately after all the subparameters of a model and before the other keywords of a model");
}

// [On] and [Off] open the section that the series keywords after them
// fill; a repeated one replaces the earlier.
void ReadSwitchSection(MDL* pMdl, int eKeyword, char* pszLine) {
    if (pMdl->eModelType != MT_SERIES_SWITCH) {
        DIAG_ErrorLine("Keyword is valid only for Series_switch models");
        return;
    }
    SINFO** ppSlot = eKeyword == KW_ON ? &pMdl->pSeriesOn : &pMdl->pSeriesOff;
    SINFO_Begin(pszLine, ppSlot, eKeyword == KW_ON ? "[On]" : "[Off]");
    g_mdl.pCurSection = *ppSlot;
}

// Series keywords belong to Series and Series_switch models; the first
// one without an open section opens [On].  The section to fill, or null.
SINFO* CheckSeriesKeyword(MDL* pMdl) {
    if (!IsSeriesType(pMdl->eModelType)) {
        DIAG_ErrorLine("Keyword is valid only for Series and Series_switch models");
        return nullptr;
    }
    if (g_mdl.pCurSection == nullptr) {
        if (pMdl->eModelType == MT_SERIES_SWITCH)
            DIAG_ErrorLine("No preceding [On] or [Off] keyword found. Assuming [On]");
        // [On] is there already only when a later section could not be made.
        if (pMdl->pSeriesOn == nullptr) SINFO_New(&pMdl->pSeriesOn);
        g_mdl.pCurSection = pMdl->pSeriesOn;
    }
    return g_mdl.pCurSection;
}

void ReadSeriesKeyword(MDL* pMdl, SINFO* pSection, int eKeyword, char* pszLine) {
    if (const SeriesValue* pValue = FindSeriesValue(eKeyword)) {
        RNG*& pField = pSection->*(pValue->pField);
        if (!AlreadyDefined(pMdl, pField, pValue->pszName))
            ReadKeywordValue(pszLine, pValue->pszName, &pField);
    } else if (eKeyword == KW_SERIES_CURRENT) {
        CRV_Begin(pszLine, "Series_Current", &pSection->pSeriesCurrent);
    } else {
        TAV_ASSERT(eKeyword == KW_SERIES_MOSFET);
        SMOS* pEntry = nullptr;
        if (SMOS_Begin(pszLine, &pSection->pMosfets, &pEntry))
            CRV_Begin(pszLine, "Series_MOSFET", &pEntry->pTable);
    }
}

const char* WaveformName(int eKeyword) {
    return eKeyword == KW_RISING_WAVEFORM ? "Rising Waveform" : "Falling Waveform";
}

WVFRM** WaveformList(MDL* pMdl, int eKeyword) {
    return eKeyword == KW_RISING_WAVEFORM ? &pMdl->pRising : &pMdl->pFalling;
}

void HandleKeywordLine(MDL* pMdl, int eKeyword, char* pszLine) {
    if (eKeyword == KW_MODEL) {
        ReadName(pMdl, pszLine);
    } else if (const TypedKeyword* pTyped = FindTypedKeyword(eKeyword)) {
        ReadTypedValue(pMdl, *pTyped, pszLine);
    } else if (const IvTable* pTable = FindIvTable(eKeyword)) {
        CRV_Begin(pszLine, pTable->pszName, &(pMdl->*(pTable->pField)));
    } else if (eKeyword == KW_RAMP) {
        RAMP_Begin(pszLine, &pMdl->pRamp);
    } else if (eKeyword == KW_RISING_WAVEFORM || eKeyword == KW_FALLING_WAVEFORM) {
        WVFRM_Begin(pszLine, WaveformList(pMdl, eKeyword), WaveformName(eKeyword));
    } else if (eKeyword == KW_MODEL_SPEC) {
        CheckModelSpecPlacement(pMdl);
        MSPEC_Begin(pszLine, &pMdl->pMdlSpec);
    } else if (eKeyword == KW_DRIVER_SCHEDULE) {
        DRVSH_Begin(pszLine, &pMdl->pDrvSched);
    } else if (eKeyword == KW_ON || eKeyword == KW_OFF) {
        ReadSwitchSection(pMdl, eKeyword, pszLine);
    } else if (eKeyword >= KW_R_SERIES && eKeyword <= KW_SERIES_MOSFET) {
        if (SINFO* pSection = CheckSeriesKeyword(pMdl))
            ReadSeriesKeyword(pMdl, pSection, eKeyword, pszLine);
    } else {
        TAV_ASSERT(eKeyword == KW_ADD_SUBMODEL);
        ADDSUB_Begin(pMdl, pszLine);
    }
}

void HandleDataLine(MDL* pMdl, int eKeyword, char* pszLine) {
    if (eKeyword == KW_MODEL) {
        ReadSubparameter(pMdl, pszLine);
    } else if (FindTypedKeyword(eKeyword) != nullptr ||
               (eKeyword >= KW_ON && eKeyword <= KW_RC_SERIES)) {
        DIAG_ErrorLine("Expecting Keyword.  Invalid Line");
    } else if (const IvTable* pTable = FindIvTable(eKeyword)) {
        CRV_AddRow(pszLine, pMdl->*(pTable->pField), pTable->pszName);
    } else if (eKeyword == KW_RAMP) {
        RAMP_Line(pszLine, pMdl->pRamp, pMdl->szName);
    } else if (eKeyword == KW_RISING_WAVEFORM || eKeyword == KW_FALLING_WAVEFORM) {
        WVFRM_Line(pszLine, WaveformName(eKeyword));
    } else if (eKeyword == KW_SERIES_CURRENT) {
        if (SINFO* pSection = CheckSeriesKeyword(pMdl))
            CRV_AddRow(pszLine, pSection->pSeriesCurrent, "Series_Current");
    } else if (eKeyword == KW_SERIES_MOSFET) {
        if (CheckSeriesKeyword(pMdl) != nullptr) SMOS_Line(pszLine);
    } else if (eKeyword == KW_MODEL_SPEC) {
        MSPEC_Line(pszLine, pMdl->pMdlSpec, pMdl->szName);
    } else if (eKeyword == KW_DRIVER_SCHEDULE) {
        DRVSH_Line(pszLine, pMdl->pDrvSched, pMdl->szName);
    } else {
        TAV_ASSERT(eKeyword == KW_ADD_SUBMODEL);
        ADDSUB_Line(pszLine, &pMdl->pAddSubmdl, pMdl->eModelType);
    }
}

// ---- closing ----

bool NeedsThresholds(unsigned eType) {
    return eType == MT_INPUT || eType == MT_IO || eType == MT_IO_OPEN_DRAIN ||
           eType == MT_IO_OPEN_SINK || eType == MT_IO_OPEN_SOURCE || eType == MT_INPUT_ECL ||
           eType == MT_IO_ECL;
}

void CheckSubparameters(const MDL* pMdl) {
    if (pMdl->eModelType == MT_NOT_GIVEN)
        DIAG_Error("Model '%s': %s Not Defined", pMdl->szName, "Model_type");
    if (pMdl->pCcomp == nullptr) DIAG_Error("Model '%s': %s Not Defined", pMdl->szName, "C_comp");
    if (!NeedsThresholds(pMdl->eModelType)) return;
    const char* pszType = MDL_Spelling(g_aModelTypeSpellings, pMdl->eModelType);
    if (pMdl->pdVinl == nullptr)
        DIAG_Warning("Model '%s': Model_type '%s' must have %s set", pMdl->szName, pszType, "Vinl");
    if (pMdl->pdVinh == nullptr)
        DIAG_Warning("Model '%s': Model_type '%s' must have %s set", pMdl->szName, pszType, "Vinh");
}

void CloseKeyword(MDL* pMdl, int eKeyword) {
    if (eKeyword == KW_MODEL) {
        CheckSubparameters(pMdl);
    } else if (const IvTable* pTable = FindIvTable(eKeyword)) {
        CRV_End(pMdl->szName, pMdl->eModelType, eKeyword, &(pMdl->*(pTable->pField)),
                pTable->pszName, "Model");
    } else if (eKeyword == KW_RAMP) {
        RAMP_End(pMdl->pRamp);
    } else if (eKeyword == KW_RISING_WAVEFORM) {
        WVFRM_End("Rising", 1);
    } else if (eKeyword == KW_FALLING_WAVEFORM) {
        WVFRM_End("Falling", 1);
    } else if (eKeyword == KW_MODEL_SPEC) {
        MSPEC_End(pMdl);
    } else if (eKeyword == KW_DRIVER_SCHEDULE) {
        DRVSH_End(pMdl->pDrvSched, pMdl->szName);
    } else if (eKeyword == KW_SERIES_CURRENT) {
        SINFO* pSection = g_mdl.pCurSection;
        if (pSection != nullptr && pSection->pSeriesCurrent != nullptr)
            CRV_End(pMdl->szName, pMdl->eModelType, eKeyword, &pSection->pSeriesCurrent,
                    "Series_Current", "Model");
    } else if (eKeyword == KW_SERIES_MOSFET) {
        SMOS_End(pMdl, eKeyword);
    }
}

void CheckTerminatorElements(const MDL* pMdl) {
    if (pMdl->eModelType != MT_TERMINATOR) {
        const struct {
            const RNG* pRng;
            const char* pszName;
        } aElements[] = {{pMdl->pRgnd, "Rgnd"}, {pMdl->pRpower, "Rpower"}, {pMdl->pRac, "Rac"},
                         {pMdl->pCac, "Cac"}};
        for (const auto& element : aElements)
            if (element.pRng != nullptr)
                DIAG_Error("Model '%s': %s is set when Model_type is not Terminator", pMdl->szName,
                           element.pszName);
    }
    if (pMdl->pRac != nullptr && pMdl->pCac == nullptr)
        DIAG_Error("Model '%s': Cac must be defined when Rac is", pMdl->szName);
    if (pMdl->pCac != nullptr && pMdl->pRac == nullptr)
        DIAG_Error("Model '%s': Rac must be defined when Cac is", pMdl->szName);
}

void CheckReferences(const MDL* pMdl) {
    if (pMdl->pVoltRange != nullptr) return;
    const struct {
        const RNG* pRng;
        const char* pszName;
    } aRefs[] = {{pMdl->pPullupRef, "Pullup Reference"},
                 {pMdl->pPulldownRef, "Pulldown Reference"},
                 {pMdl->pPowerClampRef, "POWER Clamp Reference"},
                 {pMdl->pGndClampRef, "GND Clamp Reference"}};
    for (const auto& ref : aRefs)
        if (ref.pRng == nullptr)
            DIAG_Error("Model '%s': %s Required when No Voltage Range is Specified", pMdl->szName,
                       ref.pszName);
}

void CheckRamp(const MDL* pMdl) {
    unsigned eType = pMdl->eModelType;
    if (eType == MT_INPUT || eType == MT_INPUT_ECL || eType == MT_TERMINATOR) return;
    if (IsSeriesType(eType)) {
        if (pMdl->pRamp != nullptr)
            DIAG_Error("Model '%s': Ramp Not Allowed for Series and Series_switch", pMdl->szName);
    } else if (pMdl->pRamp == nullptr) {
        DIAG_Error("Model '%s': Ramp Not Defined", pMdl->szName);
    }
}

// Series elements have no driver: the driver keywords are refused.
void CheckSeriesExclusions(const MDL* pMdl) {
    if (!IsSeriesType(pMdl->eModelType)) return;
    const char* pszType = pMdl->eModelType == MT_SERIES ? "Series" : "Series_switch";
    const struct {
        bool bPresent;
        const char* pszName;
    } aItems[] = {{pMdl->pPullup != nullptr, "Pullup"},
                  {pMdl->pPulldown != nullptr, "Pulldown"},
                  {pMdl->pPowerClamp != nullptr, "POWER_Clamp"},
                  {pMdl->pGndClamp != nullptr, "GND_Clamp"},
                  {pMdl->pRising != nullptr, "Rising Waveform"},
                  {pMdl->pFalling != nullptr, "Falling Waveform"},
                  {pMdl->pTTgnd != nullptr, "TTgnd"},
                  {pMdl->pTTpower != nullptr, "TTpower"},
                  {pMdl->pDrvSched != nullptr, "Driver Schedule"}};
    for (const auto& item : aItems)
        if (item.bPresent)
            DIAG_Error("Model '%s': %s is not allowed when Model_type is %s", pMdl->szName,
                       item.pszName, pszType);
    if (pMdl->pMdlSpec != nullptr)
        DIAG_Warning("Model '%s': %s is not allowed when Model_type is %s", pMdl->szName,
                     "Model Spec", pszType);
}

// A Series model has one unnamed section; a Series_switch model needs
// both [On] and [Off].
void CheckSeriesSections(const MDL* pMdl) {
    if (pMdl->eModelType == MT_SERIES) {
        if (pMdl->pSeriesOn != nullptr) SINFO_Check(pMdl->pSeriesOn, pMdl->szName, "");
        return;
    }
    if (pMdl->eModelType != MT_SERIES_SWITCH) return;
    if (pMdl->pSeriesOn != nullptr)
        SINFO_Check(pMdl->pSeriesOn, pMdl->szName, "[On]");
    else
        DIAG_Error("Model %s is of type Series_switch. [On] keyword is required", pMdl->szName);
    if (pMdl->pSeriesOff != nullptr)
        SINFO_Check(pMdl->pSeriesOff, pMdl->szName, "[Off]");
    else
        DIAG_Error("Model %s is of type Series_switch. [Off] keyword is required", pMdl->szName);
}

void EndModel(const MDL* pMdl) {
    CheckTerminatorElements(pMdl);
    CheckReferences(pMdl);
    CheckRamp(pMdl);
    CheckSeriesExclusions(pMdl);
    CheckSeriesSections(pMdl);
}

void FreeValue(double* pd) {
    if (pd != nullptr) CMN_Free(pd);
}

void FreeRange(RNG* pRng) {
    if (pRng != nullptr) RNG_Free(pRng);
}

}  // namespace

const char* MDL_Spelling(const MDL_SPELLING* pTable, unsigned eValue) {
    TAV_ASSERT(pTable != nullptr);
    int i = 0;
    for (; pTable[i].eValue != END_MARKER; ++i)
        if (pTable[i].eValue == eValue) break;
    return pTable[i].pszText;
}

void MDL_Reset() {
    g_mdlNames.Forget();
    g_mdl.pCur = nullptr;
    g_mdl.eLastKeyword = KW_NOT_KEY;
    g_mdl.pCurSection = nullptr;
    CRV_Reset();
    RAMP_Reset();
    WVFRM_Reset();
    MSPEC_Reset();
    SMOS_Reset();
}

void MDL_New() {
    g_mdl.pCur = nullptr;
    g_mdl.pCurSection = nullptr;
    IBIS* pIbis = nullptr;
    if (!IBIS_GetCurrent(&pIbis) || pIbis == nullptr) {
        DIAG_Bug("Unable to get IBIS structure");
        return;
    }
    MDL* pMdl = nullptr;
    if (!CMN_Alloc(&pMdl, sizeof *pMdl)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return;
    }
    IBIS_AddMdl(pIbis, pMdl);
    g_mdl.pCur = pMdl;
    g_mdl.eLastKeyword = KW_MODEL;
}

void MDL_HandleLine(int eLineClass, int eKeyword, char* pszLine) {
    TAV_ASSERT(pszLine != nullptr);
    TAV_ASSERT(eKeyword >= KW_MODEL && eKeyword <= KW_ADD_SUBMODEL);
    MDL* pMdl = g_mdl.pCur;
    if (eLineClass == LINE_KEYWORD) {
        if (pMdl == nullptr) {
            DIAG_ErrorLine("Orphan Model keyword.");
            return;
        }
        g_mdl.eLastKeyword = eKeyword;
        HandleKeywordLine(pMdl, eKeyword, pszLine);
    } else if (eLineClass == LINE_DATA) {
        if (pMdl == nullptr) {
            DIAG_ErrorLine("Orphan data line keyword.");
            return;
        }
        HandleDataLine(pMdl, eKeyword, pszLine);
    }
}

void MDL_EndKeyword(int eNextKeyword) {
    MDL* pMdl = g_mdl.pCur;
    if (pMdl == nullptr) return;
    CloseKeyword(pMdl, g_mdl.eLastKeyword);
    g_mdl.eLastKeyword = KW_NOT_KEY;
    if (eNextKeyword >= KW_TEMPERATURE_RANGE && eNextKeyword <= KW_ADD_SUBMODEL) return;
    EndModel(pMdl);
    g_mdl.pCur = nullptr;
    g_mdl.pCurSection = nullptr;
}

void MDL_Destroy(MDL* pMdl) {
    if (pMdl == nullptr) return;
    if (g_mdl.pCur == pMdl) {
        g_mdl.pCur = nullptr;
        g_mdl.pCurSection = nullptr;
    }
    for (double* pd : {pMdl->pdVinl, pMdl->pdVinh, pMdl->pdVmeas, pMdl->pdCref, pMdl->pdRref,
                       pMdl->pdVref})
        FreeValue(pd);
    for (RNG* pRng : {pMdl->pCcomp, pMdl->pTempRange, pMdl->pVoltRange, pMdl->pPullupRef,
                      pMdl->pPulldownRef, pMdl->pPowerClampRef, pMdl->pGndClampRef, pMdl->pTTgnd,
                      pMdl->pTTpower, pMdl->pRgnd, pMdl->pRpower, pMdl->pRac, pMdl->pCac})
        FreeRange(pRng);
    for (CRV* pCrv : {pMdl->pPulldown, pMdl->pPullup, pMdl->pGndClamp, pMdl->pPowerClamp})
        CRV_Free(pCrv);
    RAMP_Free(pMdl->pRamp);
    WVFRM_FreeList(pMdl->pRising);
    WVFRM_FreeList(pMdl->pFalling);
    MSPEC_Free(pMdl->pMdlSpec);
    DRVSH_Free(pMdl->pDrvSched);
    SINFO_Free(pMdl->pSeriesOn);
    SINFO_Free(pMdl->pSeriesOff);
    ADDSUB_FreeList(pMdl->pAddSubmdl);
    CMN_Free(pMdl);
}

void MDL_DestroyList(MDL* pList) {
    g_mdlNames.Forget();
    while (pList != nullptr) {
        MDL* pNext = pList->pNext;
        MDL_Destroy(pList);
        pList = pNext;
    }
}

int MDL_Find(MDL* pList, const char* pszName, MDL** ppFound) {
    TAV_ASSERT(pszName != nullptr && ppFound != nullptr);
    for (MDL* pMdl = pList; pMdl != nullptr; pMdl = pMdl->pNext) {
        if (strcmp(pMdl->szName, pszName) == 0) {
            *ppFound = pMdl;
            return 1;
        }
    }
    *ppFound = nullptr;
    return 0;
}
