#include "model/crv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <string>

#include "model/mdl.h"
#include "model/model_text.h"
#include "core/cmn.h"
#include "reader/read.h"
#include "core/lines.h"
#include "core/rng.h"

namespace {

// ------------------------------------------------------------ reading

// "n" rows of rising voltage and rising current.
std::string RisingRows(int n) {
    std::string strRows;
    for (int i = 0; i < n; ++i)
        strRows += std::to_string(i * 0.01) + " " + std::to_string(i) + "m NA NA\n";
    return strRows;
}

int RowCount(const CRV* pCrv) {
    int n = 0;
    for (const RNGP* pRow = pCrv != nullptr ? pCrv->pRows : nullptr; pRow != nullptr; pRow = pRow->pNext)
        ++n;
    return n;
}

TEST(CrvRead, EndOfTableChecks) {
    std::string strLog = ReadModels(CleanModel("O1") +          // 13-19
                                    "[Pulldown]\n"              // 20
                                    "-1 -10m NA NA\n"
                                    "0 0 NA NA\n"
                                    "1 10m NA NA\n"
                                    "[Pullup]\n"                // 24
                                    "0 0 NA NA\n"
                                    "1 10m NA NA\n"
                                    "[GND Clamp] extra\n"       // 27
                                    "0 0 NA NA\n"
                                    "[POWER Clamp]\n"           // 29
                                    "0 NA NA NA\n"              // 30
                                    "NA 1 2 NA\n"               // 31
                                    "1 0 NA NA\n"               // 32
                                    "[Pulldown]\n"              // 33
                                    "0 0 NA NA\n"
                                    "1 -1m NA NA\n");
    EXPECT_EQ("WARNING  - Model O1: Pullup has Increasing Current\n"
              "ERROR  (line   27) -\n    Incorrect Number of Line Items (2) For GND Clamp: Expecting 1\n"
              "ERROR  - Require at least 2 Voltage Points for GND Clamp Beginning at Line 27\n"
              "ERROR  (line   31) - Voltage Value Cannot Be 'NA'\n"
              "ERROR  - First Typical Value Cannot Be 'NA' for POWER Clamp Beginning at Line 29\n"
              "ERROR  - First Minimum Value Cannot Be 'NA' for POWER Clamp Beginning at Line 29\n"
              "ERROR  - Last Minimum Value Cannot Be 'NA' for POWER Clamp Beginning at Line 29\n"
              "ERROR  (line   33) - Pulldown Already Defined\n"
              "WARNING  - Model O1: Pulldown has Decreasing Current\n",
              strLog);
}

TEST(CrvRead, RowsOfWrongShape) {
    std::string strLog = ReadModels(CleanModel("O1") +          // 13-19
                                    "[Pulldown]\n"              // 20
                                    "5\n"                       // 21
                                    "0 1m 2m 3m 4m 5m 6m\n"     // 22
                                    "abc 1m NA NA\n"            // 23
                                    "1 2m 3m 4m\n",             // 24
                                    [](IBIS* pIbis) {
                                        CRV* pCrv = nullptr;
                                        MDL_GetPulldown(FindModel(pIbis, "O1"), &pCrv);
                                        EXPECT_EQ(4, RowCount(pCrv));  // every readable row is kept
                                    });
    EXPECT_EQ("ERROR  (line   21) - No typical Value Was Provided for Pulldown\n"
              "ERROR  (line   21) - No minimum Value Was Provided for Pulldown\n"
              "ERROR  (line   21) - No maximum Value Was Provided for Pulldown\n"
              "ERROR  (line   22) -\n    Incorrect Number of Line Items (7) For Pulldown: Expecting 4\n"
              "ERROR  (line   23) - Invalid Voltage Value (\"abc\")\n"
              "WARNING  (line   24) - Pulldown Voltage data is non-monotonic\n",
              strLog);
}

TEST(CrvRead, EachColumnIsReportedNonMonotonicOnce) {
    std::string strLog = ReadModels(CleanModel("O1") +          // 13-19
                                    "[Pulldown]\n"              // 20
                                    "0 0 NA NA\n"
                                    "1 1m NA NA\n"
                                    "1 2m NA NA\n"
                                    "0.5 3m NA NA\n"            // 24: voltage turns
                                    "2 2m NA NA\n"              // 25: current turns
                                    "0.1 1m NA NA\n");          // 26: both again
    EXPECT_EQ("WARNING  (line   24) - Pulldown Voltage data is non-monotonic\n"
              "WARNING  (line   25) - Pulldown Typical data is non-monotonic\n",
              strLog);
}

TEST(CrvRead, MoreThan100RowsAreReportedOnceAndKept) {
    std::string strLog = ReadModels(CleanModel("O1") + "[Pulldown]\n" + RisingRows(101) +  // 20, 21-121
                                        CleanModel("O2") + "[Pulldown]\n" + RisingRows(150),  // 122, 129
                                    [](IBIS* pIbis) {
                                        CRV* pCrv = nullptr;
                                        MDL_GetPulldown(FindModel(pIbis, "O2"), &pCrv);
                                        EXPECT_EQ(150, RowCount(pCrv));
                                    });
    EXPECT_EQ("ERROR  (line  121) - More Than 100 Voltage Points Provided For Pulldown\n"
              "ERROR  (line  230) - More Than 100 Voltage Points Provided For Pulldown\n",
              strLog);
}

// Output_ECL is CleanModel with another type.
std::string EclModel(const std::string& strName) {
    std::string strText = CleanModel(strName);
    strText.replace(strText.find("Output"), 6, "Output_ECL");
    return strText;
}

TEST(CrvRead, CurrentDirectionPerModelType) {
    std::string strLog = ReadModels(EclModel("E1") +            // 13-19
                                    "[Pulldown]\n"              // falling is right for ECL
                                    "0 0 NA NA\n"
                                    "1 -1m NA NA\n"
                                    "[GND Clamp]\n"
                                    "-1 -1m NA NA\n"
                                    "0 0 NA NA\n" +
                                    EclModel("E2") +            // 26-32
                                    "[Pulldown]\n"
                                    "0 0 NA NA\n"
                                    "1 1m NA NA\n" +
                                    CleanModel("O1") +          // 36-42
                                    "[Pulldown]\n"              // 43
                                    "0 NA NA NA\n"              // the second row is the low end
                                    "0 5m NA NA\n"
                                    "1 0 NA NA\n");
    EXPECT_EQ("WARNING  - Model E2: Pulldown has Increasing Current\n"
              "ERROR  - First Typical Value Cannot Be 'NA' for Pulldown Beginning at Line 43\n"
              "WARNING  - Model O1: Pulldown has Decreasing Current\n",
              strLog);
}

TEST(CrvRead, SeriesCurrentClosesWithItsSection) {
    std::string strLog = ReadModels("[Model] S1\n"                      // 13
                                    "Model_type Series\n"
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 3.0 3.6\n"
                                    "[R Series] 10 NA NA\n"
                                    "[Series Current]\n"                // 18
                                    "0 0 NA NA\n"
                                    "[Model] S2\n"                      // 20
                                    "Model_type Series\n"
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 3.0 3.6\n"
                                    "[Series Current]\n"                // 24
                                    "0 0 NA NA\n"
                                    "1 1m NA NA\n"
                                    "2 0.5m NA NA\n");                  // 27
    // The current of a series element runs either way: no direction check.
    EXPECT_EQ("ERROR  -\n    Require at least 2 Voltage Points for Series_Current Beginning at Line 18\n"
              "WARNING  (line   27) - Series_Current Typical data is non-monotonic\n",
              strLog);
}

TEST(CrvRead, SeriesTablesAndSubmodelOwners) {
    DirectLog log;
    char szKeyword[] = "[Series MOSFET]";
    auto readTable = [&](const char* pszName, std::initializer_list<const char*> rows) {
        CRV* pCrv = nullptr;
        log.NextLine();
        CRV_Begin(szKeyword, pszName, &pCrv);
        for (const char* pszRow : rows) {
            log.NextLine();
            CRV_AddRow(pszRow, pCrv, pszName);
        }
        return pCrv;
    };
    CRV* pMosfet = readTable("Series_MOSFET", {"0 0 NA NA", "1 -1m NA NA"});
    CRV_End("SW1", MT_SERIES_SWITCH, KW_SERIES_MOSFET, &pMosfet, "Series_MOSFET", "Model");
    CRV* pCurrent = readTable("Series_Current", {"0 0 NA NA", "1 -1m NA NA"});
    CRV_End("S1", MT_SERIES, KW_SERIES_CURRENT, &pCurrent, "Series_Current", "Model");
    CRV* pPullup = readTable("Pullup", {"0 0 NA NA", "1 1m NA NA"});
    CRV_End("B1", MT_OUTPUT, KW_PULLUP, &pPullup, "Pullup", "Submodel");
    CRV* pUntyped = readTable("Pullup", {"0 0 NA NA", "1 1m NA NA"});
    CRV_End("X", MT_NO_TYPE, KW_PULLUP, &pUntyped, "Pullup", "Model");
    EXPECT_EQ("ERROR  - Model SW1: Series_MOSFET has Decreasing Current\n"
              "WARNING  - Submodel B1: Pullup has Increasing Current\n",
              log.Text());
    for (CRV* pCrv : {pMosfet, pCurrent, pPullup, pUntyped}) CRV_Free(pCrv);
}

// ------------------------------------------------------------ evaluation

const double NA = std::nan("");

struct Row {
    double dV;
    double dTyp;
    double dMin = NA;
};

void SetValue(double d, double* pd, unsigned* peState) {
    *peState = std::isnan(d) ? VALUE_NA : VALUE_NUMBER;
    *pd = std::isnan(d) ? 0.0 : d;
}

using CrvPtr = std::unique_ptr<CRV, decltype(&CRV_Free)>;

// A table in the given row order; NaN stands for "NA"; no maximum column.
CrvPtr Table(std::initializer_list<Row> rows) {
    CRV* pCrv = nullptr;
    EXPECT_EQ(1, CMN_Alloc(&pCrv, sizeof *pCrv));
    for (const Row& row : rows) {
        RNGP* pRow = nullptr;
        EXPECT_EQ(1, RNGP_Create(&pRow));
        SetValue(row.dV, &pRow->dX, &pRow->eXState);
        SetValue(row.dTyp, &pRow->dTyp, &pRow->eTypState);
        SetValue(row.dMin, &pRow->dMin, &pRow->eMinState);
        pRow->eMaxState = VALUE_NA;
        unsigned n = 0;
        RNGP_Append(&pCrv->pRows, pRow, &n);
    }
    return CrvPtr(pCrv, &CRV_Free);
}

double At(CRV* pCrv, double dV, eCorner eWhich = eCorner::TYP) {
    double dI = NA;
    EXPECT_EQ(1, CRV_ValueAt(pCrv, eWhich, &dI, dV)) << "at " << dV;
    return dI;
}

std::string Voltages(const CRV* pCrv) {
    std::string str;
    for (const RNGP* pRow = pCrv->pRows; pRow != nullptr; pRow = pRow->pNext) {
        char sz[32];
        snprintf(sz, sizeof sz, "%s%g", str.empty() ? "" : " ", pRow->dX);
        str += sz;
    }
    return str;
}

TEST(CrvEval, InterpolatesInsideAtAndBeyondThePoints) {
    CrvPtr pCrv = Table({{0, 0}, {1, 10}, {2, 30}});
    EXPECT_DOUBLE_EQ(5, At(pCrv.get(), 0.5));
    EXPECT_DOUBLE_EQ(10, At(pCrv.get(), 1));
    EXPECT_DOUBLE_EQ(20, At(pCrv.get(), 1.5));
    EXPECT_DOUBLE_EQ(-10, At(pCrv.get(), -1));  // the first segment extended
    EXPECT_DOUBLE_EQ(50, At(pCrv.get(), 3));    // the last segment extended
}

TEST(CrvEval, DescendingTablesGiveTheSameValues) {
    CrvPtr pCrv = Table({{2, 30}, {1, 10}, {0, 0}});
    EXPECT_EQ(-1, CRV_Direction(pCrv->pRows));
    EXPECT_DOUBLE_EQ(5, At(pCrv.get(), 0.5));
    EXPECT_DOUBLE_EQ(20, At(pCrv.get(), 1.5));
    EXPECT_DOUBLE_EQ(-10, At(pCrv.get(), -1));
    EXPECT_DOUBLE_EQ(50, At(pCrv.get(), 3));
}

TEST(CrvEval, DegenerateSegments) {
    // Two equal voltages at the end fall back to the segment before.
    CrvPtr pEnd = Table({{0, 0}, {1, 10}, {1, 20}});
    EXPECT_DOUBLE_EQ(20, At(pEnd.get(), 2));
    // All voltages equal: the segment is widened, never divided by zero.
    CrvPtr pFlat = Table({{1, 0}, {1, 10}});
    EXPECT_EQ(0, CRV_Direction(pFlat->pRows));
    EXPECT_TRUE(std::isfinite(At(pFlat.get(), 2)));
    EXPECT_TRUE(std::isfinite(At(pFlat.get(), 0)));
    // Voltages too large for the widening to show.
    CrvPtr pHuge = Table({{1e300, 0}, {1e300, 10}});
    EXPECT_TRUE(std::isfinite(At(pHuge.get(), 0)));
    // A single point is a flat table.
    CrvPtr pOne = Table({{1, 7}});
    EXPECT_DOUBLE_EQ(7, At(pOne.get(), -3));
    EXPECT_EQ(1, CRV_TooFewPoints(pOne->pRows, eCorner::TYP));
}

TEST(CrvEval, OnlyNumericPointsOfTheCornerTakePart) {
    CrvPtr pCrv = Table({{NA, 100}, {0, 0, 1}, {0.5, NA, 2}, {1, 10, 3}});
    EXPECT_DOUBLE_EQ(5, At(pCrv.get(), 0.5));
    EXPECT_DOUBLE_EQ(2, At(pCrv.get(), 0.5, eCorner::MIN));
    double dI = 0;
    EXPECT_EQ(0, CRV_ValueAt(pCrv.get(), eCorner::MAX, &dI, 0.5));  // no maximum column
    EXPECT_EQ(0, CRV_ValueAt(nullptr, eCorner::TYP, &dI, 0.5));
    CrvPtr pEmpty = Table({});
    EXPECT_EQ(0, CRV_ValueAt(pEmpty.get(), eCorner::TYP, &dI, 0.5));
    EXPECT_EQ(1, CRV_TooFewPoints(pEmpty->pRows, eCorner::TYP));
    EXPECT_EQ(0, CRV_Direction(pEmpty->pRows));
    EXPECT_EQ(0, CRV_TooFewPoints(pCrv->pRows, eCorner::TYP));
    EXPECT_EQ(1, CRV_TooFewPoints(pCrv->pRows, eCorner::MAX));
}

TEST(CrvEval, CursorContinuesFromTheLastSegment) {
    CrvPtr pCrv = Table({{0, 0}, {1, 10}, {2, 30}, {3, 60}});
    RNGP* pCursor = pCrv->pRows;
    for (double dV : {-0.5, 0.5, 1.0, 1.5, 2.5, 4.0}) {
        double dI = NA;
        ASSERT_EQ(1, CRV_Interpolate(&pCursor, 1, dV, eCorner::TYP, &dI));
        EXPECT_DOUBLE_EQ(At(pCrv.get(), dV), dI) << dV;
    }
    EXPECT_DOUBLE_EQ(2, pCursor->dX);  // the start of the last segment
    // A cursor on the last point still finds its segment.
    RNGP* pLast = CRV_LastPoint(pCrv->pRows, eCorner::TYP, nullptr, nullptr);
    double dI = NA;
    ASSERT_EQ(1, CRV_Interpolate(&pLast, 1, 2.5, eCorner::TYP, &dI));
    EXPECT_DOUBLE_EQ(45, dI);
}

TEST(CrvEval, DirectionReverseAndWalkers) {
    CrvPtr pCrv = Table({{NA, 0}, {1, 1}, {1, NA}, {0, 2}, {3, 3}});
    EXPECT_EQ(-1, CRV_Direction(pCrv->pRows));  // 1 then 0 decides

    double dV = 0, dI = 0;
    RNGP* pRow = CRV_FirstPoint(pCrv->pRows, eCorner::TYP, &dV, &dI);
    EXPECT_EQ(1, dV);
    pRow = CRV_NextPoint(pRow, eCorner::TYP, &dV, &dI);  // skips the row without a current
    EXPECT_EQ(0, dV);
    EXPECT_EQ(2, dI);
    pRow = CRV_LastPoint(pCrv->pRows, eCorner::TYP, &dV, &dI);
    EXPECT_EQ(3, dV);
    pRow = CRV_PrevPoint(pRow, eCorner::TYP, &dV, &dI);
    EXPECT_EQ(0, dV);
    pRow = CRV_PrevPoint(pRow, eCorner::TYP, &dV, &dI);
    pRow = CRV_PrevPoint(pRow, eCorner::TYP, &dV, &dI);  // nothing before the first point
    EXPECT_EQ(nullptr, pRow);
    EXPECT_EQ(nullptr, CRV_NextPoint(nullptr, eCorner::TYP, &dV, &dI));

    pCrv->pRows = CRV_Reverse(pCrv->pRows);
    EXPECT_EQ("3 0 1 1 0", Voltages(pCrv.get()));
    EXPECT_EQ(nullptr, pCrv->pRows->pPrev);
    EXPECT_EQ(pCrv->pRows, pCrv->pRows->pNext->pPrev);
    pCrv->pRows = CRV_Reverse(pCrv->pRows);
    EXPECT_EQ("0 1 1 0 3", Voltages(pCrv.get()));
    EXPECT_EQ(nullptr, CRV_Reverse(nullptr));

    CRV_NegateVoltages(pCrv->pRows);
    CRV_ShiftVoltages(pCrv->pRows, 1.5);
    EXPECT_EQ("0 0.5 0.5 1.5 -1.5", Voltages(pCrv.get()));  // the "NA" voltage stays untouched
    EXPECT_EQ(VALUE_NA, pCrv->pRows->eXState);
}

TEST(CrvEval, SumAtTakesEachCornerSomeTableGives) {
    CrvPtr pA = Table({{0, 0}, {1, 10}});
    CrvPtr pB = Table({{0, 1, 2}, {2, 1, 4}});
    RNGP result{};
    EXPECT_EQ(1, CRV_SumAt(pA.get(), pB.get(), 0.5, &result));
    EXPECT_DOUBLE_EQ(6, result.dTyp);
    EXPECT_EQ(VALUE_NUMBER, result.eMinState);
    EXPECT_DOUBLE_EQ(2.5, result.dMin);
    EXPECT_EQ(VALUE_ABSENT, result.eMaxState);
    RNGP none{};
    EXPECT_EQ(0, CRV_SumAt(nullptr, nullptr, 0.5, &none));
}

TEST(CrvEval, CombineMergesBothVoltageSets) {
    CrvPtr pA = Table({{0, 0}, {1, 10}, {2, 20}});
    CrvPtr pB = Table({{3, 3, 30}, {1.000001, 1.000001, 10.00001}, {0.5, 0.5, 5}});  // descending
    CRV* pSum = CRV_Combine(pA.get(), pB.get(), eCorner::TYP | eCorner::MIN);
    ASSERT_NE(nullptr, pSum);
    CrvPtr pOwned(pSum, &CRV_Free);
    EXPECT_EQ("0 0.5 1 2 3", Voltages(pSum));  // 1 and 1.000001 are one point
    double adTyp[5], adMin[5];
    int i = 0;
    for (RNGP* pRow = pSum->pRows; pRow != nullptr; pRow = pRow->pNext, ++i) {
        adTyp[i] = pRow->dTyp;
        adMin[i] = pRow->dMin;
        EXPECT_EQ(VALUE_NUMBER, pRow->eMinState);  // only B has a minimum
        EXPECT_EQ(VALUE_ABSENT, pRow->eMaxState);  // not selected
    }
    EXPECT_NEAR(0 + 0, adTyp[0], 1e-9);   // B extended below its first point
    EXPECT_NEAR(5 + 0.5, adTyp[1], 1e-9);
    EXPECT_NEAR(30 + 3, adTyp[4], 1e-9);  // A extended beyond its last point
    EXPECT_NEAR(0, adMin[0], 1e-9);
    EXPECT_NEAR(30, adMin[4], 1e-9);
    EXPECT_EQ("3 1 0.5", Voltages(pB.get()));  // the input is given back in its order

    // An absent table combined with the zero table becomes a zero table.
    CRV* pZero = CRV_Combine(nullptr, CRV_ZeroTable(), eCorner::TYP | eCorner::MIN | eCorner::MAX);
    ASSERT_NE(nullptr, pZero);
    EXPECT_EQ("0 1", Voltages(pZero));
    EXPECT_EQ(0.0, pZero->pRows->pNext->dMax);
    CRV_Free(pZero);
    CRV* pEmpty = CRV_Combine(nullptr, nullptr, eCorner::TYP);
    ASSERT_NE(nullptr, pEmpty);
    EXPECT_EQ(nullptr, pEmpty->pRows);
    CRV_Free(pEmpty);
}

TEST(CrvEval, ZeroTables) {
    CRV* pZero = CRV_ZeroTable();
    EXPECT_EQ(pZero, CRV_ZeroTable());
    EXPECT_EQ("0 1", Voltages(pZero));
    CRV* pAt = CRV_ZeroTableAt(2, -1);
    EXPECT_EQ("2 -1", Voltages(pAt));
    EXPECT_DOUBLE_EQ(0, At(pAt, 5));
    EXPECT_EQ("-3 4", Voltages(CRV_ZeroTableAt(-3, 4)));
}

RNG* Range(double dTyp, double dMin, double dMax) {
    RNG* pRng = nullptr;
    EXPECT_EQ(1, RNG_Create(&pRng));
    SetValue(dTyp, &pRng->dTyp, &pRng->eTypState);
    SetValue(dMin, &pRng->dMin, &pRng->eMinState);
    SetValue(dMax, &pRng->dMax, &pRng->eMaxState);
    return pRng;
}

TEST(CrvEval, ReferencesOfAModel) {
    MDL mdl{};
    mdl.eModelType = MT_OUTPUT;
    mdl.pVoltRange = Range(3.3, 3.0, 3.6);
    mdl.pPullupRef = Range(5.0, NA, 5.5);
    mdl.pGndClampRef = Range(NA, -0.1, NA);
    mdl.pPulldownRef = Range(NA, NA, NA);
    double dPower = -1, dPullup = -1, dGnd = -1, dPulldown = -1;
    CRV_References(&mdl, eCorner::MIN, &dPower, &dPullup, &dGnd, &dPulldown);
    EXPECT_DOUBLE_EQ(3.0, dPower);
    EXPECT_DOUBLE_EQ(5.0, dPullup);  // the typical stands in for the minimum
    EXPECT_DOUBLE_EQ(-0.1, dGnd);
    EXPECT_DOUBLE_EQ(0.0, dPulldown);
    CRV_References(&mdl, eCorner::MAX, &dPower, &dPullup, &dGnd, &dPulldown);
    EXPECT_DOUBLE_EQ(3.6, dPower);
    EXPECT_DOUBLE_EQ(5.5, dPullup);
    EXPECT_DOUBLE_EQ(0.0, dGnd);
    mdl.eModelType = MT_3_STATE_ECL;  // ECL pull-downs follow the voltage range
    CRV_References(&mdl, eCorner::TYP, &dPower, &dPullup, &dGnd, &dPulldown);
    EXPECT_DOUBLE_EQ(3.3, dPulldown);
    for (RNG* pRng : {mdl.pVoltRange, mdl.pPullupRef, mdl.pGndClampRef, mdl.pPulldownRef}) RNG_Free(pRng);
}

TEST(CrvEval, RangeValuesAreNumbersOnly) {
    RNG* pRng = Range(1, NA, 3);
    double d = -1;
    EXPECT_EQ(0, CRV_RangeValue(pRng, eCorner::MIN, &d));
    EXPECT_EQ(-1, d);
    EXPECT_EQ(1, CRV_RangeValue(pRng, eCorner::MAX, &d));
    EXPECT_EQ(3, d);
    EXPECT_EQ(0, CRV_RangeValue(nullptr, eCorner::TYP, &d));
    RNG_Free(pRng);
}

}  // namespace
