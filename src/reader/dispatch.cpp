// Keyword recognition and dispatch: the two keyword tables, the context
// rules that give a repeated name its owner, the close of the previous
// keyword and the start of the next one in the module that owns it, and
// the line handlers that hand every line to that module.  Driven by the
// read driver; its state is the line state of core/lines.
#define TAV_MODULE "parse"
#include "reader/dispatch.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "component/cmpnt.h"
#include "model/mdl.h"
#include "model/msel.h"
#include "model/submdl.h"
#include "package/ebdmdl.h"
#include "package/pkgmdl.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/lines.h"
#include "core/tav_assert.h"
#include "reader/hdr.h"

// Keyword tables.  The IBIS 3.2 table lists the codes in order with
// COMMENT_CHAR and END moved to the end; the IBIS 2.1 table is its subset.
// A name that occurs twice is found at its first entry only.
const KEYWORD_ENTRY g_aKeywords32[] = {
    {"IBIS_VER", KW_IBIS_VER},
    {"FILE_NAME", KW_FILE_NAME},
    {"FILE_REV", KW_FILE_REV},
    {"DATE", KW_DATE},
    {"SOURCE", KW_SOURCE},
    {"NOTES", KW_NOTES},
    {"DISCLAIMER", KW_DISCLAIMER},
    {"COPYRIGHT", KW_COPYRIGHT},
    {"COMPONENT", KW_COMPONENT},
    {"MANUFACTURER", KW_MANUFACTURER},
    {"PACKAGE", KW_PACKAGE},
    {"PIN", KW_PIN},
    {"PACKAGE_MODEL", KW_PACKAGE_MODEL},
    {"PIN_MAPPING", KW_PIN_MAPPING},
    {"DIFF_PIN", KW_DIFF_PIN},
    {"SERIES_SWITCH_GROUPS", KW_SERIES_SWITCH_GROUPS},
    {"SERIES_PIN_MAPPING", KW_SERIES_PIN_MAPPING},
    {"MODEL", KW_MODEL},
    {"TEMPERATURE_RANGE", KW_TEMPERATURE_RANGE},
    {"VOLTAGE_RANGE", KW_VOLTAGE_RANGE},
    {"PULLUP_REFERENCE", KW_PULLUP_REFERENCE},
    {"PULLDOWN_REFERENCE", KW_PULLDOWN_REFERENCE},
    {"POWER_CLAMP_REFERENCE", KW_POWER_CLAMP_REFERENCE},
    {"GND_CLAMP_REFERENCE", KW_GND_CLAMP_REFERENCE},
    {"PULLDOWN", KW_PULLDOWN},
    {"PULLUP", KW_PULLUP},
    {"GND_CLAMP", KW_GND_CLAMP},
    {"POWER_CLAMP", KW_POWER_CLAMP},
    {"RGND", KW_RGND},
    {"RPOWER", KW_RPOWER},
    {"RAC", KW_RAC},
    {"CAC", KW_CAC},
    {"RAMP", KW_RAMP},
    {"RISING_WAVEFORM", KW_RISING_WAVEFORM},
    {"FALLING_WAVEFORM", KW_FALLING_WAVEFORM},
    {"TTGND", KW_TTGND},
    {"TTPOWER", KW_TTPOWER},
    {"MODEL_SPEC", KW_MODEL_SPEC},
    {"DRIVER_SCHEDULE", KW_DRIVER_SCHEDULE},
    {"ON", KW_ON},
    {"OFF", KW_OFF},
    {"R_SERIES", KW_R_SERIES},
    {"L_SERIES", KW_L_SERIES},
    {"RL_SERIES", KW_RL_SERIES},
    {"C_SERIES", KW_C_SERIES},
    {"LC_SERIES", KW_LC_SERIES},
    {"RC_SERIES", KW_RC_SERIES},
    {"SERIES_CURRENT", KW_SERIES_CURRENT},
    {"SERIES_MOSFET", KW_SERIES_MOSFET},
    {"ADD_SUBMODEL", KW_ADD_SUBMODEL},
    {"DEFINE_PACKAGE_MODEL", KW_DEFINE_PACKAGE_MODEL},
    {"MANUFACTURER", KW_PKG_MANUFACTURER},
    {"OEM", KW_OEM},
    {"DESCRIPTION", KW_DESCRIPTION},
    {"NUMBER_OF_PINS", KW_NUMBER_OF_PINS},
    {"PIN_NUMBERS", KW_PIN_NUMBERS},
    {"MODEL_DATA", KW_MODEL_DATA},
    {"RESISTANCE_MATRIX", KW_RESISTANCE_MATRIX},
    {"INDUCTANCE_MATRIX", KW_INDUCTANCE_MATRIX},
    {"CAPACITANCE_MATRIX", KW_CAPACITANCE_MATRIX},
    {"BANDWIDTH", KW_BANDWIDTH},
    {"ROW", KW_ROW},
    {"END_MODEL_DATA", KW_END_MODEL_DATA},
    {"END_PACKAGE_MODEL", KW_END_PACKAGE_MODEL},
    {"NUMBER_OF_SECTIONS", KW_NUMBER_OF_SECTIONS},
    {"BEGIN_BOARD_DESCRIPTION", KW_BEGIN_BOARD_DESCRIPTION},
    {"MANUFACTURER", KW_EBD_MANUFACTURER},
    {"NUMBER_OF_PINS", KW_EBD_NUMBER_OF_PINS},
    {"PIN_LIST", KW_PIN_LIST},
    {"PATH_DESCRIPTION", KW_PATH_DESCRIPTION},
    {"REFERENCE_DESIGNATOR_MAP", KW_REFERENCE_DESIGNATOR_MAP},
    {"END_BOARD_DESCRIPTION", KW_END_BOARD_DESCRIPTION},
    {"MODEL_SELECTOR", KW_MODEL_SELECTOR},
    {"SUBMODEL", KW_SUBMODEL},
    {"SUBMODEL_SPEC", KW_SUBMODEL_SPEC},
    {"GND_PULSE_TABLE", KW_GND_PULSE_TABLE},
    {"POWER_PULSE_TABLE", KW_POWER_PULSE_TABLE},
    {"PULLDOWN", KW_SUB_PULLDOWN},
    {"PULLUP", KW_SUB_PULLUP},
    {"GND_CLAMP", KW_SUB_GND_CLAMP},
    {"POWER_CLAMP", KW_SUB_POWER_CLAMP},
    {"RAMP", KW_SUB_RAMP},
    {"RISING_WAVEFORM", KW_SUB_RISING_WAVEFORM},
    {"FALLING_WAVEFORM", KW_SUB_FALLING_WAVEFORM},
    {"COMMENT_CHAR", KW_COMMENT_CHAR},
    {"END", KW_END},
    {"NOT_KEY", KW_NOT_KEY},
};

