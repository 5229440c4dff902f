// The read driver of one IBIS file: version pre-scan, reading every line,
// the end-of-file step, and the end of a document.
#ifndef TAVELIN_READ_H
#define TAVELIN_READ_H

#include <cstdio>
#include <string>

#include "core/document.h"

void IBIS_Destroy(IBIS* pIbis);
void IBIS_EndRead();

// Reads up to the first keyword line, counting the lines: true, with the
// version text behind it, when that line is [IBIS Ver].
bool IBIS_ScanVersionLine(FILE* pFile, unsigned long* pulLineCount, std::string* pstrVersion);
int IBIS_DetectVersion(const char* pszPath, unsigned long* pulLineCount, int eFileKind);
int IBIS_ReadFile(const char* pszPath, int eFileKind);
void IBIS_Finish(int eFileKind, int bNested);

#endif
