// The model library manager's working state: construction and
// initialisation, the compiled-model directory with its index (loaded,
// replaced when refused, saved atomically by Fini), the compile log and
// the compile of one component into a compiled model.  Called by the host
// and by the component records it hands out.
#define TAV_MODULE "compmdls"
#include "api/compmdls.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "api/cbs.h"
#include "api/rdibis.h"
#include "platform/platform.h"
#include "core/diag.h"
#include "core/document.h"
#include "reader/read.h"
#include "core/tav_assert.h"

namespace {

const char* const CBX_INDEX_NAME = "compibis.ibx";
const char* const CBX_REFUSED_NAME = "compibis.bad";
const char* const CBX_PATTERN = "ib%06d.cbs";
const char* const LOG_NAME = "trel_rdr.txt";
const char* const LOG_BACKUP_NAME = "trel_rdr.bak";
const char* const MESSAGE_TITLE = "IBIS Compiler";

void WriteSpaces(FILE* pLog, int n) {
    for (int i = 0; i < n; ++i) fputc(' ', pLog);
}

// The number of a compiled file name "ib<digits>.cbs", or -1.
long CompiledNumber(const std::string& strName) {
    if (strName.size() < 7 || strName.compare(0, 2, "ib") != 0 ||
        strName.compare(strName.size() - 4, 4, ".cbs") != 0)
        return -1;
    const std::string strDigits = strName.substr(2, strName.size() - 6);
    if (strDigits.find_first_not_of("0123456789") != std::string::npos) return -1;
    const long lNumber = strtol(strDigits.c_str(), nullptr, 10);
    return lNumber > INT_MAX ? INT_MAX : lNumber;
}

// Raises the index's next number above every compiled file already in the
// directory, so that no existing compiled file is ever overwritten.
void RaiseAboveExisting(IDX* pIdx, const std::string& strDir) {
    long lHighest = -1;
    for (const std::string& strName : PLAT_ListFiles(strDir.c_str(), ".cbs")) {
        const long lNumber = CompiledNumber(strName);
        if (lNumber > lHighest) lHighest = lNumber;
    }
    if (lHighest < 0) return;
    IDX_RaiseNextNumber(pIdx, lHighest >= INT_MAX ? INT_MAX : static_cast<int>(lHighest + 1));
}

}  // namespace

// ------------------------------------------------------------ owned records

CIbisSrcIndex::~CIbisSrcIndex() {
    IDX_FreeCursor(&pCursor);
    IDX_Free(pIdx);
}

void CIbisSrcIndex::Reload() {
    IDX_FreeCursor(&pCursor);
    pCurrent = nullptr;
    IDX_Free(pIdx);
    pIdx = IDX_Load(strPath.c_str(), "", 0);
}

int CIbisCompTable::Bucket(const char* pszName) {
    unsigned uiSum = 0;
    for (const char* psz = pszName; *psz != '\0'; ++psz)
        uiSum += static_cast<unsigned>(static_cast<unsigned char>(*psz)) + 1;
    return static_cast<int>(uiSum % BUCKETS);
}

CIbisCompInfo* CIbisCompTable::Find(const char* pszName) const {
    for (const Item& item : m_chains[Bucket(pszName)])
        if (item.strKey == pszName) return item.pInfo;
    return nullptr;
}

CIbisCompInfo* CIbisCompTable::Insert(const char* pszName, CIbisCompInfo* pInfo) {
    if (CIbisCompInfo* pPresent = Find(pszName)) return pPresent;
    m_chains[Bucket(pszName)].push_back(Item{pszName, pInfo});
    return pInfo;
}

std::string LIB_JoinDiskName(const std::string& strDir, const std::string& strDiskName) {
    std::string strName = strDiskName;
    for (char& c : strName)
        if (c == '\\') c = '/';
    return PLAT_JoinPath(strDir, strName);
}

// ------------------------------------------------------------ life cycle

CIbisCompMdls::CIbisCompMdls()
    : m_pSrcList(nullptr),
      m_pCompTable(new CIbisCompTable),
      m_pCbxIndex(new CIbisCbxIndex),
      m_pIterSrc(nullptr),
      pLogFile(nullptr),
      bLogBorrowed(0),
      nIndentBanner(2),
      nIndentMessages(4),
      nLogFormat(1),
      szCentralLib{} {}

CIbisCompMdls::~CIbisCompMdls() {
    EmptySrcLists();
    m_pCompTable->ForEach([](CIbisCompInfo* pInfo) { delete pInfo; });
    delete m_pCompTable;
    delete m_pCbxIndex;
    // A log the library opened itself is not left open behind the manager.
    if (pLogFile != nullptr) fclose(pLogFile);
}

