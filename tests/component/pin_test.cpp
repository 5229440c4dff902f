#include <gtest/gtest.h>

#include <string>

#include "component/cmpnt.h"
#include "component/ibs_text.h"
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

// A component named by the letter with one supply pin under the given
// [Pin] line; 8 lines.
std::string WithPinHeader(const std::string& strName, const std::string& strHeader) {
    return "[Component] " + strName + "\n" + kManufacturerAndPackage + strHeader + "\n1 VCC POWER\n";
}

TEST(Pin, Headers) {
    ReadResult result = ReadIbs(WithPinHeader("A", "[Pin] signal_name model_name R_pin") +
                                "[Pin] signal_name model_name\n" +
                                WithPinHeader("B", "[Pin] model_name signal_name R_pin L_pin X_pin") +
                                WithPinHeader("C", "[Pin] SIGNAL_NAME Model_Name L_pin l_pin C_pin") +
                                WithPinHeader("D", "[Pin]"));
    EXPECT_EQ(result.strLog,
              "ERROR  (line   10) - Pin keyword column count must be 3 or 6, found 4 columns.\n"
              "ERROR  (line   12) - Duplicate Pin keyword found.\n"
              "ERROR  (line   19) - 'signal_name' column header not found or out of order.\n"
              "ERROR  (line   19) - 'model_name' column header not found or out of order.\n"
              "ERROR  (line   19) - Unknown column header 'X_pin' or out of order.\n"
              "ERROR  (line   27) - Duplicate column header 'l_pin' .\n"
              "ERROR  (line   35) - Unable to find column headers after Pin keyword.\n");
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
    ReadResult result = ReadIbs(kComponentX +
                                    "[Pin] signal_name model_name\n"
                                    "1 DQ0 POWER 0.1\n"
                                    "2 VSS GND 1 2n 3p\n"
                                    "3\n"
                                    "4 A NC 1 2 3 4 5 6 7 8 9\n"
                                    "5 B NC %1 2 3\n",
                                [](IBIS* pIbis) {
                                    double d = 0.0;
                                    EXPECT_EQ(PIN_GetRpin(NthPin(pIbis, 0), &d), 1);
                                    EXPECT_DOUBLE_EQ(d, 0.1);
                                    ExpectValues(NthPin(pIbis, 1), 1.0, 2e-9, 3e-12);
                                    EXPECT_EQ(NthPin(pIbis, 2)->nColumns, 1);
                                    ExpectValues(NthPin(pIbis, 3), 1.0, 2.0, 3.0);
                                    EXPECT_EQ(NthPin(pIbis, 4)->nColumns, 6);
                                    EXPECT_EQ(NthPin(pIbis, 4)->eRpinState, 0u);
                                });
    EXPECT_EQ(result.strLog,
              "ERROR  (line   11) - Each line of Pin data must contain either 3 or 6 columns.\n"
              "ERROR  (line   12) -\n"
              "    When using 6 columns, the headers R_pin, L_pin, and C_pin must be listed.\n"
              "ERROR  (line   13) - Signal name not found.\n"
              "ERROR  (line   13) - Model name not found.\n"
              "ERROR  (line   13) - Each line of Pin data must contain either 3 or 6 columns.\n"
              "ERROR  (line   14) -\n"
              "    When using 6 columns, the headers R_pin, L_pin, and C_pin must be listed.\n"
              "ERROR  (line   15) - Invalid R_pin Value (\"%1\")\n"
              "ERROR  (line   15) -\n"
              "    When using 6 columns, the headers R_pin, L_pin, and C_pin must be listed.\n"
              // Without scale letters these are henries and farads.
              "WARNING  - CMPT 'X', Pin '4': Pin Inductance 2e+09nH greater than 1000nH\n"
              "WARNING  - CMPT 'X', Pin '4': Pin Capacitance 3e+12pF greater than 1000pF\n"
              "WARNING  - CMPT 'X', Pin '5': Pin Inductance 2e+09nH greater than 1000nH\n"
              "WARNING  - CMPT 'X', Pin '5': Pin Capacitance 3e+12pF greater than 1000pF\n"
              "ERROR  - Component 'X': Model '' for Pin '3' not defined.\n");
}

