// The model library manager compiling on demand: the first compile and
// the index saved by Fini, the record read back, the out-of-date rule,
// compile reports in the log, the log and its backup, refused, exhausted
// and unwritable compiled indexes, garbled compiled models.
#include <tavelin/tavelin.h>

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>

#include "api/compmdls_support.h"
#include "platform/platform.h"

namespace {

std::string Banner(const std::string& strComponent, const std::string& strSource) {
    return "\n  Compiling IBIS model for component " + strComponent + " from file " + strSource + "\n";
}
const char kDone[] = "  IBIS Compilation Completed successfully\n";

// ------------------------------------------------------------ first compile

TEST_F(LibraryTest, FirstCompileNamesTheFirstFileAndSavesTheIndexOnlyAtASavingFini) {
    TestHost host;
    // A folder that does not exist is made; a saving Fini without a compile
    // writes nothing.
    ASSERT_EQ(1, host.Init(Cbx().c_str()));
    EXPECT_TRUE(PLAT_DirExists(Cbx().c_str()));
    EXPECT_STREQ((Cbx() + "/trel_rdr.txt").c_str(), host.GetCompileLogPath());
    EXPECT_EQ(1, host.Fini(1));
    EXPECT_FALSE(PLAT_FileExists(Cbx("compibis.ibx").c_str()));

    Open(&host);
    eRdIbisResult eResult = eRdIbisFailed;
    const time_t tBefore = time(nullptr);
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", &eResult, 0);
    ASSERT_NE(nullptr, pInfo);
    EXPECT_EQ(eRdIbisClean, eResult);
    EXPECT_EQ(eIbisStatusOk, pInfo->GetStatus());
    EXPECT_STREQ("U1", pInfo->Name());
    EXPECT_EQ(Path("lib.ibs"), pInfo->SourceFile());
    const char* psz = nullptr;
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmCompiledName, &psz, 0, 1));
    EXPECT_STREQ("ib000000.cbs", psz);
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmSourceText, &psz, 0, 1));
    EXPECT_STREQ("Acme", psz);
    EXPECT_GE(pInfo->CompileDate(), tBefore);
    EXPECT_EQ(5, pInfo->GetPinCount());
    EXPECT_EQ(std::vector<int>{eRdIbisClean}, host.shown);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_TRUE(host.errors.empty());
    EXPECT_TRUE(PLAT_FileExists(Cbx("ib000000.cbs").c_str()));
    EXPECT_EQ(Banner("U1", Path("lib.ibs")) + kDone, Slurp(host.GetCompileLogPath()));

    // The same name again is the same record, not compiled again.
    EXPECT_EQ(pInfo, host.GetIbisCompInfo("U1", &eResult, 0));
    EXPECT_EQ(eRdIbisNothing, eResult);

    EXPECT_FALSE(PLAT_FileExists(Cbx("compibis.ibx").c_str()));
    EXPECT_EQ(1, host.Fini(1));
    EXPECT_EQ(std::string(kIndexHead) + "1\nU1\nib000000.cbs\n\n0\n", Slurp(Cbx("compibis.ibx")));
}

TEST_F(LibraryTest, ThreeCompilesNameThreeFiles) {
    TestHost host;
    Open(&host);
    std::string strNames;
    for (const char* pszName : {"U1", "tech_cmos", "default"}) {
        const char* psz = nullptr;
        host.GetIbisCompInfo(pszName, nullptr, 0)->GetModelParam(eIbisPrmCompiledName, &psz, 0, 1);
        strNames += std::string(psz) + " ";
    }
    EXPECT_EQ("ib000000.cbs ib000001.cbs ib000002.cbs ", strNames);
    EXPECT_EQ(1, host.Fini(1));
    EXPECT_EQ(std::string(kIndexHead) +
                  "3\ndefault\nib000002.cbs\n\n0\ntech_cmos\nib000001.cbs\n\n0\nU1\nib000000.cbs\n\n0\n",
              Slurp(Cbx("compibis.ibx")));
    // A new session finds all three without compiling.
    TestHost again;
    Open(&again);
    eRdIbisResult eResult = eRdIbisFailed;
    EXPECT_EQ(eIbisStatusOk, again.GetIbisCompInfo("tech_cmos", &eResult, 0)->GetStatus());
    EXPECT_EQ(eRdIbisNothing, eResult);
    EXPECT_TRUE(again.shown.empty());
}

