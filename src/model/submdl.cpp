#include "model/submdl.h"

// Submodel keywords are recognised and their lines accepted; submodel
// records arrive with the submodel module.
void SUBMDL_Reset() {}
void SUBMDL_New() {}
void SUBMDL_HandleLine(int, int, char*) {}
void SUBMDL_EndKeyword(int) {}
void SUBMDL_Destroy(SUBMDL*) {}
void SUBMDL_DestroyList(SUBMDL*) {}
void ADDSUB_CheckAll(MDL*, SUBMDL*) {}