const KEYWORD_ENTRY g_aKeywords21[] = {
    {"IBIS_VER", KW_IBIS_VER},
    {"FILE_NAME", KW_FILE_NAME},
    {"FILE_REV", KW_FILE_REV},
    {"DATE", KW_DATE},
    {"SOURCE", KW_SOURCE},
    {"NOTES", KW_NOTES},
    {"DISCLAIMER", KW_DISCLAIMER},
    {"COPYRIGHT", KW_COPYRIGHT},
    {"COMPONENT", KW_COMPONENT},
    {"MANUFACTURER", KW_MANUFACTURER},
    {"PACKAGE", KW_PACKAGE},
    {"PIN", KW_PIN},
    {"PACKAGE_MODEL", KW_PACKAGE_MODEL},
    {"PIN_MAPPING", KW_PIN_MAPPING},
    {"DIFF_PIN", KW_DIFF_PIN},
    {"MODEL", KW_MODEL},
    {"TEMPERATURE_RANGE", KW_TEMPERATURE_RANGE},
    {"VOLTAGE_RANGE", KW_VOLTAGE_RANGE},
    {"PULLUP_REFERENCE", KW_PULLUP_REFERENCE},
    {"PULLDOWN_REFERENCE", KW_PULLDOWN_REFERENCE},
    {"POWER_CLAMP_REFERENCE", KW_POWER_CLAMP_REFERENCE},
    {"GND_CLAMP_REFERENCE", KW_GND_CLAMP_REFERENCE},
    {"PULLDOWN", KW_PULLDOWN},
    {"PULLUP", KW_PULLUP},
    {"GND_CLAMP", KW_GND_CLAMP},
    {"POWER_CLAMP", KW_POWER_CLAMP},
    {"RGND", KW_RGND},
    {"RPOWER", KW_RPOWER},
    {"RAC", KW_RAC},
    {"CAC", KW_CAC},
    {"RAMP", KW_RAMP},
    {"RISING_WAVEFORM", KW_RISING_WAVEFORM},
    {"FALLING_WAVEFORM", KW_FALLING_WAVEFORM},
    {"DEFINE_PACKAGE_MODEL", KW_DEFINE_PACKAGE_MODEL},
    {"MANUFACTURER", KW_PKG_MANUFACTURER},
    {"OEM", KW_OEM},
    {"DESCRIPTION", KW_DESCRIPTION},
    {"NUMBER_OF_PINS", KW_NUMBER_OF_PINS},
    {"PIN_NUMBERS", KW_PIN_NUMBERS},
    {"MODEL_DATA", KW_MODEL_DATA},
    {"RESISTANCE_MATRIX", KW_RESISTANCE_MATRIX},
    {"INDUCTANCE_MATRIX", KW_INDUCTANCE_MATRIX},
    {"CAPACITANCE_MATRIX", KW_CAPACITANCE_MATRIX},
    {"BANDWIDTH", KW_BANDWIDTH},
    {"ROW", KW_ROW},
    {"END_MODEL_DATA", KW_END_MODEL_DATA},
    {"END_PACKAGE_MODEL", KW_END_PACKAGE_MODEL},
    {"COMMENT_CHAR", KW_COMMENT_CHAR},
    {"END", KW_END},
    {"NOT_KEY", KW_NOT_KEY},
};

