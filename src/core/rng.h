#ifndef TAVELIN_RNG_H
#define TAVELIN_RNG_H

// A typical/minimum/maximum triple; each corner has a state of
// eValueState (not given, a number, "NA").
struct RNG {
    double dTyp;
    unsigned eTypState;
    double dMin;
    unsigned eMinState;
    double dMax;
    unsigned eMaxState;
};

// One table row: a leading independent value followed by a triple.  Rows
// form a doubly linked list in file order.
struct RNGP {
    RNGP* pNext;
    RNGP* pPrev;
    double dX;
    unsigned eXState;
    double dTyp;
    unsigned eTypState;
    double dMin;
    unsigned eMinState;
    double dMax;
    unsigned eMaxState;
};

// Corner selectors of the accessors: 0 minimum, 2 maximum, else typical.
enum { RNG_CORNER_MIN = 0, RNG_CORNER_TYP = 1, RNG_CORNER_MAX = 2 };

int RNG_Create(RNG** ppRng);
int RNG_Parse(const char* pszText, const char* pszQuantity, RNG** ppRng);
void RNG_Free(RNG* pRng);
int RNG_GetTyp(const RNG* pRng, double* pd);
int RNG_GetMin(const RNG* pRng, double* pd);
int RNG_GetMax(const RNG* pRng, double* pd);
void RNG_GetCorner(const RNG* pRng, int eCorner, double* pd);
int RNG_CheckLimits(const RNG* pRng, double dLow, double dHigh, const char* pszFormat,
                    const char* pszName, double dScale);

int RNGP_Create(RNGP** ppRow);
int RNGP_CreateFrom(RNGP** ppRow, double dX, double dMin, double dTyp, double dMax,
                    int bHasMax, int bHasMin);
int RNGP_Parse(const char* pszText, const char* pszQuantity, const char* pszXName, RNGP** ppRow);
void RNGP_Append(RNGP** ppHead, RNGP* pRow, unsigned* pnCount);
// Appends a row after pTail, the last row of the list at *ppHead (null for
// an empty list): RNGP_Append in constant time, for owners that keep the
// tail of the table they are reading.
void RNGP_AppendAfter(RNGP** ppHead, RNGP* pTail, RNGP* pRow);
void RNGP_FreeList(RNGP* pHead);
int RNGP_GetX(const RNGP* pRow, double* pd);
int RNGP_GetTyp(const RNGP* pRow, double* pd);
int RNGP_GetMin(const RNGP* pRow, double* pd);
int RNGP_GetMax(const RNGP* pRow, double* pd);
int RNGP_HasCorner(const RNGP* pRow, int eCorner);
// Columns of a row: the leading value, then typical, minimum, maximum.
enum { RNGP_COL_X = 0, RNGP_COL_TYP = 1, RNGP_COL_MIN = 2, RNGP_COL_MAX = 3 };
// The state of one column (eValueState), its value stored in *pd.
unsigned RNGP_ColumnState(const RNGP* pRow, int eColumn, double* pd);
// 1 when some row from pFirst on holds a number in the column.
int RNGP_AnyNumber(const RNGP* pFirst, int eColumn);
int RNGP_GetNext(const RNGP* pRow, RNGP** ppNext);
int RNGP_GetPrev(const RNGP* pRow, RNGP** ppPrev);

#endif