TEST_F(LibraryTest, ANonSavingFiniKeepsTheIndexFileAsItWas) {
    TestHost host;
    Open(&host);
    host.GetIbisCompInfo("U1", nullptr, 0);
    EXPECT_EQ(1, host.Fini(0));
    EXPECT_FALSE(PLAT_FileExists(Cbx("compibis.ibx").c_str()));
}

// ------------------------------------------------------------ the record read back

TEST_F(LibraryTest, TheRecordHoldsWhatTheCompiledModelSays) {
    TestHost host;
    Open(&host);
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", nullptr, 0);
    ASSERT_EQ(eIbisStatusOk, pInfo->GetStatus());
    const int nIo = pInfo->FindIndex4Pin("C1", eIbisPrmPinName);
    ASSERT_EQ(3, nIo);
    // The supply-pin lists read back in file order.
    const char* psz = nullptr;
    std::string strPullup;
    for (int bFirst = 1; pInfo->GetModelParam(eIbisPrmPullUpPins, &psz, nIo, bFirst); bFirst = 0)
        strPullup += std::string(psz) + " ";
    EXPECT_EQ("A1 A2 ", strPullup);
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmPullDownPins, &psz, nIo, 1));
    EXPECT_STREQ("B1", psz);
    EXPECT_EQ(0, pInfo->GetModelParam(eIbisPrmPullDownPins, &psz, nIo, 0));
    EXPECT_EQ(0, pInfo->GetModelParam(eIbisPrmPullUpPins, &psz, 0, 1)) << "supply pins have none";

    double d = 0;
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmRPkg, &d, 0, eMax));
    EXPECT_EQ(0.2, d);
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmLPkg, &d, 0, eMin));
    EXPECT_EQ(2e-9, d);
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmVoltRange, &d, nIo, eMin));
    EXPECT_EQ(3.0, d);
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmVinhPlus, &d, nIo, eTyp));
    EXPECT_EQ(2.0, d);
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmRPin, &d, 0, eTyp));
    EXPECT_EQ(0.3, d);
    d = -1;
    EXPECT_EQ(0, pInfo->GetModelParam(eIbisPrmRPin, &d, nIo, eTyp));
    EXPECT_EQ(-1, d);
    int n = 0;
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmModelType, &n, nIo));
    EXPECT_EQ(4, n);
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmIsPowerPin, &n, 0));
    EXPECT_EQ(1, n);
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmIsGndPin, &n, 2));
    EXPECT_EQ(1, n);
    EXPECT_EQ(4, pInfo->FindIndex4Pin("Input", eIbisPrmModelType));
}

