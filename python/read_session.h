// One read of one file as the module makes it: the findings collected as
// records from the reader's sink, the exact log text, the counts and, for a
// file the reader refuses, why.  The document lives only during the read:
// whoever wants it is handed it under the reader's lock.  Shared by check
// and read.
#ifndef TAVELIN_PYTHON_READ_SESSION_H
#define TAVELIN_PYTHON_READ_SESSION_H

#include <pybind11/pybind11.h>

#include <functional>
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
};

struct ReadOptions {
    unsigned eNameMode = 1;
    int nIndent = 0;
};

// Called with the document of a read that made one, under the reader's
// lock and without the interpreter lock; the document is destroyed after.
using DocumentUse = std::function<void(IBIS* pIbis)>;

// Reads the file under the reader's lock, each read as if it were the
// first of the process.  Must be called with the interpreter lock held.
// Only one document is alive at a time: documents are destroyed in the
// order they were made, as the reader's stack of documents wants.
void ReadFile(const std::string& strPath, const ReadOptions& options, ReadOutcome* pOutcome,
              const DocumentUse& useDocument = nullptr);

// Raises OSError or ValueError with the reader's reason when the read
// refused the file.
void RaiseIfRefused(const ReadOutcome& outcome);

// The check result object (tavelin.CheckResult) of a finished read.
pybind11::object MakeCheckResult(const ReadOutcome& outcome);

}  // namespace tavelin_py

#endif
