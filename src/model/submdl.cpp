// [Submodel] with its tables, pulse tables and waveforms, the per-type
// checks (bus hold, dynamic clamp), the triggers against the waveforms, and
// [Add Submodel] of a model with its end-of-file check against the
// submodels.  State: the submodel open in the read.
#define TAV_MODULE "submdl"
#include "model/submdl.h"

#include <cstring>

#include "model/crv.h"
#include "model/mdl.h"
#include "model/ramp.h"
#include "model/smspec.h"
#include "model/wvfrm.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/document.h"
#include "core/lines.h"
#include "core/name_index.h"
#include "core/rng.h"
#include "core/tav_assert.h"

namespace {

const CMN_SPELLING g_aSubmodelTypes[] = {{"Dynamic_clamp", SMT_DYNAMIC_CLAMP}, {"Bus_hold", SMT_BUS_HOLD}};
const CMN_SPELLING g_aModes[] = {{"Driving", ASM_DRIVING}, {"Non-Driving", ASM_NON_DRIVING}, {"All", ASM_ALL}};

// A submodel's I-V tables are checked by the rules of an Output model's.
struct IvTable {
    int eKeyword;
    int eModelKeyword;
    const char* pszName;
    CRV* SUBMDL::*pField;
};

const IvTable g_aIvTables[] = {
    {KW_SUB_PULLDOWN, KW_PULLDOWN, "Pulldown", &SUBMDL::pPulldown},
    {KW_SUB_PULLUP, KW_PULLUP, "Pullup", &SUBMDL::pPullup},
    {KW_SUB_GND_CLAMP, KW_GND_CLAMP, "GND Clamp", &SUBMDL::pGndClamp},
    {KW_SUB_POWER_CLAMP, KW_POWER_CLAMP, "POWER Clamp", &SUBMDL::pPowerClamp},
};

// Waveforms and pulse tables: the name their start is given, the name of
// their data lines, and the label of their end checks.
struct VtTable {
    int eKeyword;
    const char* pszBegin;
    const char* pszData;
    const char* pszLabel;
    int bWaveform;
    WVFRM* SUBMDL::*pField;
};

const VtTable g_aVtTables[] = {
    {KW_GND_PULSE_TABLE, "GND Pulse", "GND Pulse Table", "GND Pulse Table", 0, &SUBMDL::pGndPulse},
    {KW_POWER_PULSE_TABLE, "POWER Pulse", "POWER Pulse Table", "POWER Pulse Table", 0,
     &SUBMDL::pPowerPulse},
    {KW_SUB_RISING_WAVEFORM, "Rising Waveform", "Rising Waveform", "Rising", 1, &SUBMDL::pRising},
    {KW_SUB_FALLING_WAVEFORM, "Falling Waveform", "Falling Waveform", "Falling", 1,
     &SUBMDL::pFalling},
};

struct SubmdlState {
    SUBMDL* pCur = nullptr;
    int eLastKeyword = KW_NOT_KEY;
};

SubmdlState g_submdl;

// The names of the document's submodels, kept beyond one submodel.
NAME_INDEX<SUBMDL> g_submdlNames;

const IvTable* FindIvTable(int eKeyword) {
    for (const IvTable& table : g_aIvTables)
        if (table.eKeyword == eKeyword) return &table;
    return nullptr;
}

const VtTable* FindVtTable(int eKeyword) {
    for (const VtTable& table : g_aVtTables)
        if (table.eKeyword == eKeyword) return &table;
    return nullptr;
}

bool IsCalled(const char* pszWord, const char* pszName) {
    return strlen(pszName) == CMN_TokenLength('=', pszWord) && strncmp(pszWord, pszName, strlen(pszName)) == 0;
}

// ---- [Submodel] line and subparameter ----

void CheckName(SUBMDL* pSubmdl, char* pszLine) {
    char* pszRest = pszLine;
    if (!CMN_SkipKeyword(&pszRest)) {
        DIAG_BugLine("Unable to eat keyword <%s>: %s %d", "SubModel", TAV_MODULE, __LINE__);
        return;
    }
    int bTooLong = 0;
    if (!CMN_ReadName(pszRest, "Sub Model", pSubmdl->szName, SUBMDL_NAME_LEN, &bTooLong) || bTooLong)
        return;
    if (!CMN_IsNotReserved(pSubmdl->szName))
        DIAG_ErrorLine("Invalid Sub Model Name (\"%s\"); Reserved Word.", pSubmdl->szName);
    if (g_submdlNames.SeenBelow(pSubmdl, pSubmdl->szName))
        DIAG_ErrorLine("SubModel Name Previously Defined (\"%s\")", pSubmdl->szName);
}

// Every submodel's name, an empty one included, goes into the index.
void ReadName(SUBMDL* pSubmdl, char* pszLine) {
    CheckName(pSubmdl, pszLine);
    g_submdlNames.Take(pSubmdl);
}

// Submodel_type: one word from the table; "No Type" from the first
// attempt on.
void ReadSubmodelType(SUBMDL* pSubmdl, const char* pszLine) {
    const char* pszSub = "Submodel_type";
    if (!IsCalled(pszLine, pszSub)) {
        DIAG_ErrorLine("Unknown Line Among Sub Model Data");
        return;
    }
    if (pSubmdl->eSubmodelType != SMT_NOT_GIVEN) {
        DIAG_ErrorLine("%s Already Defined For Submodel '%s'", pszSub, pSubmdl->szName);
        return;
    }
    pSubmdl->eSubmodelType = SMT_NO_TYPE;
    CMN_ReadSetting(pszLine, pszSub, g_aSubmodelTypes, sizeof g_aSubmodelTypes / sizeof g_aSubmodelTypes[0],
                    &pSubmdl->eSubmodelType);
}

// ---- keyword and data lines ----

void CheckSpecPlacement(const SUBMDL* pSubmdl) {
    if (pSubmdl->pPulldown || pSubmdl->pPullup || pSubmdl->pGndClamp || pSubmdl->pPowerClamp ||
        pSubmdl->pGndPulse || pSubmdl->pPowerPulse || pSubmdl->pRamp || pSubmdl->pRising ||
        pSubmdl->pFalling)
        DIAG_ErrorLine("[Submodel Spec] should be specified before other keywords for a model");
}

// A pulse table is one table; a later one replaces it.
void BeginVtTable(SUBMDL* pSubmdl, const VtTable& table, char* pszLine) {
    WVFRM*& pField = pSubmdl->*(table.pField);
    if (!table.bWaveform && pField != nullptr) {
        DIAG_ErrorLine("[%s] Already Defined", table.pszData);
        WVFRM_FreeList(pField);
        pField = nullptr;
    }
    WVFRM_Begin(pszLine, &pField, table.pszBegin);
}

void HandleKeywordLine(SUBMDL* pSubmdl, int eKeyword, char* pszLine) {
    if (eKeyword == KW_SUBMODEL) {
        ReadName(pSubmdl, pszLine);
    } else if (eKeyword == KW_SUBMODEL_SPEC) {
        CheckSpecPlacement(pSubmdl);
        SMSPEC_Begin(pszLine, &pSubmdl->pSubmdlSpec);
    } else if (const IvTable* pIv = FindIvTable(eKeyword)) {
        CRV_Begin(pszLine, pIv->pszName, &(pSubmdl->*(pIv->pField)));
    } else if (const VtTable* pVt = FindVtTable(eKeyword)) {
        BeginVtTable(pSubmdl, *pVt, pszLine);
    } else {
        TAV_ASSERT(eKeyword == KW_SUB_RAMP);
        RAMP_Begin(pszLine, &pSubmdl->pRamp);
    }
}

void HandleDataLine(SUBMDL* pSubmdl, int eKeyword, char* pszLine) {
    if (eKeyword == KW_SUBMODEL) {
        ReadSubmodelType(pSubmdl, pszLine);
    } else if (eKeyword == KW_SUBMODEL_SPEC) {
        SMSPEC_Line(pszLine, pSubmdl->pSubmdlSpec, pSubmdl->szName);
    } else if (const IvTable* pIv = FindIvTable(eKeyword)) {
        CRV_AddRow(pszLine, pSubmdl->*(pIv->pField), pIv->pszName);
    } else if (const VtTable* pVt = FindVtTable(eKeyword)) {
        WVFRM_Line(pszLine, pVt->pszData);
    } else {
        TAV_ASSERT(eKeyword == KW_SUB_RAMP);
        RAMP_Line(pszLine, pSubmdl->pRamp, pSubmdl->szName);
    }
}

// ---- closing ----

void CloseKeyword(SUBMDL* pSubmdl, int eKeyword) {
    if (eKeyword == KW_SUBMODEL) {
        if (pSubmdl->eSubmodelType == SMT_NOT_GIVEN)
            DIAG_Error("Submodel '%s': %s Not Defined", pSubmdl->szName, "Submodel_type");
    } else if (eKeyword == KW_SUBMODEL_SPEC) {
        const SMSPEC* pSpec = pSubmdl->pSubmdlSpec;
        if (pSpec != nullptr && pSpec->pVtriggerR == nullptr && pSpec->pVtriggerF == nullptr &&
            pSpec->pOffDelay == nullptr)
            DIAG_Error("Submodel %s: Empty Submodel Spec", pSubmdl->szName);
    } else if (const IvTable* pIv = FindIvTable(eKeyword)) {
        CRV_End(pSubmdl->szName, MT_OUTPUT, pIv->eModelKeyword, &(pSubmdl->*(pIv->pField)),
                pIv->pszName, "Submodel");
    } else if (const VtTable* pVt = FindVtTable(eKeyword)) {
        WVFRM_End(pVt->pszLabel, pVt->bWaveform);
    } else if (eKeyword == KW_SUB_RAMP) {
        RAMP_End(pSubmdl->pRamp);
    }
}

void CheckBusHold(const SUBMDL* pSubmdl) {
    const char* pszName = pSubmdl->szName;
    const SMSPEC* pSpec = pSubmdl->pSubmdlSpec;
    if (pSpec == nullptr) {
        DIAG_Error("Submodel %s: [Submodel Spec] is required when Submodel_type is Bus_hold", pszName);
    } else {
        if (pSpec->pVtriggerR == nullptr)
            DIAG_Error("Submodel %s: [Submodel Spec] V_trigger_r is required when Submodel_type is Bus_hold",
                       pszName);
        if (pSpec->pVtriggerF == nullptr)
            DIAG_Error("Submodel %s: [Submodel Spec] V_trigger_f is required when Submodel_type is Bus_hold",
                       pszName);
    }
    if (pSubmdl->pRamp == nullptr)
        DIAG_Error("Submodel %s: [Ramp] is required when Submodel_type is Bus_hold", pszName);
    if (pSubmdl->pPullup == nullptr && pSubmdl->pPulldown == nullptr)
        DIAG_Error("Submodel %s: Either [Pullup] or [Pulldown] is required when Submodel_type is Bus_hold",
                   pszName);
}

void CheckDynamicClamp(const SUBMDL* pSubmdl) {
    const char* pszName = pSubmdl->szName;
    const SMSPEC* pSpec = pSubmdl->pSubmdlSpec;
    if (pSubmdl->pGndPulse != nullptr && (pSpec == nullptr || pSpec->pVtriggerF == nullptr))
        DIAG_Error("Submodel %s: [Submodel Spec] V_trigger_f is required when GND_Pulse is specified",
                   pszName);
    if (pSubmdl->pPowerPulse != nullptr && (pSpec == nullptr || pSpec->pVtriggerR == nullptr))
        DIAG_Error("Submodel %s: [Submodel Spec] V_trigger_r is required when POWER_Pulse is specified",
                   pszName);
    if (pSubmdl->pGndPulse == nullptr && pSubmdl->pPowerPulse == nullptr &&
        pSubmdl->pGndClamp == nullptr && pSubmdl->pPowerClamp == nullptr)
        DIAG_Error("Submodel %s: GND Pulse Table or POWER Pulse Table or GND Clamp or POWER Clamp is required when Submodel_type is Dynamic_clamp",
                   pszName);
    if (pSpec != nullptr && pSpec->pOffDelay != nullptr)
        DIAG_Error("Submodel %s: [Submodel Spec] Off_delay  cannot be specified with Dynamic_clamp submodels",
                   pszName);
}

// ---- triggers against waveforms ----

const char* const g_apszCorner[CORNER_COUNT] = {"Typ", "Min", "Max"};

// The pair compared at a corner.  A minimum or maximum that one side
// gives as "NA" is compared with the other side's typical value.
bool CornerPair(const CORNERS& trigger, const CORNERS& row, eCorner e, double* pdTrigger,
                double* pdRow) {
    const unsigned eT = trigger.State(e);
    const unsigned eR = row.State(e);
    const bool bRowTyp = row.State(eCorner::TYP) == VALUE_NUMBER;
    if (eT == VALUE_NUMBER && eR == VALUE_NUMBER) {
        *pdTrigger = trigger.Value(e);
        *pdRow = row.Value(e);
    } else if (e != eCorner::TYP && eT == VALUE_NA && eR == VALUE_NUMBER) {
        *pdTrigger = trigger.Value(eCorner::TYP);
        *pdRow = row.Value(e);
    } else if (e != eCorner::TYP && eT == VALUE_NUMBER && eR == VALUE_NA && bRowTyp) {
        *pdTrigger = trigger.Value(e);
        *pdRow = row.Value(eCorner::TYP);
    } else {
        return false;
    }
    return true;
}

enum eTriggerCheck { RISE_START, RISE_END, FALL_START, FALL_END };

bool IsOutside(eTriggerCheck eCheck, double dTrigger, double dRow) {
    return eCheck == RISE_START || eCheck == FALL_END ? dTrigger < dRow : dTrigger > dRow;
}

void ReportTrigger(eTriggerCheck eCheck, const char* pszName, const char* pszCorner) {
    switch (eCheck) {
        case RISE_START:
            DIAG_Warning("Submodel %s: V_trigger_r (%s) is less than the start of Rising Waveform",
                         pszName, pszCorner);
            break;
        case RISE_END:
            DIAG_Warning("Submodel %s: V_trigger_r (%s) is greater than the end of Rising Waveform",
                         pszName, pszCorner);
            break;
        case FALL_START:
            DIAG_Warning("Submodel %s: V_trigger_f (%s) is greater than the start of Falling Waveform",
                         pszName, pszCorner);
            break;
        case FALL_END:
            DIAG_Warning("Submodel %s: V_trigger_f (%s) is less than the end of Falling Waveform",
                         pszName, pszCorner);
            break;
    }
}

void CheckTriggerAtRow(const char* pszName, const CORNERS& trigger, const RNGP* pRow,
                       eTriggerCheck eCheck, eCorner e) {
    double dTrigger = 0.0;
    double dRow = 0.0;
    if (CornerPair(trigger, RNGP_Corners(pRow), e, &dTrigger, &dRow) &&
        IsOutside(eCheck, dTrigger, dRow))
        ReportTrigger(eCheck, pszName, g_apszCorner[CornerIndex(e)]);
}

// The trigger lies between the first and the last voltage of every
// waveform of its edge.
void CheckTrigger(const char* pszName, const RNG* pTrigger, const WVFRM* pList,
                  eTriggerCheck eStart, eTriggerCheck eEnd) {
    if (pTrigger == nullptr || pTrigger->eTypState != VALUE_NUMBER) return;
    const CORNERS trigger = RNG_Corners(pTrigger);
    for (const WVFRM* pWvfrm = pList; pWvfrm != nullptr; pWvfrm = pWvfrm->pNext) {
        const RNGP* pFirst = pWvfrm->pRows;
        if (pFirst == nullptr || pFirst->eTypState != VALUE_NUMBER) continue;
        const RNGP* pLast = pFirst;
        while (pLast->pNext != nullptr) pLast = pLast->pNext;
        for (eCorner e : g_aeCorners) {
            CheckTriggerAtRow(pszName, trigger, pFirst, eStart, e);
            CheckTriggerAtRow(pszName, trigger, pLast, eEnd, e);
        }
    }
}

void EndSubmodel(const SUBMDL* pSubmdl) {
    if (pSubmdl->eSubmodelType == SMT_BUS_HOLD) CheckBusHold(pSubmdl);
    if (pSubmdl->eSubmodelType == SMT_DYNAMIC_CLAMP) CheckDynamicClamp(pSubmdl);
    const SMSPEC* pSpec = pSubmdl->pSubmdlSpec;
    if (pSpec == nullptr) return;
    CheckTrigger(pSubmdl->szName, pSpec->pVtriggerR, pSubmdl->pRising, RISE_START, RISE_END);
    CheckTrigger(pSubmdl->szName, pSpec->pVtriggerF, pSubmdl->pFalling, FALL_START, FALL_END);
}

// ---- [Add Submodel] ----

bool IsInputType(unsigned eType) {
    return eType == MT_INPUT || eType == MT_INPUT_ECL || eType == MT_TERMINATOR;
}

bool IsOutputType(unsigned eType) {
    return eType == MT_OUTPUT || eType == MT_OPEN_DRAIN || eType == MT_OPEN_SINK ||
           eType == MT_OPEN_SOURCE || eType == MT_OUTPUT_ECL;
}

ADDSUB* AppendEntry(ADDSUB** ppList) {
    ADDSUB* pEntry = nullptr;
    if (!CMN_Alloc(&pEntry, sizeof *pEntry)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return nullptr;
    }
    pEntry->eMode = ASM_NO_MODE;
    ADDSUB** ppTail = ppList;
    while (*ppTail != nullptr) ppTail = &(*ppTail)->pNext;
    *ppTail = pEntry;
    return pEntry;
}

void ReadAddSubmodelName(ADDSUB* pEntry, const char* pszName) {
    if (strlen(pszName) > SUBMDL_NAME_LEN)
        DIAG_ErrorLine("Add Submodel Name Over %d Characters Long", static_cast<int>(SUBMDL_NAME_LEN));
    else if (!CMN_IsNotReserved(pszName))
        DIAG_ErrorLine("Invalid Submodel Name (\"%s\"); Reserved Word.", pszName);
    CMN_StrCopy(pEntry->szName, pszName, SUBMDL_NAME_LEN);
}

void CheckModeForType(unsigned eMode, unsigned eModelType) {
    if (eMode == ASM_DRIVING && IsInputType(eModelType))
        DIAG_ErrorLine("Driving mode is not valid for input model types");
    if (eMode == ASM_NON_DRIVING && IsOutputType(eModelType))
        DIAG_ErrorLine("Non-Driving mode is not valid for output model types");
}

bool HasSubmodel(const SUBMDL* pList, const char* pszName) {
    for (const SUBMDL* pSubmdl = pList; pSubmdl != nullptr; pSubmdl = pSubmdl->pNext)
        if (strcmp(pSubmdl->szName, pszName) == 0) return true;
    return false;
}

void FreeSubmodel(SUBMDL* pSubmdl) {
    for (const IvTable& table : g_aIvTables) CRV_Free(pSubmdl->*(table.pField));
    RAMP_Free(pSubmdl->pRamp);
    for (const VtTable& table : g_aVtTables) WVFRM_FreeList(pSubmdl->*(table.pField));
    SMSPEC_Free(pSubmdl->pSubmdlSpec);
    CMN_Free(pSubmdl);
}

}  // namespace

