// Series pin mapping rows of a component.
#ifndef TAVELIN_SPINMPG_H
#define TAVELIN_SPINMPG_H

struct CMPNT;
struct PIN;

enum { SPINMPG_PIN_LEN = 5, SPINMPG_MODEL_LEN = 20, SPINMPG_GROUP_LEN = 20 };

// One [Series Pin Mapping] row: two pins joined by a series model, and
// for switch models the function_table_group (empty when not given).
struct SPINMPG {
    SPINMPG* pNext;
    int nColumns;
    char szPin1[SPINMPG_PIN_LEN + 1];
    char szPin2[SPINMPG_PIN_LEN + 1];
    char szModel[SPINMPG_MODEL_LEN + 1];
    char szGroup[SPINMPG_GROUP_LEN + 1];
};

void SPINMPG_Reset();
void SPINMPG_Header(CMPNT* pCmpnt, const char* pszText);
int SPINMPG_AddRow(const char* pszRow, CMPNT* pCmpnt);
void SPINMPG_CheckList(SPINMPG* pList, PIN* pPinList, const char* pszCmpntName);
void SPINMPG_Destroy(SPINMPG* pList);

int SPINMPG_GetPin1(const SPINMPG* pRow, const char** ppsz);
int SPINMPG_GetPin2(const SPINMPG* pRow, const char** ppsz);
int SPINMPG_GetModel(const SPINMPG* pRow, const char** ppsz);

#endif
