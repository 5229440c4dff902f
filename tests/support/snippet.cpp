#include "support/snippet.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

#include "api/rdibis.h"
#include "core/diag.h"
#include "core/document.h"
#include "model/mdl.h"
#include "reader/read.h"
#include "support/log_capture.h"

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
    LogCapture log;
    DIAG_SetNameMode(eNameMode);
    IBIS* pIbis = nullptr;
    result.nResult = RDIBIS_Read(strPath.c_str(), log.Stream(), &pIbis);
    DIAG_GetCounts(&result.nErrors, &result.nWarnings, &result.nBugs);
    if (pIbis != nullptr) {
        if (inspect) inspect(pIbis);
        IBIS_Destroy(pIbis);
    }
    result.strLog = log.Text();
    return result;
}

ReadResult ReadSnippet(const std::string& strFileName, const std::string& strText,
                       const std::function<void(IBIS*)>& inspect) {
    return ReadPath(WriteScratchFile(strFileName, strText), inspect);
}

std::string Header32(const std::string& strFileName, const std::string& strVersion) {
    return "[IBIS Ver] " + strVersion + "\n"
           "[File Name] " + strFileName + "\n"
           "[File Rev] 1.0\n";
}

ReadResult ReadIbs(const std::string& strBody, const std::string& strVersion,
                   const std::function<void(IBIS*)>& inspect) {
    return ReadSnippet("c.ibs", Header32("c.ibs", strVersion) + strBody + "[End]\n", inspect);
}

ReadResult ReadIbs(const std::string& strBody, const std::function<void(IBIS*)>& inspect) {
    return ReadIbs(strBody, "3.2", inspect);
}

std::string ComponentFile(const std::string& strFileName, const std::string& strBody,
                          const std::string& strVersion) {
    return Header32(strFileName, strVersion) +
           "[Component] C1\n"
           "[Manufacturer] Tavelin\n"
           "[Package]\n"
           "R_pkg 10m NA NA\n"
           "L_pkg 1n NA NA\n"
           "C_pkg 1p NA NA\n"
           "[Pin] signal_name model_name\n"
           "1 VCC POWER\n"
           "2 GND GND\n" +
           strBody + "[End]\n";
}

std::string ModelHead(const std::string& strName, const std::string& strType) {
    return "[Model] " + strName + "\n"
           "Model_type " + strType + "\n"
           "C_comp 1p NA NA\n"
           "[Voltage Range] 3.3 3.0 3.6\n";
}

std::string CleanModelBody(const std::string& strType) {
    return "Model_type " + strType + "\n"
           "C_comp 1p NA NA\n"
           "[Voltage Range] 3.3 3.0 3.6\n"
           "[Ramp]\n"
           "dV/dt_r 1/1n NA NA\n"
           "dV/dt_f 1/1n NA NA\n";
}

std::string CleanModel(const std::string& strName, const std::string& strType) {
    return "[Model] " + strName + "\n" + CleanModelBody(strType);
}

std::string ReadModels(const std::string& strBody, const std::function<void(IBIS*)>& inspect,
                       const std::string& strVersion) {
    return ReadSnippet("models.ibs", ComponentFile("models.ibs", strBody, strVersion), inspect).strLog;
}

MDL* FindModel(IBIS* pIbis, const char* pszName) {
    MDL* pList = nullptr;
    MDL* pFound = nullptr;
    IBIS_GetMdlList(pIbis, &pList);
    MDL_Find(pList, pszName, &pFound);
    return pFound;
}