void SUBMDL_Reset() {
    g_submdl = SubmdlState();
    g_submdlNames.Forget();
}

void SUBMDL_New() {
    g_submdl = SubmdlState();
    IBIS* pIbis = nullptr;
    if (!IBIS_GetCurrent(&pIbis)) {
        DIAG_Bug("Unable to get IBIS structure");
        return;
    }
    SUBMDL* pSubmdl = nullptr;
    if (!CMN_Alloc(&pSubmdl, sizeof *pSubmdl)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return;
    }
    IBIS_AddSubmdl(pIbis, pSubmdl);
    g_submdl.pCur = pSubmdl;
    g_submdl.eLastKeyword = KW_SUBMODEL;
}

void SUBMDL_HandleLine(int eLineClass, int eKeyword, char* pszLine) {
    TAV_ASSERT(pszLine != nullptr);
    TAV_ASSERT(eKeyword >= KW_SUBMODEL && eKeyword <= KW_SUB_FALLING_WAVEFORM);
    SUBMDL* pSubmdl = g_submdl.pCur;
    if (eLineClass == LINE_KEYWORD) {
        if (pSubmdl == nullptr) {
            DIAG_ErrorLine("Orphan Sub Model keyword.");
            return;
        }
        g_submdl.eLastKeyword = eKeyword;
        HandleKeywordLine(pSubmdl, eKeyword, pszLine);
    } else if (eLineClass == LINE_DATA) {
        if (pSubmdl == nullptr) {
            DIAG_ErrorLine("Orphan data line keyword.");
            return;
        }
        HandleDataLine(pSubmdl, eKeyword, pszLine);
    }
}

