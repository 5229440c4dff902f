// The reader entry: reads and checks one IBIS file into a document.
#ifndef TAVELIN_RDIBIS_H
#define TAVELIN_RDIBIS_H

#include <cstdio>
#include <string>

struct IBIS;

// The one door to the reader: file kind by extension, version pre-scan,
// log attached, document made, whole file read and checked.
int RDIBIS_FileKind(const char* pszFileName);
int RDIBIS_Read(const char* pszFileName, FILE* pLog, IBIS** ppIbis);
int RDIBIS_ReadWithLibrary(const char* pszLibrary, const char* pszFileName, FILE* pLog,
                           IBIS** ppIbis);

// Why the reader refuses a file, for a person: an unknown extension, the
// operating system's reason it does not open, no [IBIS Ver] line, or a
// version it does not read; empty when none of these holds.
std::string RDIBIS_WhyRefused(const char* pszFileName);

#endif
