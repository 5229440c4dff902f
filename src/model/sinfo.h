// Series sections of a model.
#ifndef TAVELIN_SINFO_H
#define TAVELIN_SINFO_H

struct RNG;
struct CRV;
struct SMOS;

// One series section of a Series or Series_switch model ([On], [Off], or
// the implied [On]): the series elements, the series current table and
// the MOSFET tables in file order.
struct SINFO {
    RNG* pRseries;
    RNG* pLseries;
    RNG* pRlSeries;
    RNG* pCseries;
    RNG* pRcSeries;
    RNG* pLcSeries;
    CRV* pSeriesCurrent;
    SMOS* pMosfets;
};

int SINFO_New(SINFO** ppSlot);
int SINFO_Begin(char* pszLine, SINFO** ppSlot, const char* pszLabel);
// The label is "[On]", "[Off]", or empty for a Series model.
void SINFO_Check(const SINFO* pSinfo, const char* pszModelName, const char* pszLabel);
void SINFO_Free(SINFO* pSinfo);

#endif
