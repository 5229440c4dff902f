// The diagnostics: printf-style reporters of errors, warnings and program
// bugs into the compile log, with and without the line number.
#ifndef TAVELIN_DIAG_H
#define TAVELIN_DIAG_H

#include <cstdio>

#define TAV_PRINTF(fmt_index, first_arg) \
    __attribute__((format(printf, fmt_index, first_arg)))

// Findings of the reader go to one log stream as ERROR, WARNING or
// PROGRAM BUG lines and are counted; without a stream nothing is written
// and nothing is counted.
void DIAG_Error(const char* pszFormat, ...) TAV_PRINTF(1, 2);
void DIAG_ErrorLine(const char* pszFormat, ...) TAV_PRINTF(1, 2);
void DIAG_Warning(const char* pszFormat, ...) TAV_PRINTF(1, 2);
void DIAG_WarningLine(const char* pszFormat, ...) TAV_PRINTF(1, 2);
void DIAG_Bug(const char* pszFormat, ...) TAV_PRINTF(1, 2);
void DIAG_BugLine(const char* pszFormat, ...) TAV_PRINTF(1, 2);

void DIAG_ResetCounts();
void DIAG_GetCounts(int* pnErrors, int* pnWarnings, int* pnBugs);
void DIAG_SetLog(FILE* pLogStream);
FILE* DIAG_GetLog();
void DIAG_SetFileName(const char* pszName);
const char* DIAG_GetFileName();
void DIAG_SetNameMode(unsigned eNameMode);
void DIAG_SetIndent(int nIndent);
int DIAG_GetIndent();

#endif
