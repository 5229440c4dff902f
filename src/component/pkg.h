// Package values of a component.
#ifndef TAVELIN_PKG_H
#define TAVELIN_PKG_H

struct RNG;

// The [Package] values of a component; each triple is null until its
// sub-parameter line has been read.
struct PKG {
    RNG* pRpkg;
    RNG* pLpkg;
    RNG* pCpkg;
};

int PKG_Create(PKG** ppPkg);
void PKG_Line(PKG* pPkg, const char* pszLine);
void PKG_CheckRequired(const PKG* pPkg);
void PKG_Destroy(PKG* pPkg);

int PKG_GetRpkg(const PKG* pPkg, RNG** ppRng);
int PKG_GetLpkg(const PKG* pPkg, RNG** ppRng);
int PKG_GetCpkg(const PKG* pPkg, RNG** ppRng);

#endif
