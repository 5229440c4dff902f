// I-V tables ([Pulldown], [Pullup], [GND Clamp], [POWER Clamp], the series
// tables, and the submodels' tables): reading rows with the monotony and row
// count checks, the end checks of a table, and the evaluation operations the
// plausibility checks use (points, interpolation, sums and combinations of
// tables, references of a model), the combinations also over point tables
// of one corner, which the checks' working tables are.  State: the table
// being read, its ends and trackers, and two shared zero tables.
#define TAV_MODULE "crv"
#include "model/crv.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <new>

#include "model/mdl.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/lines.h"
#include "core/rng.h"
#include "core/tav_assert.h"

namespace {

enum { CRV_MAX_POINTS = 100 };

// Voltages closer than this are one point when tables are combined, and a
// degenerate segment is widened by it.
constexpr double CRV_EPSILON = 1e-5;

// The two voltages of the shared fixed zero table.
constexpr double CRV_ZERO_FROM_V = 0.0;
constexpr double CRV_ZERO_TO_V = 1.0;

const char* const g_apszCornerText[CORNER_COUNT] = {"Typical", "Minimum", "Maximum"};

enum eTrackState { TRACK_NONE = 0, TRACK_SEEN = 1, TRACK_REPORTED = 2 };
enum eTrackDir { DIR_UNKNOWN = 0, DIR_UP = 1, DIR_DOWN = 2 };

// Monotonic tracker of one column while a table is read.
struct Tracker {
    double dLast;
    int eState;
    int eDir;
};

// The row with the lowest (or highest) voltage seen so far.
struct TableEnd {
    bool bSet;
    double dV;
    double dTyp;
    unsigned eTypState;
};

struct ZeroTable {
    RNGP aRows[2];
    CRV crv;
};

struct CrvState {
    unsigned long ulStartLine = 0;
    TableEnd low{};
    TableEnd high{};
    // The voltage column and the current of each corner.
    Tracker trackVoltage{};
    Tracker aTrackCorner[CORNER_COUNT]{};
    // The table being read, its last row and its row count, so that rows
    // are appended in constant time.
    const CRV* pReading = nullptr;
    RNGP* pTail = nullptr;
    unsigned nRows = 0;
    // Shared constant tables; made on first use and never freed.
    ZeroTable zeroFixed{};
    bool bZeroFixedMade = false;
    ZeroTable zeroAt{};
};

CrvState g_crv;

// Read from the row itself: this is the innermost step of every walk
// over a table.
bool CornerValue(const RNGP* pRow, eCorner eWhich, double* pd) {
    switch (eWhich) {
        case eCorner::TYP: *pd = pRow->dTyp; return pRow->eTypState == VALUE_NUMBER;
        case eCorner::MIN: *pd = pRow->dMin; return pRow->eMinState == VALUE_NUMBER;
        case eCorner::MAX: *pd = pRow->dMax; return pRow->eMaxState == VALUE_NUMBER;
    }
    return false;
}

// A point of a corner: a row with a numeric voltage and a numeric current.
bool TakePoint(const RNGP* pRow, eCorner eWhich, double* pdV, double* pdI) {
    double dI;
    if (pRow->eXState != VALUE_NUMBER || !CornerValue(pRow, eWhich, &dI)) return false;
    if (pdV != nullptr) *pdV = pRow->dX;
    if (pdI != nullptr) *pdI = dI;
    return true;
}

RNGP* NextVoltageRow(RNGP* pRow) {
    while (pRow != nullptr && pRow->eXState != VALUE_NUMBER) pRow = pRow->pNext;
    return pRow;
}

void ClearReading(unsigned long ulStartLine) {
    g_crv.ulStartLine = ulStartLine;
    g_crv.low = TableEnd{};
    g_crv.high = TableEnd{};
    g_crv.trackVoltage = Tracker{};
    for (Tracker& track : g_crv.aTrackCorner) track = Tracker{};
    g_crv.pReading = nullptr;
    g_crv.pTail = nullptr;
    g_crv.nRows = 0;
}

// Appends a row to the table being read and returns its row count.
unsigned AppendRow(CRV* pCrv, RNGP* pRow) {
    if (g_crv.pReading != pCrv) {
        g_crv.pReading = pCrv;
        g_crv.pTail = nullptr;
        g_crv.nRows = 0;
        for (RNGP* p = pCrv->pRows; p != nullptr; p = p->pNext, ++g_crv.nRows) g_crv.pTail = p;
    }
    RNGP_AppendAfter(&pCrv->pRows, g_crv.pTail, pRow);
    g_crv.pTail = pRow;
    return ++g_crv.nRows;
}

// Each column is reported at most once per table.
void TrackColumn(Tracker& track, unsigned eState, double d, const char* pszName, const char* pszColumn) {
    if (eState != VALUE_NUMBER || track.eState == TRACK_REPORTED) return;
    if (track.eState == TRACK_NONE) {
        track.eState = TRACK_SEEN;
    } else if (track.eDir == DIR_UNKNOWN) {
        if (d > track.dLast) track.eDir = DIR_UP;
        if (d < track.dLast) track.eDir = DIR_DOWN;
    } else if ((track.eDir == DIR_UP && d < track.dLast) ||
               (track.eDir == DIR_DOWN && d > track.dLast)) {
        DIAG_WarningLine("%s %s data is non-monotonic", pszName, pszColumn);
        track.eState = TRACK_REPORTED;
    }
    track.dLast = d;
}

void SetEnd(TableEnd* pEnd, const RNGP* pRow) {
    pEnd->bSet = true;
    pEnd->dV = pRow->dX;
    pEnd->dTyp = pRow->dTyp;
    pEnd->eTypState = pRow->eTypState;
}

// Among rows of equal extreme voltage the first with a numeric typical
// current is kept.
void UpdateEnds(const RNGP* pRow) {
    TableEnd& low = g_crv.low;
    TableEnd& high = g_crv.high;
    double dV = pRow->dX;
    if (!low.bSet) {
        SetEnd(&low, pRow);
        SetEnd(&high, pRow);
    } else if (dV < low.dV || (dV == low.dV && low.eTypState != VALUE_NUMBER)) {
        SetEnd(&low, pRow);
    } else if (dV > high.dV || (dV == high.dV && high.eTypState != VALUE_NUMBER)) {
        SetEnd(&high, pRow);
    }
}

bool IsNA(const RNGP* pRow, eCorner eWhich) {
    double d;
    return RNGP_CornerState(pRow, eWhich, &d) == VALUE_NA;
}

void CheckEndRowNA(const RNGP* pRow, const char* pszWhich, const RNGP* pFirst,
                   const char* pszName) {
    for (eCorner eWhich : g_aeCorners) {
        if (!IsNA(pRow, eWhich)) continue;
        if (eWhich != eCorner::TYP && !RNGP_AnyNumber(pFirst, eWhich)) continue;
        DIAG_Error("%s %s Value Cannot Be 'NA' for %s Beginning at Line %d", pszWhich,
                   g_apszCornerText[CornerIndex(eWhich)], pszName, static_cast<int>(g_crv.ulStartLine));
    }
}

bool IsEclType(unsigned eModelType) {
    return eModelType == MT_INPUT_ECL || eModelType == MT_OUTPUT_ECL || eModelType == MT_IO_ECL ||
           eModelType == MT_3_STATE_ECL;
}

enum eExpected { EXPECT_NONE, EXPECT_INCREASING, EXPECT_DECREASING };

eExpected ExpectedDirection(unsigned eModelType, int eKeyword) {
    if (IsEclType(eModelType)) return eKeyword == KW_GND_CLAMP ? EXPECT_INCREASING : EXPECT_DECREASING;
    if (eModelType == MT_SERIES || eModelType == MT_SERIES_SWITCH) {
        if (eKeyword == KW_SERIES_CURRENT) return EXPECT_NONE;
        if (eKeyword == KW_SERIES_MOSFET || eKeyword == KW_PULLDOWN || eKeyword == KW_GND_CLAMP)
            return EXPECT_INCREASING;
        return EXPECT_DECREASING;
    }
    if (eKeyword == KW_PULLDOWN || eKeyword == KW_GND_CLAMP) return EXPECT_INCREASING;
    return EXPECT_DECREASING;
}

// The current between the lowest and the highest voltage must run the way
// the table's kind and the model type expect.
void CheckCurrentDirection(const char* pszOwner, unsigned eModelType, int eKeyword,
                           const char* pszName, const char* pszOwnerKind) {
    const TableEnd& low = g_crv.low;
    const TableEnd& high = g_crv.high;
    if (eModelType == MT_NOT_GIVEN || eModelType == MT_NO_TYPE) return;
    if (!low.bSet || low.eTypState != VALUE_NUMBER || high.eTypState != VALUE_NUMBER) return;

    const char* pszWrong = nullptr;
    switch (ExpectedDirection(eModelType, eKeyword)) {
        case EXPECT_INCREASING:
            if (low.dTyp > high.dTyp) pszWrong = "Decreasing";
            break;
        case EXPECT_DECREASING:
            if (low.dTyp < high.dTyp) pszWrong = "Increasing";
            break;
        case EXPECT_NONE:
            break;
    }
    if (pszWrong == nullptr) return;
    if (eKeyword == KW_SERIES_MOSFET)
        DIAG_Error("%s %s: %s has %s Current", pszOwnerKind, pszOwner, pszName, pszWrong);
    else
        DIAG_Warning("%s %s: %s has %s Current", pszOwnerKind, pszOwner, pszName, pszWrong);
}

void SetZeroRow(RNGP* pRow, double dV) {
    *pRow = RNGP{};
    pRow->dX = dV;
    pRow->eXState = VALUE_NUMBER;
    for (eCorner eWhich : g_aeCorners) RNGP_SetCorner(pRow, eWhich, 0.0);
}

CRV* MakeZeroTable(ZeroTable* pTable, double dV1, double dV2) {
    SetZeroRow(&pTable->aRows[0], dV1);
    SetZeroRow(&pTable->aRows[1], dV2);
    pTable->aRows[0].pNext = &pTable->aRows[1];
    pTable->aRows[1].pPrev = &pTable->aRows[0];
    pTable->crv.pRows = &pTable->aRows[0];
    return &pTable->crv;
}

// A reference starts from the typical number and is replaced by the
// corner's number when that is given.
void ApplyReference(const RNG* pRng, eCorner eWhich, double* pdRef) {
    if (pRng == nullptr) return;
    if (pRng->eTypState == VALUE_NUMBER) *pdRef = pRng->dTyp;
    CRV_RangeValue(pRng, eWhich, pdRef);
}

// Makes a descending table ascending; returns whether it was reversed.
bool MakeAscending(CRV* pCrv) {
    if (pCrv == nullptr || CRV_Direction(pCrv->pRows) >= 0) return false;
    pCrv->pRows = CRV_Reverse(pCrv->pRows);
    return true;
}

void RestoreOrder(CRV* pCrv, bool bReversed) {
    if (bReversed) pCrv->pRows = CRV_Reverse(pCrv->pRows);
}

// One input of CRV_Combine: its next voltage row and a cursor per corner.
struct CombineInput {
    RNGP* pRow;
    RNGP* apCursor[CORNER_COUNT];
    bool abHasCorner[CORNER_COUNT];
    // One of the shared zero tables: its current is 0 at every voltage, so
    // it adds its voltages and a zero that needs no interpolation.
    bool bZero;
};

bool IsZeroTable(const CRV* pCrv) { return pCrv == &g_crv.zeroFixed.crv || pCrv == &g_crv.zeroAt.crv; }

// Only the selected corners are looked up: a corner a table lacks costs a
// walk over all of its rows.
void InitCombineInput(CombineInput* pIn, CRV* pCrv, CORNER_SET corners) {
    RNGP* pFirst = pCrv != nullptr ? pCrv->pRows : nullptr;
    pIn->pRow = NextVoltageRow(pFirst);
    pIn->bZero = IsZeroTable(pCrv);
    for (eCorner eWhich : g_aeCorners) {
        pIn->apCursor[CornerIndex(eWhich)] = pFirst;
        pIn->abHasCorner[CornerIndex(eWhich)] =
            corners.Has(eWhich) && CRV_FirstPoint(pFirst, eWhich, nullptr, nullptr) != nullptr;
    }
}

// The next output voltage of a combination; advances the inputs it uses.
double NextCombinedVoltage(CombineInput* pA, CombineInput* pB) {
    double dV;
    if (pA->pRow != nullptr && pB->pRow != nullptr &&
        std::fabs(pA->pRow->dX - pB->pRow->dX) < CRV_EPSILON) {
        dV = std::fmin(pA->pRow->dX, pB->pRow->dX);
        pA->pRow = NextVoltageRow(pA->pRow->pNext);
        pB->pRow = NextVoltageRow(pB->pRow->pNext);
    } else if (pB->pRow == nullptr || (pA->pRow != nullptr && pA->pRow->dX < pB->pRow->dX)) {
        dV = pA->pRow->dX;
        pA->pRow = NextVoltageRow(pA->pRow->pNext);
    } else {
        dV = pB->pRow->dX;
        pB->pRow = NextVoltageRow(pB->pRow->pNext);
    }
    return dV;
}

void SumCorner(CombineInput* pA, CombineInput* pB, eCorner eWhich, RNGP* pOut) {
    const int i = CornerIndex(eWhich);
    double dSum = 0.0;
    bool bAny = false;
    for (CombineInput* pIn : {pA, pB}) {
        double dI;
        if (!pIn->abHasCorner[i]) continue;
        if (pIn->bZero) {
            // Adding its +0.0 would leave the sum as it is.
            bAny = true;
            continue;
        }
        if (CRV_Interpolate(&pIn->apCursor[i], 1, pOut->dX, eWhich, &dI)) {
            dSum += dI;
            bAny = true;
        }
    }
    if (bAny) RNGP_SetCorner(pOut, eWhich, dSum);
}

// The rows of the result come from the row store, which hands them out
// without a call to the allocator: the plausibility checks combine
// thousands of tables per file.
CRV* CombineAscending(CRV* pCrvA, CRV* pCrvB, CORNER_SET corners) {
    CRV* pOut = nullptr;
    if (!CMN_Alloc(&pOut, sizeof *pOut)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return nullptr;
    }
    CombineInput inA, inB;
    InitCombineInput(&inA, pCrvA, corners);
    InitCombineInput(&inB, pCrvB, corners);
    RNGP* pTail = nullptr;
    while (inA.pRow != nullptr || inB.pRow != nullptr) {
        RNGP* pRow = nullptr;
        if (!RNGP_Create(&pRow)) {
            CRV_Free(pOut);
            return nullptr;
        }
        pRow->dX = NextCombinedVoltage(&inA, &inB);
        pRow->eXState = VALUE_NUMBER;
        for (eCorner eWhich : g_aeCorners)
            if (corners.Has(eWhich)) SumCorner(&inA, &inB, eWhich, pRow);
        if (pTail == nullptr)
            pOut->pRows = pRow;
        else
            pTail->pNext = pRow;
        pRow->pPrev = pTail;
        pTail = pRow;
    }
    return pOut;
}

// ---- Point tables ------------------------------------------------------
// The rules below are those of NextCombinedVoltage, SumCorner and
// CRV_Interpolate (ascending) written over arrays; any change to one must
// be made to the other.

// CRV_Direction over the voltages of the rows that have one.
int VoltageDirection(const std::vector<double>& adV) {
    for (size_t i = 1; i < adV.size(); ++i) {
        if (adV[i] > adV[i - 1]) return 1;
        if (adV[i] < adV[i - 1]) return -1;
    }
    return 0;
}

void ReversePoints(CRVPTS* pPts) {
    std::reverse(pPts->adV.begin(), pPts->adV.end());
    std::reverse(pPts->adI.begin(), pPts->adI.end());
}

bool MakePointsAscending(CRVPTS* pPts) {
    if (VoltageDirection(pPts->adV) >= 0) return false;
    ReversePoints(pPts);
    return true;
}

// Sizes both columns; the tables are sized to their most points first and
// then cut to what was written, so that a point costs two stores.
void SizePoints(CRVPTS* pPts, size_t nCount) {
    pPts->adV.resize(nCount);
    pPts->adI.resize(nCount);
}

// The numeric voltages and the corner's points of a table, made ascending
// the way CRV_Combine reverses a descending input.
void TakeRows(const CRV* pCrv, eCorner eWhich, CRVROWS* pRows) {
    const RNGP* pFirst = pCrv != nullptr ? pCrv->pRows : nullptr;
    size_t nRows = 0;
    for (const RNGP* pRow = pFirst; pRow != nullptr; pRow = pRow->pNext) ++nRows;
    pRows->adRowV.resize(nRows);
    SizePoints(&pRows->points, nRows);
    double* pdRowV = pRows->adRowV.data();
    double* pdV = pRows->points.adV.data();
    double* pdI = pRows->points.adI.data();
    size_t nVoltages = 0, nPoints = 0;
    for (const RNGP* pRow = pFirst; pRow != nullptr; pRow = pRow->pNext) {
        if (pRow->eXState != VALUE_NUMBER) continue;
        pdRowV[nVoltages++] = pRow->dX;
        if (!CornerValue(pRow, eWhich, &pdI[nPoints])) continue;
        pdV[nPoints++] = pRow->dX;
    }
    pRows->adRowV.resize(nVoltages);
    SizePoints(&pRows->points, nPoints);
    if (VoltageDirection(pRows->adRowV) >= 0) return;
    std::reverse(pRows->adRowV.begin(), pRows->adRowV.end());
    ReversePoints(&pRows->points);
}

// A walk over a point table with its cursor, the index of a point.
struct PointWalk {
    const double* adV;
    const double* adI;
    size_t nCount;
    size_t nCursor;
};

PointWalk StartWalk(const CRVPTS& pts) {
    return PointWalk{pts.adV.data(), pts.adI.data(), pts.adV.size(), 0};
}

// CRV_Interpolate walking upwards from the cursor.  Inline: it is the
// innermost step of every combination.
inline bool InterpolatePoints(PointWalk* pWalk, double dV, double* pdI) {
    const double* adV = pWalk->adV;
    const double* adI = pWalk->adI;
    const size_t nCount = pWalk->nCount;
    if (nCount == 0) return false;
    // The segment from point a to point b.
    size_t a = pWalk->nCursor;
    size_t b = a + 1;
    double dV1 = adV[a], dI1 = adI[a], dV2, dI2;
    if (b == nCount) {
        // The cursor stands on the last point: use the segment ending there.
        b = a;
        dV2 = dV1;
        dI2 = dI1;
        if (a == 0) {
            *pdI = dI2;  // a single point: the table is flat
            return true;
        }
        a = b - 1;
        dV1 = adV[a];
        dI1 = adI[a];
    } else {
        dV2 = adV[b];
        dI2 = adI[b];
        if (!(dV1 >= dV)) {
            while (!(dV2 >= dV) && b + 1 < nCount) {
                a = b++;
                dV1 = dV2;
                dI1 = dI2;
                dV2 = adV[b];
                dI2 = adI[b];
            }
        }
    }
    if (dV1 == dV2) {
        if (a > 0) {
            dV2 = dV1;
            dI2 = dI1;
            --a;
            dV1 = adV[a];
            dI1 = adI[a];
        }
        if (dV1 == dV2) dV2 += CRV_EPSILON;
    }
    pWalk->nCursor = a;
    if (dV1 == dV2) {
        *pdI = dI2;
        return true;
    }
    *pdI = dI2 + (dI1 - dI2) / (dV1 - dV2) * (dV - dV2);
    return true;
}

// Calls fOut with each voltage of the union of two ascending voltage
// lists, as NextCombinedVoltage picks them.
template <typename EMIT>
void MergeVoltages(const double* pdA, size_t nA, const double* pdB, size_t nB, EMIT fOut) {
    size_t i = 0, j = 0;
    while (i < nA || j < nB) {
        if (i < nA && j < nB && std::fabs(pdA[i] - pdB[j]) < CRV_EPSILON) {
            fOut(std::fmin(pdA[i], pdB[j]));
            ++i;
            ++j;
        } else if (j == nB || (i < nA && pdA[i] < pdB[j])) {
            fOut(pdA[i++]);
        } else {
            fOut(pdB[j++]);
        }
    }
}

void CombineAscendingPoints(const CRVPTS& a, const CRVPTS& b, CRVPTS* pOut) {
    SizePoints(pOut, a.adV.size() + b.adV.size());
    double* pdV = pOut->adV.data();
    double* pdI = pOut->adI.data();
    size_t nOut = 0;
    PointWalk walkA = StartWalk(a), walkB = StartWalk(b);
    MergeVoltages(a.adV.data(), a.adV.size(), b.adV.data(), b.adV.size(), [&](double dV) {
        double dSum = 0.0, dI;
        bool bAny = false;
        if (InterpolatePoints(&walkA, dV, &dI)) {
            dSum += dI;
            bAny = true;
        }
        if (InterpolatePoints(&walkB, dV, &dI)) {
            dSum += dI;
            bAny = true;
        }
        // A voltage comes from a point of one of them.
        TAV_ASSERT(bAny);
        pdV[nOut] = dV;
        pdI[nOut++] = dSum;
    });
    SizePoints(pOut, nOut);
}

void ReportNoMemory(int nLine) { DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, nLine); }

}  // namespace

