// [Component] and the component-level keywords: the component record with
// its manufacturer, package values and tables, the keyword lines dispatched to
// the pin, mapping and series modules, the required-keyword checks when a
// component closes, and the end-of-file checks of the component list.  State:
// the component open in the read, reset where a read starts.
#define TAV_MODULE "cmpnt"
#include "component/cmpnt.h"

#include <cctype>
#include <cstring>
#include <string>
#include <unordered_map>

#include "component/difpin.h"
#include "component/pin.h"
#include "component/pinmpg.h"
#include "component/pkg.h"
#include "component/rows.h"
#include "component/spinmpg.h"
#include "component/sswch.h"
#include "package/pkgmdl.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/document.h"
#include "core/lines.h"
#include "core/tav_assert.h"

namespace {

// The component being filled, from its [Component] line until a keyword
// that is not a component keyword.
struct CmpntState {
    CMPNT* pCurCmpnt = nullptr;
    int eCurKeyword = KW_NOT_KEY;
    bool bManufacturerSeen = false;
    PINCOLS pinCols{};
};

CmpntState g_cmpnt;

// The IBIS 3.x component sub-parameters on the lines under [Component].
struct SUBPARAM {
    const char* pszName;
    unsigned CMPNT::*pSetting;
};

const SUBPARAM g_aSubparams[] = {
    {"Si_location", &CMPNT::eSiLocation},
    {"Timing_location", &CMPNT::eTimingLocation},
};

const CMN_SPELLING g_aLocations[] = {
    {"Pin", LOCATION_PIN},
    {"Die", LOCATION_DIE},
};

void SetName(CMPNT* pCmpnt, const char* pszValue) {
    CMN_SetKeywordOnce(pCmpnt->szName, pszValue, CMPNT_NAME_LEN, "Component");
    for (const char* p = pCmpnt->szName; *p != '\0'; ++p) {
        if (isspace(static_cast<unsigned char>(*p))) {
            DIAG_WarningLine("Component '%s' contains a blank character.", pCmpnt->szName);
            break;
        }
    }
    CMN_CheckReserved(pCmpnt->szName);
}

void StartPackage(CMPNT* pCmpnt, const char* pszValue) {
    if (pCmpnt->pPkg != nullptr) {
        DIAG_ErrorLine("Duplicate Package keyword.");
        return;
    }
    if (*pszValue != '\0') DIAG_ErrorLine("Unknown data after Package keyword.");
    if (!PKG_Create(&pCmpnt->pPkg)) DIAG_ErrorLine("Unable to add data for %s keyword.", "Package");
}

void KeywordLine(CMPNT* pCmpnt, int eKeyword, char* pszLine) {
    char* pszValue = pszLine;
    if (!CMN_SkipKeyword(&pszValue)) pszValue = pszLine + strlen(pszLine);
    g_cmpnt.eCurKeyword = eKeyword;
    switch (eKeyword) {
        case KW_COMPONENT:
            SetName(pCmpnt, pszValue);
            break;
        case KW_MANUFACTURER:
            CMN_SetKeywordOnce(pCmpnt->szManufacturer, pszValue, CMPNT_MANUFACTURER_LEN, "Manufacturer");
            g_cmpnt.bManufacturerSeen = true;
            break;
        case KW_PACKAGE:
            StartPackage(pCmpnt, pszValue);
            break;
        case KW_PIN:
            PIN_Header(pCmpnt, &g_cmpnt.pinCols, pszValue);
            break;
        case KW_PACKAGE_MODEL:
            CMN_SetKeywordOnce(pCmpnt->szPackageModel, pszValue, CMPNT_PACKAGE_MODEL_LEN, "Package_Model");
            CMN_CheckReserved(pszValue);
            break;
        case KW_PIN_MAPPING:
            PINMPG_Header(pCmpnt, pszValue);
            break;
        case KW_DIFF_PIN:
            DIFPIN_Header(pCmpnt, pszValue);
            break;
        case KW_SERIES_SWITCH_GROUPS:
            SSWCH_Keyword(pCmpnt, pszValue);
            break;
        case KW_SERIES_PIN_MAPPING:
            SPINMPG_Header(pCmpnt, pszValue);
            break;
        default:
            DIAG_BugLine("%s:%d:Illegal keyword passed to cmpnt.", TAV_MODULE, __LINE__);
            break;
    }
}

// The setting of Si_location or Timing_location: Pin or Die, spelled
// exactly.
void ReadLocation(const SUBPARAM& sub, const char* pszWord, CMPNT* pCmpnt) {
    CMN_MatchSpelling(pszWord, sub.pszName, g_aLocations, sizeof g_aLocations / sizeof g_aLocations[0],
                      &(pCmpnt->*sub.pSetting));
}

// A data line under [Component]: IBIS 3.x sub-parameters only.
void SubparamLine(CMPNT* pCmpnt, const char* pszLine) {
    if (PARSE_GetIbisVersion() < 3) {
        DIAG_ErrorLine("Data on this line appears to be for the Component keyword, which does not allow data on "
                       "subsequent lines.");
        return;
    }
    WORDS words(pszLine, 2);
    const SUBPARAM* pSub = nullptr;
    for (const SUBPARAM& sub : g_aSubparams)
        if (words[0] != nullptr && strcmp(words[0], sub.pszName) == 0) pSub = &sub;
    if (pSub == nullptr) {
        DIAG_ErrorLine("Unknown Line after Component Description");
        return;
    }
    if (pCmpnt->*pSub->pSetting != LOCATION_NOT_GIVEN)
        DIAG_ErrorLine("%s Already Defined For Component '%s'", pSub->pszName, pCmpnt->szName);
    pCmpnt->*pSub->pSetting = LOCATION_INVALID;
    if (words.Found() == 1) DIAG_ErrorLine("'%s' Subparameter Missing Setting", pSub->pszName);
    if (words.Found() != 2) {
        DIAG_ErrorLine("Incorrect Number of Line Items (%d) For %s: Expecting %d", words.Found(), pSub->pszName, 2);
        return;
    }
    ReadLocation(*pSub, words[1], pCmpnt);
}

void NoDataAllowed(const char* pszKeyword) {
    DIAG_ErrorLine("Data on this line appears to be for the %s keyword, which does not allow data on subsequent "
                   "lines.",
                   pszKeyword);
}

void CannotAdd(const char* pszKeyword) { DIAG_ErrorLine("Unable to add data for %s keyword.", pszKeyword); }

void DataLine(CMPNT* pCmpnt, const char* pszLine) {
    switch (g_cmpnt.eCurKeyword) {
        case KW_COMPONENT:
            SubparamLine(pCmpnt, pszLine);
            break;
        case KW_MANUFACTURER:
            NoDataAllowed("Manufacturer");
            break;
        case KW_PACKAGE:
            if (pCmpnt->pPkg != nullptr)
                PKG_Line(pCmpnt->pPkg, pszLine);
            else
                CannotAdd("Package");
            break;
        case KW_PIN:
            if (!PIN_AddRow(pszLine, pCmpnt, &g_cmpnt.pinCols)) CannotAdd("Pin");
            break;
        case KW_PACKAGE_MODEL:
            NoDataAllowed("Package Model");
            break;
        case KW_PIN_MAPPING:
            if (!PINMPG_AddRow(pszLine, pCmpnt)) CannotAdd("Pin_Mapping");
            break;
        case KW_DIFF_PIN:
            if (!DIFPIN_AddRow(pszLine, pCmpnt)) CannotAdd("Diff_Pin");
            break;
        case KW_SERIES_SWITCH_GROUPS:
            if (!SSWCH_AddLine(pszLine, pCmpnt)) CannotAdd("Series_Switch_Group");
            break;
        case KW_SERIES_PIN_MAPPING:
            if (!SPINMPG_AddRow(pszLine, pCmpnt)) CannotAdd("Series_Pin_Mapping");
            break;
        default:
            DIAG_BugLine("%s:%d:Unknown keyword received data.", TAV_MODULE, __LINE__);
            break;
    }
}

// The required keywords of the component that is being closed.
void CheckRequired(const CMPNT* pCmpnt) {
    if (!g_cmpnt.bManufacturerSeen)
        DIAG_Error("Required keyword 'Manufacturer' not defined for Component '%s'.", pCmpnt->szName);
    if (pCmpnt->pPkg == nullptr)
        DIAG_Error("Keyword 'Package' not defined for Component '%s'.", pCmpnt->szName);
    else
        PKG_CheckRequired(pCmpnt->pPkg);
}

// Each component against every later one of exactly the same name: one
// report per such pair, each at the earlier component of the pair.  The
// names are counted first, so the pairs are not searched for.
void CheckDuplicates(CMPNT* pList) {
    std::unordered_map<std::string, unsigned> mapLater;
    for (const CMPNT* pCmpnt = pList; pCmpnt != nullptr; pCmpnt = pCmpnt->pNext) ++mapLater[pCmpnt->szName];
    for (const CMPNT* pCmpnt = pList; pCmpnt != nullptr; pCmpnt = pCmpnt->pNext) {
        const unsigned nLater = --mapLater[pCmpnt->szName];
        for (unsigned i = 0; i < nLater; ++i)
            DIAG_Error("Component '%s' is duplicated within the .ibs file.", pCmpnt->szName);
    }
}

// A [Package Model] must name a package model of the document; one not
// read yet is looked for in the .pkg files beside the file.  A document
// that still has no package model at all accepts the name.
void CheckPackageModel(const CMPNT* pCmpnt, IBIS* pIbis) {
    if (pCmpnt->szPackageModel[0] == '\0') return;
    PKGMDL* pFound = nullptr;
    if (PKGMDL_Find(pIbis->pPkgMdlList, pCmpnt->szPackageModel, &pFound)) return;
    if (PKGMDL_FindFile(pCmpnt->szPackageModel) && PKGMDL_Find(pIbis->pPkgMdlList, pCmpnt->szPackageModel, &pFound))
        return;
    if (pIbis->pPkgMdlList != nullptr)
        DIAG_Error("Unable to find Package Model '%s' for Component '%s'", pCmpnt->szPackageModel, pCmpnt->szName);
}

void CheckOne(CMPNT* pCmpnt, IBIS* pIbis) {
    CheckPackageModel(pCmpnt, pIbis);
    if (pCmpnt->pPinList == nullptr)
        DIAG_Error("Unable to find Pin keyword data for Component '%s'.", pCmpnt->szName);
    else
        PIN_CheckList(pCmpnt->pPinList, pCmpnt->pPinMapList, pCmpnt->szName, pCmpnt->szPackageModel);
    if (pCmpnt->pPinMapList != nullptr) PINMPG_CheckList(pCmpnt->pPinMapList, pCmpnt->pPinList, pCmpnt->szName);
    if (pCmpnt->pDiffPinList != nullptr) DIFPIN_CheckList(pCmpnt->pDiffPinList, pCmpnt->pPinList, pCmpnt->szName);
    if (pCmpnt->pSpinMapList != nullptr)
        SPINMPG_CheckList(pCmpnt->pSpinMapList, pCmpnt->pPinList, pCmpnt->szName);
    if (pCmpnt->pSswchList != nullptr) SSWCH_CheckList(pCmpnt->pSswchList, pCmpnt->pSpinMapList, pCmpnt->szName);
}

template <typename T>
int StorePointer(T* pField, T** pp) {
    TAV_ASSERT(pp != nullptr);
    *pp = pField;
    return pField != nullptr;
}

int StoreCount(int nField, int* pn) {
    TAV_ASSERT(pn != nullptr);
    *pn = nField;
    return 1;
}

// Checks the open component and closes it.
void CloseComponent() {
    CheckRequired(g_cmpnt.pCurCmpnt);
    // No row is appended to a closed component: the duplicate counts of its
    // pin and pin mapping tables go, and with them their memory.
    PIN_Reset();
    PINMPG_Reset();
    g_cmpnt.pCurCmpnt = nullptr;
    g_cmpnt.bManufacturerSeen = false;
}

}  // namespace