TEST_F(LibraryTest, PinsStraightFromTheSource) {
    TestHost host;
    Open(&host);
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("tech_cmos", nullptr, 1);
    ASSERT_EQ(eIbisStatusNew, pInfo->GetStatus());
    EXPECT_EQ(eRdIbisClean, pInfo->PopulateInfo(ePopPinsFromSource));
    EXPECT_EQ(eIbisStatusPinsFromSource, pInfo->GetStatus());
    EXPECT_FALSE(pInfo->IsStatusOk());
    ASSERT_EQ(2, pInfo->GetPinCount());
    const char* psz = nullptr;
    int n = 0;
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmSignalName, &psz, 1, 1));
    EXPECT_STREQ("OUT1", psz);
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmModelType, &n, 1));
    EXPECT_EQ(4, n);
    EXPECT_FALSE(PLAT_FileExists(Cbx("ib000000.cbs").c_str())) << "nothing is compiled";

    // A component the source does not hold.
    Write(Path("lib.idx"), std::string(kIndexHead) + "0\nGHOST\nlib.ibs\n\n0\n");
    host.SetSearchPaths(1);
    pInfo = host.GetIbisCompInfo("GHOST", nullptr, 1);
    EXPECT_EQ(eRdIbisFailed, pInfo->PopulateInfo(ePopPinsFromSource));
    EXPECT_EQ(eIbisStatusSyntaxErrors, pInfo->GetStatus());
    // Without any source nothing is read.
    pInfo = host.GetIbisCompInfo("NOWHERE", nullptr, 1);
    EXPECT_EQ(eRdIbisNothing, pInfo->PopulateInfo(ePopPinsFromSource));
    EXPECT_EQ(eIbisStatusNew, pInfo->GetStatus());
}

// ------------------------------------------------------------ out of date

TEST_F(LibraryTest, ASourceNewerThanItsCompiledModel) {
    {
        TestHost host;
        Open(&host);
        CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", nullptr, 0);
        ASSERT_EQ(eIbisStatusOk, pInfo->GetStatus());
        // Edited while the record is cached: the base answer compiles again
        // into the same compiled file.
        SetTime(Path("lib.ibs"), pInfo->CompileDate() + 50);
        eRdIbisResult eResult = eRdIbisNothing;
        EXPECT_EQ(pInfo, host.GetIbisCompInfo("U1", &eResult, 0));
        EXPECT_EQ(eRdIbisClean, eResult);
        EXPECT_EQ(std::vector<std::string>{"U1"}, host.asked);
        EXPECT_EQ(eIbisStatusOk, pInfo->GetStatus());
        const char* psz = nullptr;
        pInfo->GetModelParam(eIbisPrmCompiledName, &psz, 0, 1);
        EXPECT_STREQ("ib000000.cbs", psz);
        const std::string strReport = Banner("U1", Path("lib.ibs")) + kDone;
        EXPECT_EQ(strReport + strReport, Slurp(host.GetCompileLogPath()));
        EXPECT_EQ(1, host.Fini(1));
        EXPECT_EQ(std::string(kIndexHead) + "1\nU1\nib000000.cbs\n\n0\n", Slurp(Cbx("compibis.ibx")));
    }
    // A new session finds the compiled model older than the source; a host
    // that answers 0 keeps it.
    SetTime(Cbx("ib000000.cbs"), time(nullptr) - 50);
    SetTime(Path("lib.ibs"), time(nullptr) - 10);
    TestHost host;
    host.nRecompileAnswer = 0;
    Open(&host);
    eRdIbisResult eResult = eRdIbisFailed;
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", &eResult, 0);
    EXPECT_EQ(eRdIbisNothing, eResult);
    EXPECT_EQ(eIbisStatusOutOfDateKept, pInfo->GetStatus());
    EXPECT_TRUE(pInfo->IsStatusOk());
    EXPECT_EQ(5, pInfo->GetPinCount());
    EXPECT_EQ(TimeOf(Cbx("ib000000.cbs")), pInfo->CompileDate());
    // Asked again: the host is asked again and the record stays kept.
    EXPECT_EQ(pInfo, host.GetIbisCompInfo("U1", &eResult, 0));
    EXPECT_EQ(eIbisStatusOutOfDateKept, pInfo->GetStatus());
    EXPECT_EQ(2u, host.asked.size());
    host.ClearCompileOodFlags();
    EXPECT_EQ(eIbisStatusOk, pInfo->GetStatus());
    // The host changes its mind: the kept record is compiled again.
    host.nRecompileAnswer = 1;
    pInfo->SetStatus(eIbisStatusOutOfDateKept);
    EXPECT_EQ(pInfo, host.GetIbisCompInfo("U1", &eResult, 0));
    EXPECT_EQ(eRdIbisClean, eResult);
    EXPECT_EQ(eIbisStatusOk, pInfo->GetStatus());
    EXPECT_FALSE(PLAT_FileExists(Cbx("trel_rdr.bak").c_str()));
}