void CRV_Reset() { ClearReading(0); }

int CRV_Begin(char* pszLine, const char* pszName, CRV** ppSlot) {
    TAV_ASSERT(pszLine != nullptr && pszName != nullptr && ppSlot != nullptr);
    if (*ppSlot != nullptr) {
        DIAG_ErrorLine("%s Already Defined", pszName);
        CRV_Free(*ppSlot);
        *ppSlot = nullptr;
    }
    CRV* pCrv = nullptr;
    if (!CMN_Alloc(&pCrv, sizeof *pCrv)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return 0;
    }
    *ppSlot = pCrv;
    CMN_CheckKeywordAlone(pszLine, pszName);
    ClearReading(PARSE_GetLineNumber());
    return 1;
}

void CRV_AddRow(const char* pszLine, CRV* pCrv, const char* pszName) {
    TAV_ASSERT(pszLine != nullptr && pszName != nullptr);
    if (pCrv == nullptr) return;  // the table itself could not be made
    RNGP* pRow = nullptr;
    if (!RNGP_Parse(pszLine, pszName, "Voltage", &pRow) || pRow == nullptr) return;
    const unsigned nRows = AppendRow(pCrv, pRow);

    TrackColumn(g_crv.trackVoltage, pRow->eXState, pRow->dX, pszName, "Voltage");
    for (eCorner eWhich : g_aeCorners) {
        double dI;
        const unsigned eState = RNGP_CornerState(pRow, eWhich, &dI);
        TrackColumn(g_crv.aTrackCorner[CornerIndex(eWhich)], eState, dI, pszName,
                    g_apszCornerText[CornerIndex(eWhich)]);
    }
    if (pRow->eXState == VALUE_NA) DIAG_ErrorLine("Voltage Value Cannot Be 'NA'");
    if (pRow->eXState == VALUE_NUMBER) UpdateEnds(pRow);
    if (nRows == CRV_MAX_POINTS + 1)
        DIAG_ErrorLine("More Than 100 Voltage Points Provided For %s", pszName);
}

