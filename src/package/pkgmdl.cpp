// Package models: [Define Package Model] ... [End Package Model] in .ibs
// and .pkg files, their pin numbers in the simple and the section form, the
// end checks of a model, the list operations used by the component checks,
// and the search of the .pkg files of a directory for a model.  State: the
// model being read and its reading flags (below).  Called by the keyword
// dispatch and by the component checks at the end of a file.
#define TAV_MODULE "pkgmdl"
#include "package/pkgmdl.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>

#include "package/count.h"
#include "package/mtx.h"
#include "package/sect.h"
#include "platform/platform.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/document.h"
#include "core/lines.h"
#include "core/tav_assert.h"

namespace {

// Slots of the pin arrays made at a model's first pin line; they double as
// pin lines arrive, up to [Number Of Pins].
constexpr unsigned FIRST_PIN_SLOTS = 64;
constexpr size_t FILE_DEFINES_LINE = 1025;

struct PkgState {
    PKGMDL* pCur = nullptr;
    int eKeyword = KW_NOT_KEY;
    int ePrevKeyword = KW_NOT_KEY;
    int eMatrixKeyword = KW_NOT_KEY;
    bool bPinNumbersSeen = false;
    bool bModelDataSeen = false;
    bool bEndModelDataSeen = false;
    bool bEndPackageModelSeen = false;
    bool bSectionsGiven = false;
    unsigned uiPinCount = 0;
    // 1-based slot of the pin whose path is being read; 0 = none.
    unsigned uiPathPin = 0;
    SECTNODE* pCurNode = nullptr;
    FORKSTACK<SECTNODE> forks;
    // First position of each pin number of the current model (1-based).
    std::unordered_map<std::string, unsigned> pinIndex;
    // Position reached by PKGMDL_NextPin.
    unsigned uiNextPin = 0;
};

PkgState g_pkg;

// ------------------------------------------------------------ small helpers

char* ValueOf(char* pszLine) {
    char* psz = pszLine;
    if (!CMN_SkipKeyword(&psz)) psz = pszLine + strlen(pszLine);
    return psz;
}

MTX** MatrixSlot(PKGMDL* pMdl, int eKeyword) {
    switch (eKeyword) {
        case KW_RESISTANCE_MATRIX: return &pMdl->pResistance;
        case KW_INDUCTANCE_MATRIX: return &pMdl->pInductance;
        case KW_CAPACITANCE_MATRIX: return &pMdl->pCapacitance;
        default: return nullptr;
    }
}

const char* MatrixName(int eKeyword) {
    switch (eKeyword) {
        case KW_RESISTANCE_MATRIX: return "Resistance";
        case KW_INDUCTANCE_MATRIX: return "Inductance";
        default: return "Capacitance";
    }
}

bool IsPackageKeyword(int eKeyword) {
    return eKeyword >= KW_DEFINE_PACKAGE_MODEL && eKeyword <= KW_NUMBER_OF_SECTIONS;
}

// ------------------------------------------------------------ keyword lines

void NumberOfPins(PKGMDL* pMdl, const char* pszValue) {
    if (pszValue[0] == '\0') {
        DIAG_ErrorLine("Blank Number_of_Pins value.");
        return;
    }
    if (pMdl->uiNumberOfPins != 0) {
        DIAG_ErrorLine("Duplicate Number_of_Pins keyword.");
        return;
    }
    const int nResult = PACKAGE_GetCount(pszValue, &pMdl->uiNumberOfPins);
    if (nResult == 2)
        DIAG_WarningLine("Suspicious Number_of_Pins value.");
    else if (nResult == 0)
        DIAG_ErrorLine("Bad Number_of_Pins value.");
    else if (pMdl->uiNumberOfPins == 0)
        DIAG_ErrorLine("Number_of_Pins = 0.");
}

void NumberOfSections(PKGMDL* pMdl, const char* pszValue) {
    if (pszValue[0] == '\0') {
        DIAG_ErrorLine("Blank Number_of_Sections value.");
        return;
    }
    if (pMdl->uiNumberOfSections != 0) {
        DIAG_ErrorLine("Duplicate Number_of_Sections keyword.");
        return;
    }
    g_pkg.bSectionsGiven = true;
    if (pMdl->ppszPinNumbers != nullptr) DIAG_ErrorLine("Number of Sections should be specified before Pin Numbers");
    const int nResult = PACKAGE_GetCount(pszValue, &pMdl->uiNumberOfSections);
    if (nResult == 2)
        DIAG_WarningLine("Suspicious Number_of_Sections value.");
    else if (nResult == 0)
        DIAG_ErrorLine("Bad Number_of_Sections value.");
    else if (pMdl->uiNumberOfSections == 0)
        DIAG_ErrorLine("Number_of_Sections = 0.");
}

void SeenFlag(bool* pbSeen, const char* pszName, const char* pszValue) {
    if (*pbSeen)
        DIAG_ErrorLine("Duplicate '%s' keyword found.", pszName);
    else if (pszValue[0] != '\0')
        DIAG_ErrorLine("Extraneous data on '%s' line.", pszName);
    *pbSeen = true;
}

void MatrixKeyword(PKGMDL* pMdl, int eKeyword, const char* pszValue) {
    g_pkg.eMatrixKeyword = eKeyword;
    MTX** ppSlot = MatrixSlot(pMdl, eKeyword);
    if (*ppSlot != nullptr) {
        DIAG_ErrorLine("Duplicate %s Matrix.", MatrixName(eKeyword));
        return;
    }
    MTX_Create(ppSlot, pszValue, pMdl->uiNumberOfPins);
}

void Bandwidth(PKGMDL* pMdl, const char* pszValue) {
    if (g_pkg.ePrevKeyword == KW_BANDWIDTH) {
        DIAG_ErrorLine("Multiple Bandwidth keywords.");
        return;
    }
    MTX** ppSlot = MatrixSlot(pMdl, g_pkg.ePrevKeyword);
    if (ppSlot == nullptr) {
        DIAG_ErrorLine("Bandwidth keyword in wrong location.");
        return;
    }
    if (*ppSlot != nullptr) MTX_SetBandwidth(*ppSlot, pszValue);
}

void Row(PKGMDL* pMdl, const char* pszValue) {
    MTX** ppSlot = MatrixSlot(pMdl, g_pkg.eMatrixKeyword);
    if (ppSlot == nullptr) {
        DIAG_ErrorLine("Row keyword in wrong location.");
        return;
    }
    if (*ppSlot != nullptr) MTX_AddRow(*ppSlot, pszValue);
}

void KeywordLine(PKGMDL* pMdl, int eKeyword, char* pszLine) {
    g_pkg.ePrevKeyword = g_pkg.eKeyword;
    g_pkg.eKeyword = eKeyword;
    const char* pszValue = ValueOf(pszLine);
    switch (eKeyword) {
        case KW_DEFINE_PACKAGE_MODEL:
            CMN_SetKeywordOnce(pMdl->szName, pszValue, PKGMDL_NAME_LEN, "Define Package Model");
            CMN_CheckReserved(pszValue);
            break;
        case KW_PKG_MANUFACTURER:
            CMN_SetKeywordOnce(pMdl->szManufacturer, pszValue, PKGMDL_MANUFACTURER_LEN, "Manufacturer");
            break;
        case KW_OEM: CMN_SetKeywordOnce(pMdl->szOEM, pszValue, PKGMDL_OEM_LEN, "OEM"); break;
        case KW_DESCRIPTION:
            CMN_SetKeywordOnce(pMdl->szDescription, pszValue, PKGMDL_DESCRIPTION_LEN, "Description");
            break;
        case KW_NUMBER_OF_PINS: NumberOfPins(pMdl, pszValue); break;
        case KW_NUMBER_OF_SECTIONS: NumberOfSections(pMdl, pszValue); break;
        case KW_PIN_NUMBERS: SeenFlag(&g_pkg.bPinNumbersSeen, "Pin_Numbers", pszValue); break;
        case KW_MODEL_DATA: SeenFlag(&g_pkg.bModelDataSeen, "Model_Data", pszValue); break;
        case KW_END_MODEL_DATA:
            SeenFlag(&g_pkg.bEndModelDataSeen, "End_Model_Data", pszValue);
            g_pkg.eMatrixKeyword = KW_NOT_KEY;
            break;
        case KW_END_PACKAGE_MODEL: SeenFlag(&g_pkg.bEndPackageModelSeen, "End_Package_Model", pszValue); break;
        case KW_RESISTANCE_MATRIX:
        case KW_INDUCTANCE_MATRIX:
        case KW_CAPACITANCE_MATRIX: MatrixKeyword(pMdl, eKeyword, pszValue); break;
        case KW_BANDWIDTH: Bandwidth(pMdl, pszValue); break;
        case KW_ROW: Row(pMdl, pszValue); break;
        default: DIAG_BugLine("%s:%d:Illegal keyword.", TAV_MODULE, __LINE__); break;
    }
}

// ------------------------------------------------------------ pin numbers

// Makes both pin arrays at the first pin line of a model (the section
// array only in the section form); false drops the line.
bool MakePinArrays(PKGMDL* pMdl, bool bSections) {
    if (pMdl->uiNumberOfPins == 0) {
        DIAG_ErrorLine("Number of Pins is zero, unable to add Pin Number.");
        return false;
    }
    const unsigned uiSlots = pMdl->uiNumberOfPins < FIRST_PIN_SLOTS ? pMdl->uiNumberOfPins : FIRST_PIN_SLOTS;
    if (!CMN_Alloc(&pMdl->ppszPinNumbers, uiSlots * sizeof(PKGPIN*))) {
        DIAG_ErrorLine("Unable to allocate Pin_Numbers array.");
        return false;
    }
    if (bSections && !CMN_Alloc(&pMdl->ppSections, uiSlots * sizeof(SECTNODE*))) {
        CMN_Free(pMdl->ppszPinNumbers);
        pMdl->ppszPinNumbers = nullptr;
        DIAG_ErrorLine("Unable to allocate Pin_Sections array.");
        return false;
    }
    pMdl->uiPinCapacity = uiSlots;
    g_pkg.uiPinCount = 0;
    g_pkg.uiPathPin = 0;
    g_pkg.pCurNode = nullptr;
    g_pkg.forks.Clear();
    return true;
}

// Doubles the pin arrays (at most to [Number Of Pins]) when they are full.
bool RoomForPin(PKGMDL* pMdl) {
    if (g_pkg.uiPinCount < pMdl->uiPinCapacity) return true;
    const unsigned long ulWanted = static_cast<unsigned long>(pMdl->uiPinCapacity) * 2;
    const unsigned uiNew = ulWanted < pMdl->uiNumberOfPins ? static_cast<unsigned>(ulWanted) : pMdl->uiNumberOfPins;
    if (!CMN_Realloc(&pMdl->ppszPinNumbers, uiNew * sizeof(PKGPIN*))) {
        DIAG_ErrorLine("Unable to allocate Pin_Numbers array.");
        return false;
    }
    memset(pMdl->ppszPinNumbers + pMdl->uiPinCapacity, 0, (uiNew - pMdl->uiPinCapacity) * sizeof(PKGPIN*));
    if (pMdl->ppSections != nullptr) {
        if (!CMN_Realloc(&pMdl->ppSections, uiNew * sizeof(SECTNODE*))) {
            DIAG_ErrorLine("Unable to allocate Pin_Sections array.");
            return false;
        }
        memset(pMdl->ppSections + pMdl->uiPinCapacity, 0, (uiNew - pMdl->uiPinCapacity) * sizeof(SECTNODE*));
    }
    pMdl->uiPinCapacity = uiNew;
    return true;
}

// The section array of pins read in the simple form before [Number Of
// Sections] came; false drops the line.
bool MakeLateSectionArray(PKGMDL* pMdl) {
    if (!CMN_Alloc(&pMdl->ppSections, pMdl->uiPinCapacity * sizeof(SECTNODE*))) {
        DIAG_ErrorLine("Unable to allocate Pin_Sections array.");
        return false;
    }
    return true;
}

// Stores a pin number at the next slot; false when the line is dropped.
bool StorePin(PKGMDL* pMdl, const std::string& strPin, bool bSections) {
    if (pMdl->ppszPinNumbers == nullptr && !MakePinArrays(pMdl, bSections)) return false;
    if (bSections && pMdl->ppSections == nullptr && !MakeLateSectionArray(pMdl)) return false;
    if (g_pkg.uiPinCount >= pMdl->uiNumberOfPins) {
        DIAG_ErrorLine("More Pin Numbers names than Number of pins.");
        return false;
    }
    if (!RoomForPin(pMdl)) return false;
    PKGPIN* pPin = nullptr;
    if (!CMN_Alloc(&pPin, sizeof(PKGPIN))) {
        DIAG_ErrorLine("Unable to allocate PIN.");
        return false;
    }
    CMN_StrCopy(pPin->szPin, strPin.c_str(), PKGMDL_PIN_LEN);
    pMdl->ppszPinNumbers[g_pkg.uiPinCount++] = pPin;
    if (!g_pkg.pinIndex.emplace(pPin->szPin, g_pkg.uiPinCount).second)
        DIAG_ErrorLine("Duplicate Pin <%s>.", pPin->szPin);
    return true;
}

void CheckPinLength(const std::string& strPin) {
    if (strPin.size() > PKGMDL_PIN_LEN) DIAG_ErrorLine("Pin Numbers name string too long. will be truncated.");
}

void CheckPinSyntax(const std::string& strPin) {
    const char* psz = strPin.c_str();
    if (strchr(psz, '=') != nullptr)
        DIAG_WarningLine("Found a Pin Name '%s' containing '='. Possible syntax error", psz);
    if (strchr(psz, '/') != nullptr)
        DIAG_WarningLine("Found a Pin Name '%s' containing '/'. Possible syntax error", psz);
    static const char* const apszWords[] = {"Len", "Fork", "Endfork", "C", "R", "L"};
    for (const char* pszWord : apszWords) {
        if (strPin == pszWord) DIAG_WarningLine("Found a Pin Name '%s'. Possible syntax error", psz);
    }
}

SECTNODE* NewNode(unsigned eType, void* pData) {
    SECTNODE* pNode = nullptr;
    if (!CMN_Alloc(&pNode, sizeof(SECTNODE))) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return nullptr;
    }
    pNode->eNodeType = eType;
    pNode->pData = pData;
    return pNode;
}

