#ifndef TAVELIN_IBIS_H
#define TAVELIN_IBIS_H

#include <cstddef>

struct HDR;
struct CMPNT;
struct MDL;
struct SUBMDL;
struct PKGMDL;
struct EBDMDL;
struct MSEL;

// The document of one read: everything built from one IBIS file.  Every
// list holds its records newest first.
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
void IBIS_Destroy(IBIS* pIbis);
void IBIS_EndRead();

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

int IBIS_DetectVersion(const char* pszPath, unsigned long* pulLineCount, int eFileKind);
int IBIS_ReadFile(const char* pszPath, int eFileKind);
void IBIS_Finish(int eFileKind, int bNested);

// Reads a file from inside the end-of-file step of another read: into the
// current document, or into a new document stacked on it, which is then
// finished as a nested file and left current for the caller to end.  The
// outer read's line state, shown file name and directory are kept.
int IBIS_ReadNested(const char* pszPath, int eFileKind);
int IBIS_ReadNestedDocument(const char* pszPath, int eFileKind);

// Directory of the file being read, and of the top-level file (kept by the
// end-of-file step for the board-description reader).  Both end with a
// separator, or are empty.
const char* IBIS_GetCurrentDir();
const char* IBIS_GetTopDir();

#endif
