// The reader entry, the one door to the reader: the file kind from the
// extension, the central model library around the read, the log attached to
// the diagnostics, the version pre-scan, then the whole read and its
// end-of-file step.  Stateless; called by the model library and the tool.
#define TAV_MODULE "rdibis"
#include "api/rdibis.h"

#include <cstring>

#include "corvane.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "reader/read.h"
#include "core/lines.h"
#include "platform/platform.h"

namespace {

// The text from the last '.' of the name, or null when there is none.
const char* ExtensionOf(const char* pszName) { return strrchr(pszName, '.'); }

// Detaches the log so that nothing reported after the read is written or
// counted.
int EndWith(int nResult) {
    DIAG_SetLog(nullptr);
    return nResult;
}

}  // namespace

std::string RDIBIS_WhyRefused(const char* pszFileName) {
    if (pszFileName == nullptr || pszFileName[0] == '\0') return "no file name";
    if (RDIBIS_FileKind(pszFileName) == FILE_KIND_NONE)
        return "unknown file extension: only .ibs, .pkg and .ebd files are read";
    std::string strWhy = PLAT_WhyUnreadable(pszFileName);
    if (!strWhy.empty()) return strWhy;
    FILE* pFile = PLAT_OpenFile(pszFileName, "rb");
    if (pFile == nullptr) return "the file does not open";
    std::string strVersion;
    unsigned long ulLines = 0;
    const bool bVersionLine = IBIS_ScanVersionLine(pFile, &ulLines, &strVersion);
    fclose(pFile);
    if (!bVersionLine) return "not an IBIS file: no [IBIS Ver] line";
    if (strVersion.empty()) return "not an IBIS file: its [IBIS Ver] line names no version";
    if (strchr("123", strVersion[0]) == nullptr)
        return "IBIS version " + strVersion + " is not read (this tool reads 1.x–3.x)";
    return std::string();
}

int RDIBIS_FileKind(const char* pszFileName) {
    if (pszFileName == nullptr) return FILE_KIND_NONE;
    const char* pszExt = ExtensionOf(pszFileName);
    if (pszExt == nullptr) return FILE_KIND_NONE;
    if (CMN_StrEqualNoCase(pszExt, ".ibs")) return FILE_KIND_IBS;
    if (CMN_StrEqualNoCase(pszExt, ".ebd")) return FILE_KIND_EBD;
    if (CMN_StrEqualNoCase(pszExt, ".pkg")) return FILE_KIND_PKG;
    return FILE_KIND_NONE;
}

int RDIBIS_Read(const char* pszFileName, FILE* pLog, IBIS** ppIbis) {
    if (ppIbis != nullptr) *ppIbis = nullptr;
    if (pszFileName == nullptr || pszFileName[0] == '\0') return 0;
    const int eFileKind = RDIBIS_FileKind(pszFileName);

    DIAG_ResetCounts();
    DIAG_SetLog(pLog);
    // Named before the version pre-scan, so that a refused file is not
    // reported under the name of the file read before it.
    DIAG_SetFileName(pszFileName);

    // A file that is not of an IBIS kind never reaches the reader.
    unsigned long ulLines = 0;
    if (eFileKind == FILE_KIND_NONE || IBIS_DetectVersion(pszFileName, &ulLines, eFileKind) == 0) {
        DIAG_Error("Unrecognized IBIS Version");
        return EndWith(0);
    }
    if (!IBIS_Create()) return EndWith(0);

    IBIS_ReadFile(pszFileName, eFileKind);
    IBIS_Finish(eFileKind, 0);

    // Without a place for it, nobody would ever destroy the document.
    if (ppIbis == nullptr) {
        IBIS_EndRead();
        return EndWith(1);
    }
    return EndWith(IBIS_GetCurrent(ppIbis));
}

int RDIBIS_ReadWithLibrary(const char* pszLibrary, const char* pszFileName, FILE* pLog,
                           IBIS** ppIbis) {
    const char* pszExt = pszLibrary != nullptr ? ExtensionOf(pszLibrary) : nullptr;
    if (pszExt != nullptr && CMN_StrEqualNoCase(pszExt, ".lmc"))
        initCentralLibrary(0, pszLibrary);
    else if (pszExt != nullptr && CMN_StrEqualNoCase(pszExt, ".prj"))
        initCentralLibrary(1, pszLibrary);
    const int nResult = RDIBIS_Read(pszFileName, pLog, ppIbis);
    termCentralLibrary();
    return nResult;
}
