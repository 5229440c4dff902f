#ifndef TAVELIN_CMPNT_H
#define TAVELIN_CMPNT_H

struct CMPNT {
    CMPNT* pNext;
};

void CMPNT_Reset();
void CMPNT_Start();
void CMPNT_Line(int eLineClass, int eKeyword, char* pszLine);
void CMPNT_EndKeyword(int eNewKeyword);
void CMPNT_CheckList(CMPNT* pList);
void CMPNT_Destroy(CMPNT* pList);

#endif
