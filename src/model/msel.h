// Model selectors.
#ifndef TAVELIN_MSEL_H
#define TAVELIN_MSEL_H

enum { MSEL_NAME_LEN = 20, MSEL_LINE_LEN = 80 };

// One model a selector offers, with its description.  The model name and
// the description share a line of 80 characters.
struct MSELMDL {
    MSELMDL* pNext;
    char szName[MSEL_NAME_LEN + 1];
    char szDescription[MSEL_LINE_LEN + 1];
};

// One [Model Selector]: its models in file order.
struct MSEL {
    MSEL* pNext;
    MSELMDL* pModels;
    char szName[MSEL_NAME_LEN + 1];
};

void MSEL_Reset();
// Reading, driven by the line reader.
void MSEL_Init();
void MSEL_HandleLine(int eLineClass, int eKeyword, char* pszLine);
void MSEL_End();
// At the end of the file, when every model is known.
void MSEL_CheckAll(MSEL* pList);
// 1 when a selector of that name (compared exactly) is in the list.
int MSEL_Find(MSEL* pList, const char* pszName);
void MSEL_Destroy(MSEL* pList);

#endif
