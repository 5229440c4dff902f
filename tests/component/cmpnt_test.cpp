#include <gtest/gtest.h>

#include <string>

#include "component/cmpnt.h"
#include "component/ibs_text.h"
#include "component/pin.h"
#include "component/pkg.h"
#include "package/pkgmdl.h"
#include "reader/read.h"
#include "core/rng.h"

namespace {

CMPNT* OnlyComponent(IBIS* pIbis) {
    CMPNT* pCmpnt = nullptr;
    EXPECT_EQ(IBIS_GetCmpntList(pIbis, &pCmpnt), 1);
    return pCmpnt;
}

TEST(Component, MissingManufacturerAndPackageAreReportedWhenTheComponentCloses) {
    ReadResult result = ReadIbs(
        "[Component] X\n"
        "[Pin] signal_name model_name\n"
        "1 VCC POWER\n");
    EXPECT_EQ(result.strLog,
              "ERROR  - Required keyword 'Manufacturer' not defined for Component 'X'.\n"
              "ERROR  - Keyword 'Package' not defined for Component 'X'.\n");
}

TEST(Component, PackageLines) {
    ReadResult result = ReadIbs(
        "[Component] X\n"
        "[Manufacturer] M\n"
        "[Package] extra\n"
        "R_pkg 10m NA NA\n"
        "r_pkg 1 2 3\n"
        "L_pkg NA 5m 15m\n"
        "C_pkg 10m 5m\n"
        "X_pkg 1 2 3\n"
        "C_pkg 1p 2% 3p\n"
        "[Package]\n"
        "[Pin] signal_name model_name\n"
        "1 VCC POWER\n",
        [](IBIS* pIbis) {
            PKG* pPkg = nullptr;
            ASSERT_EQ(CMPNT_GetPkg(OnlyComponent(pIbis), &pPkg), 1);
            RNG* pRng = nullptr;
            double d = 0.0;
            ASSERT_EQ(PKG_GetRpkg(pPkg, &pRng), 1);
            EXPECT_EQ(RNG_GetTyp(pRng, &d), 1);
            EXPECT_DOUBLE_EQ(d, 0.01);
            ASSERT_EQ(PKG_GetLpkg(pPkg, &pRng), 1);
            EXPECT_EQ(RNG_GetTyp(pRng, &d), 0);
            EXPECT_EQ(PKG_GetCpkg(pPkg, &pRng), 0);
        });
    EXPECT_EQ(result.strLog,
              "ERROR  (line    6) - Unknown data after Package keyword.\n"
              "ERROR  (line    8) - Duplicate R_pkg sub-parameter.\n"
              "ERROR  (line    9) - The typical column must be specified.\n"
              "ERROR  (line   10) -\n"
              "    Expected 4 columns in Package sub-parameter line, found 3 columns.\n"
              "ERROR  (line   11) - Unknown Package subparameter.\n"
              "ERROR  (line   12) - Invalid Minimum Value (\"2%\")\n"
              "ERROR  (line   12) - Unable to parse data for Package subparameter 'C_pkg'.\n"
              "ERROR  (line   13) - Duplicate Package keyword.\n"
              "ERROR  (line   16) - Required sub-parameter C_pkg not found.\n"
              // 5 mH and 15 mH are far beyond any package.
              "WARNING  -\n"
              "    CMPT 'X': Lpkg MIN value 5e+06nH not within expected range (0nH, 1000nH)\n"
              "WARNING  -\n"
              "    CMPT 'X': Lpkg MAX value 1.5e+07nH not within expected range (0nH, 1000nH)\n");
}

TEST(Component, LocationSubparametersInIbis3) {
    ReadResult result = ReadIbs(std::string(
        "[Component] X\n"
        "Si_location pin\n"
        "Si_location Die\n"
        "Si_location Die\n"
        "Timing_location Middle\n"
        "Timing_location\n"
        "si_location Pin\n") + kManufacturerAndPackage +
        "[Pin] signal_name model_name\n"
        "1 VCC POWER\n",
        [](IBIS* pIbis) {
            CMPNT* pCmpnt = OnlyComponent(pIbis);
            EXPECT_EQ(pCmpnt->eSiLocation, LOCATION_DIE);
            EXPECT_EQ(pCmpnt->eTimingLocation, LOCATION_INVALID);
        });
    EXPECT_EQ(result.strLog,
              "ERROR  (line    5) - Invalid Si_location (\"pin\") (try \"Pin\")\n"
              "ERROR  (line    6) - Si_location Already Defined For Component 'X'\n"
              "ERROR  (line    7) - Si_location Already Defined For Component 'X'\n"
              "ERROR  (line    8) - Invalid Timing_location (\"Middle\")\n"
              "ERROR  (line    9) - Timing_location Already Defined For Component 'X'\n"
              "ERROR  (line    9) - 'Timing_location' Subparameter Missing Setting\n"
              "ERROR  (line    9) -\n"
              "    Incorrect Number of Line Items (1) For Timing_location: Expecting 2\n"
              "ERROR  (line   10) - Unknown Line after Component Description\n");
}

TEST(Component, KeywordsWithoutDataLines) {
    ReadResult result = ReadIbs(
        "[Component] X\n"
        "Si_location Die\n"
        "[Manufacturer] M\n"
        "Second line\n"
        "[Package Model] QFP\n"
        "Second line\n"
        "[Package]\n"
        "R_pkg 1 NA NA\n"
        "L_pkg 1n NA NA\n"
        "C_pkg 1p NA NA\n"
        "[Pin] signal_name model_name\n"
        "1 VCC POWER\n",
        "2.1");
    EXPECT_EQ(result.strLog,
              "ERROR  (line    5) - Data on this line appears to be for the Component keyword, which does not "
              "allow data on subsequent lines.\n"
              "ERROR  (line    7) - Data on this line appears to be for the Manufacturer keyword, which does "
              "not allow data on subsequent lines.\n"
              "ERROR  (line    9) - Data on this line appears to be for the Package Model keyword, which does "
              "not allow data on subsequent lines.\n");
}

TEST(Component, NameWithBlankIsKeptAndReservedNamesAreRefused) {
    ReadResult result = ReadIbs(std::string("[Component] My Chip\n") + kManufacturerAndPackage +
                                    "[Package Model] NA\n"
                                    "[Pin] signal_name model_name\n"
                                    "1 VCC POWER\n",
                                [](IBIS* pIbis) {
                                    const char* pszName = nullptr;
                                    ASSERT_EQ(CMPNT_GetName(OnlyComponent(pIbis), &pszName), 1);
                                    EXPECT_STREQ(pszName, "My Chip");
                                });
    EXPECT_EQ(result.strLog,
              "WARNING  (line    4) - Component 'My Chip' contains a blank character.\n"
              "ERROR  (line   10) - Illegal use of Reserved Word 'NA'.\n");
}

// One complete component of the given name with one pin, 8 lines.
std::string OnePinComponent(const std::string& strName) {
    return "[Component] " + strName + "\n" + kManufacturerAndPackage + "[Pin] signal_name model_name\n1 VCC POWER\n";
}

TEST(Component, DuplicatesAreReportedPerPairAndChecksRunNewestFirst) {
    ReadResult result = ReadIbs(OnePinComponent("A") + OnePinComponent("A") + OnePinComponent("B") +
                                OnePinComponent("B") + OnePinComponent("B") + "[Component] C\n" +
                                kManufacturerAndPackage);
    EXPECT_EQ(result.strLog,
              "ERROR  - Component 'B' is duplicated within the .ibs file.\n"
              "ERROR  - Component 'B' is duplicated within the .ibs file.\n"
              "ERROR  - Component 'B' is duplicated within the .ibs file.\n"
              "ERROR  - Component 'A' is duplicated within the .ibs file.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'C'.\n");
}

TEST(Component, OrphanComponentKeywordsAndPackageModelWithoutPackageModels) {
    ReadResult result = ReadIbs(std::string(
        "[Manufacturer] M\n"
        "Text\n") + kComponentX +
        "[Package Model] QFP_48\n"
        "[Pin] signal_name model_name\n"
        "1 VCC POWER\n");
    EXPECT_EQ(result.strLog,
              "ERROR  (line    4) - Orphan Component keyword.\n"
              "ERROR  (line    5) - Orphan data line keyword.\n");
}

// An unknown keyword closes nothing, so the next [Component] finds the
// earlier component still open: it is closed there, and its [Manufacturer]
// does not count for the new one.
TEST(Component, ComponentLeftOpenByAnUnknownKeywordIsClosedByTheNextComponent) {
    ReadResult result = ReadIbs(
        "[Component] X\n"
        "[Manufacturer] M\n"
        "[Foo]\n"
        "[Component] Y\n"
        "[Package]\n"
        "R_pkg 1 NA NA\n"
        "L_pkg 1n NA NA\n"
        "[Pin] signal_name model_name\n"
        "1 VCC POWER\n");
    EXPECT_EQ(result.strLog,
              "ERROR  (line    6) - Invalid Keyword. Foo\n"
              "ERROR  - Keyword 'Package' not defined for Component 'X'.\n"
              "ERROR  - Required keyword 'Manufacturer' not defined for Component 'Y'.\n"
              "ERROR  (line   13) - Required sub-parameter C_pkg not found.\n"
              "ERROR  - Unable to find Pin keyword data for Component 'X'.\n");
}

// A record made by hand stands for a package model of another name.
TEST(Component, PackageModelMustBeInTheDocumentWhenItHasPackageModels) {
    std::string strChecks;
    ReadIbs(kComponentX +
                "[Package Model] QFP_48\n"
                "[Pin] signal_name model_name\n"
                "1 VCC POWER\n",
            [&](IBIS* pIbis) {
                PKGMDL other{};
                IBIS_AddPkgMdl(pIbis, &other);
                strChecks = CaptureLog([&] { CMPNT_CheckList(OnlyComponent(pIbis)); });
                pIbis->pPkgMdlList = nullptr;
            });
    EXPECT_EQ(strChecks, "ERROR  - Unable to find Package Model 'QFP_48' for Component 'X'\n");
}

TEST(Component, BundledExampleReadsClean) {
    int nPins = 0;
    ReadResult result = ReadPath(std::string(TAVELIN_EXAMPLES) + "/tvl8244.ibs", [&](IBIS* pIbis) {
        PIN* pPin = nullptr;
        for (CMPNT_GetPinList(OnlyComponent(pIbis), &pPin); pPin != nullptr; pPin = pPin->pNext) ++nPins;
    });
    EXPECT_EQ(result.strLog, "");
    EXPECT_EQ(nPins, 7);
}

}  // namespace
