// Every file, directory and time service of the library, and the end of
// the process on an assertion.  Stateless; called by the reader (opening
// files, file times), the package search (directory listings) and the
// model library (index and compiled files).
#include "platform/platform.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

#include "platform/plat_assert.h"

#define PLAT_ASSERT(cond)                                                     \
    do {                                                                      \
        if (!(cond)) PLAT_AssertFailed("platform", __LINE__);                 \
    } while (0)

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool EndsWithNoCase(const std::string& strText, const std::string& strEnd) {
    if (strEnd.size() > strText.size()) return false;
    size_t uiStart = strText.size() - strEnd.size();
    for (size_t i = 0; i < strEnd.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(strText[uiStart + i]);
        unsigned char b = static_cast<unsigned char>(strEnd[i]);
        if (std::tolower(a) != std::tolower(b)) return false;
    }
    return true;
}

// Appends the names of the directory's regular files that end in the
// extension; returns false on any error of the directory walk.
bool CollectFiles(const char* pszDir, const std::string& strExt, std::vector<std::string>* pNames) {
    std::error_code ec;
    fs::directory_iterator it(pszDir, ec);
    if (ec) return false;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        // Entries that vanish or cannot be queried while listing are skipped.
        std::error_code ecEntry;
        if (!it->is_regular_file(ecEntry)) continue;
        std::string strName = it->path().filename().string();
        if (EndsWithNoCase(strName, strExt)) pNames->push_back(strName);
    }
    return !ec;
}

}  // namespace

// A file is anything at the path except a directory.
int PLAT_FileExists(const char* pszPath) {
    PLAT_ASSERT(pszPath != nullptr);
    struct stat st;
    return stat(pszPath, &st) == 0 && !S_ISDIR(st.st_mode);
}

int PLAT_UnreadableCode(const char* pszPath) {
    PLAT_ASSERT(pszPath != nullptr);
    // A directory opens for reading on this system; only reading it fails.
    if (PLAT_DirExists(pszPath)) return EISDIR;
    FILE* pFile = fopen(pszPath, "rb");
    if (pFile == nullptr) return errno != 0 ? errno : EIO;
    fclose(pFile);
    return 0;
}

std::string PLAT_WhyUnreadable(const char* pszPath) {
    const int nCode = PLAT_UnreadableCode(pszPath);
    return nCode != 0 ? std::error_code(nCode, std::generic_category()).message() : std::string();
}

int PLAT_FileReadable(const char* pszPath) {
    PLAT_ASSERT(pszPath != nullptr);
    return access(pszPath, R_OK) == 0;
}

int PLAT_FileTime(const char* pszPath, time_t* ptTime) {
    PLAT_ASSERT(pszPath != nullptr && ptTime != nullptr);
    struct stat st;
    if (stat(pszPath, &st) != 0) {
        *ptTime = 0;
        return 0;
    }
    *ptTime = st.st_mtime;
    return 1;
}

int PLAT_DirExists(const char* pszPath) {
    PLAT_ASSERT(pszPath != nullptr);
    struct stat st;
    return stat(pszPath, &st) == 0 && S_ISDIR(st.st_mode);
}

int PLAT_MakeDir(const char* pszPath) {
    PLAT_ASSERT(pszPath != nullptr);
    std::error_code ec;
    fs::create_directory(pszPath, ec);
    return PLAT_DirExists(pszPath);
}

int PLAT_Rename(const char* pszFrom, const char* pszTo) {
    PLAT_ASSERT(pszFrom != nullptr && pszTo != nullptr);
    return std::rename(pszFrom, pszTo) == 0;
}

int PLAT_Remove(const char* pszPath) {
    PLAT_ASSERT(pszPath != nullptr);
    return std::remove(pszPath) == 0;
}

std::vector<std::string> PLAT_ListFiles(const char* pszDir, const char* pszExtension) {
    PLAT_ASSERT(pszDir != nullptr && pszExtension != nullptr);
    std::vector<std::string> names;
    try {
        if (!CollectFiles(pszDir, pszExtension, &names)) return {};
        std::sort(names.begin(), names.end());
    } catch (...) {
        // Out of memory while listing: the listing is as good as failed.
        return {};
    }
    return names;
}

std::vector<std::string> PLAT_ListFilesBelow(const char* pszDir, const char* pszExtension) {
    PLAT_ASSERT(pszDir != nullptr && pszExtension != nullptr);
    std::vector<std::string> names;
    try {
        std::error_code ec;
        fs::recursive_directory_iterator it(pszDir, ec);
        if (ec) return {};
        for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
            std::error_code ecEntry;
            if (!it->is_regular_file(ecEntry)) continue;
            if (EndsWithNoCase(it->path().filename().string(), pszExtension))
                names.push_back(it->path().lexically_relative(pszDir).generic_string());
        }
        if (ec) return {};
        std::sort(names.begin(), names.end());
    } catch (...) {
        return {};
    }
    return names;
}

namespace {

bool HasExtension(const std::string& strName, const std::vector<std::string>& extensions) {
    for (const std::string& strExt : extensions)
        if (EndsWithNoCase(strName, strExt.c_str())) return true;
    return false;
}

// The identity of a folder whatever the path it is reached by; false when
// it cannot be queried.
bool FolderIdentity(const fs::path& dir, std::pair<dev_t, ino_t>* pId) {
    struct stat st;
    if (stat(dir.c_str(), &st) != 0) return false;
    *pId = {st.st_dev, st.st_ino};
    return true;
}

// Adds the matching files of one folder and pushes its subfolders.
bool WalkOneFolder(const fs::path& dir, const std::vector<std::string>& extensions,
                   std::vector<std::string>* pFiles, std::vector<fs::path>* pPending) {
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) return false;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code ecEntry;
        const fs::file_status status = it->status(ecEntry);
        if (fs::is_directory(status)) {
            pPending->push_back(it->path());
        } else if (HasExtension(it->path().filename().string(), extensions) &&
                   (fs::is_regular_file(status) || !fs::exists(status))) {
            pFiles->push_back(it->path().generic_string());
        }
    }
    return !ec;
}

}  // namespace