void CRV_End(const char* pszOwner, unsigned eModelType, int eKeyword, CRV** ppSlot,
             const char* pszName, const char* pszOwnerKind) {
    TAV_ASSERT(pszOwner != nullptr && ppSlot != nullptr && pszName != nullptr &&
               pszOwnerKind != nullptr);
    CRV* pCrv = *ppSlot;
    if (pCrv == nullptr) return;

    RNGP* pFirst = pCrv->pRows;
    RNGP* pLast = pFirst;
    int nRows = 0;
    for (RNGP* pRow = pFirst; pRow != nullptr; pRow = pRow->pNext) {
        pLast = pRow;
        ++nRows;
    }
    if (nRows < 2) {
        DIAG_Error("Require at least 2 Voltage Points for %s Beginning at Line %d", pszName,
                   static_cast<int>(g_crv.ulStartLine));
        return;
    }
    CheckEndRowNA(pFirst, "First", pFirst, pszName);
    CheckEndRowNA(pLast, "Last", pFirst, pszName);
    CheckCurrentDirection(pszOwner, eModelType, eKeyword, pszName, pszOwnerKind);
}

void CRV_Free(CRV* pCrv) {
    if (pCrv == nullptr) return;
    RNGP_FreeList(pCrv->pRows);
    CMN_Free(pCrv);
}

