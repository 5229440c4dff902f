// What the benchmark programs share: reading a file through the reader entry
// on every iteration, and generated files in a scratch directory.
#ifndef TAVELIN_BENCH_SUPPORT_H
#define TAVELIN_BENCH_SUPPORT_H

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "api/rdibis.h"

// Reads the file on every iteration; the findings go to pLog (none when it
// is null) and the document is destroyed by the read.
inline void ReadEachIteration(benchmark::State& state, const std::string& strPath, FILE* pLog = nullptr) {
    for (auto _ : state) benchmark::DoNotOptimize(RDIBIS_Read(strPath.c_str(), pLog, nullptr));
}

// A generated file in a scratch directory of its own, removed with the
// value.  Empty path when the directory could not be made.
class ScratchFile {
public:
    ScratchFile(const std::string& strName, const std::string& strText) {
        char szDir[] = "/tmp/tavelin-bench-XXXXXX";
        if (mkdtemp(szDir) == nullptr) return;
        m_strDir = szDir;
        m_strPath = m_strDir + "/" + strName;
        std::ofstream(m_strPath) << strText;
    }
    ~ScratchFile() {
        if (m_strDir.empty()) return;
        unlink(m_strPath.c_str());
        rmdir(m_strDir.c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strDir;
    std::string m_strPath;
};

// Reads a generated file on every iteration with its findings written, as
// a real read writes them, but not kept.
inline void ReadGeneratedEachIteration(benchmark::State& state, const std::string& strName,
                                       const std::string& strText) {
    const ScratchFile file(strName, strText);
    if (file.Path().empty()) {
        state.SkipWithError("mkdtemp failed");
        return;
    }
    FILE* pLog = fopen("/dev/null", "w");
    ReadEachIteration(state, file.Path(), pLog);
    fclose(pLog);
}

#endif
