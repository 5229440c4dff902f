#ifndef TAVELIN_MDL_H
#define TAVELIN_MDL_H

// IBIS model types.
enum eModelType : unsigned {
    MT_NOT_GIVEN = 0,
    MT_NO_TYPE = 1,
    MT_INPUT = 2,
    MT_OUTPUT = 3,
    MT_IO = 4,
    MT_3_STATE = 5,
    MT_OPEN_DRAIN = 6,
    MT_IO_OPEN_DRAIN = 7,
    MT_OPEN_SINK = 8,
    MT_IO_OPEN_SINK = 9,
    MT_OPEN_SOURCE = 10,
    MT_IO_OPEN_SOURCE = 11,
    MT_INPUT_ECL = 12,
    MT_OUTPUT_ECL = 13,
    MT_IO_ECL = 14,
    MT_TERMINATOR = 15,
    MT_SERIES = 16,
    MT_SERIES_SWITCH = 17,
    MT_3_STATE_ECL = 18
};

enum { MDL_NAME_LEN = 20 };

struct MDL {
    MDL* pNext;
    char szName[MDL_NAME_LEN + 1];
    unsigned eModelType;
};

void MDL_Reset();
void MDL_New();
void MDL_HandleLine(int eLineClass, int eKeyword, char* pszLine);
void MDL_EndKeyword(int eNextKeyword);
void MDL_Destroy(MDL* pMdl);
void MDL_DestroyList(MDL* pList);
int MDL_Find(MDL* pList, const char* pszName, MDL** ppFound);
int MDL_GetModelType(const MDL* pMdl, unsigned* peType);

#endif
