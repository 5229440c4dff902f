#ifndef TAVELIN_SUBMDL_H
#define TAVELIN_SUBMDL_H

struct MDL;

struct SUBMDL {
    SUBMDL* pNext;
};

void SUBMDL_Reset();
void SUBMDL_New();
void SUBMDL_HandleLine(int eLineClass, int eKeyword, char* pszLine);
void SUBMDL_EndKeyword(int eNextKeyword);
void SUBMDL_Destroy(SUBMDL* pSubmdl);
void SUBMDL_DestroyList(SUBMDL* pList);
void ADDSUB_CheckAll(MDL* pMdlList, SUBMDL* pSubmdlList);

#endif