const char* CRV_CornerName(eCorner eWhich) {
    static const char* const kNames[CORNER_COUNT] = {"TYP", "MIN", "MAX"};
    return kNames[CornerIndex(eWhich)];
}

int CRV_RangeValue(const RNG* pRng, eCorner eWhich, double* pdValue) {
    TAV_ASSERT(pdValue != nullptr);
    if (pRng == nullptr) return 0;
    double d;
    if (RNG_CornerState(pRng, eWhich, &d) != VALUE_NUMBER) return 0;
    *pdValue = d;
    return 1;
}

int CRV_TooFewPoints(const RNGP* pFirst, eCorner eWhich) {
    int nPoints = 0;
    for (const RNGP* pRow = pFirst; pRow != nullptr && nPoints < 2; pRow = pRow->pNext)
        if (TakePoint(pRow, eWhich, nullptr, nullptr)) ++nPoints;
    return nPoints < 2 ? 1 : 0;
}

int CRV_Direction(const RNGP* pFirst) {
    bool bHavePrev = false;
    double dPrev = 0.0;
    for (const RNGP* pRow = pFirst; pRow != nullptr; pRow = pRow->pNext) {
        if (pRow->eXState != VALUE_NUMBER) continue;
        if (bHavePrev && pRow->dX > dPrev) return 1;
        if (bHavePrev && pRow->dX < dPrev) return -1;
        dPrev = pRow->dX;
        bHavePrev = true;
    }
    return 0;
}

