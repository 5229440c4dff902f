// Component records: the record's fields and pin array, the parameter
// selector that reads and writes them with list cursors and corner
// fall-backs, pin search, and the status and type texts.  Records are made
// by the model library manager; the compiled-model reader and the host
// fill and read them through SetModelParam and GetModelParam.
#define TAV_MODULE "compinfo"
#include <cstring>
#include <new>

#include "api/compmdls.h"
#include "core/cmn.h"
#include "core/tav_assert.h"
#include "tavelin/tavelin.h"

namespace {

// Slot of a three-corner pin value, or -1.
int CornerSlot(int eParam) {
    if (eParam >= eIbisPrmERate && eParam <= eIbisPrmGndClampRef) return eParam - eIbisPrmERate;
    if (eParam == eIbisPrmVDiff || eParam == eIbisPrmTDelay) return 6 + eParam - eIbisPrmVDiff;
    if (eParam >= eIbisPrmSeriesR && eParam <= eIbisPrmVinhMinus) return 8 + eParam - eIbisPrmSeriesR;
    return -1;
}

bool IsCorner(int eCorner) { return eCorner >= eTyp && eCorner <= eMax; }

bool IsGiven(double d) { return d != IBIS_NOT_GIVEN; }

// A corner that is not given takes the typical value.
bool CornerValue(const double* pdCorners, int eCorner, double* pdOut) {
    const double d = IsGiven(pdCorners[eCorner]) ? pdCorners[eCorner] : pdCorners[eTyp];
    if (!IsGiven(d)) return false;
    *pdOut = d;
    return true;
}

IBIS_PIN_LIST* PinList(IBIS_PIN_DESC* pPin, int eParam) {
    if (eParam >= eIbisPrmPullUpPins && eParam <= eIbisPrmGndClampPins)
        return &pPin->supplyLists[eParam - eIbisPrmPullUpPins];
    if (eParam == eIbisPrmSeriesPins) return &pPin->seriesPins;
    return nullptr;
}

std::string* PinText(IBIS_PIN_DESC* pPin, int eParam) {
    switch (eParam) {
    case eIbisPrmPinName: return &pPin->strPinName;
    case eIbisPrmSignalName: return &pPin->strSignalName;
    case eIbisPrmModelName: return &pPin->strModelName;
    case eIbisPrmDiffPartner: return &pPin->strDiffPartner;
    case eIbisPrmSeriesModel: return &pPin->strSeriesModel;
    default: return nullptr;
    }
}

// The read-only supply marks: model type 1 and a model named so.
int SupplyMark(const IBIS_PIN_DESC* pPin, const char* pszModel) {
    return pPin->nModelType == 1 && CMN_StrEqualNoCase(pPin->strModelName.c_str(), pszModel);
}

const char* const STATUS_TEXTS[] = {
    "IBIS source not found",          "IBIS source not found",
    "IBIS source has syntax errors",  "IBIS source not found",
    "IBIS source not found",          "Using out of date Version of IBIS model",
    "",                               "",
};

const char* const TYPE_TEXTS[] = {
    "no type (pwr, gnd or NC)", "input",       "output",        "i/o",
    "tristate",                 "open_drain",  "i/o_open_drain", "open_sink",
    "i/o_open_sink",            "open_source", "i/o_open_source", "input_ecl",
    "output_ecl",               "i/o_ecl",     "terminator",
};

}  // namespace

IBIS_PIN_DESC::IBIS_PIN_DESC() {
    for (double& d : adRLC) d = IBIS_NOT_GIVEN;
}

CIbisCompInfo::CIbisCompInfo(CIbisCompMdls* pOwner)
    : m_nCompileDate(0),
      m_eStatus(eIbisStatusNew),
      m_nPinCount(0),
      m_pPins(nullptr),
      m_pOwner(pOwner),
      m_bVisited(0) {
    for (double(&corners)[3] : m_adPkg)
        for (double& d : corners) d = IBIS_NOT_GIVEN;
}

CIbisCompInfo::~CIbisCompInfo() { delete[] m_pPins; }

const char* CIbisCompInfo::Name() { return m_strName.c_str(); }
const char* CIbisCompInfo::SourceFile() { return m_strSourceFile.c_str(); }
int CIbisCompInfo::CompileDate() { return m_nCompileDate; }
int CIbisCompInfo::GetPinCount() { return m_nPinCount; }
eIbisStatus CIbisCompInfo::GetStatus() { return m_eStatus; }
void CIbisCompInfo::SetStatus(eIbisStatus status) { m_eStatus = status; }
int CIbisCompInfo::IsStatusOk() {
    return m_eStatus == eIbisStatusOutOfDateKept || m_eStatus == eIbisStatusOk;
}
int CIbisCompInfo::IsVisited() { return m_bVisited; }

