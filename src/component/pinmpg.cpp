// [Pin Mapping]: the column headers, one row per pin with its bus names,
// and the checks of buses against the supply pins of the component.  State:
// the tail of the row list being appended to.
#define TAV_MODULE "pinmpg"
#include "component/pinmpg.h"

#include <cstring>
#include <unordered_set>
#include <utility>

#include "component/cmpnt.h"
#include "component/pin.h"
#include "component/rows.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/tav_assert.h"

namespace {

// A [Pin Mapping] table: the pin, pulldown_ref and pullup_ref, then
// optionally gnd_clamp_ref and power_clamp_ref.
enum { MAP_HEADERS = 4, MAP_REQUIRED_HEADERS = 2, MAP_WORDS = 6, MAP_MAX_COLUMNS = 5,
       MAP_COLUMNS_SHORT = 3, MAP_COLUMNS_LONG = 5 };

struct PinmpgState {
    ROWTAIL<PINMPG> tail;
};

PinmpgState g_pinmpg;

using REFFIELD = char (PINMPG::*)[PINMPG_REF_LEN + 1];

// The reference columns in table order.
struct REFCOLUMN {
    const char* pszName;
    REFFIELD field;
};

const REFCOLUMN g_aRefColumns[MAP_HEADERS] = {
    {"pulldown_ref", &PINMPG::szPulldownRef},
    {"pullup_ref", &PINMPG::szPullupRef},
    {"gnd_clamp_ref", &PINMPG::szGndClampRef},
    {"power_clamp_ref", &PINMPG::szPowerClampRef},
};

const char* RowKey(const PINMPG* pRow) { return pRow->szPin; }

// A reference is set when it names a bus: neither empty nor NC.
bool IsSet(const char* pszRef) { return pszRef[0] != '\0' && !CMN_StrEqualNoCase(pszRef, "NC"); }

void ReadReference(const char* pszWord, const REFCOLUMN& column, PINMPG* pRow) {
    CMN_SetString(pRow->*column.field, pszWord, PINMPG_REF_LEN, column.pszName);
    if (CMN_StrEqualNoCase(pszWord, "NA")) DIAG_ErrorLine("%s is an invalid Pin_Mapping column entry.", pszWord);
    ++pRow->nColumns;
}

void ReadRowWords(const WORDS& words, PINMPG* pRow) {
    if (words[0] == nullptr) {
        DIAG_ErrorLine("No Pin number.");
    } else {
        CMN_SetString(pRow->szPin, words[0], PINMPG_PIN_LEN, "Pin");
        CMN_CheckReserved(words[0]);
        ++pRow->nColumns;
    }
    if (words[1] == nullptr)
        DIAG_ErrorLine("No pulldown_ref data.");
    else
        ReadReference(words[1], g_aRefColumns[0], pRow);
    if (words[2] == nullptr)
        DIAG_ErrorLine("No pullup_ref data.");
    else
        ReadReference(words[2], g_aRefColumns[1], pRow);
    for (int i = 2; i < MAP_HEADERS; ++i)
        if (words[i + 1] != nullptr) ReadReference(words[i + 1], g_aRefColumns[i], pRow);
}

// For one reference column: per bus, the first two rows (in list order)
// whose pin is a supply pin.  The search of a row skips the row itself, so
// two are enough to answer "the first other row".
class SUPPLY_ROWS {
public:
    SUPPLY_ROWS(PINMPG* pList, REFFIELD field, const PIN_INDEX& pins) {
        for (PINMPG* pRow = pList; pRow != nullptr; pRow = pRow->pNext) {
            const PIN* pPin = pins.Find(pRow->szPin);
            if (!PIN_HasPowerModel(pPin) && !PIN_HasGndModel(pPin)) continue;
            auto& rows = m_mapRows[pRow->*field];
            if (rows.first == nullptr)
                rows.first = pRow;
            else if (rows.second == nullptr)
                rows.second = pRow;
        }
    }

