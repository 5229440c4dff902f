// Component lookup for the host: the component cache with its out-of-date
// rule, the fall-backs to technology and default components, the source
// indexes (registration, search, iteration), listings of compiled models
// and the model type names.  Part of the model library manager; called by
// the host and by component records locating their source.
#define TAV_MODULE "compmdls_find"
#include <cctype>
#include <cstring>
#include <new>
#include <string>

#include "api/compmdls.h"
#include "platform/platform.h"
#include "core/cmn.h"
#include "core/tav_assert.h"

namespace {

const char* const TECH_PREFIX = "tech_";
const char* const DEFAULT_NAME = "default";

struct TYPE_NAME {
    int nType;
    const char* pszName;
};

// Searched in this order; "No Type" ends the table.
const TYPE_NAME TYPE_NAMES[] = {
    {2, "Input"},          {3, "Output"},           {4, "I/O"},           {5, "3-state"},
    {6, "Open_drain"},     {7, "I/O_open_drain"},   {8, "Open_sink"},     {9, "I/O_open_sink"},
    {10, "Open_source"},   {11, "I/O_open_source"}, {12, "Input_ECL"},    {13, "Output_ECL"},
    {14, "I/O_ECL"},       {15, "Terminator"},      {1, "No Type"},
};

bool IsEmpty(const char* psz) { return psz == nullptr || psz[0] == '\0'; }

bool IsUsable(CIbisCompInfo* pInfo) {
    return pInfo->IsStatusOk() && pInfo->SourceFile()[0] != '\0';
}

bool HasType(CIbisCompInfo* pInfo, int nModelType) {
    return pInfo->FindIndex4Pin(nModelType, eIbisPrmModelType) >= 0;
}

std::string Cased(const char* psz, int (*convert)(int)) {
    std::string str = psz;
    for (char& c : str) c = static_cast<char>(convert(static_cast<unsigned char>(c)));
    return str;
}

// The pin asked for, spelled as given, in upper case or in lower case.
bool HasPinAnyCase(CIbisCompInfo* pInfo, const char* pszPin) {
    return pInfo->FindIndex4Pin(pszPin, eIbisPrmPinName) >= 0 ||
           pInfo->FindIndex4Pin(Cased(pszPin, toupper).c_str(), eIbisPrmPinName) >= 0 ||
           pInfo->FindIndex4Pin(Cased(pszPin, tolower).c_str(), eIbisPrmPinName) >= 0;
}

void Store(const char** ppszOut, const char* psz) {
    if (ppszOut != nullptr) *ppszOut = psz;
}

}  // namespace

// ------------------------------------------------------------ by name

CIbisCompInfo* CIbisCompMdls::GetIbisCompInfo(const char* name, eRdIbisResult* result,
                                              int noPopulate) {
    if (result != nullptr) *result = eRdIbisNothing;
    if (name == nullptr) return nullptr;
    CIbisCompInfo* pInfo = m_pCompTable->Find(name);
    if (pInfo == nullptr) {
        pInfo = new (std::nothrow) CIbisCompInfo(this);
        if (pInfo == nullptr || !pInfo->SetModelParam(eIbisPrmCompName, name, 0)) {
            delete pInfo;
            return nullptr;
        }
        try {
            m_pCompTable->Insert(name, pInfo);
        } catch (const std::bad_alloc&) {
            delete pInfo;
            return nullptr;
        }
    } else {
        eIbisStatus eStatus = pInfo->GetStatus();
        if (eStatus == eIbisStatusOk && pInfo->SourceFile()[0] != '\0') {
            time_t tSource = 0;
            if (PLAT_FileTime(pInfo->SourceFile(), &tSource)) {
                if (tSource <= pInfo->CompileDate()) return pInfo;
                eStatus = eIbisStatusCompiledOutOfDate;
            }
        }
        if (eStatus == eIbisStatusCompiledOutOfDate || eStatus == eIbisStatusOutOfDateKept) {
            if (GetReCompileState(name) == 0) {
                pInfo->SetStatus(eIbisStatusOutOfDateKept);
                return pInfo;
            }
            pInfo->SetStatus(eIbisStatusCompiledOutOfDate);
        }
    }
    LocateSource(pInfo);
    if (noPopulate) return pInfo;
    const eRdIbisResult eResult = pInfo->PopulateInfo(ePopCompiled);
    if (result != nullptr) *result = eResult;
    return pInfo;
}

