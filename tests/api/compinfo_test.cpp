// Component records on their own: every parameter kind, pin indexes and
// corners refused when out of range, corner fall-backs, list cursors,
// supply marks, pin search and the status and type texts.
#include <tavelin/tavelin.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// A record of two pins filled the way the compiled-model reader fills it.
class CompInfoRecord : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(1, info.AddPinDesc(2));
        info.SetModelParam(eIbisPrmPinName, "A1", 0);
        info.SetModelParam(eIbisPrmModelName, "GND", 0);
        info.SetModelParam(eIbisPrmModelType, 1, 0);
        info.SetModelParam(eIbisPrmPinName, "B2", 1);
        info.SetModelParam(eIbisPrmSignalName, "DATA", 1);
        info.SetModelParam(eIbisPrmModelName, "io33", 1);
        info.SetModelParam(eIbisPrmModelType, 4, 1);
    }
    CIbisCompInfo info{nullptr};
};

TEST_F(CompInfoRecord, NewRecordAndComponentTexts) {
    CIbisCompInfo fresh(nullptr);
    EXPECT_STREQ("", fresh.Name());
    EXPECT_EQ(eIbisStatusNew, fresh.GetStatus());
    EXPECT_EQ(0, fresh.GetPinCount());
    EXPECT_EQ(0, fresh.CompileDate());
    const char* psz = "untouched";
    EXPECT_EQ(0, fresh.GetModelParam(eIbisPrmCompName, &psz, 0, 1));
    EXPECT_STREQ("", psz);
    double d = 7;
    EXPECT_EQ(0, fresh.GetModelParam(eIbisPrmRPkg, &d, 0, eTyp));
    EXPECT_EQ(7, d);

    EXPECT_EQ(1, info.SetModelParam(eIbisPrmCompName, "U1", 99));
    EXPECT_EQ(1, info.SetModelParam(eIbisPrmSourceText, "maker", 0));
    EXPECT_STREQ("U1", info.Name());
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmSourceText, &psz, 0, 0));
    EXPECT_STREQ("maker", psz);
    EXPECT_EQ(1, info.SetModelParam(eIbisPrmCompileDate, 1234, 0));
    EXPECT_EQ(1234, info.CompileDate());
    int n = 0;
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmCompileDate, &n, 0));
    EXPECT_EQ(1234, n);
    EXPECT_EQ(0, info.SetVisited(1));
    EXPECT_EQ(1, info.SetVisited(0));
}

TEST_F(CompInfoRecord, ParametersOutOfRangeOrKindAreRefused) {
    const char* psz = nullptr;
    int n = 0;
    double d = 0;
    EXPECT_EQ(0, info.SetModelParam(eIbisPrmRPin, "x", 0));            // a double
    EXPECT_EQ(0, info.SetModelParam(static_cast<eIbisParam>(35), "x", 0));
    EXPECT_EQ(0, info.SetModelParam(eIbisPrmSourceFile, 3, 0));        // a text
    EXPECT_EQ(0, info.SetModelParam(static_cast<eIbisParam>(31), 1, 0));
    EXPECT_EQ(0, info.SetModelParam(eIbisPrmModelType, 2.0, 0, eTyp)); // an int
    EXPECT_EQ(0, info.SetModelParam(static_cast<eIbisParam>(50), 2.0, 0, eTyp));
    EXPECT_EQ(0, info.SetModelParam(static_cast<eIbisParam>(-1), "x", 0));
    // Pin indexes outside the pins.
    EXPECT_EQ(0, info.SetModelParam(eIbisPrmPinName, "x", 2));
    EXPECT_EQ(0, info.SetModelParam(eIbisPrmModelType, 3, -1));
    EXPECT_EQ(0, info.GetModelParam(eIbisPrmPinName, &psz, 2, 1));
    EXPECT_EQ(0, info.GetModelParam(eIbisPrmIsGndPin, &n, 5));
    EXPECT_EQ(0, info.GetModelParam(eIbisPrmVDiff, &d, -1, eTyp));
    // Read-only marks cannot be set.
    EXPECT_EQ(0, info.SetModelParam(eIbisPrmIsGndPin, 1, 0));
    // Corners other than typical, minimum and maximum are refused.
    EXPECT_EQ(0, info.SetModelParam(eIbisPrmVDiff, 1.0, 0, static_cast<eTypMinMax>(3)));
    EXPECT_EQ(0, info.SetModelParam(eIbisPrmRPkg, 1.0, 0, static_cast<eTypMinMax>(-1)));
    EXPECT_EQ(1, info.SetModelParam(eIbisPrmRPkg, 1.0, 0, eMax));
    EXPECT_EQ(0, info.GetModelParam(eIbisPrmRPkg, &d, 0, static_cast<eTypMinMax>(1000000)));
}