    const PINMPG* FirstOther(const char* pszBus, const PINMPG* pSelf) const {
        auto it = m_mapRows.find(pszBus);
        if (it == m_mapRows.end()) return nullptr;
        return it->second.first != pSelf ? it->second.first : it->second.second;
    }

private:
    std::unordered_map<std::string, std::pair<const PINMPG*, const PINMPG*>> m_mapRows;
};

struct MAPCHECK {
    const char* pszCmpnt;
    const PIN_INDEX& pins;
    const SUPPLY_ROWS& pulldownSupply;
    const SUPPLY_ROWS& pullupSupply;
};

bool RowPinIsPower(const MAPCHECK& check, const PINMPG* pRow) {
    return PIN_HasPowerModel(check.pins.Find(pRow->szPin));
}

bool RowPinIsGnd(const MAPCHECK& check, const PINMPG* pRow) {
    return PIN_HasGndModel(check.pins.Find(pRow->szPin));
}

// Only the named reference of a row is set.
bool OnlySet(const PINMPG* pRow, REFFIELD only) {
    for (const REFCOLUMN& column : g_aRefColumns)
        if (IsSet(pRow->*column.field) != (column.field == only)) return false;
    return true;
}

bool AnySet(const PINMPG* pRow) {
    for (const REFCOLUMN& column : g_aRefColumns)
        if (IsSet(pRow->*column.field)) return true;
    return false;
}

// Supply pins usually map only their own reference, NC pins none.
void CheckSupplyPins(PIN* pPinList, const PINMPG_INDEX& rows) {
    for (PIN* pPin = pPinList; pPin != nullptr; pPin = pPin->pNext) {
        const PINMPG* pRow = rows.Find(pPin->szPinName);
        if (pRow == nullptr) continue;
        if (PIN_HasPowerModel(pPin) && !OnlySet(pRow, &PINMPG::szPullupRef))
            DIAG_Warning("Pin %s is a POWER pin. Usually only has Pullup_ref in Pin Mapping", pPin->szPinName);
        else if (PIN_HasGndModel(pPin) && !OnlySet(pRow, &PINMPG::szPulldownRef))
            DIAG_Warning("Pin %s is a GND pin. Usually only has Pulldown_ref in Pin Mapping", pPin->szPinName);
        else if (PIN_HasNcModel(pPin) && AnySet(pRow))
            DIAG_Warning("Pin %s is NC. Should not have any references in Pin Mapping", pPin->szPinName);
    }
}

void CheckDeclared(const MAPCHECK& check, PINMPG* pList) {
    for (PINMPG* pRow = pList; pRow != nullptr; pRow = pRow->pNext)
        if (check.pins.Find(pRow->szPin) == nullptr)
            DIAG_Error("Component '%s': Pin Mapping Pin '%s' not previously declared in Pin section.",
                       check.pszCmpnt, pRow->szPin);
}

// A bus named by a reference must also be the reference of a supply pin
// on another row, and usually of the expected kind.
void CheckConnected(const MAPCHECK& check, const PINMPG* pRow, const REFCOLUMN& column,
                    const SUPPLY_ROWS& search, bool bWantGnd) {
    const char* pszBus = pRow->*column.field;
    const PINMPG* pFound = search.FirstOther(pszBus, pRow);
    if (pFound == nullptr)
        DIAG_Error("Component '%s': Pin Mapping %s entry '%s' is not connected to at least one pin "
                   "whose model_name is POWER or GND.",
                   check.pszCmpnt, column.pszName, pszBus);
    else if (bWantGnd ? !RowPinIsGnd(check, pFound) : !RowPinIsPower(check, pFound))
        DIAG_Warning("Component '%s': Pin Mapping '%s': %s entry is usually connected to %s.", check.pszCmpnt,
                     pRow->szPin, column.pszName, bWantGnd ? "GND" : "POWER");
}

void CheckPulldowns(const MAPCHECK& check, PINMPG* pList) {
    std::unordered_set<std::string> pullups;
    for (PINMPG* pRow = pList; pRow != nullptr; pRow = pRow->pNext) pullups.insert(pRow->szPullupRef);
    for (PINMPG* pRow = pList; pRow != nullptr; pRow = pRow->pNext) {
        if (!IsSet(pRow->szPulldownRef)) continue;
        if (!RowPinIsGnd(check, pRow))
            CheckConnected(check, pRow, g_aRefColumns[0], check.pulldownSupply, true);
        else if (pullups.count(pRow->szPulldownRef) != 0)
            DIAG_Warning("Pulldown Reference %s is also used as a Pullup Reference", pRow->szPulldownRef);
    }
}

// The pullup and clamp references of rows whose own pin is not of the
// supply kind the reference expects.
void CheckOtherReferences(const MAPCHECK& check, PINMPG* pList, const REFCOLUMN& column, bool bWantGnd) {
    const SUPPLY_ROWS& search = bWantGnd ? check.pulldownSupply : check.pullupSupply;
    for (PINMPG* pRow = pList; pRow != nullptr; pRow = pRow->pNext) {
        if (!IsSet(pRow->*column.field)) continue;
        if (bWantGnd ? RowPinIsGnd(check, pRow) : RowPinIsPower(check, pRow)) continue;
        CheckConnected(check, pRow, column, search, bWantGnd);
    }
}

}  // namespace

