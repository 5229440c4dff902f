#include "model/ramp.h"

#include <gtest/gtest.h>

#include <string>

#include "model/mdl.h"
#include "model/model_text.h"
#include "core/cmn.h"

namespace {

// [Model] with type, C_comp and voltage range, then [Ramp]: 5 lines.
std::string RampOf(const std::string& strName, const std::string& strRampKeyword = "[Ramp]") {
    return "[Model] " + strName + "\n"
           "Model_type Output\n"
           "C_comp 1p NA NA\n"
           "[Voltage Range] 3.3 3.0 3.6\n" +
           strRampKeyword + "\n";
}

RAMP* RampOfModel(IBIS* pIbis, const char* pszName) {
    RAMP* pRamp = nullptr;
    EXPECT_EQ(1, MDL_GetRamp(FindModel(pIbis, pszName), &pRamp)) << pszName;
    return pRamp;
}

TEST(RampRead, RatiosAndRload) {
    std::string strLog = ReadModels(
        RampOf("O1") +                          // 13-17
            "dV/dt_r 1/1n NA NA\n"              // 18
            "dV/dt_f 1/1n\n" +                  // 19
            RampOf("O2") +                      // 20-24
            "dV/dt_r NA 1/2n 1/0.5n\n"          // 25
            "dV/dt_f 1 / 1n\n"                  // 26: blanks around the slash
            "R_load = 50\n"                     // 27
            "R_load = 75\n"                     // 28
            "dV/dt_r 1/1n NA NA\n" +            // 29
            RampOf("O3") +                      // 30-34
            "dV/dt_f 1/1n NA NA\n"              // 35
            "R_load 50\n"                       // 36
            "R_load = 5x0\n"                    // 37
            "Foo 1\n" +                         // 38
            RampOf("O4", "[Ramp] x") +          // 39-43
            "dV/dt_r 1/1n5 1/x/2 NA\n"          // 44
            "dV/dt_f 1/1n 2/2n 3/3n 4/4n\n"     // 45
            "[Ramp]\n"                          // 46
            "dV/dt_r 2/1n NA NA\n"
            "dV/dt_f 2/1n NA NA\n" +
            RampOf("O5") +                      // 49-53
            "dV/dt_r\n"                         // 54
            "dV/dt_f 1/1n NA NA\n",
        [](IBIS* pIbis) {
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
    EXPECT_EQ("ERROR  (line   19) - No minimum Value Was Provided for dV/dt_f\n"
              "ERROR  (line   19) - No maximum Value Was Provided for dV/dt_f\n"
              "ERROR  (line   25) - 'NA' not allowed for dV/dt_r Typical value\n"
              "ERROR  (line   26) - Invalid dV/dt_f Typical Value (\"1\")\n"
              "ERROR  (line   26) - Invalid dV/dt_f Minimum Value (\"/\")\n"
              "ERROR  (line   26) - Invalid dV/dt_f Maximum Value (\"1n\")\n"
              "ERROR  (line   28) - R_load Already Defined For Model 'O2'\n"
              "ERROR  (line   29) - dV/dt_r Already Defined For Model 'O2'\n"
              "ERROR  (line   36) - Invalid Ramp R_load Line\n"
              "WARNING  (line   37) - Suspicious Ramp R_load Value (\"5x0\"); Numeric in Scale\n"
              "ERROR  (line   38) - Unknown Line Among Ramp Data\n"
              "ERROR  - dV/dt_r Not Defined For Ramp Beginning on Line 34\n"
              "ERROR  (line   43) - Incorrect Number of Line Items (2) For Ramp: Expecting 1\n"
              "WARNING  (line   44) -\n    Suspicious Typical dV/dt_r Value (\"1n5\"); Numeric in Scale\n"
              "ERROR  (line   44) - Invalid dV/dt_r Minimum Value (\"1/x/2\")\n"
              "ERROR  (line   45) - Incorrect Number of Line Items (4) For dV/dt_f: Expecting 3\n"
              "ERROR  (line   46) - Ramp Already Defined\n"
              // A rate without any value.
              "ERROR  (line   54) - Incorrect Number of Line Items (0) For dV/dt_r: Expecting 3\n",
              strLog);
}

}  // namespace
