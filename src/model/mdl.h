// Model records, their spellings and the model module's handlers and
// accessors.
#ifndef TAVELIN_MDL_H
#define TAVELIN_MDL_H

#include "core/fields.h"

struct RNG;
struct CRV;
struct RAMP;
struct WVFRM;
// The records of [Model Spec], [Driver Schedule], the series sections and
// [Add Submodel] belong to their own modules, which fill and free them.
struct MSPEC;
struct DRVSH;
struct SINFO;
struct ADDSUB;

// IBIS model types.
enum eModelType : unsigned {
    MT_NOT_GIVEN = 0,
    MT_NO_TYPE = 1,
    MT_INPUT = 2,
    MT_OUTPUT = 3,
    MT_IO = 4,
    MT_3_STATE = 5,
    MT_OPEN_DRAIN = 6,
    MT_IO_OPEN_DRAIN = 7,
    MT_OPEN_SINK = 8,
    MT_IO_OPEN_SINK = 9,
    MT_OPEN_SOURCE = 10,
    MT_IO_OPEN_SOURCE = 11,
    MT_INPUT_ECL = 12,
    MT_OUTPUT_ECL = 13,
    MT_IO_ECL = 14,
    MT_TERMINATOR = 15,
    MT_SERIES = 16,
    MT_SERIES_SWITCH = 17,
    MT_3_STATE_ECL = 18
};

enum eModelPolarity : unsigned {
    POL_NOT_GIVEN = 0,
    POL_NONE = 1,
    POL_NON_INVERTING = 2,
    POL_INVERTING = 3
};

enum eModelEnable : unsigned {
    ENA_NOT_GIVEN = 0,
    ENA_NONE = 1,
    ENA_ACTIVE_HIGH = 2,
    ENA_ACTIVE_LOW = 3
};

enum { MDL_NAME_LEN = 20 };

// One [Model].  Every pointer is null until its keyword or subparameter
// has been read; the record owns everything it points to.
struct MDL {
    MDL* pNext;
    char szName[MDL_NAME_LEN + 1];
    unsigned eModelType;
    unsigned ePolarity;
    unsigned eEnable;
    double* pdVinl;
    double* pdVinh;
    RNG* pCcomp;
    double* pdVmeas;
    double* pdCref;
    double* pdRref;
    double* pdVref;
    RNG* pTempRange;
    RNG* pVoltRange;
    RNG* pPullupRef;
    RNG* pPulldownRef;
    RNG* pPowerClampRef;
    RNG* pGndClampRef;
    RNG* pTTgnd;
    RNG* pTTpower;
    DRVSH* pDrvSched;
    MSPEC* pMdlSpec;
    SINFO* pSeriesOn;
    SINFO* pSeriesOff;
    ADDSUB* pAddSubmdl;
    CRV* pPulldown;
    CRV* pPullup;
    CRV* pGndClamp;
    CRV* pPowerClamp;
    RNG* pRgnd;
    RNG* pRpower;
    RNG* pRac;
    RNG* pCac;
    RAMP* pRamp;
    WVFRM* pRising;
    WVFRM* pFalling;
};

// A table of spellings, searched in order and ended by the entry whose
// value is 1 ("No Type", "No Polarity", "No Enable").
using MDL_SPELLING = CMN_SPELLING;

extern const MDL_SPELLING g_aModelTypeSpellings[];
extern const MDL_SPELLING g_aPolaritySpellings[];
extern const MDL_SPELLING g_aEnableSpellings[];

// The spelling of a value; the end marker's text when it is not in the table.
const char* MDL_Spelling(const MDL_SPELLING* pTable, unsigned eValue);

// Reading, driven by the line reader.
void MDL_Reset();
void MDL_New();
void MDL_HandleLine(int eLineClass, int eKeyword, char* pszLine);
void MDL_EndKeyword(int eNextKeyword);
void MDL_Destroy(MDL* pMdl);
void MDL_DestroyList(MDL* pList);
int MDL_Find(MDL* pList, const char* pszName, MDL** ppFound);

// Accessors: 1 and the item, or 0 when it is absent.
int MDL_GetName(const MDL* pMdl, const char** ppszName);
int MDL_GetModelType(const MDL* pMdl, unsigned* peType);
int MDL_GetModelTypeText(const MDL* pMdl, const char** ppszText);
int MDL_GetPolarityText(const MDL* pMdl, const char** ppszText);
int MDL_GetEnableText(const MDL* pMdl, const char** ppszText);
int MDL_GetVinl(const MDL* pMdl, double* pd);
int MDL_GetVinh(const MDL* pMdl, double* pd);
int MDL_GetVmeas(const MDL* pMdl, double* pd);
int MDL_GetCref(const MDL* pMdl, double* pd);
int MDL_GetRref(const MDL* pMdl, double* pd);
int MDL_GetVref(const MDL* pMdl, double* pd);
int MDL_GetCcomp(const MDL* pMdl, RNG** ppRng);
int MDL_GetTempRange(const MDL* pMdl, RNG** ppRng);
int MDL_GetVoltRange(const MDL* pMdl, RNG** ppRng);
int MDL_GetPullupRef(const MDL* pMdl, RNG** ppRng);
int MDL_GetPulldownRef(const MDL* pMdl, RNG** ppRng);
int MDL_GetPowerClampRef(const MDL* pMdl, RNG** ppRng);
int MDL_GetGndClampRef(const MDL* pMdl, RNG** ppRng);
int MDL_GetRgnd(const MDL* pMdl, RNG** ppRng);
int MDL_GetRpower(const MDL* pMdl, RNG** ppRng);
int MDL_GetRac(const MDL* pMdl, RNG** ppRng);
int MDL_GetCac(const MDL* pMdl, RNG** ppRng);
int MDL_GetPullup(const MDL* pMdl, CRV** ppCrv);
int MDL_GetPulldown(const MDL* pMdl, CRV** ppCrv);
int MDL_GetGndClamp(const MDL* pMdl, CRV** ppCrv);
int MDL_GetPowerClamp(const MDL* pMdl, CRV** ppCrv);
int MDL_GetRamp(const MDL* pMdl, RAMP** ppRamp);
int MDL_GetRising(const MDL* pMdl, WVFRM** ppWvfrm);
int MDL_GetFalling(const MDL* pMdl, WVFRM** ppWvfrm);
int MDL_GetModelSpec(const MDL* pMdl, MSPEC** ppSpec);
int MDL_GetSeriesOn(const MDL* pMdl, SINFO** ppSinfo);
int MDL_IsEcl(const MDL* pMdl);

#endif
