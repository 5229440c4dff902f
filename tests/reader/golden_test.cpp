// The full log of every real IBIS file of the corpus, with file names shown,
// against its golden copy in tests/golden/NAME.log.  A changed finding on a
// real file must be a decision: `make golden` rewrites the copies and shows
// the difference for review.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>

#include "core/diag.h"
#include "core/lines.h"
#include "support/corpus.h"
#include "support/snippet.h"

namespace {

const std::string kGoldenDir = TAVELIN_GOLDEN;

// Reads the file by its bare name from inside the corpus folder, so the
// shown name (and the wrapping that depends on its length) does not depend
// on where the checkout lives.  Each file is read as by a freshly loaded
// library.
std::string GoldenLog(const std::string& strDir, const std::string& strName) {
    char szCwd[4096];
    if (getcwd(szCwd, sizeof szCwd) == nullptr || chdir(strDir.c_str()) != 0) {
        ADD_FAILURE() << "cannot enter " << strDir;
        return "";
    }
    PARSE_ResetLibraryState();
    const std::string strLog = ReadPath(strName, nullptr, 0).strLog;
    PARSE_ResetLibraryState();
    if (chdir(szCwd) != 0) ADD_FAILURE() << "cannot return to " << szCwd;
    return strLog;
}

// File name to the IBIS version the manifest gives for it.
std::map<std::string, std::string> ManifestVersions(const std::string& strDir) {
    std::map<std::string, std::string> versions;
    std::ifstream manifest(strDir + "/MANIFEST.tsv");
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

bool UpdateRequested() {
    const char* pszUpdate = getenv("TAVELIN_GOLDEN_UPDATE");
    return pszUpdate != nullptr && pszUpdate[0] == '1';
}

TEST(Golden, EveryCorpusFileReadsSteadilyAsItsGoldenCopy) {
    const std::string strDir = CorpusDir();
    if (strDir.empty()) return;
    const std::vector<std::string> files = CorpusFiles(strDir);
    ASSERT_FALSE(files.empty());
    const std::map<std::string, std::string> versions = ManifestVersions(strDir);
    for (const std::string& strName : files) {
        SCOPED_TRACE(strName);
        const std::string strLog = GoldenLog(strDir, strName);
        EXPECT_EQ(strLog, GoldenLog(strDir, strName)) << "two reads differ";
        EXPECT_EQ(std::string::npos, strLog.find("PROGRAM BUG"));
        // Later versions are refused with the one line and nothing else.
        const auto itVersion = versions.find(strName);
        ASSERT_NE(versions.end(), itVersion) << "not in the manifest";
        const char cMajor = itVersion->second.empty() ? '?' : itVersion->second[0];
        if (cMajor == '4' || cMajor == '5') {
            EXPECT_EQ("ERROR " + strName + " - Unrecognized IBIS Version\n", strLog);
        }
        const std::string strGolden = kGoldenDir + "/" + strName + ".log";
        if (UpdateRequested()) {
            std::ofstream(strGolden, std::ios::binary | std::ios::trunc) << strLog;
            continue;
        }
        std::ifstream in(strGolden, std::ios::binary);
        ASSERT_TRUE(in.good()) << "no golden log " << strGolden << " (make golden writes it)";
        EXPECT_EQ(ReadText(strGolden), strLog);
    }
}

}  // namespace