namespace {

enum { MAX_KEYWORD_TEXT = 77 };

bool IsKind(int eFileKind, int eWanted) { return eFileKind == eWanted; }

bool IsIbsOrPkg(int eFileKind) {
    return eFileKind == FILE_KIND_IBS || eFileKind == FILE_KIND_PKG;
}

// IBIS 2.1 files read package models in every kind of file.
bool PackageModelsAllowed(int eFileKind) { return IsIbsOrPkg(eFileKind) || PARSE_GetIbisVersion() < 3; }

bool InRange(int eCode, int eLow, int eHigh) { return eCode >= eLow && eCode <= eHigh; }

bool IsHeaderCode(int eCode) { return eCode == KW_IBIS_VER || InRange(eCode, KW_FILE_NAME, KW_COPYRIGHT); }

const KEYWORD_ENTRY* FindKeyword(const KEYWORD_ENTRY* pTable, const char* pszText) {
    char szName[MAX_KEYWORD_TEXT + 1];
    for (const KEYWORD_ENTRY* pEntry = pTable; pEntry->eCode != KW_NOT_KEY; ++pEntry) {
        CMN_StrCopy(szName, pszText, MAX_KEYWORD_TEXT);
        if (CMN_KeywordEqual(pEntry->pszName, szName)) return pEntry;
    }
    return nullptr;
}

// Board descriptions and submodels exist only in IBIS 3.2: the .ebd files
// of IBIS 2.1 hold package models, whose [Number Of Pins] stays theirs, and
// a [Submodel] read before a switch to IBIS 2.1 claims no 2.1 tables.
int ApplyContextRules(int eCode, int ePrevious, bool bIbis32) {
    if (eCode == KW_MANUFACTURER) {
        if (InRange(ePrevious, KW_DEFINE_PACKAGE_MODEL, KW_DESCRIPTION)) return KW_PKG_MANUFACTURER;
        if (ePrevious == KW_BEGIN_BOARD_DESCRIPTION || ePrevious == KW_EBD_MANUFACTURER)
            return KW_EBD_MANUFACTURER;
        return eCode;
    }
    if (!bIbis32) return eCode;
    if (eCode == KW_NUMBER_OF_PINS && PARSE_GetFileKind() == FILE_KIND_EBD) return KW_EBD_NUMBER_OF_PINS;
    if (PARSE_IsInSubmodel()) {
        switch (eCode) {
            case KW_PULLDOWN: return KW_SUB_PULLDOWN;
            case KW_PULLUP: return KW_SUB_PULLUP;
            case KW_GND_CLAMP: return KW_SUB_GND_CLAMP;
            case KW_POWER_CLAMP: return KW_SUB_POWER_CLAMP;
            case KW_RAMP: return KW_SUB_RAMP;
            case KW_RISING_WAVEFORM: return KW_SUB_RISING_WAVEFORM;
            case KW_FALLING_WAVEFORM: return KW_SUB_FALLING_WAVEFORM;
            default: break;
        }
    }
    return eCode;
}

void EndHandler(char* pszLine) {
    char* psz = pszLine;
    CMN_SkipKeyword(&psz);
    if (*psz != '\0') DIAG_ErrorLine("Extraneous data on End keyword line.");
    PARSE_SetEndSeen();
}

void PrintBanner() {
    if (PARSE_GetIbisVersion() == 2)
        printf("\nChecking %s for IBIS 2.1 Compatibility...\n\n", PARSE_FileName());
    else if (PARSE_GetIbisVersion() == 3)
        printf("\nChecking %s for IBIS 3.2 Compatibility...\n\n", PARSE_FileName());
}

// Recognises a keyword line, closes the previous keyword and opens the new
// one.  A line that is not recognised leaves the previous keyword open and
// the data after it unread; the next recognised keyword still closes it, so
// that an unknown keyword (one of a later IBIS version, say) cannot hide the
// end checks of the component, model or header before it.
void SwitchKeyword(int eFileKind, char* pszLine, const KEYWORD_ENTRY* pTable) {
    int eNew = KW_NOT_KEY;
    if (!PARSE_Recognize(pszLine, PARSE_GetCurKeyword(), &eNew, pTable)) {
        PARSE_SetCurKeyword(KW_NOT_KEY);
        return;
    }
    PARSE_EndKeyword(PARSE_GetOpenKeyword(), eNew);
    PARSE_StartKeyword(eFileKind, eNew);
    PARSE_SetCurKeyword(eNew);
    PARSE_SetOpenKeyword(eNew);
}

void ReportUnknownKeyword() {
    DIAG_BugLine("%s:%d:Unknown current keyword.", "parse", __LINE__);
}

void HandleLine32(int eFileKind, int eLineClass, char* pszLine) {
    const int eCode = PARSE_GetCurKeyword();
    const bool bIbs = IsKind(eFileKind, FILE_KIND_IBS);
    if (eCode == KW_IBIS_VER) {
        HDR_Line(eLineClass, eCode, pszLine);
        PrintBanner();
    } else if (IsHeaderCode(eCode)) {
        HDR_Line(eLineClass, eCode, pszLine);
    } else if (InRange(eCode, KW_COMPONENT, KW_SERIES_PIN_MAPPING)) {
        if (bIbs) CMPNT_Line(eLineClass, eCode, pszLine);
    } else if (InRange(eCode, KW_MODEL, KW_ADD_SUBMODEL)) {
        if (eCode == KW_MODEL) PARSE_SetInSubmodel(0);
        if (bIbs) MDL_HandleLine(eLineClass, eCode, pszLine);
    } else if (InRange(eCode, KW_DEFINE_PACKAGE_MODEL, KW_NUMBER_OF_SECTIONS)) {
        if (IsIbsOrPkg(eFileKind)) PKGMDL_Line(eLineClass, eCode, pszLine);
    } else if (InRange(eCode, KW_BEGIN_BOARD_DESCRIPTION, KW_END_BOARD_DESCRIPTION)) {
        if (IsKind(eFileKind, FILE_KIND_EBD)) EBDMDL_Line(eLineClass, eCode, pszLine);
    } else if (eCode == KW_MODEL_SELECTOR) {
        if (bIbs) MSEL_HandleLine(eLineClass, eCode, pszLine);
    } else if (InRange(eCode, KW_SUBMODEL, KW_SUB_FALLING_WAVEFORM)) {
        if (eCode == KW_SUBMODEL) PARSE_SetInSubmodel(1);
        if (bIbs) SUBMDL_HandleLine(eLineClass, eCode, pszLine);
    } else if (eCode == KW_END) {
        EndHandler(pszLine);
    } else if (eCode == KW_NOT_KEY) {
        DIAG_ErrorLine("Data for unknown keyword.\n%s", pszLine);
    } else {
        ReportUnknownKeyword();
    }
}

void HandleLine21(int eFileKind, int eLineClass, char* pszLine) {
    const int eCode = PARSE_GetCurKeyword();
    const bool bIbs = IsKind(eFileKind, FILE_KIND_IBS);
    if (eCode == KW_IBIS_VER) {
        HDR_Line(eLineClass, eCode, pszLine);
        PrintBanner();
    } else if (IsHeaderCode(eCode)) {
        HDR_Line(eLineClass, eCode, pszLine);
    } else if (InRange(eCode, KW_COMPONENT, KW_DIFF_PIN)) {
        if (bIbs) CMPNT_Line(eLineClass, eCode, pszLine);
    } else if (InRange(eCode, KW_MODEL, KW_FALLING_WAVEFORM)) {
        if (bIbs) MDL_HandleLine(eLineClass, eCode, pszLine);
    } else if (InRange(eCode, KW_DEFINE_PACKAGE_MODEL, KW_END_PACKAGE_MODEL)) {
        PKGMDL_Line(eLineClass, eCode, pszLine);
    } else if (eCode == KW_END) {
        EndHandler(pszLine);
    } else if (eCode == KW_NOT_KEY) {
        DIAG_ErrorLine("Data for unknown keyword.\n%s", pszLine);
    } else {
        ReportUnknownKeyword();
    }
}

void StartKeyword21(int eFileKind, int eNew) {
    switch (eNew) {
        case KW_COMPONENT:
        case KW_MODEL:
            if (!IsKind(eFileKind, FILE_KIND_IBS)) {
                DIAG_ErrorLine("Illegal keyword for a '.pkg' file.");
            } else if (eNew == KW_COMPONENT) {
                CMPNT_Start();
            } else {
                MDL_New();
            }
            break;
        case KW_DEFINE_PACKAGE_MODEL:
            PKGMDL_Init();
            break;
        default:
            break;
    }
}

void RefuseForKind(int eFileKind) {
    if (eFileKind == FILE_KIND_IBS)
        DIAG_ErrorLine("Illegal keyword for a '.ibs' file.");
    else if (eFileKind == FILE_KIND_PKG)
        DIAG_ErrorLine("Illegal keyword for a '.pkg' file.");
    else
        DIAG_ErrorLine("Illegal keyword for a '.ebd' file.");
}

void StartKeyword32(int eFileKind, int eNew) {
    const bool bIbs = IsKind(eFileKind, FILE_KIND_IBS);
    switch (eNew) {
        case KW_COMPONENT:
            if (bIbs) CMPNT_Start(); else RefuseForKind(eFileKind);
            break;
        case KW_MODEL:
            if (bIbs) MDL_New(); else RefuseForKind(eFileKind);
            break;
        case KW_DEFINE_PACKAGE_MODEL:
            if (IsIbsOrPkg(eFileKind)) PKGMDL_Init(); else RefuseForKind(eFileKind);
            break;
        case KW_BEGIN_BOARD_DESCRIPTION:
            if (IsKind(eFileKind, FILE_KIND_EBD)) EBDMDL_Init(); else RefuseForKind(eFileKind);
            break;
        case KW_MODEL_SELECTOR:
            if (bIbs) MSEL_Init(); else RefuseForKind(eFileKind);
            break;
        case KW_SUBMODEL:
            if (bIbs) SUBMDL_New(); else RefuseForKind(eFileKind);
            break;
        default:
            break;
    }
}

}  // namespace

