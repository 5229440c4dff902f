#define TAV_MODULE "ibis"
#include "reader/ibis.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "component/cmpnt.h"
#include "model/chk.h"
#include "model/drvsh.h"
#include "model/mdl.h"
#include "model/msel.h"
#include "model/submdl.h"
#include "package/ebdmdl.h"
#include "package/pkgmdl.h"
#include "platform/platform.h"
#include "reader/cmn.h"
#include "reader/diag.h"
#include "reader/hdr.h"
#include "reader/parse.h"
#include "reader/tav_assert.h"

namespace {

enum { PATH_LIMIT = 1024, PRESCAN_LINE_SIZE = PARSE_LINE_SIZE + 1 };

struct IbisState {
    IBIS* pCurrent = nullptr;
    // Directory of the file being read, and of the top-level file.
    std::string strCurDir;
    std::string strTopDir;
    // The path that opened, in the case it opened with.
    std::string strOpenedPath;
};

IbisState g_ibis;

const char* ExtensionOf(int eFileKind) {
    switch (eFileKind) {
        case FILE_KIND_IBS: return ".ibs";
        case FILE_KIND_PKG: return ".pkg";
        case FILE_KIND_EBD: return ".ebd";
        default: break;
    }
    TAV_ASSERT(!"file kind out of range");
}

std::string ToCase(const std::string& str, int (*pfnConvert)(int)) {
    std::string strOut(str);
    for (char& c : strOut) c = static_cast<char>(pfnConvert(static_cast<unsigned char>(c)));
    return strOut;
}

// Checks the extension, appending it when the name has none; 0 on failure.
int CompleteFileName(std::string* pstrName, int eFileKind) {
    const char* pszExt = ExtensionOf(eFileKind);
    const size_t nDot = pstrName->rfind('.');
    if (nDot != std::string::npos) {
        if (!CMN_StrEqualNoCase(pstrName->c_str() + nDot, pszExt)) {
            DIAG_Error("File Name Requires '%s' Extension.", pszExt);
            return 0;
        }
        return 1;
    }
    if (pstrName->size() + strlen(pszExt) > PATH_LIMIT) {
        DIAG_Error("Unable to append filename extension.");
        return 0;
    }
    *pstrName += pszExt;
    return 1;
}

// Opens an IBIS file of the given kind: the extension is checked or
// appended, and a path that does not open as given is tried in lower and
// then in upper case.  The directory is kept for the read in the case that
// opened; the file name is kept as it was asked for.
FILE* OpenIbisFile(const char* pszPath, int eFileKind) {
    std::string strDir;
    std::string strName;
    PLAT_SplitPath(pszPath, &strDir, &strName);
    if (strName.size() > PATH_LIMIT) strName.resize(PATH_LIMIT);
    if (!CompleteFileName(&strName, eFileKind)) return nullptr;
    if (strDir.size() + strName.size() > PATH_LIMIT) {
        DIAG_Error("Unable to assemble filename.");
        return nullptr;
    }
    std::string strOpened = strDir + strName;
    FILE* pFile = CMN_OpenBinary(strOpened.c_str(), "r");
    int (*const apfnCase[])(int) = {tolower, toupper};
    for (size_t i = 0; pFile == nullptr && i < 2; ++i) {
        const std::string strConverted = ToCase(strDir + strName, apfnCase[i]);
        pFile = CMN_OpenBinary(strConverted.c_str(), "r");
        if (pFile != nullptr) {
            strOpened = strConverted;
            strDir = ToCase(strDir, apfnCase[i]);
        }
    }
    if (pFile == nullptr) {
        DIAG_Error("Unable To Open File '%s%s'", strDir.c_str(), strName.c_str());
        return nullptr;
    }
    g_ibis.strCurDir = strDir;
    g_ibis.strOpenedPath = strOpened;
    PARSE_SetFileName(strName.c_str());
    return pFile;
}

bool IsCommentCharLine(const char* pszLine) {
    return CMN_StrEqualNoCaseN(pszLine, "[COMMENT_CHAR]", 14) ||
           CMN_StrEqualNoCaseN(pszLine, "[COMMENT CHAR]", 14);
}

void Dispatch(int eFileKind, int eLineClass, char* pszLine) {
    if (PARSE_GetIbisVersion() >= 3)
        PARSE_Dispatch32(eFileKind, eLineClass, pszLine);
    else
        PARSE_Dispatch21(eFileKind, eLineClass, pszLine);
}

// One physical line, in the order the reader applies its rules.
void ProcessLine(int eFileKind, char* pszRaw) {
    PARSE_NextLine();
    PARSE_CheckLine(pszRaw);
    char* pszLine = pszRaw;
    const int eLineClass = PARSE_ClassifyLine(&pszLine);
    if (PARSE_IsEndSeen() && eLineClass != LINE_BLANK) {
        DIAG_ErrorLine("Non-comment line exists after 'End' keyword.");
        return;
    }
    if (eLineClass == LINE_KEYWORD && IsCommentCharLine(pszLine)) {
        PARSE_CommentChar(pszLine + 14);
        return;
    }
    if (eLineClass == LINE_BLANK) return;
    PARSE_StripComment(pszLine);
    Dispatch(eFileKind, eLineClass, pszLine);
}

// Every module's per-read state starts afresh with each file.
void ResetModules(int eFileKind) {
    PARSE_ResetForRead(eFileKind);
    HDR_Reset();
    CMPNT_Reset();
    MDL_Reset();
    MSEL_Reset();
    SUBMDL_Reset();
    PKGMDL_Reset();
    EBDMDL_Reset();
}

void FinishComponentFile(IBIS* pIbis) {
    if (pIbis->pMdlList != nullptr) {
        CHK_Curves(pIbis->pMdlList);
        CHK_Models(pIbis->pMdlList);
        DRVSH_CheckAll(pIbis->pMdlList);
    }
    if (pIbis->pCmpntList != nullptr) {
        CHK_Components(pIbis->pCmpntList);
        CMPNT_CheckList(pIbis->pCmpntList);
    } else {
        DIAG_Error("Required keyword 'Component' not found.");
    }
    if (pIbis->pPkgMdlList != nullptr) PKGMDL_CheckDuplicates(pIbis->pPkgMdlList);
    if (pIbis->pMselList != nullptr) MSEL_CheckAll(pIbis->pMselList);
    // Also without any [Submodel]: a model may name one the file lacks.
    ADDSUB_CheckAll(pIbis->pMdlList, pIbis->pSubmdlList);
    if (pIbis->pSubmdlList != nullptr) CHK_Submodels(pIbis->pSubmdlList);
}

// The field is named by member pointer so that a null document reaches the
// assertion before any access through it.
template <typename T>
int GetField(IBIS* pIbis, T* IBIS::*pmField, T** ppOut) {
    TAV_ASSERT(pIbis != nullptr && ppOut != nullptr);
    *ppOut = pIbis->*pmField;
    return *ppOut != nullptr ? 1 : 0;
}

// Pushes a record at the head of a list linked through its first field.
template <typename T>
void PushFront(IBIS* pIbis, T* IBIS::*pmHead, T* pRecord) {
    TAV_ASSERT(pIbis != nullptr && pRecord != nullptr);
    pRecord->pNext = pIbis->*pmHead;
    pIbis->*pmHead = pRecord;
}

// Takes a document off the stack and makes the one below it current.  A
// document destroyed below the top is also unlinked from the one stacked
// on it, which would otherwise lead back to freed memory.
void Unstack(IBIS* pIbis) {
    for (IBIS* p = g_ibis.pCurrent; p != nullptr && p != pIbis; p = p->pNext) {
        if (p->pNext == pIbis) p->pNext = pIbis->pNext;
    }
    g_ibis.pCurrent = pIbis->pNext;
}

}  // namespace

