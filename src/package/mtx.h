// The [Resistance|Inductance|Capacitance Matrix] of a package model and
// its rows.
#ifndef TAVELIN_MTX_H
#define TAVELIN_MTX_H

struct ROW;
struct MTX_INDEX;

enum eMatrixType : unsigned {
    MTX_NONE = 0,
    MTX_BANDED = 1,
    MTX_BANDED_WRAP = 2,
    MTX_SPARSE = 3,
    MTX_FULL = 4
};

// One [Resistance|Inductance|Capacitance Matrix] of a package model.
struct MTX {
    unsigned eMatrixType;
    unsigned uiRowCount;
    unsigned bBandwidthSet;
    unsigned uiBandwidth;
    ROW* pRows;
    // Kept so that rows are appended and counted in constant time.
    ROW* pLastRow;
    unsigned uiRowsRead;
    // Rows by pin and filled sparse slots, for the repeat checks.
    MTX_INDEX* pIndex;
};

void MTX_Reset();
void MTX_Create(MTX** ppSlot, const char* pszTypeText, unsigned uiRowCount);
void MTX_SetBandwidth(MTX* pMtx, const char* pszText);
void MTX_AddRow(MTX* pMtx, const char* pszPin);
void MTX_RowData(MTX* pMtx, const char* pszText);
void MTX_Close();
void MTX_CheckBandwidth(const char* pszName, const MTX* pMtx);
void MTX_Free(MTX* pMtx);

#endif
