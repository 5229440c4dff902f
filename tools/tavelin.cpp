// The tavelin command: checks IBIS files with the library's reader and
// writes every finding exactly as the compile log would hold it; compiles
// one component into a compiled component model file; writes source
// indexes of IBIS folders; shows a component through the model library
// manager, compiling it on demand as a host would.
#include <tavelin/tavelin.h>

#include <cstdio>
#include <cstdlib>
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
#include "platform/platform.h"
#include "reader/read.h"

namespace {

enum { EXIT_CLEAN = 0, EXIT_FINDINGS = 1, EXIT_UNREADABLE = 2, EXIT_USAGE = 3 };

void PrintHelp(FILE* pOut) {
    fputs("usage: tavelin check [--indent N] [--name] FILE...\n"
          "       tavelin compile [--indent N] FILE [COMPONENT] -o OUT.cbs\n"
          "       tavelin index DIR...\n"
          "       tavelin show --lib CBXDIR --index SRC.idx [--pin P --corner typ|min|max\n"
          "                    [--label L] [--number N] [--model-mode] | --outline] COMPONENT\n"
          "       tavelin --help | --version\n"
          "\n"
          "check    reads each IBIS file (.ibs, .pkg, .ebd) and writes its findings to\n"
          "         standard output, then one summary line per file to standard error.\n"
          "         --indent N  indent every finding by N blanks (default 0)\n"
          "         --name      show the file name in every finding\n"
          "         Exit status: 0 no file had errors, 1 a file had errors,\n"
          "         2 a file could not be read at all.\n"
          "\n"
          "compile  reads FILE, writes its findings as check does and, when the read\n"
          "         found no errors, writes the compiled model of COMPONENT (or of the\n"
          "         file's only component) to OUT.cbs.\n"
          "         Exit status: 0 written, 1 the file had errors (nothing written),\n"
          "         2 the file could not be read, no component was chosen or the\n"
          "         output could not be written, 3 a usage error.\n"
          "\n"
          "index    writes a source index of every component of every .ibs file below\n"
          "         the folders to standard output; file names are relative to the\n"
          "         first folder.  Files that do not read are named on standard error.\n"
          "         Exit status: 0 every file read, 1 a file was skipped, 2 a folder\n"
          "         could not be listed or the index not written, 3 a usage error.\n"
          "\n"
          "show     looks the component up in the source index, compiles it into the\n"
          "         compiled-model folder when needed and prints its record; with --pin\n"
          "         prints that pin's simulation model listing (--outline: its outline).\n"
          "         Exit status: 0 the record is usable and listed, 1 it is not,\n         3 a usage error.\n",
          pOut);
}

struct CheckOptions {
    int nIndent = 0;
    unsigned eNameMode = 1;
    std::vector<std::string> files;
};

bool ParseIndent(const char* pszText, int* pnIndent) {
    char* pszEnd = nullptr;
    long n = strtol(pszText, &pszEnd, 10);
    if (pszEnd == pszText || *pszEnd != '\0' || n < 0 || n > 80) return false;
    *pnIndent = static_cast<int>(n);
    return true;
}

bool ParseCheckOptions(int argc, char** argv, CheckOptions* pOptions) {
    for (int i = 2; i < argc; ++i) {
        if (strcmp(argv[i], "--indent") == 0) {
            if (i + 1 >= argc || !ParseIndent(argv[i + 1], &pOptions->nIndent)) return false;
            ++i;
        } else if (strcmp(argv[i], "--name") == 0) {
            pOptions->eNameMode = 0;
        } else if (strncmp(argv[i], "--", 2) == 0) {
            return false;
        } else {
            pOptions->files.push_back(argv[i]);
        }
    }
    return !pOptions->files.empty();
}

// Reads one file; returns the exit status it asks for.
int CheckFile(const std::string& strFile) {
    IBIS* pIbis = nullptr;
    const int nRead = RDIBIS_Read(strFile.c_str(), stdout, &pIbis);
    int nErrors = 0, nWarnings = 0, nBugs = 0;
    DIAG_GetCounts(&nErrors, &nWarnings, &nBugs);
    if (pIbis != nullptr) IBIS_Destroy(pIbis);
    fflush(stdout);
    fprintf(stderr, "%s: %d errors, %d warnings, %d program bugs\n", strFile.c_str(), nErrors,
            nWarnings, nBugs);
    if (!nRead) return EXIT_UNREADABLE;
    return nErrors > 0 ? EXIT_FINDINGS : EXIT_CLEAN;
}

int RunCheck(int argc, char** argv) {
    CheckOptions options;
    if (!ParseCheckOptions(argc, argv, &options)) {
        PrintHelp(stderr);
        return EXIT_UNREADABLE;
    }
    DIAG_SetIndent(options.nIndent);
    DIAG_SetNameMode(options.eNameMode);
    int nStatus = EXIT_CLEAN;
    for (const std::string& strFile : options.files) {
        const int nFileStatus = CheckFile(strFile);
        if (nFileStatus > nStatus) nStatus = nFileStatus;
    }
    return nStatus;
}

struct CompileOptions {
    int nIndent = 0;
    std::string strFile;
    std::string strComponent;
    bool bComponent = false;
    std::string strOut;
};

bool ParseCompileOptions(int argc, char** argv, CompileOptions* pOptions) {
    int nPositional = 0;
    bool bOut = false;
    for (int i = 2; i < argc; ++i) {
        if (strcmp(argv[i], "--indent") == 0) {
            if (i + 1 >= argc || !ParseIndent(argv[i + 1], &pOptions->nIndent)) return false;
            ++i;
        } else if (strcmp(argv[i], "-o") == 0) {
            if (i + 1 >= argc || bOut) return false;
            pOptions->strOut = argv[++i];
            bOut = true;
        } else if (strncmp(argv[i], "-", 1) == 0 && argv[i][1] != '\0') {
            return false;
        } else if (nPositional == 0) {
            pOptions->strFile = argv[i];
            ++nPositional;
        } else if (nPositional == 1) {
            pOptions->strComponent = argv[i];
            pOptions->bComponent = true;
            ++nPositional;
        } else {
            return false;
        }
    }
    return nPositional >= 1 && bOut && !pOptions->strOut.empty();
}

// The component to compile, by name without regard to case, or the only
// one of the file; explains on standard error when there is none.
const CMPNT* ChooseComponent(IBIS* pIbis, const CompileOptions& options) {
    CMPNT* pList = nullptr;
    IBIS_GetCmpntList(pIbis, &pList);
    int nNamed = 0;
    const CMPNT* pOnly = nullptr;
    for (const CMPNT* p = pList; p != nullptr; p = p->pNext) {
        if (options.bComponent && CMN_StrEqualNoCase(p->szName, options.strComponent.c_str()))
            return p;
        if (p->szName[0] == '\0') continue;
        ++nNamed;
        pOnly = p;
    }
    if (!options.bComponent && nNamed == 1) return pOnly;
    if (options.bComponent)
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
    if (nNamed > 1 || options.bComponent)
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

int RunCompile(int argc, char** argv) {
    CompileOptions options;
    if (!ParseCompileOptions(argc, argv, &options)) {
        PrintHelp(stderr);
        return EXIT_USAGE;
    }
    DIAG_SetIndent(options.nIndent);
    DIAG_SetNameMode(1);
    IBIS* pIbis = nullptr;
    const int nRead = RDIBIS_Read(options.strFile.c_str(), stdout, &pIbis);
    int nErrors = 0, nWarnings = 0, nBugs = 0;
    DIAG_GetCounts(&nErrors, &nWarnings, &nBugs);
    fflush(stdout);
    fprintf(stderr, "%s: %d errors, %d warnings, %d program bugs\n", options.strFile.c_str(),
            nErrors, nWarnings, nBugs);
    int nStatus = EXIT_UNREADABLE;
    if (nRead && pIbis != nullptr) nStatus = nErrors > 0 ? EXIT_FINDINGS : WriteCompiled(pIbis, options);
    if (pIbis != nullptr) IBIS_Destroy(pIbis);
    return nStatus;
}

// ------------------------------------------------------------ index

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

int RunIndex(int argc, char** argv) {
    if (argc < 3) {
        PrintHelp(stderr);
        return EXIT_USAGE;
    }
    IDX* pIdx = IDX_Create("-", "", 0);
    if (pIdx == nullptr) return EXIT_UNREADABLE;
    int nStatus = EXIT_CLEAN;
    const std::string strBase = argv[2];
    // Standard output holds the index alone, without the reader's banners.
    const int nStdout = PLAT_MuteStdout();
    for (int i = 2; i < argc; ++i) {
        if (!PLAT_DirExists(argv[i])) {
            fprintf(stderr, "tavelin: %s: not a folder\n", argv[i]);
            nStatus = EXIT_UNREADABLE;
            continue;
        }
        for (const std::string& strFile : PLAT_ListFilesBelow(argv[i], ".ibs")) {
            const std::string strPath = PLAT_JoinPath(argv[i], strFile);
            if (!IndexFile(pIdx, strPath, PLAT_RelativePath(strPath, strBase))) {
                fprintf(stderr, "tavelin: %s: not read, skipped\n", strPath.c_str());
                nStatus = EXIT_FINDINGS;
            }
        }
    }
    PLAT_RestoreStdout(nStdout);
    if (!IDX_Write(pIdx, stdout) || fflush(stdout) != 0) nStatus = EXIT_UNREADABLE;
    IDX_Free(pIdx);
    return nStatus;
}

// ------------------------------------------------------------ show

// The tool is a host like any other: it registers its source index
// through the manager's protected operation.
class CToolLibrary : public CIbisCompMdls {
public:
    int UseIndex(const char* pszPath) { return AddSrcIndex(pszPath, "") && SetSearchPaths(1); }
};

struct ShowOptions {
    const char* pszLib = nullptr;
    const char* pszIndex = nullptr;
    const char* pszComponent = nullptr;
    const char* pszPin = nullptr;
    const char* pszLabel = "";
    int nNumber = 0;
    int eCorner = -1;
    bool bModelMode = false;
    bool bOutline = false;
};

int CornerFromName(const char* pszName) {
    if (strcmp(pszName, "typ") == 0) return eTyp;
    if (strcmp(pszName, "min") == 0) return eMin;
    if (strcmp(pszName, "max") == 0) return eMax;
    return -1;
}

bool ParseShowOption(int argc, char** argv, int* pi, ShowOptions* pOptions) {
    const char* pszOption = argv[*pi];
    if (strcmp(pszOption, "--model-mode") == 0) return pOptions->bModelMode = true;
    if (strcmp(pszOption, "--outline") == 0) return pOptions->bOutline = true;
    if (*pi + 1 >= argc) return false;
    const char* pszValue = argv[++*pi];
    if (strcmp(pszOption, "--lib") == 0) pOptions->pszLib = pszValue;
    else if (strcmp(pszOption, "--index") == 0) pOptions->pszIndex = pszValue;
    else if (strcmp(pszOption, "--pin") == 0) pOptions->pszPin = pszValue;
    else if (strcmp(pszOption, "--label") == 0) pOptions->pszLabel = pszValue;
    else if (strcmp(pszOption, "--number") == 0) pOptions->nNumber = atoi(pszValue);
    else if (strcmp(pszOption, "--corner") == 0) return (pOptions->eCorner = CornerFromName(pszValue)) >= 0;
    else return false;
    return true;
}

bool ParseShowOptions(int argc, char** argv, ShowOptions* pOptions) {
    for (int i = 2; i < argc; ++i) {
        if (strncmp(argv[i], "--", 2) == 0) {
            if (!ParseShowOption(argc, argv, &i, pOptions)) return false;
        } else if (pOptions->pszComponent == nullptr) {
            pOptions->pszComponent = argv[i];
        } else {
            return false;
        }
    }
    if (pOptions->pszPin != nullptr && pOptions->eCorner < 0) pOptions->eCorner = eTyp;
    return pOptions->pszLib != nullptr && pOptions->pszIndex != nullptr &&
           pOptions->pszComponent != nullptr;
}

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
    const int nPin = pInfo->FindIndex4Pin(options.pszPin, eIbisPrmPinName);
    if (nPin < 0) {
        fprintf(stderr, "tavelin: no pin %s in %s\n", options.pszPin, pInfo->Name());
        return false;
    }
    const eTypMinMax eCorner = static_cast<eTypMinMax>(options.eCorner);
    const int nListed =
        options.bOutline
            ? pInfo->ListOutlineModel(std::cout, nPin, options.pszLabel, options.nNumber, eCorner)
            : pInfo->ListSimModel(std::cout, nPin, options.pszLabel, options.nNumber, eCorner,
                                  options.bModelMode);
    std::cout.flush();
    return nListed != 0;
}

int RunShow(int argc, char** argv) {
    ShowOptions options;
    if (!ParseShowOptions(argc, argv, &options)) {
        PrintHelp(stderr);
        return EXIT_USAGE;
    }
    CToolLibrary library;
    library.Init(options.pszLib);
    library.UseIndex(options.pszIndex);
    eRdIbisResult eResult = eRdIbisNothing;
    // Standard output holds the record or the listing alone.
    const int nStdout = PLAT_MuteStdout();
    CIbisCompInfo* pInfo = library.GetIbisCompInfo(options.pszComponent, &eResult, 0);
    PLAT_RestoreStdout(nStdout);
    if (eResult != eRdIbisNothing) fprintf(stderr, "compile log: %s\n", library.GetCompileLogPath());
    bool bOk = pInfo != nullptr && pInfo->IsStatusOk();
    if (pInfo != nullptr && options.pszPin == nullptr) PrintRecord(pInfo);
    if (bOk && options.pszPin != nullptr) bOk = PrintPinListing(pInfo, options);
    fflush(stdout);
    if (!library.Fini(1)) {
        fprintf(stderr, "tavelin: the compiled model index in %s cannot be written\n", options.pszLib);
        bOk = false;
    }
    return bOk ? EXIT_CLEAN : EXIT_FINDINGS;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintHelp(stderr);
        return EXIT_UNREADABLE;
    }
    if (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "help") == 0) {
        PrintHelp(stdout);
        return EXIT_CLEAN;
    }
    if (strcmp(argv[1], "--version") == 0) {
        printf("tavelin %s\n", TAVELIN_VERSION);
        return EXIT_CLEAN;
    }
    if (strcmp(argv[1], "check") == 0) return RunCheck(argc, argv);
    if (strcmp(argv[1], "compile") == 0) return RunCompile(argc, argv);
    if (strcmp(argv[1], "index") == 0) return RunIndex(argc, argv);
    if (strcmp(argv[1], "show") == 0) return RunShow(argc, argv);
    fprintf(stderr, "tavelin: unknown command '%s'\n", argv[1]);
    PrintHelp(stderr);
    return EXIT_UNREADABLE;
}
