#include "support/corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::string CorpusDir() {
    const std::string strDir = TAVELIN_CORPUS;
    std::error_code error;
    if (!fs::is_directory(strDir, error)) {
        ADD_FAILURE() << "missing folder " << strDir
                      << ": the real IBIS files come from the shared folder beside the checkout";
        return "";
    }
    return strDir;
}

std::vector<std::string> CorpusFiles(const std::string& strDir) {
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(strDir)) {
        std::string strExt = entry.path().extension().string();
        std::transform(strExt.begin(), strExt.end(), strExt.begin(), ::tolower);
        if (entry.is_regular_file() && (strExt == ".ibs" || strExt == ".pkg" || strExt == ".ebd"))
            files.push_back(entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadText(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
