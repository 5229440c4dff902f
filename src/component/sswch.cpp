// [Series Switch Groups]: the On and Off groups of function table groups,
// each ended by "/", and their checks against the series pin mapping.
// State: the group being read, the names it has so far and the tail of the
// group list.
#define TAV_MODULE "sswch"
#include "component/sswch.h"

#include <cstring>
#include <string>
#include <unordered_set>

#include "component/cmpnt.h"
#include "component/rows.h"
#include "component/spinmpg.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/lines.h"
#include "core/tav_assert.h"

namespace {

// A line of at most PARSE_LINE_SIZE characters holds fewer words than this.
enum { SSWCH_MAX_WORDS = PARSE_LINE_SIZE / 2 };

// The group being filled, which a line without its closing "/" leaves
// open for the next line, and the names it has so far.
struct SswchState {
    SSWCH* pCurSswch = nullptr;
    std::unordered_set<std::string> names;
    ROWTAIL<SSWCH> tail;
};

SswchState g_sswch;

void ForgetGroup() {
    g_sswch.pCurSswch = nullptr;
    g_sswch.names.clear();
}

// A new group: the line's first word, exactly On or Off.
SSWCH* StartGroup(const char* pszState, CMPNT* pCmpnt) {
    SSWCH* pGroup = nullptr;
    if (!CMN_Alloc(&pGroup, sizeof(SSWCH))) {
        DIAG_ErrorLine("Unable to allocate new SSWCH.");
        DIAG_ErrorLine("Unable to add Series_Switch_Groups.");
        return nullptr;
    }
    CMN_StrCopy(pGroup->szState, pszState, SSWCH_STATE_LEN);
    g_sswch.tail.Append(&pCmpnt->pSswchList, pGroup);
    ForgetGroup();
    g_sswch.pCurSswch = pGroup;
    return pGroup;
}

int AddName(SSWCH* pGroup, const char* pszWord) {
    char* pszName = nullptr;
    if (!CMN_Realloc(&pGroup->ppszNames, (pGroup->nNames + 1) * sizeof(char*)) ||
        !CMN_Alloc(&pszName, SSWCH_NAME_LEN + 1)) {
        DIAG_ErrorLine("Unable to allocate new Series Switch Group name.");
        return 0;
    }
    pGroup->ppszNames[pGroup->nNames++] = pszName;
    if (strlen(pszWord) > SSWCH_NAME_LEN)
        DIAG_ErrorLine("Series switch Group name '%s' over %d characters long", pszWord, SSWCH_NAME_LEN);
    CMN_StrCopy(pszName, pszWord, SSWCH_NAME_LEN);
    if (strcmp(pszName, "On") == 0 || strcmp(pszName, "Off") == 0)
        DIAG_ErrorLine("Series switch Group name cannot be 'On' or 'Off'");
    if (!g_sswch.names.insert(pszName).second) DIAG_ErrorLine("Duplicate Series switch Group name '%s'", pszName);
    CMN_CheckReserved(pszName);
    return 1;
}

void FreeGroup(SSWCH* pGroup) {
    for (unsigned i = 0; i < pGroup->nNames; ++i) CMN_Free(pGroup->ppszNames[i]);
    if (pGroup->ppszNames != nullptr) CMN_Free(pGroup->ppszNames);
    CMN_Free(pGroup);
}

}  // namespace

void SSWCH_Reset() {
    ForgetGroup();
    g_sswch.tail.Forget();
}

// The [Series Switch Groups] keyword line, which carries no data.
void SSWCH_Keyword(CMPNT* pCmpnt, const char* pszText) {
    TAV_ASSERT(pCmpnt != nullptr && pszText != nullptr);
    ForgetGroup();
    if (pCmpnt->pSswchList != nullptr) DIAG_ErrorLine("Duplicate [Series_Switch_Groups] keyword found.");
    CMN_SkipWhite(&pszText);
    if (*pszText == '\0') return;
    WORDS words(pszText, 1);
    if (!words.Split()) {
        DIAG_BugLine("Unable to Parse %s: %s %d", "Series_Switch_Groups", TAV_MODULE, __LINE__);
        return;
    }
    DIAG_ErrorLine("Incorrect Number of Line Items (%d) For %s: Expecting %d", words.Found() + 1,
                   "Series_Switch_Groups", 1);
}

// One group line: On or Off, group names, and "/" closing the group; a
// group may run over several lines.  Returns 0 when memory ran out.
int SSWCH_AddLine(const char* pszLine, CMPNT* pCmpnt) {
    TAV_ASSERT(pszLine != nullptr && pCmpnt != nullptr);
    WORDS words(pszLine, SSWCH_MAX_WORDS);
    int nWord = 0;
    SSWCH* pGroup = g_sswch.pCurSswch;
    if (PARSE_GetNotTerminated() && pGroup != nullptr) {
        PARSE_SetNotTerminated(0);
    } else {
        PARSE_SetNotTerminated(0);
        const char* pszState = words[0] != nullptr ? words[0] : "";
        if (strcmp(pszState, "On") != 0 && strcmp(pszState, "Off") != 0) {
            DIAG_ErrorLine("Unknown sub parameter '%s'", pszState);
            return 1;
        }
        pGroup = StartGroup(pszState, pCmpnt);
        if (pGroup == nullptr) return 0;
        nWord = 1;
        if (words[nWord] == nullptr) DIAG_ErrorLine("No Group names specified on this line");
    }
    for (; words[nWord] != nullptr; ++nWord) {
        if (strcmp(words[nWord], "/") == 0) return 1;
        if (!AddName(pGroup, words[nWord])) return 0;
    }
    PARSE_SetNotTerminated(1);
    return 1;
}

// Every group name must be the function_table_group of a series pin row.
void SSWCH_CheckList(SSWCH* pList, SPINMPG* pSpinMapList, const char* pszCmpntName) {
    TAV_ASSERT(pszCmpntName != nullptr);
    std::unordered_set<std::string> defined;
    for (const SPINMPG* pRow = pSpinMapList; pRow != nullptr; pRow = pRow->pNext) defined.insert(pRow->szGroup);
    for (const SSWCH* pGroup = pList; pGroup != nullptr; pGroup = pGroup->pNext)
        for (unsigned i = 0; i < pGroup->nNames; ++i)
            if (defined.count(pGroup->ppszNames[i]) == 0)
                DIAG_Warning("Component: %s Series Switch Function '%s' is used but not defined", pszCmpntName,
                             pGroup->ppszNames[i]);
}

void SSWCH_Destroy(SSWCH* pList) {
    ForgetGroup();
    g_sswch.tail.Forget();
    while (pList != nullptr) {
        SSWCH* pNext = pList->pNext;
        FreeGroup(pList);
        pList = pNext;
    }
}