int IBIS_Create() {
    IBIS* pIbis = nullptr;
    if (!CMN_Alloc(&pIbis, sizeof(IBIS))) {
        DIAG_Error("Unable to create IBIS.");
        return 0;
    }
    pIbis->pNext = g_ibis.pCurrent;
    g_ibis.pCurrent = pIbis;
    return 1;
}

int IBIS_GetCurrent(IBIS** ppIbis) {
    TAV_ASSERT(ppIbis != nullptr);
    *ppIbis = g_ibis.pCurrent;
    return g_ibis.pCurrent != nullptr ? 1 : 0;
}

void IBIS_Destroy(IBIS* pIbis) {
    TAV_ASSERT(pIbis != nullptr);
    HDR_Destroy(pIbis->pHdr);
    pIbis->pHdr = nullptr;
    CMPNT_Destroy(pIbis->pCmpntList);
    pIbis->pCmpntList = nullptr;
    MDL_DestroyList(pIbis->pMdlList);
    pIbis->pMdlList = nullptr;
    PKGMDL_Free(pIbis->pPkgMdlList);
    pIbis->pPkgMdlList = nullptr;
    MSEL_Destroy(pIbis->pMselList);
    pIbis->pMselList = nullptr;
    EBDMDL_Free(pIbis->pEbdMdlList);
    pIbis->pEbdMdlList = nullptr;
    SUBMDL_DestroyList(pIbis->pSubmdlList);
    pIbis->pSubmdlList = nullptr;
    Unstack(pIbis);
    CMN_Free(pIbis);
}

