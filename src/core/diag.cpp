// The diagnostics: every finding of a read goes through the six reporters,
// becomes one finding record and is handed to the sinks: the compile log
// (one line or wrapped into two, with the level word, the shown file name,
// the line number and the indent) and whatever sinks the caller added; the
// counters of errors, warnings and program bugs give the result of a read.
// State: the log, the sinks, the counters, the file name, name mode and
// indent, process-wide.
#define TAV_MODULE "diag"
#include "core/diag.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/cmn.h"
#include "core/lines.h"
#include "core/tav_assert.h"

namespace {

enum { DIAG_NAME_SIZE = 512, DIAG_MSG_SIZE = 2176 };

// Name modes: 0 shows the file name, 1 an empty name, others keep it.
enum { NAME_MODE_FILE = 0, NAME_MODE_EMPTY = 1 };

struct SinkSlot {
    DIAG_SINK pfnSink = nullptr;
    void* pContext = nullptr;
};

struct DiagState {
    FILE* pLogStream = nullptr;
    SinkSlot aSinks[DIAG_MAX_SINKS];
    int nSinks = 0;
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

const char* KindWord(eDiagLevel eKind) {
    switch (eKind) {
        case DIAG_LEVEL_ERROR: return "ERROR";
        case DIAG_LEVEL_WARNING: return "WARNING";
        case DIAG_LEVEL_BUG: return "PROGRAM BUG";
    }
    return "";
}

// Messages whose length falls in these inclusive bounds go on a second
// line behind four blanks, so that they fit in 80 columns; program bugs
// are never wrapped.
bool IsWrapped(eDiagLevel eKind, bool bWithLine, size_t nLength) {
    if (eKind == DIAG_LEVEL_BUG) return false;
    size_t nLow;
    if (eKind == DIAG_LEVEL_ERROR)
        nLow = bWithLine ? 60 : 72;
    else
        nLow = bWithLine ? 58 : 70;
    return nLength >= nLow && nLength <= 75;
}

void CountOne(eDiagLevel eKind) {
    switch (eKind) {
        case DIAG_LEVEL_ERROR: ++g_diag.nErrors; break;
        case DIAG_LEVEL_WARNING: ++g_diag.nWarnings; break;
        case DIAG_LEVEL_BUG: ++g_diag.nBugs; break;
    }
}

// The compile log's own layout of a finding.
void WriteToLog(FILE* pLog, const DIAG_FINDING& finding) {
    fprintf(pLog, "%*s", g_diag.nIndent, "");
    const bool bWrapped = IsWrapped(finding.eLevel, finding.bHasLine, strlen(finding.pszText));
    const char* pszSep = bWrapped ? " -\n    " : " - ";
    fprintf(pLog, "%s %s", KindWord(finding.eLevel), g_diag.szShownName);
    if (finding.bHasLine) fprintf(pLog, " (line %*lu)", 4, finding.ulLine);
    fprintf(pLog, "%s%s\n", pszSep, finding.pszText);
}

void Report(eDiagLevel eKind, bool bWithLine, const char* pszFormat, va_list args)
    __attribute__((format(printf, 3, 0)));

void Report(eDiagLevel eKind, bool bWithLine, const char* pszFormat, va_list args) {
    TAV_ASSERT(pszFormat != nullptr);
    FILE* pLog = g_diag.pLogStream;
    if (pLog == nullptr && g_diag.nSinks == 0) return;

    char szMessage[DIAG_MSG_SIZE];
    vsnprintf(szMessage, sizeof szMessage, pszFormat, args);
    const DIAG_FINDING finding = {eKind, g_diag.szMsgFileName, bWithLine,
                                  bWithLine ? PARSE_GetLineNumber() : 0UL, szMessage};
    CountOne(eKind);
    if (pLog != nullptr) WriteToLog(pLog, finding);
    // A copy, so that a sink may remove itself while it is called.
    SinkSlot aSinks[DIAG_MAX_SINKS];
    const int nSinks = g_diag.nSinks;
    std::copy(g_diag.aSinks, g_diag.aSinks + nSinks, aSinks);
    for (int i = 0; i < nSinks; ++i) aSinks[i].pfnSink(finding, aSinks[i].pContext);
}

}  // namespace

#define DIAG_REPORTER(name, kind, withLine)                                   \
    void name(const char* pszFormat, ...) {                                   \
        va_list args;                                                         \
        va_start(args, pszFormat);                                            \
        Report(kind, withLine, pszFormat, args);                              \
        va_end(args);                                                         \
    }

DIAG_REPORTER(DIAG_Error, DIAG_LEVEL_ERROR, false)
DIAG_REPORTER(DIAG_ErrorLine, DIAG_LEVEL_ERROR, true)
DIAG_REPORTER(DIAG_Warning, DIAG_LEVEL_WARNING, false)
DIAG_REPORTER(DIAG_WarningLine, DIAG_LEVEL_WARNING, true)
DIAG_REPORTER(DIAG_Bug, DIAG_LEVEL_BUG, false)
DIAG_REPORTER(DIAG_BugLine, DIAG_LEVEL_BUG, true)

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

void DIAG_AddSink(DIAG_SINK pfnSink, void* pContext) {
    TAV_ASSERT(pfnSink != nullptr);
    TAV_ASSERT(g_diag.nSinks < DIAG_MAX_SINKS);
    g_diag.aSinks[g_diag.nSinks].pfnSink = pfnSink;
    g_diag.aSinks[g_diag.nSinks].pContext = pContext;
    ++g_diag.nSinks;
}

void DIAG_RemoveSink(DIAG_SINK pfnSink, void* pContext) {
    for (int i = 0; i < g_diag.nSinks; ++i) {
        if (g_diag.aSinks[i].pfnSink != pfnSink || g_diag.aSinks[i].pContext != pContext) continue;
        std::copy(g_diag.aSinks + i + 1, g_diag.aSinks + g_diag.nSinks, g_diag.aSinks + i);
        --g_diag.nSinks;
        return;
    }
}

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