void LinkNode(PKGMDL* pMdl, SECTNODE* pNode) {
    TAV_ASSERT(g_pkg.uiPathPin != 0);
    SECT_LinkNode(pNode, &g_pkg.pCurNode, &pMdl->ppSections[g_pkg.uiPathPin - 1], g_pkg.forks);
}

// Sections of the rest of a line, each linked on the current path.
void ParseSections(PKGMDL* pMdl, const char* pszText) {
    for (;;) {
        SECT* pSect = nullptr;
        if (!SECT_Parse(pszText, &pSect, &pszText) || pSect == nullptr) return;
        SECTNODE* pNode = NewNode(SECTNODE_SECTION, pSect);
        if (pNode == nullptr) {
            SECT_Free(pSect);
            return;
        }
        LinkNode(pMdl, pNode);
    }
}

void ForkLine(PKGMDL* pMdl) {
    if (!g_pkg.forks.Empty()) DIAG_ErrorLine("Cannot Nest Forks");
    if (g_pkg.uiPathPin == 0) {
        DIAG_ErrorLine("Detected the start of an orphan 'Fork'");
        return;
    }
    SECTNODE* pFork = NewNode(SECTNODE_FORK, nullptr);
    if (pFork == nullptr) return;
    LinkNode(pMdl, pFork);
    if (!g_pkg.forks.Push(pFork)) DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
}

