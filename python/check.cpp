// One read of one file for the module: the reader's findings collected as
// records through a sink (never parsed back from the log), the log written
// to a temporary stream and kept as text, the refusal reason, the check
// result object.  State: none beyond the outcome it fills.  Called by
// tavelin.check and tavelin.read.
#include "read_session.h"

#include <cstdio>
#include <stdexcept>

#include "api/rdibis.h"
#include "core/diag.h"
#include "core/document.h"
#include "core/lines.h"
#include "platform/platform.h"
#include "reader/hdr.h"
#include "reader/read.h"
#include "py_values.h"
#include "reader_lock.h"

namespace py = pybind11;

namespace tavelin_py {
namespace {

void CollectFinding(const DIAG_FINDING& finding, void* pContext) {
    auto* pFindings = static_cast<std::vector<FindingRecord>*>(pContext);
    pFindings->push_back({finding.eLevel, finding.pszFile, finding.bHasLine, finding.ulLine,
                          finding.pszText});
}

// The whole content of the log stream.
std::string StreamText(FILE* pStream) {
    std::string strText;
    rewind(pStream);
    char acBuffer[8192];
    size_t n = 0;
    while ((n = fread(acBuffer, 1, sizeof acBuffer, pStream)) > 0) strText.append(acBuffer, n);
    return strText;
}

std::string VersionOf(IBIS* pIbis) {
    const char* pszVersion = nullptr;
    if (pIbis == nullptr || pIbis->pHdr == nullptr || !HDR_GetIbisVersion(pIbis->pHdr, &pszVersion))
        return std::string();
    return pszVersion;
}

// The collecting sink for the length of one read, removed however the
// read ends.
class SinkScope {
public:
    explicit SinkScope(std::vector<FindingRecord>* pFindings) : m_pFindings(pFindings) {
        DIAG_AddSink(CollectFinding, m_pFindings);
    }
    ~SinkScope() { DIAG_RemoveSink(CollectFinding, m_pFindings); }
    SinkScope(const SinkScope&) = delete;
    SinkScope& operator=(const SinkScope&) = delete;

private:
    std::vector<FindingRecord>* m_pFindings;
};

// Destroys the document of a read however its use ends.
class DocumentScope {
public:
    explicit DocumentScope(IBIS* pIbis) : m_pIbis(pIbis) {}
    ~DocumentScope() {
        if (m_pIbis != nullptr) IBIS_Destroy(m_pIbis);
    }
    DocumentScope(const DocumentScope&) = delete;
    DocumentScope& operator=(const DocumentScope&) = delete;

private:
    IBIS* m_pIbis;
};

// The read itself; runs under the reader's lock without the interpreter.
void ReadLocked(const std::string& strPath, const ReadOptions& options, FILE* pLog,
                const DocumentUse& useDocument, ReadOutcome* pOutcome) {
    PARSE_ResetLibraryState();
    DIAG_SetIndent(options.nIndent);
    DIAG_SetNameMode(options.eNameMode);
    IBIS* pIbis = nullptr;
    {
        SinkScope sink(&pOutcome->findings);
        pOutcome->bRead = RDIBIS_Read(strPath.c_str(), pLog, &pIbis) != 0;
    }
    DIAG_GetCounts(&pOutcome->nErrors, &pOutcome->nWarnings, &pOutcome->nBugs);
    pOutcome->strVersion = VersionOf(pIbis);
    if (!pOutcome->bRead) {
        pOutcome->strRefused = RDIBIS_WhyRefused(strPath.c_str());
        const int nCode = PLAT_UnreadableCode(strPath.c_str());
        if (nCode != 0 && pOutcome->strRefused == PLAT_WhyUnreadable(strPath.c_str())) pOutcome->nOsError = nCode;
    }
    DocumentScope document(pIbis);
    if (pIbis != nullptr && useDocument) useDocument(pIbis);
}

const char* LevelName(int eLevel) {
    switch (eLevel) {
        case DIAG_LEVEL_ERROR: return "error";
        case DIAG_LEVEL_WARNING: return "warning";
        default: return "bug";
    }
}

}  // namespace

void ReadFile(const std::string& strPath, const ReadOptions& options, ReadOutcome* pOutcome,
              const DocumentUse& useDocument) {
    pOutcome->strPath = strPath;
    FILE* pLog = PLAT_TempFile();
    if (pLog == nullptr) throw std::runtime_error("tavelin: no temporary file for the log");
    try {
        WithReader([&] { ReadLocked(strPath, options, pLog, useDocument, pOutcome); });
    } catch (...) {
        fclose(pLog);
        throw;
    }
    pOutcome->strLog = StreamText(pLog);
    fclose(pLog);
}

void RaiseIfRefused(const ReadOutcome& outcome) {
    if (outcome.bRead) return;
    // The same words as the tool's for a refusal none of the reasons covers.
    const std::string strWhy = outcome.strRefused.empty() ? "the reader could not read it" : outcome.strRefused;
    if (outcome.nOsError != 0) {
        // OSError(errno, reason, path) is made FileNotFoundError,
        // IsADirectoryError, PermissionError... by Python itself.
        py::tuple args = py::make_tuple(outcome.nOsError, Text(strWhy), Text(outcome.strPath));
        PyErr_SetObject(PyExc_OSError, args.ptr());
    } else {
        PyErr_SetString(PyExc_ValueError, (outcome.strPath + ": " + strWhy).c_str());
    }
    throw py::error_already_set();
}

py::object MakeCheckResult(const ReadOutcome& outcome) {
    py::module_ records = py::module_::import("tavelin._records");
    py::object makeFinding = records.attr("Finding");
    py::list findings;
    for (const FindingRecord& finding : outcome.findings) {
        py::object line = finding.bHasLine ? py::object(py::int_(finding.ulLine)) : py::object(py::none());
        findings.append(makeFinding(LevelName(finding.eLevel), Text(finding.strFile), line,
                                    Text(finding.strText)));
    }
    using namespace pybind11::literals;
    return records.attr("CheckResult")(
        "path"_a = outcome.strPath, "version"_a = TextOrNone(outcome.strVersion.c_str()),
        "findings"_a = findings, "errors"_a = outcome.nErrors, "warnings"_a = outcome.nWarnings,
        "bugs"_a = outcome.nBugs, "log"_a = Text(outcome.strLog));
}

}  // namespace tavelin_py
