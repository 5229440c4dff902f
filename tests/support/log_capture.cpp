#include "support/log_capture.h"

#include <stdexcept>

#include "core/diag.h"
#include "core/lines.h"

LogCapture::LogCapture(unsigned long ulLine) : m_pLog(tmpfile()) {
    if (m_pLog == nullptr) throw std::runtime_error("tmpfile failed");
    DIAG_SetLog(m_pLog);
    DIAG_ResetCounts();
    DIAG_SetIndent(0);
    DIAG_SetNameMode(1);
    PARSE_ResetForRead(FILE_KIND_IBS);
    for (unsigned long i = 0; i < ulLine; ++i) PARSE_NextLine();
}

LogCapture::~LogCapture() {
    DIAG_SetLog(nullptr);
    DIAG_ResetCounts();
    DIAG_SetIndent(0);
    DIAG_SetFileName("");
    DIAG_SetNameMode(1);
    PARSE_SetFileName("");
    PARSE_ResetForRead(FILE_KIND_IBS);
    fclose(m_pLog);
}

void LogCapture::NextLine() { PARSE_NextLine(); }

std::string LogCapture::Text() const {
    std::string strText;
    fflush(m_pLog);
    rewind(m_pLog);
    char acBuffer[4096];
    size_t n;
    while ((n = fread(acBuffer, 1, sizeof acBuffer, m_pLog)) > 0) strText.append(acBuffer, n);
    fseek(m_pLog, 0, SEEK_END);
    return strText;
}

std::string LogCapture::Take() {
    std::string strText = Text();
    std::string strNew = strText.substr(m_nTaken);
    m_nTaken = strText.size();
    return strNew;
}