TEST_F(CompInfoRecord, CornersFallBackToTypical) {
    double d = 0;
    ASSERT_EQ(1, info.SetModelParam(eIbisPrmVDiff, 0.2, 1, eTyp));
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmVDiff, &d, 1, eMin));
    EXPECT_EQ(0.2, d);
    info.SetModelParam(eIbisPrmCPkg, 1e-12, 0, eTyp);
    info.SetModelParam(eIbisPrmCPkg, 2e-12, 0, eMax);
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmCPkg, &d, 0, eMax));
    EXPECT_EQ(2e-12, d);
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmCPkg, &d, 0, eMin));
    EXPECT_EQ(1e-12, d);
    // A corner given without a typical value stays a corner of its own.
    info.SetModelParam(eIbisPrmVinhMinus, 1.5, 1, eMin);
    EXPECT_EQ(0, info.GetModelParam(eIbisPrmVinhMinus, &d, 1, eTyp));
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmVinhMinus, &d, 1, eMin));
    EXPECT_EQ(1.5, d);
    // R_Pin has one value whatever the corner; not given leaves the out value.
    d = 42;
    EXPECT_EQ(0, info.GetModelParam(eIbisPrmRPin, &d, 1, eTyp));
    EXPECT_EQ(42, d);
    EXPECT_EQ(1, info.SetModelParam(eIbisPrmRPin, 0.3, 1, eMax));
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmRPin, &d, 1, eMin));
    EXPECT_EQ(0.3, d);
    // Every three-corner parameter keeps its own value.
    for (int e : {20, 21, 22, 23, 24, 25, 31, 32, 35, 40, 41, 44, 45, 49})
        EXPECT_EQ(1, info.SetModelParam(static_cast<eIbisParam>(e), e * 1.0, 0, eTyp)) << e;
    for (int e : {20, 21, 22, 23, 24, 25, 31, 32, 35, 40, 41, 44, 45, 49}) {
        EXPECT_EQ(1, info.GetModelParam(static_cast<eIbisParam>(e), &d, 0, eMax)) << e;
        EXPECT_EQ(e * 1.0, d) << e;
    }
}

TEST_F(CompInfoRecord, ListsReadInOrderWithCursors) {
    const char* psz = nullptr;
    for (const char* pszPin : {"V1", "V2", "V3"}) info.SetModelParam(eIbisPrmPullUpPins, pszPin, 1);
    info.SetModelParam(eIbisPrmGndClampPins, "G1", 1);
    std::string strRead;
    for (int bFirst = 1; info.GetModelParam(eIbisPrmPullUpPins, &psz, 1, bFirst); bFirst = 0)
        strRead += std::string(psz) + ";";
    EXPECT_EQ("V1;V2;V3;", strRead);
    EXPECT_EQ(0, info.GetModelParam(eIbisPrmPullUpPins, &psz, 1, 0));
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmPullUpPins, &psz, 1, 1));
    EXPECT_STREQ("V1", psz);
    // Each list has its own cursor.
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmGndClampPins, &psz, 1, 1));
    EXPECT_STREQ("G1", psz);
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmPullUpPins, &psz, 1, 0));
    EXPECT_STREQ("V2", psz);
    EXPECT_EQ(0, info.GetModelParam(eIbisPrmPullDownPins, &psz, 1, 1));

    // The partner and series model: given once, also when empty.
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmDiffPartner, &psz, 1, 1));
    EXPECT_STREQ("", psz);
    EXPECT_EQ(0, info.GetModelParam(eIbisPrmDiffPartner, &psz, 1, 0));
    info.SetModelParam(eIbisPrmSeriesPins, "S1", 0);
    info.SetModelParam(eIbisPrmSeriesModel, "ser", 0);
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmSeriesPins, &psz, 0, 1));
    EXPECT_STREQ("S1", psz);
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmSeriesModel, &psz, 0, 1));
    EXPECT_STREQ("ser", psz);
    // A pin text that is empty reads as not given.
    EXPECT_EQ(0, info.GetModelParam(eIbisPrmSignalName, &psz, 0, 1));
}