int PLAT_WalkFiles(const char* pszDir, const std::vector<std::string>& extensions,
                   std::vector<std::string>* pFiles, std::vector<std::string>* pUnlisted) {
    PLAT_ASSERT(pszDir != nullptr && pFiles != nullptr && pUnlisted != nullptr);
    std::set<std::pair<dev_t, ino_t>> visited;
    std::vector<fs::path> pending{fs::path(pszDir)};
    const size_t uiFirstFile = pFiles->size();
    bool bTopListed = true;
    try {
        while (!pending.empty()) {
            const fs::path dir = pending.back();
            pending.pop_back();
            std::pair<dev_t, ino_t> id;
            const bool bKnown = FolderIdentity(dir, &id);
            if (bKnown && !visited.insert(id).second) continue;
            if (WalkOneFolder(dir, extensions, pFiles, &pending)) continue;
            if (dir == fs::path(pszDir)) bTopListed = false;
            else pUnlisted->push_back(dir.generic_string());
        }
        std::sort(pFiles->begin() + uiFirstFile, pFiles->end());
    } catch (...) {
        return 0;
    }
    return bTopListed;
}

std::string PLAT_RelativePath(const std::string& strPath, const std::string& strBase) {
    std::error_code ec;
    const fs::path path = fs::absolute(strPath, ec).lexically_normal();
    const fs::path base = fs::absolute(strBase, ec).lexically_normal();
    return path.lexically_relative(base).generic_string();
}

std::string PLAT_JoinPath(const std::string& strDir, const std::string& strName) {
    if (strDir.empty()) return strName;
    if (IsSeparator(strDir.back())) return strDir + strName;
    return strDir + '/' + strName;
}

void PLAT_SplitPath(const std::string& strPath, std::string* pstrDir, std::string* pstrName) {
    PLAT_ASSERT(pstrDir != nullptr && pstrName != nullptr);
    size_t uiSep = strPath.find_last_of("/\\");
    size_t uiNameStart = uiSep == std::string::npos ? 0 : uiSep + 1;
    // Both parts are taken before either is stored: the path may be one of them.
    std::string strDir = strPath.substr(0, uiNameStart);
    std::string strName = strPath.substr(uiNameStart);
    *pstrDir = std::move(strDir);
    *pstrName = std::move(strName);
}

time_t PLAT_Now() { return std::time(nullptr); }

int PLAT_MuteStdout() {
    std::fflush(stdout);
    const int nSaved = dup(STDOUT_FILENO);
    if (nSaved < 0) return -1;
    const int nNull = open("/dev/null", O_WRONLY);
    if (nNull < 0 || dup2(nNull, STDOUT_FILENO) < 0) {
        if (nNull >= 0) close(nNull);
        close(nSaved);
        return -1;
    }
    close(nNull);
    return nSaved;
}

void PLAT_RestoreStdout(int nHandle) {
    if (nHandle < 0) return;
    std::fflush(stdout);
    dup2(nHandle, STDOUT_FILENO);
    close(nHandle);
}

FILE* PLAT_OpenFile(const char* pszPath, const char* pszMode) {
    PLAT_ASSERT(pszPath != nullptr && pszMode != nullptr);
    return std::fopen(pszPath, pszMode);
}

FILE* PLAT_TempFile() { return std::tmpfile(); }

FILE* PLAT_OpenNullStream() { return std::fopen("/dev/null", "w"); }

void PLAT_AssertFailed(const char* pszModule, int nLine) {
    std::fprintf(stderr, "%s:%d:assertion failed.\n", pszModule, nLine);
    std::fflush(stderr);
    std::abort();
}

void* PLAT_AllocLarge() {
    void* pBlock = std::aligned_alloc(PLAT_LARGE_UNIT, PLAT_LARGE_UNIT);
#if defined(MADV_HUGEPAGE)
    // Only advice: where large pages are not to be had, small ones serve.
    if (pBlock != nullptr) madvise(pBlock, PLAT_LARGE_UNIT, MADV_HUGEPAGE);
#endif
    return pBlock;
}

void PLAT_FreeLarge(void* pBlock) { std::free(pBlock); }

void PLAT_IgnoreBrokenPipe() { signal(SIGPIPE, SIG_IGN); }

void PLAT_MessageBox(const char* pszTitle, const char* pszText) {
    PLAT_ASSERT(pszTitle != nullptr && pszText != nullptr);
    std::fprintf(stderr, "%s: %s\n", pszTitle, pszText);
}

// "<path>.<pid>.<n>.tmp", opened exclusively: an existing file of that name
// is never written over.
FILE* PLAT_CreateTempBeside(const char* pszPath, std::string* pstrTempPath) {
    PLAT_ASSERT(pszPath != nullptr && pstrTempPath != nullptr);
    const std::string strBase = std::string(pszPath) + "." + std::to_string(getpid()) + ".";
    for (int n = 0; n < 100; ++n) {
        std::string strTemp = strBase + std::to_string(n) + ".tmp";
        FILE* pFile = std::fopen(strTemp.c_str(), "wx");
        if (pFile != nullptr) {
            *pstrTempPath = strTemp;
            return pFile;
        }
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}
