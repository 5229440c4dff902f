// The check command: gathers the files named and those found below the
// folders named, reads each as it would be read alone, and writes the
// findings as the compile log holds them (text), as compiler lines (gcc)
// or as one JSON document, then a line per file and a closing total on
// standard error.  State: none beyond one run of the command.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "api/rdibis.h"
#include "core/diag.h"
#include "core/document.h"
#include "core/lines.h"
#include "platform/platform.h"
#include "reader/hdr.h"
#include "reader/read.h"
#include "tool.h"

namespace {

struct Finding {
    eDiagLevel eLevel;
    std::string strFile;
    bool bHasLine;
    unsigned long ulLine;
    std::string strText;
};

struct FileResult {
    std::string strPath;
    std::string strVersion;  // empty when the file was not read
    std::string strRefusal;  // empty when it was
    int nErrors = 0;
    int nWarnings = 0;
    int nBugs = 0;
    std::vector<Finding> findings;
};

struct Totals {
    int nFiles = 0;
    int nErrors = 0;
    int nWarnings = 0;
    int nBugs = 0;
    int nUnreadable = 0;
};

const char* const IBIS_EXTENSIONS[] = {".ibs", ".pkg", ".ebd"};

void CollectFinding(const DIAG_FINDING& finding, void* pContext) {
    auto* pFindings = static_cast<std::vector<Finding>*>(pContext);
    pFindings->push_back(
        {finding.eLevel, finding.pszFile, finding.bHasLine, finding.ulLine, finding.pszText});
}

// The files to check in the order given, each folder replaced by the files
// below it; a folder or subfolder that cannot be listed becomes a result
// that says so.
std::vector<std::string> GatherFiles(const CheckOptions& options, std::vector<FileResult>* pUnlisted) {
    const std::vector<std::string> extensions(std::begin(IBIS_EXTENSIONS), std::end(IBIS_EXTENSIONS));
    std::vector<std::string> files;
    for (const std::string& strPath : options.paths) {
        if (!PLAT_DirExists(strPath.c_str())) {
            files.push_back(strPath);
            continue;
        }
        std::vector<std::string> unlisted;
        if (!PLAT_WalkFiles(strPath.c_str(), extensions, &files, &unlisted)) unlisted.push_back(strPath);
        for (const std::string& strDir : unlisted) {
            FileResult result;
            result.strPath = strDir;
            result.strRefusal = "the folder cannot be listed";
            pUnlisted->push_back(result);
        }
    }
    return files;
}

std::string IbisVersionOf(IBIS* pIbis) {
    HDR* pHdr = nullptr;
    const char* pszVersion = nullptr;
    if (pIbis == nullptr || !IBIS_GetHdr(pIbis, &pHdr) || pHdr == nullptr) return std::string();
    if (!HDR_GetIbisVersion(pHdr, &pszVersion) || pszVersion == nullptr) return std::string();
    return pszVersion;
}

// Reads one file as if it were the first of the run: the log goes to
// standard output in the text format, every finding to the result.
FileResult ReadOne(const std::string& strPath, const CheckOptions& options) {
    FileResult result;
    result.strPath = strPath;
    const bool bLogOut = options.format == eFormat::Text && !options.bQuiet;
    PARSE_ResetLibraryState();
    DIAG_AddSink(CollectFinding, &result.findings);
    // Only the log may reach standard output: the reader's banner is muted
    // with it.
    const int nStdout = bLogOut ? -1 : PLAT_MuteStdout();
    IBIS* pIbis = nullptr;
    const int nRead = RDIBIS_Read(strPath.c_str(), bLogOut ? stdout : nullptr, &pIbis);
    if (!bLogOut) PLAT_RestoreStdout(nStdout);
    DIAG_RemoveSink(CollectFinding, &result.findings);
    DIAG_GetCounts(&result.nErrors, &result.nWarnings, &result.nBugs);
    if (nRead) {
        result.strVersion = IbisVersionOf(pIbis);
    } else {
        result.strRefusal = RDIBIS_WhyRefused(strPath.c_str());
        if (result.strRefusal.empty()) result.strRefusal = "the reader could not read it";
    }
    if (pIbis != nullptr) IBIS_Destroy(pIbis);
    return result;
}

const char* GccLevel(eDiagLevel eLevel) {
    switch (eLevel) {
        case DIAG_LEVEL_ERROR: return "error";
        case DIAG_LEVEL_WARNING: return "warning";
        case DIAG_LEVEL_BUG: return "fatal error";
    }
    return "";
}

const char* JsonLevel(eDiagLevel eLevel) {
    switch (eLevel) {
        case DIAG_LEVEL_ERROR: return "error";
        case DIAG_LEVEL_WARNING: return "warning";
        case DIAG_LEVEL_BUG: return "bug";
    }
    return "";
}

// The message on one line: a line break of a message and the blanks that
// indent its continuation become one blank.
std::string OneLine(const std::string& strText) {
    std::string strLine;
    for (size_t i = 0; i < strText.size(); ++i) {
        if (strText[i] != '\n') {
            strLine += strText[i];
            continue;
        }
        while (i + 1 < strText.size() && strText[i + 1] == ' ') ++i;
        strLine += ' ';
    }
    return strLine;
}

void WriteGcc(const FileResult& result) {
    for (const Finding& finding : result.findings) {
        if (finding.bHasLine)
            printf("%s:%lu: %s: %s\n", finding.strFile.c_str(), finding.ulLine, GccLevel(finding.eLevel),
                   OneLine(finding.strText).c_str());
        else
            printf("%s: %s: %s\n", finding.strFile.c_str(), GccLevel(finding.eLevel),
                   OneLine(finding.strText).c_str());
    }
}

nlohmann::ordered_json TextOrNull(const std::string& strText) {
    return strText.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(strText);
}

nlohmann::ordered_json FileJson(const FileResult& result) {
    nlohmann::ordered_json file;
    file["path"] = result.strPath;
    file["ibis_version"] = TextOrNull(result.strVersion);
    file["refused"] = TextOrNull(result.strRefusal);
    file["errors"] = result.nErrors;
    file["warnings"] = result.nWarnings;
    file["bugs"] = result.nBugs;
    file["findings"] = nlohmann::ordered_json::array();
    for (const Finding& finding : result.findings) {
        nlohmann::ordered_json record;
        record["level"] = JsonLevel(finding.eLevel);
        record["file"] = finding.strFile;
        record["line"] = finding.bHasLine ? nlohmann::ordered_json(finding.ulLine) : nlohmann::ordered_json();
        record["text"] = finding.strText;
        file["findings"].push_back(std::move(record));
    }
    return file;
}

// One document for the whole run; bytes of the IBIS file that are not
// UTF-8 become U+FFFD so that the document stays valid.
void WriteJson(const std::vector<FileResult>& results, const Totals& totals) {
    nlohmann::ordered_json doc;
    doc["tool"] = "tavelin";
    doc["version"] = TAVELIN_VERSION;
    doc["files"] = nlohmann::ordered_json::array();
    for (const FileResult& result : results) doc["files"].push_back(FileJson(result));
    doc["totals"] = {{"files", totals.nFiles},       {"errors", totals.nErrors},
                     {"warnings", totals.nWarnings}, {"bugs", totals.nBugs},
                     {"unreadable", totals.nUnreadable}};
    const std::string strDoc = doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    fwrite(strDoc.data(), 1, strDoc.size(), stdout);
    fputc('\n', stdout);
}

void AddToTotals(const FileResult& result, Totals* pTotals) {
    ++pTotals->nFiles;
    pTotals->nErrors += result.nErrors;
    pTotals->nWarnings += result.nWarnings;
    pTotals->nBugs += result.nBugs;
    if (!result.strRefusal.empty()) ++pTotals->nUnreadable;
}

int StatusOf(const Totals& totals) {
    if (totals.nUnreadable > 0) return EXIT_UNREADABLE;
    return totals.nErrors > 0 ? EXIT_FINDINGS : EXIT_CLEAN;
}

}  // namespace