int PARSE_Recognize(char* pszLine, int ePrevious, int* peCode, const KEYWORD_ENTRY* pTable) {
    TAV_ASSERT(pszLine != nullptr && peCode != nullptr && pTable != nullptr);
    TAV_ASSERT(pszLine[0] == '[');
    const char* pszClose = strchr(pszLine, ']');
    if (pszClose == nullptr) {
        DIAG_ErrorLine("Keyword Missing Ending Bracket (']').");
        return 0;
    }
    const size_t nLen = static_cast<size_t>(pszClose - pszLine - 1);
    if (nLen == 0 || nLen > MAX_KEYWORD_TEXT) {
        DIAG_ErrorLine("Invalid Keyword.");
        return 0;
    }
    char szText[MAX_KEYWORD_TEXT + 1];
    memcpy(szText, pszLine + 1, nLen);
    szText[nLen] = '\0';
    const KEYWORD_ENTRY* pEntry = FindKeyword(pTable, szText);
    if (pEntry == nullptr) {
        DIAG_ErrorLine("Invalid Keyword. %s", szText);
        return 0;
    }
    *peCode = ApplyContextRules(pEntry->eCode, ePrevious, pTable == g_aKeywords32);
    return 1;
}

// Closes the previous keyword in the module that owns it.  A module refused
// for this kind of file has nothing open, so it is not asked.
void PARSE_EndKeyword(int ePrevious, int eNew) {
    const int eKind = PARSE_GetFileKind();
    const bool bIbs = IsKind(eKind, FILE_KIND_IBS);
    if (IsHeaderCode(ePrevious))
        HDR_EndKeyword(eNew);
    else if (InRange(ePrevious, KW_COMPONENT, KW_SERIES_PIN_MAPPING) && bIbs)
        CMPNT_EndKeyword(eNew);
    else if (InRange(ePrevious, KW_MODEL, KW_ADD_SUBMODEL) && bIbs)
        MDL_EndKeyword(eNew);
    else if (InRange(ePrevious, KW_DEFINE_PACKAGE_MODEL, KW_NUMBER_OF_SECTIONS) &&
             PackageModelsAllowed(eKind))
        PKGMDL_End(eNew);
    else if (InRange(ePrevious, KW_BEGIN_BOARD_DESCRIPTION, KW_END_BOARD_DESCRIPTION) &&
             IsKind(eKind, FILE_KIND_EBD))
        EBDMDL_End(eNew);
    else if (ePrevious == KW_MODEL_SELECTOR && bIbs)
        MSEL_End();
    else if (InRange(ePrevious, KW_SUBMODEL, KW_SUB_FALLING_WAVEFORM) && bIbs)
        SUBMDL_EndKeyword(eNew);
}

