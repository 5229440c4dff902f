#ifndef TAVELIN_TESTS_VERIFY_H
#define TAVELIN_TESTS_VERIFY_H

#include <functional>
#include <string>
#include <vector>

#include "support/snippet.h"

// Expected findings written beside the IBIS lines that cause them, so that
// no test counts lines by hand:
//
//     Verify v("x.ibs", "[End]\n");
//     v << Header32("x.ibs");
//     v << "[File Rev] 2.0" << Expect::Error("Duplicate File_Rev keyword.");
//     v.ExpectEnd(Expect::Error("Required keyword 'Component' not found."));
//     v.Check();
//
// Check reads the file and compares the whole log, byte for byte and in
// order, with the findings laid out by the diagnostics themselves: a
// finding beside a line carries that line's number, findings at the end
// carry none.  A finding without a line number shows in the log only by its
// place in the order: write it beside the line that closes what it reports
// on (the next keyword for a keyword's checks, the next non-model keyword
// for a model's).

// One expected finding.
class Expect {
public:
    static Expect Error(const std::string& strMessage) { return Expect(KIND_ERROR, strMessage); }
    static Expect Warning(const std::string& strMessage) { return Expect(KIND_WARNING, strMessage); }
    // The finding is written without a line number, as the checks that run
    // when a keyword or a record closes are.
    Expect NoLine() const;

private:
    friend class Verify;
    enum eKind { KIND_ERROR, KIND_WARNING };
    // Writes the finding to the diagnostics, with the current line when it has one.
    void Report() const;
    Expect(eKind eKind, const std::string& strMessage) : m_eKind(eKind), m_strMessage(strMessage) {}
    eKind m_eKind;
    std::string m_strMessage;
    bool m_bWithLine = true;
};

// An IBIS file built line by line with the findings each line causes.
class Verify {
public:
    // `strTail` closes the file after the lines given (e.g. "[End]\n").
    explicit Verify(std::string strFileName, std::string strTail = "");

    // Adds one or more lines, split at line feeds; a last line feed is optional.
    Verify& operator<<(const std::string& strLines);
    // A finding of the last line given.
    Verify& operator<<(const Expect& expect);
    // A finding after the last line and the tail, written without a line number.
    Verify& ExpectEnd(const Expect& expect);
    // The number of the last line given.
    unsigned long Line() const { return m_lines.size(); }

    // Reads the file and checks its whole log; the result for further checks.
    ReadResult Check(const std::function<void(IBIS*)>& inspect = nullptr) const;

private:
    struct InputLine {
        std::string strText;
        std::vector<Expect> expects;
    };
    std::string ExpectedLog() const;
    std::string Numbered() const;

    std::string m_strFileName;
    std::string m_strTail;
    std::vector<InputLine> m_lines;
    std::vector<Expect> m_end;
};

// "c.ibs" with the header of the given version on lines 1 to 3, closed by [End].
Verify IbsFile(const std::string& strVersion = "3.2");

// "models.ibs" of ComponentFile: the test's lines start at line 13.
Verify ModelFile(const std::string& strVersion = "3.2");

#endif