void ReportFile(const std::string& strPath, const std::string& strRefusal, int nErrors, int nWarnings,
                int nBugs) {
    if (!strRefusal.empty()) fprintf(stderr, "tavelin: %s: %s\n", strPath.c_str(), strRefusal.c_str());
    fprintf(stderr, "%s: %d errors, %d warnings, %d program bugs\n", strPath.c_str(), nErrors, nWarnings,
            nBugs);
}

int RunCheck(const CheckOptions& options) {
    DIAG_SetIndent(options.nIndent);
    DIAG_SetNameMode(options.bShowName ? 0 : 1);
    std::vector<FileResult> results;
    const std::vector<std::string> files = GatherFiles(options, &results);
    Totals totals;
    for (const FileResult& unlisted : results) {
        AddToTotals(unlisted, &totals);
        if (!options.bQuiet) ReportFile(unlisted.strPath, unlisted.strRefusal, unlisted.nErrors, unlisted.nWarnings, unlisted.nBugs);
    }
    for (const std::string& strFile : files) {
        FileResult result = ReadOne(strFile, options);
        AddToTotals(result, &totals);
        if (options.format == eFormat::Gcc && !options.bQuiet) WriteGcc(result);
        if (!StdoutWritten()) return EXIT_UNREADABLE;
        if (!options.bQuiet) ReportFile(result.strPath, result.strRefusal, result.nErrors, result.nWarnings, result.nBugs);
        if (options.format == eFormat::Json) results.push_back(std::move(result));
    }
    if (options.format == eFormat::Json && !options.bQuiet) WriteJson(results, totals);
    if (!StdoutWritten()) return EXIT_UNREADABLE;
    fprintf(stderr, "tavelin: %d files, %d errors, %d warnings, %d program bugs, %d unreadable\n",
            totals.nFiles, totals.nErrors, totals.nWarnings, totals.nBugs, totals.nUnreadable);
    return StatusOf(totals);
}