void SUBMDL_EndKeyword(int eNextKeyword) {
    SUBMDL* pSubmdl = g_submdl.pCur;
    if (pSubmdl == nullptr) return;
    CloseKeyword(pSubmdl, g_submdl.eLastKeyword);
    g_submdl.eLastKeyword = KW_NOT_KEY;
    if (eNextKeyword >= KW_SUBMODEL_SPEC && eNextKeyword <= KW_SUB_FALLING_WAVEFORM) return;
    EndSubmodel(pSubmdl);
    g_submdl = SubmdlState();
}

void SUBMDL_Destroy(SUBMDL* pSubmdl) {
    if (pSubmdl == nullptr) return;
    if (g_submdl.pCur == pSubmdl) g_submdl = SubmdlState();
    FreeSubmodel(pSubmdl);
}

void SUBMDL_DestroyList(SUBMDL* pList) {
    g_submdlNames.Forget();
    while (pList != nullptr) {
        SUBMDL* pNext = pList->pNext;
        SUBMDL_Destroy(pList);
        pList = pNext;
    }
}

void ADDSUB_Begin(MDL* pMdl, char* pszLine) {
    TAV_ASSERT(pMdl != nullptr && pszLine != nullptr);
    if (pMdl->pAddSubmdl != nullptr) {
        DIAG_ErrorLine("Add sub model: Already Defined for this model");
        ADDSUB_FreeList(pMdl->pAddSubmdl);
        pMdl->pAddSubmdl = nullptr;
    }
    CMN_CheckKeywordAlone(pszLine, "Add Submodel");
    if (pMdl->eModelType == MT_SERIES || pMdl->eModelType == MT_SERIES_SWITCH)
        DIAG_ErrorLine("Add Submodel is not allowed for Series or Series_switch models");
}