void IBIS_EndRead() {
    if (g_ibis.pCurrent != nullptr) IBIS_Destroy(g_ibis.pCurrent);
}

int IBIS_GetHdr(IBIS* pIbis, HDR** pp) { return GetField(pIbis, &IBIS::pHdr, pp); }
int IBIS_GetCmpntList(IBIS* pIbis, CMPNT** pp) { return GetField(pIbis, &IBIS::pCmpntList, pp); }
int IBIS_GetMdlList(IBIS* pIbis, MDL** pp) { return GetField(pIbis, &IBIS::pMdlList, pp); }
int IBIS_GetSubmdlList(IBIS* pIbis, SUBMDL** pp) { return GetField(pIbis, &IBIS::pSubmdlList, pp); }
int IBIS_GetPkgMdlList(IBIS* pIbis, PKGMDL** pp) { return GetField(pIbis, &IBIS::pPkgMdlList, pp); }
int IBIS_GetEbdMdlList(IBIS* pIbis, EBDMDL** pp) { return GetField(pIbis, &IBIS::pEbdMdlList, pp); }
int IBIS_GetMselList(IBIS* pIbis, MSEL** pp) { return GetField(pIbis, &IBIS::pMselList, pp); }

void IBIS_SetHdr(IBIS* pIbis, HDR* p) { PushFront(pIbis, &IBIS::pHdr, p); }
void IBIS_AddCmpnt(IBIS* pIbis, CMPNT* p) { PushFront(pIbis, &IBIS::pCmpntList, p); }
void IBIS_AddMdl(IBIS* pIbis, MDL* p) { PushFront(pIbis, &IBIS::pMdlList, p); }
void IBIS_AddSubmdl(IBIS* pIbis, SUBMDL* p) { PushFront(pIbis, &IBIS::pSubmdlList, p); }
void IBIS_AddPkgMdl(IBIS* pIbis, PKGMDL* p) { PushFront(pIbis, &IBIS::pPkgMdlList, p); }
void IBIS_AddEbdMdl(IBIS* pIbis, EBDMDL* p) { PushFront(pIbis, &IBIS::pEbdMdlList, p); }
void IBIS_AddMsel(IBIS* pIbis, MSEL* p) { PushFront(pIbis, &IBIS::pMselList, p); }

