// Submodels and the submodel references of models.
#ifndef TAVELIN_SUBMDL_H
#define TAVELIN_SUBMDL_H

struct MDL;
struct CRV;
struct RAMP;
struct WVFRM;
struct SMSPEC;

enum eSubmodelType : unsigned {
    SMT_NOT_GIVEN = 0,
    SMT_NO_TYPE = 1,
    SMT_DYNAMIC_CLAMP = 2,
    SMT_BUS_HOLD = 3
};

enum eAddSubmodelMode : unsigned {
    ASM_DRIVING = 0,
    ASM_NON_DRIVING = 1,
    ASM_ALL = 2,
    ASM_NO_MODE = 3
};

enum { SUBMDL_NAME_LEN = 20 };

// One [Submodel].  Every pointer is null until its keyword has been read;
// the record owns everything it points to.
struct SUBMDL {
    SUBMDL* pNext;
    char szName[SUBMDL_NAME_LEN + 1];
    unsigned eSubmodelType;
    CRV* pPulldown;
    CRV* pPullup;
    CRV* pGndClamp;
    CRV* pPowerClamp;
    RAMP* pRamp;
    WVFRM* pRising;
    WVFRM* pFalling;
    WVFRM* pGndPulse;
    WVFRM* pPowerPulse;
    SMSPEC* pSubmdlSpec;
};

// One line of a model's [Add Submodel]: a submodel and the mode it is
// used in; the model keeps them in file order.
struct ADDSUB {
    char szName[SUBMDL_NAME_LEN + 1];
    unsigned eMode;
    ADDSUB* pNext;
};

void SUBMDL_Reset();
// Reading, driven by the line reader.
void SUBMDL_New();
void SUBMDL_HandleLine(int eLineClass, int eKeyword, char* pszLine);
void SUBMDL_EndKeyword(int eNextKeyword);
void SUBMDL_Destroy(SUBMDL* pSubmdl);
void SUBMDL_DestroyList(SUBMDL* pList);

// [Add Submodel] of a model, driven by the model's line dispatch.
void ADDSUB_Begin(MDL* pMdl, char* pszLine);
void ADDSUB_Line(const char* pszLine, ADDSUB** ppList, unsigned eModelType);
void ADDSUB_FreeList(ADDSUB* pList);
// At the end of the file: every submodel a model adds must exist.
void ADDSUB_CheckAll(MDL* pMdlList, SUBMDL* pSubmdlList);

#endif
