// Electrical board descriptions: [Begin Board Description] ... [End Board
// Description] in .ebd files, their pin list, paths and reference-designator
// map, the end checks of a description, and the end-of-file checks that
// resolve the designators' components in this file and in the files they
// name (read as nested documents).  State: the description being read and
// its reading flags; the file references live only inside one
// EBDMDL_CheckFile.  Called by the keyword dispatch and the end-of-file step.
#define TAV_MODULE "ebdmdl"
#include "package/ebdmdl.h"

#include <cstring>
#include <cctype>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "component/cmpnt.h"
#include "component/pin.h"
#include "corvane.h"
#include "package/count.h"
#include "package/sect.h"
#include "platform/platform.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/document.h"
#include "core/fields.h"
#include "core/lines.h"
#include "core/tav_assert.h"

namespace {

constexpr unsigned FIRST_PIN_SLOTS = 64;

struct EbdState {
    EBDMDL* pCur = nullptr;
    int eKeyword = KW_NOT_KEY;
    EBDPATH* pCurPath = nullptr;
    PATHELEM* pCurElem = nullptr;
    FORKSTACK<PATHELEM> forks;
    unsigned uiPinCount = 0;
    EBDPIN* pLastPin = nullptr;
    bool bNumberOfPinsSeen = false;
    bool bPinListSeen = false;
    bool bRefDesMapSeen = false;
    bool bEndSeen = false;
    // Names read so far in the current description, for the repeat checks.
    std::unordered_set<std::string> pinNames;
    std::unordered_map<std::string, unsigned> pathNames;
    std::unordered_set<std::string> refDesNames;
};

EbdState g_ebd;

// ------------------------------------------------------------ small helpers

const char* ValueOf(char* pszLine) {
    char* psz = pszLine;
    if (!CMN_SkipKeyword(&psz)) psz = pszLine + strlen(pszLine);
    return psz;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Next word ending at a blank or tab; false at the end of the text.
bool NextWord(const char** ppsz, std::string* pstrWord) {
    const char* p = *ppsz;
    while (IsBlank(*p)) ++p;
    const char* pStart = p;
    while (*p != '\0' && !IsBlank(*p)) ++p;
    *ppsz = p;
    pstrWord->assign(pStart, static_cast<size_t>(p - pStart));
    return !pstrWord->empty();
}

bool IsForkElem(const PATHELEM* pElem) { return pElem->eNodeType == PATHELEM_FORK; }

void FreeElem(PATHELEM* pElem) {
    if (pElem->eNodeType == PATHELEM_SECTION)
        SECT_Free(static_cast<SECT*>(pElem->pData));
    else if (pElem->eNodeType != PATHELEM_FORK && pElem->pData != nullptr)
        CMN_Free(pElem->pData);
    CMN_Free(pElem);
}

template <typename VISIT>
void WalkPath(PATHELEM* pFirst, VISIT visit) {
    SECT_WalkPath(pFirst, IsForkElem, visit);
}

// Warnings for names that look like a slip of the path syntax.
void CheckNameSyntax(const std::string& strName, const char* pszWhat) {
    const char* psz = strName.c_str();
    if (strchr(psz, '=') != nullptr)
        DIAG_WarningLine("Found a %s '%s' containing '='. Possible syntax error", pszWhat, psz);
    if (strchr(psz, '/') != nullptr)
        DIAG_WarningLine("Found a %s '%s' containing '/'. Possible syntax error", pszWhat, psz);
    static const char* const apszWords[] = {"Len", "Fork", "Endfork", "C", "R", "L"};
    for (const char* pszWord : apszWords) {
        if (strName == pszWord) DIAG_WarningLine("Found a %s '%s'. Possible syntax error", pszWhat, psz);
    }
}

// ------------------------------------------------------------ keyword lines

void NumberOfPins(EBDMDL* pEbd, const char* pszValue) {
    if (g_ebd.bNumberOfPinsSeen) DIAG_ErrorLine("Duplicate [Number of Pins] keyword");
    g_ebd.bNumberOfPinsSeen = true;
    if (pszValue[0] == '\0') {
        DIAG_ErrorLine("Blank Number_of_Pins value.");
        return;
    }
    if (pEbd->uiNumberOfPins != 0) {
        DIAG_ErrorLine("Duplicate Number_of_Pins keyword.");
        return;
    }
    const int nResult = PACKAGE_GetCount(pszValue, &pEbd->uiNumberOfPins);
    if (nResult == 2)
        DIAG_WarningLine("Suspicious Number_of_Pins value.");
    else if (nResult == 0)
        DIAG_ErrorLine("Bad Number_of_Pins value.");
    else if (pEbd->uiNumberOfPins == 0)
        DIAG_ErrorLine("Number_of_Pins = 0.");
}

void PinListKeyword(const char* pszValue) {
    if (g_ebd.bPinListSeen) {
        DIAG_ErrorLine("Duplicate [Pin List] keyword found.");
        return;
    }
    g_ebd.bPinListSeen = true;
    std::string strWord;
    if (!NextWord(&pszValue, &strWord)) {
        DIAG_ErrorLine("Unable to find 'signal_name' after [Pin List] keyword.");
        return;
    }
    if (!CMN_StrEqualNoCase(strWord.c_str(), "signal_name")) {
        DIAG_ErrorLine("'signal_name' column header not found.");
        return;
    }
    while (IsBlank(*pszValue)) ++pszValue;
    if (*pszValue != '\0') DIAG_ErrorLine("Unrecognized data after 'signal_name'");
}

void PathKeyword(EBDMDL* pEbd, const char* pszValue) {
    if (!g_ebd.forks.Empty()) {
        DIAG_ErrorLine("Detected previous unterminated Forks");
        g_ebd.forks.Clear();
    }
    EBDPATH* pPath = nullptr;
    if (!CMN_Alloc(&pPath, sizeof(EBDPATH))) {
        DIAG_ErrorLine("Unable to create new EBDPATH.");
        return;
    }
    CMN_SetString(pPath->szName, pszValue, EBDPATH_NAME_LEN, "Path Description");
    CMN_CheckReserved(pszValue);
    unsigned& uiEarlier = g_ebd.pathNames[pPath->szName];
    for (unsigned i = 0; i < uiEarlier; ++i) DIAG_ErrorLine("Duplicate Path_Description '%s'", pPath->szName);
    ++uiEarlier;
    if (pEbd->pLastPath == nullptr)
        pEbd->pPaths = pPath;
    else
        pEbd->pLastPath->pNext = pPath;
    pEbd->pLastPath = pPath;
    g_ebd.pCurPath = pPath;
    g_ebd.pCurElem = nullptr;
}

void SeenFlag(bool* pbSeen, const char* pszName, const char* pszValue) {
    if (*pbSeen)
        DIAG_ErrorLine("Duplicate '%s' keyword found.", pszName);
    else if (pszValue[0] != '\0')
        DIAG_ErrorLine("Extraneous data on '%s' line.", pszName);
    *pbSeen = true;
}

void KeywordLine(EBDMDL* pEbd, int eKeyword, char* pszLine) {
    g_ebd.eKeyword = eKeyword;
    const char* pszValue = ValueOf(pszLine);
    switch (eKeyword) {
        case KW_BEGIN_BOARD_DESCRIPTION:
            CMN_SetKeywordOnce(pEbd->szName, pszValue, EBDMDL_NAME_LEN, "Define Ebd Model");
            CMN_CheckReserved(pszValue);
            break;
        case KW_EBD_MANUFACTURER:
            CMN_SetKeywordOnce(pEbd->szManufacturer, pszValue, EBDMDL_MANUFACTURER_LEN, "Manufacturer");
            break;
        case KW_EBD_NUMBER_OF_PINS: NumberOfPins(pEbd, pszValue); break;
        case KW_PIN_LIST: PinListKeyword(pszValue); break;
        case KW_PATH_DESCRIPTION: PathKeyword(pEbd, pszValue); break;
        case KW_REFERENCE_DESIGNATOR_MAP:
            SeenFlag(&g_ebd.bRefDesMapSeen, "Reference_Designator_Map", pszValue);
            break;
        case KW_END_BOARD_DESCRIPTION: SeenFlag(&g_ebd.bEndSeen, "End_Board_Description", pszValue); break;
        default: DIAG_BugLine("%s:%d:Illegal keyword.", TAV_MODULE, __LINE__); break;
    }
}

// ------------------------------------------------------------ [Pin List]

bool MakePinArray(EBDMDL* pEbd) {
    if (pEbd->uiNumberOfPins == 0) {
        DIAG_ErrorLine("Number of Pins is zero, unable to add Pin Number.");
        return false;
    }
    const unsigned uiSlots = pEbd->uiNumberOfPins < FIRST_PIN_SLOTS ? pEbd->uiNumberOfPins : FIRST_PIN_SLOTS;
    if (!CMN_Alloc(&pEbd->ppPins, uiSlots * sizeof(EBDPIN*))) {
        DIAG_ErrorLine("Unable to allocate Pin_Name array.");
        return false;
    }
    pEbd->uiPinCapacity = uiSlots;
    g_ebd.uiPinCount = 0;
    g_ebd.pLastPin = nullptr;
    return true;
}

// Doubles the pin array (at most to [Number Of Pins]) when it is full.
bool RoomForPin(EBDMDL* pEbd) {
    if (g_ebd.uiPinCount < pEbd->uiPinCapacity) return true;
    const unsigned long ulWanted = static_cast<unsigned long>(pEbd->uiPinCapacity) * 2;
    const unsigned uiNew = ulWanted < pEbd->uiNumberOfPins ? static_cast<unsigned>(ulWanted) : pEbd->uiNumberOfPins;
    if (!CMN_Realloc(&pEbd->ppPins, uiNew * sizeof(EBDPIN*))) {
        DIAG_ErrorLine("Unable to allocate Pin_Name array.");
        return false;
    }
    memset(pEbd->ppPins + pEbd->uiPinCapacity, 0, (uiNew - pEbd->uiPinCapacity) * sizeof(EBDPIN*));
    pEbd->uiPinCapacity = uiNew;
    return true;
}

void PinListLine(EBDMDL* pEbd, const char* pszLine) {
    std::string strPin;
    if (!NextWord(&pszLine, &strPin)) {
        DIAG_ErrorLine("No Pin_name found .");
        return;
    }
    if (strPin.size() > EBDPIN_NAME_LEN) DIAG_ErrorLine("Pin name string too long. will be truncated.");
    if (pEbd->ppPins == nullptr && !MakePinArray(pEbd)) return;
    if (g_ebd.uiPinCount >= pEbd->uiNumberOfPins) {
        DIAG_ErrorLine("More Pin Numbers names than Number of pins.");
        return;
    }
    if (!RoomForPin(pEbd)) return;
    EBDPIN* pPin = nullptr;
    if (!CMN_Alloc(&pPin, sizeof(EBDPIN))) {
        DIAG_ErrorLine("Unable to allocate PIN.");
        return;
    }
    CMN_StrCopy(pPin->szName, strPin.c_str(), EBDPIN_NAME_LEN);
    pEbd->ppPins[g_ebd.uiPinCount++] = pPin;
    if (g_ebd.pLastPin != nullptr) g_ebd.pLastPin->pNext = pPin;
    g_ebd.pLastPin = pPin;
    if (!g_ebd.pinNames.insert(pPin->szName).second) DIAG_ErrorLine("Duplicate Pin <%s>.", pPin->szName);
    std::string strSignal;
    if (!NextWord(&pszLine, &strSignal)) {
        DIAG_ErrorLine("No signal_name found");
        return;
    }
    if (strSignal.size() > EBDPIN_SIGNAL_LEN) DIAG_ErrorLine("signal_name too long. will be truncated.");
    CMN_StrCopy(pPin->szSignalName, strSignal.c_str(), EBDPIN_SIGNAL_LEN);
    std::string strExtra;
    if (NextWord(&pszLine, &strExtra)) DIAG_ErrorLine("Unexpected data after signal_name.");
}

// ------------------------------------------------------------ [Path Description]

PATHELEM* NewElem(unsigned eType) {
    PATHELEM* pElem = nullptr;
    if (!CMN_Alloc(&pElem, sizeof(PATHELEM))) {
        DIAG_ErrorLine("Cannot allocate path element");
        return nullptr;
    }
    pElem->eNodeType = eType;
    return pElem;
}

void LinkElem(PATHELEM* pElem) {
    SECT_LinkNode(pElem, &g_ebd.pCurElem, &g_ebd.pCurPath->pFirst, g_ebd.forks);
}

// Reads one section from "Len" on; returns where reading goes on.
const char* SectionToken(const char* pszToken) {
    if (g_ebd.pCurElem == nullptr) {
        DIAG_ErrorLine("Detected the start of an orphan R/L/C section");
        return nullptr;
    }
    SECT* pSect = nullptr;
    const char* pszRest = pszToken;
    SECT_Parse(pszToken, &pSect, &pszRest);
    if (pSect == nullptr) return pszRest;
    PATHELEM* pElem = nullptr;
    if (!CMN_Alloc(&pElem, sizeof(PATHELEM))) {
        DIAG_ErrorLine("Could not allocate path element");
        SECT_Free(pSect);
        return pszRest;
    }
    pElem->eNodeType = PATHELEM_SECTION;
    pElem->pData = pSect;
    LinkElem(pElem);
    return pszRest;
}

void SimpleToken(unsigned eType, const char* pszOrphan) {
    if (g_ebd.pCurElem == nullptr) {
        DIAG_ErrorLine("%s", pszOrphan);
        return;
    }
    PATHELEM* pElem = NewElem(eType);
    if (pElem == nullptr) return;
    LinkElem(pElem);
    if (eType == PATHELEM_FORK && !g_ebd.forks.Push(pElem))
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
}

void EndforkToken() {
    if (g_ebd.pCurElem == nullptr) {
        DIAG_ErrorLine("Detected the start of an orphan 'Endfork'");
        return;
    }
    PATHELEM* pFork = g_ebd.forks.Pop();
    if (pFork == nullptr) {
        DIAG_ErrorLine("Endfork found without enclosing Fork");
        return;
    }
    g_ebd.pCurElem = pFork;
    if (pFork->pData == nullptr) DIAG_ErrorLine("Empty Fork/Endfork found");
}

// False drops the rest of the line.
bool PinToken(const char** ppszRest) {
    std::string strPin;
    if (!NextWord(ppszRest, &strPin)) {
        DIAG_ErrorLine("No Pin Name found after Pin sub param");
        return false;
    }
    PATHELEM* pElem = NewElem(PATHELEM_PIN);
    if (pElem == nullptr) return true;
    EBDPINREF* pPin = nullptr;
    if (!CMN_Alloc(&pPin, sizeof(EBDPINREF))) {
        DIAG_ErrorLine("Cannot allocate path element pin");
        CMN_Free(pElem);
        return true;
    }
    pElem->pData = pPin;
    LinkElem(pElem);
    if (strPin.size() > EBDPIN_NAME_LEN) DIAG_ErrorLine("Pin_name string too long. will be truncated.");
    CheckNameSyntax(strPin, "Pin Name");
    CMN_StrCopy(pPin->szPin, strPin.c_str(), EBDPIN_NAME_LEN);
    return true;
}

void FillNode(EBDNODE* pNode, const std::string& strWord) {
    const size_t nDot = strWord.find('.');
    std::string strRefDes = strWord;
    std::string strPin;
    if (nDot == std::string::npos) {
        DIAG_ErrorLine("Invalid Node specified. Missing '.'");
    } else {
        strRefDes = strWord.substr(0, nDot);
        strPin = strWord.substr(nDot + 1);
    }
    if (strRefDes.size() > REFDES_NAME_LEN)
        DIAG_ErrorLine("Node Reference designator string too long. will be truncated.");
    if (strPin.size() > EBDPIN_NAME_LEN) DIAG_ErrorLine("Node Pin name string too long. will be truncated.");
    CheckNameSyntax(strRefDes, "Node");
    CMN_StrCopy(pNode->szRefDes, strRefDes.c_str(), REFDES_NAME_LEN);
    CMN_StrCopy(pNode->szPin, strPin.c_str(), EBDPIN_NAME_LEN);
}

// False drops the rest of the line.
bool NodeToken(const char** ppszRest) {
    std::string strWord;
    if (!NextWord(ppszRest, &strWord)) {
        DIAG_ErrorLine("No ref_designatior.pin found after Node sub param");
        return false;
    }
    if (g_ebd.pCurElem == nullptr) {
        DIAG_ErrorLine("Detected an orphan 'Node' sub param");
        return true;
    }
    PATHELEM* pElem = NewElem(PATHELEM_NODE);
    if (pElem == nullptr) return true;
    EBDNODE* pNode = nullptr;
    if (!CMN_Alloc(&pNode, sizeof(EBDNODE))) {
        DIAG_ErrorLine("Cannot allocate path element node");
        CMN_Free(pElem);
        return true;
    }
    pElem->pData = pNode;
    LinkElem(pElem);
    FillNode(pNode, strWord);
    return true;
}

// Skips blanks, tabs and stray '=' and '/' before the next token.
const char* SkipSeparators(const char* p) {
    for (;; ++p) {
        if (*p == '=')
            DIAG_ErrorLine("Unexpected '=' found");
        else if (*p == '/')
            DIAG_ErrorLine("Unexpected '/' found");
        else if (!IsBlank(*p))
            return p;
    }
}

void PathLine(const char* pszLine) {
    if (g_ebd.pCurPath == nullptr) return;  // the path could not be made (reported)
    const char* p = pszLine;
    for (;;) {
        p = SkipSeparators(p);
        if (*p == '\0') return;
        const size_t nLen = strcspn(p, " \t=");
        const std::string strToken(p, nLen);
        const char* pszToken = p;
        p += nLen;
        if (strToken == "Len") {
            p = SectionToken(pszToken);
            if (p == nullptr) return;
        } else if (strToken == "NC") {
            SimpleToken(PATHELEM_NC, "Detected the start of an orphan 'NC'");
        } else if (strToken == "Fork") {
            SimpleToken(PATHELEM_FORK, "Detected the start of an orphan 'Fork'");
        } else if (strToken == "Endfork") {
            EndforkToken();
        } else if (strToken == "Pin") {
            if (!PinToken(&p)) return;
        } else if (strToken == "Node") {
            if (!NodeToken(&p)) return;
        } else {
            DIAG_ErrorLine("Unknown token found: '%s'", strToken.c_str());
        }
    }
}

// ------------------------------------------------------------ [Reference Designator Map]

void RefDesLine(EBDMDL* pEbd, const char* pszLine) {
    REFDES* pRefDes = nullptr;
    if (!CMN_Alloc(&pRefDes, sizeof(REFDES))) {
        DIAG_ErrorLine("Cannot allocate reference designator");
        return;
    }
    pRefDes->pNext = pEbd->pRefDes;
    pEbd->pRefDes = pRefDes;
    std::string strWord;
    if (!NextWord(&pszLine, &strWord)) {
        DIAG_ErrorLine("No Reference Designator name found");
    } else {
        if (strWord.size() > REFDES_NAME_LEN)
            DIAG_ErrorLine("Reference Designator name '%s' too long. Will be truncated", strWord.c_str());
        CMN_StrCopy(pRefDes->szRefDes, strWord.c_str(), REFDES_NAME_LEN);
        if (!g_ebd.refDesNames.insert(pRefDes->szRefDes).second)
            DIAG_ErrorLine("Duplicate Reference Designator '%s'", pRefDes->szRefDes);
    }
    if (!NextWord(&pszLine, &strWord)) {
        DIAG_ErrorLine("No file name found");
    } else {
        if (strWord.size() > REFDES_FILE_LEN)
            DIAG_ErrorLine("File name '%s' too long. Will be truncated", strWord.c_str());
        pRefDes->bFileNameOk = static_cast<unsigned>(EBDMDL_CheckFileName(strWord.c_str()));
        CMN_StrCopy(pRefDes->szFileName, strWord.c_str(), REFDES_FILE_LEN);
    }
    while (IsBlank(*pszLine)) ++pszLine;
    if (*pszLine == '\0') {
        DIAG_ErrorLine("No Component name found");
        return;
    }
    if (strlen(pszLine) > REFDES_COMPONENT_LEN)
        DIAG_ErrorLine("Component name '%s' too long. Will be truncated", pszLine);
    CMN_StrCopy(pRefDes->szComponent, pszLine, REFDES_COMPONENT_LEN);
    pRefDes->bComponentSet = 1;
}

void DataLine(EBDMDL* pEbd, const char* pszLine) {
    switch (g_ebd.eKeyword) {
        case KW_PIN_LIST: PinListLine(pEbd, pszLine); break;
        case KW_PATH_DESCRIPTION: PathLine(pszLine); break;
        case KW_REFERENCE_DESIGNATOR_MAP: RefDesLine(pEbd, pszLine); break;
        default: DIAG_ErrorLine("Orphan Data line."); break;
    }
}

// ------------------------------------------------------------ end checks

// Pin elements of all paths by pin name.
std::unordered_map<std::string, unsigned> CountPinRefs(const EBDMDL* pEbd) {
    std::unordered_map<std::string, unsigned> refs;
    for (EBDPATH* pPath = pEbd->pPaths; pPath != nullptr; pPath = pPath->pNext) {
        WalkPath(pPath->pFirst, [&refs](PATHELEM* pElem) {
            if (pElem->eNodeType == PATHELEM_PIN) ++refs[static_cast<EBDPINREF*>(pElem->pData)->szPin];
        });
    }
    return refs;
}

unsigned FilledPins(const EBDMDL* pEbd) {
    unsigned uiFilled = 0;
    while (uiFilled < pEbd->uiPinCapacity && pEbd->ppPins[uiFilled] != nullptr) ++uiFilled;
    return uiFilled;
}

void CheckPins(const EBDMDL* pEbd) {
    if (!g_ebd.bPinListSeen) {
        DIAG_Error("Required keyword Pin_List not found.");
        return;
    }
    if (pEbd->uiNumberOfPins == 0) return;
    if (pEbd->ppPins == nullptr) {
        DIAG_Error("No Pin Numbers names found.");
        return;
    }
    const std::unordered_map<std::string, unsigned> refs = CountPinRefs(pEbd);
    const unsigned uiFilled = FilledPins(pEbd);
    for (unsigned i = 0; i < uiFilled; ++i) {
        const EBDPIN* pPin = pEbd->ppPins[i];
        auto it = refs.find(pPin->szName);
        const unsigned uiRefs = it == refs.end() ? 0 : it->second;
        if (uiRefs == 0 && CMN_IsNotReserved(pPin->szSignalName))
            DIAG_Error("Pin '%s' was not referenced on any Electrical Path", pPin->szName);
        else if (uiRefs > 1)
            DIAG_Error("Pin '%s' was referenced %d times on Electrical Paths", pPin->szName, static_cast<int>(uiRefs));
    }
    if (uiFilled != pEbd->uiNumberOfPins)
        DIAG_Error("Number of Pins <%u> not the same as count of Pin Numbers names found <%u>.", pEbd->uiNumberOfPins,
                   uiFilled);
}

void CheckPathElem(const EBDPATH* pPath, const PATHELEM* pElem,
                   const std::unordered_set<std::string>& refDes) {
    if (pElem->eNodeType == PATHELEM_PIN) {
        const char* pszPin = static_cast<const EBDPINREF*>(pElem->pData)->szPin;
        if (g_ebd.pinNames.count(pszPin) == 0)
            DIAG_Error("Pin '%s' used in Path '%s' not defined", pszPin, pPath->szName);
    } else if (pElem->eNodeType == PATHELEM_NODE) {
        const char* pszRefDes = static_cast<const EBDNODE*>(pElem->pData)->szRefDes;
        if (refDes.count(pszRefDes) == 0)
            DIAG_Error("Reference Designator '%s' used in Path '%s' not defined", pszRefDes, pPath->szName);
    } else if (pElem->eNodeType == PATHELEM_NC && pElem->pNext != nullptr) {
        DIAG_Error("Path %s or a branch does not terminate after NC", pPath->szName);
    }
}

void CheckPaths(const EBDMDL* pEbd) {
    if (!g_ebd.forks.Empty()) {
        DIAG_ErrorLine("Detected previous unterminated Forks");
        g_ebd.forks.Clear();
    }
    if (pEbd->pPaths == nullptr) {
        DIAG_Error("EBD Model '%s' has no paths defined", pEbd->szName);
        return;
    }
    std::unordered_set<std::string> refDes;
    for (const REFDES* p = pEbd->pRefDes; p != nullptr; p = p->pNext) refDes.insert(p->szRefDes);
    for (const EBDPATH* pPath = pEbd->pPaths; pPath != nullptr; pPath = pPath->pNext) {
        if (pPath->pFirst == nullptr) {
            DIAG_Error("Path Descriptor '%s' has no segments", pPath->szName);
            continue;
        }
        WalkPath(pPath->pFirst, [&](PATHELEM* pElem) { CheckPathElem(pPath, pElem, refDes); });
    }
}

void CompleteDescription(EBDMDL* pEbd) {
    if (pEbd->szName[0] == '\0') DIAG_Error("Ebd Model keyword 'Begin_Board_Description' not found or blank.");
    if (pEbd->szManufacturer[0] == '\0')
        DIAG_Error("Keyword '%s' not found or blank for Ebd Model '%s'.", "Manufacturer", pEbd->szName);
    if (pEbd->uiNumberOfPins == 0)
        DIAG_Error("Number_of_Pins keyword not found or value bad for Ebd Model '%s'.", pEbd->szName);
    CheckPins(pEbd);
    CheckPaths(pEbd);
    if (!g_ebd.bEndSeen) DIAG_Error("Required End_Board_Description keyword not found.");
    g_ebd.pCur = nullptr;
}

// ------------------------------------------------------------ file checks

// One referenced pin of a file named in a map (newest first in its file).
struct PINREF {
    PINREF* pNext;
    char szComponent[REFDES_COMPONENT_LEN + 1];
    char szEbdName[EBDMDL_NAME_LEN + 1];
    char szPin[EBDPIN_NAME_LEN + 2];
};

// A file named in the maps, with the pins referenced in it.
struct FILEREF {
    FILEREF* pNext;
    char szFileName[REFDES_FILE_LEN + 1];
    PINREF* pPinRefs;
};

// The file references of one EBDMDL_CheckFile.  Each call keeps its own:
// the nested read of a referenced .ebd runs the checks of that file while
// the outer call still walks its list.
class FILEREFS {
public:
    FILEREFS() = default;
    ~FILEREFS() {
        while (m_pFirst != nullptr) {
            FILEREF* pNext = m_pFirst->pNext;
            while (m_pFirst->pPinRefs != nullptr) {
                PINREF* pNextRef = m_pFirst->pPinRefs->pNext;
                CMN_Free(m_pFirst->pPinRefs);
                m_pFirst->pPinRefs = pNextRef;
            }
            CMN_Free(m_pFirst);
            m_pFirst = pNext;
        }
    }
    FILEREFS(const FILEREFS&) = delete;
    FILEREFS& operator=(const FILEREFS&) = delete;

    void Add(const char* pszFile, const char* pszComponent, const char* pszEbdName, const char* pszPin) {
        FILEREF*& pFile = m_byName[pszFile];
        if (pFile == nullptr) {
            if (!CMN_Alloc(&pFile, sizeof(FILEREF))) {
                DIAG_Error("Unable to allocate FILEREF.");
                m_byName.erase(pszFile);
                return;
            }
            CMN_StrCopy(pFile->szFileName, pszFile, REFDES_FILE_LEN);
            pFile->pNext = m_pFirst;
            m_pFirst = pFile;
        }
        PINREF* pRef = nullptr;
        if (!CMN_Alloc(&pRef, sizeof(PINREF))) {
            DIAG_Error("Unable to allocate PINREF.");
            return;
        }
        CMN_StrCopy(pRef->szComponent, pszComponent, REFDES_COMPONENT_LEN);
        CMN_StrCopy(pRef->szEbdName, pszEbdName, EBDMDL_NAME_LEN);
        CMN_StrCopy(pRef->szPin, pszPin, EBDPIN_NAME_LEN + 1);
        pRef->pNext = pFile->pPinRefs;
        pFile->pPinRefs = pRef;
    }
    FILEREF* First() const { return m_pFirst; }

private:
    FILEREF* m_pFirst = nullptr;
    std::unordered_map<std::string, FILEREF*> m_byName;
};

// Pins of the components of one document, by component name (the first
// component of a name, as a walk of the list finds it).
class PinsByName {
public:
    bool HasName(const std::string& strName) const { return m_pins.count(strName) != 0; }
    bool HasPin(const std::string& strName, const char* pszPin) const {
        auto it = m_pins.find(strName);
        return it != m_pins.end() && it->second.count(pszPin) != 0;
    }
    void AddName(const std::string& strName) {
        m_bAdding = m_pins.count(strName) == 0;
        if (m_bAdding) m_pins[strName];
        m_strLast = strName;
    }
    void AddPin(const char* pszPin) {
        if (m_bAdding) m_pins[m_strLast].insert(pszPin);
    }

private:
    std::unordered_map<std::string, std::unordered_set<std::string>> m_pins;
    std::string m_strLast;
    bool m_bAdding = false;
};

PinsByName BoardPins(const EBDMDL* pList) {
    PinsByName pins;
    for (const EBDMDL* pEbd = pList; pEbd != nullptr; pEbd = pEbd->pNext) {
        pins.AddName(pEbd->szName);
        for (unsigned i = 0; i < pEbd->uiPinCapacity && pEbd->ppPins[i] != nullptr; ++i)
            pins.AddPin(pEbd->ppPins[i]->szName);
    }
    return pins;
}

PinsByName ComponentPins(const CMPNT* pList) {
    PinsByName pins;
    for (const CMPNT* pCmpnt = pList; pCmpnt != nullptr; pCmpnt = pCmpnt->pNext) {
        pins.AddName(pCmpnt->szName);
        for (const PIN* pPin = pCmpnt->pPinList; pPin != nullptr; pPin = pPin->pNext) pins.AddPin(pPin->szPinName);
    }
    return pins;
}

void CheckPinRef(const PinsByName& pins, const char* pszComponent, const char* pszPin, const char* pszFile) {
    if (!pins.HasName(pszComponent))
        DIAG_Error("Component '%s' not found in file '%s'", pszComponent, pszFile);
    else if (!pins.HasPin(pszComponent, pszPin))
        DIAG_Error("Pin '%s' not found on Component '%s' in file '%s'", pszPin, pszComponent, pszFile);
}

std::string HeaderFileName(IBIS* pIbis) { return pIbis != nullptr ? IBIS_GetHeaderFileName(pIbis) : ""; }

void CheckBoardRefs(const FILEREF* pFile, IBIS* pNested, const std::string& strPath,
                    const std::string& strCallerFile) {
    const PINREF* pFirst = pFile->pPinRefs;
    const EBDMDL* pHead = pNested->pEbdMdlList;
    if (pFirst != nullptr && pHead != nullptr) {
        for (const REFDES* p = pHead->pRefDes; p != nullptr; p = p->pNext) {
            if (strCallerFile == p->szFileName && strcmp(p->szComponent, pFirst->szEbdName) == 0)
                DIAG_Error("Ebd file '%s' recursively references the component %s in the calling Ebd file '%s'",
                           strPath.c_str(), pFirst->szEbdName, strCallerFile.c_str());
        }
    }
    const PinsByName pins = BoardPins(pHead);
    for (const PINREF* p = pFirst; p != nullptr; p = p->pNext)
        CheckPinRef(pins, p->szComponent, p->szPin, pFile->szFileName);
}

void CheckComponentRefs(const FILEREF* pFile, IBIS* pNested) {
    const PinsByName pins = ComponentPins(pNested->pCmpntList);
    for (const PINREF* p = pFile->pPinRefs; p != nullptr; p = p->pNext) {
        if (strlen(p->szPin) > PIN_NAME_LEN)
            DIAG_Error("Length of Pin '%s' referenced for Component '%s' is too long", p->szPin, p->szComponent);
        else
            CheckPinRef(pins, p->szComponent, p->szPin, pFile->szFileName);
    }
}

// Locates a referenced file (central library first, then the directory of
// the top-level file), reads it as a nested document and checks the pins
// referenced in it.
void ResolveFile(const FILEREF* pFile) {
    const char* pszExt = strrchr(pFile->szFileName, '.');
    const bool bIbs = pszExt != nullptr && strcmp(pszExt, ".ibs") == 0;
    char szDir[CORVANE_DIR_SIZE] = "";
    const std::string strDir = findCentralLibraryFile(pFile->szFileName, szDir) ? szDir : IBIS_GetTopDir();
    const std::string strPath = PLAT_JoinPath(strDir, pFile->szFileName);
    IBIS* pOuter = nullptr;
    IBIS_GetCurrent(&pOuter);
    const std::string strCallerFile = HeaderFileName(pOuter);
    if (!IBIS_ReadNestedDocument(strPath.c_str(), bIbs ? FILE_KIND_IBS : FILE_KIND_EBD)) return;
    IBIS* pNested = nullptr;
    IBIS_GetCurrent(&pNested);
    if (bIbs)
        CheckComponentRefs(pFile, pNested);
    else
        CheckBoardRefs(pFile, pNested, strPath, strCallerFile);
    IBIS_EndNestedDocument();
}

// The map entry of each designator as a walk of the map finds it first.
std::unordered_map<std::string, REFDES*> MapOf(const EBDMDL* pEbd) {
    std::unordered_map<std::string, REFDES*> map;
    for (REFDES* p = pEbd->pRefDes; p != nullptr; p = p->pNext) map.emplace(p->szRefDes, p);
    return map;
}

void CheckNode(const EBDMDL* pEbd, const EBDNODE* pNode, REFDES* pRefDes, const std::string& strThisFile,
               const PinsByName& boards, FILEREFS* pRefs) {
    if (!pRefDes->bFileNameOk || !pRefDes->bComponentSet) return;
    if (strThisFile != pRefDes->szFileName) {
        pRefs->Add(pRefDes->szFileName, pRefDes->szComponent, pEbd->szName, pNode->szPin);
        return;
    }
    if (strcmp(pRefDes->szComponent, pEbd->szName) == 0) {
        DIAG_Error("Reference Designator '%s' refers to the Component '%s' itself being defined", pRefDes->szRefDes,
                   pRefDes->szComponent);
        pRefDes->bComponentSet = 0;
        return;
    }
    CheckPinRef(boards, pRefDes->szComponent, pNode->szPin, pRefDes->szFileName);
}

void CheckDuplicateNames(const EBDMDL* pList) {
    std::unordered_map<std::string, unsigned> later;
    for (const EBDMDL* p = pList; p != nullptr; p = p->pNext) ++later[p->szName];
    for (const EBDMDL* p = pList; p != nullptr; p = p->pNext) {
        unsigned& uiLater = later[p->szName];
        --uiLater;
        for (unsigned i = 0; i < uiLater; ++i)
            DIAG_Error("Board Description '%s' is duplicated within the .ebd file.", p->szName);
    }
}

}  // namespace

void EBDMDL_Reset() {
    g_ebd.pCur = nullptr;
    g_ebd.eKeyword = KW_NOT_KEY;
    g_ebd.pCurPath = nullptr;
    g_ebd.pCurElem = nullptr;
    g_ebd.forks.Clear();
    g_ebd.uiPinCount = 0;
    g_ebd.pLastPin = nullptr;
    g_ebd.pinNames.clear();
    g_ebd.pathNames.clear();
    g_ebd.refDesNames.clear();
}

void EBDMDL_Init() {
    IBIS* pIbis = nullptr;
    if (!IBIS_GetCurrent(&pIbis)) {
        DIAG_BugLine("%s:%d:EBDMDL_Init unable to get IBIS?", TAV_MODULE, __LINE__);
        return;
    }
    EBDMDL* pEbd = nullptr;
    if (!CMN_Alloc(&pEbd, sizeof(EBDMDL))) {
        DIAG_ErrorLine("Unable to create new EBDMDL.");
        return;
    }
    IBIS_AddEbdMdl(pIbis, pEbd);
    EBDMDL_Reset();
    g_ebd.pCur = pEbd;
    g_ebd.bNumberOfPinsSeen = false;
    g_ebd.bPinListSeen = false;
    g_ebd.bRefDesMapSeen = false;
    g_ebd.bEndSeen = false;
}

void EBDMDL_Line(int eLineClass, int eKeyword, char* pszLine) {
    TAV_ASSERT(pszLine != nullptr);
    if (eLineClass == LINE_KEYWORD) {
        if (g_ebd.pCur == nullptr)
            DIAG_ErrorLine("Orphan Electrical Board Description keyword.");
        else
            KeywordLine(g_ebd.pCur, eKeyword, pszLine);
    } else if (eLineClass == LINE_DATA) {
        if (g_ebd.pCur == nullptr)
            DIAG_ErrorLine("Orphan Data Line.");
        else
            DataLine(g_ebd.pCur, pszLine);
    } else {
        DIAG_BugLine("%s:%d:Illegal line type received.", TAV_MODULE, __LINE__);
    }
}

void EBDMDL_End(int eNextKeyword) {
    if (eNextKeyword >= KW_EBD_MANUFACTURER && eNextKeyword <= KW_END_BOARD_DESCRIPTION) return;
    if (g_ebd.pCur != nullptr) CompleteDescription(g_ebd.pCur);
}

void EBDMDL_CheckFile(EBDMDL* pList, int bNested) {
    FILEREFS refs;
    CheckDuplicateNames(pList);
    IBIS* pIbis = nullptr;
    IBIS_GetCurrent(&pIbis);
    const std::string strThisFile = HeaderFileName(pIbis);
    const PinsByName boards = BoardPins(pList);
    for (const EBDMDL* pEbd = pList; pEbd != nullptr; pEbd = pEbd->pNext) {
        const std::unordered_map<std::string, REFDES*> map = MapOf(pEbd);
        for (EBDPATH* pPath = pEbd->pPaths; pPath != nullptr; pPath = pPath->pNext) {
            WalkPath(pPath->pFirst, [&](PATHELEM* pElem) {
                if (pElem->eNodeType != PATHELEM_NODE) return;
                const EBDNODE* pNode = static_cast<const EBDNODE*>(pElem->pData);
                auto it = map.find(pNode->szRefDes);
                if (it != map.end()) CheckNode(pEbd, pNode, it->second, strThisFile, boards, &refs);
            });
        }
    }
    if (bNested) return;
    for (const FILEREF* pFile = refs.First(); pFile != nullptr; pFile = pFile->pNext) ResolveFile(pFile);
}

int EBDMDL_CheckFileName(const char* pszName) {
    TAV_ASSERT(pszName != nullptr);
    bool bOk = true;
    const char* pszExt = strrchr(pszName, '.');
    if (pszExt == nullptr) {
        DIAG_ErrorLine("Invalid file name '%s'. It has no extension", pszName);
        bOk = false;
    } else if (strcmp(pszExt, ".ibs") != 0 && strcmp(pszExt, ".ebd") != 0) {
        DIAG_ErrorLine("Unknown file extension'%s'. Should be '.ibs' or '.ebd'", pszExt);
        bOk = false;
    }
    static const char kAllowed[] = "._^$~!#%&-{}()@'`";
    bool bPeriodSeen = false;
    for (const char* p = pszName; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (isupper(c)) {
            DIAG_ErrorLine("File_name '%s' contains an upper case character '%c'.", pszName, *p);
            bOk = false;
        } else if (!islower(c) && !isdigit(c) && strchr(kAllowed, *p) == nullptr) {
            DIAG_ErrorLine("File_name '%s' contains a character '%c' that is illegal for DOS.", pszName, *p);
            bOk = false;
        }
        if (*p != '.') continue;
        if (bPeriodSeen) {
            DIAG_ErrorLine("File_name '%s' contains more than one period.", pszName);
            bOk = false;
        }
        bPeriodSeen = true;
    }
    return bOk ? 1 : 0;
}

void EBDMDL_Free(EBDMDL* pList) {
    while (pList != nullptr) {
        EBDMDL* pNext = pList->pNext;
        if (pList == g_ebd.pCur) EBDMDL_Reset();
        for (unsigned i = 0; i < pList->uiPinCapacity && pList->ppPins[i] != nullptr; ++i) CMN_Free(pList->ppPins[i]);
        if (pList->ppPins != nullptr) CMN_Free(pList->ppPins);
        for (EBDPATH* pPath = pList->pPaths; pPath != nullptr;) {
            EBDPATH* pNextPath = pPath->pNext;
            WalkPath(pPath->pFirst, FreeElem);
            CMN_Free(pPath);
            pPath = pNextPath;
        }
        for (REFDES* p = pList->pRefDes; p != nullptr;) {
            REFDES* pNextRef = p->pNext;
            CMN_Free(p);
            p = pNextRef;
        }
        CMN_Free(pList);
        pList = pNext;
    }
}

int EBDMDL_GetPinList(const EBDMDL* pEbd, EBDPIN** ppFirst) {
    TAV_ASSERT(ppFirst != nullptr);
    const EBDMDL& ebd = CMN_RECORD(pEbd);
    *ppFirst = ebd.ppPins != nullptr ? ebd.ppPins[0] : nullptr;
    return *ppFirst != nullptr;
}

int EBDMDL_GetPaths(const EBDMDL* pEbd, EBDPATH** ppFirst) { return CMN_GIVE_FIELD(pEbd, &EBDMDL::pPaths, ppFirst); }

int EBDMDL_GetRefDesList(const EBDMDL* pEbd, REFDES** ppFirst) {
    return CMN_GIVE_FIELD(pEbd, &EBDMDL::pRefDes, ppFirst);
}

namespace {

// The typed content of an element: null and 0 for an element of another
// type.
template <typename T>
int GiveData(const PATHELEM* pElem, unsigned eType, T** pp) {
    TAV_ASSERT(pp != nullptr);
    const PATHELEM& elem = CMN_RECORD(pElem);
    *pp = elem.eNodeType == eType ? static_cast<T*>(elem.pData) : nullptr;
    return *pp != nullptr;
}

}  // namespace

int EBDPIN_GetName(const EBDPIN* pPin, const char** ppsz) { return CMN_GIVE_TEXT(CMN_RECORD(pPin).szName, ppsz); }

int EBDPIN_GetSignalName(const EBDPIN* pPin, const char** ppsz) {
    return CMN_GIVE_TEXT(CMN_RECORD(pPin).szSignalName, ppsz);
}

int EBDPIN_GetNext(const EBDPIN* pPin, EBDPIN** ppNext) { return CMN_GIVE_FIELD(pPin, &EBDPIN::pNext, ppNext); }

int EBDPATH_GetName(const EBDPATH* pPath, const char** ppsz) {
    return CMN_GIVE_TEXT(CMN_RECORD(pPath).szName, ppsz);
}

int EBDPATH_GetFirst(const EBDPATH* pPath, PATHELEM** ppFirst) {
    return CMN_GIVE_FIELD(pPath, &EBDPATH::pFirst, ppFirst);
}

unsigned PATHELEM_GetType(const PATHELEM* pElem) { return CMN_RECORD(pElem).eNodeType; }

int PATHELEM_GetNext(const PATHELEM* pElem, PATHELEM** ppNext) {
    return CMN_GIVE_FIELD(pElem, &PATHELEM::pNext, ppNext);
}

int PATHELEM_GetPinName(const PATHELEM* pElem, const char** ppsz) {
    EBDPINREF* pPin = nullptr;
    GiveData(pElem, PATHELEM_PIN, &pPin);
    return CMN_GIVE_TEXT(pPin != nullptr ? pPin->szPin : nullptr, ppsz);
}

int PATHELEM_GetNode(const PATHELEM* pElem, EBDNODE** ppNode) { return GiveData(pElem, PATHELEM_NODE, ppNode); }
int PATHELEM_GetSection(const PATHELEM* pElem, SECT** ppSect) { return GiveData(pElem, PATHELEM_SECTION, ppSect); }

int PATHELEM_GetForkBranch(const PATHELEM* pElem, PATHELEM** ppFirst) {
    return GiveData(pElem, PATHELEM_FORK, ppFirst);
}

int EBDNODE_GetRefDes(const EBDNODE* pNode, const char** ppsz) {
    return CMN_GIVE_TEXT(CMN_RECORD(pNode).szRefDes, ppsz);
}

int EBDNODE_GetPin(const EBDNODE* pNode, const char** ppsz) { return CMN_GIVE_TEXT(CMN_RECORD(pNode).szPin, ppsz); }
int REFDES_IsFileNameOk(const REFDES* pRefDes) { return CMN_RECORD(pRefDes).bFileNameOk != 0; }
int REFDES_IsComponentSet(const REFDES* pRefDes) { return CMN_RECORD(pRefDes).bComponentSet != 0; }
