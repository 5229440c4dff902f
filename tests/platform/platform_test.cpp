#include "platform/platform.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class PlatformFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char szTemplate[] = "/tmp/tavelin-plat-XXXXXX";
        ASSERT_NE(mkdtemp(szTemplate), nullptr);
        strScratch = szTemplate;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(strScratch, ec);
    }
    std::string Touch(const std::string& strName) {
        std::string strPath = strScratch + "/" + strName;
        std::ofstream(strPath) << "x\n";
        return strPath;
    }
    std::string Path(const std::string& strName) const { return strScratch + "/" + strName; }

    std::string strScratch;
};

std::vector<std::string> Split(const std::string& strPath) {
    std::string strDir = "old";
    std::string strName = "old";
    PLAT_SplitPath(strPath, &strDir, &strName);
    return {strDir, strName};
}

}  // namespace

TEST(PlatformPath, JoinAddsOneSeparator) {
    EXPECT_EQ(PLAT_JoinPath("models", "a.ibs"), "models/a.ibs");
    EXPECT_EQ(PLAT_JoinPath("models/", "a.ibs"), "models/a.ibs");
    EXPECT_EQ(PLAT_JoinPath("c:\\models\\", "a.ibs"), "c:\\models\\a.ibs");
    EXPECT_EQ(PLAT_JoinPath("/", "a.ibs"), "/a.ibs");
    EXPECT_EQ(PLAT_JoinPath("", "a.ibs"), "a.ibs");
}

TEST(PlatformPath, SplitAtTheLastSeparatorOfEitherKind) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Split("lib/models/a.ibs"), (V{"lib/models/", "a.ibs"}));
    EXPECT_EQ(Split("c:\\lib\\a.ibs"), (V{"c:\\lib\\", "a.ibs"}));
    EXPECT_EQ(Split("lib\\x/a.ibs"), (V{"lib\\x/", "a.ibs"}));
    EXPECT_EQ(Split("lib/x\\a.ibs"), (V{"lib/x\\", "a.ibs"}));
    EXPECT_EQ(Split("a.ibs"), (V{"", "a.ibs"}));
    EXPECT_EQ(Split("lib/"), (V{"lib/", ""}));
    EXPECT_EQ(Split("/a.ibs"), (V{"/", "a.ibs"}));
    EXPECT_EQ(Split(""), (V{"", ""}));
}

TEST(PlatformPath, SplitIntoItsOwnArgument) {
    std::string strPath = "lib/models/a.ibs";
    std::string strName;
    PLAT_SplitPath(strPath, &strPath, &strName);
    EXPECT_EQ(strPath, "lib/models/");
    EXPECT_EQ(strName, "a.ibs");
}

TEST_F(PlatformFiles, ListFilesMatchesTheExtensionInAnyCase) {
    Touch("c.Pkg");
    Touch("a.PKG");
    Touch("b.pkg");
    Touch("d.ibs");
    Touch("pkg");
    Touch("e.pkg.bak");
    ASSERT_TRUE(fs::create_directory(Path("sub.pkg")));
    using V = std::vector<std::string>;
    EXPECT_EQ(PLAT_ListFiles(strScratch.c_str(), ".pkg"), (V{"a.PKG", "b.pkg", "c.Pkg"}));
    EXPECT_EQ(PLAT_ListFiles(strScratch.c_str(), ".EBD"), V{});
}

TEST_F(PlatformFiles, ListFilesOfWhatIsNoDirectoryIsEmpty) {
    std::string strFile = Touch("a.pkg");
    EXPECT_TRUE(PLAT_ListFiles(Path("missing").c_str(), ".pkg").empty());
    EXPECT_TRUE(PLAT_ListFiles(strFile.c_str(), ".pkg").empty());
    EXPECT_TRUE(PLAT_ListFiles("", ".pkg").empty());
}

TEST_F(PlatformFiles, ExistenceTellsFilesFromDirectories) {
    std::string strFile = Touch("a.ibs");
    EXPECT_EQ(PLAT_FileExists(strFile.c_str()), 1);
    EXPECT_EQ(PLAT_FileReadable(strFile.c_str()), 1);
    EXPECT_EQ(PLAT_DirExists(strFile.c_str()), 0);
    EXPECT_EQ(PLAT_FileExists(strScratch.c_str()), 0);
    EXPECT_EQ(PLAT_DirExists(strScratch.c_str()), 1);
    EXPECT_EQ(PLAT_FileExists(Path("none").c_str()), 0);
    EXPECT_EQ(PLAT_FileReadable(Path("none").c_str()), 0);
    EXPECT_EQ(PLAT_DirExists(Path("none").c_str()), 0);
}

TEST_F(PlatformFiles, WhyAFileIsUnreadableAsTextAndAsTheSystemsNumber) {
    const std::string strFile = Touch("a.ibs");
    EXPECT_EQ(0, PLAT_UnreadableCode(strFile.c_str()));
    EXPECT_EQ("", PLAT_WhyUnreadable(strFile.c_str()));
    EXPECT_EQ(ENOENT, PLAT_UnreadableCode(Path("none.ibs").c_str()));
    EXPECT_EQ("No such file or directory", PLAT_WhyUnreadable(Path("none.ibs").c_str()));
    EXPECT_EQ(EISDIR, PLAT_UnreadableCode(strScratch.c_str()));
    EXPECT_EQ("Is a directory", PLAT_WhyUnreadable(strScratch.c_str()));
}

