// The matrices of a package model: [Resistance|Inductance|Capacitance
// Matrix], [Bandwidth], [Row] and the row data lines.  Owns gpMtx, the
// matrix being filled (at most one at a time).  Called by the package-model
// module for the keywords and data lines of a model.
#define TAV_MODULE "mtx"
#include "package/mtx.h"

#include <cstdint>
#include <new>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "package/count.h"
#include "package/pkgmdl.h"
#include "package/row.h"
#include "core/cmn.h"
#include "core/diag.h"
#include "core/tav_assert.h"

// Lookups that keep the repeat checks linear in the rows and values read.
struct MTX_INDEX {
    std::unordered_map<std::string, unsigned> rowsByPin;
    // Filled sparse slots: 1-based row position in the high half, slot below.
    std::unordered_set<uint64_t> filledSlots;
};

namespace {

MTX* gpMtx = nullptr;

// ------------------------------------------------------------ queries on gpMtx

int IsBandedWrap(int* pbWrap) {
    if (gpMtx == nullptr) {
        DIAG_BugLine("gpMtx is NULL, cannot determine banded wrap type.");
        return 0;
    }
    if (gpMtx->eMatrixType != MTX_BANDED && gpMtx->eMatrixType != MTX_BANDED_WRAP) {
        DIAG_BugLine("gpMtx->eMatrixType is not a banded type, cannot determine banded wrap type.");
        return 0;
    }
    *pbWrap = gpMtx->eMatrixType == MTX_BANDED_WRAP;
    return 1;
}

int GetRowCount(unsigned* puiRows) {
    if (gpMtx == nullptr) {
        DIAG_BugLine("gpMtx is NULL, cannot determine row count.");
        return 0;
    }
    *puiRows = gpMtx->uiRowCount;
    return 1;
}

int GetBandwidth(unsigned* puiBandwidth) {
    if (gpMtx == nullptr) {
        DIAG_BugLine("gpMtx is NULL, cannot determine bandwidth.");
        return 0;
    }
    if (gpMtx->eMatrixType != MTX_BANDED && gpMtx->eMatrixType != MTX_BANDED_WRAP) {
        DIAG_BugLine("gpMtx is not banded type, cannot determine bandwidth.");
        return 0;
    }
    *puiBandwidth = gpMtx->uiBandwidth;
    return 1;
}

int SetBandedWrap() {
    if (gpMtx == nullptr) {
        DIAG_BugLine("gpMtx is NULL, cannot reset banded wrap type.");
        return 0;
    }
    if (gpMtx->eMatrixType == MTX_BANDED_WRAP) {
        DIAG_BugLine("gpMtx->eMatrixType is alreaded banded wrap");
        return 0;
    }
    if (gpMtx->eMatrixType != MTX_BANDED) {
        DIAG_BugLine("gpMtx->eMatrixType is not a banded type, cannot reset banded wrap type.");
        return 0;
    }
    gpMtx->eMatrixType = MTX_BANDED_WRAP;
    return 1;
}

// ------------------------------------------------------------ helpers

bool IsBandedType(unsigned eType) { return eType == MTX_BANDED || eType == MTX_BANDED_WRAP; }

MTX_INDEX* IndexOf(MTX* pMtx) {
    if (pMtx->pIndex == nullptr) pMtx->pIndex = new (std::nothrow) MTX_INDEX();
    return pMtx->pIndex;
}

// Next word of a row data line (blanks and tabs separate); false at the end.
bool NextWord(const char** ppsz, std::string* pstrWord) {
    const char* p = *ppsz;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '\0') {
        *ppsz = p;
        return false;
    }
    const char* pStart = p;
    while (*p != '\0' && *p != ' ' && *p != '\t') ++p;
    pstrWord->assign(pStart, static_cast<size_t>(p - pStart));
    *ppsz = p;
    return true;
}

