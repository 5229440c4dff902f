// The tavelin command: checks IBIS files with the library's reader and
// writes every finding exactly as the compile log would hold it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "api/rdibis.h"
#include "core/diag.h"
#include "reader/read.h"

namespace {

enum { EXIT_CLEAN = 0, EXIT_FINDINGS = 1, EXIT_UNREADABLE = 2 };

void PrintHelp(FILE* pOut) {
    fputs("usage: tavelin check [--indent N] [--name] FILE...\n"
          "       tavelin --help | --version\n"
          "\n"
          "check    reads each IBIS file (.ibs, .pkg, .ebd) and writes its findings to\n"
          "         standard output, then one summary line per file to standard error.\n"
          "         --indent N  indent every finding by N blanks (default 0)\n"
          "         --name      show the file name in every finding\n"
          "         Exit status: 0 no file had errors, 1 a file had errors,\n"
          "         2 a file could not be read at all.\n",
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
    fprintf(stderr, "tavelin: unknown command '%s'\n", argv[1]);
    PrintHelp(stderr);
    return EXIT_UNREADABLE;
}