RNGP* CRV_Reverse(RNGP* pFirst) {
    RNGP* pNewFirst = pFirst;
    for (RNGP* pRow = pFirst; pRow != nullptr; pRow = pRow->pPrev) {
        RNGP* pNext = pRow->pNext;
        pRow->pNext = pRow->pPrev;
        pRow->pPrev = pNext;
        pNewFirst = pRow;
    }
    return pNewFirst;
}

RNGP* CRV_FirstPoint(RNGP* pRow, eCorner eWhich, double* pdV, double* pdI) {
    for (; pRow != nullptr; pRow = pRow->pNext)
        if (TakePoint(pRow, eWhich, pdV, pdI)) return pRow;
    return nullptr;
}

RNGP* CRV_NextPoint(RNGP* pRow, eCorner eWhich, double* pdV, double* pdI) {
    return pRow != nullptr ? CRV_FirstPoint(pRow->pNext, eWhich, pdV, pdI) : nullptr;
}

RNGP* CRV_LastPoint(RNGP* pRow, eCorner eWhich, double* pdV, double* pdI) {
    if (pRow == nullptr) return nullptr;
    while (pRow->pNext != nullptr) pRow = pRow->pNext;
    for (; pRow != nullptr; pRow = pRow->pPrev)
        if (TakePoint(pRow, eWhich, pdV, pdI)) return pRow;
    return nullptr;
}