// ------------------------------------------------------------ compile reports

// A source with component `strName`, its pins after pin 1 and the lines of
// its model's C_comp and voltage range (lines 16 and 17 without extra pins).
std::string Source(const std::string& strFile, const std::string& strName,
                   const std::string& strMorePins, const std::string& strModelLines) {
    return "[IBIS Ver] 3.2\n[File Name] " + strFile + "\n[File Rev] 1.0\n"
           "[Component] " + strName + "\n[Manufacturer] Acme\n[Package]\n"
           "R_pkg 0.1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
           "[Pin] signal_name model_name\n"
           "1 IN1 IN\n" + strMorePins +
           "[Model] IN\nModel_type Input\nVinl = 0.8\nVinh = 2.0\n" + strModelLines +
           "[GND Clamp]\n-1 -0.1 NA NA\n0 0 NA NA\n[End]\n";
}

// A pin line without its model name still gives a pin, its model empty.
TEST_F(LibraryTest, PinsFromTheSourceWithoutModelName) {
    Write(Path("m.ibs"), Source("m.ibs", "M1", "2 OUT1\n", ""));
    Write(Path("m.idx"), std::string(kIndexHead) + "0\nM1\nm.ibs\n\n0\n");
    TestHost host;
    ASSERT_EQ(1, host.Init(Cbx().c_str()));
    host.AddSrcIndex(Path("m.idx").c_str(), nullptr);
    host.SetSearchPaths(1);
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("M1", nullptr, 1);
    EXPECT_EQ(eRdIbisClean, pInfo->PopulateInfo(ePopPinsFromSource));
    ASSERT_EQ(2, pInfo->GetPinCount());
    const char* psz = nullptr;
    ASSERT_EQ(1, pInfo->GetModelParam(eIbisPrmSignalName, &psz, 1, 1));
    EXPECT_STREQ("OUT1", psz);
    EXPECT_EQ(0, pInfo->GetModelParam(eIbisPrmModelName, &psz, 1, 1));  // none given
}

