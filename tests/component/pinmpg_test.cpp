#include <gtest/gtest.h>

#include <string>

#include "component/cmpnt.h"
#include "component/difpin.h"
#include "component/ibs_text.h"
#include "component/pinmpg.h"
#include "reader/read.h"

namespace {

CMPNT* OnlyComponent(IBIS* pIbis) {
    CMPNT* pCmpnt = nullptr;
    EXPECT_EQ(IBIS_GetCmpntList(pIbis, &pCmpnt), 1);
    return pCmpnt;
}

TEST(PinMapping, Headers) {
    ReadResult result = ReadIbs(std::string("[Component] A\n") + kManufacturerAndPackage +
                                "[Pin Mapping] pullup_ref pulldown_ref gnd_clamp_ref\n"
                                "[Pin Mapping] pulldown_ref pullup_ref\n"
                                "[Component] B\n" + kManufacturerAndPackage +
                                "[Pin Mapping] pulldown_ref\n"
                                "[Component] C\n" + kManufacturerAndPackage +
                                "[Pin Mapping]\n");
    EXPECT_EQ(result.strLog,
              "ERROR  (line   10) -\n"
              "    Pin_Mappings keyword column count must be 3 or 5, found 4 columns.\n"
              "ERROR  (line   10) - 'pulldown_ref' column header not found or out of order.\n"
              "ERROR  (line   10) - 'pullup_ref' column header not found or out of order.\n"
              "ERROR  (line   11) - Duplicate Pin_Mapping keyword found.\n"
              "ERROR  (line   18) -\n"
              "    Pin_Mappings keyword column count must be 3 or 5, found 2 columns.\n"
              "ERROR  (line   18) - 'pullup_ref' column header not found or out of order.\n"
              "ERROR  (line   25) - Unable to find column headers after Pin_Mapping keyword.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'C'.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'B'.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'A'.\n");
}

TEST(PinMapping, Rows) {
    ReadResult result = ReadIbs(kComponentX +
                                    "[Pin Mapping] pulldown_ref pullup_ref\n"
                                    "1 NC VDD\n"
                                    "1 VSS VDD GC\n"
                                    "2 na VDD NA VDD\n"
                                    "3 VSS VDD A B C\n"
                                    "1\n"
                                    "GND VSS VDD\n",
                                [](IBIS* pIbis) {
                                    PINMPG* pRow = nullptr;
                                    ASSERT_EQ(CMPNT_GetPinMapList(OnlyComponent(pIbis), &pRow), 1);
                                    EXPECT_EQ(PINMPG_FindPin(pRow, "3"), 1);
                                    EXPECT_EQ(PINMPG_FindPin(pRow, "4"), 0);
                                    const char* psz = nullptr;
                                    EXPECT_EQ(PINMPG_GetPulldownRef(pRow, &psz), 0);
                                    EXPECT_EQ(PINMPG_GetPullupRef(pRow, &psz), 1);
                                    EXPECT_STREQ(psz, "VDD");
                                    pRow = pRow->pNext->pNext;
                                    EXPECT_STREQ(pRow->szPulldownRef, "na");
                                    EXPECT_EQ(PINMPG_GetGndClampRef(pRow, &psz), 1);
                                    EXPECT_STREQ(psz, "NA");
                                });
    EXPECT_EQ(result.strLog,
              "ERROR  (line   12) - Pin Mapping data lines must contain either 3 or 5 columns.\n"
              "ERROR  (line   12) - Duplicate Pin Mapping Pin.\n"
              "ERROR  (line   13) - na is an invalid Pin_Mapping column entry.\n"
              "ERROR  (line   13) - NA is an invalid Pin_Mapping column entry.\n"
              "ERROR  (line   13) - When 5 columns are specified, the headings gnd_clamp_ref and "
              "power_clamp_ref must be used.\n"
              "ERROR  (line   14) - Extra data columns on this line.\n"
              "ERROR  (line   14) - When 5 columns are specified, the headings gnd_clamp_ref and "
              "power_clamp_ref must be used.\n"
              "ERROR  (line   15) - No pulldown_ref data.\n"
              "ERROR  (line   15) - No pullup_ref data.\n"
              "ERROR  (line   15) - Pin Mapping data lines must contain either 3 or 5 columns.\n"
              "ERROR  (line   15) - Duplicate Pin Mapping Pin.\n"
              "ERROR  (line   15) - Duplicate Pin Mapping Pin.\n"
              "ERROR  (line   16) - Illegal use of Reserved Word 'GND'.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'X'.\n");
}

TEST(PinMapping, SupplyChecks) {
    ReadResult result = ReadIbs(kComponentX +
                                "[Pin] signal_name model_name\n"
                                "1 VCC POWER\n"
                                "2 VSS GND\n"
                                "3 VCC2 POWER\n"
                                "4 DQ0 IO\n"
                                "5 NC NC\n"
                                "6 DQ1 IO\n"
                                "7 VSSB GND\n"
                                "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref\n"
                                "1 NC VDD NC NC\n"
                                "2 VSS nc NC NC\n"
                                "3 VDD2 VDD2 NC NC\n"
                                "4 VSS VDD VSS VDD\n"
                                "5 NC NC NC X\n"
                                "6 VDD2 VQQ GQ VDD\n"
                                "7 GB GB NC NC\n"
                                "8 VSS VDD NC NC\n");
    EXPECT_EQ(result.strLog,
              "ERROR  - Component 'X': Model 'IO' for Pin '4' not defined.\n"
              "ERROR  - Component 'X': Model 'IO' for Pin '6' not defined.\n"
              "WARNING  - Pin 3 is a POWER pin. Usually only has Pullup_ref in Pin Mapping\n"
              "WARNING  - Pin 5 is NC. Should not have any references in Pin Mapping\n"
              "WARNING  - Pin 7 is a GND pin. Usually only has Pulldown_ref in Pin Mapping\n"
              "ERROR  -\n"
              "    Component 'X': Pin Mapping Pin '8' not previously declared in Pin section.\n"
              "ERROR  - Component 'X': Pin Mapping pulldown_ref entry 'VDD2' is not connected to at least "
              "one pin whose model_name is POWER or GND.\n"
              "WARNING  - Component 'X': Pin Mapping '6': pulldown_ref entry is usually connected to GND.\n"
              "WARNING  - Pulldown Reference GB is also used as a Pullup Reference\n"
              "ERROR  - Component 'X': Pin Mapping pullup_ref entry 'VQQ' is not connected to at least one "
              "pin whose model_name is POWER or GND.\n"
              "ERROR  - Component 'X': Pin Mapping pullup_ref entry 'GB' is not connected to at least one "
              "pin whose model_name is POWER or GND.\n"
              "ERROR  - Component 'X': Pin Mapping gnd_clamp_ref entry 'GQ' is not connected to at least "
              "one pin whose model_name is POWER or GND.\n"
              "ERROR  - Component 'X': Pin Mapping power_clamp_ref entry 'X' is not connected to at least "
              "one pin whose model_name is POWER or GND.\n");
}

TEST(PinMapping, ReferencesUsuallyConnectedToTheOtherSupply) {
    ReadResult result = ReadIbs(kComponentX +
                                "[Pin] signal_name model_name\n"
                                "1 VCC POWER\n"
                                "2 VSS GND\n"
                                "3 A NC\n"
                                "4 VCC2 POWER\n"
                                "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref\n"
                                "1 NC BUSA NC NC\n"
                                "2 BUSA BUSB NC NC\n"
                                "3 NC BUSB BUSC BUSB\n"
                                "4 BUSC NC NC NC\n");
    EXPECT_EQ(result.strLog,
              "WARNING  - Pin 2 is a GND pin. Usually only has Pulldown_ref in Pin Mapping\n"
              "WARNING  - Pin 3 is NC. Should not have any references in Pin Mapping\n"
              "WARNING  - Pin 4 is a POWER pin. Usually only has Pullup_ref in Pin Mapping\n"
              "WARNING  - Pulldown Reference BUSA is also used as a Pullup Reference\n"
              "ERROR  - Component 'X': Pin Mapping pulldown_ref entry 'BUSC' is not connected to at least "
              "one pin whose model_name is POWER or GND.\n"
              "ERROR  - Component 'X': Pin Mapping pullup_ref entry 'BUSB' is not connected to at least one "
              "pin whose model_name is POWER or GND.\n"
              "WARNING  - Component 'X': Pin Mapping '3': pullup_ref entry is usually connected to POWER.\n"
              "WARNING  - Component 'X': Pin Mapping '3': gnd_clamp_ref entry is usually connected to GND.\n"
              "WARNING  - Component 'X': Pin Mapping '3': power_clamp_ref entry is usually connected to "
              "POWER.\n");
}

TEST(DiffPin, Headers) {
    ReadResult result = ReadIbs(std::string("[Component] A\n") + kManufacturerAndPackage +
                                "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min\n"
                                "[Diff Pin] inv_pin vdiff tdelay_typ\n"
                                "[Component] B\n" + kManufacturerAndPackage +
                                "[Diff Pin] vdiff inv_pin tdelay_typ\n"
                                "[Component] C\n" + kManufacturerAndPackage +
                                "[Diff Pin]\n");
    EXPECT_EQ(result.strLog,
              "ERROR  (line   10) -\n"
              "    Diff_Pins keyword column count must be 4 or 6, found 5 columns.\n"
              "ERROR  (line   11) - Duplicate Diff_Pin keyword found.\n"
              "ERROR  (line   18) - 'inv_pin' column header not found or out of order.\n"
              "ERROR  (line   18) - 'vdiff' column header not found or out of order.\n"
              "ERROR  (line   25) - Unable to find column headers after Diff_Pins keyword.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'C'.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'B'.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'A'.\n");
}

TEST(DiffPin, NaIsReplacedWhenTheRowIsRead) {
    ReadResult result = ReadIbs(kComponentX +
                                    "[Pin] signal_name model_name\n"
                                    "1 A NC\n"
                                    "2 B NC\n"
                                    "3 C NC\n"
                                    "4 D NC\n"
                                    "5 E NC\n"
                                    "6 F NC\n"
                                    "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n"
                                    "1 2 NA NA\n"
                                    "3 4 0.2 1n NA NA\n"
                                    "5 6 0.1 5n 3n 1n\n",
                                [](IBIS* pIbis) {
                                    DIFPIN* pRow = nullptr;
                                    ASSERT_EQ(CMPNT_GetDiffPinList(OnlyComponent(pIbis), &pRow), 1);
                                    double d = -1.0;
                                    EXPECT_EQ(DIFPIN_GetVdiff(pRow, &d), 1);
                                    EXPECT_EQ(d, 0.0);
                                    EXPECT_EQ(DIFPIN_GetTdelayTyp(pRow, &d), 1);
                                    EXPECT_EQ(d, 0.0);
                                    EXPECT_EQ(DIFPIN_GetTdelayMin(pRow, &d), 0);
                                    pRow = pRow->pNext;
                                    EXPECT_EQ(DIFPIN_GetTdelayMin(pRow, &d), 1);
                                    EXPECT_EQ(d, 0.0);
                                    EXPECT_EQ(DIFPIN_GetTdelayMax(pRow, &d), 1);
                                    EXPECT_DOUBLE_EQ(d, 1e-9);
                                });
    EXPECT_EQ(result.strLog, "WARNING  (line   20) - Typ value is not in between min and max \n");
}

TEST(DiffPin, RowErrors) {
    ReadResult result = ReadIbs(kComponentX +
                                "[Diff Pin] inv_pin vdiff tdelay_typ\n"
                                "1 2 0.1 1n 0 2n\n"
                                "3 3 %v 1.5n3\n"
                                "5\n"
                                "1 2 0.1 1n 0 2n 7\n");
    EXPECT_EQ(result.strLog,
              "ERROR  (line   11) -\n"
              "    When using 6 columns, the tdelay_min and tdelay_max headers must be used.\n"
              "ERROR  (line   12) - Diff_Pin column pin same as inv_pin column pin.\n"
              "ERROR  (line   12) - Bad value for vdiff column.\n"
              "WARNING  (line   12) - Suspicious value for tdelay_typ column.\n"
              "ERROR  (line   13) - No inv_pin column entry.\n"
              "ERROR  (line   13) - No vdiff column entry.\n"
              "ERROR  (line   13) - No tdelay_typ column entry.\n"
              "ERROR  (line   13) - Diff_Pin data line column count must be 4 or 6.\n"
              "ERROR  (line   14) - Too many Diff Pin data columns.\n"
              "ERROR  (line   14) -\n"
              "    When using 6 columns, the tdelay_min and tdelay_max headers must be used.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'X'.\n"
              "ERROR  - Component 'X': Diff_Pin '1' is not unique.\n"
              "ERROR  - Component 'X': inv_pin '1' is not unique.\n");
}

TEST(DiffPin, DeclaredAndUniquePins) {
    ReadResult result = ReadIbs(kComponentX +
                                "[Pin] signal_name model_name\n"
                                "3 C NC\n"
                                "4 D NC\n"
                                "5 E NC\n"
                                "[Diff Pin] inv_pin vdiff tdelay_typ\n"
                                "3 4 NA NA\n"
                                "4 5 NA NA\n"
                                "3 4 NA NA\n"
                                "7 9 NA NA\n");
    EXPECT_EQ(result.strLog,
              "ERROR  - Component 'X': Diff_Pin '7' not previously declared in Pin section.\n"
              "ERROR  - Component 'X': inv_pin '9' not previously declared in Pin section.\n"
              "ERROR  - Component 'X': Diff_pin '4' already in use as an inv_pin.\n"
              "ERROR  - Component 'X': Diff_Pin '3' is not unique.\n"
              "ERROR  - Component 'X': inv_pin '3' is not unique.\n"
              "ERROR  - Component 'X': Inv_pin '3' already in use as a Diff_pin.\n");
}

}  // namespace
