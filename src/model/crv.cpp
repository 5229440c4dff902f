#define TAV_MODULE "crv"
#include "model/crv.h"

#include <cmath>
#include <initializer_list>

#include "model/mdl.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/lines.h"
#include "core/rng.h"
#include "core/tav_assert.h"

namespace {

enum { CRV_MAX_POINTS = 100 };

// Voltages closer than this are one point when tables are combined, and a
// degenerate segment is widened by it.
constexpr double CRV_EPSILON = 1e-5;

enum eColumn { COL_VOLTAGE = RNGP_COL_X, COL_TYP = RNGP_COL_TYP, COL_MIN = RNGP_COL_MIN, COL_MAX = RNGP_COL_MAX, COL_COUNT };
const char* const g_apszColumnName[COL_COUNT] = {"Voltage", "Typical", "Minimum", "Maximum"};

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
    Tracker aTrack[COL_COUNT]{};
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

bool ColumnValue(const RNGP* pRow, int eColumn, double* pd) {
    return RNGP_ColumnState(pRow, eColumn, pd) == VALUE_NUMBER;
}

bool CornerValue(const RNGP* pRow, int eCorner, double* pd) {
    switch (eCorner) {
        case CRV_TYP: return ColumnValue(pRow, COL_TYP, pd);
        case CRV_MIN: return ColumnValue(pRow, COL_MIN, pd);
        case CRV_MAX: return ColumnValue(pRow, COL_MAX, pd);
    }
    return false;
}

void SetCorner(RNGP* pRow, int eCorner, double d) {
    switch (eCorner) {
        case CRV_TYP: pRow->dTyp = d; pRow->eTypState = VALUE_NUMBER; break;
        case CRV_MIN: pRow->dMin = d; pRow->eMinState = VALUE_NUMBER; break;
        case CRV_MAX: pRow->dMax = d; pRow->eMaxState = VALUE_NUMBER; break;
    }
}

// A point of a corner: a row with a numeric voltage and a numeric current.
bool TakePoint(const RNGP* pRow, int eCorner, double* pdV, double* pdI) {
    double dI;
    if (pRow->eXState != VALUE_NUMBER || !CornerValue(pRow, eCorner, &dI)) return false;
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
    for (Tracker& track : g_crv.aTrack) track = Tracker{};
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
void TrackColumn(const RNGP* pRow, int eColumn, const char* pszName) {
    Tracker& track = g_crv.aTrack[eColumn];
    double d;
    if (!ColumnValue(pRow, eColumn, &d) || track.eState == TRACK_REPORTED) return;
    if (track.eState == TRACK_NONE) {
        track.eState = TRACK_SEEN;
    } else if (track.eDir == DIR_UNKNOWN) {
        if (d > track.dLast) track.eDir = DIR_UP;
        if (d < track.dLast) track.eDir = DIR_DOWN;
    } else if ((track.eDir == DIR_UP && d < track.dLast) ||
               (track.eDir == DIR_DOWN && d > track.dLast)) {
        DIAG_WarningLine("%s %s data is non-monotonic", pszName, g_apszColumnName[eColumn]);
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

bool IsNA(const RNGP* pRow, int eColumn) {
    double d;
    return RNGP_ColumnState(pRow, eColumn, &d) == VALUE_NA;
}

void CheckEndRowNA(const RNGP* pRow, const char* pszWhich, const RNGP* pFirst,
                   const char* pszName) {
    for (int eColumn = COL_TYP; eColumn <= COL_MAX; ++eColumn) {
        if (!IsNA(pRow, eColumn)) continue;
        if (eColumn != COL_TYP && !RNGP_AnyNumber(pFirst, eColumn)) continue;
        DIAG_Error("%s %s Value Cannot Be 'NA' for %s Beginning at Line %d", pszWhich,
                   g_apszColumnName[eColumn], pszName, static_cast<int>(g_crv.ulStartLine));
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
    SetCorner(pRow, CRV_TYP, 0.0);
    SetCorner(pRow, CRV_MIN, 0.0);
    SetCorner(pRow, CRV_MAX, 0.0);
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
void ApplyReference(const RNG* pRng, int eCorner, double* pdRef) {
    if (pRng == nullptr) return;
    if (pRng->eTypState == VALUE_NUMBER) *pdRef = pRng->dTyp;
    CRV_RangeValue(pRng, eCorner, pdRef);
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

const int g_aeCorners[3] = {CRV_TYP, CRV_MIN, CRV_MAX};

// One input of CRV_Combine: its next voltage row and a cursor per corner.
struct CombineInput {
    RNGP* pRow;
    RNGP* apCursor[3];
    bool abHasCorner[3];
};

void InitCombineInput(CombineInput* pIn, CRV* pCrv) {
    RNGP* pFirst = pCrv != nullptr ? pCrv->pRows : nullptr;
    pIn->pRow = NextVoltageRow(pFirst);
    for (int i = 0; i < 3; ++i) {
        pIn->apCursor[i] = pFirst;
        pIn->abHasCorner[i] = CRV_FirstPoint(pFirst, g_aeCorners[i], nullptr, nullptr) != nullptr;
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

void SumCorner(CombineInput* pA, CombineInput* pB, int iCorner, RNGP* pOut) {
    double dSum = 0.0;
    bool bAny = false;
    for (CombineInput* pIn : {pA, pB}) {
        double dI;
        if (!pIn->abHasCorner[iCorner]) continue;
        if (CRV_Interpolate(&pIn->apCursor[iCorner], 1, pOut->dX, g_aeCorners[iCorner], &dI)) {
            dSum += dI;
            bAny = true;
        }
    }
    if (bAny) SetCorner(pOut, g_aeCorners[iCorner], dSum);
}

CRV* CombineAscending(CRV* pCrvA, CRV* pCrvB, int nCornerBits) {
    CRV* pOut = nullptr;
    if (!CMN_Alloc(&pOut, sizeof *pOut)) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return nullptr;
    }
    CombineInput inA, inB;
    InitCombineInput(&inA, pCrvA);
    InitCombineInput(&inB, pCrvB);
    RNGP* pTail = nullptr;
    while (inA.pRow != nullptr || inB.pRow != nullptr) {
        RNGP* pRow = nullptr;
        if (!RNGP_Create(&pRow) || pRow == nullptr) {
            CRV_Free(pOut);
            return nullptr;
        }
        pRow->dX = NextCombinedVoltage(&inA, &inB);
        pRow->eXState = VALUE_NUMBER;
        for (int i = 0; i < 3; ++i)
            if ((nCornerBits & g_aeCorners[i]) != 0) SumCorner(&inA, &inB, i, pRow);
        // Appended through a tail pointer: combined tables can be long.
        if (pTail == nullptr)
            pOut->pRows = pRow;
        else
            pTail->pNext = pRow;
        pRow->pPrev = pTail;
        pTail = pRow;
    }
    return pOut;
}

}  // namespace

void CRV_Reset() { ClearReading(0); }

void CRV_CheckKeywordAlone(char* pszLine, const char* pszName) {
    TAV_ASSERT(pszLine != nullptr && pszName != nullptr);
    char* pszRest = pszLine;
    if (!CMN_SkipKeyword(&pszRest)) return;
    TOKENS tokens{};
    if (!CMN_Tokenize(pszRest, 1, &tokens)) return;
    if (tokens.nFound > 0)
        DIAG_ErrorLine("Incorrect Number of Line Items (%d) For %s: Expecting %d", tokens.nFound + 1,
                       pszName, 1);
    CMN_FreeTokens(&tokens);
}

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
    CRV_CheckKeywordAlone(pszLine, pszName);
    ClearReading(PARSE_GetLineNumber());
    return 1;
}

void CRV_AddRow(const char* pszLine, CRV* pCrv, const char* pszName) {
    TAV_ASSERT(pszLine != nullptr && pszName != nullptr);
    if (pCrv == nullptr) return;  // the table itself could not be made
    RNGP* pRow = nullptr;
    if (!RNGP_Parse(pszLine, pszName, "Voltage", &pRow) || pRow == nullptr) return;
    const unsigned nRows = AppendRow(pCrv, pRow);

    for (int eColumn = COL_VOLTAGE; eColumn < COL_COUNT; ++eColumn) TrackColumn(pRow, eColumn, pszName);
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

const char* CRV_CornerName(int eCorner) {
    switch (eCorner) {
        case CRV_TYP: return "TYP";
        case CRV_MIN: return "MIN";
        case CRV_MAX: return "MAX";
    }
    return "UNK";
}

int CRV_RangeValue(const RNG* pRng, int eCorner, double* pdValue) {
    TAV_ASSERT(pdValue != nullptr);
    if (pRng == nullptr) return 0;
    double d;
    unsigned eState;
    switch (eCorner) {
        case CRV_TYP: d = pRng->dTyp; eState = pRng->eTypState; break;
        case CRV_MIN: d = pRng->dMin; eState = pRng->eMinState; break;
        case CRV_MAX: d = pRng->dMax; eState = pRng->eMaxState; break;
        default: return 0;
    }
    if (eState != VALUE_NUMBER) return 0;
    *pdValue = d;
    return 1;
}

int CRV_TooFewPoints(const RNGP* pFirst, int eCorner) {
    int nPoints = 0;
    for (const RNGP* pRow = pFirst; pRow != nullptr && nPoints < 2; pRow = pRow->pNext)
        if (TakePoint(pRow, eCorner, nullptr, nullptr)) ++nPoints;
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

RNGP* CRV_FirstPoint(RNGP* pRow, int eCorner, double* pdV, double* pdI) {
    for (; pRow != nullptr; pRow = pRow->pNext)
        if (TakePoint(pRow, eCorner, pdV, pdI)) return pRow;
    return nullptr;
}

RNGP* CRV_NextPoint(RNGP* pRow, int eCorner, double* pdV, double* pdI) {
    return pRow != nullptr ? CRV_FirstPoint(pRow->pNext, eCorner, pdV, pdI) : nullptr;
}

RNGP* CRV_LastPoint(RNGP* pRow, int eCorner, double* pdV, double* pdI) {
    if (pRow == nullptr) return nullptr;
    while (pRow->pNext != nullptr) pRow = pRow->pNext;
    for (; pRow != nullptr; pRow = pRow->pPrev)
        if (TakePoint(pRow, eCorner, pdV, pdI)) return pRow;
    return nullptr;
}

RNGP* CRV_PrevPoint(RNGP* pRow, int eCorner, double* pdV, double* pdI) {
    if (pRow == nullptr) return nullptr;
    for (pRow = pRow->pPrev; pRow != nullptr; pRow = pRow->pPrev)
        if (TakePoint(pRow, eCorner, pdV, pdI)) return pRow;
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

int CRV_Interpolate(RNGP** ppCursor, int nDirection, double dV, int eCorner, double* pdI) {
    TAV_ASSERT(ppCursor != nullptr && pdI != nullptr);
    const bool bAscending = nDirection >= 0;
    auto reached = [&](double dPointV) { return bAscending ? dPointV >= dV : dPointV <= dV; };

    double dV1, dI1, dV2, dI2;
    RNGP* pA = CRV_FirstPoint(*ppCursor, eCorner, &dV1, &dI1);
    if (pA == nullptr) return 0;
    RNGP* pB = CRV_NextPoint(pA, eCorner, &dV2, &dI2);
    if (pB == nullptr) {
        // The cursor stands on the last point: use the segment ending there.
        pB = pA;
        dV2 = dV1;
        dI2 = dI1;
        pA = CRV_PrevPoint(pB, eCorner, &dV1, &dI1);
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
            RNGP* pNext = CRV_NextPoint(pB, eCorner, &dVn, &dIn);
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
        RNGP* pBefore = CRV_PrevPoint(pA, eCorner, &dV0, &dI0);
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

int CRV_ValueAt(CRV* pCrv, int eCorner, double* pdI, double dV) {
    TAV_ASSERT(pdI != nullptr);
    if (pCrv == nullptr) return 0;
    RNGP* pCursor = pCrv->pRows;
    return CRV_Interpolate(&pCursor, CRV_Direction(pCrv->pRows), dV, eCorner, pdI);
}

int CRV_SumAt(CRV* pCrvA, CRV* pCrvB, double dV, RNGP* pResult) {
    TAV_ASSERT(pResult != nullptr);
    int bAny = 0;
    for (int eCorner : g_aeCorners) {
        double dA = 0.0, dB = 0.0;
        int bA = CRV_ValueAt(pCrvA, eCorner, &dA, dV);
        int bB = CRV_ValueAt(pCrvB, eCorner, &dB, dV);
        if (!bA && !bB) continue;
        SetCorner(pResult, eCorner, (bA ? dA : 0.0) + (bB ? dB : 0.0));
        bAny = 1;
    }
    return bAny;
}

CRV* CRV_Combine(CRV* pCrvA, CRV* pCrvB, int nCornerBits) {
    bool bReversedA = MakeAscending(pCrvA);
    bool bReversedB = MakeAscending(pCrvB);
    CRV* pOut = CombineAscending(pCrvA, pCrvB, nCornerBits);
    RestoreOrder(pCrvB, bReversedB);
    RestoreOrder(pCrvA, bReversedA);
    return pOut;
}

void CRV_References(const MDL* pMdl, int eCorner, double* pdPowerClamp, double* pdPullup,
                    double* pdGndClamp, double* pdPulldown) {
    TAV_ASSERT(pMdl != nullptr && pdPowerClamp != nullptr && pdPullup != nullptr &&
               pdGndClamp != nullptr && pdPulldown != nullptr);
    *pdPowerClamp = 0.0;
    *pdPullup = 0.0;
    *pdGndClamp = 0.0;
    *pdPulldown = 0.0;
    ApplyReference(pMdl->pVoltRange, eCorner, pdPowerClamp);
    ApplyReference(pMdl->pPowerClampRef, eCorner, pdPowerClamp);
    ApplyReference(pMdl->pVoltRange, eCorner, pdPullup);
    ApplyReference(pMdl->pPullupRef, eCorner, pdPullup);
    ApplyReference(pMdl->pGndClampRef, eCorner, pdGndClamp);
    // ECL pull-downs are referenced to the supply as well.
    if (IsEclType(pMdl->eModelType)) ApplyReference(pMdl->pVoltRange, eCorner, pdPulldown);
    ApplyReference(pMdl->pPulldownRef, eCorner, pdPulldown);
}

CRV* CRV_ZeroTable() {
    if (!g_crv.bZeroFixedMade) {
        MakeZeroTable(&g_crv.zeroFixed, 0.0, 1.0);
        g_crv.bZeroFixedMade = true;
    }
    return &g_crv.zeroFixed.crv;
}

CRV* CRV_ZeroTableAt(double dV1, double dV2) { return MakeZeroTable(&g_crv.zeroAt, dV1, dV2); }