void PINMPG_Reset() { g_pinmpg.tail.Forget(); }

void PINMPG_Header(CMPNT* pCmpnt, const char* pszText) {
    TAV_ASSERT(pCmpnt != nullptr && pszText != nullptr);
    if (pCmpnt->nPinMapColumns != 0) {
        DIAG_ErrorLine("Duplicate Pin_Mapping keyword found.");
        return;
    }
    pCmpnt->nPinMapColumns = 1;  // the pin has no header
    if (!HeadersPresent(&pszText, "Pin_Mapping")) return;
    WORDS headers(pszText, MAP_HEADERS);
    pCmpnt->nPinMapColumns = CountColumns(headers, "Pin_Mappings", MAP_COLUMNS_SHORT, MAP_COLUMNS_LONG);
    const char* apszExpected[MAP_HEADERS];
    for (int i = 0; i < MAP_HEADERS; ++i) apszExpected[i] = g_aRefColumns[i].pszName;
    CheckHeaders(headers, apszExpected, MAP_HEADERS, MAP_REQUIRED_HEADERS);
}

// One [Pin Mapping] row.  Returns 0 only when the row could not be
// allocated.
int PINMPG_AddRow(const char* pszRow, CMPNT* pCmpnt) {
    TAV_ASSERT(pszRow != nullptr && pCmpnt != nullptr);
    PINMPG* pRow = nullptr;
    if (!CMN_Alloc(&pRow, sizeof(PINMPG))) {
        DIAG_ErrorLine("Unable to alloc new PINMPG.");
        return 0;
    }
    WORDS words(pszRow, MAP_WORDS);
    if (words.Found() > MAP_MAX_COLUMNS) DIAG_ErrorLine("Extra data columns on this line.");
    ReadRowWords(words, pRow);
    if (pRow->nColumns != MAP_COLUMNS_SHORT && pRow->nColumns != MAP_COLUMNS_LONG)
        DIAG_ErrorLine("Pin Mapping data lines must contain either 3 or 5 columns.");
    else if (pRow->nColumns == MAP_COLUMNS_LONG && pCmpnt->nPinMapColumns == MAP_COLUMNS_SHORT)
        DIAG_ErrorLine("When 5 columns are specified, the headings gnd_clamp_ref and power_clamp_ref must be used.");
    unsigned nEarlier = g_pinmpg.tail.Append(&pCmpnt->pPinMapList, pRow, RowKey);
    for (unsigned i = 0; i < nEarlier; ++i) DIAG_ErrorLine("Duplicate Pin Mapping Pin.");
    return 1;
}

