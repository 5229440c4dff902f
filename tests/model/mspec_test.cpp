#include "model/mspec.h"

#include <gtest/gtest.h>

#include <string>

#include "model/mdl.h"
#include "support/snippet.h"
#include "support/verify.h"
#include "core/rng.h"

namespace {

const char* const kRange = "[Voltage Range] 3.3 3.0 3.6";

// Adds an Input model up to its [Model Spec] line; the lines of the keyword
// follow, then kRange.  Returns how findings at the end of the keyword name it.
std::string OpenSpec(Verify& v, const std::string& strName,
                     const std::string& strTwoSubparameters = "Vinl = 0.8\nVinh = 2.0") {
    v << "[Model] " + strName << "Model_type Input" << strTwoSubparameters << "C_comp 1p NA NA" << "[Model Spec]";
    return " for Model Spec defined on line " + std::to_string(v.Line());
}

TEST(MspecRead, LinesAndAccessors) {
    Verify v = ModelFile();
    OpenSpec(v, "IN1");
    v << "Vinh+ 2.0 1.9 2.1\nVinh- 1.6 1.5 1.7\nVinl+ 1.1 1.0 1.2\nVinl- 0.7 0.6 0.8"
      << "Vmeas = 1.5" << Expect::Error("No maximum Value Was Provided for Vmeas")
                       << Expect::Error("Invalid Typical Value (\"=\")")
      << "Vmeas 1.5 NA NA" << Expect::Error("Vmeas Already Defined For Model 'IN1'")
      << "Pulse_high 3 NA NA"
      << "Pulse_high 3 NA NA" << Expect::Error("PulseHigh Already Defined For Model 'IN1'")
      << "Pulse_time NA 1n 2n" << Expect::Error("'NA' not allowed for Typical value")
      << "Vinh_plus 2.0 NA NA" << Expect::Error("Unknown Line Among Model Spec Data")
      << "[Model Spec] extra" << Expect::Error("Model Specification: Already Defined for this model")
                              << Expect::Error("Incorrect Number of Line Items (2) For Model Spec: Expecting 1")
      << "S_overshoot_high 3.6 NA NA" << kRange;
    // The first [Model Spec] ends clean: its hysteresis is complete and
    // Pulse_high lies above Vinh-.
    v.Check([](IBIS* pIbis) {
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
}

TEST(MspecEnd, HysteresisCompletenessAndOrderPerCorner) {
    Verify v = ModelFile();
    const std::string strIn1 = OpenSpec(v, "IN1");
    v << "Vinh+ 2.0 NA 2.1"
      << kRange << Expect::Warning("All  Hystereis Thresholds should be specified" + strIn1).NoLine();
    const std::string strIn2 = OpenSpec(v, "IN2");
    v << "Vinh+ 2.0 1.9 2.1"
      << "Vinh- 2.1 1.8 NA"  // Typ fails; Max: 2.1 >= 2.1
      << "Vinl+ 0.9 0.8 1.0"
      << "Vinl- 0.8 0.85" << Expect::Error("No maximum Value Was Provided for Vinl-")  // Min fails; no Max
      << kRange << Expect::Warning("Vinh+(Typ) is not greater than or equal to Vinh-(Typ)" + strIn2).NoLine()
                << Expect::Warning("Vinl+(Min) is not greater than or equal to Vinl-(Min)" + strIn2).NoLine();
    OpenSpec(v, "IN3");
    v << "Vinh+ 2.0 1.9 2.0"
      << "Vinh- 1.8 1.9 NA"  // equal values pass
      << "Vinl+ NA NA NA" << Expect::Error("'NA' not allowed for Typical value")  // not compared
      << "Vinl- 0.8 0.7 0.9" << kRange;
    v.Check();
}

// The Vinh pair is checked in all its corners before the Vinl pair.  A
// sign check reads a missing minimum or maximum as the typical value and
// skips a value whose typical is "NA".
TEST(MspecEnd, HysteresisPairByPairAndSignsOfShortValues) {
    Verify v = ModelFile();
    const std::string strAt = OpenSpec(v, "IN1");
    v << "Vinh+ 2.0 1.5 2.1"  // Min fails
      << "Vinh- 1.8 1.6 1.9"
      << "Vinl+ 0.9 0.8 1.2"  // Typ fails
      << "Vinl- 1.0 0.7 1.1"
      << "S_overshoot_high NA -1 -1" << Expect::Error("'NA' not allowed for Typical value")
      << "S_overshoot_low 0.2" << Expect::Error("No minimum Value Was Provided for S_overshoot_low")
                               << Expect::Error("No maximum Value Was Provided for S_overshoot_low")
      << kRange << Expect::Warning("Vinh+(Min) is not greater than or equal to Vinh-(Min)" + strAt).NoLine()
                << Expect::Warning("Vinl+(Typ) is not greater than or equal to Vinl-(Typ)" + strAt).NoLine();
    for (const char* pszCorner : {"Typ", "Max", "Min"})
        v << Expect::Warning(std::string("S_overshoot_low (") + pszCorner + ") is greater than zero" + strAt).NoLine();
    v.Check();
}

TEST(MspecEnd, OvershootSignsRelationsAndOrphans) {
    Verify v = ModelFile();
    const std::string strIn1 = OpenSpec(v, "IN1");
    v << "S_overshoot_high -0.1 NA NA"  // NA corners take the typical
      << "S_overshoot_low 0.1 -0.5 NA"
      << "D_overshoot_high 0.5 0.5 0.5"
      << "D_overshoot_time 1n NA NA" << kRange;
    for (const char* pszCorner : {"Typ", "Max", "Min"})
        v << Expect::Warning(std::string("S_overshoot_high (") + pszCorner + ") is less than zero" + strIn1).NoLine();
    for (const char* pszCorner : {"Typ", "Max"})
        v << Expect::Warning(std::string("S_overshoot_low (") + pszCorner + ") is greater than zero" + strIn1).NoLine();
    const std::string strIn2 = OpenSpec(v, "IN2");
    v << "S_overshoot_high 4.0 3.9 4.1"
      << "S_overshoot_low -0.5 -0.4 -0.6"
      << "D_overshoot_high 4.0 4.0 4.2"   // Typ equal
      << "D_overshoot_low -0.6 -0.4 -0.7"  // Min equal
      << "D_overshoot_time 1n -1n 2n"
      << kRange << Expect::Warning("D_overshoot_high(Typ) is not greater than S_overshoot_high(Typ)" + strIn2).NoLine()
                << Expect::Warning("D_overshoot_low(Min) is not less than S_overshoot_low(Min)" + strIn2).NoLine()
                << Expect::Warning("D_overshoot_time (Min) is less than zero" + strIn2).NoLine();
    const std::string strIn3 = OpenSpec(v, "IN3");
    v << "D_overshoot_low -0.6 NA NA"
      << kRange << Expect::Error("D_overshoot_low requires S_overshoot_low to be specified" + strIn3).NoLine()
                << Expect::Error("D_overshoot_low requires D_overshoot_time to be specified" + strIn3).NoLine();
    const std::string strIn4 = OpenSpec(v, "IN4");
    v << "D_overshoot_time 1n NA NA"
      << "Pulse_time -1n NA NA"
      << kRange << Expect::Warning("orphan D_overshoot_time found" + strIn4).NoLine()
                << Expect::Warning("orphan Pulse_time found" + strIn4).NoLine();
    v.Check();
}

TEST(MspecEnd, PulseThresholdsAndTheirFallbacks) {
    Verify v = ModelFile();
    // The model's own Vinl is the reference; equal values fail.
    const std::string strIn1 = OpenSpec(v, "IN1");
    v << "Pulse_high 0.8 0.8 0.9"
      << "Pulse_time 1n NA NA"
      << kRange << Expect::Warning("Pulse_high(Typ) is not greater than Vinl(Typ)" + strIn1).NoLine()
                << Expect::Warning("Pulse_high(Min) is not greater than Vinl(Min)" + strIn1).NoLine();
    // The Vinh of [Model Spec] comes before the model's.
    const std::string strIn2 = OpenSpec(v, "IN2");
    v << "Vinh 1.5 1.4 1.6"
      << "Pulse_low 1.6 1.3 NA"  // Typ fails; Max takes 1.6 against 1.6
      << "Pulse_time 1n NA NA"
      << kRange << Expect::Warning("Pulse_low(Typ) is not less than Vinh(Typ)" + strIn2).NoLine()
                << Expect::Warning("Pulse_low(Max) is not less than Vinh(Max)" + strIn2).NoLine();
    // A complete hysteresis comes first of all.
    const std::string strIn3 = OpenSpec(v, "IN3");
    v << "Vinh+ 2.0 NA NA\nVinh- 1.5 NA NA\nVinl+ 1.2 NA NA\nVinl- 0.8 NA NA"
      << "Vinl 2.5 NA NA"
      << "Pulse_high 1.4 NA NA"
      << "Pulse_low 1.1 NA NA"
      << "Pulse_time -1n NA NA" << kRange;
    for (const char* pszCorner : {"Typ", "Min", "Max"})
        v << Expect::Warning(std::string("Pulse_high(") + pszCorner + ") is not greater than Vinh-(" + pszCorner +
                             ")" + strIn3).NoLine();
    for (const char* pszCorner : {"Typ", "Max", "Min"})
        v << Expect::Warning(std::string("Pulse_time (") + pszCorner + ") is less than zero" + strIn3).NoLine();
    // No threshold anywhere, no Pulse_time.
    const std::string strIn4 = OpenSpec(v, "IN4", "Vmeas = 1.5\nCref = 0");
    v << Expect::Warning("Model 'IN4': Model_type 'Input' must have Vinl set").NoLine()
      << Expect::Warning("Model 'IN4': Model_type 'Input' must have Vinh set").NoLine()
      << "Pulse_low 0.5 NA NA"
      << kRange << Expect::Error("Pulse_low requires Pulse_time to be specified" + strIn4).NoLine()
                << Expect::Error("Pulse_low requires Thresholds or Hysteresis Thresholds to be specified" + strIn4)
                       .NoLine();
    v.Check();
}

}  // namespace