// The version class is the digit after the first keyword, which must be
// [IBIS Ver]; 0 when the file does not start that way.
int IBIS_DetectVersion(const char* pszPath, unsigned long* pulLineCount, int eFileKind) {
    TAV_ASSERT(pszPath != nullptr && pulLineCount != nullptr);
    FILE* pFile = OpenIbisFile(pszPath, eFileKind);
    if (pFile == nullptr) return 0;
    char szLine[PRESCAN_LINE_SIZE];
    const char* psz = nullptr;
    while (PARSE_ReadLineQuiet(szLine, sizeof szLine, pFile) != nullptr) {
        ++*pulLineCount;
        psz = szLine;
        CMN_SkipWhite(&psz);
        if (*psz == '[') break;
        psz = nullptr;
    }
    fclose(pFile);
    if (psz == nullptr) return 0;
    if (!CMN_StrEqualNoCaseN(psz, "[IBIS Ver]", 10) && !CMN_StrEqualNoCaseN(psz, "[IBIS_Ver]", 10))
        return 0;
    psz += 10;
    CMN_SkipWhite(&psz);
    switch (*psz) {
        case '1': return 1;
        case '2': return 2;
        case '3': return 3;
        default: return 0;
    }
}

int IBIS_ReadFile(const char* pszPath, int eFileKind) {
    TAV_ASSERT(pszPath != nullptr);
    TAV_ASSERT(eFileKind >= FILE_KIND_IBS && eFileKind <= FILE_KIND_EBD);
    ResetModules(eFileKind);
    DIAG_SetFileName(pszPath);
    FILE* pFile = OpenIbisFile(pszPath, eFileKind);
    if (pFile == nullptr) return 0;
    time_t tFileTime = 0;
    if (PLAT_FileTime(g_ibis.strOpenedPath.c_str(), &tFileTime))
        PARSE_SetFileTime(tFileTime);
    rewind(pFile);
    char szLine[PARSE_LINE_SIZE];
    while (PARSE_ReadLine(szLine, sizeof szLine, pFile) != nullptr) ProcessLine(eFileKind, szLine);
    if (!PARSE_IsEndSeen()) {
        DIAG_Error("Required keyword 'End' not found.");
        char szEnd[] = "[END]";
        Dispatch(eFileKind, LINE_KEYWORD, szEnd);
    }
    fclose(pFile);
    return 1;
}

void IBIS_Finish(int eFileKind, int bNested) {
    if (!bNested) g_ibis.strTopDir = g_ibis.strCurDir;
    IBIS* pIbis = g_ibis.pCurrent;
    if (pIbis == nullptr) return;
    if (eFileKind == FILE_KIND_IBS)
        FinishComponentFile(pIbis);
    else if (pIbis->pEbdMdlList != nullptr)
        EBDMDL_CheckFile(pIbis->pEbdMdlList, bNested);
}

namespace {

// What a nested read changes of the read around it.
class OuterRead {
public:
    OuterRead()
        : m_pParse(PARSE_SaveState()), m_strDiagName(DIAG_GetFileName()), m_strCurDir(g_ibis.strCurDir),
          m_strOpenedPath(g_ibis.strOpenedPath) {}
    ~OuterRead() {
        PARSE_RestoreState(m_pParse);
        DIAG_SetFileName(m_strDiagName.c_str());
        g_ibis.strCurDir = m_strCurDir;
        g_ibis.strOpenedPath = m_strOpenedPath;
    }
    OuterRead(const OuterRead&) = delete;
    OuterRead& operator=(const OuterRead&) = delete;

private:
    PARSE_SAVED* m_pParse;
    std::string m_strDiagName;
    std::string m_strCurDir;
    std::string m_strOpenedPath;
};

}  // namespace

int IBIS_ReadNested(const char* pszPath, int eFileKind) {
    OuterRead outer;
    return IBIS_ReadFile(pszPath, eFileKind);
}

int IBIS_ReadNestedDocument(const char* pszPath, int eFileKind) {
    OuterRead outer;
    if (!IBIS_Create()) return 0;
    const int nResult = IBIS_ReadFile(pszPath, eFileKind);
    if (nResult) IBIS_Finish(eFileKind, 1);
    return nResult;
}

const char* IBIS_GetCurrentDir() { return g_ibis.strCurDir.c_str(); }

const char* IBIS_GetTopDir() { return g_ibis.strTopDir.c_str(); }
