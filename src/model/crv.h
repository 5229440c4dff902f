// I-V tables: reading, end checks and evaluation.
#ifndef TAVELIN_CRV_H
#define TAVELIN_CRV_H

#include <vector>

#include "core/corner.h"

struct RNG;
struct RNGP;
struct MDL;

// One I-V (or V-T) table: the first of its rows, kept in file order.  Each
// row is an RNGP whose leading value is the voltage and whose corners are
// the typical, minimum and maximum currents.
struct CRV {
    RNGP* pRows;
};

void CRV_Reset();

// Reading, driven by the owner's line dispatch and keyword close.
int CRV_Begin(char* pszLine, const char* pszName, CRV** ppSlot);
void CRV_AddRow(const char* pszLine, CRV* pCrv, const char* pszName);
void CRV_End(const char* pszOwner, unsigned eModelType, int eKeyword, CRV** ppSlot,
             const char* pszName, const char* pszOwnerKind);
void CRV_Free(CRV* pCrv);

// Evaluation.  Only a voltage and a current that are numbers take part.
const char* CRV_CornerName(eCorner eWhich);
int CRV_RangeValue(const RNG* pRng, eCorner eWhich, double* pdValue);
int CRV_TooFewPoints(const RNGP* pFirst, eCorner eWhich);
int CRV_Direction(const RNGP* pFirst);
RNGP* CRV_Reverse(RNGP* pFirst);
RNGP* CRV_FirstPoint(RNGP* pRow, eCorner eWhich, double* pdV, double* pdI);
RNGP* CRV_NextPoint(RNGP* pRow, eCorner eWhich, double* pdV, double* pdI);
RNGP* CRV_LastPoint(RNGP* pRow, eCorner eWhich, double* pdV, double* pdI);
RNGP* CRV_PrevPoint(RNGP* pRow, eCorner eWhich, double* pdV, double* pdI);
void CRV_ShiftVoltages(RNGP* pFirst, double dOffset);
void CRV_NegateVoltages(RNGP* pFirst);
int CRV_Interpolate(RNGP** ppCursor, int nDirection, double dV, eCorner eWhich, double* pdI);
int CRV_ValueAt(CRV* pCrv, eCorner eWhich, double* pdI, double dV);
int CRV_SumAt(CRV* pCrvA, CRV* pCrvB, double dV, RNGP* pResult);
CRV* CRV_Combine(CRV* pCrvA, CRV* pCrvB, CORNER_SET corners);
void CRV_References(const MDL* pMdl, eCorner eWhich, double* pdPowerClamp, double* pdPullup,
                    double* pdGndClamp, double* pdPulldown);
CRV* CRV_ZeroTable();
CRV* CRV_ZeroTableAt(double dV1, double dV2);

// A table of one corner held as its points in order, every voltage and
// current a number: the working tables of the plausibility checks.  They
// follow the rules of CRV_Combine and CRV_Interpolate exactly (the same
// operations in the same order, so the same doubles) without a row per
// point; the caller keeps them from table to table, so their storage is
// reused.
struct CRVPTS {
    std::vector<double> adV;
    std::vector<double> adI;
};

// A model table's rows as CRV_CornerPoints walks them; scratch storage.
struct CRVROWS {
    std::vector<double> adRowV;  // every numeric voltage, for the merge
    CRVPTS points;               // the corner's points, for interpolation
};

// CRV_Combine(pCrv, CRV_ZeroTable(), eWhich) in one corner, without
// touching pCrv; 0 when memory runs out.
int CRV_CornerPoints(const CRV* pCrv, eCorner eWhich, CRVROWS* pScratch, CRVPTS* pOut);
void CRV_ShiftPoints(CRVPTS* pPts, double dOffset);
void CRV_NegatePoints(CRVPTS* pPts);
// CRV_Combine of two point tables; a descending input is reversed for
// the walk and given back in its order.  0 when memory runs out.
int CRV_CombinePoints(CRVPTS* pA, CRVPTS* pB, CRVPTS* pOut);

#endif
