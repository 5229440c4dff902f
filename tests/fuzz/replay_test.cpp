// Replays the seed corpus and every saved crash input of each fuzz target
// through the fuzzers' own entry points, in the normal sanitized test
// build: a crash once found and fixed stays fixed.
#include "targets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

// Regular files of the directory, with the extension when one is given; sorted.
std::vector<std::string> FilesIn(const std::string& strDir, const std::string& strExtension = "") {
    std::vector<std::string> files;
    std::error_code ec;
    if (!fs::is_directory(strDir, ec)) return files;
    for (const fs::directory_entry& entry : fs::directory_iterator(strDir, ec)) {
        if (!entry.is_regular_file()) continue;
        if (strExtension.empty() || entry.path().extension() == "." + strExtension)
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> Seeds(const std::string& strTarget) {
    std::vector<std::string> files;
    for (const char* pszDir : {TAVELIN_TEST_DATA, TAVELIN_EXAMPLES, TAVELIN_CORPUS}) {
        std::vector<std::string> more = FilesIn(pszDir, strTarget);
        files.insert(files.end(), more.begin(), more.end());
    }
    for (const std::string& strDir :
         {std::string(TAVELIN_TEST_DATA) + "/" + strTarget, std::string(TAVELIN_FUZZ_DIR) + "/seeds/" + strTarget}) {
        std::vector<std::string> more = FilesIn(strDir);
        files.insert(files.end(), more.begin(), more.end());
    }
    return files;
}

std::vector<std::string> Crashes(const std::string& strTarget) {
    return FilesIn(std::string(TAVELIN_FUZZ_DIR) + "/crashes/" + strTarget);
}

// Runs every file through the entry point; the number of files run.
template <typename ENTRY>
size_t Replay(const std::vector<std::string>& files, ENTRY entry) {
    const int nMuted = PLAT_MuteStdout();
    for (const std::string& strPath : files) {
        SCOPED_TRACE(strPath);
        std::ifstream in(strPath, std::ios::binary);
        const std::string strBytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        entry(reinterpret_cast<const uint8_t*>(strBytes.data()), strBytes.size());
    }
    PLAT_RestoreStdout(nMuted);
    return files.size();
}

void ReplayIbis(const char* pszExtension) {
    auto entry = [&](const uint8_t* pData, size_t uiSize) { FUZZ_ReadIbis(pData, uiSize, pszExtension); };
    EXPECT_GT(Replay(Seeds(pszExtension), entry), 0u);
    Replay(Crashes(pszExtension), entry);
}

TEST(FuzzReplay, IbisFilesOfEveryKindRunThroughTheReader) {
    ReplayIbis("ibs");
    ReplayIbis("pkg");
    ReplayIbis("ebd");
}

TEST(FuzzReplay, CompiledModelsRunThroughTheReadBack) {
    EXPECT_GT(Replay(Seeds("cbs"), FUZZ_ReadCompiled), 0u);
    Replay(Crashes("cbs"), FUZZ_ReadCompiled);
}

TEST(FuzzReplay, IndexFilesRunThroughTheLoader) {
    EXPECT_GT(Replay(Seeds("idx"), FUZZ_LoadIndex), 0u);
    Replay(Crashes("idx"), FUZZ_LoadIndex);
}

// The entry points survive the smallest inputs: nothing, a lone byte, a
// line without its end.
TEST(FuzzReplay, EmptyAndTinyInputs) {
    const uint8_t aBytes[] = {'[', '\n', 0};
    for (size_t uiSize : {size_t{0}, size_t{1}, size_t{3}}) {
        FUZZ_ReadIbis(aBytes, uiSize, "ibs");
        FUZZ_ReadCompiled(aBytes, uiSize);
        FUZZ_LoadIndex(aBytes, uiSize);
    }
}

}  // namespace
