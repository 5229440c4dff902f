#define TAV_MODULE "mdl"
#include "model/mdl.h"

#include <cstring>

#include "reader/tav_assert.h"

// Model keywords are recognised and their lines accepted; the model
// records arrive with the model module.
void MDL_Reset() {}
void MDL_New() {}
void MDL_HandleLine(int, int, char*) {}
void MDL_EndKeyword(int) {}
void MDL_Destroy(MDL*) {}
void MDL_DestroyList(MDL*) {}

int MDL_Find(MDL* pList, const char* pszName, MDL** ppFound) {
    TAV_ASSERT(pszName != nullptr && ppFound != nullptr);
    for (MDL* pMdl = pList; pMdl != nullptr; pMdl = pMdl->pNext) {
        if (strcmp(pMdl->szName, pszName) == 0) {
            *ppFound = pMdl;
            return 1;
        }
    }
    *ppFound = nullptr;
    return 0;
}

int MDL_GetModelType(const MDL* pMdl, unsigned* peType) {
    TAV_ASSERT(pMdl != nullptr && peType != nullptr);
    *peType = pMdl->eModelType;
    return 1;
}
