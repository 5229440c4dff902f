#include "model/submdl.h"

#include <gtest/gtest.h>

#include <string>

#include "model/mdl.h"
#include "model/model_text.h"
#include "model/smspec.h"
#include "model/wvfrm.h"
#include "reader/read.h"
#include "core/rng.h"
#include "support/snippet.h"

namespace {

SUBMDL* FindSubmodel(IBIS* pIbis, const char* pszName) {
    SUBMDL* pList = nullptr;
    IBIS_GetSubmdlList(pIbis, &pList);
    for (SUBMDL* p = pList; p != nullptr; p = p->pNext)
        if (std::string(p->szName) == pszName) return p;
    return nullptr;
}

// Submodels that need nothing more (11 and 6 lines).
std::string BusHold(const std::string& strName) {
    return "[Submodel] " + strName + "\n"
           "Submodel_type Bus_hold\n"
           "[Submodel Spec]\n"
           "V_trigger_r 1.8 1.7 1.9\n"
           "V_trigger_f 1.0 0.9 1.1\n"
           "[Pulldown]\n"
           "-1 -1m NA NA\n"
           "1 1m NA NA\n"
           "[Ramp]\n"
           "dV/dt_r 1/1n NA NA\n"
           "dV/dt_f 1/1n NA NA\n";
}

std::string DynamicClamp(const std::string& strName) {
    return "[Submodel] " + strName + "\n"
           "Submodel_type Dynamic_clamp\n"
           "[GND Clamp]\n"
           "-1 -1m NA NA\n"
           "0 0 NA NA\n";
}

TEST(SubmdlRead, NamesAndSubmodelType) {
    std::string strLog = ReadModels("[Submodel] BH\n"                       // 13
                                    "Submodel_type bus_hold\n"
                                    "Submodel_type Bus_hold\n"              // 15
                                    "Polarity Inverting\n"
                                    "[Submodel] BH extra\n"                 // 17
                                    "Submodel_type = Dynamic_clamp\n"
                                    "[Submodel] GND\n"                      // 19
                                    "[Submodel] A_VERY_LONG_SUBMODEL_NAME\n"
                                    "Submodel_type Dynamic_clamp\n"
                                    "[GND Clamp]\n"
                                    "-1 -1m NA NA\n"
                                    "0 0 NA NA\n"
                                    "[Submodel]\n"                          // 25
                                    "[Model] O1\n"
                                    "Model_type Output\n"
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 3.0 3.6\n"
                                    "[Pullup]\n"                            // a model table again
                                    "0 0 NA NA\n"
                                    "1 -1m NA NA\n"
                                    "[Ramp]\n"
                                    "dV/dt_r 1/1n NA NA\n"
                                    "dV/dt_f 1/1n NA NA\n",
                                    [](IBIS* pIbis) {
                                        SUBMDL* pList = nullptr;
                                        IBIS_GetSubmdlList(pIbis, &pList);
                                        ASSERT_NE(nullptr, pList);
                                        EXPECT_STREQ("", pList->szName);  // newest first
                                        SUBMDL* pLong = FindSubmodel(pIbis, "A_VERY_LONG_SUBMODEL");
                                        ASSERT_NE(nullptr, pLong);
                                        EXPECT_EQ(SMT_DYNAMIC_CLAMP, pLong->eSubmodelType);
                                        EXPECT_NE(nullptr, pLong->pGndClamp);
                                        // The first BH: a case-only mismatch leaves "No Type".
                                        EXPECT_EQ(SMT_NO_TYPE, pList->pNext->pNext->pNext->pNext->eSubmodelType);
                                        MDL* pMdl = FindModel(pIbis, "O1");
                                        EXPECT_NE(nullptr, pMdl->pPullup);
                                    });
    EXPECT_EQ("ERROR  (line   14) - Invalid Submodel_type (\"bus_hold\") (try \"Bus_hold\")\n"
              "ERROR  (line   15) - Submodel_type Already Defined For Submodel 'BH'\n"
              "ERROR  (line   16) - Unknown Line Among Sub Model Data\n"
              "ERROR  (line   17) -\n    Incorrect Number of Line Items (2) For Keyword Sub Model: Expecting 1\n"
              "ERROR  (line   17) - SubModel Name Previously Defined (\"BH\")\n"
              "ERROR  (line   18) - Invalid Submodel_type Line\n"
              "ERROR  (line   19) - Invalid Sub Model Name (\"GND\"); Reserved Word.\n"
              "ERROR  - Submodel 'GND': Submodel_type Not Defined\n"
              "ERROR  (line   20) - Sub Model Name Over 20 Characters Long\n"
              "ERROR  (line   25) - 'Sub Model' Keyword Missing name\n"
              "ERROR  - Submodel '': Submodel_type Not Defined\n",
              strLog);
}

TEST(SubmdlEnd, BusHoldRequirements) {
    std::string strLog = ReadModels(
        // Only the ramp is missing: exactly one error.
        "[Submodel] BH1\n"                   // 13
        "Submodel_type Bus_hold\n"
        "[Submodel Spec]\n"
        "V_trigger_r 1.8 1.7 1.9\n"
        "V_trigger_f 1.0 0.9 1.1\n"
        "[Pulldown]\n"
        "-1 -1m NA NA\n"
        "1 1m NA NA\n"
        "[Submodel] BH2\n"                   // 21
        "Submodel_type Bus_hold\n"
        "[Submodel] BH3\n"                   // 23
        "Submodel_type Bus_hold\n"
        "[Submodel Spec]\n"
        "V_trigger_r 1.8 1.7 1.9\n"
        "[Pullup]\n"                         // tables follow the rules of an Output model
        "-1 -1m NA NA\n"
        "1 1m NA NA\n"
        "[Ramp]\n"
        "dV/dt_r 1/1n NA NA\n"
        "dV/dt_f 1/1n NA NA\n");
    EXPECT_EQ("ERROR  - Submodel BH1: [Ramp] is required when Submodel_type is Bus_hold\n"
              "ERROR  -\n    Submodel BH2: [Submodel Spec] is required when Submodel_type is Bus_hold\n"
              "ERROR  - Submodel BH2: [Ramp] is required when Submodel_type is Bus_hold\n"
              "ERROR  - Submodel BH2: Either [Pullup] or [Pulldown] is required when Submodel_type is Bus_hold\n"
              "WARNING  - Submodel BH3: Pullup has Increasing Current\n"
              "ERROR  - Submodel BH3: [Submodel Spec] V_trigger_f is required when Submodel_type is Bus_hold\n",
              strLog);
}

TEST(SubmdlEnd, DynamicClampRequirementsAndPulseTables) {
    std::string strLog = ReadModels("[Submodel] DC1\n"              // 13
                                    "Submodel_type Dynamic_clamp\n"
                                    "[Submodel Spec]\n"
                                    "Off_delay 1n NA NA\n"
                                    "[GND Pulse Table]\n"           // 17
                                    "0 -1 NA NA\n"
                                    "[POWER Pulse Table]\n"         // 19
                                    "0 0 NA NA\n"
                                    "1n -0.5 NA NA\n"
                                    "2n 0 NA NA\n"
                                    "[POWER Pulse Table] x\n"       // 23
                                    "0 0.5 NA NA\n"
                                    "1n 0 NA NA\n"
                                    "[Submodel] DC2\n"              // 26
                                    "Submodel_type Dynamic_clamp\n",
                                    [](IBIS* pIbis) {
                                        const WVFRM* pPower = FindSubmodel(pIbis, "DC1")->pPowerPulse;
                                        ASSERT_NE(nullptr, pPower);
                                        EXPECT_EQ(nullptr, pPower->pNext);
                                        EXPECT_DOUBLE_EQ(0.5, pPower->pRows->dTyp);  // the later table
                                    });
    EXPECT_EQ("ERROR  - Require at least 2 Data Points for GND Pulse Table Waveform Beginning at Line 17\n"
              "WARNING  - Found some GND Pulse Table (Typical) offsets less than 0 for Table Beginning at Line 17\n"
              "ERROR  (line   23) - [POWER Pulse Table] Already Defined\n"
              "ERROR  (line   23) -\n    Incorrect Number of Line Items (2) For POWER Pulse: Expecting 1\n"
              "ERROR  - First Typical Value should be the same as the Last for POWER Pulse Table Waveform Beginning at Line 23\n"
              "WARNING  - Found some POWER Pulse Table (Typical) offsets greater than 0 for Table Beginning at Line 23\n"
              "ERROR  - Submodel DC1: [Submodel Spec] V_trigger_f is required when GND_Pulse is specified\n"
              "ERROR  - Submodel DC1: [Submodel Spec] V_trigger_r is required when POWER_Pulse is specified\n"
              "ERROR  - Submodel DC1: [Submodel Spec] Off_delay  cannot be specified with Dynamic_clamp submodels\n"
              "ERROR  - Submodel DC2: GND Pulse Table or POWER Pulse Table or GND Clamp or POWER Clamp is "
              "required when Submodel_type is Dynamic_clamp\n",
              strLog);
}

TEST(SmspecRead, LinesPlacementAndUnknownWords) {
    ReadResult result = ReadSnippet(
        "models.ibs", ComponentFile("models.ibs", DynamicClamp("DC1") +      // 13-17
                                                      "[Submodel Spec]\n"    // 18
                                                      "V_trigger_r 1 NA NA\n"
                                                      "V_trigger_r 2 NA NA\n"  // 20
                                                      "V_trigger_f NA 1 2\n"
                                                      "Vtrigger 1 NA NA\n"     // 22
                                                      "[Submodel Spec] x\n"    // 23
                                                      "[Submodel] DC2\n"       // 24
                                                      "Submodel_type Dynamic_clamp\n"
                                                      "[Submodel Spec]\n"
                                                      "V_trigger_r 1 NA NA\n"
                                                      "[POWER Clamp]\n"
                                                      "0 0 NA NA\n"
                                                      "1 -1m NA NA\n"),
        [](IBIS* pIbis) {
            const SMSPEC* pSpec = FindSubmodel(pIbis, "DC2")->pSubmdlSpec;
            ASSERT_NE(nullptr, pSpec);
            EXPECT_DOUBLE_EQ(1, pSpec->pVtriggerR->dTyp);
            EXPECT_EQ(nullptr, pSpec->pOffDelay);
        });
    // The unknown word is the file's fault: an error on its line, counted
    // like any other, not a program bug.
    EXPECT_EQ("ERROR  (line   18) -\n    [Submodel Spec] should be specified before other keywords for a model\n"
              "ERROR  (line   20) - V_trigger_r Already Defined For Submodel 'DC1'\n"
              "ERROR  (line   21) - 'NA' not allowed for Typical value\n"
              "ERROR  (line   22) - Unknown Line Among Submodel Spec Data\n"
              "ERROR  (line   23) -\n    [Submodel Spec] should be specified before other keywords for a model\n"
              "ERROR  (line   23) - Sub Model Specification: Already Defined for this sub model\n"
              "ERROR  (line   23) -\n    Incorrect Number of Line Items (2) For Submodel Spec: Expecting 1\n"
              "ERROR  - Submodel DC1: Empty Submodel Spec\n",
              result.strLog);
    EXPECT_EQ(0, result.nBugs);
    EXPECT_EQ(8, result.nErrors);
}

TEST(SubmdlEnd, TriggersAgainstWaveforms) {
    std::string strLog = ReadModels("[Submodel] BH\n"
                                    "Submodel_type Bus_hold\n"
                                    "[Submodel Spec]\n"
                                    "V_trigger_r 0.9 0.8 4.0\n"
                                    "V_trigger_f 2.0 NA 3.5\n"
                                    "[Pulldown]\n"
                                    "-1 -1m NA NA\n"
                                    "1 1m NA NA\n"
                                    "[Ramp]\n"
                                    "dV/dt_r 1/1n NA NA\n"
                                    "dV/dt_f 1/1n NA NA\n"
                                    "[Rising Waveform]\n"
                                    "R_fixture = 50\n"
                                    "V_fixture = 0\n"
                                    "0 1.0 NA 1.2\n"       // Min: NA takes the typical 1.0
                                    "1n 3.0 NA 3.1\n"
                                    "[Rising Waveform]\n"  // equal values pass
                                    "R_fixture = 50\n"
                                    "V_fixture = 0\n"
                                    "0 0.9 0.8 0.9\n"
                                    "1n 4.0 3.0 4.0\n"
                                    "[Falling Waveform]\n"
                                    "R_fixture = 50\n"
                                    "V_fixture = 0\n"
                                    "0 3.0 2.8 3.3\n"      // Min: the trigger's typical against 2.8
                                    "1n 1.0 0.9 1.1\n");
    EXPECT_EQ("WARNING  -\n    Submodel BH: V_trigger_r (Typ) is less than the start of Rising Waveform\n"
              "WARNING  -\n    Submodel BH: V_trigger_r (Min) is less than the start of Rising Waveform\n"
              "WARNING  -\n    Submodel BH: V_trigger_r (Max) is greater than the end of Rising Waveform\n"
              "WARNING  - Submodel BH: V_trigger_f (Max) is greater than the start of Falling Waveform\n",
              strLog);
}

// Each waveform in file order, its corners typical first, the start of
// the waveform before its end; a waveform whose first typical voltage is
// "NA" is not compared.
TEST(SubmdlEnd, TriggersWaveformByWaveform) {
    std::string strLog = ReadModels("[Submodel] BH\n"
                                    "Submodel_type Bus_hold\n"
                                    "[Submodel Spec]\n"
                                    "V_trigger_r 0.5 0.4 3.5\n"
                                    "V_trigger_f 4.0 NA NA\n"
                                    "[Pulldown]\n"
                                    "-1 -1m NA NA\n"
                                    "1 1m NA NA\n"
                                    "[Ramp]\n"
                                    "dV/dt_r 1/1n NA NA\n"
                                    "dV/dt_f 1/1n NA NA\n"
                                    "[Rising Waveform]\n"
                                    "R_fixture = 50\n"
                                    "V_fixture = 0\n"
                                    "0 1.0 NA NA\n"
                                    "1n 3.0 NA NA\n"
                                    "[Rising Waveform]\n"
                                    "R_fixture = 50\n"
                                    "V_fixture = 0\n"
                                    "0 0.6 NA NA\n"
                                    "1n 3.3 NA NA\n"
                                    "[Falling Waveform]\n"
                                    "R_fixture = 50\n"
                                    "V_fixture = 0\n"
                                    "0 NA 3.0 3.0\n"
                                    "1n NA 0 0\n");
    EXPECT_EQ("ERROR  - First Typical Value Cannot Be 'NA' for Falling Waveform Beginning at Line 34\n"
              "ERROR  -\n    Last Typical Value Cannot Be 'NA' for Falling Waveform Beginning at Line 34\n"
              "WARNING  -\n    Submodel BH: V_trigger_r (Typ) is less than the start of Rising Waveform\n"
              "WARNING  -\n    Submodel BH: V_trigger_r (Min) is less than the start of Rising Waveform\n"
              "WARNING  -\n    Submodel BH: V_trigger_r (Max) is greater than the end of Rising Waveform\n"
              "WARNING  -\n    Submodel BH: V_trigger_r (Typ) is less than the start of Rising Waveform\n"
              "WARNING  -\n    Submodel BH: V_trigger_r (Min) is less than the start of Rising Waveform\n"
              "WARNING  -\n    Submodel BH: V_trigger_r (Max) is greater than the end of Rising Waveform\n",
              strLog);
}

TEST(AddsubRead, ModesAndModelTypes) {
    std::string strLog = ReadModels(CleanModel("O1") +                      // 13-19
                                        "[Add Submodel] x\n"                // 20
                                        "BH Non-Driving\n"
                                        "DC driving\n"                      // 22
                                        "GND All extra\n"
                                        "A_VERY_LONG_SUBMODEL_NAME All\n"   // 24
                                        "BH\n"
                                        "BH Sometimes\n"                    // 26
                                        "[Model] IN1\n"                     // 27
                                        "Model_type Input\n"
                                        "Vinl = 0.8\n"
                                        "Vinh = 2.0\n"
                                        "C_comp 1p NA NA\n"
                                        "[Voltage Range] 3.3 3.0 3.6\n"
                                        "[Add Submodel]\n"                  // 33
                                        "BH Driving\n"
                                        "[Add Submodel]\n"                  // 35
                                        "DC All\n"
                                        "[Model] S1\n"                      // 37
                                        "Model_type Series\n"
                                        "C_comp 1p NA NA\n"
                                        "[Voltage Range] 3.3 3.0 3.6\n"
                                        "[R Series] 1 NA NA\n"
                                        "[Add Submodel]\n"                  // 42
                                        "BH All\n" +
                                        BusHold("BH") +                     // defined after their users
                                        DynamicClamp("DC"),
                                    [](IBIS* pIbis) {
                                        const ADDSUB* p = FindModel(pIbis, "O1")->pAddSubmdl;
                                        const unsigned aeModes[] = {ASM_NON_DRIVING, ASM_NO_MODE, ASM_ALL,
                                                                    ASM_ALL, ASM_NO_MODE, ASM_NO_MODE};
                                        for (unsigned eMode : aeModes) {
                                            ASSERT_NE(nullptr, p);
                                            EXPECT_EQ(eMode, p->eMode);
                                            p = p->pNext;
                                        }
                                        EXPECT_EQ(nullptr, p);
                                        const ADDSUB* pIn = FindModel(pIbis, "IN1")->pAddSubmdl;
                                        EXPECT_STREQ("DC", pIn->szName);  // the later list replaced the first
                                        EXPECT_EQ(nullptr, pIn->pNext);
                                    });
    EXPECT_EQ("ERROR  (line   20) -\n    Incorrect Number of Line Items (2) For Add Submodel: Expecting 1\n"
              "ERROR  (line   21) - Non-Driving mode is not valid for output model types\n"
              "ERROR  (line   22) - Invalid Add Submodel Mode (\"driving\") (try \"Driving\")\n"
              "ERROR  (line   23) - Invalid Add Submodel Line. Expecting two items only\n"
              "ERROR  (line   23) - Invalid Submodel Name (\"GND\"); Reserved Word.\n"
              "ERROR  (line   24) - Add Submodel Name Over 20 Characters Long\n"
              "ERROR  (line   25) - Add Submodel Mode not found\n"
              "ERROR  (line   26) - Invalid Add Submodel Mode (\"Sometimes\")\n"
              "ERROR  (line   34) - Driving mode is not valid for input model types\n"
              "ERROR  (line   35) - Add sub model: Already Defined for this model\n"
              "ERROR  (line   42) -\n    Add Submodel is not allowed for Series or Series_switch models\n"
              // The end of the file: only the names that no [Submodel] defines.
              "ERROR  - Could not find definition for Submodel GND of Model O1\n"
              "ERROR  - Could not find definition for Submodel A_VERY_LONG_SUBMODEL of Model O1\n",
              strLog);
}

TEST(AddsubCheckAll, SubmodelsReferencedButNeverDefined) {
    std::string strLog = ReadModels(CleanModel("O1") +
                                    "[Add Submodel]\n"
                                    "GHOST All\n"
                                    "PHANTOM Driving\n");
    EXPECT_EQ("ERROR  - Could not find definition for Submodel GHOST of Model O1\n"
              "ERROR  - Could not find definition for Submodel PHANTOM of Model O1\n",
              strLog);
}

}  // namespace