RNGP* CRV_PrevPoint(RNGP* pRow, eCorner eWhich, double* pdV, double* pdI) {
    if (pRow == nullptr) return nullptr;
    for (pRow = pRow->pPrev; pRow != nullptr; pRow = pRow->pPrev)
        if (TakePoint(pRow, eWhich, pdV, pdI)) return pRow;
    return nullptr;
}

void CRV_ShiftVoltages(RNGP* pFirst, double dOffset) {
    for (RNGP* pRow = pFirst; pRow != nullptr; pRow = pRow->pNext)
        if (pRow->eXState == VALUE_NUMBER) pRow->dX += dOffset;
}

void CRV_NegateVoltages(RNGP* pFirst) {
    for (RNGP* pRow = pFirst; pRow != nullptr; pRow = pRow->pNext)
        if (pRow->eXState == VALUE_NUMBER) pRow->dX = -pRow->dX;
}

int CRV_Interpolate(RNGP** ppCursor, int nDirection, double dV, eCorner eWhich, double* pdI) {
    TAV_ASSERT(ppCursor != nullptr && pdI != nullptr);
    const bool bAscending = nDirection >= 0;
    auto reached = [&](double dPointV) { return bAscending ? dPointV >= dV : dPointV <= dV; };

    double dV1, dI1, dV2, dI2;
    RNGP* pA = CRV_FirstPoint(*ppCursor, eWhich, &dV1, &dI1);
    if (pA == nullptr) return 0;
    RNGP* pB = CRV_NextPoint(pA, eWhich, &dV2, &dI2);
    if (pB == nullptr) {
        // The cursor stands on the last point: use the segment ending there.
        pB = pA;
        dV2 = dV1;
        dI2 = dI1;
        pA = CRV_PrevPoint(pB, eWhich, &dV1, &dI1);
        if (pA == nullptr) {
            *ppCursor = pB;
            *pdI = dI2;  // a single point: the table is flat
            return 1;
        }
    } else if (!reached(dV1)) {
        // Walk to the first point at or beyond the voltage; past the last
        // point the last segment is extended.
        while (!reached(dV2)) {
            double dVn, dIn;
            RNGP* pNext = CRV_NextPoint(pB, eWhich, &dVn, &dIn);
            if (pNext == nullptr) break;
            pA = pB;
            dV1 = dV2;
            dI1 = dI2;
            pB = pNext;
            dV2 = dVn;
            dI2 = dIn;
        }
    }

    if (dV1 == dV2) {
        double dV0, dI0;
        RNGP* pBefore = CRV_PrevPoint(pA, eWhich, &dV0, &dI0);
        if (pBefore != nullptr) {
            pB = pA;
            dV2 = dV1;
            dI2 = dI1;
            pA = pBefore;
            dV1 = dV0;
            dI1 = dI0;
        }
        if (dV1 == dV2) dV2 += bAscending ? CRV_EPSILON : -CRV_EPSILON;
    }
    *ppCursor = pA;
    // Voltages too large for the widening to show: the segment is flat.
    if (dV1 == dV2) {
        *pdI = dI2;
        return 1;
    }
    *pdI = dI2 + (dI1 - dI2) / (dV1 - dV2) * (dV - dV2);
    return 1;
}

