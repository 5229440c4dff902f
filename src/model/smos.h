// Series MOSFET tables.
#ifndef TAVELIN_SMOS_H
#define TAVELIN_SMOS_H

struct CRV;
struct MDL;

// One [Series MOSFET]: the Vds its table was measured at (null until
// given) and the table.
struct SMOS {
    double* pdVds;
    CRV* pTable;
    SMOS* pNext;
};

void SMOS_Reset();
// Reading, driven by the model's line dispatch and keyword close.  The
// first data line after the keyword is the Vds line, the others are rows
// of the entry's table.
int SMOS_Begin(char* pszLine, SMOS** ppList, SMOS** ppEntry);
void SMOS_Line(const char* pszLine);
void SMOS_End(const MDL* pMdl, int eKeyword);
void SMOS_FreeList(SMOS* pList);

#endif
