#include "model/msel.h"

// [Model Selector] is recognised and its lines accepted; selector records
// arrive with the model-selector module.
void MSEL_Reset() {}
void MSEL_Init() {}
void MSEL_HandleLine(int, int, char*) {}
void MSEL_End() {}
void MSEL_CheckAll(MSEL*) {}
int MSEL_Find(MSEL*, const char*) { return 0; }
void MSEL_Destroy(MSEL*) {}
