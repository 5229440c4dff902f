#include "model/crv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/mdl.h"
#include "support/log_capture.h"
#include "support/snippet.h"
#include "support/verify.h"
#include "core/cmn.h"
#include "reader/read.h"
#include "core/lines.h"
#include "core/rng.h"

namespace {

// ------------------------------------------------------------ reading

// Rows `nFirst` to `nFirst + nCount - 1` of a table of rising voltage and
// rising current.
std::string RisingRows(int nFirst, int nCount) {
    std::string strRows;
    for (int i = nFirst; i < nFirst + nCount; ++i)
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
    Verify v = ModelFile();
    v << CleanModel("O1")
      << "[Pulldown]"
      << "-1 -10m NA NA"
      << "0 0 NA NA"
      << "1 10m NA NA"
      << "[Pullup]"
      << "0 0 NA NA"
      << "1 10m NA NA"
      << "[GND Clamp] extra" << Expect::Warning("Model O1: Pullup has Increasing Current").NoLine()
                             << Expect::Error("Incorrect Number of Line Items (2) For GND Clamp: Expecting 1");
    const std::string strGnd = std::to_string(v.Line());
    v << "0 0 NA NA"
      << "[POWER Clamp]" << Expect::Error("Require at least 2 Voltage Points for GND Clamp Beginning at Line " +
                                          strGnd).NoLine();
    const std::string strPower = " for POWER Clamp Beginning at Line " + std::to_string(v.Line());
    v << "0 NA NA NA"
      << "NA 1 2 NA" << Expect::Error("Voltage Value Cannot Be 'NA'")
      << "1 0 NA NA"
      << "[Pulldown]" << Expect::Error("First Typical Value Cannot Be 'NA'" + strPower).NoLine()
                      << Expect::Error("First Minimum Value Cannot Be 'NA'" + strPower).NoLine()
                      << Expect::Error("Last Minimum Value Cannot Be 'NA'" + strPower).NoLine()
                      << Expect::Error("Pulldown Already Defined")
      << "0 0 NA NA"
      << "1 -1m NA NA";
    v.ExpectEnd(Expect::Warning("Model O1: Pulldown has Decreasing Current"));
    v.Check();
}

TEST(CrvRead, RowsOfWrongShape) {
    Verify v = ModelFile();
    v << CleanModel("O1")
      << "[Pulldown]"
      << "5" << Expect::Error("No typical Value Was Provided for Pulldown")
             << Expect::Error("No minimum Value Was Provided for Pulldown")
             << Expect::Error("No maximum Value Was Provided for Pulldown")
      << "0 1m 2m 3m 4m 5m 6m" << Expect::Error("Incorrect Number of Line Items (7) For Pulldown: Expecting 4")
      << "abc 1m NA NA" << Expect::Error("Invalid Voltage Value (\"abc\")")
      << "1 2m 3m 4m" << Expect::Warning("Pulldown Voltage data is non-monotonic");
    v.Check([](IBIS* pIbis) {
        CRV* pCrv = nullptr;
        MDL_GetPulldown(FindModel(pIbis, "O1"), &pCrv);
        EXPECT_EQ(4, RowCount(pCrv));  // every readable row is kept
    });
}

TEST(CrvRead, EachColumnIsReportedNonMonotonicOnce) {
    Verify v = ModelFile();
    v << CleanModel("O1")
      << "[Pulldown]"
      << "0 0 NA NA"
      << "1 1m NA NA"
      << "1 2m NA NA"
      << "0.5 3m NA NA" << Expect::Warning("Pulldown Voltage data is non-monotonic")
      << "2 2m NA NA" << Expect::Warning("Pulldown Typical data is non-monotonic")
      << "0.1 1m NA NA";  // both turn again
    v.Check();
}

TEST(CrvRead, MoreThan100RowsAreReportedOnceAndKept) {
    Verify v = ModelFile();
    v << CleanModel("O1") << "[Pulldown]"
      << RisingRows(0, 101) << Expect::Error("More Than 100 Voltage Points Provided For Pulldown")
      << CleanModel("O2") << "[Pulldown]"
      << RisingRows(0, 101) << Expect::Error("More Than 100 Voltage Points Provided For Pulldown")
      << RisingRows(101, 49);
    v.Check([](IBIS* pIbis) {
        CRV* pCrv = nullptr;
        MDL_GetPulldown(FindModel(pIbis, "O2"), &pCrv);
        EXPECT_EQ(150, RowCount(pCrv));
    });
}

TEST(CrvRead, CurrentDirectionPerModelType) {
    Verify v = ModelFile();
    v << CleanModel("E1", "Output_ECL")
      << "[Pulldown]"  // falling is right for ECL
      << "0 0 NA NA"
      << "1 -1m NA NA"
      << "[GND Clamp]"
      << "-1 -1m NA NA"
      << "0 0 NA NA"
      << CleanModel("E2", "Output_ECL")
      << "[Pulldown]"
      << "0 0 NA NA"
      << "1 1m NA NA"
      << "[Model] O1" << Expect::Warning("Model E2: Pulldown has Increasing Current").NoLine() << CleanModelBody()
      << "[Pulldown]";
    const std::string strPulldown = std::to_string(v.Line());
    v << "0 NA NA NA"  // the second row is the low end
      << "0 5m NA NA"
      << "1 0 NA NA";
    v.ExpectEnd(Expect::Error("First Typical Value Cannot Be 'NA' for Pulldown Beginning at Line " + strPulldown))
        .ExpectEnd(Expect::Warning("Model O1: Pulldown has Decreasing Current"));
    v.Check();
}

TEST(CrvRead, SeriesCurrentClosesWithItsSection) {
    Verify v = ModelFile();
    v << "[Model] S1"
      << "Model_type Series"
      << "C_comp 1p NA NA"
      << "[Voltage Range] 3.3 3.0 3.6"
      << "[R Series] 10 NA NA"
      << "[Series Current]";
    const std::string strCurrent = std::to_string(v.Line());
    v << "0 0 NA NA"
      << "[Model] S2"
      << Expect::Error("Require at least 2 Voltage Points for Series_Current Beginning at Line " + strCurrent)
             .NoLine()
      << "Model_type Series"
      << "C_comp 1p NA NA"
      << "[Voltage Range] 3.3 3.0 3.6"
      << "[Series Current]"
      << "0 0 NA NA"
      << "1 1m NA NA"
      // The current of a series element runs either way: no direction check.
      << "2 0.5m NA NA" << Expect::Warning("Series_Current Typical data is non-monotonic");
    v.Check();
}

TEST(CrvRead, SeriesTablesAndSubmodelOwners) {
    LogCapture log;
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

template <typename STATE>
void SetValue(double d, double* pd, STATE* peState) {
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

// The points of a table in a corner as bit patterns: equal doubles, not
// near ones, make the same findings.
using Bits = std::vector<std::pair<uint64_t, uint64_t>>;

std::pair<uint64_t, uint64_t> BitsOf(double dV, double dI) {
    std::pair<uint64_t, uint64_t> bits;
    std::memcpy(&bits.first, &dV, sizeof dV);
    std::memcpy(&bits.second, &dI, sizeof dI);
    return bits;
}

// Every row of a combined table is a point of the corner.
Bits PointBits(const CRV* pCrv, eCorner eWhich) {
    Bits bits;
    for (const RNGP* pRow = pCrv->pRows; pRow != nullptr; pRow = pRow->pNext) {
        double dI = 0;
        EXPECT_EQ(VALUE_NUMBER, RNGP_CornerState(pRow, eWhich, &dI));
        bits.push_back(BitsOf(pRow->dX, dI));
    }
    return bits;
}

Bits PointBits(const CRVPTS& pts) {
    Bits bits;
    EXPECT_EQ(pts.adV.size(), pts.adI.size());
    for (size_t i = 0; i < pts.adV.size(); ++i) bits.push_back(BitsOf(pts.adV[i], pts.adI[i]));
    return bits;
}

// The point tables give the very doubles of the row tables, step by step
// as the plausibility checks take them: a copy with the zero table, moved
// to pin voltages, then combined.
TEST(CrvEval, PointTablesGiveTheDoublesOfTheRowTables) {
    std::vector<CrvPtr> tables;
    tables.push_back(Table({{-1, -0.3, -0.2}, {-0.5, -0.1, NA}, {0, 0, 0}, {0.7, 0.04, 0.05},
                            {2, 0.07, 0.09}}));
    tables.push_back(Table({{3, -30}, {1.000004, -7, -1}, {NA, 5}, {0.4, -0.000001, -2},
                            {-0.0, -0.0, 3}}));  // descending, an "NA" voltage, one near 1 V
    tables.push_back(Table({{0.000003, 2, NA}, {0.5, 3, NA}, {0.5, 9, NA}, {0.2, 1, NA},
                            {0.99999, 4, NA}}));  // not monotonic, a vertical step
    tables.push_back(Table({{1, 7, 1}}));
    tables.push_back(Table({{2, 0.5, 0.1}, {2, 0.8, 0.2}}));  // vertical: the segment is widened
    tables.push_back(Table({{1e300, 0.1, 0.2}, {1e300, 0.3, 0.4}}));
    tables.push_back(Table({}));
    tables.push_back(CrvPtr(nullptr, &CRV_Free));

    CRVROWS scratch;
    for (eCorner eWhich : {eCorner::TYP, eCorner::MIN}) {
        std::vector<CrvPtr> rowCopies;
        std::vector<CRVPTS> pointCopies(tables.size());
        for (size_t i = 0; i < tables.size(); ++i) {
            const std::string strBefore = tables[i] ? Voltages(tables[i].get()) : "";
            rowCopies.emplace_back(CRV_Combine(tables[i].get(), CRV_ZeroTable(), eWhich), &CRV_Free);
            ASSERT_EQ(1, CRV_CornerPoints(tables[i].get(), eWhich, &scratch, &pointCopies[i]));
            EXPECT_EQ(PointBits(rowCopies[i].get(), eWhich), PointBits(pointCopies[i])) << i;
            if (tables[i]) {
                EXPECT_EQ(strBefore, Voltages(tables[i].get()));
            }
            // Every other copy is tabled against a supply, as pull-ups are.
            if (i % 2 == 1) {
                CRV_NegateVoltages(rowCopies[i]->pRows);
                CRV_NegatePoints(&pointCopies[i]);
            }
            CRV_ShiftVoltages(rowCopies[i]->pRows, 3.3 * static_cast<double>(i % 3));
            CRV_ShiftPoints(&pointCopies[i], 3.3 * static_cast<double>(i % 3));
        }
        for (size_t a = 0; a < tables.size(); ++a) {
            for (size_t b = 0; b < tables.size(); ++b) {
                if (a == b) continue;
                CrvPtr pRows(CRV_Combine(rowCopies[a].get(), rowCopies[b].get(), eWhich), &CRV_Free);
                CRVPTS sum;
                const Bits bitsA = PointBits(pointCopies[a]);
                ASSERT_EQ(1, CRV_CombinePoints(&pointCopies[a], &pointCopies[b], &sum));
                EXPECT_EQ(PointBits(pRows.get(), eWhich), PointBits(sum)) << a << " + " << b;
                EXPECT_EQ(bitsA, PointBits(pointCopies[a]));  // given back in its order
            }
        }
    }
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

TEST(CrvEval, RangeValueOfACornerThatIsNotNa) {
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
