#include "component/ibs_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/mdl.h"
#include "reader/cmn.h"
#include "reader/diag.h"
#include "reader/ibis.h"

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

std::string CheckWithModels(IBIS* pIbis, const std::vector<std::pair<std::string, unsigned>>& models,
                            const std::function<void()>& check) {
    MDL* pSaved = pIbis->pMdlList;
    pIbis->pMdlList = nullptr;
    for (const auto& model : models) {
        MDL* pMdl = static_cast<MDL*>(calloc(1, sizeof(MDL)));
        CMN_StrCopy(pMdl->szName, model.first.c_str(), MDL_NAME_LEN);
        pMdl->eModelType = model.second;
        IBIS_AddMdl(pIbis, pMdl);
    }

    std::string strLog = CaptureLog(check);

    while (pIbis->pMdlList != nullptr) {
        MDL* pNext = pIbis->pMdlList->pNext;
        free(pIbis->pMdlList);
        pIbis->pMdlList = pNext;
    }
    pIbis->pMdlList = pSaved;
    return strLog;
}
