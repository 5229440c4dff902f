// Lookup through the model library manager: type names, the cache of
// names, locating without compiling, technology and default fall-backs,
// search paths, source index search and walk, listings.
#include <tavelin/tavelin.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "api/compmdls_support.h"
#include "platform/platform.h"

namespace {

// ------------------------------------------------------------ names

TEST(CompMdlsNames, TechnologyComponentsAndTypeNames) {
    EXPECT_EQ(1, CIbisCompMdls::IsTechComp("tech_cmos"));
    EXPECT_EQ(1, CIbisCompMdls::IsTechComp("TECH_Cmos"));
    EXPECT_EQ(1, CIbisCompMdls::IsTechComp("Default"));
    EXPECT_EQ(0, CIbisCompMdls::IsTechComp("tech"));
    EXPECT_EQ(0, CIbisCompMdls::IsTechComp("mytech_x"));
    EXPECT_EQ(0, CIbisCompMdls::IsTechComp("defaults"));
    EXPECT_EQ(0, CIbisCompMdls::IsTechComp(nullptr));

    EXPECT_EQ(14, CIbisCompMdls::FindTypeFromName("i/o_ECL"));
    EXPECT_EQ(5, CIbisCompMdls::FindTypeFromName("3-STATE"));
    EXPECT_EQ(1, CIbisCompMdls::FindTypeFromName("No Type"));
    EXPECT_EQ(1, CIbisCompMdls::FindTypeFromName("Series"));
    EXPECT_EQ(1, CIbisCompMdls::FindTypeFromName(nullptr));
    const char* psz = "none";
    EXPECT_EQ(1, CIbisCompMdls::FindTypeName(15, &psz));
    EXPECT_STREQ("Terminator", psz);
    EXPECT_EQ(1, CIbisCompMdls::FindTypeName(2, &psz));
    EXPECT_STREQ("Input", psz);
    psz = "none";
    for (int nType : {0, 1, 16, -3}) EXPECT_EQ(0, CIbisCompMdls::FindTypeName(nType, &psz)) << nType;
    EXPECT_STREQ("none", psz);
}

// ------------------------------------------------------------ by name

TEST_F(LibraryTest, UnknownNamesAreCachedAndFoundNowhere) {
    TestHost host;
    Open(&host);
    eRdIbisResult eResult = eRdIbisFailed;
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("NOPE", &eResult, 0);
    ASSERT_NE(nullptr, pInfo);
    EXPECT_EQ(eIbisStatusNotFound, pInfo->GetStatus());
    EXPECT_EQ(eRdIbisNothing, eResult);
    EXPECT_STREQ("IBIS source not found", CIbisCompInfo::GetIbisStatusText(pInfo->GetStatus()));
    EXPECT_EQ(pInfo, host.GetIbisCompInfo("NOPE", &eResult, 0));
    EXPECT_EQ(eIbisStatusNotFound, pInfo->GetStatus());
    EXPECT_EQ(nullptr, host.GetIbisCompInfo(nullptr, &eResult, 0));
    EXPECT_FALSE(PLAT_FileExists(host.GetCompileLogPath()));

    // The host's marks are cleared for every cached record at once.
    CIbisCompInfo* pOther = host.GetIbisCompInfo("OTHER", nullptr, 1);
    pInfo->SetVisited(1);
    pOther->SetVisited(2);
    host.ClearVisitedFlags();
    EXPECT_EQ(0, pInfo->IsVisited());
    EXPECT_EQ(0, pOther->IsVisited());
}

TEST_F(LibraryTest, LocatingNeverCompiles) {
    TestHost host;
    Open(&host);
    // A preferred name is the only one tried.
    EXPECT_EQ(nullptr, host.GetIbisCompInfo("U1", "NOPE", "cmos", 1));
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("NOPE", "U1", "cmos", 1);
    ASSERT_NE(nullptr, pInfo);
    EXPECT_STREQ("U1", pInfo->Name());
    EXPECT_EQ(eIbisStatusNew, pInfo->GetStatus());
    EXPECT_EQ(pInfo, host.GetIbisCompInfo("U1", nullptr, "cmos", 1));
    // The technology component, then the default one.
    pInfo = host.GetIbisCompInfo("NOPE", "", "cmos", 1);
    ASSERT_NE(nullptr, pInfo);
    EXPECT_STREQ("tech_cmos", pInfo->Name());
    pInfo = host.GetIbisCompInfo("NOPE", nullptr, "bipolar", 1);
    ASSERT_NE(nullptr, pInfo);
    EXPECT_STREQ("default", pInfo->Name());
    EXPECT_EQ(nullptr, host.GetIbisCompInfo("NOPE", nullptr, "bipolar", 0));
    EXPECT_EQ(nullptr, host.GetIbisCompInfo(nullptr, nullptr, nullptr, 0));
    EXPECT_FALSE(PLAT_FileExists(Cbx("ib000000.cbs").c_str()));
}

TEST_F(LibraryTest, UsableRecordsFallBackToTechnologyAndDefault) {
    TestHost host;
    Open(&host);
    // The part's pin in another letter case.
    CIbisCompInfo* pInfo = host.GetIbisCompInfoAsTarn("U1", nullptr, "cmos", "c1", 4, 1);
    ASSERT_NE(nullptr, pInfo);
    EXPECT_STREQ("U1", pInfo->Name());
    EXPECT_EQ(eIbisStatusOk, pInfo->GetStatus());
    // The part lacks the pin: the technology component with an Input pin.
    pInfo = host.GetIbisCompInfoAsTarn("U1", nullptr, "cmos", "Z9", 2, 1);
    ASSERT_NE(nullptr, pInfo);
    EXPECT_STREQ("tech_cmos", pInfo->Name());
    // Neither has a Terminator pin: the default has none either.
    EXPECT_EQ(nullptr, host.GetIbisCompInfoAsTarn("NOPE", "", "cmos", "1", 15, 1));
    // No technology: the default component with an Input pin.
    pInfo = host.GetIbisCompInfoAsTarn("NOPE", nullptr, "bipolar", "1", 2, 1);
    ASSERT_NE(nullptr, pInfo);
    EXPECT_STREQ("default", pInfo->Name());
    EXPECT_EQ(nullptr, host.GetIbisCompInfoAsTarn("NOPE", nullptr, "bipolar", "1", 2, 0));
    // The preferred name wins over the part.
    pInfo = host.GetIbisCompInfoAsTarn("NOPE", "tech_cmos", nullptr, "2", 0, 0);
    ASSERT_NE(nullptr, pInfo);
    EXPECT_STREQ("tech_cmos", pInfo->Name());
}

TEST_F(LibraryTest, AFailedTechnologyComponentIsHandedBackForTheHostToShow) {
    Write(Path("bad.ibs"), "[IBIS Ver] 3.2\n[File Name] bad.ibs\n[File Rev] 1.0\n"
                           "[Component] tech_bad\n[End]\n");
    Write(Path("lib.idx"), std::string(kIndexHead) + "0\ntech_bad\nbad.ibs\n\n0\ndefault\nlib.ibs\n\n0\n");
    TestHost host;
    Open(&host);
    CIbisCompInfo* pInfo = host.GetIbisCompInfoAsTarn("NOPE", nullptr, "bad", "1", 2, 1);
    ASSERT_NE(nullptr, pInfo);
    EXPECT_STREQ("tech_bad", pInfo->Name());
    EXPECT_EQ(eIbisStatusSyntaxErrors, pInfo->GetStatus());
    // A technology found nowhere counts as not found: the default follows.
    pInfo = host.GetIbisCompInfoAsTarn("NOPE", nullptr, "none", "1", 2, 1);
    ASSERT_NE(nullptr, pInfo);
    EXPECT_STREQ("default", pInfo->Name());
}

TEST_F(LibraryTest, NewSearchPathsLocateRecordsAnew) {
    TestHost host;
    Open(&host);
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", nullptr, 0);
    ASSERT_EQ(eIbisStatusOk, pInfo->GetStatus());
    host.EmptySrcLists();
    host.SetSearchPaths(1);
    EXPECT_STREQ("", pInfo->SourceFile());
    // No source any more: the compiled model is kept.
    eRdIbisResult eResult = eRdIbisFailed;
    EXPECT_EQ(pInfo, host.GetIbisCompInfo("U1", &eResult, 0));
    EXPECT_EQ(eRdIbisNothing, eResult);
    EXPECT_EQ(eIbisStatusOk, pInfo->GetStatus());
    EXPECT_STREQ("", pInfo->SourceFile());
    EXPECT_EQ(0, host.FindSrcForIbisModel("U1", nullptr, nullptr, nullptr, nullptr));
    // Registered again, the source is found again.
    host.AddSrcIndex(Path("lib.idx").c_str(), "again");
    host.SetSearchPaths(1);
    host.GetIbisCompInfo("U1", &eResult, 0);
    EXPECT_EQ(Path("lib.ibs"), pInfo->SourceFile());
    EXPECT_EQ(eRdIbisNothing, eResult);
}

// ------------------------------------------------------------ source indexes

TEST_F(LibraryTest, SourceIndexesAreSearchedAndWalkedInRegistrationOrder) {
    PLAT_MakeDir(Path("sub").c_str());
    Write(Path("sub/second.idx"),
          std::string(kIndexHead) + "0\nU1\nother\\lib.ibs\nsecond\n0\nX9\n..\\lib.ibs\n\n0\n");
    Write(Path("broken.idx"), "head\n-5\n");
    TestHost host;
    ASSERT_EQ(1, host.Init(Cbx().c_str()));
    host.AddSrcIndex(Path("broken.idx").c_str(), "broken");
    host.AddSrcIndex(Path("sub/second.idx").c_str(), nullptr);
    host.AddSrcIndex(Path("lib.idx").c_str(), "lib");
    host.AddSrcIndex(Path("missing.idx").c_str(), "missing");
    host.SetSearchPaths(1);

    const char *pszDir = nullptr, *pszFile = nullptr, *pszText = nullptr, *pszTag = nullptr;
    ASSERT_EQ(1, host.FindSrcForIbisModel("u1", &pszDir, &pszFile, &pszText, &pszTag));
    EXPECT_EQ(Path("sub/"), pszDir);
    EXPECT_STREQ("other\\lib.ibs", pszFile);
    EXPECT_STREQ("second", pszText);
    EXPECT_STREQ("", pszTag);
    ASSERT_EQ(1, host.FindSrcForIbisModel("default", &pszDir, &pszFile, &pszText, &pszTag));
    EXPECT_EQ(Path(""), pszDir);
    EXPECT_STREQ("lib", pszTag);

    std::string strWalk;
    const char* pszName = nullptr;
    for (int bMore = host.GetFirstIBISComp(&pszName, &pszText, &pszTag, &pszDir, &pszFile); bMore;
         bMore = host.GetNextIBISComp(&pszName, &pszText, &pszTag, &pszDir, &pszFile))
        strWalk += std::string(pszName) + "|" + pszText + "|" + pszTag + "|" + pszFile + "\n";
    // Each index in its file order: bucket by bucket.
    const std::string strExpected = "U1|second||other\\lib.ibs\n"
                                    "X9|||..\\lib.ibs\n"
                                    "default||lib|lib.ibs\n"
                                    "tech_cmos||lib|lib.ibs\n"
                                    "U1|Acme|lib|lib.ibs\n";
    EXPECT_EQ(strExpected, strWalk);
    EXPECT_EQ(0, host.GetNextIBISComp(nullptr, nullptr, nullptr, nullptr, nullptr));
    // A new walk starts from the first index; every out may be null.
    ASSERT_EQ(1, host.GetFirstIBISComp(&pszName, nullptr, nullptr, nullptr, nullptr));
    EXPECT_STREQ("U1", pszName);

    // A disk name with backslashes names a file below the index's folder
    // (here one that does not exist); one that climbs out with .. is taken
    // as written.
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", nullptr, 0);
    EXPECT_EQ(Path("sub/other/lib.ibs"), pInfo->SourceFile());
    EXPECT_EQ(eIbisStatusSyntaxErrors, pInfo->GetStatus());
    pInfo = host.GetIbisCompInfo("X9", nullptr, 0);
    EXPECT_EQ(Path("sub/../lib.ibs"), pInfo->SourceFile());
    // lib.ibs reads cleanly but holds no X9: the compile succeeds, nothing
    // is written and the compiled model is found missing.
    EXPECT_EQ(eIbisStatusCompiledUnusable, pInfo->GetStatus());
    EXPECT_EQ(1, host.Fini(1));
}

// ------------------------------------------------------------ listings

TEST_F(LibraryTest, ListingsOfCompiledModels) {
    TestHost host;
    Open(&host);
    std::ostringstream out;
    // Only populated records are listed.
    EXPECT_EQ(0, host.ListCompiledModel(out, "U1", "C1", "U1.C1", 3, eTyp, 0));
    CIbisCompInfo* pInfo = host.GetIbisCompInfo("U1", nullptr, 0);
    ASSERT_EQ(eIbisStatusOk, pInfo->GetStatus());

    // The I/O model is the last block of the file: its typical section
    // runs to the end.
    ASSERT_EQ(1, host.ListCompiledModel(out, "U1", "C1", "U1.C1", 3, eTyp, 0));
    EXPECT_EQ("I/O 3 \"U1.C1\"\n"
              "vinl 0.8 \nvinh 2 \nc_comp 2e-12 \n"
              "pullup -1 0.1 0 0 1 -0.1 \n"
              "pulldown -1 -0.1 0 0 1 0.1 \n"
              "dv_r 1 \ndt_r 1e-09 \ndv_f 1 \ndt_f 1e-09 "
              "model \"U1\" \"IO\" 0\n"
              "R_Pin 0.1\nL_Pin 2e-09\nC_Pin 1e-12\n",
              out.str());
    // The minimum section stands first; model mode takes the package values.
    out.str("");
    ASSERT_EQ(1, host.ListCompiledModel(out, "U1", "IO", "lbl", -1, eMin, 1));
    EXPECT_EQ("I/O -1 \"lbl\"\n"
              "vinl 0.8 \nvinh 2 \nc_comp 1e-12 \n"
              "pullup -1 0.05 0 0 1 -0.05 \n"
              "pulldown -1 -0.05 0 0 1 0.05 \n"
              "dv_r 0.8 \ndt_r 1.2e-09 \ndv_f 0.8 \ndt_f 1.2e-09 "
              "model \"U1\" \"IO\" 1\n"
              "R_Pin 0.05\nL_Pin 2e-09\nC_Pin 1e-12\n",
              out.str());
    // A model without a maximum section gives its typical one; a pin with
    // its own R_Pin lists it.
    out.str("");
    ASSERT_EQ(1, pInfo->ListSimModel(out, 4, nullptr, 0, eMax, 0));
    EXPECT_EQ("Input 0 \"\"\n"
              "vinl 0.8 \nvinh 2 \nc_comp 2e-12 \n"
              "gnd_clamp -1 -0.1 0 0 "
              "model \"U1\" \"IN\" 2\n"
              "R_Pin 0.2\nL_Pin 2e-09\nC_Pin 1e-12\n",
              out.str());
    out.str("");
    ASSERT_EQ(1, pInfo->ListOutlineModel(out, 3, "U1.C1", 7, eMax));
    EXPECT_EQ("i/o 7 \"U1.C1\"\nmodel \"U1\" \"IO\" 2\n", out.str());

    // Refused: no such pin or model, a bad corner, a pin whose model block
    // is not in the file, a pin index outside the pins.
    out.str("");
    EXPECT_EQ(0, host.ListCompiledModel(out, "U1", "c1", "l", 1, eTyp, 0));
    EXPECT_EQ(0, host.ListCompiledModel(out, "U1", "C1", "l", 1, static_cast<eTypMinMax>(3), 0));
    EXPECT_EQ(0, host.ListCompiledModel(out, "U9", "C1", "l", 1, eTyp, 0));
    EXPECT_EQ(0, pInfo->ListSimModel(out, 0, "l", 1, eTyp, 0)) << "POWER has no model block";
    EXPECT_EQ(0, pInfo->ListSimModel(out, 5, "l", 1, eTyp, 0));
    EXPECT_EQ(0, pInfo->ListOutlineModel(out, -1, "l", 1, eTyp));
    EXPECT_EQ("", out.str());
}

}  // namespace