void CMPNT_Reset() {
    g_cmpnt = CmpntState{};
    PIN_ResetColumns(&g_cmpnt.pinCols);
    PIN_Reset();
    PINMPG_Reset();
    DIFPIN_Reset();
    SPINMPG_Reset();
    SSWCH_Reset();
}

void CMPNT_Start() {
    // The [Component] line has already closed any component before it.
    TAV_ASSERT(g_cmpnt.pCurCmpnt == nullptr);
    IBIS* pIbis = nullptr;
    if (!IBIS_GetCurrent(&pIbis)) {
        DIAG_BugLine("%s:%d:Unable to get IBIS.", TAV_MODULE, __LINE__);
        return;
    }
    CMPNT* pCmpnt = nullptr;
    if (!CMN_Alloc(&pCmpnt, sizeof(CMPNT))) {
        DIAG_ErrorLine("Unable to create new CMPNT.");
        return;
    }
    IBIS_AddCmpnt(pIbis, pCmpnt);
    g_cmpnt.pCurCmpnt = pCmpnt;
    PIN_ResetColumns(&g_cmpnt.pinCols);
}

void CMPNT_Line(int eLineClass, int eKeyword, char* pszLine) {
    TAV_ASSERT(pszLine != nullptr);
    CMPNT* pCmpnt = g_cmpnt.pCurCmpnt;
    if (pCmpnt == nullptr && eLineClass == LINE_KEYWORD) {
        DIAG_ErrorLine("Orphan Component keyword.");
    } else if (pCmpnt == nullptr && eLineClass == LINE_DATA) {
        DIAG_ErrorLine("Orphan data line keyword.");
    } else if (eLineClass == LINE_KEYWORD) {
        KeywordLine(pCmpnt, eKeyword, pszLine);
    } else if (eLineClass == LINE_DATA) {
        DataLine(pCmpnt, pszLine);
    } else {
        DIAG_BugLine("%s:%d:Illegal line type passed to cmpnt.", TAV_MODULE, __LINE__);
    }
}

