#ifndef TAVELIN_DRVSH_H
#define TAVELIN_DRVSH_H

struct MDL;

void DRVSH_CheckAll(MDL* pMdlList);

#endif
