#include "package/pkgmdl.h"

// Package-model keywords are recognised and their lines accepted; package
// model records arrive with the package-model module.
void PKGMDL_Reset() {}
void PKGMDL_Init() {}
void PKGMDL_Line(int, int, char*) {}
void PKGMDL_End(int) {}
void PKGMDL_CheckDuplicates(PKGMDL*) {}
int PKGMDL_Find(PKGMDL*, const char*, PKGMDL**) { return 0; }
int PKGMDL_NextPin(PKGMDL*, const char*, int, const char**) { return 0; }
void PKGMDL_Destroy(PKGMDL*) {}
