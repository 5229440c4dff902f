// An index maps names a user knows (component names) to names on disk (file
// names), each with a short text and a flag, and hands out generated disk
// names from a printf pattern and a running number.  The same table and
// the same text file serve the source indexes and the compiled-model index.
#ifndef TAVELIN_IDX_H
#define TAVELIN_IDX_H

#include <cstdio>
#include <string>
#include <vector>

enum { IDX_BUCKETS = 100 };

struct IDX_ENTRY {
    std::string strUserName;
    std::string strDiskName;
    std::string strText;
    bool bHasText = false;  // an empty text line reads as an absent text
    short sFlag = 0;
};

struct IDX {
    std::string strFileName;
    std::string strPattern;  // empty for source indexes
    int nNextNumber = 0;
    int nEntryCount = 0;
    unsigned char bCaseFlag = 0;  // 1: names compared case-sensitively
    // Each chain holds its entries in ascending order of user names under
    // the index's comparison.
    std::vector<IDX_ENTRY*> chains[IDX_BUCKETS];
};

struct IDX_CURSOR;

IDX* IDX_Create(const char* pszFileName, const char* pszPattern, int bCaseFlag);
// Null when the file cannot be read or its second line holds no number of
// 0 or more.
IDX* IDX_Load(const char* pszFileName, const char* pszPattern, int bCaseFlag);
// Writes the head line, the next number and every entry in file order;
// 0 when a write failed.
int IDX_Write(IDX* pIdx, FILE* pFile);
// Writes a temporary file beside the index file and renames it over the
// index file, so the index file is never left half written; 1 on success.
int IDX_Save(IDX* pIdx);
void IDX_Free(IDX* pIdx);
IDX_ENTRY* IDX_Find(IDX* pIdx, const char* pszUserName);
// The entry already present under exactly this user name, or a new one; a
// null disk name takes a generated name.  Null when no name can be
// generated any more.
IDX_ENTRY* IDX_Add(IDX* pIdx, const char* pszUserName, const char* pszDiskName,
                   const char* pszText, int nFlag);
// Stores the pattern filled with the next number and raises the number;
// 0 when the number cannot be raised any further.
int IDX_NextName(IDX* pIdx, std::string* pstrName);
// Raises the next number to at least the given one.
void IDX_RaiseNextNumber(IDX* pIdx, int nAtLeast);
// Entries in file order: start with a null cursor; at the end null is
// returned and the cursor is released and set to null.
IDX_ENTRY* IDX_Next(IDX* pIdx, IDX_CURSOR** ppCursor);
void IDX_FreeCursor(IDX_CURSOR** ppCursor);
int IDX_Bucket(const char* pszUserName, int bCaseFlag);

#endif
