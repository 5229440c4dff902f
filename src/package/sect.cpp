// R/L/C sections and the section paths of package pins: the parser of one
// section (called by the package-model and board-description readers), and
// counting and releasing of pin paths.  No state of its own.
#define TAV_MODULE "sect"
#include "package/sect.h"

#include "core/cmn.h"
#include "core/diag.h"
#include "core/tav_assert.h"

namespace {

// Values of one section while it is read, in the order Len, L, R, C.
struct SectValues {
    bool abGiven[4] = {false, false, false, false};
    double adValue[4] = {0.0, 0.0, 0.0, 0.0};
    bool Any() const { return abGiven[0] || abGiven[1] || abGiven[2] || abGiven[3]; }
};

enum { SLOT_LEN = 0, SLOT_L = 1, SLOT_R = 2, SLOT_C = 3 };

void TakeLen(SectValues* pValues, double dValue) {
    if (pValues->abGiven[SLOT_LEN]) DIAG_ErrorLine("Duplicate Len sub param in R/L/C section");
    // Written so that a value that is no number at all is refused too.
    if (!(dValue >= 0.0)) DIAG_ErrorLine("Len should not be less than zero");
    pValues->abGiven[SLOT_LEN] = true;
    pValues->adValue[SLOT_LEN] = dValue;
}

void TakeElement(SectValues* pValues, int nSlot, const char* pszName, double dValue) {
    if (!pValues->abGiven[SLOT_LEN]) DIAG_ErrorLine("Len should be specified before %s", pszName);
    if (pValues->abGiven[nSlot]) DIAG_ErrorLine("Duplicate %s sub param in R/L/C section", pszName);
    if (!(dValue >= 0.0)) DIAG_ErrorLine("%s should not be less than zero", pszName);
    pValues->abGiven[nSlot] = true;
    pValues->adValue[nSlot] = dValue;
}

// The section closed by its '/'; null when it cannot be allocated.
SECT* MakeSection(const SectValues& values) {
    const bool bLen = values.abGiven[SLOT_LEN];
    if (bLen && values.adValue[SLOT_LEN] != 0.0 && (!values.abGiven[SLOT_L] || !values.abGiven[SLOT_C]))
        DIAG_ErrorLine(" L and C must be specified when Len != 0");
    if (!values.Any()) DIAG_ErrorLine("Empty R/L/C section found");
    SECT* pSect = nullptr;
    if (!CMN_Alloc(&pSect, sizeof(SECT))) {
        DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, __LINE__);
        return nullptr;
    }
    double** appd[4] = {&pSect->pdLen, &pSect->pdL, &pSect->pdR, &pSect->pdC};
    for (int i = 0; i < 4; ++i) {
        if (!values.abGiven[i]) continue;
        pSect->adValues[i] = values.adValue[i];
        *appd[i] = &pSect->adValues[i];
    }
    return pSect;
}

}  // namespace

int SECT_Parse(const char* pszText, SECT** ppSect, const char** ppszRest) {
    TAV_ASSERT(pszText != nullptr && ppSect != nullptr && ppszRest != nullptr);
    *ppSect = nullptr;
    SectValues values;
    const char* pszAt = pszText;
    for (;;) {
        double dValue = 0.0;
        const int eItem = CMN_NextSectionItem(pszAt, &dValue, &pszAt);
        *ppszRest = pszAt;
        switch (eItem) {
            case SECT_ITEM_LEN: TakeLen(&values, dValue); break;
            case SECT_ITEM_L: TakeElement(&values, SLOT_L, "L", dValue); break;
            case SECT_ITEM_R: TakeElement(&values, SLOT_R, "R", dValue); break;
            case SECT_ITEM_C: TakeElement(&values, SLOT_C, "C", dValue); break;
            case SECT_ITEM_SLASH:
                *ppSect = MakeSection(values);
                return 1;
            case SECT_ITEM_EOT:
                if (!values.Any()) return 1;
                DIAG_ErrorLine("Premature end of R/L/C section. Trailing '/' missing");
                return 0;
            default:
                break;  // already reported; the section goes on
        }
    }
}

void SECT_Free(SECT* pSect) { CMN_Free(pSect); }

namespace {

bool IsForkNode(const SECTNODE* pNode) { return pNode->eNodeType == SECTNODE_FORK; }

}  // namespace

unsigned SECT_CountSections(SECTNODE* pFirst) {
    unsigned uiCount = 0;
    SECT_WalkPath(pFirst, IsForkNode, [&uiCount](SECTNODE* pNode) {
        if (pNode->eNodeType == SECTNODE_SECTION) ++uiCount;
    });
    return uiCount;
}

void SECT_FreePath(SECTNODE* pFirst) {
    SECT_WalkPath(pFirst, IsForkNode, [](SECTNODE* pNode) {
        if (pNode->eNodeType == SECTNODE_SECTION) SECT_Free(static_cast<SECT*>(pNode->pData));
        CMN_Free(pNode);
    });
}
