#ifndef TAVELIN_EBDMDL_H
#define TAVELIN_EBDMDL_H

struct EBDMDL {
    EBDMDL* pNext;
};

void EBDMDL_Reset();
void EBDMDL_Init();
void EBDMDL_Line(int eLineClass, int eKeyword, char* pszLine);
void EBDMDL_End(int eNextKeyword);
void EBDMDL_CheckFile(EBDMDL* pList, int bNested);
void EBDMDL_Destroy(EBDMDL* pList);

#endif
