#include "package/ebdmdl.h"

// Board-description keywords are recognised and their lines accepted;
// board records arrive with the board-description module.
void EBDMDL_Reset() {}
void EBDMDL_Init() {}
void EBDMDL_Line(int, int, char*) {}
void EBDMDL_End(int) {}
void EBDMDL_CheckFile(EBDMDL*, int) {}
void EBDMDL_Destroy(EBDMDL*) {}