TEST_F(LibraryTest, CompileReportsWithWarningsAndErrors) {
    Write(Path("w.ibs"), Source("w.ibs", "W1", "",
                                "C_comp 2p 3p 4p\n"                  // line 16
                                "[Voltage Range] 3.3 3.4 3.5\n"));   // line 17
    Write(Path("e.ibs"), Source("e.ibs", "E1", "2 X MISSING\n3 Y MISSING2\n4 Z MISSING3\n",
                                "C_comp 2p NA NA\n[Voltage Range] 3.3 NA NA\n"));
    Write(Path("w.idx"), std::string(kIndexHead) + "0\nW1\nw.ibs\n\n0\nE1\ne.ibs\n\n0\n");
    TestHost host;
    ASSERT_EQ(1, host.Init(Cbx().c_str()));
    host.AddSrcIndex(Path("w.idx").c_str(), nullptr);
    host.SetSearchPaths(1);
    host.ClearIBISLog();

    // Two warnings: compiled and written.
    eRdIbisResult eResult = eRdIbisNothing;
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("W1", &eResult, 0);
    EXPECT_EQ(eRdIbisWarnings, eResult);
    EXPECT_EQ(eIbisStatusOk, pInfo->GetStatus());
    EXPECT_TRUE(PLAT_FileExists(Cbx("ib000000.cbs").c_str()));

    // Three errors: nothing written, the name is dropped; everything in
    // column 1 with both indents 0.
    host.SetIbisLogIndents(0, 0);
    pInfo = host.GetIbisCompInfo("E1", &eResult, 0);
    EXPECT_EQ(eRdIbisFailed, eResult);
    EXPECT_EQ(eIbisStatusSyntaxErrors, pInfo->GetStatus());
    EXPECT_EQ((std::vector<int>{eRdIbisWarnings, eRdIbisFailed}), host.shown);
    const char* psz = "kept";
    EXPECT_EQ(0, pInfo->GetModelParam(eIbisPrmCompiledName, &psz, 0, 1));
    EXPECT_FALSE(PLAT_FileExists(Cbx("ib000001.cbs").c_str()));

    EXPECT_EQ("\t\tIBIS COMPILER REPORT\n\n" + Banner("W1", Path("w.ibs")) +
                  "    WARNING  (line   16) - Typ value is not in between min and max \n"
                  "    WARNING  (line   17) - Typ value is not in between min and max \n"
                  "  IBIS Compilation Completed with 2 Warnings\n"
                  "\nCompiling IBIS model for component E1 from file " + Path("e.ibs") + "\n"
                  "ERROR  - Component 'E1': Model 'MISSING' for Pin '2' not defined.\n"
                  "ERROR  - Component 'E1': Model 'MISSING2' for Pin '3' not defined.\n"
                  "ERROR  - Component 'E1': Model 'MISSING3' for Pin '4' not defined.\n"
                  "IBIS Compilation Failed due to  3 Errors\n",
              Slurp(host.GetCompileLogPath()));
    EXPECT_EQ(1, host.Fini(1));
    EXPECT_EQ(std::string(kIndexHead) + "2\nW1\nib000000.cbs\n\n0\n", Slurp(Cbx("compibis.ibx")));
}

TEST_F(LibraryTest, NameModeAndANewInitResetTheLogOptions) {
    Write(Path("w.ibs"), Source("w.ibs", "W1", "", "C_comp 2p 3p 4p\n[Voltage Range] 3.3 NA NA\n"));
    Write(Path("w.idx"), std::string(kIndexHead) + "0\nW1\nw.ibs\n\n0\n");
    TestHost host;
    // The options are set back by Init.
    host.SetIbisLogIndents(7, 7);
    host.SetIbisLogFormat(0);
    ASSERT_EQ(1, host.Init(Cbx().c_str()));
    host.AddSrcIndex(Path("w.idx").c_str(), nullptr);
    host.SetSearchPaths(1);
    host.GetIbisCompInfo("W1", nullptr, 0);
    host.SetIbisLogFormat(0);
    host.SetIbisLogIndents(1, 3);
    host.GetIbisCompInfo("W1", nullptr, 0)->SetStatus(eIbisStatusCompiledOutOfDate);
    host.GetIbisCompInfo("W1", nullptr, 0);
    EXPECT_EQ(Banner("W1", Path("w.ibs")) +
                  "    WARNING  (line   16) - Typ value is not in between min and max \n"
                  "  IBIS Compilation Completed with 1 Warnings\n"
                  "\n Compiling IBIS model for component W1 from file " + Path("w.ibs") + "\n"
                  "   WARNING " + Path("w.ibs") + " (line   16) - Typ value is not in between min and max \n"
                  " IBIS Compilation Completed with 1 Warnings\n",
              Slurp(host.GetCompileLogPath()));
}

