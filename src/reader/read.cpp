// The read driver: opening an IBIS file (extension, case retries), the
// version pre-scan, the read of every line through the line reader and the
// dispatcher, the end-of-file step with its cross-checks, and the end of a
// document.  Called by the reader entry, and through the document's hooks
// by keyword modules that read referenced files.
#define TAV_MODULE "ibis"
#include "reader/read.h"

#include <cctype>
#include <cstddef>
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
#include "core/cmn.h"
#include "core/diag.h"
#include "core/document.h"
#include "core/lines.h"
#include "core/tav_assert.h"
#include "reader/dispatch.h"
#include "reader/hdr.h"

// The document links records through their first field.
static_assert(offsetof(HDR, pNext) == 0, "HDR starts with its link");
static_assert(offsetof(CMPNT, pNext) == 0, "CMPNT starts with its link");
static_assert(offsetof(MDL, pNext) == 0, "MDL starts with its link");
static_assert(offsetof(SUBMDL, pNext) == 0, "SUBMDL starts with its link");
static_assert(offsetof(PKGMDL, pNext) == 0, "PKGMDL starts with its link");
static_assert(offsetof(EBDMDL, pNext) == 0, "EBDMDL starts with its link");
static_assert(offsetof(MSEL, pNext) == 0, "MSEL starts with its link");

namespace {

enum { PATH_LIMIT = 1024, PRESCAN_LINE_SIZE = PARSE_LINE_SIZE + 1 };

// The path that opened, in the case it opened with.
std::string g_strOpenedPath;

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
    IBIS_SetCurrentDir(strDir.c_str());
    g_strOpenedPath = strOpened;
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

// Keyword modules read referenced files through the document's hooks.
const char* HeaderFileName(IBIS* pIbis) {
    const char* pszName = nullptr;
    if (pIbis->pHdr == nullptr || !HDR_GetFileName(pIbis->pHdr, &pszName)) return "";
    return pszName;
}

void InstallHooks() {
    static const IBIS_READER_HOOKS kHooks = {IBIS_ReadFile, IBIS_Finish, IBIS_EndRead, HeaderFileName};
    IBIS_SetReaderHooks(&kHooks);
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

}  // namespace

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
    IBIS_Unstack(pIbis);
    CMN_Free(pIbis);
}

void IBIS_EndRead() {
    IBIS* pIbis = nullptr;
    if (IBIS_GetCurrent(&pIbis)) IBIS_Destroy(pIbis);
}

// The version class is the digit after the first keyword, which must be
// [IBIS Ver]; 0 when the file does not start that way.
bool IBIS_ScanVersionLine(FILE* pFile, unsigned long* pulLineCount, std::string* pstrVersion) {
    TAV_ASSERT(pFile != nullptr && pulLineCount != nullptr && pstrVersion != nullptr);
    char szLine[PRESCAN_LINE_SIZE];
    while (PARSE_ReadLineQuiet(szLine, sizeof szLine, pFile) != nullptr) {
        ++*pulLineCount;
        const char* psz = szLine;
        CMN_SkipWhite(&psz);
        if (*psz != '[') continue;
        if (!CMN_StrEqualNoCaseN(psz, "[IBIS Ver]", 10) && !CMN_StrEqualNoCaseN(psz, "[IBIS_Ver]", 10))
            return false;
        psz += 10;
        CMN_SkipWhite(&psz);
        const char* pszEnd = psz;
        while (*pszEnd != '\0' && !isspace(static_cast<unsigned char>(*pszEnd))) ++pszEnd;
        pstrVersion->assign(psz, pszEnd);
        return true;
    }
    return false;
}

int IBIS_DetectVersion(const char* pszPath, unsigned long* pulLineCount, int eFileKind) {
    TAV_ASSERT(pszPath != nullptr && pulLineCount != nullptr);
    FILE* pFile = OpenIbisFile(pszPath, eFileKind);
    if (pFile == nullptr) return 0;
    std::string strVersion;
    const bool bVersionLine = IBIS_ScanVersionLine(pFile, pulLineCount, &strVersion);
    fclose(pFile);
    if (!bVersionLine || strVersion.empty()) return 0;
    switch (strVersion[0]) {
        case '1': return 1;
        case '2': return 2;
        case '3': return 3;
        default: return 0;
    }
}

int IBIS_ReadFile(const char* pszPath, int eFileKind) {
    TAV_ASSERT(pszPath != nullptr);
    TAV_ASSERT(eFileKind >= FILE_KIND_IBS && eFileKind <= FILE_KIND_EBD);
    InstallHooks();
    ResetModules(eFileKind);
    DIAG_SetFileName(pszPath);
    FILE* pFile = OpenIbisFile(pszPath, eFileKind);
    if (pFile == nullptr) return 0;
    time_t tFileTime = 0;
    if (PLAT_FileTime(g_strOpenedPath.c_str(), &tFileTime))
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
    if (!bNested) IBIS_SetTopDir(IBIS_GetCurrentDir());
    IBIS* pIbis = nullptr;
    if (!IBIS_GetCurrent(&pIbis)) return;
    if (eFileKind == FILE_KIND_IBS)
        FinishComponentFile(pIbis);
    else if (pIbis->pEbdMdlList != nullptr)
        EBDMDL_CheckFile(pIbis->pEbdMdlList, bNested);
}
