#ifndef TAVELIN_TESTS_LOG_CAPTURE_H
#define TAVELIN_TESTS_LOG_CAPTURE_H

#include <cstdio>
#include <string>

#include "core/keywords.h"

// The one way tests capture the log.  While the object lives the
// diagnostics write into a log of its own (counts reset, indent 0, empty
// shown name) and the line reader stands at the given line of a new read of
// the given file kind; a read started meanwhile resets the line reader
// itself.  Entry points that take a log stream are given Stream().
// Afterwards the diagnostics are detached and, like the line reader, back
// at their defaults, as every other test expects them.
class LogCapture {
public:
    explicit LogCapture(unsigned long ulLine = 0, int eFileKind = FILE_KIND_IBS);
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    FILE* Stream() const { return m_pLog; }
    void NextLine();
    // Starts the line reader over and moves it to that line.
    void GoToLine(unsigned long ulLine);
    // Everything written so far.
    std::string Text() const;
    // What was written since the last Take.
    std::string Take();

private:
    FILE* m_pLog;
    int m_eFileKind;
    size_t m_nTaken = 0;
};

#endif
