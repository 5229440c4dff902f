#ifndef TAVELIN_TESTS_MODEL_TEXT_H
#define TAVELIN_TESTS_MODEL_TEXT_H

#include <functional>
#include <string>

#include "support/log_capture.h"

struct IBIS;
struct MDL;

// Lines of ComponentFile before the body: the body's first line is line 13.
enum { BODY_FIRST_LINE = 13 };

// A component file named `strFileName` around `strBody`: a header of the
// given IBIS version, a complete component whose pins are supplies only,
// the body, and [End].
std::string ComponentFile(const std::string& strFileName, const std::string& strBody,
                          const std::string& strVersion = "3.2");

// A model that draws no message: an Output model with C_comp, a voltage
// range and a ramp (7 lines).
std::string CleanModel(const std::string& strName);

// Reads ComponentFile(strFileName, strBody) and returns its log.
std::string ReadModels(const std::string& strBody, const std::function<void(IBIS*)>& inspect = nullptr,
                       const std::string& strVersion = "3.2");

// The log of module calls made directly, outside a read, from line 0 on.
using DirectLog = LogCapture;

// The model of that name in the document (the newest one), or null.
MDL* FindModel(IBIS* pIbis, const char* pszName);

#endif
