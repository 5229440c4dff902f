// The tavelin command: checks IBIS files with the library's reader and
// writes every finding exactly as the compile log would hold it; compiles
// one component into a compiled component model file.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "api/cbs.h"
#include "api/rdibis.h"
#include "component/cmpnt.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/document.h"
#include "reader/read.h"

namespace {

enum { EXIT_CLEAN = 0, EXIT_FINDINGS = 1, EXIT_UNREADABLE = 2, EXIT_USAGE = 3 };

void PrintHelp(FILE* pOut) {
    fputs("usage: tavelin check [--indent N] [--name] FILE...\n"
          "       tavelin compile [--indent N] FILE [COMPONENT] -o OUT.cbs\n"
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
          "         output could not be written, 3 a usage error.\n",
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
    fprintf(stderr, "tavelin: unknown command '%s'\n", argv[1]);
    PrintHelp(stderr);
    return EXIT_UNREADABLE;
}