TEST(Pin, LongNamesAreCutAndThenDuplicate) {
    const std::string strLong(60, 'p');
    ReadResult result = ReadIbs(kComponentX +
                                "[Pin] signal_name model_name\n"
                                "123456 S1 POWER\n"
                                "123457 S2 POWER\n"
                                "12345 S3 POWER\n" +
                                strLong + " S4 GND\n");
    EXPECT_EQ(result.strLog,
              "ERROR  (line   11) -\n"
              "    Pin string '123456' is too long, truncating to 5 characters.\n"
              "ERROR  (line   12) -\n"
              "    Pin string '123457' is too long, truncating to 5 characters.\n"
              "ERROR  (line   12) - Duplicate Pin '12345'.\n"
              "ERROR  (line   13) - Duplicate Pin '12345'.\n"
              "ERROR  (line   13) - Duplicate Pin '12345'.\n"
              "ERROR  (line   14) - Pin string '" + strLong + "' is too long, truncating to 5 characters.\n");
}

TEST(Pin, SupplyAndNcModelsAreNotLookedUp) {
    ReadResult result = ReadIbs(kComponentX +
                                "[Pin] signal_name model_name\n"
                                "1 VCC Power\n"
                                "2 VSS gnd\n"
                                "3 X nc\n"
                                "4 DQ0 DQ\n");
    EXPECT_EQ(result.strLog, "ERROR  - Component 'X': Model 'DQ' for Pin '4' not defined.\n");
}

TEST(Pin, ModelsOfTheDocumentAndPinMappings) {
    ReadResult result = ReadIbs(kComponentX +
                                "[Pin] signal_name model_name\n"
                                "1 VCC POWER\n"
                                "2 DQ0 DQ\n"
                                "3 DQ1 DQX\n"
                                "[Pin Mapping] pulldown_ref pullup_ref\n"
                                "1 NC VDD\n"
                                "2 NC VDD\n"
                                "[Model] DQ\n"
                                "Model_type Input\n"
                                "C_comp 1p NA NA\n"
                                "Vinl = 0.8\n"
                                "Vinh = 2.0\n"
                                "[Voltage Range] 3.3 NA NA\n");
    EXPECT_EQ(result.strLog,
              "ERROR  - Component 'X': Model 'DQX' for Pin '3' not defined.\n"
              "ERROR  - Component 'X': Pin '3' not referenced in Pin Mappings.\n");
}

// Pins may name a model selector from IBIS 3 on; the version in force at
// the end of the file decides, so a trailing [IBIS Ver] 2.1 takes that
// right away.
TEST(Pin, SelectorsCountAsModelsFromIbis3On) {
    const std::string strBody = kComponentX +
                                "[Pin] signal_name model_name\n"  // 10
                                "1 DQ0 DQ_SEL\n"
                                "[Model Selector] DQ_SEL\n"
                                "DQ full strength\n"
                                "DQ2 half strength\n"
                                "[Model] DQ\n"                    // 15
                                "Model_type Input\n"
                                "C_comp 1p NA NA\n"
                                "Vinl = 0.8\n"
                                "Vinh = 2.0\n"
                                "[Voltage Range] 3.3 NA NA\n"     // 20
                                "[Model] DQ2\n"
                                "Model_type Input\n"
                                "C_comp 1p NA NA\n"
                                "Vinl = 0.8\n"
                                "Vinh = 2.0\n"                    // 25
                                "[Voltage Range] 3.3 NA NA\n";
    EXPECT_EQ("", ReadIbs(strBody).strLog);
    EXPECT_EQ("ERROR  (line   27) - Duplicate IBIS_Ver keyword.\n"
              "ERROR  - Required keyword 'File_name' not found in file 'c.ibs'.\n"
              "ERROR  - Required keyword 'File_Rev' not found in file 'c.ibs'.\n"
              "ERROR  - Component 'X': Model 'DQ_SEL' for Pin '1' not defined.\n",
              ReadIbs(strBody + "[IBIS Ver] 2.1\n").strLog);
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
