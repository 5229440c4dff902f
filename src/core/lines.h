// The line reader: reading one physical line with illegal characters made
// blanks, the line-length and tab checks, line classes and the comment
// character; and the state of the read in progress (file kind, line
// number, current keyword, file name and time) that every module reads.
// The read driver resets it where a read starts.
#ifndef TAVELIN_LINES_H
#define TAVELIN_LINES_H

#include <cstddef>
#include <cstdio>
#include <ctime>

#include "core/keywords.h"

// Longest physical line kept by the reader, terminator included.
enum { PARSE_LINE_SIZE = 1024, PARSE_NAME_SIZE = 1024 };

char* PARSE_ReadLine(char* pszBuffer, size_t nSize, FILE* pStream);
// The same without reporting illegal characters (for the version pre-scan,
// whose lines are read and reported again by the read itself).
char* PARSE_ReadLineQuiet(char* pszBuffer, size_t nSize, FILE* pStream);
void PARSE_CheckLine(const char* pszLine);
int PARSE_ClassifyLine(char** ppszLine);
void PARSE_CommentChar(const char* pszAfterKeyword);
void PARSE_StripComment(char* pszLine);

// Per-read state.
void PARSE_ResetForRead(int eFileKind);
void PARSE_NextLine();
unsigned long PARSE_GetLineNumber();
int PARSE_GetFileKind();
int PARSE_GetCurKeyword();
void PARSE_SetCurKeyword(int eKeyword);
// The last recognised keyword, which stays open across keyword lines that
// are not recognised.
int PARSE_GetOpenKeyword();
void PARSE_SetOpenKeyword(int eKeyword);
char PARSE_GetCommentChar();
int PARSE_IsEndSeen();
void PARSE_SetEndSeen();
int PARSE_IsIbisVerSeen();
void PARSE_SetIbisVerSeen();
int PARSE_IsInSubmodel();
void PARSE_SetInSubmodel(int bInSubmodel);
void PARSE_SetFileName(const char* pszName);
void PARSE_GetFileName(char* pszOut, size_t nSize);
const char* PARSE_FileName();
void PARSE_SetFileTime(time_t tFileTime);
time_t PARSE_GetFileTime();
void PARSE_SetNotTerminated(int bNotTerminated);
int PARSE_GetNotTerminated();

// The state of a read in progress, kept across a read nested in it; the
// version in force is kept with it.
struct PARSE_SAVED;
PARSE_SAVED* PARSE_SaveState();
// Puts the saved state back and releases it.
void PARSE_RestoreState(PARSE_SAVED* pSaved);

// The IBIS version recorded by the file header: 0 before any [IBIS Ver],
// then 1, 2 or 3.  It is kept across files.
void PARSE_SetIbisVersion(int nVersion);
int PARSE_GetIbisVersion();

// Back to the state of a freshly loaded library: the tab warning not yet
// given, no version in force.  For tools that check files one after the
// other as if each were checked alone; hosts keep the library's behaviour.
void PARSE_ResetLibraryState();

#endif