// A keyword after a component keyword: another [Component] or any
// keyword outside the component closes the open component.
void CMPNT_EndKeyword(int eNewKeyword) {
    bool bStaysOpen = eNewKeyword > KW_COMPONENT && eNewKeyword <= KW_SERIES_PIN_MAPPING;
    if (bStaysOpen || g_cmpnt.pCurCmpnt == nullptr) return;
    CloseComponent();
}

// End-of-file checks of every component of a .ibs file.
void CMPNT_CheckList(CMPNT* pList) {
    IBIS* pIbis = nullptr;
    if (!IBIS_GetCurrent(&pIbis)) {
        DIAG_Bug("%s:%d:Unable to get IBIS?", TAV_MODULE, __LINE__);
        return;
    }
    CheckDuplicates(pList);
    for (CMPNT* pCmpnt = pList; pCmpnt != nullptr; pCmpnt = pCmpnt->pNext) CheckOne(pCmpnt, pIbis);
}

void CMPNT_Destroy(CMPNT* pList) {
    while (pList != nullptr) {
        CMPNT* pNext = pList->pNext;
        if (pList == g_cmpnt.pCurCmpnt) g_cmpnt.pCurCmpnt = nullptr;
        PKG_Destroy(pList->pPkg);
        PIN_Destroy(pList->pPinList);
        PINMPG_Destroy(pList->pPinMapList);
        DIFPIN_Destroy(pList->pDiffPinList);
        SPINMPG_Destroy(pList->pSpinMapList);
        SSWCH_Destroy(pList->pSswchList);
        CMN_Free(pList);
        pList = pNext;
    }
}

