// [Package]: R_pkg, L_pkg and C_pkg of a component as typ/min/max triples,
// each given once.  Stateless; called by the component module.
#define TAV_MODULE "pkg"
#include "component/pkg.h"

#include "component/rows.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/rng.h"
#include "core/tav_assert.h"

namespace {

enum { PKG_LINE_WORDS = 4 };

// The three sub-parameters, in the order their absence is reported.
struct SUBPARAM {
    const char* pszName;
    RNG* PKG::*pSlot;
};

const SUBPARAM g_aSubparams[] = {
    {"R_pkg", &PKG::pRpkg},
    {"L_pkg", &PKG::pLpkg},
    {"C_pkg", &PKG::pCpkg},
};

const SUBPARAM* FindSubparam(const char* pszWord) {
    for (const SUBPARAM& sub : g_aSubparams)
        if (CMN_StrEqualNoCase(sub.pszName, pszWord)) return &sub;
    return nullptr;
}

// The text after the sub-parameter name: the three corner words.
const char* CornerText(const char* pszLine) {
    CMN_SkipWhite(&pszLine);
    while (*pszLine != '\0' && *pszLine != ' ' && *pszLine != '\t') ++pszLine;
    CMN_SkipWhite(&pszLine);
    return pszLine;
}

void CheckCorners(const RNG* pRng) {
    if (pRng->eTypState != VALUE_NUMBER) DIAG_ErrorLine("The typical column must be specified.");
    if (pRng->eMinState == VALUE_ABSENT) DIAG_ErrorLine("The minimum column must be specified or NA.");
    if (pRng->eMaxState == VALUE_ABSENT) DIAG_ErrorLine("The maximum column must be specified or NA.");
}

int GetSlot(const PKG* pPkg, RNG* PKG::*pSlot, RNG** ppRng) {
    TAV_ASSERT(pPkg != nullptr && ppRng != nullptr);
    *ppRng = pPkg->*pSlot;
    return *ppRng != nullptr;
}

}  // namespace

int PKG_Create(PKG** ppPkg) {
    TAV_ASSERT(ppPkg != nullptr);
    if (!CMN_Alloc(ppPkg, sizeof(PKG))) {
        DIAG_ErrorLine("Unable to allocate a Package");
        return 0;
    }
    return 1;
}

// One R_pkg, L_pkg or C_pkg line: name and three corners.
void PKG_Line(PKG* pPkg, const char* pszLine) {
    TAV_ASSERT(pPkg != nullptr && pszLine != nullptr);
    WORDS words(pszLine, PKG_LINE_WORDS);
    if (!words.Split()) return;
    if (words.Found() != PKG_LINE_WORDS) {
        DIAG_ErrorLine("Expected %d columns in Package sub-parameter line, found %d columns.",
                       PKG_LINE_WORDS, words.Found());
        return;
    }
    const SUBPARAM* pSub = FindSubparam(words[0]);
    if (pSub == nullptr) {
        DIAG_ErrorLine("Unknown Package subparameter.");
        return;
    }
    if (pPkg->*pSub->pSlot != nullptr) {
        DIAG_ErrorLine("Duplicate %s sub-parameter.", pSub->pszName);
        return;
    }
    RNG* pRng = nullptr;
    if (!RNG_Parse(CornerText(pszLine), pSub->pszName, &pRng)) {
        if (pRng != nullptr) RNG_Free(pRng);
        DIAG_ErrorLine("Unable to parse data for Package subparameter '%s'.", pSub->pszName);
        return;
    }
    pPkg->*pSub->pSlot = pRng;
    CheckCorners(pRng);
}

void PKG_CheckRequired(const PKG* pPkg) {
    TAV_ASSERT(pPkg != nullptr);
    for (const SUBPARAM& sub : g_aSubparams)
        if (pPkg->*sub.pSlot == nullptr) DIAG_ErrorLine("Required sub-parameter %s not found.", sub.pszName);
}

void PKG_Destroy(PKG* pPkg) {
    if (pPkg == nullptr) return;
    for (const SUBPARAM& sub : g_aSubparams)
        if (pPkg->*sub.pSlot != nullptr) RNG_Free(pPkg->*sub.pSlot);
    CMN_Free(pPkg);
}

int PKG_GetRpkg(const PKG* pPkg, RNG** ppRng) { return GetSlot(pPkg, &PKG::pRpkg, ppRng); }
int PKG_GetLpkg(const PKG* pPkg, RNG** ppRng) { return GetSlot(pPkg, &PKG::pLpkg, ppRng); }
int PKG_GetCpkg(const PKG* pPkg, RNG** ppRng) { return GetSlot(pPkg, &PKG::pCpkg, ppRng); }