// Reads one value of a row; false when it is no number (reported).
bool ReadValue(const std::string& strWord, double* pdValue) {
    const int nResult = CMN_GetNumber(strWord.c_str(), pdValue);
    if (nResult == 0) {
        DIAG_ErrorLine("Unable to convert row data.");
        return false;
    }
    if (nResult == 2) DIAG_WarningLine("Suspicious row data.");
    return true;
}

// Slot count of the next row of the matrix; 0 when no row is added.
unsigned NextRowColumns(const MTX* pMtx) {
    const uint64_t n = pMtx->uiRowsRead;
    const uint64_t N = pMtx->uiRowCount;
    const uint64_t b = pMtx->uiBandwidth;
    uint64_t c = 0;
    switch (pMtx->eMatrixType) {
        case MTX_BANDED:
            if (n > N) return 0;
            c = b + n + 1 <= N ? b + 1 : N - n;
            break;
        case MTX_BANDED_WRAP:
            if (n > N) return 0;
            c = b + 1;
            break;
        case MTX_SPARSE: c = N; break;
        case MTX_FULL:
            if (n > N) return 0;
            c = N - n;
            break;
        default: return 0;
    }
    // Slots are not held ahead of their values, so a huge count costs nothing.
    return c > UINT32_MAX ? UINT32_MAX : static_cast<unsigned>(c);
}

// The row's slots are used up and a banded value is left: it may be the
// start of the wrap round of a circle-back matrix.  False drops the line.
bool WrapRow(MTX* pMtx, ROW* pRow, double dValue) {
    unsigned b = 0;
    unsigned N = 0;
    int bWrap = 0;
    if (!GetBandwidth(&b)) return false;
    if (pRow->uiColumnCount == static_cast<uint64_t>(b) + 1) {
        DIAG_ErrorLine("Only %u columns of data allowed for this Row .", pRow->uiColumnCount);
        return false;
    }
    if (!GetRowCount(&N) || !IsBandedWrap(&bWrap)) return false;
    if (static_cast<uint64_t>(pRow->uiColumnCount) + pMtx->uiRowsRead <= N || bWrap) {
        DIAG_ErrorLine("Only %u columns of data allowed for this Row .", pRow->uiColumnCount);
        return false;
    }
    const uint64_t uiNewColCount = static_cast<uint64_t>(b) + 1;
    if (uiNewColCount <= pRow->uiColumnCount) {
        DIAG_BugLine("%s:%d:(uiNewColCount <%u> <= pLastRow->uiColumnCount <%u>", TAV_MODULE, __LINE__,
                     static_cast<unsigned>(uiNewColCount), pRow->uiColumnCount);
        return false;
    }
    if (!SetBandedWrap()) return false;
    const unsigned uiLimit = N == 0 ? 0 : (N - 1) / 2;
    if (b > uiLimit) {
        DIAG_ErrorLine("Bandwidth for this Banded, circle-back matrix exceeds the limit of %u.", uiLimit);
        return false;
    }
    for (ROW* p = pMtx->pRows; p != nullptr; p = p->pNext) ROW_Widen(p, b + 1);
    int bNoSlot = 0;
    return ROW_AddNext(pRow, dValue, &bNoSlot) != 0;
}

void DenseRowData(MTX* pMtx, ROW* pRow, const char* pszText) {
    std::string strWord;
    while (NextWord(&pszText, &strWord)) {
        double dValue = 0.0;
        if (!ReadValue(strWord, &dValue)) return;
        int bNoSlot = 0;
        if (ROW_AddNext(pRow, dValue, &bNoSlot)) continue;
        if (!bNoSlot) return;  // the value could not be held (reported)
        if (pMtx->eMatrixType == MTX_FULL) {
            DIAG_ErrorLine("More row data than allowed for this row.");
            return;
        }
        if (!WrapRow(pMtx, pRow, dValue)) return;
    }
}