int CIbisCompMdls::Init(const char* cbxDir, const char* centralLib) {
    const int nResult = Init(cbxDir);
    if (centralLib != nullptr) snprintf(szCentralLib, sizeof szCentralLib, "%s", centralLib);
    return nResult;
}

int CIbisCompMdls::Init(const char* cbxDir) {
    if (cbxDir != nullptr) {
        m_pCbxIndex->strDir = cbxDir;
        if (!PLAT_DirExists(cbxDir)) PLAT_MakeDir(cbxDir);
        LoadCompiledIndex(PLAT_JoinPath(cbxDir, CBX_INDEX_NAME));
    }
    SetSearchPaths(1);
    strLogPath = PLAT_JoinPath(m_pCbxIndex->strDir, LOG_NAME);
    nIndentBanner = 2;
    nIndentMessages = 4;
    nLogFormat = 1;
    szCentralLib[0] = '\0';
    return 1;
}

// A readable index that is refused is moved aside and an empty one
// started, so compiled names stay unique and the user's file is kept.
void CIbisCompMdls::LoadCompiledIndex(const std::string& strPath) {
    CIbisCbxIndex* pCbx = m_pCbxIndex;
    IDX_Free(pCbx->pIdx);
    pCbx->pIdx = nullptr;
    pCbx->bKeepFile = 0;
    if (PLAT_FileReadable(strPath.c_str())) {
        pCbx->pIdx = IDX_Load(strPath.c_str(), CBX_PATTERN, 0);
        if (pCbx->pIdx == nullptr) {
            const std::string strBad = PLAT_JoinPath(pCbx->strDir, CBX_REFUSED_NAME);
            const bool bMoved = PLAT_Rename(strPath.c_str(), strBad.c_str());
            pCbx->bKeepFile = !bMoved;
            const std::string strText = "The compiled model index " + strPath + " cannot be read; " +
                                        (bMoved ? "it was moved to " + strBad + " and " : "") +
                                        "a new index is started";
            PLAT_MessageBox(MESSAGE_TITLE, strText.c_str());
        }
    }
    if (pCbx->pIdx == nullptr) pCbx->pIdx = IDX_Create(strPath.c_str(), CBX_PATTERN, 0);
    if (pCbx->pIdx != nullptr) RaiseAboveExisting(pCbx->pIdx, pCbx->strDir);
    pCbx->bChanged = 0;
    pCbx->pCurrent = nullptr;
}

int CIbisCompMdls::Fini(int save) {
    CIbisCbxIndex* pCbx = m_pCbxIndex;
    if (pCbx->pIdx == nullptr) return 1;
    // A compiled index that cannot be written is a failure the host sees.
    int nResult = 1;
    if (pCbx->bChanged && save) nResult = pCbx->bKeepFile ? 0 : IDX_Save(pCbx->pIdx);
    IDX_Free(pCbx->pIdx);
    pCbx->pIdx = nullptr;
    pCbx->pCurrent = nullptr;
    pCbx->bChanged = 0;
    return nResult;
}

int CIbisCompMdls::SetSearchPaths(int) {
    m_pCompTable->ForEach(
        [](CIbisCompInfo* pInfo) { pInfo->SetModelParam(eIbisPrmSourceFile, "", 0); });
    for (CIbisSrcIndex* pSrc = m_pSrcList; pSrc != nullptr; pSrc = pSrc->pNext) pSrc->Reload();
    m_pIterSrc = nullptr;
    return 1;
}

const char* CIbisCompMdls::GetCompileLogPath() { return strLogPath.c_str(); }

void CIbisCompMdls::SetIbisLogIndents(int banner, int messages) {
    nIndentBanner = banner;
    nIndentMessages = messages;
}

void CIbisCompMdls::SetIbisLogFormat(int format) { nLogFormat = format; }

void CIbisCompMdls::DisplayCompileStatus(eRdIbisResult) {}
void CIbisCompMdls::RefreshLogDisplay() {}
int CIbisCompMdls::GetReCompileState(const char*) { return 1; }
void CIbisCompMdls::Error(int, int, int, const char*, const char*) {}

// ------------------------------------------------------------ compile log

// An existing log is appended to: the title and earlier reports stay.
int CIbisCompMdls::OpenIBISLog() {
    if (pLogFile == nullptr) {
        pLogFile = PLAT_OpenFile(strLogPath.c_str(), "a");
        if (pLogFile == nullptr) {
            const std::string strText = "Cannot Open IBIS Reader Log File\n" + strLogPath +
                                        "\nEnsure Directory and File are Writable";
            PLAT_MessageBox(MESSAGE_TITLE, strText.c_str());
        }
    }
    return pLogFile != nullptr;
}

