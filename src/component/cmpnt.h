// Component records and the component module's line and keyword handlers.
#ifndef TAVELIN_CMPNT_H
#define TAVELIN_CMPNT_H

struct PKG;
struct PIN;
struct PINMPG;
struct DIFPIN;
struct SSWCH;
struct SPINMPG;

enum { CMPNT_NAME_LEN = 40, CMPNT_MANUFACTURER_LEN = 40, CMPNT_PACKAGE_MODEL_LEN = 40 };

// Si_location and Timing_location settings.
enum eCmpntLocation : unsigned {
    LOCATION_NOT_GIVEN = 0,
    LOCATION_INVALID = 1,
    LOCATION_DIE = 2,
    LOCATION_PIN = 3
};

// One [Component] of a .ibs file with everything its keywords gave.  The
// column counts are those of the table headers, 0 before the header.
struct CMPNT {
    CMPNT* pNext;
    char szName[CMPNT_NAME_LEN + 1];
    char szManufacturer[CMPNT_MANUFACTURER_LEN + 1];
    PKG* pPkg;
    int nPinColumns;
    PIN* pPinList;
    char szPackageModel[CMPNT_PACKAGE_MODEL_LEN + 1];
    int nPinMapColumns;
    PINMPG* pPinMapList;
    int nDiffPinColumns;
    DIFPIN* pDiffPinList;
    unsigned eSiLocation;
    unsigned eTimingLocation;
    SSWCH* pSswchList;
    int nSpinMapColumns;
    SPINMPG* pSpinMapList;
};

void CMPNT_Reset();
void CMPNT_Start();
void CMPNT_Line(int eLineClass, int eKeyword, char* pszLine);
void CMPNT_EndKeyword(int eNewKeyword);
void CMPNT_CheckList(CMPNT* pList);
void CMPNT_Destroy(CMPNT* pList);

int CMPNT_GetName(const CMPNT* pCmpnt, const char** ppsz);
int CMPNT_GetManufacturer(const CMPNT* pCmpnt, const char** ppsz);
int CMPNT_GetPkg(const CMPNT* pCmpnt, PKG** ppPkg);
int CMPNT_GetPinList(const CMPNT* pCmpnt, PIN** ppList);
int CMPNT_GetPinMapList(const CMPNT* pCmpnt, PINMPG** ppList);
int CMPNT_GetDiffPinList(const CMPNT* pCmpnt, DIFPIN** ppList);
int CMPNT_GetSpinMapList(const CMPNT* pCmpnt, SPINMPG** ppList);
int CMPNT_GetPinColumns(const CMPNT* pCmpnt, int* pn);
int CMPNT_GetPinMapColumns(const CMPNT* pCmpnt, int* pn);
int CMPNT_GetDiffPinColumns(const CMPNT* pCmpnt, int* pn);
int CMPNT_GetNext(const CMPNT* pCmpnt, CMPNT** ppNext);

#endif
