// Typ/min/max triples (RNG) and table rows (RNGP).
#ifndef TAVELIN_RNG_H
#define TAVELIN_RNG_H

#include "core/corner.h"

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
// The numbers come before their states, and a state takes one byte, so
// that a row takes 56 bytes: a large file holds millions of rows.
struct RNGP {
    RNGP* pNext;
    RNGP* pPrev;
    double dX;
    double dTyp;
    double dMin;
    double dMax;
    unsigned char eXState;
    unsigned char eTypState;
    unsigned char eMinState;
    unsigned char eMaxState;
};

// The corners of a triple or of a row's triple as arrays, for checks that
// walk them.
struct CORNERS {
    double ad[CORNER_COUNT];
    unsigned ae[CORNER_COUNT];
    double Value(eCorner e) const { return ad[CornerIndex(e)]; }
    unsigned State(eCorner e) const { return ae[CornerIndex(e)]; }
};
CORNERS RNG_Corners(const RNG* pRng);
CORNERS RNGP_Corners(const RNGP* pRow);
// One number standing for all three corners.
CORNERS RNG_SameCorners(double d);

int RNG_Create(RNG** ppRng);
int RNG_Parse(const char* pszText, const char* pszQuantity, RNG** ppRng);
void RNG_Free(RNG* pRng);
int RNG_GetTyp(const RNG* pRng, double* pd);
int RNG_GetMin(const RNG* pRng, double* pd);
int RNG_GetMax(const RNG* pRng, double* pd);
// The corner's number; a minimum or maximum that is not a number gives the
// typical value.
void RNG_GetCorner(const RNG* pRng, eCorner eWhich, double* pd);
// The state of one corner (eValueState), its value stored in *pd.
unsigned RNG_CornerState(const RNG* pRng, eCorner eWhich, double* pd);
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
int RNGP_HasCorner(const RNGP* pRow, eCorner eWhich);
// The state (eValueState) of the leading value and of one corner, the value
// stored in *pd.
unsigned RNGP_XState(const RNGP* pRow, double* pd);
unsigned RNGP_CornerState(const RNGP* pRow, eCorner eWhich, double* pd);
// Makes the corner the given number.
void RNGP_SetCorner(RNGP* pRow, eCorner eWhich, double d);
// 1 when some row from pFirst on holds a number in the corner.
int RNGP_AnyNumber(const RNGP* pFirst, eCorner eWhich);
int RNGP_GetNext(const RNGP* pRow, RNGP** ppNext);
int RNGP_GetPrev(const RNGP* pRow, RNGP** ppPrev);

#endif
