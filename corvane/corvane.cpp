// The central model library stand-in: a text file (.lmc or .prj) lists one
// directory per line; files named in board descriptions are looked up there,
// an exact name first, then without regard to case.  State: the directories
// of the library opened last, kept until termCentralLibrary.
#include "corvane.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct CentralLibrary {
    std::vector<std::string> directories;  // in the order of the library file
};

CentralLibrary g_library;

const char* const kWhiteSpace = " \t\r\n\f\v";

bool SameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// The directory a line names, or empty for a blank or comment line.
std::string DirectoryOfLine(const std::string& strLine) {
    size_t uiFirst = strLine.find_first_not_of(kWhiteSpace);
    if (uiFirst == std::string::npos || strLine[uiFirst] == '#') return std::string();
    size_t uiLast = strLine.find_last_not_of(kWhiteSpace);
    std::string strDir = strLine.substr(uiFirst, uiLast - uiFirst + 1);
    std::replace(strDir.begin(), strDir.end(), '\\', '/');
    return strDir;
}

std::vector<std::string> ReadLibraryFile(const char* pszPath) {
    std::vector<std::string> directories;
    std::ifstream file(pszPath);
    // Relative directories are meant from where the library file lies.
    fs::path base = fs::path(pszPath).parent_path();
    std::string strLine;
    while (std::getline(file, strLine)) {
        std::string strDir = DirectoryOfLine(strLine);
        if (strDir.empty()) continue;
        fs::path dir(strDir);
        if (dir.is_relative()) dir = base / dir;
        directories.push_back(dir.string());
    }
    return directories;
}

bool HoldsExactly(const fs::path& dir, const std::string& strName) {
    std::error_code ec;
    return fs::is_regular_file(dir / strName, ec);
}

bool HoldsNoCase(const fs::path& dir, const std::string& strName) {
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) return false;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code ecEntry;
        if (it->is_regular_file(ecEntry) && SameNoCase(it->path().filename().string(), strName))
            return true;
    }
    return false;
}

// The first listed directory that holds the name exactly, else the first
// that holds it in another letter case.  Exact matches go first because the
// caller opens the name as it was asked for.
const std::string* FindDirectory(const std::string& strName) {
    for (const std::string& strDir : g_library.directories) {
        if (HoldsExactly(strDir, strName)) return &strDir;
    }
    for (const std::string& strDir : g_library.directories) {
        if (HoldsNoCase(strDir, strName)) return &strDir;
    }
    return nullptr;
}

// Copies the directory with a trailing '/' when it fits the caller's buffer.
int StoreDirectory(const std::string& strDir, char* pszOut) {
    std::string strOut = strDir;
    if (strOut.empty() || strOut.back() != '/') strOut += '/';
    if (strOut.size() >= CORVANE_DIR_SIZE) return 0;
    std::memcpy(pszOut, strOut.c_str(), strOut.size() + 1);
    return 1;
}

}  // namespace

extern "C" {

// Modes other than 0 (.lmc) and 1 (.prj) are not known: the library stays empty.
void initCentralLibrary(int mode, const char* path) {
    g_library.directories.clear();
    if (path == nullptr || (mode != 0 && mode != 1)) return;
    try {
        g_library.directories = ReadLibraryFile(path);
    } catch (...) {
        g_library.directories.clear();
    }
}

void termCentralLibrary(void) { g_library.directories.clear(); }

int findCentralLibraryFile(const char* name, char* dir) {
    if (name == nullptr || dir == nullptr) return 0;
    dir[0] = '\0';
    size_t uiNameLength = std::strlen(name);
    if (uiNameLength == 0 || uiNameLength >= CORVANE_DIR_SIZE) return 0;
    // The library maps file names to directories; a path is not a file name
    // (an absolute one would be "found" in every directory).
    if (std::strpbrk(name, "/\\") != nullptr) return 0;
    try {
        const std::string* pDir = FindDirectory(name);
        // A first directory too long for the buffer is not passed over for a
        // later one: that could name a different file.
        return pDir != nullptr ? StoreDirectory(*pDir, dir) : 0;
    } catch (...) {
        return 0;
    }
}

}  // extern "C"
