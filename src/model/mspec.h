// Model specifications.
#ifndef TAVELIN_MSPEC_H
#define TAVELIN_MSPEC_H

struct RNG;
struct MDL;

// One [Model Spec]: thresholds, hysteresis, overshoot and pulse immunity,
// each a typ/min/max value or null until its subparameter is read.
struct MSPEC {
    unsigned bHystComplete;  // all four hysteresis thresholds given
    RNG* pVinh;
    RNG* pVinl;
    RNG* pVinhPlus;
    RNG* pVinhMinus;
    RNG* pVinlPlus;
    RNG* pVinlMinus;
    RNG* pSOvershootLow;
    RNG* pSOvershootHigh;
    RNG* pDOvershootLow;
    RNG* pDOvershootHigh;
    RNG* pDOvershootTime;
    RNG* pPulseHigh;
    RNG* pPulseLow;
    RNG* pPulseTime;
    RNG* pVmeas;
};

void MSPEC_Reset();
// Reading, driven by the model's line dispatch and keyword close.
int MSPEC_Begin(char* pszLine, MSPEC** ppSlot);
void MSPEC_Line(const char* pszLine, MSPEC* pSpec, const char* pszModelName);
void MSPEC_End(const MDL* pMdl);
void MSPEC_Free(MSPEC* pSpec);

// Accessors: 1 and the value when it was given, else 0.
int MSPEC_GetVinhPlus(const MSPEC* pSpec, RNG** ppRng);
int MSPEC_GetVinhMinus(const MSPEC* pSpec, RNG** ppRng);
int MSPEC_GetVinlPlus(const MSPEC* pSpec, RNG** ppRng);
int MSPEC_GetVinlMinus(const MSPEC* pSpec, RNG** ppRng);
int MSPEC_GetSOvershootHigh(const MSPEC* pSpec, RNG** ppRng);
int MSPEC_GetSOvershootLow(const MSPEC* pSpec, RNG** ppRng);
int MSPEC_GetDOvershootLow(const MSPEC* pSpec, RNG** ppRng);
int MSPEC_GetDOvershootHigh(const MSPEC* pSpec, RNG** ppRng);
int MSPEC_GetDOvershootTime(const MSPEC* pSpec, RNG** ppRng);
int MSPEC_GetVmeas(const MSPEC* pSpec, RNG** ppRng);

#endif
