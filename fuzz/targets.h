// The fuzz entry points: one function per input reader, each taking any
// bytes and running them through the reader the way a user's file would
// be.  Called by the libFuzzer programs (fuzz_*.cpp) and by the replay
// test, which runs the seed corpus and every saved crash input through
// the same functions in the normal test build.
#ifndef TAVELIN_FUZZ_TARGETS_H
#define TAVELIN_FUZZ_TARGETS_H

#include <cstddef>
#include <cstdint>

// The IBIS reader, the bytes stored as a file of the given extension
// ("ibs", "pkg" or "ebd"); the log goes nowhere, the document is destroyed.
void FUZZ_ReadIbis(const uint8_t* pData, size_t uiSize, const char* pszExtension);
// The read-back parser of compiled component models over a record double.
void FUZZ_ReadCompiled(const uint8_t* pData, size_t uiSize);
// The index loader, the bytes stored as an index file.
void FUZZ_LoadIndex(const uint8_t* pData, size_t uiSize);

#endif