int CIbisCompInfo::SetVisited(int visited) {
    const int bPrevious = m_bVisited;
    m_bVisited = visited;
    return bPrevious;
}

int CIbisCompInfo::AddPinDesc(int count) {
    if (count < 0) return 0;
    IBIS_PIN_DESC* pPins = nullptr;
    if (count > 0) {
        pPins = new (std::nothrow) IBIS_PIN_DESC[static_cast<size_t>(count)];
        if (pPins == nullptr) return 0;
    }
    delete[] m_pPins;
    m_pPins = pPins;
    m_nPinCount = count;
    return 1;
}

IBIS_PIN_DESC* CIbisCompInfo::PinAt(int pin) {
    if (pin < 0 || pin >= m_nPinCount) return nullptr;
    return &m_pPins[pin];
}

int CIbisCompInfo::SetModelParam(eIbisParam param, const char* text, int pin) {
    if (param < eIbisPrmCompName || param > eIbisPrmSeriesModel) return 0;
    const char* pszText = text != nullptr ? text : "";
    try {
        switch (param) {
        case eIbisPrmCompName: m_strName = pszText; return 1;
        case eIbisPrmSourceFile: m_strSourceFile = pszText; return 1;
        case eIbisPrmCompiledName: m_strCompiledName = pszText; return 1;
        case eIbisPrmSourceText: m_strSourceText = pszText; return 1;
        default: break;
        }
        IBIS_PIN_DESC* pPin = param >= eIbisPrmPinName ? PinAt(pin) : nullptr;
        if (pPin == nullptr) return 0;
        if (IBIS_PIN_LIST* pList = PinList(pPin, param)) {
            if (text == nullptr) return 0;
            pList->items.emplace_back(text);
            return 1;
        }
        std::string* pstr = PinText(pPin, param);
        if (pstr == nullptr) return 0;
        *pstr = pszText;
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int CIbisCompInfo::SetModelParam(eIbisParam param, int value, int pin) {
    if (param == eIbisPrmCompileDate) {
        m_nCompileDate = value;
        return 1;
    }
    IBIS_PIN_DESC* pPin = param >= eIbisPrmPinName ? PinAt(pin) : nullptr;
    if (pPin == nullptr) return 0;
    switch (param) {
    case eIbisPrmDiffFlag: pPin->bDiff = value != 0; return 1;
    case eIbisPrmModelType: pPin->nModelType = value; return 1;
    case eIbisPrmDiffPolarity: pPin->nDiffPolarity = value != 0; return 1;
    default: return 0;
    }
}

int CIbisCompInfo::SetModelParam(eIbisParam param, double value, int pin, eTypMinMax corner) {
    if (!IsCorner(corner)) return 0;
    if (param >= eIbisPrmRPkg && param <= eIbisPrmCPkg) {
        m_adPkg[param - eIbisPrmRPkg][corner] = value;
        return 1;
    }
    IBIS_PIN_DESC* pPin = param >= eIbisPrmPinName ? PinAt(pin) : nullptr;
    if (pPin == nullptr) return 0;
    if (param >= eIbisPrmRPin && param <= eIbisPrmCPin) {
        pPin->adRLC[param - eIbisPrmRPin] = value;
        return 1;
    }
    const int nSlot = CornerSlot(param);
    if (nSlot < 0) return 0;
    if (!pPin->pCorners) {
        pPin->pCorners.reset(new (std::nothrow) double[PIN_CORNER_SLOTS * 3]);
        if (!pPin->pCorners) return 0;
        for (int i = 0; i < PIN_CORNER_SLOTS * 3; ++i) pPin->pCorners[i] = IBIS_NOT_GIVEN;
    }
    pPin->pCorners[nSlot * 3 + corner] = value;
    return 1;
}

int CIbisCompInfo::GetModelParam(eIbisParam param, const char** out, int pin, int first) {
    TAV_ASSERT(out != nullptr);
    const std::string* pstr = nullptr;
    switch (param) {
    case eIbisPrmCompName: pstr = &m_strName; break;
    case eIbisPrmSourceFile: pstr = &m_strSourceFile; break;
    case eIbisPrmCompiledName: pstr = &m_strCompiledName; break;
    case eIbisPrmSourceText: pstr = &m_strSourceText; break;
    default: break;
    }
    if (pstr != nullptr) {
        *out = pstr->c_str();
        return !pstr->empty();
    }
    IBIS_PIN_DESC* pPin = param >= eIbisPrmPinName && param <= eIbisPrmSeriesModel ? PinAt(pin) : nullptr;
    if (pPin == nullptr) return 0;
    if (IBIS_PIN_LIST* pList = PinList(pPin, param)) {
        if (first) pList->uiCursor = 0;
        if (pList->uiCursor >= pList->items.size()) return 0;
        *out = pList->items[pList->uiCursor++].c_str();
        return 1;
    }
    pstr = PinText(pPin, param);
    if (pstr == nullptr) return 0;
    // The partner and the series model are single texts read once.
    if (param == eIbisPrmDiffPartner || param == eIbisPrmSeriesModel) {
        if (!first) return 0;
        *out = pstr->c_str();
        return 1;
    }
    *out = pstr->c_str();
    return !pstr->empty();
}

int CIbisCompInfo::GetModelParam(eIbisParam param, int* out, int pin) {
    TAV_ASSERT(out != nullptr);
    if (param == eIbisPrmCompileDate) {
        *out = m_nCompileDate;
        return 1;
    }
    IBIS_PIN_DESC* pPin = param >= eIbisPrmPinName ? PinAt(pin) : nullptr;
    if (pPin == nullptr) return 0;
    switch (param) {
    case eIbisPrmDiffFlag: *out = pPin->bDiff; return 1;
    case eIbisPrmModelType: *out = pPin->nModelType; return 1;
    case eIbisPrmIsGndPin: *out = SupplyMark(pPin, "gnd"); return 1;
    case eIbisPrmIsPowerPin: *out = SupplyMark(pPin, "power"); return 1;
    case eIbisPrmIsNcPin: *out = SupplyMark(pPin, "nc"); return 1;
    case eIbisPrmDiffPolarity: *out = pPin->nDiffPolarity; return 1;
    default: return 0;
    }
}

int CIbisCompInfo::GetModelParam(eIbisParam param, double* out, int pin, eTypMinMax corner) {
    TAV_ASSERT(out != nullptr);
    if (!IsCorner(corner)) return 0;
    if (param >= eIbisPrmRPkg && param <= eIbisPrmCPkg)
        return CornerValue(m_adPkg[param - eIbisPrmRPkg], corner, out);
    IBIS_PIN_DESC* pPin = param >= eIbisPrmPinName ? PinAt(pin) : nullptr;
    if (pPin == nullptr) return 0;
    if (param >= eIbisPrmRPin && param <= eIbisPrmCPin) {
        const double d = pPin->adRLC[param - eIbisPrmRPin];
        if (!IsGiven(d)) return 0;
        *out = d;
        return 1;
    }
    const int nSlot = CornerSlot(param);
    if (nSlot < 0) return 0;
    if (!pPin->pCorners) return 0;
    return CornerValue(&pPin->pCorners[nSlot * 3], corner, out);
}

int CIbisCompInfo::FindIndex4Pin(int value, eIbisParam param) {
    if (param != eIbisPrmModelType) return -1;
    for (int i = 0; i < m_nPinCount; ++i)
        if (m_pPins[i].nModelType == value) return i;
    return -1;
}

int CIbisCompInfo::FindIndex4Pin(const char* text, eIbisParam param) {
    if (text == nullptr) return -1;
    if (param == eIbisPrmModelType) {
        const int nType = CIbisCompMdls::FindTypeFromName(text);
        return nType == 1 ? -1 : FindIndex4Pin(nType, param);
    }
    if (param != eIbisPrmPinName && param != eIbisPrmSignalName && param != eIbisPrmModelName &&
        param != eIbisPrmSeriesModel)
        return -1;
    for (int i = 0; i < m_nPinCount; ++i)
        if (*PinText(&m_pPins[i], param) == text) return i;
    return -1;
}

const char* CIbisCompInfo::GetIbisStatusText(eIbisStatus status) {
    if (status < eIbisStatusNew || status > eIbisStatusOk) return "";
    return STATUS_TEXTS[status];
}

const char* CIbisCompInfo::GetModelTypeText(int modelType) {
    if (modelType < 1 || modelType > 15) return "";
    return TYPE_TEXTS[modelType - 1];
}
