#include "model/submdl.h"

#include <gtest/gtest.h>

#include <string>

#include "model/mdl.h"
#include "model/smspec.h"
#include "model/wvfrm.h"
#include "reader/read.h"
#include "core/rng.h"
#include "support/snippet.h"
#include "support/verify.h"

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
    Verify v = ModelFile();
    v << "[Submodel] BH"
      << "Submodel_type bus_hold" << Expect::Error("Invalid Submodel_type (\"bus_hold\") (try \"Bus_hold\")")
      << "Submodel_type Bus_hold" << Expect::Error("Submodel_type Already Defined For Submodel 'BH'")
      << "Polarity Inverting" << Expect::Error("Unknown Line Among Sub Model Data")
      << "[Submodel] BH extra" << Expect::Error("Incorrect Number of Line Items (2) For Keyword Sub Model: Expecting 1")
                               << Expect::Error("SubModel Name Previously Defined (\"BH\")")
      << "Submodel_type = Dynamic_clamp" << Expect::Error("Invalid Submodel_type Line")
      << "[Submodel] GND" << Expect::Error("Invalid Sub Model Name (\"GND\"); Reserved Word.")
      << "[Submodel] A_VERY_LONG_SUBMODEL_NAME" << Expect::Error("Submodel 'GND': Submodel_type Not Defined").NoLine()
                                                << Expect::Error("Sub Model Name Over 20 Characters Long")
      << "Submodel_type Dynamic_clamp"
      << "[GND Clamp]"
      << "-1 -1m NA NA"
      << "0 0 NA NA"
      << "[Submodel]" << Expect::Error("'Sub Model' Keyword Missing name")
      << "[Model] O1" << Expect::Error("Submodel '': Submodel_type Not Defined").NoLine()
      << "Model_type Output\nC_comp 1p NA NA\n[Voltage Range] 3.3 3.0 3.6"
      << "[Pullup]"  // a model table again
      << "0 0 NA NA\n1 -1m NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA";
    v.Check([](IBIS* pIbis) {
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
    Verify v = ModelFile();
    v << "[Submodel] DC1"
      << "Submodel_type Dynamic_clamp"
      << "[Submodel Spec]"
      << "Off_delay 1n NA NA"
      << "[GND Pulse Table]";
    const std::string strGnd = " Beginning at Line " + std::to_string(v.Line());
    v << "0 -1 NA NA"
      << "[POWER Pulse Table]"
      << Expect::Error("Require at least 2 Data Points for GND Pulse Table Waveform" + strGnd).NoLine()
      << Expect::Warning("Found some GND Pulse Table (Typical) offsets less than 0 for Table" + strGnd).NoLine()
      << "0 0 NA NA"
      << "1n -0.5 NA NA"
      << "2n 0 NA NA"
      << "[POWER Pulse Table] x" << Expect::Error("[POWER Pulse Table] Already Defined")
                                 << Expect::Error("Incorrect Number of Line Items (2) For POWER Pulse: Expecting 1");
    const std::string strPower = " Beginning at Line " + std::to_string(v.Line());
    v << "0 0.5 NA NA"
      << "1n 0 NA NA"
      << "[Submodel] DC2"
      << Expect::Error("First Typical Value should be the same as the Last for POWER Pulse Table Waveform" + strPower)
             .NoLine()
      << Expect::Warning("Found some POWER Pulse Table (Typical) offsets greater than 0 for Table" + strPower).NoLine()
      << Expect::Error("Submodel DC1: [Submodel Spec] V_trigger_f is required when GND_Pulse is specified").NoLine()
      << Expect::Error("Submodel DC1: [Submodel Spec] V_trigger_r is required when POWER_Pulse is specified").NoLine()
      << Expect::Error("Submodel DC1: [Submodel Spec] Off_delay  cannot be specified with Dynamic_clamp submodels")
             .NoLine()
      << "Submodel_type Dynamic_clamp";
    v.ExpectEnd(Expect::Error("Submodel DC2: GND Pulse Table or POWER Pulse Table or GND Clamp or POWER Clamp is "
                              "required when Submodel_type is Dynamic_clamp"));
    v.Check([](IBIS* pIbis) {
        const WVFRM* pPower = FindSubmodel(pIbis, "DC1")->pPowerPulse;
        ASSERT_NE(nullptr, pPower);
        EXPECT_EQ(nullptr, pPower->pNext);
        EXPECT_DOUBLE_EQ(0.5, pPower->pRows->dTyp);  // the later table
    });
}

TEST(SmspecRead, LinesPlacementAndUnknownWords) {
    const Expect placement = Expect::Error("[Submodel Spec] should be specified before other keywords for a model");
    Verify v = ModelFile();
    v << DynamicClamp("DC1")
      << "[Submodel Spec]" << placement
      << "V_trigger_r 1 NA NA"
      << "V_trigger_r 2 NA NA" << Expect::Error("V_trigger_r Already Defined For Submodel 'DC1'")
      << "V_trigger_f NA 1 2" << Expect::Error("'NA' not allowed for Typical value")
      // The unknown word is the file's fault: an error on its line, counted
      // like any other, not a program bug.
      << "Vtrigger 1 NA NA" << Expect::Error("Unknown Line Among Submodel Spec Data")
      << "[Submodel Spec] x" << placement << Expect::Error("Sub Model Specification: Already Defined for this sub model")
                             << Expect::Error("Incorrect Number of Line Items (2) For Submodel Spec: Expecting 1")
      << "[Submodel] DC2" << Expect::Error("Submodel DC1: Empty Submodel Spec").NoLine()
      << "Submodel_type Dynamic_clamp"
      << "[Submodel Spec]"
      << "V_trigger_r 1 NA NA"
      << "[POWER Clamp]"
      << "0 0 NA NA"
      << "1 -1m NA NA";
    ReadResult result = v.Check([](IBIS* pIbis) {
        const SMSPEC* pSpec = FindSubmodel(pIbis, "DC2")->pSubmdlSpec;
        ASSERT_NE(nullptr, pSpec);
        EXPECT_DOUBLE_EQ(1, pSpec->pVtriggerR->dTyp);
        EXPECT_EQ(nullptr, pSpec->pOffDelay);
    });
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
    Verify v = ModelFile();
    v << CleanModel("O1")
      << "[Add Submodel] x" << Expect::Error("Incorrect Number of Line Items (2) For Add Submodel: Expecting 1")
      << "BH Non-Driving" << Expect::Error("Non-Driving mode is not valid for output model types")
      << "DC driving" << Expect::Error("Invalid Add Submodel Mode (\"driving\") (try \"Driving\")")
      << "GND All extra" << Expect::Error("Invalid Add Submodel Line. Expecting two items only")
                         << Expect::Error("Invalid Submodel Name (\"GND\"); Reserved Word.")
      << "A_VERY_LONG_SUBMODEL_NAME All" << Expect::Error("Add Submodel Name Over 20 Characters Long")
      << "BH" << Expect::Error("Add Submodel Mode not found")
      << "BH Sometimes" << Expect::Error("Invalid Add Submodel Mode (\"Sometimes\")")
      << "[Model] IN1"
      << "Model_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n[Voltage Range] 3.3 3.0 3.6"
      << "[Add Submodel]"
      << "BH Driving" << Expect::Error("Driving mode is not valid for input model types")
      << "[Add Submodel]" << Expect::Error("Add sub model: Already Defined for this model")
      << "DC All"
      << ModelHead("S1", "Series")
      << "[R Series] 1 NA NA"
      << "[Add Submodel]" << Expect::Error("Add Submodel is not allowed for Series or Series_switch models")
      << "BH All"
      << BusHold("BH") << DynamicClamp("DC");  // defined after their users
    // The end of the file: only the names that no [Submodel] defines.
    v.ExpectEnd(Expect::Error("Could not find definition for Submodel GND of Model O1"))
        .ExpectEnd(Expect::Error("Could not find definition for Submodel A_VERY_LONG_SUBMODEL of Model O1"));
    v.Check([](IBIS* pIbis) {
        const ADDSUB* p = FindModel(pIbis, "O1")->pAddSubmdl;
        const unsigned aeModes[] = {ASM_NON_DRIVING, ASM_NO_MODE, ASM_ALL, ASM_ALL, ASM_NO_MODE, ASM_NO_MODE};
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
