#include "component/cmpnt.h"

// Component keywords are recognised and their lines accepted; the
// component records arrive with the component module.
void CMPNT_Reset() {}
void CMPNT_Start() {}
void CMPNT_Line(int, int, char*) {}
void CMPNT_EndKeyword(int) {}
void CMPNT_CheckList(CMPNT*) {}
void CMPNT_Destroy(CMPNT*) {}
