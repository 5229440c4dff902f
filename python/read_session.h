// One read of one file as the module makes it: the findings collected as
// records from the reader's sink, the exact log text, the counts, the
// document (kept only when asked for) and, for a file the reader refuses,
// why.  Shared by check, read and the document conversion.
#ifndef TAVELIN_PYTHON_READ_SESSION_H
#define TAVELIN_PYTHON_READ_SESSION_H

#include <pybind11/pybind11.h>

#include <string>
#include <vector>

struct IBIS;

namespace tavelin_py {

struct FindingRecord {
    int eLevel;
    std::string strFile;
    bool bHasLine;
    unsigned long ulLine;
    std::string strText;
};

struct ReadOutcome {
    std::string strPath;
    bool bRead = false;
    std::string strRefused;       // why the reader refused the file
    int nOsError = 0;             // the system's error number when the refusal is its reason
    std::string strVersion;       // [IBIS Ver] of the file, empty when unknown
    std::vector<FindingRecord> findings;
    std::string strLog;
    int nErrors = 0, nWarnings = 0, nBugs = 0;
    IBIS* pIbis = nullptr;        // owned; null unless the document was kept
};

struct ReadOptions {
    unsigned eNameMode = 1;
    int nIndent = 0;
    bool bKeepDocument = false;
};

// Reads the file under the reader's lock, each read as if it were the
// first of the process.  Must be called with the interpreter lock held.
void ReadFile(const std::string& strPath, const ReadOptions& options, ReadOutcome* pOutcome);

// Raises OSError or ValueError with the reader's reason when the read
// refused the file.
void RaiseIfRefused(const ReadOutcome& outcome);

// The check result object (tavelin.CheckResult) of a finished read.
pybind11::object MakeCheckResult(const ReadOutcome& outcome);

// Destroys the kept document under the reader's lock.
void ReleaseDocument(ReadOutcome* pOutcome);

}  // namespace tavelin_py

#endif