void EndforkLine() {
    if (g_pkg.uiPathPin == 0) {
        DIAG_ErrorLine("Detected the start of an orphan 'Endfork'");
        return;
    }
    SECTNODE* pFork = g_pkg.forks.Pop();
    if (pFork == nullptr) {
        DIAG_ErrorLine("Endfork found without enclosing Fork");
        return;
    }
    g_pkg.pCurNode = pFork;
    if (pFork->pData == nullptr) DIAG_ErrorLine("Empty Fork/Endfork found");
}

bool IsContinuation(const char* pszLine) {
    if (strncmp(pszLine, "Len", 3) != 0) return false;
    const char* psz = pszLine + 3;
    while (*psz == ' ' || *psz == '\t') ++psz;
    return *psz == '=';
}

void SectionPinLine(PKGMDL* pMdl, const char* pszLine) {
    const size_t nLen = strcspn(pszLine, " \t");
    const std::string strPin(pszLine, nLen);
    g_pkg.pCurNode = nullptr;
    g_pkg.uiPathPin = 0;
    if (!g_pkg.forks.Empty()) {
        DIAG_ErrorLine("A new Pin %s has been defined before terminating a previous Fork with the corresponding "
                       "Endfork",
                       strPin.c_str());
        g_pkg.forks.Clear();
    }
    CheckPinLength(strPin);
    CheckPinSyntax(strPin);
    if (!StorePin(pMdl, strPin, true)) return;
    g_pkg.uiPathPin = g_pkg.uiPinCount;
    ParseSections(pMdl, pszLine + nLen);
}

