// Driver schedules of a model.
#ifndef TAVELIN_DRVSH_H
#define TAVELIN_DRVSH_H

struct MDL;
struct DLY;

enum { DSMDL_NAME_LEN = 20 };

// One model driven by a [Driver Schedule], with its delays (null when
// the line named no model).
struct DSMDL {
    DSMDL* pNext;
    char szName[DSMDL_NAME_LEN + 1];
    DLY* pDelays;
};

// A [Driver Schedule]: its models, the most recently read first.
struct DRVSH {
    DSMDL* pModels;
};

// Reading, driven by the model's line dispatch and keyword close.
int DRVSH_Begin(char* pszLine, DRVSH** ppSlot);
void DRVSH_Line(const char* pszLine, DRVSH* pSched, const char* pszModelName);
void DRVSH_End(const DRVSH* pSched, const char* pszModelName);
void DRVSH_Free(DRVSH* pSched);

// At the end of the file, when every model is known.
void DRVSH_CheckAll(MDL* pMdlList);

#endif