// End-of-file checks of one component's pin mapping against its pins.
void PINMPG_CheckList(PINMPG* pList, PIN* pPinList, const char* pszCmpntName) {
    TAV_ASSERT(pszCmpntName != nullptr);
    if (pPinList == nullptr) return;
    PIN_INDEX pins(pPinList);
    SUPPLY_ROWS pulldownSupply(pList, &PINMPG::szPulldownRef, pins);
    SUPPLY_ROWS pullupSupply(pList, &PINMPG::szPullupRef, pins);
    MAPCHECK check{pszCmpntName, pins, pulldownSupply, pullupSupply};

    CheckSupplyPins(pPinList, PINMPG_INDEX(pList));
    CheckDeclared(check, pList);
    CheckPulldowns(check, pList);
    CheckOtherReferences(check, pList, g_aRefColumns[1], false);
    CheckOtherReferences(check, pList, g_aRefColumns[2], true);
    CheckOtherReferences(check, pList, g_aRefColumns[3], false);
}

int PINMPG_FindPin(PINMPG* pList, const char* pszPin) {
    TAV_ASSERT(pszPin != nullptr);
    for (PINMPG* pRow = pList; pRow != nullptr; pRow = pRow->pNext)
        if (strcmp(pRow->szPin, pszPin) == 0) return 1;
    return 0;
}

void PINMPG_Destroy(PINMPG* pList) {
    g_pinmpg.tail.Forget();
    while (pList != nullptr) {
        PINMPG* pNext = pList->pNext;
        CMN_Free(pList);
        pList = pNext;
    }
}

PINMPG_INDEX::PINMPG_INDEX(PINMPG* pList) {
    for (PINMPG* pRow = pList; pRow != nullptr; pRow = pRow->pNext) m_mapFirst.emplace(pRow->szPin, pRow);
}

PINMPG* PINMPG_INDEX::Find(const char* pszPin) const {
    TAV_ASSERT(pszPin != nullptr);
    auto it = m_mapFirst.find(pszPin);
    return it != m_mapFirst.end() ? it->second : nullptr;
}

int PINMPG_GetPin(const PINMPG* pRow, const char** ppsz) {
    const PINMPG& row = CMN_RECORD(pRow);
    return CMN_GIVE_TEXT(row.szPin, ppsz);
}

int PINMPG_GetPulldownRef(const PINMPG* pRow, const char** ppsz) {
    const PINMPG& row = CMN_RECORD(pRow);
    return CMN_GIVE_TEXT(IsSet(row.szPulldownRef) ? row.szPulldownRef : nullptr, ppsz);
}

int PINMPG_GetPullupRef(const PINMPG* pRow, const char** ppsz) {
    const PINMPG& row = CMN_RECORD(pRow);
    return CMN_GIVE_TEXT(IsSet(row.szPullupRef) ? row.szPullupRef : nullptr, ppsz);
}

int PINMPG_GetGndClampRef(const PINMPG* pRow, const char** ppsz) {
    const PINMPG& row = CMN_RECORD(pRow);
    const bool bGiven = row.nColumns == MAP_COLUMNS_LONG && IsSet(row.szGndClampRef);
    return CMN_GIVE_TEXT(bGiven ? row.szGndClampRef : nullptr, ppsz);
}

int PINMPG_GetPowerClampRef(const PINMPG* pRow, const char** ppsz) {
    const PINMPG& row = CMN_RECORD(pRow);
    const bool bGiven = row.nColumns == MAP_COLUMNS_LONG && IsSet(row.szPowerClampRef);
    return CMN_GIVE_TEXT(bGiven ? row.szPowerClampRef : nullptr, ppsz);
}

int PINMPG_GetColumns(const PINMPG* pRow, int* pn) {
    TAV_ASSERT(pn != nullptr);
    *pn = CMN_RECORD(pRow).nColumns;
    return 1;
}

int PINMPG_GetNext(const PINMPG* pRow, PINMPG** ppNext) {
    TAV_ASSERT(ppNext != nullptr);
    *ppNext = CMN_RECORD(pRow).pNext;
    return *ppNext != nullptr;
}
