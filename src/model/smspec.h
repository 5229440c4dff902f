// Submodel specifications.
#ifndef TAVELIN_SMSPEC_H
#define TAVELIN_SMSPEC_H

struct RNG;

// One [Submodel Spec]: each value null until its line is read.
struct SMSPEC {
    RNG* pVtriggerR;
    RNG* pVtriggerF;
    RNG* pOffDelay;
};

// Reading, driven by the submodel's line dispatch.
int SMSPEC_Begin(char* pszLine, SMSPEC** ppSlot);
void SMSPEC_Line(const char* pszLine, SMSPEC* pSpec, const char* pszSubmodelName);
void SMSPEC_Free(SMSPEC* pSpec);

#endif