void SparseRowData(MTX* pMtx, ROW* pRow, const char* pszText) {
    std::string strPin;
    if (!NextWord(&pszText, &strPin)) {
        DIAG_ErrorLine("No Column Index.");
        return;
    }
    if (strPin == pRow->szPinNumber) pRow->bSelfCoupled = 1;
    unsigned uiColIndex = 0;
    if (!PKGMDL_PinIndex(strPin.c_str(), &uiColIndex)) {
        DIAG_ErrorLine("Unable to find Pin <%s> in Package Model Pin_Number list.", strPin.c_str());
        return;
    }
    if (uiColIndex < pMtx->uiRowsRead) {
        DIAG_ErrorLine("This Row Column Index defines an entry in the lower matrix triangle.");
        return;
    }
    if (uiColIndex > pRow->uiColumnCount) {
        DIAG_BugLine("%s:%d:(uiColIndex > pLastRow->uiColumnCount)", TAV_MODULE, __LINE__);
        return;
    }
    MTX_INDEX* pIndex = IndexOf(pMtx);
    const uint64_t ulKey = (static_cast<uint64_t>(pMtx->uiRowsRead) << 32) | (uiColIndex - 1);
    if (pIndex != nullptr && pIndex->filledSlots.count(ulKey) != 0) {
        DIAG_ErrorLine("Duplicate Row column index %u.", uiColIndex);
        return;
    }
    std::string strValue;
    if (!NextWord(&pszText, &strValue)) {
        DIAG_ErrorLine("No row data.");
        return;
    }
    double dValue = 0.0;
    if (!ReadValue(strValue, &dValue)) return;
    if (!ROW_SetSlot(pRow, uiColIndex - 1, dValue)) return;
    if (pIndex != nullptr) pIndex->filledSlots.insert(ulKey);
    std::string strExtra;
    if (NextWord(&pszText, &strExtra))
        DIAG_ErrorLine("Excessive data <%s>, only Index and Value should be specified for a Sparse_matrix.",
                       strExtra.c_str());
}

}  // namespace

void MTX_Reset() { gpMtx = nullptr; }

void MTX_Create(MTX** ppSlot, const char* pszTypeText, unsigned uiRowCount) {
    TAV_ASSERT(ppSlot != nullptr && pszTypeText != nullptr);
    MTX_Close();
    MTX* pMtx = nullptr;
    if (!CMN_Alloc(&pMtx, sizeof(MTX))) {
        DIAG_ErrorLine("Unable to allocate MTX.");
        return;
    }
    pMtx->uiRowCount = uiRowCount;
    *ppSlot = pMtx;
    gpMtx = pMtx;
    if (pszTypeText[0] == '\0') {
        DIAG_ErrorLine("Matrix type not specified.");
    } else if (CMN_StrEqualNoCase(pszTypeText, "Banded_matrix")) {
        pMtx->eMatrixType = MTX_BANDED;
    } else if (CMN_StrEqualNoCase(pszTypeText, "Sparse_matrix")) {
        pMtx->eMatrixType = MTX_SPARSE;
    } else if (CMN_StrEqualNoCase(pszTypeText, "Full_matrix")) {
        pMtx->eMatrixType = MTX_FULL;
    } else {
        DIAG_ErrorLine("Unknown matrix type '%s'.", pszTypeText);
    }
}

void MTX_SetBandwidth(MTX* pMtx, const char* pszText) {
    TAV_ASSERT(pMtx != nullptr && pszText != nullptr);
    if (!IsBandedType(pMtx->eMatrixType)) {
        DIAG_ErrorLine("Bandwidth only allowed for Banded Matrices");
        return;
    }
    pMtx->bBandwidthSet = 1;
    const int nResult = PACKAGE_GetCount(pszText, &pMtx->uiBandwidth);
    if (nResult == 0)
        DIAG_ErrorLine("Bad Bandwidth value.");
    else if (nResult == 2)
        DIAG_ErrorLine("Suspicious Bandwidth value.");
    if (pMtx->uiBandwidth >= pMtx->uiRowCount)
        DIAG_ErrorLine("Bandwidth <%u> must be less than Number_of_Pins <%u>.", pMtx->uiBandwidth,
                       pMtx->uiRowCount);
}

