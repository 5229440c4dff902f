// The reader entry: reads and checks one IBIS file into a document.
#ifndef TAVELIN_RDIBIS_H
#define TAVELIN_RDIBIS_H

#include <cstdio>

struct IBIS;

// The one door to the reader: file kind by extension, version pre-scan,
// log attached, document made, whole file read and checked.
int RDIBIS_FileKind(const char* pszFileName);
int RDIBIS_Read(const char* pszFileName, FILE* pLog, IBIS** ppIbis);
int RDIBIS_ReadWithLibrary(const char* pszLibrary, const char* pszFileName, FILE* pLog,
                           IBIS** ppIbis);

#endif
