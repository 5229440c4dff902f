#ifndef TAVELIN_TESTS_IBS_TEXT_H
#define TAVELIN_TESTS_IBS_TEXT_H

#include <functional>
#include <string>

#include "support/snippet.h"

struct IBIS;

// A .ibs text: [IBIS Ver], [File Name] and [File Rev] on lines 1 to 3, the
// given lines from line 4 on, and a closing [End].
inline ReadResult ReadIbs(const std::string& strBody, const std::string& strVersion = "3.2",
                          const std::function<void(IBIS*)>& inspect = nullptr) {
    return ReadSnippet("c.ibs",
                       "[IBIS Ver] " + strVersion + "\n[File Name] c.ibs\n[File Rev] 1.0\n" + strBody + "[End]\n",
                       inspect);
}

inline ReadResult ReadIbs(const std::string& strBody, const std::function<void(IBIS*)>& inspect) {
    return ReadIbs(strBody, "3.2", inspect);
}

// The lines that complete a component after its [Component] line: its
// manufacturer and a complete package (5 lines).
const char* const kManufacturerAndPackage =
    "[Manufacturer] M\n"
    "[Package]\n"
    "R_pkg 1 NA NA\n"
    "L_pkg 1n NA NA\n"
    "C_pkg 1p NA NA\n";

// Lines 4 to 9: a component X, so that tests of later keywords start at
// line 10.
inline const std::string kComponentX = std::string("[Component] X\n") + kManufacturerAndPackage;

// What the diagnostics logged while `run` ran.
std::string CaptureLog(const std::function<void()>& run);

#endif