int CRV_ValueAt(CRV* pCrv, eCorner eWhich, double* pdI, double dV) {
    TAV_ASSERT(pdI != nullptr);
    if (pCrv == nullptr) return 0;
    RNGP* pCursor = pCrv->pRows;
    return CRV_Interpolate(&pCursor, CRV_Direction(pCrv->pRows), dV, eWhich, pdI);
}

int CRV_SumAt(CRV* pCrvA, CRV* pCrvB, double dV, RNGP* pResult) {
    TAV_ASSERT(pResult != nullptr);
    int bAny = 0;
    for (eCorner eWhich : g_aeCorners) {
        double dA = 0.0, dB = 0.0;
        int bA = CRV_ValueAt(pCrvA, eWhich, &dA, dV);
        int bB = CRV_ValueAt(pCrvB, eWhich, &dB, dV);
        if (!bA && !bB) continue;
        RNGP_SetCorner(pResult, eWhich, (bA ? dA : 0.0) + (bB ? dB : 0.0));
        bAny = 1;
    }
    return bAny;
}

CRV* CRV_Combine(CRV* pCrvA, CRV* pCrvB, CORNER_SET corners) {
    bool bReversedA = MakeAscending(pCrvA);
    bool bReversedB = MakeAscending(pCrvB);
    CRV* pOut = CombineAscending(pCrvA, pCrvB, corners);
    RestoreOrder(pCrvB, bReversedB);
    RestoreOrder(pCrvA, bReversedA);
    return pOut;
}

