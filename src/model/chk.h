// Plausibility checks of a component file, run by the end-of-file step.
#ifndef TAVELIN_CHK_H
#define TAVELIN_CHK_H

struct MDL;
struct CMPNT;
struct SUBMDL;

// Plausibility checks run at the end of a component file; each returns
// the number of items that drew at least one warning.  Every finding is a
// warning without line number; no check changes a record.
int CHK_Curves(MDL* pMdlList);
int CHK_Models(MDL* pMdlList);
int CHK_Components(CMPNT* pCmpntList);
int CHK_Submodels(SUBMDL* pSubmdlList);

// The two groups of checks (the range checks of models, components and
// submodels; the I-V table checks) are on from the start.  Nothing in the
// library turns them off: the switches exist for measurements.
void CHK_SetRangeChecks(int bOn);
void CHK_SetCurveChecks(int bOn);

#endif
