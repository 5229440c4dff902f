// The keyword tables of IBIS 2.1 and 3.2, keyword recognition with its
// context rules, and the dispatch of every line to the module that owns
// its keyword.  Called by the read driver for each line of a file.
#ifndef TAVELIN_DISPATCH_H
#define TAVELIN_DISPATCH_H

#include "core/keywords.h"

struct KEYWORD_ENTRY {
    const char* pszName;
    eIbisKeyword eCode;
};

// The two keyword tables, each ending with the NOT_KEY entry.
extern const KEYWORD_ENTRY g_aKeywords32[];
extern const KEYWORD_ENTRY g_aKeywords21[];

int PARSE_Recognize(char* pszLine, int ePrevious, int* peCode, const KEYWORD_ENTRY* pTable);
void PARSE_EndKeyword(int ePrevious, int eNew);
void PARSE_StartKeyword(int eFileKind, int eNew);
void PARSE_Dispatch21(int eFileKind, int eLineClass, char* pszLine);
void PARSE_Dispatch32(int eFileKind, int eLineClass, char* pszLine);

#endif