void MTX_AddRow(MTX* pMtx, const char* pszPin) {
    TAV_ASSERT(pMtx != nullptr && pszPin != nullptr);
    const unsigned uiColumns = NextRowColumns(pMtx);
    if (uiColumns == 0) return;
    ROW* pRow = ROW_Create(pszPin, uiColumns);
    if (pRow == nullptr) return;
    unsigned uiPinIndex = 0;
    if (!PKGMDL_PinIndex(pRow->szPinNumber, &uiPinIndex))
        DIAG_ErrorLine("Unable to find Pin <%s> in Package Model Pin_Number list.", pRow->szPinNumber);
    MTX_INDEX* pIndex = IndexOf(pMtx);
    if (pIndex != nullptr) {
        unsigned& uiEarlier = pIndex->rowsByPin[pRow->szPinNumber];
        for (unsigned i = 0; i < uiEarlier; ++i) DIAG_ErrorLine("Repeated ROW <%s>.", pRow->szPinNumber);
        ++uiEarlier;
    }
    if (pMtx->pLastRow == nullptr)
        pMtx->pRows = pRow;
    else
        pMtx->pLastRow->pNext = pRow;
    pMtx->pLastRow = pRow;
    const unsigned uiRowIndex = ++pMtx->uiRowsRead;
    if (uiPinIndex != 0 && uiPinIndex != uiRowIndex)
        DIAG_ErrorLine("Expected Pin <%s> at matrix row index %u, found at matrix row index %u.",
                       pRow->szPinNumber, uiPinIndex, uiRowIndex);
}

void MTX_RowData(MTX* pMtx, const char* pszText) {
    TAV_ASSERT(pMtx != nullptr && pszText != nullptr);
    ROW* pRow = pMtx->pLastRow;
    if (pRow == nullptr) return;
    if (pMtx->eMatrixType == MTX_SPARSE)
        SparseRowData(pMtx, pRow, pszText);
    else
        DenseRowData(pMtx, pRow, pszText);
}

void MTX_Close() {
    if (gpMtx == nullptr) return;
    if (gpMtx->uiRowsRead != gpMtx->uiRowCount)
        DIAG_ErrorLine("Expected %u Rows, found %u for Matrix ending previous to this line.", gpMtx->uiRowCount,
                       gpMtx->uiRowsRead);
    if (gpMtx->pRows != nullptr) {
        switch (gpMtx->eMatrixType) {
            case MTX_BANDED:
            case MTX_BANDED_WRAP:
            case MTX_FULL: ROW_Check(gpMtx->pRows, 1); break;
            case MTX_SPARSE: ROW_Check(gpMtx->pRows, 0); break;
            default:
                DIAG_BugLine("gpMtx->eMatrixType is unknown, cannot determine CheckColumnCount.");
                ROW_Check(gpMtx->pRows, 0);
                break;
        }
    }
    gpMtx = nullptr;
}

void MTX_CheckBandwidth(const char* pszName, const MTX* pMtx) {
    TAV_ASSERT(pszName != nullptr && pMtx != nullptr);
    if (IsBandedType(pMtx->eMatrixType) && !pMtx->bBandwidthSet)
        DIAG_Error("The %s Matrix is Banded and requires the 'Bandwidth' keyword.", pszName);
}

void MTX_Free(MTX* pMtx) {
    if (pMtx == nullptr) return;
    if (pMtx == gpMtx) gpMtx = nullptr;
    ROW_FreeList(pMtx->pRows);
    delete pMtx->pIndex;
    CMN_Free(pMtx);
}