TEST_F(CompInfoRecord, SupplyMarksFlagsAndPinSearch) {
    int n = -1;
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmIsGndPin, &n, 0));
    EXPECT_EQ(1, n);
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmIsPowerPin, &n, 0));
    EXPECT_EQ(0, n);
    EXPECT_EQ(1, info.GetModelParam(eIbisPrmIsNcPin, &n, 0));
    EXPECT_EQ(0, n);
    info.SetModelParam(eIbisPrmModelType, 2, 0);
    info.GetModelParam(eIbisPrmIsGndPin, &n, 0);
    EXPECT_EQ(0, n);
    info.SetModelParam(eIbisPrmDiffFlag, 5, 1);
    info.SetModelParam(eIbisPrmDiffPolarity, -3, 1);
    info.GetModelParam(eIbisPrmDiffFlag, &n, 1);
    EXPECT_EQ(1, n);
    info.GetModelParam(eIbisPrmDiffPolarity, &n, 1);
    EXPECT_EQ(1, n);

    EXPECT_EQ(1, info.FindIndex4Pin("B2", eIbisPrmPinName));
    EXPECT_EQ(-1, info.FindIndex4Pin("b2", eIbisPrmPinName));
    EXPECT_EQ(1, info.FindIndex4Pin("DATA", eIbisPrmSignalName));
    EXPECT_EQ(1, info.FindIndex4Pin("io33", eIbisPrmModelName));
    EXPECT_EQ(1, info.FindIndex4Pin("i/o", eIbisPrmModelType));
    EXPECT_EQ(1, info.FindIndex4Pin(4, eIbisPrmModelType));
    EXPECT_EQ(-1, info.FindIndex4Pin(4, eIbisPrmPinName));
    EXPECT_EQ(-1, info.FindIndex4Pin("No Type", eIbisPrmModelType));
    EXPECT_EQ(-1, info.FindIndex4Pin("Series", eIbisPrmModelType));
    EXPECT_EQ(-1, info.FindIndex4Pin("A1", eIbisPrmCompName));
    EXPECT_EQ(-1, info.FindIndex4Pin(static_cast<const char*>(nullptr), eIbisPrmPinName));

    // A new pin array replaces the old one.
    ASSERT_EQ(1, info.AddPinDesc(3));
    EXPECT_EQ(3, info.GetPinCount());
    EXPECT_EQ(-1, info.FindIndex4Pin("B2", eIbisPrmPinName));
    EXPECT_EQ(0, info.AddPinDesc(-1));
    EXPECT_EQ(3, info.GetPinCount());
}

TEST(CompInfoTexts, StatusAndModelTypes) {
    EXPECT_STREQ("IBIS source not found", CIbisCompInfo::GetIbisStatusText(eIbisStatusNew));
    EXPECT_STREQ("IBIS source not found", CIbisCompInfo::GetIbisStatusText(eIbisStatusNotFound));
    EXPECT_STREQ("IBIS source has syntax errors",
                 CIbisCompInfo::GetIbisStatusText(eIbisStatusSyntaxErrors));
    EXPECT_STREQ("IBIS source not found",
                 CIbisCompInfo::GetIbisStatusText(eIbisStatusCompiledUnusable));
    EXPECT_STREQ("IBIS source not found",
                 CIbisCompInfo::GetIbisStatusText(eIbisStatusCompiledOutOfDate));
    EXPECT_STREQ("Using out of date Version of IBIS model",
                 CIbisCompInfo::GetIbisStatusText(eIbisStatusPinsFromSource));
    EXPECT_STREQ("", CIbisCompInfo::GetIbisStatusText(eIbisStatusOutOfDateKept));
    EXPECT_STREQ("", CIbisCompInfo::GetIbisStatusText(eIbisStatusOk));
    EXPECT_STREQ("", CIbisCompInfo::GetIbisStatusText(static_cast<eIbisStatus>(8)));

    EXPECT_STREQ("no type (pwr, gnd or NC)", CIbisCompInfo::GetModelTypeText(1));
    EXPECT_STREQ("tristate", CIbisCompInfo::GetModelTypeText(5));
    EXPECT_STREQ("i/o_open_source", CIbisCompInfo::GetModelTypeText(11));
    EXPECT_STREQ("terminator", CIbisCompInfo::GetModelTypeText(15));
    EXPECT_STREQ("", CIbisCompInfo::GetModelTypeText(0));
    EXPECT_STREQ("", CIbisCompInfo::GetModelTypeText(16));

    CIbisCompInfo info(nullptr);
    for (int e = 0; e <= 7; ++e) {
        info.SetStatus(static_cast<eIbisStatus>(e));
        EXPECT_EQ(e == 6 || e == 7, info.IsStatusOk()) << e;
    }
}

}  // namespace
