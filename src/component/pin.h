// Pin rows of a component and the checks of the pin list.
#ifndef TAVELIN_PIN_H
#define TAVELIN_PIN_H

#include <string>
#include <unordered_map>

struct CMPNT;
struct PINMPG;

enum { PIN_NAME_LEN = 5, PIN_SIGNAL_LEN = 20, PIN_MODEL_LEN = 20 };

// One [Pin] row.  The R/L/C values carry an eValueState each.
struct PIN {
    PIN* pNext;
    int nColumns;
    char szPinName[PIN_NAME_LEN + 1];
    char szSignalName[PIN_SIGNAL_LEN + 1];
    char szModelName[PIN_MODEL_LEN + 1];
    double dRpin;
    unsigned eRpinState;
    double dLpin;
    unsigned eLpinState;
    double dCpin;
    unsigned eCpinState;
};

// Which of the three optional [Pin] columns (0, 1, 2) holds R_pin, L_pin
// and C_pin, as the [Pin] header orders them.
enum { PIN_COL_R = 0, PIN_COL_L = 1, PIN_COL_C = 2, PIN_COL_COUNT = 3 };
struct PINCOLS {
    int anColumn[PIN_COL_COUNT];
};

void PIN_Reset();
void PIN_ResetColumns(PINCOLS* pCols);
void PIN_Header(CMPNT* pCmpnt, PINCOLS* pCols, const char* pszText);
int PIN_AddRow(const char* pszRow, CMPNT* pCmpnt, const PINCOLS* pCols);
void PIN_CheckList(PIN* pList, PINMPG* pPinMapList, const char* pszCmpntName,
                   const char* pszPackageModel);
void PIN_Destroy(PIN* pList);

// Lookups by exact pin name; the first pin of the name counts.
int PIN_Find(PIN* pList, const char* pszName);
const char* PIN_GetModelOf(PIN* pList, const char* pszName);
int PIN_IsPower(PIN* pList, const char* pszName);
int PIN_IsGnd(PIN* pList, const char* pszName);
int PIN_IsSupply(PIN* pList, const char* pszName);

// The same questions about one pin record (null reads as "no").
bool PIN_HasPowerModel(const PIN* pPin);
bool PIN_HasGndModel(const PIN* pPin);
bool PIN_HasNcModel(const PIN* pPin);

// The pins of one component by name, for the end-of-file checks that look
// up many pins: the same answers as PIN_Find, without a walk per lookup.
class PIN_INDEX {
public:
    explicit PIN_INDEX(PIN* pList);
    PIN* Find(const char* pszName) const;

private:
    std::unordered_map<std::string, PIN*> m_mapFirst;
};

int PIN_GetName(const PIN* pPin, const char** ppsz);
int PIN_GetSignal(const PIN* pPin, const char** ppsz);
int PIN_GetModel(const PIN* pPin, const char** ppsz);
int PIN_GetRpin(const PIN* pPin, double* pd);
int PIN_GetLpin(const PIN* pPin, double* pd);
int PIN_GetCpin(const PIN* pPin, double* pd);
int PIN_GetColumns(const PIN* pPin, int* pn);
int PIN_GetNext(const PIN* pPin, PIN** ppNext);

#endif
