#include "model/mdl.h"

#include <gtest/gtest.h>

#include <string>

#include "model/ramp.h"
#include "support/snippet.h"
#include "support/verify.h"
#include "reader/read.h"
#include "core/rng.h"

namespace {

// What ends a model after its subparameters: a voltage range and a ramp.
const char* const kRangeAndRamp =
    "[Voltage Range] 3.3 3.0 3.6\n"
    "[Ramp]\n"
    "dV/dt_r 1/1n NA NA\n"
    "dV/dt_f 1/1n NA NA\n";

int CountNamed(IBIS* pIbis, const char* pszName) {
    MDL* pList = nullptr;
    IBIS_GetMdlList(pIbis, &pList);
    int n = 0;
    for (MDL* pMdl = pList; pMdl != nullptr; pMdl = pMdl->pNext)
        if (std::string(pMdl->szName) == pszName) ++n;
    return n;
}

TEST(MdlRead, CompleteModelsReadCleanAndGiveTheirValues) {
    std::string strLog = ReadModels(CleanModel("OUT1") +          // 13-19
                                        "[Model] IN1\n"           // 20
                                        "Model_type Input\n"
                                        "Polarity Inverting\n"
                                        "Enable Active-Low\n"
                                        "Vinl=0.8\n"              // no blanks around "="
                                        "Vinh = 2.0V\n"
                                        "Vmeas = 1.5\n"
                                        "Cref = 50p\n"
                                        "Rref = 50\n"
                                        "Vref = 0\n"
                                        "C_comp 2p 1p 3p\n"
                                        "[Voltage Range] 3.3 3.0 3.6\n",
                                    [](IBIS* pIbis) {
                                        MDL* pList = nullptr;
                                        IBIS_GetMdlList(pIbis, &pList);
                                        ASSERT_NE(nullptr, pList);
                                        EXPECT_STREQ("IN1", pList->szName);  // newest first
                                        ASSERT_NE(nullptr, pList->pNext);
                                        EXPECT_STREQ("OUT1", pList->pNext->szName);

                                        MDL* pIn = FindModel(pIbis, "IN1");
                                        const char* psz = nullptr;
                                        EXPECT_EQ(1, MDL_GetModelTypeText(pIn, &psz));
                                        EXPECT_STREQ("Input", psz);
                                        EXPECT_EQ(1, MDL_GetPolarityText(pIn, &psz));
                                        EXPECT_STREQ("Inverting", psz);
                                        EXPECT_EQ(1, MDL_GetEnableText(pIn, &psz));
                                        EXPECT_STREQ("Active-Low", psz);
                                        double d = 0;
                                        EXPECT_EQ(1, MDL_GetVinl(pIn, &d));
                                        EXPECT_DOUBLE_EQ(0.8, d);
                                        EXPECT_EQ(1, MDL_GetVinh(pIn, &d));
                                        EXPECT_DOUBLE_EQ(2.0, d);
                                        EXPECT_EQ(1, MDL_GetCref(pIn, &d));
                                        EXPECT_DOUBLE_EQ(50e-12, d);
                                        RNG* pRng = nullptr;
                                        EXPECT_EQ(1, MDL_GetCcomp(pIn, &pRng));
                                        EXPECT_DOUBLE_EQ(1e-12, pRng->dMin);
                                        RAMP* pRamp = nullptr;
                                        EXPECT_EQ(0, MDL_GetRamp(pIn, &pRamp));
                                        EXPECT_EQ(0, MDL_IsEcl(pIn));

                                        MDL* pOut = FindModel(pIbis, "OUT1");
                                        EXPECT_EQ(0, MDL_GetPolarityText(pOut, &psz));
                                        EXPECT_STREQ("No Polarity", psz);
                                        EXPECT_EQ(0, MDL_GetVinl(pOut, &d));
                                        EXPECT_EQ(1, MDL_GetRamp(pOut, &pRamp));
                                    });
    EXPECT_EQ("", strLog);
}

TEST(MdlRead, ModelNameRules) {
    Verify v = ModelFile();
    v << CleanModel("ABCDEFGHIJKLMNOPQRST")
      << "[Model] ABCDEFGHIJKLMNOPQRSTU" << Expect::Error("Model Name Over 20 Characters Long") << CleanModelBody()
      << "[Model] gnd" << Expect::Error("Invalid Model Name (\"gnd\"); Reserved Word.") << CleanModelBody()
      << CleanModel("OUT1")
      << "[Model] OUT1" << Expect::Error("Model Name Previously Defined (\"OUT1\")") << CleanModelBody()
      << "[Model] A B" << Expect::Error("Incorrect Number of Line Items (2) For Keyword Model: Expecting 1")
      << CleanModelBody()
      << "[Model] " << Expect::Error("'Model' Keyword Missing name") << CleanModelBody();
    v.Check([](IBIS* pIbis) {
        // Cut to 20 characters, both kept.
        EXPECT_EQ(2, CountNamed(pIbis, "ABCDEFGHIJKLMNOPQRST"));
        EXPECT_EQ(2, CountNamed(pIbis, "OUT1"));
        EXPECT_EQ(1, CountNamed(pIbis, "A"));
    });
}

TEST(MdlRead, ModelTypeSpellings) {
    Verify v = ModelFile();
    v << "[Model] M1"
      << "Model_type input" << Expect::Error("Invalid Model_type (\"input\") (try \"Input\")")
      << "C_comp 1p NA NA"
      << "[Voltage Range] 3.3 3.0 3.6"
      // A type that is "No Type" needs a ramp.
      << "[Model] M2" << Expect::Error("Model 'M1': Ramp Not Defined").NoLine()
      << "Model_type = Input" << Expect::Error("Invalid Model_type Line")
      << "Model_type Output" << Expect::Error("Model_type Already Defined For Model 'M2'")
      << "C_comp 1p NA NA" << kRangeAndRamp
      << "[Model] M3"
      << "Model_type" << Expect::Error("'Model_type' Subparameter Missing Setting")
      << "C_comp 1p NA NA" << kRangeAndRamp
      << "[Model] M4"
      << "Model_type I/O extra" << Expect::Error("Incorrect Number of Line Items (3) For Model_type: Expecting 2")
      << "C_comp 1p NA NA" << kRangeAndRamp
      << "[Model] M5"
      << "Model_type Bogus" << Expect::Error("Invalid Model_type (\"Bogus\")")
      << "C_comp 1p NA NA" << kRangeAndRamp
      << CleanModel("S1", "Series");
    v.ExpectEnd(Expect::Error("Model 'S1': Ramp Not Allowed for Series and Series_switch"));
    v.Check([](IBIS* pIbis) {
        unsigned eType = 0;
        MDL_GetModelType(FindModel(pIbis, "M1"), &eType);
        EXPECT_EQ(MT_NO_TYPE, eType);
        const char* psz = nullptr;
        EXPECT_EQ(0, MDL_GetModelTypeText(FindModel(pIbis, "M1"), &psz));
        EXPECT_STREQ("No Type", psz);
    });
}

TEST(MdlRead, SeriesIsNoModelTypeOfIbis2) {
    Verify v = ModelFile("2.1");
    v << "[Model] S1"
      << "Model_type Series" << Expect::Error("Invalid Model_type (\"Series\")")
      << "C_comp 1p NA NA" << kRangeAndRamp;
    v.Check();
}

TEST(MdlRead, NumericSubparametersAndCcomp) {
    Verify v = ModelFile();
    v << "[Model] IN1"
      << "Model_type Input"
      << "Vinl=0.8"
      << "Vinh 2.0" << Expect::Error("Invalid Vinh Line")
      << "Vinh = 2.0" << Expect::Error("Vinh Already Defined For Model 'IN1'")
      << "Vmeas = abc" << Expect::Error("Invalid Vmeas Value (\"abc\")")
      << "Cref = 1p 2p" << Expect::Error("Incorrect Number of Line Items (4) For Cref: Expecting 3")
      << "Rref =" << Expect::Error("Invalid Rref Line")
      << "Enable" << Expect::Error("'Enable' Subparameter Missing Setting")
      << "Polarity non-inverting" << Expect::Error("Invalid Polarity (\"non-inverting\") (try \"Non-Inverting\")")
      << "Foo = 1" << Expect::Error("Unknown Line Among Model Data")
      << "C_comp NA 1p 2p" << Expect::Error("'NA' Not Allowed For Typical Value")
      << "C_comp 1p NA NA" << Expect::Error("C_comp Already Defined For Model 'IN1'")
      << "[Voltage Range] 3.3 3.0 3.6";
    v.Check([](IBIS* pIbis) {
        MDL* pMdl = FindModel(pIbis, "IN1");
        double d = -1;
        EXPECT_EQ(1, MDL_GetCref(pMdl, &d));  // first three words read
        EXPECT_DOUBLE_EQ(1e-12, d);
        EXPECT_EQ(1, MDL_GetVinh(pMdl, &d));  // given, though invalid
        EXPECT_DOUBLE_EQ(0.0, d);
        EXPECT_EQ(0, MDL_GetVref(pMdl, &d));
        const char* psz = nullptr;
        EXPECT_EQ(0, MDL_GetPolarityText(pMdl, &psz));
    });
}

TEST(MdlRead, SubparameterCheckWhenModelKeywordCloses) {
    Verify v = ModelFile();
    v << "[Model] X"
      << "[Voltage Range] 3.3 3.0 3.6" << Expect::Error("Model 'X': Model_type Not Defined").NoLine()
                                       << Expect::Error("Model 'X': C_comp Not Defined").NoLine()
      << "[Model] IN2" << Expect::Error("Model 'X': Ramp Not Defined").NoLine()
      << "Model_type Input"
      << "C_comp 1p NA NA"
      // Input models need thresholds, but only warn.
      << "[Voltage Range] 3.3 3.0 3.6" << Expect::Warning("Model 'IN2': Model_type 'Input' must have Vinl set").NoLine()
                                       << Expect::Warning("Model 'IN2': Model_type 'Input' must have Vinh set").NoLine();
    v.Check();
}

TEST(MdlRead, TerminatorElementsAndReferences) {
    Verify v = ModelFile();
    v << ModelHead("T1", "Terminator")
      << "[Rgnd] 50 NA NA"
      << "[Rac] 30 NA NA"
      << "[Cac] 1p NA NA"
      << CleanModel("O1")
      << "[Rac] 30 NA NA"
      << "[Model] R1" << Expect::Error("Model 'O1': Rac is set when Model_type is not Terminator").NoLine()
                      << Expect::Error("Model 'O1': Cac must be defined when Rac is").NoLine()
      << "Model_type Input"
      << "C_comp 1p NA NA"
      << "Vinl = 0.8"
      << "Vinh = 2.0"
      << "[Pullup Reference] 3.3 NA NA"
      << "[GND Clamp Reference] 0 NA NA";
    v.ExpectEnd(Expect::Error("Model 'R1': Pulldown Reference Required when No Voltage Range is Specified"))
        .ExpectEnd(Expect::Error("Model 'R1': POWER Clamp Reference Required when No Voltage Range is Specified"));
    v.Check();
}

TEST(MdlRead, TypedValueKeywords) {
    Verify v = ModelFile();
    v << CleanModel("O1")
      << "[Voltage Range] 5 NA NA" << Expect::Error("Voltage Range Already Defined For Model 'O1'")
      << "[Temperature Range] NA 0 100" << Expect::Error("'NA' Not Allowed For Typical Value")
      << "stray data" << Expect::Error("Expecting Keyword.  Invalid Line")
      << "[TTgnd] 0 NA NA" << Expect::Error("TTgnd Typical value should be > 0")
      << "[TTpower] 1n -1n 2n" << Expect::Error("TTpower Min value should be > 0")
      << "[Model Spec]" << Expect::Error("[Model Spec] should be specified immediately after all the "
                                         "subparameters of a model and before the other keywords of a model")
      << "[Model] O2"
      << "Model_type Output"
      << "C_comp 1p NA NA"
      << "[Model Spec]"  // right after the subparameters
      << kRangeAndRamp;
    v.Check([](IBIS* pIbis) {
        RNG* pRng = nullptr;
        ASSERT_EQ(1, MDL_GetVoltRange(FindModel(pIbis, "O1"), &pRng));
        EXPECT_DOUBLE_EQ(3.3, pRng->dTyp);  // the first value stays
    });
}

TEST(MdlRead, RampRulesPerModelType) {
    Verify v = ModelFile();
    v << ModelHead("O1")
      << "[Model] E1" << Expect::Error("Model 'O1': Ramp Not Defined").NoLine()
      << "Model_type Input_ECL"
      << "C_comp 1p NA NA"
      << "Vinl = -1.5"
      << "Vinh = -1.0"
      << "[Voltage Range] -5.2 NA NA"
      << ModelHead("T1", "Terminator")
      << CleanModel("S1", "Series");
    v.ExpectEnd(Expect::Error("Model 'S1': Ramp Not Allowed for Series and Series_switch"));
    v.Check();
}

TEST(MdlRead, SeriesModelsRefuseDriverKeywords) {
    Verify v = ModelFile();
    v << ModelHead("S1", "Series")
      << "[R Series] 10 NA NA"
      << "[Pullup]"
      << "0 0 NA NA"
      << "1 -1m NA NA"
      << "[TTgnd] 1n NA NA"
      << "[Model] SW1" << Expect::Error("Model 'S1': Pullup is not allowed when Model_type is Series").NoLine()
                       << Expect::Error("Model 'S1': TTgnd is not allowed when Model_type is Series").NoLine()
      << "Model_type Series_switch"
      << "C_comp 1p NA NA"
      << "[Falling Waveform]"
      << "R_fixture = 50"
      << "V_fixture = 0"
      << "0 0 0 0"
      << "1n 0 0 0"
      << "[On]";
    for (const char* pszReference : {"Pullup", "Pulldown", "POWER Clamp", "GND Clamp"})
        v.ExpectEnd(Expect::Error(std::string("Model 'SW1': ") + pszReference +
                                  " Reference Required when No Voltage Range is Specified"));
    v.ExpectEnd(Expect::Error("Model 'SW1': Falling Waveform is not allowed when Model_type is Series_switch"))
        .ExpectEnd(Expect::Error("Model SW1 [On]: No series data found"))
        .ExpectEnd(Expect::Error("Model SW1 is of type Series_switch. [Off] keyword is required"));
    v.Check();
}

TEST(MdlRead, SeriesKeywordPlacement) {
    Verify v = ModelFile();
    v << "[Model] SW1"
      << "Model_type Series_switch"
      << "C_comp 1p NA NA"
      << "[R Series] 10 NA NA" << Expect::Error("No preceding [On] or [Off] keyword found. Assuming [On]")
      << "[Voltage Range] 3.3 3.0 3.6"
      << Expect::Error("Model 'SW1' is of type Series_switch. Voltage Range should be "
                       "defined before the [On] and [Off] sections")
      << "[Model] SW2" << Expect::Error("Model SW1 is of type Series_switch. [Off] keyword is required").NoLine()
      << "Model_type Series_switch"
      << "C_comp 1p NA NA"
      << "[Voltage Range] 3.3 3.0 3.6"
      << "[On]"
      << "[R Series] 10 NA NA"
      << "[Off]"
      << "[R Series] 1M NA NA"
      << CleanModel("O1")
      << "[On]" << Expect::Error("Keyword is valid only for Series_switch models")
      << "data after On" << Expect::Error("Expecting Keyword.  Invalid Line");
    for (const char* pszLine : {"[L Series] 1n NA NA", "[Series Current]", "-1 1 NA NA"})
        v << pszLine << Expect::Error("Keyword is valid only for Series and Series_switch models");
    v.Check();
}

TEST(MdlRead, ModelKeywordsOutsideAModelAreOrphans) {
    Verify v = ModelFile();
    v << "[Voltage Range] 3.3 NA NA" << Expect::Error("Orphan Model keyword.")  // no model yet
      << "stray data" << Expect::Error("Orphan data line keyword.")
      << CleanModel("O1") << CleanModel("O2")
      << "[Model Selector] SEL"  // ends the model
      << "O1 first"
      << "O2 second"
      << "[Ramp]" << Expect::Error("Orphan Model keyword.")
      << "dV/dt_r 1/1n NA NA" << Expect::Error("Orphan data line keyword.");
    v.Check();
}

}  // namespace