int CIbisCompMdls::CloseIBISLog() {
    if (pLogFile != nullptr) fclose(pLogFile);
    pLogFile = nullptr;
    return 1;
}

int CIbisCompMdls::ClearIBISLog() {
    // An open log would go on writing into the backup.
    CloseIBISLog();
    if (PLAT_FileExists(strLogPath.c_str()))
        PLAT_Rename(strLogPath.c_str(), PLAT_JoinPath(m_pCbxIndex->strDir, LOG_BACKUP_NAME).c_str());
    FILE* pLog = PLAT_OpenFile(strLogPath.c_str(), "w");
    if (pLog != nullptr) {
        fputs("\t\tIBIS COMPILER REPORT\n\n", pLog);
        fclose(pLog);
    } else {
        const std::string strText = "Cannot Open IBIS Compiler Log File\n" + strLogPath +
                                    "\nEnsure Directory and File are Writable";
        PLAT_MessageBox(MESSAGE_TITLE, strText.c_str());
    }
    RefreshLogDisplay();
    return 1;
}

FILE* CIbisCompMdls::GetLogFD() {
    if (pLogFile != nullptr) return pLogFile;
    if (OpenIBISLog()) bLogBorrowed = 1;
    return pLogFile;
}

void CIbisCompMdls::ReleaseLogFD() {
    if (!bLogBorrowed) return;
    CloseIBISLog();
    RefreshLogDisplay();
    bLogBorrowed = 0;
}

// ------------------------------------------------------------ compile

eRdIbisResult CIbisCompMdls::RunRdIbis(const char* source, const char* component,
                                       const char* compiledPath, FILE* log) {
    TAV_ASSERT(source != nullptr && component != nullptr && compiledPath != nullptr);
    if (log != nullptr) {
        fputc('\n', log);
        WriteSpaces(log, nIndentBanner);
        fprintf(log, "Compiling IBIS model for component %s from file %s\n", component, source);
    }
    DIAG_SetIndent(nIndentMessages);
    DIAG_SetNameMode(static_cast<unsigned>(nLogFormat));
    IBIS* pIbis = nullptr;
    const int bRead = RDIBIS_ReadWithLibrary(szCentralLib, source, log, &pIbis);
    int nErrors = 0, nWarnings = 0, nBugs = 0;
    DIAG_GetCounts(&nErrors, &nWarnings, &nBugs);
    eRdIbisResult eResult = eRdIbisFailed;
    if (bRead && nErrors == 0) eResult = nWarnings > 0 ? eRdIbisWarnings : eRdIbisClean;
    if (eResult != eRdIbisFailed) CBS_Write(pIbis, compiledPath, component);
    if (log != nullptr) {
        WriteSpaces(log, nIndentBanner);
        if (eResult == eRdIbisClean)
            fputs("IBIS Compilation Completed successfully\n", log);
        else if (eResult == eRdIbisWarnings)
            fprintf(log, "IBIS Compilation Completed with %d Warnings\n", nWarnings);
        else
            fprintf(log, "IBIS Compilation Failed due to  %d Errors\n", nErrors);
        fflush(log);
    }
    if (pIbis != nullptr) IBIS_Destroy(pIbis);
    return eResult;
}

// ------------------------------------------------------------ compiled index

const char* CIbisCompMdls::GetCbxDirectory() { return m_pCbxIndex->strDir.c_str(); }

const char* CIbisCompMdls::FindCompiledForIbisModel(const char* name) {
    CIbisCbxIndex* pCbx = m_pCbxIndex;
    if (pCbx->pIdx == nullptr || name == nullptr) return nullptr;
    pCbx->pCurrent = IDX_Find(pCbx->pIdx, name);
    return pCbx->pCurrent != nullptr ? pCbx->pCurrent->strDiskName.c_str() : nullptr;
}

const char* CIbisCompMdls::GetNextCompiledName() {
    CIbisCbxIndex* pCbx = m_pCbxIndex;
    if (pCbx->pIdx == nullptr || !IDX_NextName(pCbx->pIdx, &pCbx->strNextName)) return nullptr;
    return pCbx->strNextName.c_str();
}

// Records the name that was actually written for the component; an entry
// of the same name that points elsewhere is turned to it.
void CIbisCompMdls::AddCompiledItem(const char* name, const char* compiledName) {
    CIbisCbxIndex* pCbx = m_pCbxIndex;
    TAV_ASSERT(name != nullptr && compiledName != nullptr);
    if (pCbx->pIdx == nullptr) return;
    IDX_ENTRY* pEntry = IDX_Add(pCbx->pIdx, name, compiledName, nullptr, 0);
    if (pEntry == nullptr) return;
    if (pEntry->strDiskName != compiledName) pEntry->strDiskName = compiledName;
    pCbx->bChanged = 1;
}
