#ifndef TAVELIN_TESTS_SNIPPET_H
#define TAVELIN_TESTS_SNIPPET_H

#include <functional>
#include <string>

struct IBIS;
struct MDL;

// The one fixture builder of the tests: IBIS texts written to scratch files
// and read through the reader entry with the log in memory.  Verify
// (support/verify.h) builds on it when expected findings stand beside
// their lines.

// What one read through the reader entry left behind.
struct ReadResult {
    int nResult = 0;
    int nErrors = 0;
    int nWarnings = 0;
    int nBugs = 0;
    std::string strLog;
};

// Writes `strText` to a file named `strFileName` in a scratch directory of
// this test process and returns its path.
std::string WriteScratchFile(const std::string& strFileName, const std::string& strText);

// Reads `strText`, stored as `strFileName`, through RDIBIS_Read with the log
// in memory (indent 0, empty file name in messages).  When `inspect` is
// given it sees the document before the document is destroyed.
ReadResult ReadSnippet(const std::string& strFileName, const std::string& strText,
                       const std::function<void(IBIS*)>& inspect = nullptr);

// Reads an existing file the same way; name mode 0 shows the file name in
// every finding.
ReadResult ReadPath(const std::string& strPath, const std::function<void(IBIS*)>& inspect = nullptr,
                    unsigned eNameMode = 1);

// A minimal valid IBIS header of the given version for a file named
// `strFileName` (3 lines).
std::string Header32(const std::string& strFileName, const std::string& strVersion = "3.2");

// ------------------------------------------------------------ components

// The lines that complete a component after its [Component] line: its
// manufacturer and a complete package (5 lines).
const char* const kManufacturerAndPackage =
    "[Manufacturer] M\n"
    "[Package]\n"
    "R_pkg 1 NA NA\n"
    "L_pkg 1n NA NA\n"
    "C_pkg 1p NA NA\n";

// Lines 4 to 9 of a .ibs file: a component X, so that tests of later
// keywords start at line 10.
inline const std::string kComponentX = std::string("[Component] X\n") + kManufacturerAndPackage;

// Reads "c.ibs": the header on lines 1 to 3, `strBody` from line 4 on, and
// a closing [End].
ReadResult ReadIbs(const std::string& strBody, const std::string& strVersion = "3.2",
                   const std::function<void(IBIS*)>& inspect = nullptr);
ReadResult ReadIbs(const std::string& strBody, const std::function<void(IBIS*)>& inspect);

// ------------------------------------------------------------ models

// A component file named `strFileName` around `strBody`: a header of the
// given IBIS version, a complete component whose pins are supplies only
// (lines 4 to 12), the body, and [End].
std::string ComponentFile(const std::string& strFileName, const std::string& strBody,
                          const std::string& strVersion = "3.2");

// A model of the given type with C_comp and a voltage range (4 lines).
std::string ModelHead(const std::string& strName, const std::string& strType = "Output");

// A model that draws no message for an Output type: ModelHead and a ramp
// (7 lines), and the same without its [Model] line.
std::string CleanModel(const std::string& strName, const std::string& strType = "Output");
std::string CleanModelBody(const std::string& strType = "Output");

// Reads ComponentFile("models.ibs", strBody) and returns its log.
std::string ReadModels(const std::string& strBody, const std::function<void(IBIS*)>& inspect = nullptr,
                       const std::string& strVersion = "3.2");

// The model of that name in the document (the newest one), or null.
MDL* FindModel(IBIS* pIbis, const char* pszName);

#endif