void SectionFormLine(PKGMDL* pMdl, const char* pszLine) {
    if (strcmp(pszLine, "Fork") == 0) {
        ForkLine(pMdl);
    } else if (strcmp(pszLine, "Endfork") == 0) {
        EndforkLine();
    } else if (IsContinuation(pszLine)) {
        if (g_pkg.uiPathPin == 0 || g_pkg.pCurNode == nullptr) {
            DIAG_ErrorLine("Detected the start of an orphan R/L/C section");
            return;
        }
        ParseSections(pMdl, pszLine);
    } else {
        SectionPinLine(pMdl, pszLine);
    }
}

void PinNumbersLine(PKGMDL* pMdl, const char* pszLine) {
    if (PARSE_GetIbisVersion() < 3 || !g_pkg.bSectionsGiven) {
        const std::string strPin(pszLine);
        CheckPinLength(strPin);
        StorePin(pMdl, strPin, false);
        return;
    }
    SectionFormLine(pMdl, pszLine);
}

void DataLine(PKGMDL* pMdl, char* pszLine) {
    if (g_pkg.eKeyword == KW_PIN_NUMBERS) {
        PinNumbersLine(pMdl, pszLine);
        return;
    }
    MTX** ppSlot = g_pkg.eKeyword == KW_ROW ? MatrixSlot(pMdl, g_pkg.eMatrixKeyword) : nullptr;
    if (ppSlot == nullptr) {
        DIAG_ErrorLine("Orphan Data line.");
        return;
    }
    if (*ppSlot != nullptr) MTX_RowData(*ppSlot, pszLine);
}

