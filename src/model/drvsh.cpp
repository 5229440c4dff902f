#include "model/drvsh.h"

// Driver schedules are read with the model-extras module.
void DRVSH_CheckAll(MDL*) {}
