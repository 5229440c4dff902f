#ifndef TAVELIN_MSEL_H
#define TAVELIN_MSEL_H

struct MSEL {
    MSEL* pNext;
};

void MSEL_Reset();
void MSEL_Init();
void MSEL_HandleLine(int eLineClass, int eKeyword, char* pszLine);
void MSEL_End();
void MSEL_CheckAll(MSEL* pList);
int MSEL_Find(MSEL* pList, const char* pszName);
void MSEL_Destroy(MSEL* pList);

#endif
