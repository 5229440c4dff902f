// The diagnostics: every finding of a read goes through the six reporters
// into the compile log, as one line or wrapped into two, with the level word,
// the shown file name, the line number and the indent; the counters of
// errors, warnings and program bugs give the result of a read.  State: the
// log, the counters, the file name, name mode and indent, process-wide.
#define TAV_MODULE "diag"
#include "core/diag.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/cmn.h"
#include "core/lines.h"
#include "core/tav_assert.h"

namespace {

enum { DIAG_NAME_SIZE = 512, DIAG_MSG_SIZE = 2176 };

enum eDiagKind { DIAG_KIND_ERROR, DIAG_KIND_WARNING, DIAG_KIND_BUG };

// Name modes: 0 shows the file name, 1 an empty name, others keep it.
enum { NAME_MODE_FILE = 0, NAME_MODE_EMPTY = 1 };

struct DiagState {
    FILE* pLogStream = nullptr;
    int nErrors = 0;
    int nWarnings = 0;
    int nBugs = 0;
    int nIndent = 0;
    unsigned eNameMode = NAME_MODE_EMPTY;
    char szMsgFileName[DIAG_NAME_SIZE + 1] = "";
    char szShownName[DIAG_NAME_SIZE + 1] = "";
};

DiagState g_diag;

void RefreshShownName() {
    if (g_diag.eNameMode == NAME_MODE_FILE)
        CMN_StrCopy(g_diag.szShownName, g_diag.szMsgFileName, DIAG_NAME_SIZE);
    else if (g_diag.eNameMode == NAME_MODE_EMPTY)
        g_diag.szShownName[0] = '\0';
}

const char* KindWord(eDiagKind eKind) {
    switch (eKind) {
        case DIAG_KIND_ERROR: return "ERROR";
        case DIAG_KIND_WARNING: return "WARNING";
        case DIAG_KIND_BUG: return "PROGRAM BUG";
    }
    return "";
}

// Messages whose length falls in these inclusive bounds go on a second
// line behind four blanks, so that they fit in 80 columns; program bugs
// are never wrapped.
bool IsWrapped(eDiagKind eKind, bool bWithLine, size_t nLength) {
    if (eKind == DIAG_KIND_BUG) return false;
    size_t nLow;
    if (eKind == DIAG_KIND_ERROR)
        nLow = bWithLine ? 60 : 72;
    else
        nLow = bWithLine ? 58 : 70;
    return nLength >= nLow && nLength <= 75;
}

void CountOne(eDiagKind eKind) {
    switch (eKind) {
        case DIAG_KIND_ERROR: ++g_diag.nErrors; break;
        case DIAG_KIND_WARNING: ++g_diag.nWarnings; break;
        case DIAG_KIND_BUG: ++g_diag.nBugs; break;
    }
}

void Report(eDiagKind eKind, bool bWithLine, const char* pszFormat, va_list args)
    __attribute__((format(printf, 3, 0)));

void Report(eDiagKind eKind, bool bWithLine, const char* pszFormat, va_list args) {
    TAV_ASSERT(pszFormat != nullptr);
    FILE* pLog = g_diag.pLogStream;
    if (pLog == nullptr) return;

    char szMessage[DIAG_MSG_SIZE];
    vsnprintf(szMessage, sizeof szMessage, pszFormat, args);

    fprintf(pLog, "%*s", g_diag.nIndent, "");
    CountOne(eKind);

    const char* pszSep = IsWrapped(eKind, bWithLine, strlen(szMessage)) ? " -\n    " : " - ";
    fprintf(pLog, "%s %s", KindWord(eKind), g_diag.szShownName);
    if (bWithLine) fprintf(pLog, " (line %*lu)", 4, PARSE_GetLineNumber());
    fprintf(pLog, "%s%s\n", pszSep, szMessage);
}

}  // namespace

#define DIAG_REPORTER(name, kind, withLine)                                   \
    void name(const char* pszFormat, ...) {                                   \
        va_list args;                                                         \
        va_start(args, pszFormat);                                            \
        Report(kind, withLine, pszFormat, args);                              \
        va_end(args);                                                         \
    }

DIAG_REPORTER(DIAG_Error, DIAG_KIND_ERROR, false)
DIAG_REPORTER(DIAG_ErrorLine, DIAG_KIND_ERROR, true)
DIAG_REPORTER(DIAG_Warning, DIAG_KIND_WARNING, false)
DIAG_REPORTER(DIAG_WarningLine, DIAG_KIND_WARNING, true)
DIAG_REPORTER(DIAG_Bug, DIAG_KIND_BUG, false)
DIAG_REPORTER(DIAG_BugLine, DIAG_KIND_BUG, true)

void DIAG_ResetCounts() {
    g_diag.nErrors = 0;
    g_diag.nWarnings = 0;
    g_diag.nBugs = 0;
}

void DIAG_GetCounts(int* pnErrors, int* pnWarnings, int* pnBugs) {
    if (pnErrors != nullptr) *pnErrors = g_diag.nErrors;
    if (pnWarnings != nullptr) *pnWarnings = g_diag.nWarnings;
    if (pnBugs != nullptr) *pnBugs = g_diag.nBugs;
}

void DIAG_SetLog(FILE* pLogStream) { g_diag.pLogStream = pLogStream; }

FILE* DIAG_GetLog() { return g_diag.pLogStream; }

void DIAG_SetFileName(const char* pszName) {
    TAV_ASSERT(pszName != nullptr);
    CMN_StrCopy(g_diag.szMsgFileName, pszName, DIAG_NAME_SIZE);
    RefreshShownName();
}

const char* DIAG_GetFileName() { return g_diag.szMsgFileName; }

void DIAG_SetNameMode(unsigned eNameMode) {
    g_diag.eNameMode = eNameMode;
    RefreshShownName();
}

void DIAG_SetIndent(int nIndent) { g_diag.nIndent = nIndent; }

int DIAG_GetIndent() { return g_diag.nIndent; }
