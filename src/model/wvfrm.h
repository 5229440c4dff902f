// Waveforms and pulse tables.
#ifndef TAVELIN_WVFRM_H
#define TAVELIN_WVFRM_H

struct RNGP;

// One [Rising Waveform], [Falling Waveform] or pulse table: the fixture of
// the measurement (each value null until given) and its timing rows, whose
// leading value is the time and whose corners are the voltages.
struct WVFRM {
    WVFRM* pNext;
    double* pdRfixture;
    double* pdVfixture;
    double* pdVfixtureMin;
    double* pdVfixtureMax;
    double* pdCfixture;
    double* pdLfixture;
    double* pdRdut;
    double* pdLdut;
    double* pdCdut;
    RNGP* pRows;
};

void WVFRM_Reset();
int WVFRM_Begin(char* pszLine, WVFRM** ppList, const char* pszKeyword);
void WVFRM_Line(const char* pszLine, const char* pszKeyword);
// bWaveform is 1 for rising and falling waveforms, 0 for pulse tables.
void WVFRM_End(const char* pszLabel, int bWaveform);
void WVFRM_FreeList(WVFRM* pList);

int WVFRM_GetRfixture(const WVFRM* pWvfrm, double* pd);
int WVFRM_GetVfixture(const WVFRM* pWvfrm, double* pd);
int WVFRM_GetVfixtureMin(const WVFRM* pWvfrm, double* pd);
int WVFRM_GetVfixtureMax(const WVFRM* pWvfrm, double* pd);
int WVFRM_GetCfixture(const WVFRM* pWvfrm, double* pd);
int WVFRM_GetLfixture(const WVFRM* pWvfrm, double* pd);
int WVFRM_GetRdut(const WVFRM* pWvfrm, double* pd);
int WVFRM_GetLdut(const WVFRM* pWvfrm, double* pd);
int WVFRM_GetCdut(const WVFRM* pWvfrm, double* pd);
int WVFRM_GetRows(const WVFRM* pWvfrm, RNGP** ppRows);
int WVFRM_GetNext(const WVFRM* pWvfrm, WVFRM** ppNext);

#endif
