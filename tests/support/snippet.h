#ifndef TAVELIN_TESTS_SNIPPET_H
#define TAVELIN_TESTS_SNIPPET_H

#include <functional>
#include <string>

struct IBIS;

// What one read through the reader entry left behind.
struct ReadResult {
    int nResult = 0;
    int nErrors = 0;
    int nWarnings = 0;
    int nBugs = 0;
    std::string strLog;
};

// Writes `strText` to a file named `strFileName` in a scratch directory of
// this test process and returns its path.
std::string WriteScratchFile(const std::string& strFileName, const std::string& strText);

// Reads `strText`, stored as `strFileName`, through RDIBIS_Read with the log
// in memory (indent 0, empty file name in messages).  When `inspect` is
// given it sees the document before the document is destroyed.
ReadResult ReadSnippet(const std::string& strFileName, const std::string& strText,
                       const std::function<void(IBIS*)>& inspect = nullptr);

// Reads an existing file the same way; name mode 0 shows the file name in
// every finding.
ReadResult ReadPath(const std::string& strPath, const std::function<void(IBIS*)>& inspect = nullptr,
                    unsigned eNameMode = 1);

// A minimal valid IBIS 3.2 header for a file named `strFileName`.
std::string Header32(const std::string& strFileName);

#endif
