// Every real IBIS file of the corpus, read through the reader entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/snippet.h"

namespace fs = std::filesystem;

namespace {

const std::string kCorpus = TAVELIN_CORPUS;

// File name to the IBIS version the manifest gives for it.
std::map<std::string, std::string> ManifestVersions() {
    std::map<std::string, std::string> versions;
    std::ifstream manifest(kCorpus + "/MANIFEST.tsv");
    std::string strLine;
    std::getline(manifest, strLine);  // column titles
    while (std::getline(manifest, strLine)) {
        std::istringstream fields(strLine);
        std::string strFile, strBytes, strVersion;
        std::getline(fields, strFile, '\t');
        std::getline(fields, strBytes, '\t');
        std::getline(fields, strVersion, '\t');
        if (!strFile.empty()) versions[strFile] = strVersion;
    }
    return versions;
}

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus)) {
        const std::string strName = entry.path().filename().string();
        if (entry.is_regular_file() && strName != "MANIFEST.tsv" && strName[0] != '.') files.push_back(strName);
    }
    std::sort(files.begin(), files.end());
    return files;
}

class Corpus : public ::testing::Test {
protected:
    // The tab warning is given once per loaded library; it is spent here so
    // that both reads of a file see the same state.
    static void SetUpTestSuite() { ReadSnippet("tab.pkg", Header32("tab.pkg") + "|\t\n[End]\n"); }
};

TEST_F(Corpus, EveryFileReadsTheSameTwiceWithoutProgramBugs) {
    const std::map<std::string, std::string> versions = ManifestVersions();
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_FALSE(files.empty());
    for (const std::string& strName : files) {
        SCOPED_TRACE(strName);
        const auto itVersion = versions.find(strName);
        ASSERT_NE(versions.end(), itVersion) << "not in the manifest";
        const ReadResult first = ReadPath(kCorpus + "/" + strName);
        const ReadResult second = ReadPath(kCorpus + "/" + strName);
        EXPECT_EQ(first.strLog, second.strLog);
        EXPECT_EQ(0, first.nBugs);
        EXPECT_EQ(std::string::npos, first.strLog.find("PROGRAM BUG"));
        const char cMajor = itVersion->second.empty() ? '?' : itVersion->second[0];
        if (cMajor == '4' || cMajor == '5') {
            EXPECT_EQ("ERROR  - Unrecognized IBIS Version\n", first.strLog);
            EXPECT_EQ(0, first.nResult);
        } else {
            EXPECT_EQ(1, first.nResult);
        }
    }
}

}  // namespace
