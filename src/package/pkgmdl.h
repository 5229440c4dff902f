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
void PKGMDL_Destroy(PKGMDL* pList);

#endif