// A record without a source takes the first source index entry of its
// name: the index's directory joined with the entry's disk name.
void CIbisCompMdls::LocateSource(CIbisCompInfo* pInfo) {
    if (pInfo->SourceFile()[0] != '\0') return;
    const char *pszDir = nullptr, *pszFile = nullptr, *pszText = nullptr;
    if (!FindSrcForIbisModel(pInfo->Name(), &pszDir, &pszFile, &pszText, nullptr)) return;
    pInfo->SetModelParam(eIbisPrmSourceFile, LIB_JoinDiskName(pszDir, pszFile).c_str(), 0);
    pInfo->SetModelParam(eIbisPrmSourceText, pszText, 0);
}

// A record located in the source indexes, not populated; null when no
// index lists it.
CIbisCompInfo* CIbisCompMdls::Located(const char* name) {
    CIbisCompInfo* pInfo = GetIbisCompInfo(name, nullptr, 1);
    return pInfo != nullptr && pInfo->SourceFile()[0] != '\0' ? pInfo : nullptr;
}

CIbisCompInfo* CIbisCompMdls::GetIbisCompInfo(const char* part, const char* preferred,
                                              const char* tech, int useDefault) {
    if (!IsEmpty(preferred)) return Located(preferred);
    if (!IsEmpty(part)) {
        if (CIbisCompInfo* pInfo = Located(part)) return pInfo;
    }
    CIbisCompInfo* pKept = nullptr;
    if (!IsEmpty(tech)) pKept = Located((std::string(TECH_PREFIX) + tech).c_str());
    if (pKept == nullptr && useDefault == 1) return Located(DEFAULT_NAME);
    return pKept;
}

// A populated record; one found nowhere counts as not found.
CIbisCompInfo* CIbisCompMdls::Usable(const char* name) {
    CIbisCompInfo* pInfo = GetIbisCompInfo(name, nullptr, 0);
    if (pInfo != nullptr && pInfo->GetStatus() == eIbisStatusNotFound) return nullptr;
    return pInfo;
}

CIbisCompInfo* CIbisCompMdls::GetIbisCompInfoAsTarn(const char* part, const char* preferred,
                                                    const char* tech, const char* pin,
                                                    int modelType, int useDefault) {
    const char* pszName = !IsEmpty(preferred) ? preferred : part;
    if (!IsEmpty(pszName)) {
        CIbisCompInfo* pInfo = Usable(pszName);
        if (pInfo != nullptr && IsUsable(pInfo) && pin != nullptr && HasPinAnyCase(pInfo, pin))
            return pInfo;
    }
    CIbisCompInfo* pKept = nullptr;
    if (!IsEmpty(tech)) {
        pKept = Usable((std::string(TECH_PREFIX) + tech).c_str());
        if (pKept != nullptr && pKept->IsStatusOk() && !(IsUsable(pKept) && HasType(pKept, modelType)))
            pKept = nullptr;
    }
    if (pKept != nullptr || useDefault != 1) return pKept;
    CIbisCompInfo* pDefault = Usable(DEFAULT_NAME);
    if (pDefault == nullptr || !pDefault->IsStatusOk()) return pDefault;
    return IsUsable(pDefault) && HasType(pDefault, modelType) ? pDefault : nullptr;
}

// ------------------------------------------------------------ source indexes

int CIbisCompMdls::AddSrcIndex(const char* path, const char* tag) {
    if (path == nullptr) return 0;
    CIbisSrcIndex* pSrc = new (std::nothrow) CIbisSrcIndex;
    if (pSrc == nullptr) return 0;
    try {
        pSrc->strPath = path;
        std::string strName;
        PLAT_SplitPath(pSrc->strPath, &pSrc->strDir, &strName);
        pSrc->strTag = tag != nullptr ? tag : "";
    } catch (const std::bad_alloc&) {
        delete pSrc;
        return 0;
    }
    CIbisSrcIndex** ppLast = &m_pSrcList;
    while (*ppLast != nullptr) ppLast = &(*ppLast)->pNext;
    *ppLast = pSrc;
    return 1;
}

void CIbisCompMdls::EmptySrcLists() {
    while (m_pSrcList != nullptr) {
        CIbisSrcIndex* pNext = m_pSrcList->pNext;
        delete m_pSrcList;
        m_pSrcList = pNext;
    }
    m_pIterSrc = nullptr;
}