void PARSE_StartKeyword(int eFileKind, int eNew) {
    if (eNew == KW_IBIS_VER) {
        if (PARSE_IsIbisVerSeen()) DIAG_ErrorLine("Duplicate IBIS_Ver keyword.");
        PARSE_SetIbisVerSeen();
        HDR_Start();
        return;
    }
    if (PARSE_GetIbisVersion() >= 3)
        StartKeyword32(eFileKind, eNew);
    else
        StartKeyword21(eFileKind, eNew);
}

void PARSE_Dispatch32(int eFileKind, int eLineClass, char* pszLine) {
    TAV_ASSERT(pszLine != nullptr);
    if (eLineClass == LINE_KEYWORD) {
        if (PARSE_GetNotTerminated()) {
            DIAG_ErrorLine("Previous keyword not terminated properly. Possibly missing a \"/\"\n");
            PARSE_SetNotTerminated(0);
        }
        SwitchKeyword(eFileKind, pszLine, g_aKeywords32);
        if (PARSE_GetCurKeyword() == KW_NOT_KEY) return;
    }
    HandleLine32(eFileKind, eLineClass, pszLine);
}

void PARSE_Dispatch21(int eFileKind, int eLineClass, char* pszLine) {
    TAV_ASSERT(pszLine != nullptr);
    if (eLineClass == LINE_KEYWORD) {
        SwitchKeyword(eFileKind, pszLine, g_aKeywords21);
        if (PARSE_GetCurKeyword() == KW_NOT_KEY) return;
    }
    HandleLine21(eFileKind, eLineClass, pszLine);
}