void CRV_References(const MDL* pMdl, eCorner eWhich, double* pdPowerClamp, double* pdPullup,
                    double* pdGndClamp, double* pdPulldown) {
    TAV_ASSERT(pMdl != nullptr && pdPowerClamp != nullptr && pdPullup != nullptr &&
               pdGndClamp != nullptr && pdPulldown != nullptr);
    *pdPowerClamp = 0.0;
    *pdPullup = 0.0;
    *pdGndClamp = 0.0;
    *pdPulldown = 0.0;
    ApplyReference(pMdl->pVoltRange, eWhich, pdPowerClamp);
    ApplyReference(pMdl->pPowerClampRef, eWhich, pdPowerClamp);
    ApplyReference(pMdl->pVoltRange, eWhich, pdPullup);
    ApplyReference(pMdl->pPullupRef, eWhich, pdPullup);
    ApplyReference(pMdl->pGndClampRef, eWhich, pdGndClamp);
    // ECL pull-downs are referenced to the supply as well.
    if (IsEclType(pMdl->eModelType)) ApplyReference(pMdl->pVoltRange, eWhich, pdPulldown);
    ApplyReference(pMdl->pPulldownRef, eWhich, pdPulldown);
}

CRV* CRV_ZeroTable() {
    if (!g_crv.bZeroFixedMade) {
        MakeZeroTable(&g_crv.zeroFixed, CRV_ZERO_FROM_V, CRV_ZERO_TO_V);
        g_crv.bZeroFixedMade = true;
    }
    return &g_crv.zeroFixed.crv;
}

CRV* CRV_ZeroTableAt(double dV1, double dV2) { return MakeZeroTable(&g_crv.zeroAt, dV1, dV2); }

int CRV_CornerPoints(const CRV* pCrv, eCorner eWhich, CRVROWS* pScratch, CRVPTS* pOut) {
    TAV_ASSERT(pScratch != nullptr && pOut != nullptr);
    static const double adZeroV[2] = {CRV_ZERO_FROM_V, CRV_ZERO_TO_V};
    try {
        TakeRows(pCrv, eWhich, pScratch);
        PointWalk walk = StartWalk(pScratch->points);
        const std::vector<double>& adRowV = pScratch->adRowV;
        SizePoints(pOut, adRowV.size() + 2);
        double* pdV = pOut->adV.data();
        double* pdI = pOut->adI.data();
        size_t nOut = 0;
        MergeVoltages(adRowV.data(), adRowV.size(), adZeroV, 2, [&](double dV) {
            // The zero table has every corner and adds nothing.
            double dSum = 0.0, dI;
            if (InterpolatePoints(&walk, dV, &dI)) dSum += dI;
            pdV[nOut] = dV;
            pdI[nOut++] = dSum;
        });
        SizePoints(pOut, nOut);
    } catch (const std::bad_alloc&) {
        ReportNoMemory(__LINE__);
        return 0;
    }
    return 1;
}

void CRV_ShiftPoints(CRVPTS* pPts, double dOffset) {
    TAV_ASSERT(pPts != nullptr);
    for (double& dV : pPts->adV) dV += dOffset;
}

void CRV_NegatePoints(CRVPTS* pPts) {
    TAV_ASSERT(pPts != nullptr);
    for (double& dV : pPts->adV) dV = -dV;
}

int CRV_CombinePoints(CRVPTS* pA, CRVPTS* pB, CRVPTS* pOut) {
    TAV_ASSERT(pA != nullptr && pB != nullptr && pOut != nullptr && pOut != pA && pOut != pB);
    const bool bReversedA = MakePointsAscending(pA);
    const bool bReversedB = MakePointsAscending(pB);
    int bMade = 1;
    try {
        CombineAscendingPoints(*pA, *pB, pOut);
    } catch (const std::bad_alloc&) {
        ReportNoMemory(__LINE__);
        bMade = 0;
    }
    if (bReversedB) ReversePoints(pB);
    if (bReversedA) ReversePoints(pA);
    return bMade;
}
