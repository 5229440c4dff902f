// Verify and Expect: the expected log is written by the diagnostics
// themselves, each finding with the line reader standing at its line.
#include "support/verify.h"

#include <gtest/gtest.h>

#include <utility>

#include "core/diag.h"
#include "support/log_capture.h"

Expect Expect::NoLine() const {
    Expect expect = *this;
    expect.m_bWithLine = false;
    return expect;
}

void Expect::Report() const {
    const char* psz = m_strMessage.c_str();
    if (m_eKind == KIND_ERROR)
        m_bWithLine ? DIAG_ErrorLine("%s", psz) : DIAG_Error("%s", psz);
    else
        m_bWithLine ? DIAG_WarningLine("%s", psz) : DIAG_Warning("%s", psz);
}

Verify::Verify(std::string strFileName, std::string strTail)
    : m_strFileName(std::move(strFileName)), m_strTail(std::move(strTail)) {}

Verify& Verify::operator<<(const std::string& strLines) {
    std::string strRest = strLines;
    if (!strRest.empty() && strRest.back() == '\n') strRest.pop_back();
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = strRest.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1)
        m_lines.push_back({strRest.substr(nStart, nEnd - nStart), {}});
    m_lines.push_back({strRest.substr(nStart), {}});
    return *this;
}

Verify& Verify::operator<<(const Expect& expect) {
    if (m_lines.empty()) ADD_FAILURE() << "a finding needs a line before it";
    else m_lines.back().expects.push_back(expect);
    return *this;
}

Verify& Verify::ExpectEnd(const Expect& expect) {
    m_end.push_back(expect.NoLine());
    return *this;
}

// The findings laid out by the diagnostics, each at the line it stands beside.
std::string Verify::ExpectedLog() const {
    LogCapture log;
    for (const InputLine& line : m_lines) {
        log.NextLine();
        for (const Expect& expect : line.expects) expect.Report();
    }
    for (const Expect& expect : m_end) expect.Report();
    return log.Text();
}

std::string Verify::Numbered() const {
    std::string strText;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const std::string strNumber = std::to_string(i + 1);
        strText += std::string(strNumber.size() < 5 ? 5 - strNumber.size() : 0, ' ') + strNumber + "  " +
                   m_lines[i].strText + "\n";
    }
    return strText + m_strTail;
}

ReadResult Verify::Check(const std::function<void(IBIS*)>& inspect) const {
    std::string strText;
    for (const InputLine& line : m_lines) strText += line.strText + "\n";
    const std::string strExpected = ExpectedLog();
    ReadResult result = ReadSnippet(m_strFileName, strText + m_strTail, inspect);
    EXPECT_EQ(strExpected, result.strLog) << "the log of " << m_strFileName << ":\n" << Numbered();
    return result;
}

Verify IbsFile(const std::string& strVersion) {
    Verify v("c.ibs", "[End]\n");
    v << Header32("c.ibs", strVersion);
    return v;
}

Verify ModelFile(const std::string& strVersion) {
    const std::string strFile = ComponentFile("models.ibs", "", strVersion);
    Verify v("models.ibs", "[End]\n");
    v << strFile.substr(0, strFile.size() - std::string("[End]\n").size());
    return v;
}