int CMPNT_GetName(const CMPNT* pCmpnt, const char** ppsz) { return CMN_GIVE_TEXT(CMN_RECORD(pCmpnt).szName, ppsz); }

int CMPNT_GetManufacturer(const CMPNT* pCmpnt, const char** ppsz) {
    return CMN_GIVE_TEXT(CMN_RECORD(pCmpnt).szManufacturer, ppsz);
}

int CMPNT_GetPkg(const CMPNT* pCmpnt, PKG** ppPkg) { return StorePointer(CMN_RECORD(pCmpnt).pPkg, ppPkg); }
int CMPNT_GetPinList(const CMPNT* pCmpnt, PIN** ppList) { return StorePointer(CMN_RECORD(pCmpnt).pPinList, ppList); }

int CMPNT_GetPinMapList(const CMPNT* pCmpnt, PINMPG** ppList) {
    return StorePointer(CMN_RECORD(pCmpnt).pPinMapList, ppList);
}

int CMPNT_GetDiffPinList(const CMPNT* pCmpnt, DIFPIN** ppList) {
    return StorePointer(CMN_RECORD(pCmpnt).pDiffPinList, ppList);
}

int CMPNT_GetSpinMapList(const CMPNT* pCmpnt, SPINMPG** ppList) {
    return StorePointer(CMN_RECORD(pCmpnt).pSpinMapList, ppList);
}

int CMPNT_GetPinColumns(const CMPNT* pCmpnt, int* pn) { return StoreCount(CMN_RECORD(pCmpnt).nPinColumns, pn); }

int CMPNT_GetPinMapColumns(const CMPNT* pCmpnt, int* pn) {
    return StoreCount(CMN_RECORD(pCmpnt).nPinMapColumns, pn);
}

int CMPNT_GetDiffPinColumns(const CMPNT* pCmpnt, int* pn) {
    return StoreCount(CMN_RECORD(pCmpnt).nDiffPinColumns, pn);
}

int CMPNT_GetNext(const CMPNT* pCmpnt, CMPNT** ppNext) { return StorePointer(CMN_RECORD(pCmpnt).pNext, ppNext); }
