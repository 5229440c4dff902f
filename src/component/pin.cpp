// [Pin]: the column headers with their optional R_pin, L_pin and C_pin
// columns, one row per pin with its values, and the end checks of the pin
// list against models, selectors and the package model.  State: the tail of
// the pin list being appended to.
#define TAV_MODULE "pin"
#include "component/pin.h"

#include <cstring>

#include "component/cmpnt.h"
#include "component/pinmpg.h"
#include "component/rows.h"
#include "model/mdl.h"
#include "model/msel.h"
#include "package/pkgmdl.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/document.h"
#include "core/lines.h"
#include "core/tav_assert.h"

namespace {

// A [Pin] table has the pin name, signal name and model name, then
// optionally R_pin, L_pin and C_pin in the header's order.
enum { PIN_WORDS = 6, PIN_FIXED_WORDS = 3, PIN_COLUMNS_SHORT = 3, PIN_COLUMNS_LONG = 6 };

struct PinState {
    ROWTAIL<PIN> tail;
};

PinState g_pin;

const char* const g_apszOptional[PIN_COL_COUNT] = {"R_pin", "L_pin", "C_pin"};

const char* PinKey(const PIN* pPin) { return pPin->szPinName; }

bool ModelIs(const PIN* pPin, const char* pszModel) {
    return pPin != nullptr && CMN_StrEqualNoCase(pPin->szModelName, pszModel);
}

PIN* FindFirst(PIN* pList, const char* pszName) {
    TAV_ASSERT(pszName != nullptr);
    for (PIN* pPin = pList; pPin != nullptr; pPin = pPin->pNext)
        if (strcmp(pPin->szPinName, pszName) == 0) return pPin;
    return nullptr;
}

// The third to fifth headers name R_pin, L_pin and C_pin in any order.
void ReadOptionalHeaders(const WORDS& headers, PINCOLS* pCols) {
    bool abSeen[PIN_COL_COUNT] = {false, false, false};
    for (int nPos = 0; nPos < PIN_COL_COUNT; ++nPos) {
        const char* pszHeader = headers[PIN_FIXED_WORDS - 1 + nPos];
        if (pszHeader == nullptr) return;
        int nQuantity = 0;
        while (nQuantity < PIN_COL_COUNT && !CMN_StrEqualNoCase(g_apszOptional[nQuantity], pszHeader))
            ++nQuantity;
        if (nQuantity == PIN_COL_COUNT) {
            DIAG_ErrorLine("Unknown column header '%s' or out of order.", pszHeader);
        } else if (abSeen[nQuantity]) {
            DIAG_ErrorLine("Duplicate column header '%s' .", pszHeader);
        } else {
            abSeen[nQuantity] = true;
            pCols->anColumn[nQuantity] = nPos;
        }
    }
}

// Reads one of R_pin, L_pin, C_pin from its optional column.
void ReadOptionalValue(const WORDS& words, const PINCOLS* pCols, int nQuantity, PIN* pPin,
                       double* pdValue, unsigned* peState) {
    const char* pszWord = words[PIN_FIXED_WORDS + pCols->anColumn[nQuantity]];
    if (pszWord == nullptr) return;
    ++pPin->nColumns;
    CMN_ParseValue(pszWord, "Pin", g_apszOptional[nQuantity], pdValue, peState);
}

void ReadRowWords(const WORDS& words, const PINCOLS* pCols, PIN* pPin) {
    if (words[0] == nullptr) {
        DIAG_ErrorLine("Pin not found.");
    } else {
        CMN_SetString(pPin->szPinName, words[0], PIN_NAME_LEN, "Pin");
        ++pPin->nColumns;
    }
    if (words[1] == nullptr) {
        DIAG_ErrorLine("Signal name not found.");
    } else {
        CMN_SetString(pPin->szSignalName, words[1], PIN_SIGNAL_LEN, "Signal name");
        ++pPin->nColumns;
    }
    if (words[2] == nullptr) {
        DIAG_ErrorLine("Model name not found.");
    } else {
        CMN_SetString(pPin->szModelName, words[2], PIN_MODEL_LEN, "Model name");
        ++pPin->nColumns;
    }
    ReadOptionalValue(words, pCols, PIN_COL_R, pPin, &pPin->dRpin, &pPin->eRpinState);
    ReadOptionalValue(words, pCols, PIN_COL_L, pPin, &pPin->dLpin, &pPin->eLpinState);
    ReadOptionalValue(words, pCols, PIN_COL_C, pPin, &pPin->dCpin, &pPin->eCpinState);
}

void CheckRowColumns(const PIN* pPin, int nHeaderColumns) {
    if (pPin->nColumns != PIN_COLUMNS_SHORT && pPin->nColumns != PIN_COLUMNS_LONG)
        DIAG_ErrorLine("Each line of Pin data must contain either 3 or 6 columns.");
    else if (pPin->nColumns == PIN_COLUMNS_LONG && nHeaderColumns == PIN_COLUMNS_SHORT)
        DIAG_ErrorLine("When using 6 columns, the headers R_pin, L_pin, and C_pin must be listed.");
}

// Whether a model name is defined in the document: among the models, and
// from IBIS 3 on also among the model selectors.  Pins share few model
// names, so each name is looked up once.
class MODEL_LOOKUP {
public:
    explicit MODEL_LOOKUP(IBIS* pIbis) : m_bSelectors(PARSE_GetIbisVersion() >= 3) {
        IBIS_GetMdlList(pIbis, &m_pMdlList);
        if (m_bSelectors) IBIS_GetMselList(pIbis, &m_pMselList);
    }

