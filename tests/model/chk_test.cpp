#include "model/chk.h"

#include <gtest/gtest.h>

#include <string>

#include "model/crv.h"
#include "model/mdl.h"
#include "core/rng.h"
#include "support/snippet.h"

namespace {

// An Output model whose pull-down is 20, 25 and 16 ohms to ground (typical,
// minimum, maximum) and whose pull-up is the same to the supply of
// 3.3, 3.0 and 3.6 V.  Against 50 ohms to ground it settles at 0 V low and
// at 2.357, 2.000 and 2.727 V high; against 50 ohms to the supply at
// 0.943, 1.000 and 0.873 V low.
std::string Driver(const std::string& strName, const std::string& strSubparams,
                   const std::string& strWaveforms) {
    return "[Model] " + strName + "\n"
           "Model_type Output\n"
           "C_comp 1p NA NA\n" +
           strSubparams +
           "[Voltage Range] 3.3 3.0 3.6\n"
           "[Pulldown]\n"
           "-5 -0.25 -0.2 -0.3125\n"
           "5 0.25 0.2 0.3125\n"
           "[Pullup]\n"
           "-5 0.25 0.2 0.3125\n"
           "5 -0.25 -0.2 -0.3125\n"
           "[Ramp]\n"
           "dV/dt_r 1/1n NA NA\n"
           "dV/dt_f 1/1n NA NA\n" +
           strWaveforms;
}

std::string Rising(const std::string& strHighEnds) {
    return "[Rising Waveform]\n"
           "R_fixture = 50\n"
           "V_fixture = 0\n"
           "0 0 0 0\n"
           "1n " + strHighEnds + "\n";
}

// To the supply of each corner; the fixture voltage follows it.
std::string FallingToSupply(const std::string& strLowEnds) {
    return "[Falling Waveform]\n"
           "R_fixture = 50\n"
           "V_fixture = 3.3\n"
           "V_fixture_min = 3.0\n"
           "V_fixture_max = 3.6\n"
           "0 3.3 3.0 3.6\n"
           "1n " + strLowEnds + "\n";
}

TEST(ChkCurves, WaveformEndsMustLieOnTheTablesUnderTheFixture) {
    std::string strLog = ReadModels(
        Driver("ON", "", Rising("2.357 2.0 2.727") + FallingToSupply("0.943 1.0 0.873")) +
        // Within 2 % of the 2.40 V swing (0.048 V): 2.357 is 0.043 V away.
        Driver("EDGE", "", Rising("2.40 2.0 2.727")) +
        // 2.41 V is 0.053 V away, more than its 0.048 V.
        Driver("PAST", "", Rising("2.41 2.0 2.727")) +
        // The falling ends of the minimum corner are those of the
        // typical supply, not of the minimum fixture voltage.
        Driver("OFF", "", FallingToSupply("0.943 0.943 0.873")) +
        // Without R_fixture the pin is open: it goes from rail to rail.
        Driver("OPEN", "",
               "[Rising Waveform]\n"
               "V_fixture = 0\n"
               "0 0 NA NA\n"
               "1n 3.0 NA NA\n"));
    // Models are checked newest first.
    EXPECT_EQ(strLog,
              "ERROR  - R_fixture Not Defined For Rising Waveform Beginning on Line 107\n"
              "WARNING  - Model 'OPEN': TYP AC Rising Endpoints ( 0.00V,  3.00V) not within \n"
              "          0.060V (2%) of ( 0.00V,  3.30V) on VI curves for 1e+32 Ohms to 0V\n"
              "WARNING  - Model 'OFF': MIN AC Falling Endpoints ( 0.94V,  3.00V) not within \n"
              "          0.041V (2%) of ( 1.00V,  3.00V) on VI curves for 50 Ohms to 3V\n"
              "WARNING  - Model 'PAST': TYP AC Rising Endpoints ( 0.00V,  2.41V) not within \n"
              "          0.048V (2%) of ( 0.00V,  2.36V) on VI curves for 50 Ohms to 0V\n");
}

TEST(ChkCurves, TimingLoadMustBeDrivenThroughVmeas) {
    std::string strLog = ReadModels(
        // Low at 0 V, high at 2.0 V or more: 1.5 V is crossed both ways.
        Driver("VM_OK", "Vmeas = 1.5\nRref = 50\nVref = 0\n", "") +
        // The minimum corner only reaches 2.0 V high.
        Driver("VM_HIGH", "Vmeas = 2.2\nRref = 50\nVref = 0\n", "") +
        // Against 50 ohms to 3.3 V the minimum corner stays at 1.1 V low.
        Driver("VM_LOW", "Vmeas = 0.95\nRref = 50\nVref = 3.3\n", ""));
    EXPECT_EQ(strLog,
              "WARNING  - Model 'VM_LOW': MIN VI curves cannot drive through Vmeas=0.95V\n"
              "          given load Rref=50 Ohms to Vref=3.3V\n"
              "WARNING  - Model 'VM_HIGH': MIN VI curves cannot drive through Vmeas=2.2V\n"
              "          given load Rref=50 Ohms to Vref=0V\n");
}

// An emitter follower on a 5 V supply: 10 ohms to 3.3 V low and to 4.1 V
// high, both tabled against the supply.  Into 50 ohms to 3 V it settles at
// 3.25 V and 3.917 V.
TEST(ChkCurves, EclPulldownIsTabledAgainstTheSupply) {
    std::string strLog = ReadModels(
        "[Model] ECL1\n"
        "Model_type Output_ECL\n"
        "C_comp 1p NA NA\n"
        "[Voltage Range] 5.0 NA NA\n"
        "[Pulldown]\n"
        "-1 0.27 NA NA\n"
        "1.7 0 NA NA\n"
        "4 -0.23 NA NA\n"
        "[Pullup]\n"
        "-1 0.19 NA NA\n"
        "0.9 0 NA NA\n"
        "4 -0.31 NA NA\n"
        "[Ramp]\n"
        "dV/dt_r 1/1n NA NA\n"
        "dV/dt_f 1/1n NA NA\n"
        "[Rising Waveform]\n"
        "R_fixture = 50\n"
        "V_fixture = 3\n"
        "0 3.25 NA NA\n"
        "1n 3.917 NA NA\n"
        "[Falling Waveform]\n"
        "R_fixture = 50\n"
        "V_fixture = 3\n"
        "0 3.92 NA NA\n"
        "1n 3.10 NA NA\n");
    EXPECT_EQ(strLog,
              "WARNING  - Model 'ECL1': TYP AC Falling Endpoints ( 3.10V,  3.92V) not within \n"
              "          0.016V (2%) of ( 3.25V,  3.92V) on VI curves for 50 Ohms to 3V\n");
}

TEST(ChkCurves, ClampCurrentsAndOpenDrainPullups) {
    std::string strLog = ReadModels(
        // Neither waveforms nor a timing load: only the clamp and
        // open-drain checks.  At -1.5 V the GND clamp gives -12 A typical
        // and -9 A minimum, the POWER clamp 10 A typical and 10.5 A minimum.
        CleanModel("CL") +
        "[GND Clamp]\n"
        "-5 -40 -30 NA\n"
        "0 0 0 NA\n"
        "[POWER Clamp]\n"
        "-1.5 10 10.5 NA\n"
        "0 0 0 NA\n" +
        "[Model] OD_ZERO\n"
        "Model_type Open_drain\n"
        "C_comp 1p NA NA\n"
        "[Voltage Range] 3.3 NA NA\n"
        "[Pullup]\n"
        "-5 0 0 0\n"
        "5 0 0 0\n"
        "[Ramp]\n"
        "dV/dt_r 1/1n NA NA\n"
        "dV/dt_f 1/1n NA NA\n"
        "[Model] OD_ONE\n"
        "Model_type Open_sink\n"
        "C_comp 1p NA NA\n"
        "[Voltage Range] 3.3 NA NA\n"
        "[Pullup]\n"
        "-5 0 0 0\n"
        "5 0 -1m 0\n"
        "[Ramp]\n"
        "dV/dt_r 1/1n NA NA\n"
        "dV/dt_f 1/1n NA NA\n"
        "[Model] OS\n"
        "Model_type Open_source\n"
        "C_comp 1p NA NA\n"
        "[Voltage Range] 3.3 NA NA\n"
        "[Pulldown]\n"
        "-5 -1m NA NA\n"
        "5 1m NA NA\n"
        "[Ramp]\n"
        "dV/dt_r 1/1n NA NA\n"
        "dV/dt_f 1/1n NA NA\n");
    // Models are checked newest first.
    EXPECT_EQ(strLog,
              "WARNING  - Model 'OS': Currents <> 0.0mA in 'Pulldown' for Open_source device\n"
              "WARNING  - Model 'OD_ONE': Currents <> 0.0mA in 'Pullup' for Open_drain/Open_sink device\n"
              "WARNING  - Model 'CL': Extreme currents present in TYP GND_Clamp VI Curve (-12A @ -1.5V)\n"
              "WARNING  - Model 'CL': Extreme currents present in MIN POWER_Clamp VI Curve (10.5A @ -1.5V)\n");
}

TEST(ChkRanges, ModelAndSubmodelRangesAndRamps) {
    std::string strLog = ReadModels(
        "[Model] M\n"
        "Model_type Output\n"
        "C_comp 1n 0 1.001n\n"              // the ends pass, 1001 pF does not
        "[Voltage Range] 3.3 3.0 3.6\n"
        "[Ramp]\n"
        "dV/dt_r 1/1m 1/2m NA\n"            // 1 ms passes, 2 ms does not
        "dV/dt_f 1/1n NA 2/3m\n"
        "[Submodel] BH\n"
        "Submodel_type Bus_hold\n"
        "[Submodel Spec]\n"
        "V_trigger_r 1.8 1.7 1.9\n"
        "V_trigger_f 1.0 0.9 1.1\n"
        "[Pulldown]\n"
        "-1 -1m NA NA\n"
        "1 1m NA NA\n"
        "[Ramp]\n"
        "dV/dt_r 1/1n NA NA\n"
        "dV/dt_f 1/2m NA NA\n");
    EXPECT_EQ(strLog,
              "WARNING  -\n"
              "    Model 'M': C_comp MAX value 1001pF out of expected range (0pF, 1000pF)  \n"
              "WARNING  - Model 'M': MIN Rising Ramptime 2.000e+06nsec unusually large ( > 1.000e+06nsec )\n"
              "WARNING  - Model 'M': MAX Falling Ramptime 3.000e+06nsec unusually large ( > 1.000e+06nsec )\n"
              "WARNING  - Sub Model 'BH': TYP Falling Ramptime 2.000e+06nsec unusually large "
              "( > 1.000e+06nsec )\n");
}

TEST(ChkRanges, PackageAndPinValues) {
    ReadResult result = ReadSnippet("ranges.ibs", Header32("ranges.ibs") +
                                                      "[Component] RC\n"
                                                      "[Manufacturer] M\n"
                                                      "[Package]\n"
                                                      "R_pkg 1000 NA 1000.1\n"
                                                      "L_pkg 1n -0.5n 1u\n"
                                                      "C_pkg 1n NA 1.001n\n"
                                                      "[Pin] signal_name model_name R_pin L_pin C_pin\n"
                                                      "1 VCC POWER 1000 2u 1n\n"
                                                      "2 GND GND 1000.1 1u 1.5n\n"
                                                      "[End]\n");
    EXPECT_EQ(result.strLog,
              "WARNING  - CMPT 'RC': Rpkg MAX value 1000.1 Ohms not within expected range (0 Ohms, 1000 Ohms)\n"
              "WARNING  -\n"
              "    CMPT 'RC': Lpkg MIN value -0.5nH not within expected range (0nH, 1000nH)\n"
              "WARNING  -\n"
              "    CMPT 'RC': Cpkg MAX value 1001pF not within expected range (0pF, 1000pF)\n"
              "WARNING  - CMPT 'RC', Pin '1': Pin Inductance 2000nH greater than 1000nH\n"
              "WARNING  - CMPT 'RC', Pin '2': Pin Resistance 1000.1 Ohms greater than 1000 Ohms\n"
              "WARNING  - CMPT 'RC', Pin '2': Pin Capacitance 1500pF greater than 1000pF\n");
}

// A component without a name still has its package and pins checked; the
// messages show the name empty.
TEST(ChkRanges, ComponentWithoutNameIsChecked) {
    ReadResult result = ReadSnippet("noname.ibs", Header32("noname.ibs") +
                                                      "[Component]\n"  // 4
                                                      "[Manufacturer] M\n"
                                                      "[Package]\n"
                                                      "R_pkg 1001 NA NA\n"
                                                      "L_pkg 1n NA NA\n"
                                                      "C_pkg 1p NA NA\n"
                                                      "[Pin] signal_name model_name R_pin L_pin C_pin\n"
                                                      "1 VCC POWER 1001 1n 1p\n"
                                                      "[End]\n");
    EXPECT_EQ(result.strLog,
              "ERROR  (line    4) - Zero length value for keyword 'Component'.\n"
              "WARNING  - CMPT '': Rpkg TYP value 1001 Ohms not within expected range (0 Ohms, 1000 Ohms)\n"
              "WARNING  - CMPT '', Pin '1': Pin Resistance 1001 Ohms greater than 1000 Ohms\n");
}

// Tables and waveforms a check must survive.  The model's own tables keep
// their order and values.
TEST(ChkCurves, BadTablesAndWaveformsAreSurvived) {
    std::string strLog = ReadModels(
        std::string("[Model] BAD\n"                    // 13
        "Model_type Output\n"
        "C_comp 1p NA NA\n"
        "Vmeas = 1.5\n"
        "Rref = 0\n"                       // a short to 0 V
        "Vref = 0\n"
        "[Voltage Range] 3.3 3.0 3.6\n"
        "[Pulldown]\n"                     // 20
        "-5 -0.25 -0.2 NA\n"
        "5 0.25 0.2 NA\n"
        "[Pullup]\n"                       // 23: descending, a vertical step at 2.3 V
        "5 -0.25 -1e308 NA\n"
        "1 -0.05 1e308 NA\n"
        "1 0 0 NA\n"
        "-5 0.25 0.2 NA\n"
        "[Ramp]\n"
        "dV/dt_r 1/1n NA NA\n"
        "dV/dt_f 1/1n NA NA\n"
        "[Rising Waveform]\n"              // 31: one row
        "R_fixture = 50\n"
        "V_fixture = 0\n"
        "0 0 NA NA\n"
        "[Rising Waveform]\n"              // 35: a short to 1 V
        "R_fixture = 1e-40\n"
        "V_fixture = 1\n"
        "0 0 NA NA\n"
        "1n 3 NA NA\n"
        "[Falling Waveform]\n"             // 40
        "R_fixture = 50\n"
        "V_fixture = 0\n"
        "0 2.36 NA NA\n"
        "1n 0 NA NA\n") +
        // One point in each driver table: the corners pass unchecked.
        "[Model] ONE\n"                    // 45
        "Model_type Output\n"
        "C_comp 1p NA NA\n"
        "Vmeas = 1.5\n"
        "Rref = 50\n"
        "Vref = 0\n"
        "[Voltage Range] 3.3 NA NA\n"
        "[Pulldown]\n"                     // 52
        "0 0 NA NA\n"
        "[Pullup]\n"                       // 54
        "0 0 NA NA\n"
        "[Ramp]\n"
        "dV/dt_r 1/1n NA NA\n"
        "dV/dt_f 1/1n NA NA\n",
        [](IBIS* pIbis) {
            CRV* pPullup = nullptr;
            ASSERT_EQ(MDL_GetPullup(FindModel(pIbis, "BAD"), &pPullup), 1);
            const double adVoltages[] = {5, 1, 1, -5};
            const double adTypical[] = {-0.25, -0.05, 0, 0.25};
            const RNGP* pRow = pPullup->pRows;
            for (int i = 0; i < 4; ++i) {
                ASSERT_NE(pRow, nullptr);
                double d = 0.0;
                EXPECT_EQ(RNGP_GetX(pRow, &d), 1);
                EXPECT_EQ(d, adVoltages[i]);
                EXPECT_EQ(RNGP_GetTyp(pRow, &d), 1);
                EXPECT_EQ(d, adTypical[i]);
                pRow = pRow->pNext;
            }
            EXPECT_EQ(pRow, nullptr);
        });
    // The short holds the pin at 1 V and 0 V whatever the driver does; the
    // typical pull-up, copied over the union of its voltages, meets 50 ohms
    // at 1.74 V.  The minimum corner's currents near 1e308 give no number.
    EXPECT_EQ(strLog,
              "WARNING  (line   26) - Pullup Minimum data is non-monotonic\n"
              "ERROR  - Require at least 2 Data Points for Rising Waveform Beginning at Line 31\n"
              "ERROR  - Require at least 2 Voltage Points for Pulldown Beginning at Line 52\n"
              "ERROR  - Require at least 2 Voltage Points for Pullup Beginning at Line 54\n"
              "WARNING  - Model 'BAD': TYP AC Rising Endpoints ( 0.00V,  3.00V) not within \n"
              "          0.060V (2%) of ( 1.00V,  1.00V) on VI curves for 1e-40 Ohms to 1V\n"
              "WARNING  - Model 'BAD': TYP AC Falling Endpoints ( 0.00V,  2.36V) not within \n"
              "          0.047V (2%) of ( 0.00V,  1.74V) on VI curves for 50 Ohms to 0V\n"
              "WARNING  - Model 'BAD': TYP VI curves cannot drive through Vmeas=1.5V\n"
              "          given load Rref=0 Ohms to Vref=0V\n");
}

}  // namespace
