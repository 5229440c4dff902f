// Filling a component record: PopulateInfo with its status transitions
// (reading the compiled model, deciding whether the source is newer,
// compiling through the manager), and the pin list read straight from the
// IBIS source.  Part of the component record; called by the host and by
// the manager's lookup.
#define TAV_MODULE "compinfo_pop"
#include <cstring>
#include <fstream>
#include <string>
#include <unordered_map>

#include "api/cbsread.h"
#include "api/compmdls.h"
#include "api/rdibis.h"
#include "component/cmpnt.h"
#include "component/pin.h"
#include "model/mdl.h"
#include "platform/platform.h"
#include "core/cmn.h"
#include "core/document.h"
#include "reader/read.h"
#include "core/tav_assert.h"

namespace {

// A compiled name must name a file inside the compiled-model directory.
bool IsPlainFileName(const char* pszName) {
    return pszName[0] != '\0' && strpbrk(pszName, "/\\") == nullptr && strcmp(pszName, ".") != 0 &&
           strcmp(pszName, "..") != 0;
}

bool EndsWith(const std::string& str, const char* pszEnd) {
    const size_t n = strlen(pszEnd);
    return str.size() >= n && str.compare(str.size() - n, n, pszEnd) == 0;
}

CMPNT* FindComponent(IBIS* pIbis, const char* pszName) {
    CMPNT* pList = nullptr;
    IBIS_GetCmpntList(pIbis, &pList);
    for (CMPNT* pCmpnt = pList; pCmpnt != nullptr; CMPNT_GetNext(pCmpnt, &pCmpnt)) {
        const char* pszCmpnt = nullptr;
        if (CMPNT_GetName(pCmpnt, &pszCmpnt) && CMN_StrEqualNoCase(pszCmpnt, pszName)) return pCmpnt;
    }
    return nullptr;
}

// Model types by exact model name, so each pin is typed in constant time.
std::unordered_map<std::string, int> ModelTypes(IBIS* pIbis) {
    std::unordered_map<std::string, int> types;
    MDL* pList = nullptr;
    IBIS_GetMdlList(pIbis, &pList);
    for (MDL* pMdl = pList; pMdl != nullptr; pMdl = pMdl->pNext) {
        const char* pszName = nullptr;
        unsigned eType = 0;
        if (MDL_GetName(pMdl, &pszName) && MDL_GetModelType(pMdl, &eType))
            types.emplace(pszName, static_cast<int>(eType));
    }
    return types;
}

}  // namespace

eRdIbisResult CIbisCompInfo::PopulateInfo(ePopInfOpt option) {
    if (m_pOwner != nullptr) m_pOwner->LocateSource(this);
    if (option == ePopPinsFromSource)
        return m_strSourceFile.empty() ? eRdIbisNothing : ParseIbisPinInfo();
    if (m_pOwner == nullptr) return eRdIbisFailed;
    const std::string strDir = m_pOwner->GetCbxDirectory();
    if (strDir.empty()) return eRdIbisFailed;

    if (m_strCompiledName.empty()) FindCompiled(strDir);
    if (!m_strCompiledName.empty() && m_eStatus == eIbisStatusNew) ReadCompiled();
    if (m_eStatus == eIbisStatusOk && !m_strSourceFile.empty()) CheckSourceDate();
    if (m_strSourceFile.empty() && m_strCompiledName.empty()) {
        m_eStatus = eIbisStatusNotFound;
        return eRdIbisNothing;
    }
    eRdIbisResult eResult = eRdIbisNothing;
    if (!IsStatusOk() && !m_strSourceFile.empty()) eResult = Compile(strDir);
    if (!m_strCompiledName.empty() && m_eStatus == eIbisStatusCompiledOutOfDate) ReadCompiled();
    return eResult;
}

// The compiled name from the compiled index, with the compiled file's time
// as the compile date; a name whose file is missing is not taken.
void CIbisCompInfo::FindCompiled(const std::string& strDir) {
    const char* pszCompiled = m_pOwner->FindCompiledForIbisModel(m_strName.c_str());
    if (pszCompiled == nullptr || !IsPlainFileName(pszCompiled)) return;
    time_t tCompiled = 0;
    if (!PLAT_FileTime(PLAT_JoinPath(strDir, pszCompiled).c_str(), &tCompiled)) return;
    m_strCompiledName = pszCompiled;
    m_nCompileDate = static_cast<int>(tCompiled);
}

// A usable record whose source is gone forgets it; one whose source is
// newer is out of date unless the host keeps it.
void CIbisCompInfo::CheckSourceDate() {
    time_t tSource = 0;
    if (!PLAT_FileTime(m_strSourceFile.c_str(), &tSource)) {
        m_strSourceFile.clear();
        m_strSourceText.clear();
    } else if (tSource > m_nCompileDate) {
        m_eStatus = eIbisStatusCompiledOutOfDate;
        if (EndsWith(m_strSourceFile, ".ibs") && m_pOwner->GetReCompileState(m_strName.c_str()) == 0)
            m_eStatus = eIbisStatusOutOfDateKept;
    }
}

