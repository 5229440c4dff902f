#include "component/ibs_text.h"

#include <cstdio>

#include "core/diag.h"

std::string CaptureLog(const std::function<void()>& run) {
    FILE* pLog = tmpfile();
    DIAG_SetLog(pLog);
    run();
    DIAG_SetLog(nullptr);
    std::string strLog;
    rewind(pLog);
    char acBuffer[512];
    size_t n;
    while ((n = fread(acBuffer, 1, sizeof acBuffer, pLog)) > 0) strLog.append(acBuffer, n);
    fclose(pLog);
    return strLog;
}
