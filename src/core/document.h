// The IBIS document record of one read: the file header and the lists of
// components, models, submodels, package models, board descriptions and
// model selectors that the keyword modules add to as they read.  Documents
// form a stack (a board description reads the files it references into a
// document of their own); the current one is the top.  Also holds the
// directories of the read and the hook through which a keyword module
// starts a nested read without knowing the read driver.
#ifndef TAVELIN_DOCUMENT_H
#define TAVELIN_DOCUMENT_H

struct HDR;
struct CMPNT;
struct MDL;
struct SUBMDL;
struct PKGMDL;
struct EBDMDL;
struct MSEL;

// Every list holds its records newest first.
struct IBIS {
    IBIS* pNext;
    HDR* pHdr;
    CMPNT* pCmpntList;
    MDL* pMdlList;
    SUBMDL* pSubmdlList;
    PKGMDL* pPkgMdlList;
    EBDMDL* pEbdMdlList;
    MSEL* pMselList;
};

int IBIS_Create();
int IBIS_GetCurrent(IBIS** ppIbis);
// Takes a document off the stack: taken off the top, the one below it
// becomes current; taken off below the top, the current one stays.  The
// caller frees what the document owns.
void IBIS_Unstack(IBIS* pIbis);

int IBIS_GetHdr(IBIS* pIbis, HDR** ppHdr);
int IBIS_GetCmpntList(IBIS* pIbis, CMPNT** ppList);
int IBIS_GetMdlList(IBIS* pIbis, MDL** ppList);
int IBIS_GetSubmdlList(IBIS* pIbis, SUBMDL** ppList);
int IBIS_GetPkgMdlList(IBIS* pIbis, PKGMDL** ppList);
int IBIS_GetEbdMdlList(IBIS* pIbis, EBDMDL** ppList);
int IBIS_GetMselList(IBIS* pIbis, MSEL** ppList);

void IBIS_SetHdr(IBIS* pIbis, HDR* pHdr);
void IBIS_AddCmpnt(IBIS* pIbis, CMPNT* pCmpnt);
void IBIS_AddMdl(IBIS* pIbis, MDL* pMdl);
void IBIS_AddSubmdl(IBIS* pIbis, SUBMDL* pSubmdl);
void IBIS_AddPkgMdl(IBIS* pIbis, PKGMDL* pPkgMdl);
void IBIS_AddEbdMdl(IBIS* pIbis, EBDMDL* pEbdMdl);
void IBIS_AddMsel(IBIS* pIbis, MSEL* pMsel);

// Directory of the file being read, and of the top-level file (kept by the
// end-of-file step for the board-description reader).  Both end with a
// separator, or are empty.
const char* IBIS_GetCurrentDir();
const char* IBIS_GetTopDir();
void IBIS_SetCurrentDir(const char* pszDir);
void IBIS_SetTopDir(const char* pszDir);

// The read driver's operations, installed by the reader where a read
// starts, so that keyword modules below it can read referenced files.
struct IBIS_READER_HOOKS {
    int (*pfnReadFile)(const char* pszPath, int eFileKind);
    void (*pfnFinish)(int eFileKind, int bNested);
    void (*pfnEndRead)();
    const char* (*pfnHeaderFileName)(IBIS* pIbis);
};
void IBIS_SetReaderHooks(const IBIS_READER_HOOKS* pHooks);

// Nested reads keep the outer read's line state, shown file name and
// directory: the outer end-of-file step goes on after them.
// Reads a file's lines into the current document (no end-of-file step);
// 0 when it cannot be opened.
int IBIS_ReadNested(const char* pszPath, int eFileKind);
// Reads a file into a new document stacked on the current one and runs its
// end-of-file step as a nested file; the new document stays current until
// IBIS_EndNestedDocument.  0 (and nothing left stacked) when the document
// cannot be made or the file cannot be opened.
int IBIS_ReadNestedDocument(const char* pszPath, int eFileKind);
void IBIS_EndNestedDocument();
// The [File Name] of the document's file header; empty when it has none.
const char* IBIS_GetHeaderFileName(IBIS* pIbis);

#endif
