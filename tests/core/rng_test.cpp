#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/diag.h"
#include "core/lines.h"
#include "core/rng.h"
#include "support/log_capture.h"

namespace {

// Parses with the log in a scratch stream and the line reader on line 1.
class RngTest : public ::testing::Test {
protected:
    void TearDown() override {
        RNG_Free(m_pRng);
        RNGP_FreeList(m_pRows);
    }

    // Everything logged since the last check.
    std::string TakeLog() { return m_log.Take(); }

    int Parse(const char* pszText, const char* pszQuantity = "C_comp") {
        RNG_Free(m_pRng);
        m_pRng = nullptr;
        return RNG_Parse(pszText, pszQuantity, &m_pRng);
    }

    // Parses a row and appends it to the table of the test.
    unsigned ParseRow(const char* pszText, const char* pszQuantity = "Pulldown") {
        RNGP* pRow = nullptr;
        EXPECT_EQ(RNGP_Parse(pszText, pszQuantity, "Voltage", &pRow), 1);
        unsigned nCount = 0;
        RNGP_Append(&m_pRows, pRow, &nCount);
        m_pLast = pRow;
        return nCount;
    }

    LogCapture m_log{1};
    RNG* m_pRng = nullptr;
    RNGP* m_pRows = nullptr;
    RNGP* m_pLast = nullptr;
};

void ExpectStates(const RNG* pRng, unsigned eTyp, unsigned eMin, unsigned eMax) {
    EXPECT_EQ(pRng->eTypState, eTyp);
    EXPECT_EQ(pRng->eMinState, eMin);
    EXPECT_EQ(pRng->eMaxState, eMax);
}

TEST_F(RngTest, TypicalWithNaCornersFallsBackToTypical) {
    EXPECT_EQ(Parse("1.0 NA NA"), 1);
    EXPECT_EQ(TakeLog(), "");
    ExpectStates(m_pRng, 1, 2, 2);

    double d = -1.0;
    EXPECT_EQ(RNG_GetMin(m_pRng, &d), 0);
    EXPECT_EQ(RNG_GetMax(m_pRng, &d), 0);
    EXPECT_EQ(d, -1.0);
    EXPECT_EQ(RNG_GetTyp(m_pRng, &d), 1);
    EXPECT_EQ(d, 1.0);
    d = 0.0;
    RNG_GetCorner(m_pRng, eCorner::MIN, &d);
    EXPECT_EQ(d, 1.0);
    d = 0.0;
    RNG_GetCorner(m_pRng, eCorner::MAX, &d);
    EXPECT_EQ(d, 1.0);
}

TEST_F(RngTest, GetCornerTakesNumberedCornersAndWritesOnlyNumbers) {
    EXPECT_EQ(Parse("2 1 3"), 1);
    double d = 0.0;
    RNG_GetCorner(m_pRng, eCorner::MIN, &d);
    EXPECT_EQ(d, 1.0);
    RNG_GetCorner(m_pRng, eCorner::MAX, &d);
    EXPECT_EQ(d, 3.0);
    RNG_GetCorner(m_pRng, eCorner::TYP, &d);
    EXPECT_EQ(d, 2.0);

    EXPECT_EQ(Parse("NA NA 4"), 1);
    d = -1.0;
    RNG_GetCorner(m_pRng, eCorner::MIN, &d);
    EXPECT_EQ(d, -1.0);
    RNG_GetCorner(m_pRng, eCorner::MAX, &d);
    EXPECT_EQ(d, 4.0);
    EXPECT_EQ(TakeLog(), "");
}

TEST_F(RngTest, MissingCornersAreNamed) {
    EXPECT_EQ(Parse("1.0"), 0);
    EXPECT_EQ(TakeLog(),
              "ERROR  (line    1) - No minimum Value Was Provided for C_comp\n"
              "ERROR  (line    1) - No maximum Value Was Provided for C_comp\n");
    ExpectStates(m_pRng, 1, 0, 0);

    EXPECT_EQ(Parse("1.0 2.0"), 0);
    EXPECT_EQ(TakeLog(), "ERROR  (line    1) - No maximum Value Was Provided for C_comp\n");
    ExpectStates(m_pRng, 1, 1, 0);

    EXPECT_EQ(Parse(""), 0);
    EXPECT_EQ(TakeLog(),
              "ERROR  (line    1) - Incorrect Number of Line Items (0) For C_comp: Expecting 3\n");
    ExpectStates(m_pRng, 0, 0, 0);
}

TEST_F(RngTest, ExtraWordsAreCountedAndIgnored) {
    // The three words read are checked as usual: 1 lies below 2 and 3.
    EXPECT_EQ(Parse("1 2 3 4"), 1);
    EXPECT_EQ(TakeLog(),
              "ERROR  (line    1) - Incorrect Number of Line Items (4) For C_comp: Expecting 3\n"
              "WARNING  (line    1) - Typ value is not in between min and max \n");
    EXPECT_EQ(m_pRng->dTyp, 1.0);
    EXPECT_EQ(m_pRng->dMin, 2.0);
    EXPECT_EQ(m_pRng->dMax, 3.0);

    // 64 characters: wrapped behind four blanks.
    Parse("2 1 3 4 5", "Pulldown_ref");
    EXPECT_EQ(TakeLog(),
              "ERROR  (line    1) -\n"
              "    Incorrect Number of Line Items (5) For Pulldown_ref: Expecting 3\n");
}

TEST_F(RngTest, TypicalOutsideBothBoundsWarns) {
    EXPECT_EQ(Parse("5 1 3"), 1);
    EXPECT_EQ(TakeLog(), "WARNING  (line    1) - Typ value is not in between min and max \n");
    EXPECT_EQ(Parse("0 1 3"), 1);
    EXPECT_EQ(TakeLog(), "WARNING  (line    1) - Typ value is not in between min and max \n");

    // Minimum above maximum, and a typical value on a bound, are accepted.
    EXPECT_EQ(Parse("2 3 1"), 1);
    EXPECT_EQ(Parse("1 1 3"), 1);
    EXPECT_EQ(Parse("3 1 3"), 1);
    // Only all-number triples are compared.
    EXPECT_EQ(Parse("5 NA 3"), 1);
    EXPECT_EQ(TakeLog(), "");
}

TEST_F(RngTest, UnitLettersAndBadWords) {
    // x is a unit letter: 2x reads as 2.  The words themselves draw nothing;
    // 1m (0.001) lies below both bounds.
    EXPECT_EQ(Parse("1m 2x 3"), 1);
    EXPECT_EQ(TakeLog(), "WARNING  (line    1) - Typ value is not in between min and max \n");
    EXPECT_DOUBLE_EQ(m_pRng->dTyp, 0.001);
    EXPECT_EQ(m_pRng->dMin, 2.0);
    EXPECT_EQ(Parse("2500m 2x 3V"), 1);
    EXPECT_EQ(TakeLog(), "");

    EXPECT_EQ(Parse("1 2% 3"), 0);
    EXPECT_EQ(TakeLog(), "ERROR  (line    1) - Invalid Minimum Value (\"2%\")\n");
    ExpectStates(m_pRng, 1, 0, 1);
    EXPECT_EQ(m_pRng->dMin, 0.0);

    EXPECT_EQ(Parse("1 2n5 3"), 1);
    EXPECT_EQ(TakeLog(),
              "WARNING  (line    1) - Suspicious Minimum C_comp Value (\"2n5\"); Numeric in "
              "Scale\n");
    ExpectStates(m_pRng, 1, 1, 1);
    EXPECT_DOUBLE_EQ(m_pRng->dMin, 2e-9);

    // 64 characters: wrapped.
    Parse("1 2 3n5", "Voltage Range");
    EXPECT_EQ(TakeLog(),
              "WARNING  (line    1) -\n"
              "    Suspicious Maximum Voltage Range Value (\"3n5\"); Numeric in Scale\n");
}

TEST_F(RngTest, CheckLimitsWarnsPerCornerInOrder) {
    const char* pszFormat = "%s %s value %g out of range %g to %g";
    Parse("2 -1 5");
    EXPECT_EQ(RNG_CheckLimits(m_pRng, 0.0, 4.0, pszFormat, "C_comp", 1e12), 0);
    EXPECT_EQ(TakeLog(),
              "WARNING  - C_comp MIN value -1e+12 out of range 0 to 4e+12\n"
              "WARNING  - C_comp MAX value 5e+12 out of range 0 to 4e+12\n");

    // Bounds are inclusive; "NA" corners are not checked.
    Parse("4 0 NA");
    EXPECT_EQ(RNG_CheckLimits(m_pRng, 0.0, 4.0, pszFormat, "C_comp", 1.0), 1);
    EXPECT_EQ(TakeLog(), "");
}

TEST_F(RngTest, RowWordCounts) {
    ParseRow("1");
    EXPECT_EQ(TakeLog(),
              "ERROR  (line    1) - No typical Value Was Provided for Pulldown\n"
              "ERROR  (line    1) - No minimum Value Was Provided for Pulldown\n"
              "ERROR  (line    1) - No maximum Value Was Provided for Pulldown\n");
    ParseRow("1 2");
    EXPECT_EQ(TakeLog(),
              "ERROR  (line    1) - No minimum Value Was Provided for Pulldown\n"
              "ERROR  (line    1) - No maximum Value Was Provided for Pulldown\n");
    ParseRow("1 2 3");
    EXPECT_EQ(TakeLog(), "ERROR  (line    1) - No maximum Value Was Provided for Pulldown\n");
    EXPECT_EQ(m_pLast->eMaxState, 0u);
    ParseRow("1 2 3 4");
    EXPECT_EQ(TakeLog(), "");
    ParseRow("1 2 3 4 5");
    EXPECT_EQ(TakeLog(),
              "ERROR  (line    1) -\n"
              "    Incorrect Number of Line Items (5) For Pulldown: Expecting 4\n");
    EXPECT_EQ(m_pLast->dMax, 4.0);
}

TEST_F(RngTest, RowValuesAndBadWords) {
    ParseRow("0.5 1m NA 2m");
    EXPECT_EQ(TakeLog(), "");
    double d = 0.0;
    EXPECT_EQ(RNGP_GetX(m_pLast, &d), 1);
    EXPECT_EQ(d, 0.5);
    EXPECT_EQ(RNGP_GetTyp(m_pLast, &d), 1);
    EXPECT_DOUBLE_EQ(d, 0.001);
    EXPECT_EQ(RNGP_GetMin(m_pLast, &d), 0);
    EXPECT_EQ(m_pLast->eMinState, 2u);
    EXPECT_EQ(RNGP_GetMax(m_pLast, &d), 1);
    EXPECT_DOUBLE_EQ(d, 0.002);
    EXPECT_EQ(RNGP_HasCorner(m_pLast, eCorner::MIN), 0);
    EXPECT_EQ(RNGP_HasCorner(m_pLast, eCorner::MAX), 1);
    EXPECT_EQ(RNGP_HasCorner(m_pLast, eCorner::TYP), 1);

    ParseRow("1% 2 3 4");
    EXPECT_EQ(TakeLog(), "ERROR  (line    1) - Invalid Voltage Value (\"1%\")\n");
    EXPECT_EQ(m_pLast->eXState, 0u);
    EXPECT_EQ(RNGP_GetX(m_pLast, &d), 1);
    EXPECT_EQ(d, 0.0);
}

TEST_F(RngTest, RowsKeepFileOrder) {
    EXPECT_EQ(ParseRow("1 1 1 1"), 1u);
    RNGP* pFirst = m_pLast;
    EXPECT_EQ(ParseRow("2 2 2 2"), 2u);
    RNGP* pSecond = m_pLast;
    EXPECT_EQ(ParseRow("3 3 3 3"), 3u);
    RNGP* pThird = m_pLast;
    EXPECT_EQ(m_pRows, pFirst);

    RNGP* pRow = nullptr;
    EXPECT_EQ(RNGP_GetPrev(pFirst, &pRow), 0);
    EXPECT_EQ(RNGP_GetNext(pFirst, &pRow), 1);
    EXPECT_EQ(pRow, pSecond);
    EXPECT_EQ(RNGP_GetNext(pSecond, &pRow), 1);
    EXPECT_EQ(pRow, pThird);
    EXPECT_EQ(RNGP_GetNext(pThird, &pRow), 0);
    EXPECT_EQ(RNGP_GetPrev(pThird, &pRow), 1);
    EXPECT_EQ(pRow, pSecond);
    EXPECT_EQ(TakeLog(), "");
}

TEST_F(RngTest, CreateFromMarksMissingCornersNa) {
    RNGP* pRow = nullptr;
    ASSERT_EQ(RNGP_CreateFrom(&pRow, 0.5, 1.0, 2.0, 3.0, 1, 0), 1);
    unsigned nCount = 0;
    RNGP_Append(&m_pRows, pRow, &nCount);
    EXPECT_EQ(pRow->eXState, 1u);
    EXPECT_EQ(pRow->dX, 0.5);
    EXPECT_EQ(pRow->eTypState, 1u);
    EXPECT_EQ(pRow->dTyp, 2.0);
    EXPECT_EQ(pRow->eMinState, 2u);
    EXPECT_EQ(pRow->dMin, 0.0);
    EXPECT_EQ(pRow->eMaxState, 1u);
    EXPECT_EQ(pRow->dMax, 3.0);

    ASSERT_EQ(RNGP_CreateFrom(&pRow, 0.0, 1.0, 2.0, 3.0, 0, 1), 1);
    RNGP_Append(&m_pRows, pRow, &nCount);
    EXPECT_EQ(nCount, 2u);
    EXPECT_EQ(pRow->eMinState, 1u);
    EXPECT_EQ(pRow->dMin, 1.0);
    EXPECT_EQ(pRow->eMaxState, 2u);
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// Rows come from blocks and go back to a free list: a row read after it was
// freed must still be caught.
TEST(RngpDeathTest, AFreedRowCannotBeRead) {
    RNGP* pKept = nullptr;
    RNGP* pFreed = nullptr;
    ASSERT_EQ(RNGP_Create(&pKept), 1);
    ASSERT_EQ(RNGP_Create(&pFreed), 1);
    RNGP_FreeList(pFreed);
    EXPECT_DEATH(printf("%g\n", pFreed->dX), "use-after-poison");
    RNGP_FreeList(pKept);
}
#endif