// ------------------------------------------------------------ end checks

void CheckPinCount(const PKGMDL* pMdl) {
    if (!g_pkg.bPinNumbersSeen) {
        DIAG_Error("Required keyword Pin_Numbers not found.");
        return;
    }
    if (pMdl->uiNumberOfPins == 0) return;
    if (pMdl->ppszPinNumbers == nullptr) {
        DIAG_Error("No Pin Numbers names found.");
        return;
    }
    unsigned uiFilled = 0;
    while (uiFilled < pMdl->uiPinCapacity && pMdl->ppszPinNumbers[uiFilled] != nullptr) ++uiFilled;
    if (uiFilled != pMdl->uiNumberOfPins)
        DIAG_Error("Number of Pins <%u> not the same as count of Pin Numbers names found <%u>.",
                   pMdl->uiNumberOfPins, uiFilled);
}

void CheckSections(const PKGMDL* pMdl) {
    if (!g_pkg.forks.Empty()) {
        DIAG_Error("Some Fork sub parameters were not terminated with Endfork");
        g_pkg.forks.Clear();
    }
    if (pMdl->ppSections == nullptr) return;
    for (unsigned i = 0; i < pMdl->uiPinCapacity && pMdl->ppszPinNumbers[i] != nullptr; ++i) {
        if (pMdl->ppSections[i] == nullptr) continue;
        const unsigned uiCount = SECT_CountSections(pMdl->ppSections[i]);
        if (uiCount > pMdl->uiNumberOfSections)
            DIAG_Error("Pin '%s' has %d sections. This is greater than the Number of Sections %d specified",
                       pMdl->ppszPinNumbers[i]->szPin, static_cast<int>(uiCount),
                       static_cast<int>(pMdl->uiNumberOfSections));
    }
}

