#ifndef TAVELIN_TESTS_LOG_CAPTURE_H
#define TAVELIN_TESTS_LOG_CAPTURE_H

#include <cstdio>
#include <string>

// The findings of module calls made directly, outside a read: while the
// object lives the diagnostics write into a log of its own (counts reset,
// indent 0, empty shown name) and the line reader stands at the given line
// of a .ibs file.  Afterwards the diagnostics are detached and back at
// their defaults, as every other test expects them.
class LogCapture {
public:
    explicit LogCapture(unsigned long ulLine = 0);
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    void NextLine();
    // Everything written so far.
    std::string Text() const;
    // What was written since the last Take.
    std::string Take();

private:
    FILE* m_pLog;
    size_t m_nTaken = 0;
};

#endif
