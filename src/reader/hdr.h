// The file header of an IBIS file.
#ifndef TAVELIN_HDR_H
#define TAVELIN_HDR_H

#include <ctime>

enum {
    HDR_IBIS_VERSION_LEN = 70,
    HDR_FILE_NAME_LEN = 24,
    HDR_FILE_REV_LEN = 70,
    HDR_DATE_LEN = 40
};

// The file header of one IBIS file.
struct HDR {
    HDR* pNext;
    char szIbisVersion[HDR_IBIS_VERSION_LEN + 1];
    char szFileName[HDR_FILE_NAME_LEN + 1];
    char szFileRev[HDR_FILE_REV_LEN + 1];
    char szDate[HDR_DATE_LEN + 1];
    char* pszSource;
    char* pszNotes;
    char* pszDisclaimer;
    char* pszCopyright;
    time_t tFileTime;
};

void HDR_Reset();
void HDR_Start();
void HDR_Line(int eLineClass, int eKeyword, char* pszLine);
void HDR_EndKeyword(int eNewKeyword);
void HDR_Destroy(HDR* pHdr);

int HDR_GetIbisVersion(const HDR* pHdr, const char** ppsz);
int HDR_GetFileName(const HDR* pHdr, const char** ppsz);
int HDR_GetFileRev(const HDR* pHdr, const char** ppsz);
int HDR_GetDate(const HDR* pHdr, const char** ppsz);
int HDR_GetSource(const HDR* pHdr, const char** ppsz);
int HDR_GetNotes(const HDR* pHdr, const char** ppsz);
int HDR_GetDisclaimer(const HDR* pHdr, const char** ppsz);
int HDR_GetCopyright(const HDR* pHdr, const char** ppsz);

#endif