void CheckMatrix(const PKGMDL* pMdl, const MTX* pMtx, const char* pszName, bool bRequired) {
    if (pMtx != nullptr && g_pkg.bSectionsGiven)
        DIAG_Error("%s_Matrix cannot be specified when Number_Of_Sections is specified for Package Model %s.",
                   pszName, pMdl->szName);
    else if (pMtx != nullptr)
        MTX_CheckBandwidth(pszName, pMtx);
    else if (bRequired && !g_pkg.bSectionsGiven)
        DIAG_Error("%s matrix not found for Package Model '%s'.", pszName, pMdl->szName);
}

void CheckSectionsRule(bool bSeen, const char* pszKeyword, const char* pszName) {
    if (bSeen && g_pkg.bSectionsGiven)
        DIAG_Error("%s cannot be specified when Number_Of_Sections is specified for package %s.", pszKeyword,
                   pszName);
    else if (!bSeen && !g_pkg.bSectionsGiven)
        DIAG_Error("Required %s keyword not found for package %s.", pszKeyword, pszName);
}

void CompleteModel(PKGMDL* pMdl) {
    MTX_Close();
    if (pMdl->szName[0] == '\0') DIAG_Error("Package Model keyword 'Define_Package_Model' not found or blank.");
    if (pMdl->szManufacturer[0] == '\0')
        DIAG_Error("Keyword '%s' not found or blank for Package Model '%s'.", "Manufacturer", pMdl->szName);
    if (pMdl->szOEM[0] == '\0') DIAG_Error("OEM keyword not found for Package Model '%s'.", pMdl->szName);
    if (pMdl->szDescription[0] == '\0')
        DIAG_Error("Description keyword not found for Package Model '%s'.", pMdl->szName);
    if (pMdl->uiNumberOfPins == 0)
        DIAG_Error("Number_of_Pins keyword not found or value bad for Package Model '%s'.", pMdl->szName);
    CheckPinCount(pMdl);
    if (g_pkg.bSectionsGiven) CheckSections(pMdl);
    CheckSectionsRule(g_pkg.bModelDataSeen, "Model_Data", pMdl->szName);
    CheckMatrix(pMdl, pMdl->pResistance, "Resistance", false);
    CheckMatrix(pMdl, pMdl->pInductance, "Inductance", true);
    CheckMatrix(pMdl, pMdl->pCapacitance, "Capacitance", true);
    CheckSectionsRule(g_pkg.bEndModelDataSeen, "End_Model_Data", pMdl->szName);
    if (!g_pkg.bEndPackageModelSeen) DIAG_Error("Required End_Package_Model keyword not found.");
    g_pkg.pCur = nullptr;
}

