// Differential pin rows of a component.
#ifndef TAVELIN_DIFPIN_H
#define TAVELIN_DIFPIN_H

struct CMPNT;
struct PIN;

enum { DIFPIN_PIN_LEN = 5 };

// One [Diff Pin] row.  "NA" values are replaced when the row is read, so
// each state is either absent or a number.
struct DIFPIN {
    DIFPIN* pNext;
    int nColumns;
    char szDiffPin[DIFPIN_PIN_LEN + 1];
    char szInvPin[DIFPIN_PIN_LEN + 1];
    double dVdiff;
    unsigned eVdiffState;
    double dTdelayTyp;
    unsigned eTdelayTypState;
    double dTdelayMin;
    unsigned eTdelayMinState;
    double dTdelayMax;
    unsigned eTdelayMaxState;
};

void DIFPIN_Reset();
void DIFPIN_Header(CMPNT* pCmpnt, const char* pszText);
int DIFPIN_AddRow(const char* pszRow, CMPNT* pCmpnt);
void DIFPIN_CheckList(DIFPIN* pList, PIN* pPinList, const char* pszCmpntName);
void DIFPIN_Destroy(DIFPIN* pList);

int DIFPIN_GetPin(const DIFPIN* pRow, const char** ppsz);
int DIFPIN_GetInvPin(const DIFPIN* pRow, const char** ppsz);
int DIFPIN_GetVdiff(const DIFPIN* pRow, double* pd);
int DIFPIN_GetTdelayTyp(const DIFPIN* pRow, double* pd);
int DIFPIN_GetTdelayMin(const DIFPIN* pRow, double* pd);
int DIFPIN_GetTdelayMax(const DIFPIN* pRow, double* pd);
int DIFPIN_GetColumns(const DIFPIN* pRow, int* pn);
int DIFPIN_GetNext(const DIFPIN* pRow, DIFPIN** ppNext);

#endif
