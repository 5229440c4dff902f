#include <gtest/gtest.h>

#include <string>

#include "component/cmpnt.h"
#include "component/ibs_text.h"
#include "component/spinmpg.h"
#include "component/sswch.h"
#include "reader/read.h"

namespace {

CMPNT* FirstComponent(IBIS* pIbis) {
    CMPNT* pCmpnt = nullptr;
    EXPECT_EQ(IBIS_GetCmpntList(pIbis, &pCmpnt), 1);
    return pCmpnt;
}

TEST(SeriesPinMapping, HeadersAndASecondKeyword) {
    ReadResult result = ReadIbs(std::string("[Component] A\n") + kManufacturerAndPackage +
                                    "[Series Pin Mapping] pin_2 model_name function_table_group\n"
                                    "1 2 RSER\n"
                                    "[Series Pin Mapping] pin_2 model_name\n"
                                    "3 4 RSER G1\n"
                                    "[Component] B\n" + kManufacturerAndPackage +
                                    "[Series Pin Mapping] model_name pin_2 function_table_group extra\n"
                                    "[Component] C\n" + kManufacturerAndPackage +
                                    "[Series Pin Mapping]\n"
                                    "[Component] D\n" + kManufacturerAndPackage +
                                    "[Series Pin Mapping] pin_2\n",
                                [](IBIS* pIbis) {
                                    CMPNT* pA = FirstComponent(pIbis)->pNext->pNext->pNext;
                                    SPINMPG* pRow = nullptr;
                                    ASSERT_EQ(CMPNT_GetSpinMapList(pA, &pRow), 1);
                                    const char* psz = nullptr;
                                    EXPECT_EQ(SPINMPG_GetPin1(pRow, &psz), 1);
                                    EXPECT_STREQ(psz, "3");
                                    EXPECT_EQ(pRow->pNext, nullptr);
                                    EXPECT_EQ(SPINMPG_GetPin1(nullptr, &psz), 0);
                                });
    EXPECT_EQ(result.strLog,
              "ERROR  (line   12) - Duplicate Series_Pin_Mapping keyword found.\n"
              "ERROR  (line   13) - [Series Pin Mapping] When 4 columns are specified, the heading "
              "'function_table_group' must be used.\n"
              "ERROR  (line   20) - Unknown column header after 'function_table_group'\n"
              "ERROR  (line   20) - 'pin_2' column header not found or out of order.\n"
              "ERROR  (line   20) - 'model_name' column header not found or out of order.\n"
              "ERROR  (line   27) -\n"
              "    Unable to find column headers after Series_Pin_Mapping keyword.\n"
              "ERROR  (line   34) -\n"
              "    Series_Pin_Mappings keyword column count must be 3 or 4, found 2 columns.\n"
              "ERROR  (line   34) - 'model_name' column header not found or out of order.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'D'.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'C'.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'B'.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'A'.\n"
              "ERROR  - Component 'A': [Series Pin Mapping] defined but [Pins] not defined.\n");
}

TEST(SeriesPinMapping, Rows) {
    ReadResult result = ReadIbs(kComponentX +
                                "[Series Pin Mapping] pin_2 model_name function_table_group\n"
                                "1 2 RSER G1 X\n"
                                "1\n"
                                "GND 2 NA\n"
                                "123456 2 RSER\n");
    EXPECT_EQ(result.strLog,
              "ERROR  (line   11) - Extra data columns on this line.\n"
              "ERROR  (line   12) - No Pin2 specified.\n"
              "ERROR  (line   12) - No Model specified.\n"
              "ERROR  (line   12) -\n"
              "     [Series Pin Mapping] Data lines must contain either 3 or 4 columns.\n"
              "ERROR  (line   13) - Illegal use of Reserved Word 'GND'.\n"
              "ERROR  (line   13) - Illegal use of Reserved Word 'NA'.\n"
              "ERROR  (line   14) -\n"
              "    Pin1 string '123456' is too long, truncating to 5 characters.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'X'.\n"
              "ERROR  - Component 'X': [Series Pin Mapping] defined but [Pins] not defined.\n");
}

// An input model IO, a Series model RSER and a Series_switch model SW.
const char* const kSeriesModels =
    "[Model] IO\n"
    "Model_type Input\n"
    "C_comp 1p NA NA\n"
    "Vinl = 0.8\n"
    "Vinh = 2.0\n"
    "[Voltage Range] 3.3 NA NA\n"
    "[Model] RSER\n"
    "Model_type Series\n"
    "C_comp 1p NA NA\n"
    "[Voltage Range] 3.3 NA NA\n"
    "[R Series] 1 NA NA\n"
    "[Model] SW\n"
    "Model_type Series_switch\n"
    "C_comp 1p NA NA\n"
    "[Voltage Range] 3.3 NA NA\n"
    "[On]\n"
    "[R Series] 1 NA NA\n"
    "[Off]\n"
    "[R Series] 1k NA NA\n";

TEST(SeriesPinMapping, PinsAndModelsByType) {
    ReadResult result = ReadIbs(kComponentX +
                                "[Pin] signal_name model_name\n"
                                "1 A IO\n"
                                "2 B IO\n"
                                "3 C RSER\n"
                                "4 D POWER\n"
                                "5 E\n"
                                "[Series Pin Mapping] pin_2 model_name function_table_group\n"
                                "1 2 RSER\n"
                                "1 2 RSER G1\n"
                                "1 2 SW\n"
                                "1 2 SW G2\n"
                                "3 2 IO\n"
                                "1 9 IO G3\n"
                                "5 4 NONE\n" +
                                kSeriesModels);
    EXPECT_EQ(result.strLog,
              "ERROR  (line   15) - Model name not found.\n"
              "ERROR  (line   15) - Each line of Pin data must contain either 3 or 6 columns.\n"
              "ERROR  - Component 'X': Model '' for Pin '5' not defined.\n"
              "WARNING  - Component 'X': [Series Pin Mapping] Model 'RSER' is of type Series so "
              "function_table_group 'G1' is ignored.\n"
              "ERROR  - Component 'X': [Series Pin Mapping] Model 'SW' is of type Series_Switch so "
              "function_table_group is required.\n"
              "ERROR  - Component 'X': [Series Pin Mapping] Pin1 '3': model type cannot be Series or "
              "Series_switch.\n"
              "ERROR  - Component 'X': [Series Pin Mapping] Model 'IO' is not of type Series.\n"
              "ERROR  - Component 'X': [Series Pin Mapping] Pin2 '9' not previously declared in Pin "
              "section.\n"
              "ERROR  - Component 'X': [Series Pin Mapping] Model 'IO' is not of type Series_Switch.\n"
              "ERROR  - Component 'X': [Series Pin Mapping] Pin1 '5' has an unknown model.\n"
              "ERROR  - Component 'X': [Series Pin Mapping] Model 'NONE' is not defined.\n");
}

TEST(SeriesSwitchGroups, GroupsOverSeveralLines) {
    const std::string strLong = "abcdefghijklmnopqrstuvwxy";
    ReadResult result = ReadIbs(kComponentX +
                                    "[Pin] signal_name model_name\n"
                                    "1 A NC\n"
                                    "2 B NC\n"
                                    "[Series Pin Mapping] pin_2 model_name function_table_group\n"
                                    "1 2 SW g1\n"
                                    "1 2 SW g2\n"
                                    "1 2 SW g3\n"
                                    "[Series Switch Groups]\n"
                                    "On g1 g2\n"
                                    "g3 /\n"
                                    "Off g1 /\n"
                                    "off g1 /\n"
                                    "On g4 On g4 /\n"
                                    "Off " + strLong + " /\n"
                                    "On\n"
                                    "g1 / g9\n" + kSeriesModels,
                                [](IBIS* pIbis) {
                                    SSWCH* pGroup = FirstComponent(pIbis)->pSswchList;
                                    ASSERT_NE(pGroup, nullptr);
                                    EXPECT_STREQ(pGroup->szState, "On");
                                    ASSERT_EQ(pGroup->nNames, 3u);
                                    EXPECT_STREQ(pGroup->ppszNames[2], "g3");
                                    pGroup = pGroup->pNext->pNext->pNext;
                                    ASSERT_EQ(pGroup->nNames, 1u);
                                    EXPECT_STREQ(pGroup->ppszNames[0], "abcdefghijklmnopqrst");
                                    pGroup = pGroup->pNext;
                                    EXPECT_EQ(pGroup->nNames, 1u);
                                    EXPECT_EQ(pGroup->pNext, nullptr);
                                });
    EXPECT_EQ(result.strLog,
              "ERROR  (line   21) - Unknown sub parameter 'off'\n"
              "ERROR  (line   22) - Series switch Group name cannot be 'On' or 'Off'\n"
              "ERROR  (line   22) - Duplicate Series switch Group name 'g4'\n"
              "ERROR  (line   23) - Series switch Group name '" + strLong + "' over 20 characters long\n"
              "ERROR  (line   24) - No Group names specified on this line\n"
              "WARNING  - Component: X Series Switch Function 'g4' is used but not defined\n"
              "WARNING  - Component: X Series Switch Function 'On' is used but not defined\n"
              "WARNING  - Component: X Series Switch Function 'g4' is used but not defined\n"
              "WARNING  - Component: X Series Switch Function 'abcdefghijklmnopqrst' is used but not defined\n");
}

TEST(SeriesSwitchGroups, UnterminatedGroups) {
    ReadResult result = ReadIbs(kComponentX +
                                "[Series Switch Groups]\n"
                                "On g1\n"
                                "[Series Switch Groups] a b\n"
                                "Off g2\n");
    EXPECT_EQ(result.strLog,
              "ERROR  (line   12) -\n"
              "    Previous keyword not terminated properly. Possibly missing a \"/\"\n\n"
              "ERROR  (line   12) - Duplicate [Series_Switch_Groups] keyword found.\n"
              "ERROR  (line   12) -\n"
              "    Incorrect Number of Line Items (3) For Series_Switch_Groups: Expecting 1\n"
              "ERROR  (line   14) -\n"
              "    Previous keyword not terminated properly. Possibly missing a \"/\"\n\n"
              "ERROR  - Unable to find Pin keyword data for Component 'X'.\n"
              "WARNING  - Component: X Series Switch Function 'g1' is used but not defined\n"
              "WARNING  - Component: X Series Switch Function 'g2' is used but not defined\n");
}

}  // namespace
