#include "model/ramp.h"

#include <gtest/gtest.h>

#include <string>

#include "model/mdl.h"
#include "support/snippet.h"
#include "support/verify.h"
#include "core/cmn.h"

namespace {

RAMP* RampOfModel(IBIS* pIbis, const char* pszName) {
    RAMP* pRamp = nullptr;
    EXPECT_EQ(1, MDL_GetRamp(FindModel(pIbis, pszName), &pRamp)) << pszName;
    return pRamp;
}

TEST(RampRead, RatiosAndRload) {
    Verify v = ModelFile();
    v << ModelHead("O1") << "[Ramp]"
      << "dV/dt_r 1/1n NA NA"
      << "dV/dt_f 1/1n" << Expect::Error("No minimum Value Was Provided for dV/dt_f")
                        << Expect::Error("No maximum Value Was Provided for dV/dt_f")
      << ModelHead("O2") << "[Ramp]"
      << "dV/dt_r NA 1/2n 1/0.5n" << Expect::Error("'NA' not allowed for dV/dt_r Typical value")
      << "dV/dt_f 1 / 1n" << Expect::Error("Invalid dV/dt_f Typical Value (\"1\")")  // blanks around the slash
                          << Expect::Error("Invalid dV/dt_f Minimum Value (\"/\")")
                          << Expect::Error("Invalid dV/dt_f Maximum Value (\"1n\")")
      << "R_load = 50"
      << "R_load = 75" << Expect::Error("R_load Already Defined For Model 'O2'")
      << "dV/dt_r 1/1n NA NA" << Expect::Error("dV/dt_r Already Defined For Model 'O2'")
      << ModelHead("O3") << "[Ramp]";
    const std::string strO3 = std::to_string(v.Line());
    v << "dV/dt_f 1/1n NA NA"
      << "R_load 50" << Expect::Error("Invalid Ramp R_load Line")
      << "R_load = 5x0" << Expect::Warning("Suspicious Ramp R_load Value (\"5x0\"); Numeric in Scale")
      << "Foo 1" << Expect::Error("Unknown Line Among Ramp Data")
      << "[Model] O4" << Expect::Error("dV/dt_r Not Defined For Ramp Beginning on Line " + strO3).NoLine()
      << "Model_type Output\nC_comp 1p NA NA\n[Voltage Range] 3.3 3.0 3.6"
      << "[Ramp] x" << Expect::Error("Incorrect Number of Line Items (2) For Ramp: Expecting 1")
      << "dV/dt_r 1/1n5 1/x/2 NA" << Expect::Warning("Suspicious Typical dV/dt_r Value (\"1n5\"); Numeric in Scale")
                                  << Expect::Error("Invalid dV/dt_r Minimum Value (\"1/x/2\")")
      << "dV/dt_f 1/1n 2/2n 3/3n 4/4n" << Expect::Error("Incorrect Number of Line Items (4) For dV/dt_f: Expecting 3")
      << "[Ramp]" << Expect::Error("Ramp Already Defined")
      << "dV/dt_r 2/1n NA NA"
      << "dV/dt_f 2/1n NA NA"
      << ModelHead("O5") << "[Ramp]"
      // A rate without any value.
      << "dV/dt_r" << Expect::Error("Incorrect Number of Line Items (0) For dV/dt_r: Expecting 3")
      << "dV/dt_f 1/1n NA NA";
    v.Check([](IBIS* pIbis) {
        RAMPVAL* pRising = nullptr;
        RAMPVAL* pFalling = nullptr;
        double dDv = 0, dDt = 0;
        ASSERT_EQ(1, RAMP_GetRates(RampOfModel(pIbis, "O1"), &pRising, &pFalling));
        EXPECT_EQ(1, RAMP_GetTyp(pRising, &dDv, &dDt));
        EXPECT_DOUBLE_EQ(1e-9, dDt);
        EXPECT_EQ(0, RAMP_GetMin(pRising, &dDv, &dDt));
        EXPECT_EQ(VALUE_NA, pRising->aRatio[CornerIndex(eCorner::MIN)].eState);
        EXPECT_EQ(VALUE_ABSENT, pFalling->aRatio[CornerIndex(eCorner::MAX)].eState);

        double dRload = 0;
        EXPECT_EQ(0, RAMP_GetRload(RampOfModel(pIbis, "O1"), &dRload));
        EXPECT_EQ(1, RAMP_GetRload(RampOfModel(pIbis, "O2"), &dRload));
        EXPECT_DOUBLE_EQ(50, dRload);  // the first value stays
        EXPECT_EQ(1, RAMP_GetRload(RampOfModel(pIbis, "O3"), &dRload));
        EXPECT_DOUBLE_EQ(5, dRload);
        EXPECT_EQ(0, RAMP_GetRates(RampOfModel(pIbis, "O3"), &pRising, &pFalling));

        ASSERT_EQ(1, RAMP_GetRates(RampOfModel(pIbis, "O4"), &pRising, &pFalling));
        EXPECT_EQ(1, RAMP_GetTyp(pRising, &dDv, &dDt));
        EXPECT_DOUBLE_EQ(2, dDv);  // the second [Ramp] replaced the first
    });
}

}  // namespace
