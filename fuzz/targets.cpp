// The fuzz entry points (see targets.h).  State: one scratch directory per
// process, made on first use, holding the file of the current run, and
// a log stream that discards everything.
#include "targets.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "api/cbsread.h"
#include "api/idx.h"
#include "api/rdibis.h"
#include "reader/read.h"

namespace {

const std::string& ScratchDir() {
    static const std::string strDir = [] {
        const char* pszTmp = getenv("TMPDIR");
        std::string str = std::string(pszTmp != nullptr && *pszTmp != '\0' ? pszTmp : "/tmp") +
                          "/tavelin-fuzz-" + std::to_string(getpid());
        mkdir(str.c_str(), 0700);
        return str;
    }();
    return strDir;
}

// Writes the bytes to a file of this name in the scratch directory; the
// path, or empty when the file could not be written.
std::string WriteInput(const std::string& strName, const uint8_t* pData, size_t uiSize) {
    std::string strPath = ScratchDir() + "/" + strName;
    FILE* pFile = fopen(strPath.c_str(), "wb");
    if (pFile == nullptr) return std::string();
    const bool bOk = fwrite(pData, 1, uiSize, pFile) == uiSize;
    if (fclose(pFile) != 0 || !bOk) return std::string();
    return strPath;
}

FILE* NullLog() {
    static FILE* pLog = fopen("/dev/null", "w");
    return pLog;
}

// Stands in for the component record: takes every value, refuses pin
// indexes outside the pins it was given, like the component record.
class RecordDouble {
public:
    int SetModelParam(eIbisParam eParam, const char* pszText, int nPin) {
        return Take(eParam, nPin, pszText != nullptr);
    }
    int SetModelParam(eIbisParam eParam, int, int nPin) { return Take(eParam, nPin, true); }
    int SetModelParam(eIbisParam eParam, double, int nPin, eTypMinMax) {
        return Take(eParam, nPin, true);
    }
    int AddPinDesc(int nCount) {
        m_nPins = nCount;
        return 1;
    }
    void SetStatus(eIbisStatus) {}

private:
    int Take(eIbisParam eParam, int nPin, bool bValue) {
        return bValue && (eParam < eIbisPrmPinName || (nPin >= 0 && nPin < m_nPins));
    }
    int m_nPins = 0;
};

}  // namespace

void FUZZ_ReadIbis(const uint8_t* pData, size_t uiSize, const char* pszExtension) {
    const std::string strPath = WriteInput(std::string("input.") + pszExtension, pData, uiSize);
    if (strPath.empty()) return;
    IBIS* pIbis = nullptr;
    RDIBIS_Read(strPath.c_str(), NullLog(), &pIbis);
    if (pIbis != nullptr) IBIS_Destroy(pIbis);
    unlink(strPath.c_str());
}

void FUZZ_ReadCompiled(const uint8_t* pData, size_t uiSize) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(pData), uiSize));
    RecordDouble record;
    CCbsRecordParser<RecordDouble> parser(record, [](int, int, int, const char*, const char*) {});
    parser.Read(in);
}

void FUZZ_LoadIndex(const uint8_t* pData, size_t uiSize) {
    const std::string strPath = WriteInput("input.idx", pData, uiSize);
    if (strPath.empty()) return;
    IDX* pIdx = IDX_Load(strPath.c_str(), "m%05d.cbx", 0);
    if (pIdx != nullptr) {
        // Every loaded entry is walked and found again by its name.
        IDX_CURSOR* pCursor = nullptr;
        while (IDX_ENTRY* pEntry = IDX_Next(pIdx, &pCursor)) IDX_Find(pIdx, pEntry->strUserName.c_str());
        IDX_Write(pIdx, NullLog());
        IDX_Free(pIdx);
    }
    unlink(strPath.c_str());
}