// Compiles the source into the record's compiled file (a new name when it
// has none) and adds it to the compiled index.
eRdIbisResult CIbisCompInfo::Compile(const std::string& strDir) {
    FILE* pLog = m_pOwner->GetLogFD();
    if (pLog == nullptr) return eRdIbisFailed;
    if (m_strCompiledName.empty()) {
        const char* pszNew = m_pOwner->GetNextCompiledName();
        if (pszNew == nullptr) {
            // No compiled name can be had: nothing can be compiled.
            m_eStatus = eIbisStatusSyntaxErrors;
            m_pOwner->DisplayCompileStatus(eRdIbisFailed);
            m_pOwner->ReleaseLogFD();
            return eRdIbisFailed;
        }
        m_strCompiledName = pszNew;
    }
    const std::string strCompiledPath = PLAT_JoinPath(strDir, m_strCompiledName);
    const eRdIbisResult eResult = m_pOwner->RunRdIbis(m_strSourceFile.c_str(), m_strName.c_str(),
                                                      strCompiledPath.c_str(), pLog);
    if (eResult == eRdIbisFailed) {
        m_eStatus = eIbisStatusSyntaxErrors;
        m_strCompiledName.clear();
    } else {
        m_pOwner->AddCompiledItem(m_strName.c_str(), m_strCompiledName.c_str());
        m_nCompileDate = static_cast<int>(PLAT_Now());
        m_eStatus = eIbisStatusCompiledOutOfDate;
    }
    m_pOwner->DisplayCompileStatus(eResult);
    m_pOwner->ReleaseLogFD();
    return eResult;
}

// Fills the record from its compiled model; status 7 when the file read
// without errors, else 3.  Nothing of an earlier read survives.
int CIbisCompInfo::ReadCompiled() {
    m_eStatus = eIbisStatusCompiledUnusable;
    AddPinDesc(0);
    for (double(&corners)[3] : m_adPkg)
        for (double& d : corners) d = IBIS_NOT_GIVEN;
    std::ifstream in(PLAT_JoinPath(m_pOwner->GetCbxDirectory(), m_strCompiledName), std::ios::binary);
    if (!in) return 0;
    CIbisCompMdls* pOwner = m_pOwner;
    CCbsRecordParser<CIbisCompInfo> parser(
        *this, [pOwner](int nLine, int nKind, int nCode, const char* pszKeyword,
                        const char* pszToken) { pOwner->Error(nLine, nKind, nCode, pszKeyword, pszToken); });
    if (parser.Read(in)) m_eStatus = eIbisStatusOk;
    return m_eStatus == eIbisStatusOk;
}

eRdIbisResult CIbisCompInfo::ParseIbisPinInfo() {
    IBIS* pIbis = nullptr;
    RDIBIS_ReadWithLibrary("", m_strSourceFile.c_str(), nullptr, &pIbis);
    CMPNT* pCmpnt = pIbis != nullptr ? FindComponent(pIbis, m_strName.c_str()) : nullptr;
    PIN* pPins = nullptr;
    if (pCmpnt != nullptr) CMPNT_GetPinList(pCmpnt, &pPins);
    int nPins = 0;
    for (PIN* pPin = pPins; pPin != nullptr; PIN_GetNext(pPin, &pPin)) ++nPins;
    bool bOk = nPins > 0 && AddPinDesc(nPins);
    if (bOk) {
        const std::unordered_map<std::string, int> types = ModelTypes(pIbis);
        int i = 0;
        for (PIN* pPin = pPins; pPin != nullptr; PIN_GetNext(pPin, &pPin), ++i) {
            const char *pszName = "", *pszSignal = "", *pszModel = "";
            // An empty text is given as null; the record takes it empty.
            if (!PIN_GetName(pPin, &pszName)) pszName = "";
            if (!PIN_GetSignal(pPin, &pszSignal)) pszSignal = "";
            if (!PIN_GetModel(pPin, &pszModel)) pszModel = "";
            const auto it = types.find(pszModel);
            SetModelParam(eIbisPrmPinName, pszName, i);
            SetModelParam(eIbisPrmModelType, it != types.end() ? it->second : 1, i);
            SetModelParam(eIbisPrmModelName, pszModel, i);
            SetModelParam(eIbisPrmSignalName, pszSignal, i);
        }
    }
    if (pIbis != nullptr) IBIS_Destroy(pIbis);
    m_eStatus = bOk ? eIbisStatusPinsFromSource : eIbisStatusSyntaxErrors;
    return bOk ? eRdIbisClean : eRdIbisFailed;
}