TEST_F(LibraryTest, TheCompileLogAndItsBackup) {
    TestHost host;
    Open(&host);
    const std::string strLog = host.GetCompileLogPath();
    // No log yet: a new one holds only the title.
    EXPECT_EQ(1, host.ClearIBISLog());
    EXPECT_EQ("\t\tIBIS COMPILER REPORT\n\n", Slurp(strLog));
    EXPECT_EQ(1, host.nRefreshed);
    // Opened for a batch, the log keeps the title and gets the report; the
    // log the host holds open stays open through the compile.
    ASSERT_EQ(1, host.OpenIBISLog());
    FILE* pLog = host.GetLogFD();
    ASSERT_NE(nullptr, pLog);
    host.ReleaseLogFD();
    EXPECT_EQ(pLog, host.GetLogFD());
    host.GetIbisCompInfo("U1", nullptr, 0);
    EXPECT_EQ(pLog, host.GetLogFD());
    fputs("host line\n", pLog);
    EXPECT_EQ(1, host.CloseIBISLog());
    const std::string strFirst =
        "\t\tIBIS COMPILER REPORT\n\n" + Banner("U1", Path("lib.ibs")) + kDone + "host line\n";
    EXPECT_EQ(strFirst, Slurp(strLog));
    // A second clear moves the log to the backup.
    EXPECT_EQ(1, host.ClearIBISLog());
    EXPECT_EQ(strFirst, Slurp(Cbx("trel_rdr.bak")));
    EXPECT_EQ("\t\tIBIS COMPILER REPORT\n\n", Slurp(strLog));
    // Without a log the compile borrows one and gives it back.
    host.GetIbisCompInfo("tech_cmos", nullptr, 0);
    EXPECT_EQ("\t\tIBIS COMPILER REPORT\n\n" + Banner("tech_cmos", Path("lib.ibs")) + kDone,
              Slurp(strLog));
    EXPECT_EQ(3, host.nRefreshed);
}

TEST_F(LibraryTest, ALogThatCannotBeOpened) {
    // The compiled-model folder cannot be made below a plain file.
    Write(Path("plain"), "x");
    TestHost host;
    ASSERT_EQ(1, host.Init(Path("plain/cbx").c_str()));
    host.AddSrcIndex(Path("lib.idx").c_str(), nullptr);
    host.SetSearchPaths(1);
    testing::internal::CaptureStderr();
    eRdIbisResult eResult = eRdIbisNothing;
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", &eResult, 0);
    const std::string strShown = testing::internal::GetCapturedStderr();
    EXPECT_EQ(eRdIbisFailed, eResult);
    EXPECT_EQ(eIbisStatusNew, pInfo->GetStatus());
    EXPECT_NE(std::string::npos, strShown.find("Cannot Open IBIS Reader Log File\n" + Path("plain/cbx") +
                                                "/trel_rdr.txt\nEnsure Directory and File are Writable"))
        << strShown;
    EXPECT_TRUE(host.shown.empty());
    testing::internal::CaptureStderr();
    EXPECT_EQ(1, host.ClearIBISLog());
    EXPECT_NE(std::string::npos,
              testing::internal::GetCapturedStderr().find("Cannot Open IBIS Compiler Log File\n"));
    EXPECT_EQ(1, host.Fini(1));
}

// ------------------------------------------------------------ the compiled index

TEST_F(LibraryTest, ARefusedIndexIsMovedAsideAndNamesGoOnAboveExistingFiles) {
    PLAT_MakeDir(Cbx().c_str());
    Write(Cbx("compibis.ibx"), "head\nnot a number\nU1\nib000001.cbs\n\n0\n");
    Write(Cbx("ib000005.cbs"), "File_Rev 3 0\n");
    Write(Cbx("ib12.cbs"), "not one of the names");
    TestHost host;
    testing::internal::CaptureStderr();
    Open(&host);
    const std::string strShown = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, strShown.find("compibis.bad")) << strShown;
    EXPECT_EQ("head\nnot a number\nU1\nib000001.cbs\n\n0\n", Slurp(Cbx("compibis.bad")));
    EXPECT_FALSE(PLAT_FileExists(Cbx("compibis.ibx").c_str()));

    CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", nullptr, 0);
    const char* psz = nullptr;
    pInfo->GetModelParam(eIbisPrmCompiledName, &psz, 0, 1);
    EXPECT_STREQ("ib000013.cbs", psz);
    EXPECT_EQ("File_Rev 3 0\n", Slurp(Cbx("ib000005.cbs")));
    EXPECT_EQ(1, host.Fini(1));
    EXPECT_EQ(std::string(kIndexHead) + "14\nU1\nib000013.cbs\n\n0\n", Slurp(Cbx("compibis.ibx")));
}

