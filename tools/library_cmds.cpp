// The commands of the tavelin tool that work with compiled models: compile
// one component into a compiled model file, write a source index of IBIS
// folders, and show a component through the model library manager, which
// compiles it on demand as a host would.  State: none beyond one command.
#include <tavelin/tavelin.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "api/cbs.h"
#include "api/idx.h"
#include "api/rdibis.h"
#include "component/cmpnt.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/document.h"
#include "core/lines.h"
#include "platform/platform.h"
#include "reader/read.h"
#include "tool.h"

namespace {

// The component to compile, by name without regard to case, or the only
// one of the file; explains on standard error when there is none.
const CMPNT* ChooseComponent(IBIS* pIbis, const CompileOptions& options) {
    const bool bNamed = !options.strComponent.empty();
    CMPNT* pList = nullptr;
    IBIS_GetCmpntList(pIbis, &pList);
    int nNamed = 0;
    const CMPNT* pOnly = nullptr;
    for (const CMPNT* p = pList; p != nullptr; p = p->pNext) {
        if (bNamed && CMN_StrEqualNoCase(p->szName, options.strComponent.c_str()))
            return p;
        if (p->szName[0] == '\0') continue;
        ++nNamed;
        pOnly = p;
    }
    if (!bNamed && nNamed == 1) return pOnly;
    if (bNamed)
        fprintf(stderr, "%s: no component \"%s\"\n", options.strFile.c_str(),
                options.strComponent.c_str());
    else if (nNamed == 0)
        fprintf(stderr, "%s: no component\n", options.strFile.c_str());
    else
        fprintf(stderr, "%s: %d components; name one of them:\n", options.strFile.c_str(), nNamed);
    // The list holds the newest first: print in file order.
    std::vector<const char*> names;
    for (const CMPNT* p = pList; p != nullptr; p = p->pNext)
        if (p->szName[0] != '\0') names.insert(names.begin(), p->szName);
    if (nNamed > 1 || bNamed)
        for (const char* pszName : names) fprintf(stderr, "  %s\n", pszName);
    return nullptr;
}

// After a read without errors: writes the chosen component.
int WriteCompiled(IBIS* pIbis, const CompileOptions& options) {
    const CMPNT* pCmpnt = ChooseComponent(pIbis, options);
    if (pCmpnt == nullptr) return EXIT_UNREADABLE;
    // The writer's own messages (an output that cannot be opened or
    // completed) go to standard error.
    DIAG_SetLog(stderr);
    const int nWritten = CBS_Write(pIbis, options.strOut.c_str(), pCmpnt->szName);
    DIAG_SetLog(nullptr);
    return nWritten ? EXIT_CLEAN : EXIT_UNREADABLE;
}

// Adds an entry for every named component of one file; false when the
// file does not read.
bool IndexFile(IDX* pIdx, const std::string& strPath, const std::string& strDiskName) {
    IBIS* pIbis = nullptr;
    if (!RDIBIS_Read(strPath.c_str(), nullptr, &pIbis) || pIbis == nullptr) return false;
    CMPNT* pList = nullptr;
    IBIS_GetCmpntList(pIbis, &pList);
    for (CMPNT* pCmpnt = pList; pCmpnt != nullptr; CMPNT_GetNext(pCmpnt, &pCmpnt)) {
        const char* pszName = nullptr;
        const char* pszMaker = nullptr;
        if (!CMPNT_GetName(pCmpnt, &pszName) || pszName[0] == '\0') continue;
        CMPNT_GetManufacturer(pCmpnt, &pszMaker);
        IDX_Add(pIdx, pszName, strDiskName.c_str(), pszMaker, 0);
    }
    IBIS_Destroy(pIbis);
    return true;
}

// The tool is a host like any other: it registers its source index
// through the manager's protected operation.
class CToolLibrary : public CIbisCompMdls {
public:
    int UseIndex(const char* pszPath) { return AddSrcIndex(pszPath, "") && SetSearchPaths(1); }
};

void PrintValue(double d, bool bGiven) {
    if (bGiven)
        printf(" %-10g", d);
    else
        printf(" %-10s", "NA");
}

void PrintRecord(CIbisCompInfo* pInfo) {
    const char* pszCompiled = "";
    pInfo->GetModelParam(eIbisPrmCompiledName, &pszCompiled, 0, 1);
    printf("Component: %s\nStatus: %d %s\nSource: %s\nCompiled: %s\n", pInfo->Name(),
           static_cast<int>(pInfo->GetStatus()), CIbisCompInfo::GetIbisStatusText(pInfo->GetStatus()),
           pInfo->SourceFile(), pszCompiled);
    static const char* const PKG_NAMES[] = {"R_Pkg", "L_Pkg", "C_Pkg"};
    printf("%-6s %-10s %-10s %-10s\n", "", "typ", "min", "max");
    for (int i = 0; i < 3; ++i) {
        printf("%-6s", PKG_NAMES[i]);
        for (int eCorner = eTyp; eCorner <= eMax; ++eCorner) {
            double d = 0;
            const bool bGiven = pInfo->GetModelParam(static_cast<eIbisParam>(eIbisPrmRPkg + i), &d,
                                                     0, static_cast<eTypMinMax>(eCorner));
            PrintValue(d, bGiven);
        }
        printf("\n");
    }
    printf("%-8s %-16s %-16s %-24s %-10s %-10s %-10s\n", "Pin", "Signal", "Model", "Type", "R_pin",
           "L_pin", "C_pin");
    for (int nPin = 0; nPin < pInfo->GetPinCount(); ++nPin) {
        const char *pszPin = "", *pszSignal = "", *pszModel = "";
        int nType = 0;
        pInfo->GetModelParam(eIbisPrmPinName, &pszPin, nPin, 1);
        pInfo->GetModelParam(eIbisPrmSignalName, &pszSignal, nPin, 1);
        pInfo->GetModelParam(eIbisPrmModelName, &pszModel, nPin, 1);
        pInfo->GetModelParam(eIbisPrmModelType, &nType, nPin);
        printf("%-8s %-16s %-16s %-24s", pszPin, pszSignal, pszModel,
               CIbisCompInfo::GetModelTypeText(nType));
        for (int i = 0; i < 3; ++i) {
            double d = 0;
            PrintValue(d, pInfo->GetModelParam(static_cast<eIbisParam>(eIbisPrmRPin + i), &d, nPin, eTyp));
        }
        printf("\n");
    }
}

// Writes the listing of one pin; false when it cannot be listed.
bool PrintPinListing(CIbisCompInfo* pInfo, const ShowOptions& options) {
    const int nPin = pInfo->FindIndex4Pin(options.strPin.c_str(), eIbisPrmPinName);
    if (nPin < 0) {
        fprintf(stderr, "tavelin: no pin %s in %s\n", options.strPin.c_str(), pInfo->Name());
        return false;
    }
    const eTypMinMax eCorner = static_cast<eTypMinMax>(options.eCorner);
    const int nListed =
        options.bOutline
            ? pInfo->ListOutlineModel(std::cout, nPin, options.strLabel.c_str(), options.nNumber, eCorner)
            : pInfo->ListSimModel(std::cout, nPin, options.strLabel.c_str(), options.nNumber, eCorner,
                                  options.bModelMode);
    std::cout.flush();
    return nListed != 0;
}

}  // namespace

