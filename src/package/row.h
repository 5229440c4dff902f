// The rows of a package matrix: slots, values and the checks of a closed
// matrix.
#ifndef TAVELIN_ROW_H
#define TAVELIN_ROW_H

#include <vector>

enum { ROW_PIN_LEN = 5 };

// One value of a sparse row: its slot (0-based column) and the value.
struct ROW_ENTRY {
    unsigned uiSlot;
    double dValue;
};

// One [Row] of a package matrix.  Full and banded rows fill their slots
// from the first on, so only the filled prefix is held (vdPrefix); a sparse
// row holds its filled slots in reading order (vSparse).  Memory follows
// the values in the file, not the slot count.
struct ROW {
    ROW* pNext;
    char szPinNumber[ROW_PIN_LEN + 1];
    unsigned bSelfCoupled;
    unsigned uiColumnCount;
    std::vector<double> vdPrefix;
    std::vector<ROW_ENTRY> vSparse;
};

// Makes a row of uiColumnCount absent slots for the pin named on a [Row]
// line; null when it cannot be allocated (reported).
ROW* ROW_Create(const char* pszPin, unsigned uiColumnCount);
// Puts the value in the first absent slot of a full or banded row; 0 when
// no slot is left or the value cannot be held (reported).
int ROW_AddNext(ROW* pRow, double dValue, int* pbNoSlot);
// Stores the value in a slot of a sparse row known to be absent.
int ROW_SetSlot(ROW* pRow, unsigned uiSlot, double dValue);
// Widens a row to the new slot count; the new slots are absent.
void ROW_Widen(ROW* pRow, unsigned uiNewColumnCount);
// End checks of the rows of a closed matrix: with bExactCount every row must
// fill all its slots, otherwise at least one.
void ROW_Check(ROW* pRows, int bExactCount);
void ROW_FreeList(ROW* pRows);

// Accessors.
int ROW_GetNext(const ROW* pRow, ROW** ppNext);
int ROW_GetPinNumber(const ROW* pRow, const char** ppszPin);
unsigned ROW_GetColumnCount(const ROW* pRow);
// 1 and the value when the slot holds one.
int ROW_GetEntry(const ROW* pRow, unsigned uiSlot, double* pdValue);

#endif
