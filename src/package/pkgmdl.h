// Package models ([Define Package Model]) and the search of .pkg files for
// a model named by a component.
#ifndef TAVELIN_PKGMDL_H
#define TAVELIN_PKGMDL_H

struct MTX;
struct SECTNODE;

enum {
    PKGMDL_NAME_LEN = 40,
    PKGMDL_MANUFACTURER_LEN = 40,
    PKGMDL_OEM_LEN = 40,
    PKGMDL_DESCRIPTION_LEN = 60,
    PKGMDL_PIN_LEN = 5
};

// One pin number of [Pin Numbers].
struct PKGPIN {
    char szPin[PKGMDL_PIN_LEN + 1];
};

// One package model, from [Define Package Model] to [End Package Model].
// The pin arrays hold uiPinCapacity slots, grown as pin lines arrive up to
// uiNumberOfPins, so a huge [Number Of Pins] costs nothing until its pins
// are there; slots past the pins read are null.
struct PKGMDL {
    PKGMDL* pNext;
    char szName[PKGMDL_NAME_LEN + 1];
    char szManufacturer[PKGMDL_MANUFACTURER_LEN + 1];
    char szOEM[PKGMDL_OEM_LEN + 1];
    char szDescription[PKGMDL_DESCRIPTION_LEN + 1];
    unsigned uiNumberOfPins;
    unsigned uiNumberOfSections;
    PKGPIN** ppszPinNumbers;
    SECTNODE** ppSections;
    unsigned uiPinCapacity;
    MTX* pResistance;
    MTX* pInductance;
    MTX* pCapacitance;
};

void PKGMDL_Reset();
void PKGMDL_Init();
void PKGMDL_Line(int eLineClass, int eKeyword, char* pszLine);
void PKGMDL_End(int eNextKeyword);
void PKGMDL_CheckDuplicates(PKGMDL* pList);
int PKGMDL_Find(PKGMDL* pList, const char* pszName, PKGMDL** ppFound);
// Walks the [Pin Numbers] list of the named package model: bFirst starts
// at its first pin; 0 when the model is absent or the list is exhausted.
int PKGMDL_NextPin(PKGMDL* pList, const char* pszModel, int bFirst, const char** ppszPin);
// 1-based position of the pin number in the current model's list.
int PKGMDL_PinIndex(const char* pszPin, unsigned* puiIndex);
// Reads every .pkg file of the directory of the file being read that
// defines the model into the current document; 1 when one was found.
int PKGMDL_FindFile(const char* pszModel);
int PKGMDL_FileDefines(const char* pszPath, const char* pszModel);
void PKGMDL_Free(PKGMDL* pList);

#endif