void ADDSUB_Line(const char* pszLine, ADDSUB** ppList, unsigned eModelType) {
    TAV_ASSERT(pszLine != nullptr && ppList != nullptr);
    const WORDS words(pszLine, 2);
    if (!words.Split()) {
        DIAG_BugLine("Unable to Parse %s: %s %d", "Add Submodel", TAV_MODULE, __LINE__);
        return;
    }
    if (words.Found() == 0) {
        DIAG_ErrorLine("Add Submodel Name not found");
        return;
    }
    if (words.Found() > 2) DIAG_ErrorLine("Invalid Add Submodel Line. Expecting two items only");
    ADDSUB* pEntry = AppendEntry(ppList);
    if (pEntry == nullptr) return;
    ReadAddSubmodelName(pEntry, words[0]);
    if (words.Found() < 2) {
        DIAG_ErrorLine("Add Submodel Mode not found");
    } else {
        CMN_MatchSpelling(words[1], "Add Submodel Mode", g_aModes, sizeof g_aModes / sizeof g_aModes[0],
                          &pEntry->eMode);
        CheckModeForType(pEntry->eMode, eModelType);
    }
}

void ADDSUB_FreeList(ADDSUB* pList) {
    while (pList != nullptr) {
        ADDSUB* pNext = pList->pNext;
        CMN_Free(pList);
        pList = pNext;
    }
}

void ADDSUB_CheckAll(MDL* pMdlList, SUBMDL* pSubmdlList) {
    for (const MDL* pMdl = pMdlList; pMdl != nullptr; pMdl = pMdl->pNext) {
        for (const ADDSUB* pEntry = pMdl->pAddSubmdl; pEntry != nullptr; pEntry = pEntry->pNext) {
            if (!HasSubmodel(pSubmdlList, pEntry->szName))
                DIAG_Error("Could not find definition for Submodel %s of Model %s", pEntry->szName,
                           pMdl->szName);
        }
    }
}
