#include "support/snippet.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

#include "api/rdibis.h"
#include "core/diag.h"
#include "reader/read.h"

namespace {

// One scratch directory per test process, removed when the process ends.
class ScratchDirectory {
public:
    ScratchDirectory() {
        char szTemplate[] = "/tmp/tavelin-test-XXXXXX";
        if (mkdtemp(szTemplate) == nullptr) throw std::runtime_error("mkdtemp failed");
        m_strPath = szTemplate;
    }
    ~ScratchDirectory() {
        std::error_code error;
        std::filesystem::remove_all(m_strPath, error);
    }
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

const std::string& ScratchDir() {
    static const ScratchDirectory dir;
    return dir.Path();
}

std::string ReadAll(FILE* pFile) {
    std::string strText;
    rewind(pFile);
    char acBuffer[4096];
    size_t n;
    while ((n = fread(acBuffer, 1, sizeof acBuffer, pFile)) > 0) strText.append(acBuffer, n);
    return strText;
}

}  // namespace

std::string WriteScratchFile(const std::string& strFileName, const std::string& strText) {
    std::string strPath = ScratchDir() + "/" + strFileName;
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out << strText;
    return strPath;
}

ReadResult ReadPath(const std::string& strPath, const std::function<void(IBIS*)>& inspect,
                    unsigned eNameMode) {
    ReadResult result;
    FILE* pLog = tmpfile();
    if (pLog == nullptr) throw std::runtime_error("tmpfile failed");
    DIAG_SetIndent(0);
    DIAG_SetNameMode(eNameMode);
    IBIS* pIbis = nullptr;
    result.nResult = RDIBIS_Read(strPath.c_str(), pLog, &pIbis);
    DIAG_GetCounts(&result.nErrors, &result.nWarnings, &result.nBugs);
    if (pIbis != nullptr) {
        if (inspect) inspect(pIbis);
        IBIS_Destroy(pIbis);
    }
    DIAG_SetNameMode(1);
    result.strLog = ReadAll(pLog);
    fclose(pLog);
    return result;
}

ReadResult ReadSnippet(const std::string& strFileName, const std::string& strText,
                       const std::function<void(IBIS*)>& inspect) {
    return ReadPath(WriteScratchFile(strFileName, strText), inspect);
}

std::string Header32(const std::string& strFileName) {
    return "[IBIS Ver] 3.2\n"
           "[File Name] " + strFileName + "\n"
           "[File Rev] 1.0\n";
}