    bool Defined(const char* pszName) {
        auto it = m_mapKnown.find(pszName);
        if (it != m_mapKnown.end()) return it->second;
        MDL* pMdl = nullptr;
        bool bDefined = MDL_Find(m_pMdlList, pszName, &pMdl) != 0 ||
                        (m_bSelectors && MSEL_Find(m_pMselList, pszName) != 0);
        m_mapKnown.emplace(pszName, bDefined);
        return bDefined;
    }

private:
    MDL* m_pMdlList = nullptr;
    MSEL* m_pMselList = nullptr;
    bool m_bSelectors = false;
    std::unordered_map<std::string, bool> m_mapKnown;
};

bool IsSupplyOrNc(const PIN* pPin) {
    return PIN_HasPowerModel(pPin) || PIN_HasGndModel(pPin) || PIN_HasNcModel(pPin);
}

}  // namespace

void PIN_Reset() { g_pin.tail.Forget(); }

void PIN_ResetColumns(PINCOLS* pCols) {
    TAV_ASSERT(pCols != nullptr);
    pCols->anColumn[PIN_COL_R] = 0;
    pCols->anColumn[PIN_COL_L] = 1;
    pCols->anColumn[PIN_COL_C] = 2;
}

// The [Pin] keyword line: column headers after the keyword.
void PIN_Header(CMPNT* pCmpnt, PINCOLS* pCols, const char* pszText) {
    TAV_ASSERT(pCmpnt != nullptr && pCols != nullptr && pszText != nullptr);
    if (pCmpnt->nPinColumns != 0) {
        DIAG_ErrorLine("Duplicate Pin keyword found.");
        return;
    }
    pCmpnt->nPinColumns = 1;  // the pin name has no header
    if (!HeadersPresent(&pszText, "Pin")) return;
    WORDS headers(pszText, PIN_WORDS);
    pCmpnt->nPinColumns = CountColumns(headers, "Pin", PIN_COLUMNS_SHORT, PIN_COLUMNS_LONG);
    static const char* const kFixed[] = {"signal_name", "model_name"};
    CheckHeaders(headers, kFixed, 2, 2);
    ReadOptionalHeaders(headers, pCols);
}

// One [Pin] row.  Returns 0 only when the row could not be allocated.
int PIN_AddRow(const char* pszRow, CMPNT* pCmpnt, const PINCOLS* pCols) {
    TAV_ASSERT(pszRow != nullptr && pCmpnt != nullptr && pCols != nullptr);
    PIN* pPin = nullptr;
    if (!CMN_Alloc(&pPin, sizeof(PIN))) {
        DIAG_ErrorLine("Unable to allocate new PIN.");
        DIAG_ErrorLine("Unable to add the line of Pin data.");
        return 0;
    }
    WORDS words(pszRow, PIN_WORDS);
    ReadRowWords(words, pCols, pPin);
    CheckRowColumns(pPin, pCmpnt->nPinColumns);
    unsigned nEarlier = g_pin.tail.Append(&pCmpnt->pPinList, pPin, PinKey);
    for (unsigned i = 0; i < nEarlier; ++i) DIAG_ErrorLine("Duplicate Pin '%s'.", pPin->szPinName);
    return 1;
}

// End-of-file checks of one component's pins: models and pin mappings.
namespace {

// Every pin of the package model's [Pin Numbers] list must be a pin of the
// component.
void CheckPackagePins(PIN* pList, PKGMDL* pPkgMdlList, const char* pszCmpntName,
                      const char* pszPackageModel) {
    const PIN_INDEX pins(pList);  // a package model may list 100 000 pins
    const char* pszPin = nullptr;
    for (int bFirst = 1; PKGMDL_NextPin(pPkgMdlList, pszPackageModel, bFirst, &pszPin); bFirst = 0) {
        if (pins.Find(pszPin) == nullptr)
            DIAG_Error("Pin '%s' found in Package_Model '%s' Pin_Numbers list not found in Component '%s' Pin list.",
                       pszPin, pszPackageModel, pszCmpntName);
    }
}

}  // namespace

