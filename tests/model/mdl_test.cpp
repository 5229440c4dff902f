#include "model/mdl.h"

#include <gtest/gtest.h>

#include <string>

#include "model/ramp.h"
#include "model/model_text.h"
#include "reader/read.h"
#include "core/rng.h"

namespace {

// A model with the given subparameter lines, a voltage range and a ramp:
// 1 + (lines) + 4 lines.
std::string Model(const std::string& strName, const std::string& strSubparameters) {
    return "[Model] " + strName + "\n" + strSubparameters +
           "[Voltage Range] 3.3 3.0 3.6\n"
           "[Ramp]\n"
           "dV/dt_r 1/1n NA NA\n"
           "dV/dt_f 1/1n NA NA\n";
}

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
    std::string strLog = ReadModels(CleanModel("ABCDEFGHIJKLMNOPQRST") +   // 13
                                        CleanModel("ABCDEFGHIJKLMNOPQRSTU") +  // 20
                                        CleanModel("gnd") +                    // 27
                                        CleanModel("OUT1") +                   // 34
                                        CleanModel("OUT1") +                   // 41
                                        CleanModel("A B") +                    // 48
                                        CleanModel(""),                        // 55
                                    [](IBIS* pIbis) {
                                        // Cut to 20 characters, both kept.
                                        EXPECT_EQ(2, CountNamed(pIbis, "ABCDEFGHIJKLMNOPQRST"));
                                        EXPECT_EQ(2, CountNamed(pIbis, "OUT1"));
                                        EXPECT_EQ(1, CountNamed(pIbis, "A"));
                                    });
    EXPECT_EQ("ERROR  (line   20) - Model Name Over 20 Characters Long\n"
              "ERROR  (line   27) - Invalid Model Name (\"gnd\"); Reserved Word.\n"
              "ERROR  (line   41) - Model Name Previously Defined (\"OUT1\")\n"
              "ERROR  (line   48) -\n    Incorrect Number of Line Items (2) For Keyword Model: Expecting 1\n"
              "ERROR  (line   55) - 'Model' Keyword Missing name\n",
              strLog);
}

TEST(MdlRead, ModelTypeSpellings) {
    std::string strLog = ReadModels("[Model] M1\n"                     // 13
                                    "Model_type input\n"               // 14
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 3.0 3.6\n" +  // 16
                                    Model("M2",                        // 17
                                          "Model_type = Input\n"       // 18
                                          "Model_type Output\n"        // 19
                                          "C_comp 1p NA NA\n") +
                                    Model("M3",                        // 25
                                          "Model_type\n"               // 26
                                          "C_comp 1p NA NA\n") +
                                    Model("M4",                        // 32
                                          "Model_type I/O extra\n"     // 33
                                          "C_comp 1p NA NA\n") +
                                    Model("M5",                        // 39
                                          "Model_type Bogus\n"         // 40
                                          "C_comp 1p NA NA\n") +
                                    Model("S1",                        // 46
                                          "Model_type Series\n"
                                          "C_comp 1p NA NA\n"),
                                    [](IBIS* pIbis) {
                                        unsigned eType = 0;
                                        MDL_GetModelType(FindModel(pIbis, "M1"), &eType);
                                        EXPECT_EQ(MT_NO_TYPE, eType);
                                        const char* psz = nullptr;
                                        EXPECT_EQ(0, MDL_GetModelTypeText(FindModel(pIbis, "M1"), &psz));
                                        EXPECT_STREQ("No Type", psz);
                                    });
    EXPECT_EQ("ERROR  (line   14) - Invalid Model_type (\"input\") (try \"Input\")\n"
              // A type that is "No Type" needs a ramp.
              "ERROR  - Model 'M1': Ramp Not Defined\n"
              "ERROR  (line   18) - Invalid Model_type Line\n"
              "ERROR  (line   19) - Model_type Already Defined For Model 'M2'\n"
              "ERROR  (line   26) - 'Model_type' Subparameter Missing Setting\n"
              "ERROR  (line   33) -\n    Incorrect Number of Line Items (3) For Model_type: Expecting 2\n"
              "ERROR  (line   40) - Invalid Model_type (\"Bogus\")\n"
              "ERROR  - Model 'S1': Ramp Not Allowed for Series and Series_switch\n",
              strLog);
}