void FreeModel(PKGMDL* pMdl) {
    for (unsigned i = 0; i < pMdl->uiPinCapacity; ++i) {
        if (pMdl->ppszPinNumbers[i] != nullptr) CMN_Free(pMdl->ppszPinNumbers[i]);
        if (pMdl->ppSections != nullptr) SECT_FreePath(pMdl->ppSections[i]);
    }
    if (pMdl->ppszPinNumbers != nullptr) CMN_Free(pMdl->ppszPinNumbers);
    if (pMdl->ppSections != nullptr) CMN_Free(pMdl->ppSections);
    MTX_Free(pMdl->pResistance);
    MTX_Free(pMdl->pInductance);
    MTX_Free(pMdl->pCapacitance);
    CMN_Free(pMdl);
}

// ------------------------------------------------------------ .pkg search

bool IsDefineLine(const char* psz) {
    static const char* const apszForms[] = {"[DEFINE PACKAGE MODEL]", "[DEFINE PACKAGE_MODEL]",
                                            "[DEFINE_PACKAGE MODEL]", "[DEFINE_PACKAGE_MODEL]"};
    for (const char* pszForm : apszForms) {
        if (CMN_StrEqualNoCaseN(psz, pszForm, 22)) return true;
    }
    return false;
}

}  // namespace

void PKGMDL_Reset() {
    g_pkg.pCur = nullptr;
    g_pkg.eKeyword = KW_NOT_KEY;
    g_pkg.ePrevKeyword = KW_NOT_KEY;
    g_pkg.eMatrixKeyword = KW_NOT_KEY;
    g_pkg.uiPinCount = 0;
    g_pkg.uiPathPin = 0;
    g_pkg.pCurNode = nullptr;
    g_pkg.forks.Clear();
    g_pkg.pinIndex.clear();
    MTX_Reset();
}

void PKGMDL_Init() {
    IBIS* pIbis = nullptr;
    if (!IBIS_GetCurrent(&pIbis)) {
        DIAG_BugLine("%s:%d:PKGMDL_Init unable to get IBIS?", TAV_MODULE, __LINE__);
        return;
    }
    PKGMDL* pMdl = nullptr;
    if (!CMN_Alloc(&pMdl, sizeof(PKGMDL))) {
        DIAG_ErrorLine("Unable to create new PKGMDL.");
        return;
    }
    IBIS_AddPkgMdl(pIbis, pMdl);
    g_pkg.pCur = pMdl;
    g_pkg.bPinNumbersSeen = false;
    g_pkg.bModelDataSeen = false;
    g_pkg.bEndModelDataSeen = false;
    g_pkg.bEndPackageModelSeen = false;
    g_pkg.bSectionsGiven = false;
    g_pkg.eMatrixKeyword = KW_NOT_KEY;
    g_pkg.uiPathPin = 0;
    g_pkg.pCurNode = nullptr;
    g_pkg.pinIndex.clear();
}

void PKGMDL_Line(int eLineClass, int eKeyword, char* pszLine) {
    TAV_ASSERT(pszLine != nullptr);
    if (eLineClass == LINE_KEYWORD) {
        if (g_pkg.pCur == nullptr)
            DIAG_ErrorLine("Orphan Package Model keyword.");
        else
            KeywordLine(g_pkg.pCur, eKeyword, pszLine);
    } else if (eLineClass == LINE_DATA) {
        if (g_pkg.pCur == nullptr)
            DIAG_ErrorLine("Orphan Data Line.");
        else
            DataLine(g_pkg.pCur, pszLine);
    } else {
        DIAG_BugLine("%s:%d:Illegal line type received.", TAV_MODULE, __LINE__);
    }
}

void PKGMDL_End(int eNextKeyword) {
    if (eNextKeyword == KW_END_MODEL_DATA || eNextKeyword == KW_END_PACKAGE_MODEL) {
        MTX_Close();
        return;
    }
    if (IsPackageKeyword(eNextKeyword) && eNextKeyword != KW_DEFINE_PACKAGE_MODEL) return;
    if (g_pkg.pCur != nullptr) CompleteModel(g_pkg.pCur);
}