TEST_F(LibraryTest, ARefusedIndexThatCannotBeMovedIsNeverWrittenOver) {
    PLAT_MakeDir(Cbx().c_str());
    Write(Cbx("compibis.ibx"), "head\n-1\n");
    // A folder that is not empty holds the name it would be moved to.
    PLAT_MakeDir(Cbx("compibis.bad").c_str());
    Write(Cbx("compibis.bad/inside"), "x");
    TestHost host;
    testing::internal::CaptureStderr();
    Open(&host);
    const std::string strShown = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::string::npos, strShown.find("moved")) << strShown;
    EXPECT_EQ(eIbisStatusOk, host.GetIbisCompInfo("U1", nullptr, 0)->GetStatus());
    EXPECT_EQ(0, host.Fini(1));
    EXPECT_EQ("head\n-1\n", Slurp(Cbx("compibis.ibx")));
}

TEST_F(LibraryTest, ALoadedIndexBehindItsFilesIsRaised) {
    PLAT_MakeDir(Cbx().c_str());
    Write(Cbx("compibis.ibx"), std::string(kIndexHead) + "1\nOTHER\nib000000.cbs\n\n0\n");
    Write(Cbx("ib000003.cbs"), "x");
    TestHost host;
    Open(&host);
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", nullptr, 0);
    const char* psz = nullptr;
    pInfo->GetModelParam(eIbisPrmCompiledName, &psz, 0, 1);
    EXPECT_STREQ("ib000004.cbs", psz);
    EXPECT_EQ(1, host.Fini(1));
    EXPECT_EQ(std::string(kIndexHead) + "5\nOTHER\nib000000.cbs\n\n0\nU1\nib000004.cbs\n\n0\n",
              Slurp(Cbx("compibis.ibx")));
}

TEST_F(LibraryTest, NoNameIsHandedOutPastTheLargestNumber) {
    PLAT_MakeDir(Cbx().c_str());
    Write(Cbx("compibis.ibx"), std::string(kIndexHead) + "2147483647\n");
    TestHost host;
    Open(&host);
    eRdIbisResult eResult = eRdIbisNothing;
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", &eResult, 0);
    EXPECT_EQ(eRdIbisFailed, eResult);
    EXPECT_EQ(eIbisStatusSyntaxErrors, pInfo->GetStatus());
    EXPECT_EQ(std::vector<int>{eRdIbisFailed}, host.shown);
    EXPECT_EQ(1, host.Fini(1));
    EXPECT_EQ(std::string(kIndexHead) + "2147483647\n", Slurp(Cbx("compibis.ibx")));
}

TEST_F(LibraryTest, AnIndexThatCannotBeWrittenIsReportedByFini) {
    TestHost host;
    Open(&host);
    host.GetIbisCompInfo("U1", nullptr, 0);
    // A folder not empty stands where the index goes.
    ASSERT_TRUE(PLAT_MakeDir(Cbx("compibis.ibx").c_str()));
    Write(Cbx("compibis.ibx/inside"), "x");
    EXPECT_EQ(0, host.Fini(1));
    EXPECT_EQ(std::vector<std::string>{}, PLAT_ListFiles(Cbx().c_str(), ".tmp"));
}