TEST_F(PlatformFiles, MakeDirSucceedsWhenTheDirectoryIsThereAfterwards) {
    std::string strDir = Path("cbx");
    EXPECT_EQ(PLAT_MakeDir(strDir.c_str()), 1);
    EXPECT_EQ(PLAT_DirExists(strDir.c_str()), 1);
    EXPECT_EQ(PLAT_MakeDir(strDir.c_str()), 1);
    EXPECT_EQ(PLAT_MakeDir(Path("no/such/parent").c_str()), 0);
    EXPECT_EQ(PLAT_MakeDir(Touch("plain").c_str()), 0);
}

TEST_F(PlatformFiles, RenameAndRemove) {
    std::string strFrom = Touch("trel_rdr.txt");
    std::string strTo = Path("trel_rdr.bak");
    EXPECT_EQ(PLAT_Rename(strFrom.c_str(), strTo.c_str()), 1);
    EXPECT_EQ(PLAT_FileExists(strFrom.c_str()), 0);
    EXPECT_EQ(PLAT_FileExists(strTo.c_str()), 1);
    EXPECT_EQ(PLAT_Rename(strFrom.c_str(), strTo.c_str()), 0);
    EXPECT_EQ(PLAT_Remove(strTo.c_str()), 1);
    EXPECT_EQ(PLAT_FileExists(strTo.c_str()), 0);
    EXPECT_EQ(PLAT_Remove(strTo.c_str()), 0);
}

TEST_F(PlatformFiles, FileTimeIsTheModificationTime) {
    std::string strFile = Touch("a.ibs");
    struct utimbuf times = {1000000000, 1234567890};
    ASSERT_EQ(utime(strFile.c_str(), &times), 0);
    time_t tTime = 0;
    EXPECT_EQ(PLAT_FileTime(strFile.c_str(), &tTime), 1);
    EXPECT_EQ(tTime, 1234567890);
    EXPECT_EQ(PLAT_FileTime(Path("none").c_str(), &tTime), 0);
    EXPECT_EQ(tTime, 0);
}

TEST(PlatformTime, NowIsTheCurrentTime) {
    time_t tBefore = time(nullptr);
    time_t tNow = PLAT_Now();
    EXPECT_LE(tBefore, tNow);
    EXPECT_LE(tNow, time(nullptr));
}

TEST(PlatformMessage, MessageBoxWritesToStandardError) {
    testing::internal::CaptureStderr();
    PLAT_MessageBox("IBIS Reader", "Cannot Open IBIS Reader Log File\nx/trel_rdr.txt");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "IBIS Reader: Cannot Open IBIS Reader Log File\nx/trel_rdr.txt\n");
}

TEST_F(PlatformFiles, ListFilesBelowWalksSubfoldersRelativeToTheFolder) {
    ASSERT_TRUE(fs::create_directories(Path("b/deep")));
    Touch("z.IBS");
    Touch("b/deep/a.ibs");
    Touch("b/x.txt");
    using V = std::vector<std::string>;
    EXPECT_EQ(PLAT_ListFilesBelow(strScratch.c_str(), ".ibs"), (V{"b/deep/a.ibs", "z.IBS"}));
    EXPECT_EQ(PLAT_ListFilesBelow(Path("missing").c_str(), ".ibs"), V{});
}

TEST(PlatformPath, RelativeClimbsOutWithTwoDots) {
    EXPECT_EQ("b/c.ibs", PLAT_RelativePath("/a/b/c.ibs", "/a"));
    EXPECT_EQ("../d/c.ibs", PLAT_RelativePath("/a/d/c.ibs", "/a/b/"));
    EXPECT_EQ("x.ibs", PLAT_RelativePath("models/./x.ibs", "models"));
}

TEST(PlatformOutput, MutedStandardOutputComesBack) {
    testing::internal::CaptureStdout();
    printf("before ");
    const int nHandle = PLAT_MuteStdout();
    ASSERT_GE(nHandle, 0);
    printf("hidden ");
    PLAT_RestoreStdout(nHandle);
    printf("after");
    fflush(stdout);
    EXPECT_EQ("before after", testing::internal::GetCapturedStdout());
}

TEST(PlatformOutput, ATempFileGivesBackWhatWasWrittenAndTheNullStreamTakesAnything) {
    FILE* pTemp = PLAT_TempFile();
    ASSERT_NE(nullptr, pTemp);
    fputs("ERROR  - first\nWARNING  - second\n", pTemp);
    rewind(pTemp);
    char acBuffer[64] = "";
    const size_t nRead = fread(acBuffer, 1, sizeof acBuffer - 1, pTemp);
    EXPECT_EQ("ERROR  - first\nWARNING  - second\n", std::string(acBuffer, nRead));
    fclose(pTemp);

    FILE* pNull = PLAT_OpenNullStream();
    ASSERT_NE(nullptr, pNull);
    EXPECT_GE(fputs("gone\n", pNull), 0);
    EXPECT_EQ(0, fclose(pNull));
}
