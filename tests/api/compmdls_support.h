// Shared by the model library tests: a recording host and a folder with a
// small IBIS library and its source index.
#ifndef TAVELIN_TESTS_API_COMPMDLS_SUPPORT_H
#define TAVELIN_TESTS_API_COMPMDLS_SUPPORT_H

#include <tavelin/tavelin.h>

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

// A host as the library expects one: it records what the manager shows it
// and answers the recompile question as the test asks.
class TestHost : public CIbisCompMdls {
public:
    int nRecompileAnswer = 1;
    std::vector<std::string> asked;
    std::vector<int> shown;
    std::vector<std::string> errors;
    int nRefreshed = 0;

    int GetReCompileState(const char* component) override {
        asked.push_back(component);
        return nRecompileAnswer;
    }
    void DisplayCompileStatus(eRdIbisResult result) override { shown.push_back(result); }
    void RefreshLogDisplay() override { ++nRefreshed; }
    void Error(int line, int kind, int code, const char* keyword, const char* token) override {
        errors.push_back(std::to_string(line) + "," + std::to_string(kind) + "," +
                         std::to_string(code) + "," + keyword + "," + token);
    }
    using CIbisCompMdls::AddSrcIndex;
    using CIbisCompMdls::EmptySrcLists;
};

// A folder of its own for each test, removed afterwards, holding the IBIS
// source lib.ibs (components U1, tech_cmos and default) and its source
// index lib.idx.  The compiled-model folder is cbx below it.
class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Path(const std::string& strName) const { return m_strDir + "/" + strName; }
    std::string Cbx(const std::string& strName = "") const {
        return strName.empty() ? Path("cbx") : Path("cbx/" + strName);
    }
    // Initialises the host on the compiled-model folder with lib.idx.
    void Open(TestHost* pHost) const;
    static std::string Slurp(const std::string& strPath);
    static void Write(const std::string& strPath, const std::string& strText);
    static void SetTime(const std::string& strPath, time_t t);
    static time_t TimeOf(const std::string& strPath);

    std::string m_strDir;
};

// The head line of index files.
extern const char* const kIndexHead;
// The source of the test library and its source index.
extern const char* const kLibIbs;

#endif
