#ifndef TAVELIN_PKGMDL_H
#define TAVELIN_PKGMDL_H

struct PKGMDL {
    PKGMDL* pNext;
};

void PKGMDL_Reset();
void PKGMDL_Init();
void PKGMDL_Line(int eLineClass, int eKeyword, char* pszLine);
void PKGMDL_End(int eNextKeyword);
void PKGMDL_CheckDuplicates(PKGMDL* pList);
int PKGMDL_Find(PKGMDL* pList, const char* pszName, PKGMDL** ppFound);
// Walks the [Pin Numbers] list of the named package model: bFirst starts
// at its first pin; 0 when the model is absent or the list is exhausted.
int PKGMDL_NextPin(PKGMDL* pList, const char* pszModel, int bFirst, const char** ppszPin);
void PKGMDL_Destroy(PKGMDL* pList);

#endif
