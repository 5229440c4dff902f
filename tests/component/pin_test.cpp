#include <gtest/gtest.h>

#include <string>

#include "component/cmpnt.h"
#include "support/snippet.h"
#include "support/verify.h"
#include "component/pin.h"
#include "reader/read.h"

namespace {

CMPNT* OnlyComponent(IBIS* pIbis) {
    CMPNT* pCmpnt = nullptr;
    EXPECT_EQ(IBIS_GetCmpntList(pIbis, &pCmpnt), 1);
    return pCmpnt;
}

// The n-th pin of the only component, counted from 0.
PIN* NthPin(IBIS* pIbis, int n) {
    PIN* pPin = nullptr;
    CMPNT_GetPinList(OnlyComponent(pIbis), &pPin);
    while (pPin != nullptr && n-- > 0) pPin = pPin->pNext;
    return pPin;
}

void ExpectValues(const PIN* pPin, double dR, double dL, double dC) {
    ASSERT_NE(pPin, nullptr);
    double d = 0.0;
    EXPECT_EQ(PIN_GetRpin(pPin, &d), 1);
    EXPECT_DOUBLE_EQ(d, dR);
    EXPECT_EQ(PIN_GetLpin(pPin, &d), 1);
    EXPECT_DOUBLE_EQ(d, dL);
    EXPECT_EQ(PIN_GetCpin(pPin, &d), 1);
    EXPECT_DOUBLE_EQ(d, dC);
}

TEST(Pin, Headers) {
    const std::string strColumns = " column header not found or out of order.";
    Verify v = IbsFile();
    v << "[Component] A" << kManufacturerAndPackage
      << "[Pin] signal_name model_name R_pin" << Expect::Error("Pin keyword column count must be 3 or 6, found 4 columns.")
      << "1 VCC POWER"
      << "[Pin] signal_name model_name" << Expect::Error("Duplicate Pin keyword found.")
      << "[Component] B" << kManufacturerAndPackage
      << "[Pin] model_name signal_name R_pin L_pin X_pin" << Expect::Error("'signal_name'" + strColumns)
                                                         << Expect::Error("'model_name'" + strColumns)
                                                         << Expect::Error("Unknown column header 'X_pin' or out of order.")
      << "1 VCC POWER"
      << "[Component] C" << kManufacturerAndPackage
      << "[Pin] SIGNAL_NAME Model_Name L_pin l_pin C_pin" << Expect::Error("Duplicate column header 'l_pin' .")
      << "1 VCC POWER"
      << "[Component] D" << kManufacturerAndPackage
      << "[Pin]" << Expect::Error("Unable to find column headers after Pin keyword.")
      << "1 VCC POWER";
    v.Check();
}

TEST(Pin, OptionalColumnsFollowTheHeaderOrder) {
    ReadResult result = ReadIbs(kComponentX +
                                    "[Pin] signal_name model_name C_pin L_pin R_pin\n"
                                    "1 VCC POWER 1p 2n 3\n"
                                    "2 VSS GND NA 2n 3\n",
                                [](IBIS* pIbis) {
                                    ExpectValues(NthPin(pIbis, 0), 3.0, 2e-9, 1e-12);
                                    double d = 0.0;
                                    EXPECT_EQ(PIN_GetCpin(NthPin(pIbis, 1), &d), 0);
                                    EXPECT_EQ(NthPin(pIbis, 1)->eCpinState, 2u);
                                });
    EXPECT_EQ(result.strLog, "");
}

TEST(Pin, RowsOfWrongWidthAreKept) {
    const Expect sixColumns =
        Expect::Error("When using 6 columns, the headers R_pin, L_pin, and C_pin must be listed.");
    Verify v = IbsFile();
    v << kComponentX
      << "[Pin] signal_name model_name"
      << "1 DQ0 POWER 0.1" << Expect::Error("Each line of Pin data must contain either 3 or 6 columns.")
      << "2 VSS GND 1 2n 3p" << sixColumns
      << "3" << Expect::Error("Signal name not found.")
             << Expect::Error("Model name not found.")
             << Expect::Error("Each line of Pin data must contain either 3 or 6 columns.")
      << "4 A NC 1 2 3 4 5 6 7 8 9" << sixColumns
      << "5 B NC %1 2 3" << Expect::Error("Invalid R_pin Value (\"%1\")") << sixColumns;
    // Without scale letters these are henries and farads.
    v.ExpectEnd(Expect::Warning("CMPT 'X', Pin '4': Pin Inductance 2e+09nH greater than 1000nH"))
        .ExpectEnd(Expect::Warning("CMPT 'X', Pin '4': Pin Capacitance 3e+12pF greater than 1000pF"))
        .ExpectEnd(Expect::Warning("CMPT 'X', Pin '5': Pin Inductance 2e+09nH greater than 1000nH"))
        .ExpectEnd(Expect::Warning("CMPT 'X', Pin '5': Pin Capacitance 3e+12pF greater than 1000pF"))
        .ExpectEnd(Expect::Error("Component 'X': Model '' for Pin '3' not defined."));
    v.Check([](IBIS* pIbis) {
        double d = 0.0;
        EXPECT_EQ(PIN_GetRpin(NthPin(pIbis, 0), &d), 1);
        EXPECT_DOUBLE_EQ(d, 0.1);
        ExpectValues(NthPin(pIbis, 1), 1.0, 2e-9, 3e-12);
        EXPECT_EQ(NthPin(pIbis, 2)->nColumns, 1);
        ExpectValues(NthPin(pIbis, 3), 1.0, 2.0, 3.0);
        EXPECT_EQ(NthPin(pIbis, 4)->nColumns, 6);
        EXPECT_EQ(NthPin(pIbis, 4)->eRpinState, 0u);
    });
}

TEST(Pin, LongNamesAreCutAndThenDuplicate) {
    const std::string strLong(60, 'p');
    const Expect duplicate = Expect::Error("Duplicate Pin '12345'.");
    Verify v = IbsFile();
    v << kComponentX
      << "[Pin] signal_name model_name"
      << "123456 S1 POWER" << Expect::Error("Pin string '123456' is too long, truncating to 5 characters.")
      << "123457 S2 POWER" << Expect::Error("Pin string '123457' is too long, truncating to 5 characters.")
                           << duplicate
      << "12345 S3 POWER" << duplicate << duplicate
      << strLong + " S4 GND" << Expect::Error("Pin string '" + strLong + "' is too long, truncating to 5 characters.");
    v.Check();
}

// Duplicates are counted however large the table grows, and a third row of
// a name draws two findings.
TEST(Pin, DuplicatesInALargeTable) {
    Verify v = IbsFile();
    v << kComponentX << "[Pin] signal_name model_name";
    for (int i = 0; i < 3000; ++i) v << std::to_string(i) + " S POWER";
    v << "7 S POWER" << Expect::Error("Duplicate Pin '7'.")
      << "2999 S GND" << Expect::Error("Duplicate Pin '2999'.")
      << "2999 S GND" << Expect::Error("Duplicate Pin '2999'.") << Expect::Error("Duplicate Pin '2999'.")
      << "3000 S GND";
    v.Check();
}

TEST(Pin, SupplyAndNcModelsAreNotLookedUp) {
    Verify v = IbsFile();
    v << kComponentX
      << "[Pin] signal_name model_name"
      << "1 VCC Power"
      << "2 VSS gnd"
      << "3 X nc"
      << "4 DQ0 DQ";
    v.ExpectEnd(Expect::Error("Component 'X': Model 'DQ' for Pin '4' not defined."));
    v.Check();
}

TEST(Pin, ModelsOfTheDocumentAndPinMappings) {
    Verify v = IbsFile();
    v << kComponentX
      << "[Pin] signal_name model_name"
      << "1 VCC POWER"
      << "2 DQ0 DQ"
      << "3 DQ1 DQX"
      << "[Pin Mapping] pulldown_ref pullup_ref"
      << "1 NC VDD"
      << "2 NC VDD"
      << "[Model] DQ"
      << "Model_type Input"
      << "C_comp 1p NA NA"
      << "Vinl = 0.8"
      << "Vinh = 2.0"
      << "[Voltage Range] 3.3 NA NA";
    v.ExpectEnd(Expect::Error("Component 'X': Model 'DQX' for Pin '3' not defined."))
        .ExpectEnd(Expect::Error("Component 'X': Pin '3' not referenced in Pin Mappings."));
    v.Check();
}

// Pins may name a model selector from IBIS 3 on; the version in force at
// the end of the file decides, so a trailing [IBIS Ver] 2.1 takes that
// right away.
TEST(Pin, SelectorsCountAsModelsFromIbis3On) {
    const std::string strBody = kComponentX +
                                "[Pin] signal_name model_name\n"
                                "1 DQ0 DQ_SEL\n"
                                "[Model Selector] DQ_SEL\n"
                                "DQ full strength\n"
                                "DQ2 half strength\n"
                                "[Model] DQ\n"
                                "Model_type Input\n"
                                "C_comp 1p NA NA\n"
                                "Vinl = 0.8\n"
                                "Vinh = 2.0\n"
                                "[Voltage Range] 3.3 NA NA\n"
                                "[Model] DQ2\n"
                                "Model_type Input\n"
                                "C_comp 1p NA NA\n"
                                "Vinl = 0.8\n"
                                "Vinh = 2.0\n"
                                "[Voltage Range] 3.3 NA NA\n";
    Verify ibis3 = IbsFile();
    ibis3 << strBody;
    ibis3.Check();
    Verify ibis2 = IbsFile();
    ibis2 << strBody
          << "[IBIS Ver] 2.1" << Expect::Error("Duplicate IBIS_Ver keyword.");
    ibis2.ExpectEnd(Expect::Error("Required keyword 'File_name' not found in file 'c.ibs'."))
        .ExpectEnd(Expect::Error("Required keyword 'File_Rev' not found in file 'c.ibs'."))
        .ExpectEnd(Expect::Error("Component 'X': Model 'DQ_SEL' for Pin '1' not defined."));
    ibis2.Check();
}

TEST(Pin, Lookups) {
    ReadIbs(kComponentX +
                "[Pin] signal_name model_name\n"
                "1 VCC power\n"
                "2 VSS GND\n"
                "3 DQ0 DQ\n"
                "3 DQ1 DQX\n",
            [](IBIS* pIbis) {
                PIN* pList = nullptr;
                CMPNT_GetPinList(OnlyComponent(pIbis), &pList);
                EXPECT_EQ(PIN_Find(pList, "3"), 1);
                EXPECT_EQ(PIN_Find(pList, "4"), 0);
                EXPECT_STREQ(PIN_GetModelOf(pList, "3"), "DQ");
                EXPECT_EQ(PIN_GetModelOf(pList, "4"), nullptr);
                EXPECT_EQ(PIN_IsPower(pList, "1"), 1);
                EXPECT_EQ(PIN_IsGnd(pList, "1"), 0);
                EXPECT_EQ(PIN_IsGnd(pList, "2"), 1);
                EXPECT_EQ(PIN_IsSupply(pList, "2"), 1);
                EXPECT_EQ(PIN_IsSupply(pList, "3"), 0);
            });
}

}  // namespace