int RunCompile(const CompileOptions& options) {
    DIAG_SetIndent(options.nIndent);
    DIAG_SetNameMode(1);
    PARSE_ResetLibraryState();
    IBIS* pIbis = nullptr;
    const int nRead = RDIBIS_Read(options.strFile.c_str(), stdout, &pIbis);
    int nErrors = 0, nWarnings = 0, nBugs = 0;
    DIAG_GetCounts(&nErrors, &nWarnings, &nBugs);
    ReportFile(options.strFile, nRead ? std::string() : RDIBIS_WhyRefused(options.strFile.c_str()), nErrors,
               nWarnings, nBugs);
    int nStatus = EXIT_UNREADABLE;
    if (nRead && pIbis != nullptr) nStatus = nErrors > 0 ? EXIT_FINDINGS : WriteCompiled(pIbis, options);
    if (pIbis != nullptr) IBIS_Destroy(pIbis);
    if (!StdoutWritten()) return EXIT_UNREADABLE;
    return nStatus;
}

int RunIndex(const std::vector<std::string>& folders) {
    IDX* pIdx = IDX_Create("-", "", 0);
    if (pIdx == nullptr) return EXIT_UNREADABLE;
    int nStatus = EXIT_CLEAN;
    const std::string& strBase = folders.front();
    // Standard output holds the index alone, without the reader's banners.
    const int nStdout = PLAT_MuteStdout();
    for (const std::string& strFolder : folders) {
        if (!PLAT_DirExists(strFolder.c_str())) {
            fprintf(stderr, "tavelin: %s: not a folder\n", strFolder.c_str());
            nStatus = EXIT_UNREADABLE;
            continue;
        }
        for (const std::string& strFile : PLAT_ListFilesBelow(strFolder.c_str(), ".ibs")) {
            const std::string strPath = PLAT_JoinPath(strFolder, strFile);
            PARSE_ResetLibraryState();
            if (!IndexFile(pIdx, strPath, PLAT_RelativePath(strPath, strBase))) {
                fprintf(stderr, "tavelin: %s: not read, skipped\n", strPath.c_str());
                if (nStatus == EXIT_CLEAN) nStatus = EXIT_FINDINGS;
            }
        }
    }
    PLAT_RestoreStdout(nStdout);
    if (!IDX_Write(pIdx, stdout) || !StdoutWritten()) nStatus = EXIT_UNREADABLE;
    IDX_Free(pIdx);
    return nStatus;
}

int RunShow(const ShowOptions& options) {
    CToolLibrary library;
    library.Init(options.strLib.c_str());
    library.UseIndex(options.strIndex.c_str());
    eRdIbisResult eResult = eRdIbisNothing;
    // Standard output holds the record or the listing alone.
    const int nStdout = PLAT_MuteStdout();
    CIbisCompInfo* pInfo = library.GetIbisCompInfo(options.strComponent.c_str(), &eResult, 0);
    PLAT_RestoreStdout(nStdout);
    if (eResult != eRdIbisNothing) fprintf(stderr, "compile log: %s\n", library.GetCompileLogPath());
    bool bOk = pInfo != nullptr && pInfo->IsStatusOk();
    if (pInfo != nullptr && options.strPin.empty()) PrintRecord(pInfo);
    if (bOk && !options.strPin.empty()) bOk = PrintPinListing(pInfo, options);
    const bool bWritten = StdoutWritten();
    if (!library.Fini(1)) {
        fprintf(stderr, "tavelin: the compiled model index in %s cannot be written\n", options.strLib.c_str());
        bOk = false;
    }
    if (!bWritten) return EXIT_UNREADABLE;
    return bOk ? EXIT_CLEAN : EXIT_FINDINGS;
}
