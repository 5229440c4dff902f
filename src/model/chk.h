#ifndef TAVELIN_CHK_H
#define TAVELIN_CHK_H

struct MDL;
struct CMPNT;
struct SUBMDL;

// Plausibility checks run at the end of a component file; each returns
// the number of items that drew a warning.
int CHK_Curves(MDL* pMdlList);
int CHK_Models(MDL* pMdlList);
int CHK_Components(CMPNT* pCmpntList);
int CHK_Submodels(SUBMDL* pSubmdlList);

#endif
