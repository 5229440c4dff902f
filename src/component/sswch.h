// Series switch groups of a component.
#ifndef TAVELIN_SSWCH_H
#define TAVELIN_SSWCH_H

struct CMPNT;
struct SPINMPG;

enum { SSWCH_STATE_LEN = 3, SSWCH_NAME_LEN = 20 };

// One group of [Series Switch Groups]: On or Off and the function table
// groups switched together.
struct SSWCH {
    SSWCH* pNext;
    char szState[SSWCH_STATE_LEN + 1];
    char** ppszNames;
    unsigned nNames;
};

void SSWCH_Reset();
void SSWCH_Keyword(CMPNT* pCmpnt, const char* pszText);
int SSWCH_AddLine(const char* pszLine, CMPNT* pCmpnt);
void SSWCH_CheckList(SSWCH* pList, SPINMPG* pSpinMapList, const char* pszCmpntName);
void SSWCH_Destroy(SSWCH* pList);

#endif