int CIbisCompMdls::FindSrcForIbisModel(const char* name, const char** dir, const char** file,
                                       const char** text, const char** tag) {
    if (name == nullptr) return 0;
    for (CIbisSrcIndex* pSrc = m_pSrcList; pSrc != nullptr; pSrc = pSrc->pNext) {
        if (pSrc->pIdx == nullptr) continue;
        IDX_ENTRY* pEntry = IDX_Find(pSrc->pIdx, name);
        if (pEntry == nullptr || pEntry->strDiskName.empty()) continue;
        pSrc->pCurrent = pEntry;
        Store(dir, pSrc->strDir.c_str());
        Store(file, pEntry->strDiskName.c_str());
        Store(text, pEntry->strText.c_str());
        Store(tag, pSrc->strTag.c_str());
        return 1;
    }
    return 0;
}

int CIbisCompMdls::GetFirstIBISComp(const char** name, const char** text, const char** tag,
                                    const char** dir, const char** file) {
    for (CIbisSrcIndex* pSrc = m_pSrcList; pSrc != nullptr; pSrc = pSrc->pNext)
        IDX_FreeCursor(&pSrc->pCursor);
    m_pIterSrc = m_pSrcList;
    return NextIBISComp(name, text, tag, dir, file);
}

int CIbisCompMdls::GetNextIBISComp(const char** name, const char** text, const char** tag,
                                   const char** dir, const char** file) {
    return NextIBISComp(name, text, tag, dir, file);
}

int CIbisCompMdls::NextIBISComp(const char** name, const char** text, const char** tag,
                                const char** dir, const char** file) {
    for (; m_pIterSrc != nullptr; m_pIterSrc = m_pIterSrc->pNext) {
        CIbisSrcIndex* pSrc = m_pIterSrc;
        if (pSrc->pIdx == nullptr) continue;
        IDX_ENTRY* pEntry = IDX_Next(pSrc->pIdx, &pSrc->pCursor);
        if (pEntry == nullptr) continue;
        pSrc->pCurrent = pEntry;
        Store(name, pEntry->strUserName.c_str());
        Store(text, pEntry->strText.c_str());
        Store(tag, pSrc->strTag.c_str());
        Store(dir, pSrc->strDir.c_str());
        Store(file, pEntry->strDiskName.c_str());
        return 1;
    }
    return 0;
}

// ------------------------------------------------------------ cache-wide

int CIbisCompMdls::ListCompiledModel(std::ostream& out, const char* component,
                                     const char* pinOrModel, const char* label, int number,
                                     eTypMinMax corner, int modelMode) {
    if (component == nullptr || pinOrModel == nullptr) return 0;
    CIbisCompInfo* pInfo = m_pCompTable->Find(component);
    if (pInfo == nullptr || !pInfo->IsStatusOk()) return 0;
    const int nPin =
        pInfo->FindIndex4Pin(pinOrModel, modelMode ? eIbisPrmModelName : eIbisPrmPinName);
    if (nPin < 0) return 0;
    return pInfo->ListSimModel(out, nPin, label, number, corner, modelMode);
}

void CIbisCompMdls::ClearCompileOodFlags() {
    m_pCompTable->ForEach([](CIbisCompInfo* pInfo) {
        if (pInfo->GetStatus() == eIbisStatusOutOfDateKept) pInfo->SetStatus(eIbisStatusOk);
    });
}

void CIbisCompMdls::ClearVisitedFlags() {
    m_pCompTable->ForEach([](CIbisCompInfo* pInfo) { pInfo->SetVisited(0); });
}

// ------------------------------------------------------------ names

int CIbisCompMdls::IsTechComp(const char* name) {
    if (name == nullptr) return 0;
    return CMN_StrEqualNoCaseN(name, TECH_PREFIX, strlen(TECH_PREFIX)) ||
           CMN_StrEqualNoCase(name, DEFAULT_NAME);
}

int CIbisCompMdls::FindTypeName(int modelType, const char** out) {
    TAV_ASSERT(out != nullptr);
    for (const TYPE_NAME& type : TYPE_NAMES) {
        if (type.nType == 1) break;
        if (type.nType == modelType) {
            *out = type.pszName;
            return 1;
        }
    }
    return 0;
}

int CIbisCompMdls::FindTypeFromName(const char* name) {
    if (name == nullptr) return 1;
    for (const TYPE_NAME& type : TYPE_NAMES)
        if (CMN_StrEqualNoCase(type.pszName, name)) return type.nType;
    return 1;
}