TEST(MdlRead, SeriesIsNoModelTypeOfIbis2) {
    std::string strLog = ReadModels(Model("S1",                  // 13
                                          "Model_type Series\n"  // 14
                                          "C_comp 1p NA NA\n"),
                                    nullptr, "2.1");
    EXPECT_EQ("ERROR  (line   14) - Invalid Model_type (\"Series\")\n", strLog);
}

TEST(MdlRead, NumericSubparametersAndCcomp) {
    std::string strLog = ReadModels("[Model] IN1\n"                     // 13
                                    "Model_type Input\n"
                                    "Vinl=0.8\n"                        // 15
                                    "Vinh 2.0\n"                        // 16
                                    "Vinh = 2.0\n"                      // 17
                                    "Vmeas = abc\n"                     // 18
                                    "Cref = 1p 2p\n"                    // 19
                                    "Rref =\n"                          // 20
                                    "Enable\n"                          // 21
                                    "Polarity non-inverting\n"          // 22
                                    "Foo = 1\n"                         // 23
                                    "C_comp NA 1p 2p\n"                 // 24
                                    "C_comp 1p NA NA\n"                 // 25
                                    "[Voltage Range] 3.3 3.0 3.6\n",
                                    [](IBIS* pIbis) {
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
    EXPECT_EQ("ERROR  (line   16) - Invalid Vinh Line\n"
              "ERROR  (line   17) - Vinh Already Defined For Model 'IN1'\n"
              "ERROR  (line   18) - Invalid Vmeas Value (\"abc\")\n"
              "ERROR  (line   19) - Incorrect Number of Line Items (4) For Cref: Expecting 3\n"
              "ERROR  (line   20) - Invalid Rref Line\n"
              "ERROR  (line   21) - 'Enable' Subparameter Missing Setting\n"
              "ERROR  (line   22) - Invalid Polarity (\"non-inverting\") (try \"Non-Inverting\")\n"
              "ERROR  (line   23) - Unknown Line Among Model Data\n"
              "ERROR  (line   24) - 'NA' Not Allowed For Typical Value\n"
              "ERROR  (line   25) - C_comp Already Defined For Model 'IN1'\n",
              strLog);
}

TEST(MdlRead, SubparameterCheckWhenModelKeywordCloses) {
    std::string strLog = ReadModels("[Model] X\n"                       // 13
                                    "[Voltage Range] 3.3 3.0 3.6\n"     // 14
                                    "[Model] IN2\n"                     // 15
                                    "Model_type Input\n"
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 3.0 3.6\n");   // 18
    EXPECT_EQ("ERROR  - Model 'X': Model_type Not Defined\n"
              "ERROR  - Model 'X': C_comp Not Defined\n"
              "ERROR  - Model 'X': Ramp Not Defined\n"
              // Input models need thresholds, but only warn.
              "WARNING  - Model 'IN2': Model_type 'Input' must have Vinl set\n"
              "WARNING  - Model 'IN2': Model_type 'Input' must have Vinh set\n",
              strLog);
}

TEST(MdlRead, TerminatorElementsAndReferences) {
    std::string strLog = ReadModels("[Model] T1\n"                      // 13
                                    "Model_type Terminator\n"
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 3.0 3.6\n"
                                    "[Rgnd] 50 NA NA\n"
                                    "[Rac] 30 NA NA\n"
                                    "[Cac] 1p NA NA\n" +
                                    CleanModel("O1") +                 // 20
                                    "[Rac] 30 NA NA\n"
                                    "[Model] R1\n"
                                    "Model_type Input\n"
                                    "C_comp 1p NA NA\n"
                                    "Vinl = 0.8\n"
                                    "Vinh = 2.0\n"
                                    "[Pullup Reference] 3.3 NA NA\n"
                                    "[GND Clamp Reference] 0 NA NA\n");
    EXPECT_EQ("ERROR  - Model 'O1': Rac is set when Model_type is not Terminator\n"
              "ERROR  - Model 'O1': Cac must be defined when Rac is\n"
              "ERROR  -\n    Model 'R1': Pulldown Reference Required when No Voltage Range is Specified\n"
              "ERROR  - Model 'R1': POWER Clamp Reference Required when No Voltage Range is Specified\n",
              strLog);
}

TEST(MdlRead, TypedValueKeywords) {
    std::string strLog = ReadModels(CleanModel("O1") +                   // 13-19
                                    "[Voltage Range] 5 NA NA\n"          // 20
                                    "[Temperature Range] NA 0 100\n"     // 21
                                    "stray data\n"                       // 22
                                    "[TTgnd] 0 NA NA\n"                  // 23
                                    "[TTpower] 1n -1n 2n\n"              // 24
                                    "[Model Spec]\n"                     // 25
                                    "[Model] O2\n"                       // 26
                                    "Model_type Output\n"
                                    "C_comp 1p NA NA\n"
                                    "[Model Spec]\n"                     // right after the subparameters
                                    "[Voltage Range] 3.3 3.0 3.6\n"
                                    "[Ramp]\n"
                                    "dV/dt_r 1/1n NA NA\n"
                                    "dV/dt_f 1/1n NA NA\n",
                                    [](IBIS* pIbis) {
                                        RNG* pRng = nullptr;
                                        ASSERT_EQ(1, MDL_GetVoltRange(FindModel(pIbis, "O1"), &pRng));
                                        EXPECT_DOUBLE_EQ(3.3, pRng->dTyp);  // the first value stays
                                    });
    EXPECT_EQ("ERROR  (line   20) - Voltage Range Already Defined For Model 'O1'\n"
              "ERROR  (line   21) - 'NA' Not Allowed For Typical Value\n"
              "ERROR  (line   22) - Expecting Keyword.  Invalid Line\n"
              "ERROR  (line   23) - TTgnd Typical value should be > 0\n"
              "ERROR  (line   24) - TTpower Min value should be > 0\n"
              "ERROR  (line   25) - [Model Spec] should be specified immediately after all the "
              "subparameters of a model and before the other keywords of a model\n",
              strLog);
}

TEST(MdlRead, RampRulesPerModelType) {
    std::string strLog = ReadModels("[Model] O1\n"                      // 13
                                    "Model_type Output\n"
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 3.0 3.6\n"
                                    "[Model] E1\n"                      // 17
                                    "Model_type Input_ECL\n"
                                    "C_comp 1p NA NA\n"
                                    "Vinl = -1.5\n"
                                    "Vinh = -1.0\n"
                                    "[Voltage Range] -5.2 NA NA\n"
                                    "[Model] T1\n"
                                    "Model_type Terminator\n"
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 3.0 3.6\n" +
                                    Model("S1", "Model_type Series\nC_comp 1p NA NA\n"));
    EXPECT_EQ("ERROR  - Model 'O1': Ramp Not Defined\n"
              "ERROR  - Model 'S1': Ramp Not Allowed for Series and Series_switch\n",
              strLog);
}

TEST(MdlRead, SeriesModelsRefuseDriverKeywords) {
    std::string strLog = ReadModels("[Model] S1\n"                      // 13
                                    "Model_type Series\n"
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 3.0 3.6\n"
                                    "[R Series] 10 NA NA\n"
                                    "[Pullup]\n"
                                    "0 0 NA NA\n"
                                    "1 -1m NA NA\n"
                                    "[TTgnd] 1n NA NA\n"
                                    "[Model] SW1\n"                     // 22
                                    "Model_type Series_switch\n"
                                    "C_comp 1p NA NA\n"
                                    "[Falling Waveform]\n"              // 25
                                    "R_fixture = 50\n"
                                    "V_fixture = 0\n"
                                    "0 0 0 0\n"
                                    "1n 0 0 0\n"
                                    "[On]\n");                          // 30
    EXPECT_EQ("ERROR  - Model 'S1': Pullup is not allowed when Model_type is Series\n"
              "ERROR  - Model 'S1': TTgnd is not allowed when Model_type is Series\n"
              "ERROR  -\n    Model 'SW1': Pullup Reference Required when No Voltage Range is Specified\n"
                  "ERROR  -\n    Model 'SW1': Pulldown Reference Required when No Voltage Range is Specified\n"
                  "ERROR  - Model 'SW1': POWER Clamp Reference Required when No Voltage Range is Specified\n"
                  "ERROR  - Model 'SW1': GND Clamp Reference Required when No Voltage Range is Specified\n"
                  "ERROR  - Model 'SW1': Falling Waveform is not allowed when Model_type is Series_switch\n"
                  "ERROR  - Model SW1 [On]: No series data found\n"
                  "ERROR  - Model SW1 is of type Series_switch. [Off] keyword is required\n",
              strLog);
}

TEST(MdlRead, SeriesKeywordPlacement) {
    std::string strLog = ReadModels("[Model] SW1\n"                     // 13
                                    "Model_type Series_switch\n"
                                    "C_comp 1p NA NA\n"
                                    "[R Series] 10 NA NA\n"             // 16
                                    "[Voltage Range] 3.3 3.0 3.6\n"     // 17
                                    "[Model] SW2\n"                     // 18
                                    "Model_type Series_switch\n"
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 3.0 3.6\n"
                                    "[On]\n"
                                    "[R Series] 10 NA NA\n"
                                    "[Off]\n"
                                    "[R Series] 1M NA NA\n" +
                                    CleanModel("O1") +                  // 26-32
                                    "[On]\n"                            // 33
                                    "data after On\n"                   // 34
                                    "[L Series] 1n NA NA\n"             // 35
                                    "[Series Current]\n"                // 36
                                    "-1 1 NA NA\n");                    // 37
    EXPECT_EQ("ERROR  (line   16) - No preceding [On] or [Off] keyword found. Assuming [On]\n"
              "ERROR  (line   17) - Model 'SW1' is of type Series_switch. Voltage Range should be "
              "defined before the [On] and [Off] sections\n"
              "ERROR  - Model SW1 is of type Series_switch. [Off] keyword is required\n"
              "ERROR  (line   33) - Keyword is valid only for Series_switch models\n"
              "ERROR  (line   34) - Expecting Keyword.  Invalid Line\n"
              "ERROR  (line   35) - Keyword is valid only for Series and Series_switch models\n"
              "ERROR  (line   36) - Keyword is valid only for Series and Series_switch models\n"
              "ERROR  (line   37) - Keyword is valid only for Series and Series_switch models\n",
              strLog);
}

TEST(MdlRead, ModelKeywordsOutsideAModelAreOrphans) {
    std::string strLog = ReadModels(std::string("[Voltage Range] 3.3 NA NA\n"  // 13: no model yet
                                                 "stray data\n") +              // 14
                                    CleanModel("O1") + CleanModel("O2") +       // 15-28
                                    "[Model Selector] SEL\n"                    // 29: ends the model
                                    "O1 first\n"
                                    "O2 second\n"
                                    "[Ramp]\n"                                  // 32
                                    "dV/dt_r 1/1n NA NA\n");                    // 33
    EXPECT_EQ("ERROR  (line   13) - Orphan Model keyword.\n"
              "ERROR  (line   14) - Orphan data line keyword.\n"
              "ERROR  (line   32) - Orphan Model keyword.\n"
              "ERROR  (line   33) - Orphan data line keyword.\n",
              strLog);
}

}  // namespace
