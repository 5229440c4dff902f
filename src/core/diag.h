// The diagnostics: printf-style reporters of errors, warnings and program
// bugs, with and without the line number.  Each finding becomes one record
// handed to the sinks of the current read; the compile log is one of them.
#ifndef TAVELIN_DIAG_H
#define TAVELIN_DIAG_H

#include <cstdio>

#define TAV_PRINTF(fmt_index, first_arg) \
    __attribute__((format(printf, fmt_index, first_arg)))

enum eDiagLevel { DIAG_LEVEL_ERROR, DIAG_LEVEL_WARNING, DIAG_LEVEL_BUG };

// One finding as the reporters give it to the sinks: the file is the name
// the current read was given (not the shown name), the text is the message
// as the log holds it before wrapping.  Valid only during the sink call.
struct DIAG_FINDING {
    eDiagLevel eLevel;
    const char* pszFile;
    bool bHasLine;
    unsigned long ulLine;
    const char* pszText;
};

typedef void (*DIAG_SINK)(const DIAG_FINDING& finding, void* pContext);

// Findings of the reader go to the log stream as ERROR, WARNING or
// PROGRAM BUG lines and to the added sinks, and are counted; with neither
// a stream nor a sink nothing is written and nothing is counted.
void DIAG_Error(const char* pszFormat, ...) TAV_PRINTF(1, 2);
void DIAG_ErrorLine(const char* pszFormat, ...) TAV_PRINTF(1, 2);
void DIAG_Warning(const char* pszFormat, ...) TAV_PRINTF(1, 2);
void DIAG_WarningLine(const char* pszFormat, ...) TAV_PRINTF(1, 2);
void DIAG_Bug(const char* pszFormat, ...) TAV_PRINTF(1, 2);
void DIAG_BugLine(const char* pszFormat, ...) TAV_PRINTF(1, 2);

void DIAG_ResetCounts();
void DIAG_GetCounts(int* pnErrors, int* pnWarnings, int* pnBugs);
void DIAG_SetLog(FILE* pLogStream);
// At most DIAG_MAX_SINKS sinks at once, each removed by its adder.
enum { DIAG_MAX_SINKS = 4 };
void DIAG_AddSink(DIAG_SINK pfnSink, void* pContext);
void DIAG_RemoveSink(DIAG_SINK pfnSink, void* pContext);
FILE* DIAG_GetLog();
void DIAG_SetFileName(const char* pszName);
const char* DIAG_GetFileName();
void DIAG_SetNameMode(unsigned eNameMode);
void DIAG_SetIndent(int nIndent);
int DIAG_GetIndent();

#endif
