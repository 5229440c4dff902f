#include "model/model_text.h"


#include "model/mdl.h"
#include "core/diag.h"
#include "core/lines.h"
#include "reader/read.h"
#include "support/snippet.h"

std::string ComponentFile(const std::string& strFileName, const std::string& strBody,
                          const std::string& strVersion) {
    return "[IBIS Ver] " + strVersion + "\n"
           "[File Name] " + strFileName + "\n"
           "[File Rev] 1.0\n"
           "[Component] C1\n"
           "[Manufacturer] Tavelin\n"
           "[Package]\n"
           "R_pkg 10m NA NA\n"
           "L_pkg 1n NA NA\n"
           "C_pkg 1p NA NA\n"
           "[Pin] signal_name model_name\n"
           "1 VCC POWER\n"
           "2 GND GND\n" +
           strBody + "[End]\n";
}

std::string CleanModel(const std::string& strName) {
    return "[Model] " + strName + "\n"
           "Model_type Output\n"
           "C_comp 1p NA NA\n"
           "[Voltage Range] 3.3 3.0 3.6\n"
           "[Ramp]\n"
           "dV/dt_r 1/1n NA NA\n"
           "dV/dt_f 1/1n NA NA\n";
}

std::string ReadModels(const std::string& strBody, const std::function<void(IBIS*)>& inspect,
                       const std::string& strVersion) {
    return ReadSnippet("models.ibs", ComponentFile("models.ibs", strBody, strVersion), inspect).strLog;
}

MDL* FindModel(IBIS* pIbis, const char* pszName) {
    MDL* pList = nullptr;
    MDL* pFound = nullptr;
    IBIS_GetMdlList(pIbis, &pList);
    MDL_Find(pList, pszName, &pFound);
    return pFound;
}
