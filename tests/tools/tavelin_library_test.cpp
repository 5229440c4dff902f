// The `tavelin index` and `tavelin show` commands, run as users run them:
// in a directory of their own holding a folder of IBIS files.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/corpus.h"
#include "support/snippet.h"
#include "support/tool_run.h"

namespace fs = std::filesystem;

namespace {

const char kHead[] = "***** This is an automatically generated file, do not edit! *****\n";

class TavelinLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::path(WriteScratchFile("library-marker", "")).parent_path() / "library";
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "models" / "vendor");
        fs::create_directories(m_dir / "more");
        fs::copy_file(fs::path(TAVELIN_EXAMPLES) / "tvl8244.ibs", m_dir / "models" / "tvl8244.ibs");
    }
    ToolRun Run(const std::string& strArguments) { return RunTool(strArguments, m_dir.string()); }
    void Put(const std::string& strName, const std::string& strText) {
        std::ofstream(m_dir / strName, std::ios::binary) << strText;
    }
    fs::path m_dir;
};

TEST_F(TavelinLibrary, IndexListsEveryComponentBelowTheFolders) {
    Put("models/vendor/two.ibs", Header32("two.ibs") +
                                     "[Component] A1\n[Manufacturer] Maker A\n[Package]\n"
                                     "R_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
                                     "[Pin] signal_name model_name\n1 VCC POWER\n"
                                     "[Component] B2\n[Manufacturer] Maker B\n[Package]\n"
                                     "R_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
                                     "[Pin] signal_name model_name\n1 VCC POWER\n[End]\n");
    Put("models/vendor/broken.ibs", "[Component] X\n");
    Put("more/three.ibs", Header32("three.ibs") +
                              "[Component] C3\n[Manufacturer] Maker C\n[Package]\n"
                              "R_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
                              "[Pin] signal_name model_name\n1 VCC POWER\n[End]\n");
    Put("models/notes.txt", "not an IBIS file");
    const ToolRun run = Run("index models more");
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ("tavelin: models/vendor/broken.ibs: not read, skipped\n", run.strErr);
    // Bucket order: A1 (sums to 13), B2 (15), C3 (17), TVL8244 (44).
    EXPECT_EQ(std::string(kHead) + "0\n"
                                   "A1\nvendor/two.ibs\nMaker A\n0\n"
                                   "B2\nvendor/two.ibs\nMaker B\n0\n"
                                   "C3\n../more/three.ibs\nMaker C\n0\n"
                                   "TVL8244\ntvl8244.ibs\nTavelin Example Devices\n0\n",
              run.strOut);

    EXPECT_EQ(3, Run("index").nStatus);
    const ToolRun missing = Run("index nowhere");
    EXPECT_EQ(2, missing.nStatus);
    EXPECT_EQ("tavelin: nowhere: not a folder\n", missing.strErr);
}

TEST_F(TavelinLibrary, ShowCompilesOnDemandAndListsPins) {
    Put("models/models.idx", Run("index models").strOut);
    const ToolRun first = Run("show --lib cbx --index models/models.idx TVL8244");
    EXPECT_EQ(0, first.nStatus) << first.strErr;
    EXPECT_EQ("compile log: cbx/trel_rdr.txt\n", first.strErr);
    EXPECT_EQ("Component: TVL8244\n"
              "Status: 7 \n"
              "Source: models/tvl8244.ibs\n"
              "Compiled: ib000000.cbs\n"
              "       typ        min        max       \n"
              "R_Pkg  0.25       0.2        0.3       \n"
              "L_Pkg  5e-09      4.2e-09    5.8e-09   \n"
              "C_Pkg  8e-13      7e-13      9e-13     \n"
              "Pin      Signal           Model            Type                     R_pin      L_pin      C_pin     \n"
              "1        VCC              POWER            no type (pwr, gnd or NC) NA         NA         NA        \n"
              "2        GND              GND              no type (pwr, gnd or NC) NA         NA         NA        \n"
              "3        DQ0              IO33             i/o                      0.21       4.6e-09    7.5e-13   \n"
              "4        DQ1              IO33             i/o                      0.24       5.1e-09    8.2e-13   \n"
              "5        CLK              IN33             input                    0.2        4.4e-09    7.2e-13   \n"
              "6        OE               IN33             input                    0.23       4.9e-09    7.9e-13   \n"
              "7        NC               NC               no type (pwr, gnd or NC) NA         NA         NA        \n",
              first.strOut);
    EXPECT_EQ(std::string(kHead) + "1\nTVL8244\nib000000.cbs\n\n0\n", ReadText((m_dir / "cbx/compibis.ibx").string()));

    // The second time nothing is compiled.
    const ToolRun outline = Run("show --lib cbx --index models/models.idx --pin 5 --outline "
                                "--label U7.5 --number 3 --corner max TVL8244");
    EXPECT_EQ(0, outline.nStatus);
    EXPECT_EQ("", outline.strErr);
    EXPECT_EQ("input 3 \"U7.5\"\nmodel \"TVL8244\" \"IN33\" 2\n", outline.strOut);

    const ToolRun listing = Run("show --lib cbx --index models/models.idx --pin 6 --model-mode TVL8244");
    EXPECT_EQ(0, listing.nStatus);
    EXPECT_EQ(0u, listing.strOut.find("Input 0 \"\"\nvinl 0.8 \n")) << listing.strOut;
    const std::string strTail = "model \"TVL8244\" \"IN33\" 0\nR_Pin 0.25\nL_Pin 5e-09\nC_Pin 8e-13\n";
    EXPECT_EQ(strTail, listing.strOut.substr(listing.strOut.size() - strTail.size()));
}

TEST_F(TavelinLibrary, ShowReportsWhatCannotBeShown) {
    Put("models/models.idx", Run("index models").strOut);
    const ToolRun unknown = Run("show --lib cbx --index models/models.idx NOPE");
    EXPECT_EQ(1, unknown.nStatus);
    EXPECT_EQ(0u, unknown.strOut.find("Component: NOPE\nStatus: 1 IBIS source not found\n"));
    const ToolRun pin = Run("show --lib cbx --index models/models.idx --pin 99 TVL8244");
    EXPECT_EQ(1, pin.nStatus);
    EXPECT_EQ("compile log: cbx/trel_rdr.txt\ntavelin: no pin 99 in TVL8244\n", pin.strErr);
    // A supply pin has no model block to list.
    EXPECT_EQ(1, Run("show --lib cbx --index models/models.idx --pin 1 TVL8244").nStatus);
    EXPECT_EQ(3, Run("show --lib cbx TVL8244").nStatus);
    EXPECT_EQ(3, Run("show --lib cbx --index models/models.idx --corner fast TVL8244").nStatus);
    EXPECT_EQ(3, Run("show --lib cbx --index models/models.idx A B").nStatus);
}

}  // namespace