void PIN_CheckList(PIN* pList, PINMPG* pPinMapList, const char* pszCmpntName,
                   const char* pszPackageModel) {
    TAV_ASSERT(pszCmpntName != nullptr && pszPackageModel != nullptr);
    IBIS* pIbis = nullptr;
    if (!IBIS_GetCurrent(&pIbis)) {
        DIAG_Bug("%s:%d:Unable to get IBIS?", TAV_MODULE, __LINE__);
        return;
    }
    MODEL_LOOKUP models(pIbis);
    PINMPG_INDEX mapped(pPinMapList);
    for (PIN* pPin = pList; pPin != nullptr; pPin = pPin->pNext) {
        if (!IsSupplyOrNc(pPin) && !models.Defined(pPin->szModelName))
            DIAG_Error("Component '%s': Model '%s' for Pin '%s' not defined.", pszCmpntName,
                       pPin->szModelName, pPin->szPinName);
        if (pPinMapList != nullptr && mapped.Find(pPin->szPinName) == nullptr)
            DIAG_Error("Component '%s': Pin '%s' not referenced in Pin Mappings.", pszCmpntName,
                       pPin->szPinName);
    }
    if (pszPackageModel[0] != '\0' && pIbis->pPkgMdlList != nullptr)
        CheckPackagePins(pList, pIbis->pPkgMdlList, pszCmpntName, pszPackageModel);
}

void PIN_Destroy(PIN* pList) {
    g_pin.tail.Forget();
    while (pList != nullptr) {
        PIN* pNext = pList->pNext;
        CMN_Free(pList);
        pList = pNext;
    }
}

int PIN_Find(PIN* pList, const char* pszName) { return FindFirst(pList, pszName) != nullptr; }

const char* PIN_GetModelOf(PIN* pList, const char* pszName) {
    PIN* pPin = FindFirst(pList, pszName);
    return pPin != nullptr ? pPin->szModelName : nullptr;
}

int PIN_IsPower(PIN* pList, const char* pszName) { return PIN_HasPowerModel(FindFirst(pList, pszName)); }
int PIN_IsGnd(PIN* pList, const char* pszName) { return PIN_HasGndModel(FindFirst(pList, pszName)); }

int PIN_IsSupply(PIN* pList, const char* pszName) {
    PIN* pPin = FindFirst(pList, pszName);
    return PIN_HasPowerModel(pPin) || PIN_HasGndModel(pPin);
}

bool PIN_HasPowerModel(const PIN* pPin) { return ModelIs(pPin, "POWER"); }
bool PIN_HasGndModel(const PIN* pPin) { return ModelIs(pPin, "GND"); }
bool PIN_HasNcModel(const PIN* pPin) { return ModelIs(pPin, "NC"); }

PIN_INDEX::PIN_INDEX(PIN* pList) {
    for (PIN* pPin = pList; pPin != nullptr; pPin = pPin->pNext) m_mapFirst.emplace(pPin->szPinName, pPin);
}

PIN* PIN_INDEX::Find(const char* pszName) const {
    TAV_ASSERT(pszName != nullptr);
    auto it = m_mapFirst.find(pszName);
    return it != m_mapFirst.end() ? it->second : nullptr;
}

namespace {

}  // namespace

int PIN_GetName(const PIN* pPin, const char** ppsz) { return CMN_GIVE_TEXT(CMN_RECORD(pPin).szPinName, ppsz); }
int PIN_GetSignal(const PIN* pPin, const char** ppsz) { return CMN_GIVE_TEXT(CMN_RECORD(pPin).szSignalName, ppsz); }
int PIN_GetModel(const PIN* pPin, const char** ppsz) { return CMN_GIVE_TEXT(CMN_RECORD(pPin).szModelName, ppsz); }

int PIN_GetRpin(const PIN* pPin, double* pd) {
    const PIN& pin = CMN_RECORD(pPin);
    return CMN_GIVE_VALUE(pin.dRpin, pin.eRpinState, pd);
}

int PIN_GetLpin(const PIN* pPin, double* pd) {
    const PIN& pin = CMN_RECORD(pPin);
    return CMN_GIVE_VALUE(pin.dLpin, pin.eLpinState, pd);
}

int PIN_GetCpin(const PIN* pPin, double* pd) {
    const PIN& pin = CMN_RECORD(pPin);
    return CMN_GIVE_VALUE(pin.dCpin, pin.eCpinState, pd);
}

int PIN_GetColumns(const PIN* pPin, int* pn) {
    TAV_ASSERT(pn != nullptr);
    *pn = CMN_RECORD(pPin).nColumns;
    return 1;
}

int PIN_GetNext(const PIN* pPin, PIN** ppNext) {
    TAV_ASSERT(ppNext != nullptr);
    *ppNext = CMN_RECORD(pPin).pNext;
    return *ppNext != nullptr;
}
