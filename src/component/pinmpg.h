// Pin mapping rows of a component.
#ifndef TAVELIN_PINMPG_H
#define TAVELIN_PINMPG_H

#include <string>
#include <unordered_map>

struct CMPNT;
struct PIN;

enum { PINMPG_PIN_LEN = 5, PINMPG_REF_LEN = 15 };

// One [Pin Mapping] row: a pin and the supply buses of its references.
struct PINMPG {
    PINMPG* pNext;
    int nColumns;
    char szPin[PINMPG_PIN_LEN + 1];
    char szPulldownRef[PINMPG_REF_LEN + 1];
    char szPullupRef[PINMPG_REF_LEN + 1];
    char szGndClampRef[PINMPG_REF_LEN + 1];
    char szPowerClampRef[PINMPG_REF_LEN + 1];
};

void PINMPG_Reset();
void PINMPG_Header(CMPNT* pCmpnt, const char* pszText);
int PINMPG_AddRow(const char* pszRow, CMPNT* pCmpnt);
void PINMPG_CheckList(PINMPG* pList, PIN* pPinList, const char* pszCmpntName);
int PINMPG_FindPin(PINMPG* pList, const char* pszPin);
void PINMPG_Destroy(PINMPG* pList);

// The rows of one component by pin name (the first row of each pin), for
// the end-of-file checks: the same answers as PINMPG_FindPin.
class PINMPG_INDEX {
public:
    explicit PINMPG_INDEX(PINMPG* pList);
    PINMPG* Find(const char* pszPin) const;

private:
    std::unordered_map<std::string, PINMPG*> m_mapFirst;
};

int PINMPG_GetPin(const PINMPG* pRow, const char** ppsz);
int PINMPG_GetPulldownRef(const PINMPG* pRow, const char** ppsz);
int PINMPG_GetPullupRef(const PINMPG* pRow, const char** ppsz);
int PINMPG_GetGndClampRef(const PINMPG* pRow, const char** ppsz);
int PINMPG_GetPowerClampRef(const PINMPG* pRow, const char** ppsz);
int PINMPG_GetColumns(const PINMPG* pRow, int* pn);
int PINMPG_GetNext(const PINMPG* pRow, PINMPG** ppNext);

#endif
