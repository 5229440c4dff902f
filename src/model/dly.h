// Delays of a driver schedule row.
#ifndef TAVELIN_DLY_H
#define TAVELIN_DLY_H

class WORDS;

// The delays of one scheduled model, in seconds, each with its state
// (eValueState: not given, a number, "NA").
enum eDelay { DLY_RISE_ON, DLY_RISE_OFF, DLY_FALL_ON, DLY_FALL_OFF, DLY_COUNT };

struct DLY {
    double adDelay[DLY_COUNT];
    unsigned aeState[DLY_COUNT];
};

// Reads the delay words of a schedule line, starting at word iFirst, into
// a new DLY and checks them; null only when memory ran out.
DLY* DLY_Read(const WORDS& words, int iFirst);
void DLY_Free(DLY* pDly);

#endif
