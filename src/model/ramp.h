// Ramps of a model.
#ifndef TAVELIN_RAMP_H
#define TAVELIN_RAMP_H

#include "core/corner.h"

// One corner of a slew rate: the ratio dV/dt and its state (eValueState:
// not given, a ratio, "NA").
struct RAMPRATIO {
    double dDv;
    double dDt;
    unsigned eState;
};

// A slew rate (dV/dt_r or dV/dt_f): one ratio per corner, indexed by
// CornerIndex.
struct RAMPVAL {
    RAMPRATIO aRatio[CORNER_COUNT];
};

struct RAMP {
    RAMPVAL* pDvdtR;
    RAMPVAL* pDvdtF;
    double dRload;
    unsigned bRloadGiven;
};

void RAMP_Reset();
int RAMP_Begin(char* pszLine, RAMP** ppSlot);
void RAMP_Line(const char* pszLine, RAMP* pRamp, const char* pszModelName);
void RAMP_End(const RAMP* pRamp);
void RAMP_Free(RAMP* pRamp);

int RAMP_GetRload(const RAMP* pRamp, double* pdRload);
int RAMP_GetRates(const RAMP* pRamp, RAMPVAL** ppRising, RAMPVAL** ppFalling);
int RAMP_GetTyp(const RAMPVAL* pVal, double* pdDv, double* pdDt);
int RAMP_GetMin(const RAMPVAL* pVal, double* pdDv, double* pdDt);
int RAMP_GetMax(const RAMPVAL* pVal, double* pdDv, double* pdDt);

#endif