// Each model against every later one of the same name, in the order of a
// pairwise walk, without walking the list once per model.
void PKGMDL_CheckDuplicates(PKGMDL* pList) {
    std::unordered_map<std::string, unsigned> later;
    for (const PKGMDL* p = pList; p != nullptr; p = p->pNext) ++later[p->szName];
    for (const PKGMDL* p = pList; p != nullptr; p = p->pNext) {
        unsigned& uiLater = later[p->szName];
        --uiLater;
        for (unsigned i = 0; i < uiLater; ++i)
            DIAG_Error("Define_Package_Model '%s' is duplicated within the .ibs file.", p->szName);
    }
}

int PKGMDL_Find(PKGMDL* pList, const char* pszName, PKGMDL** ppFound) {
    TAV_ASSERT(pszName != nullptr && ppFound != nullptr);
    for (PKGMDL* p = pList; p != nullptr; p = p->pNext) {
        if (strcmp(p->szName, pszName) != 0) continue;
        *ppFound = p;
        return 1;
    }
    *ppFound = nullptr;
    return 0;
}

int PKGMDL_NextPin(PKGMDL* pList, const char* pszModel, int bFirst, const char** ppszPin) {
    TAV_ASSERT(pszModel != nullptr && ppszPin != nullptr);
    PKGMDL* pMdl = nullptr;
    if (!PKGMDL_Find(pList, pszModel, &pMdl)) return 0;
    g_pkg.uiNextPin = bFirst ? 0 : g_pkg.uiNextPin + 1;
    const unsigned i = g_pkg.uiNextPin;
    if (i >= pMdl->uiNumberOfPins || i >= pMdl->uiPinCapacity || pMdl->ppszPinNumbers[i] == nullptr) return 0;
    *ppszPin = pMdl->ppszPinNumbers[i]->szPin;
    return 1;
}

int PKGMDL_PinIndex(const char* pszPin, unsigned* puiIndex) {
    TAV_ASSERT(pszPin != nullptr && puiIndex != nullptr);
    *puiIndex = 0;
    if (g_pkg.pCur == nullptr) return 0;
    auto it = g_pkg.pinIndex.find(pszPin);
    if (it == g_pkg.pinIndex.end()) return 0;
    *puiIndex = it->second;
    return 1;
}

int PKGMDL_FileDefines(const char* pszPath, const char* pszModel) {
    TAV_ASSERT(pszPath != nullptr && pszModel != nullptr);
    FILE* pFile = CMN_OpenBinary(pszPath, "r");
    if (pFile == nullptr) return 0;
    const size_t nModel = strlen(pszModel);
    char szLine[FILE_DEFINES_LINE + 1];
    int bFound = 0;
    while (!bFound && fgets(szLine, sizeof szLine, pFile) != nullptr) {
        const char* psz = szLine;
        while (*psz == ' ' || *psz == '\t') ++psz;
        if (*psz != '[' || !IsDefineLine(psz)) continue;
        const char* pszName = strchr(psz, ']') + 1;
        while (*pszName == ' ' || *pszName == '\t') ++pszName;
        bFound = strncmp(pszName, pszModel, nModel) == 0;
    }
    fclose(pFile);
    return bFound;
}

// The directory is listed by the platform module, names as they are on
// disk, in name order.
int PKGMDL_FindFile(const char* pszModel) {
    TAV_ASSERT(pszModel != nullptr);
    const std::string strDir = IBIS_GetCurrentDir();
    const std::vector<std::string> names = PLAT_ListFiles(strDir.empty() ? "." : strDir.c_str(), ".pkg");
    int bFound = 0;
    for (const std::string& strName : names) {
        const std::string strPath = strDir + strName;
        if (!PKGMDL_FileDefines(strPath.c_str(), pszModel)) continue;
        bFound = 1;
        IBIS_ReadNested(strPath.c_str(), FILE_KIND_PKG);
    }
    return bFound;
}

void PKGMDL_Free(PKGMDL* pList) {
    while (pList != nullptr) {
        PKGMDL* pNext = pList->pNext;
        if (pList == g_pkg.pCur) g_pkg.pCur = nullptr;
        FreeModel(pList);
        pList = pNext;
    }
}
