#include "model/mspec.h"

#include <gtest/gtest.h>

#include <string>

#include "model/mdl.h"
#include "model/model_text.h"
#include "core/rng.h"

namespace {

// An Input model whose [Model Spec] holds the given lines: the keyword is
// the model's line 6, its lines follow, then one more line.
std::string SpecModel(const std::string& strName, const std::string& strSpec,
                      const std::string& strTwoSubparameters = "Vinl = 0.8\nVinh = 2.0\n") {
    return "[Model] " + strName + "\nModel_type Input\n" + strTwoSubparameters +
           "C_comp 1p NA NA\n[Model Spec]\n" + strSpec + "[Voltage Range] 3.3 3.0 3.6\n";
}

TEST(MspecRead, LinesAndAccessors) {
    std::string strLog = ReadModels(SpecModel("IN1",                        // 13, [Model Spec] 18
                                              "Vinh+ 2.0 1.9 2.1\n"         // 19
                                              "Vinh- 1.6 1.5 1.7\n"
                                              "Vinl+ 1.1 1.0 1.2\n"
                                              "Vinl- 0.7 0.6 0.8\n"
                                              "Vmeas = 1.5\n"               // 23
                                              "Vmeas 1.5 NA NA\n"
                                              "Pulse_high 3 NA NA\n"        // 25
                                              "Pulse_high 3 NA NA\n"
                                              "Pulse_time NA 1n 2n\n"       // 27
                                              "Vinh_plus 2.0 NA NA\n"       // 28
                                              "[Model Spec] extra\n"        // 29
                                              "S_overshoot_high 3.6 NA NA\n"),
                                    [](IBIS* pIbis) {
                                        MSPEC* pSpec = nullptr;
                                        ASSERT_EQ(1, MDL_GetModelSpec(FindModel(pIbis, "IN1"), &pSpec));
                                        RNG* pRng = nullptr;
                                        // The second [Model Spec] replaced the first.
                                        EXPECT_EQ(0, MSPEC_GetVinhPlus(pSpec, &pRng));
                                        EXPECT_EQ(0, MSPEC_GetVmeas(pSpec, &pRng));
                                        ASSERT_EQ(1, MSPEC_GetSOvershootHigh(pSpec, &pRng));
                                        EXPECT_DOUBLE_EQ(3.6, pRng->dTyp);
                                        EXPECT_EQ(0u, pSpec->bHystComplete);
                                    });
    // The first [Model Spec] ends clean: its hysteresis is complete and
    // Pulse_high lies above Vinh-.
    EXPECT_EQ("ERROR  (line   23) - No maximum Value Was Provided for Vmeas\n"
              "ERROR  (line   23) - Invalid Typical Value (\"=\")\n"
              "ERROR  (line   24) - Vmeas Already Defined For Model 'IN1'\n"
              "ERROR  (line   26) - PulseHigh Already Defined For Model 'IN1'\n"
              "ERROR  (line   27) - 'NA' not allowed for Typical value\n"
              "ERROR  (line   28) - Unknown Line Among Model Spec Data\n"
              "ERROR  (line   29) - Model Specification: Already Defined for this model\n"
              "ERROR  (line   29) -\n    Incorrect Number of Line Items (2) For Model Spec: Expecting 1\n",
              strLog);
}

TEST(MspecEnd, HysteresisCompletenessAndOrderPerCorner) {
    std::string strLog = ReadModels(SpecModel("IN1",                   // 13, [Model Spec] 18
                                              "Vinh+ 2.0 NA 2.1\n") +
                                    SpecModel("IN2",                   // 21, [Model Spec] 26
                                              "Vinh+ 2.0 1.9 2.1\n"
                                              "Vinh- 2.1 1.8 NA\n"     // Typ fails; Max: 2.1 >= 2.1
                                              "Vinl+ 0.9 0.8 1.0\n"
                                              "Vinl- 0.8 0.85\n"       // 30: Min fails; no Max
                                              ) +
                                    SpecModel("IN3",                   // 32, [Model Spec] 37
                                              "Vinh+ 2.0 1.9 2.0\n"
                                              "Vinh- 1.8 1.9 NA\n"     // equal values pass
                                              "Vinl+ NA NA NA\n"       // 40: no typical, not compared
                                              "Vinl- 0.8 0.7 0.9\n"));
    EXPECT_EQ("WARNING  - All  Hystereis Thresholds should be specified for Model Spec defined on line 18\n"
              "ERROR  (line   30) - No maximum Value Was Provided for Vinl-\n"
              "WARNING  - Vinh+(Typ) is not greater than or equal to Vinh-(Typ) for Model Spec defined on line 26\n"
              "WARNING  - Vinl+(Min) is not greater than or equal to Vinl-(Min) for Model Spec defined on line 26\n"
              "ERROR  (line   40) - 'NA' not allowed for Typical value\n",
              strLog);
}

// The Vinh pair is checked in all its corners before the Vinl pair.  A
// sign check reads a missing minimum or maximum as the typical value and
// skips a value whose typical is "NA".
TEST(MspecEnd, HysteresisPairByPairAndSignsOfShortValues) {
    std::string strLog = ReadModels(SpecModel("IN1",                          // 13, [Model Spec] 18
                                              "Vinh+ 2.0 1.5 2.1\n"           // 19: Min fails
                                              "Vinh- 1.8 1.6 1.9\n"
                                              "Vinl+ 0.9 0.8 1.2\n"           // 21: Typ fails
                                              "Vinl- 1.0 0.7 1.1\n"
                                              "S_overshoot_high NA -1 -1\n"   // 23
                                              "S_overshoot_low 0.2\n"));      // 24
    EXPECT_EQ("ERROR  (line   23) - 'NA' not allowed for Typical value\n"
              "ERROR  (line   24) - No minimum Value Was Provided for S_overshoot_low\n"
              "ERROR  (line   24) - No maximum Value Was Provided for S_overshoot_low\n"
              "WARNING  - Vinh+(Min) is not greater than or equal to Vinh-(Min) for Model Spec defined on line 18\n"
              "WARNING  - Vinl+(Typ) is not greater than or equal to Vinl-(Typ) for Model Spec defined on line 18\n"
              "WARNING  - S_overshoot_low (Typ) is greater than zero for Model Spec defined on line 18\n"
              "WARNING  - S_overshoot_low (Max) is greater than zero for Model Spec defined on line 18\n"
              "WARNING  - S_overshoot_low (Min) is greater than zero for Model Spec defined on line 18\n",
              strLog);
}

TEST(MspecEnd, OvershootSignsRelationsAndOrphans) {
    std::string strLog = ReadModels(SpecModel("IN1",                             // 13, [Model Spec] 18
                                              "S_overshoot_high -0.1 NA NA\n"    // NA corners take the typical
                                              "S_overshoot_low 0.1 -0.5 NA\n"
                                              "D_overshoot_high 0.5 0.5 0.5\n"
                                              "D_overshoot_time 1n NA NA\n") +
                                    SpecModel("IN2",                             // 24, [Model Spec] 29
                                              "S_overshoot_high 4.0 3.9 4.1\n"
                                              "S_overshoot_low -0.5 -0.4 -0.6\n"
                                              "D_overshoot_high 4.0 4.0 4.2\n"   // Typ equal
                                              "D_overshoot_low -0.6 -0.4 -0.7\n" // Min equal
                                              "D_overshoot_time 1n -1n 2n\n") +
                                    SpecModel("IN3",                             // 36, [Model Spec] 41
                                              "D_overshoot_low -0.6 NA NA\n") +
                                    SpecModel("IN4",                             // 44, [Model Spec] 49
                                              "D_overshoot_time 1n NA NA\n"
                                              "Pulse_time -1n NA NA\n"));
    EXPECT_EQ("WARNING  -\n    S_overshoot_high (Typ) is less than zero for Model Spec defined on line 18\n"
              "WARNING  -\n    S_overshoot_high (Max) is less than zero for Model Spec defined on line 18\n"
              "WARNING  -\n    S_overshoot_high (Min) is less than zero for Model Spec defined on line 18\n"
              "WARNING  - S_overshoot_low (Typ) is greater than zero for Model Spec defined on line 18\n"
              "WARNING  - S_overshoot_low (Max) is greater than zero for Model Spec defined on line 18\n"
              "WARNING  - D_overshoot_high(Typ) is not greater than S_overshoot_high(Typ) for Model Spec defined on line 29\n"
              "WARNING  - D_overshoot_low(Min) is not less than S_overshoot_low(Min) for Model Spec defined on line 29\n"
              "WARNING  -\n    D_overshoot_time (Min) is less than zero for Model Spec defined on line 29\n"
              "ERROR  - D_overshoot_low requires S_overshoot_low to be specified for Model Spec defined on line 41\n"
              "ERROR  - D_overshoot_low requires D_overshoot_time to be specified for Model Spec defined on line 41\n"
              "WARNING  - orphan D_overshoot_time found for Model Spec defined on line 49\n"
              "WARNING  - orphan Pulse_time found for Model Spec defined on line 49\n",
              strLog);
}

TEST(MspecEnd, PulseThresholdsAndTheirFallbacks) {
    std::string strLog = ReadModels(
        // The model's own Vinl is the reference; equal values fail.
        SpecModel("IN1",                          // 13, [Model Spec] 18
                  "Pulse_high 0.8 0.8 0.9\n"
                  "Pulse_time 1n NA NA\n") +
        // The Vinh of [Model Spec] comes before the model's.
        SpecModel("IN2",                          // 22, [Model Spec] 27
                  "Vinh 1.5 1.4 1.6\n"
                  "Pulse_low 1.6 1.3 NA\n"        // Typ fails; Max takes 1.6 against 1.6
                  "Pulse_time 1n NA NA\n") +
        // A complete hysteresis comes first of all.
        SpecModel("IN3",                          // 32, [Model Spec] 37
                  "Vinh+ 2.0 NA NA\n"
                  "Vinh- 1.5 NA NA\n"
                  "Vinl+ 1.2 NA NA\n"
                  "Vinl- 0.8 NA NA\n"
                  "Vinl 2.5 NA NA\n"
                  "Pulse_high 1.4 NA NA\n"
                  "Pulse_low 1.1 NA NA\n"
                  "Pulse_time -1n NA NA\n") +
        // No threshold anywhere, no Pulse_time.
        SpecModel("IN4",                          // 47, [Model Spec] 52
                  "Pulse_low 0.5 NA NA\n", "Vmeas = 1.5\nCref = 0\n"));
    EXPECT_EQ("WARNING  - Pulse_high(Typ) is not greater than Vinl(Typ) for Model Spec defined on line 18\n"
              "WARNING  - Pulse_high(Min) is not greater than Vinl(Min) for Model Spec defined on line 18\n"
              "WARNING  -\n    Pulse_low(Typ) is not less than Vinh(Typ) for Model Spec defined on line 27\n"
              "WARNING  -\n    Pulse_low(Max) is not less than Vinh(Max) for Model Spec defined on line 27\n"
              "WARNING  - Pulse_high(Typ) is not greater than Vinh-(Typ) for Model Spec defined on line 37\n"
              "WARNING  - Pulse_high(Min) is not greater than Vinh-(Min) for Model Spec defined on line 37\n"
              "WARNING  - Pulse_high(Max) is not greater than Vinh-(Max) for Model Spec defined on line 37\n"
              "WARNING  - Pulse_time (Typ) is less than zero for Model Spec defined on line 37\n"
              "WARNING  - Pulse_time (Max) is less than zero for Model Spec defined on line 37\n"
              "WARNING  - Pulse_time (Min) is less than zero for Model Spec defined on line 37\n"
              "WARNING  - Model 'IN4': Model_type 'Input' must have Vinl set\n"
              "WARNING  - Model 'IN4': Model_type 'Input' must have Vinh set\n"
              "ERROR  - Pulse_low requires Pulse_time to be specified for Model Spec defined on line 52\n"
              "ERROR  - Pulse_low requires Thresholds or Hysteresis Thresholds to be specified for Model Spec defined on line 52\n",
              strLog);
}

}  // namespace