TEST_F(LibraryTest, ARecompileUnderAnotherCaseRecordsTheFileItWrote) {
    {
        TestHost host;
        Open(&host);
        host.GetIbisCompInfo("U1", nullptr, 0);
        host.Fini(1);
    }
    SetTime(Cbx("ib000000.cbs"), time(nullptr) - 200);
    SetTime(Path("lib.ibs"), time(nullptr) - 100);
    TestHost host;
    Open(&host);
    // "u1" is found through the case-blind indexes, compiled again into the
    // file it was found in, and entered under its own name.
    CIbisCompInfo* pLower = host.GetIbisCompInfo("u1", nullptr, 0);
    EXPECT_EQ(eIbisStatusOk, pLower->GetStatus());
    EXPECT_EQ(std::vector<std::string>{"u1"}, host.asked);
    const char* psz = nullptr;
    pLower->GetModelParam(eIbisPrmCompiledName, &psz, 0, 1);
    EXPECT_STREQ("ib000000.cbs", psz);
    // Names that differ in case only are different records.
    CIbisCompInfo* pUpper = host.GetIbisCompInfo("U1", nullptr, 0);
    EXPECT_NE(pLower, pUpper);
    EXPECT_EQ(eIbisStatusOk, pUpper->GetStatus());
    EXPECT_EQ(1, host.Fini(1));
    EXPECT_EQ(std::string(kIndexHead) + "1\nu1\nib000000.cbs\n\n0\nU1\nib000000.cbs\n\n0\n",
              Slurp(Cbx("compibis.ibx")));
}

// ------------------------------------------------------------ unreadable compiled models

TEST_F(LibraryTest, AGarbledCompiledModelIsCompiledAgainFromItsSource) {
    {
        TestHost host;
        Open(&host);
        host.GetIbisCompInfo("U1", nullptr, 0);
        host.Fini(1);
    }
    Write(Cbx("ib000000.cbs"), "File_Rev 3 0\nNum_Pins \"x\"\n\x01\x02 junk\n");
    {
        // Without its source the record stays unusable.
        TestHost host;
        ASSERT_EQ(1, host.Init(Cbx().c_str()));
        eRdIbisResult eResult = eRdIbisFailed;
        CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", &eResult, 0);
        EXPECT_EQ(eRdIbisNothing, eResult);
        EXPECT_EQ(eIbisStatusCompiledUnusable, pInfo->GetStatus());
        EXPECT_FALSE(pInfo->IsStatusOk());
        EXPECT_EQ(std::vector<std::string>{"2,3,1,Num_Pins,x"}, host.errors);
        std::ostringstream out;
        EXPECT_EQ(0, host.ListCompiledModel(out, "U1", "C1", "L", 1, eTyp, 0));
        EXPECT_EQ("", out.str());
    }
    TestHost host;
    Open(&host);
    eRdIbisResult eResult = eRdIbisNothing;
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", &eResult, 0);
    EXPECT_EQ(eRdIbisClean, eResult);
    EXPECT_EQ(eIbisStatusOk, pInfo->GetStatus());
    EXPECT_EQ(5, pInfo->GetPinCount());

    // A compiled model of an older revision is unusable as well.
    Write(Cbx("ib000000.cbs"), "File_Rev 2 9\nNum_Pins 1\n");
    TestHost old;
    ASSERT_EQ(1, old.Init(Cbx().c_str()));
    pInfo = old.GetIbisCompInfo("U1", &eResult, 0);
    EXPECT_EQ(eIbisStatusCompiledUnusable, pInfo->GetStatus());
    EXPECT_EQ(1u, old.errors.size());
}

TEST_F(LibraryTest, ACompiledNameOutsideTheFolderIsNotUsed) {
    PLAT_MakeDir(Cbx().c_str());
    Write(Path("outside.cbs"), "File_Rev 3 0\nNum_Pins 0\n");
    Write(Cbx("compibis.ibx"), std::string(kIndexHead) + "0\nU1\n../outside.cbs\n\n0\n");
    TestHost host;
    ASSERT_EQ(1, host.Init(Cbx().c_str()));
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", nullptr, 0);
    EXPECT_EQ(eIbisStatusNotFound, pInfo->GetStatus());
}

}  // namespace
