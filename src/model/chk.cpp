#include "model/chk.h"

// The plausibility checks are not built yet: nothing is reported.
int CHK_Curves(MDL*) { return 0; }
int CHK_Models(MDL*) { return 0; }
int CHK_Components(CMPNT*) { return 0; }
int CHK_Submodels(SUBMDL*) { return 0; }
