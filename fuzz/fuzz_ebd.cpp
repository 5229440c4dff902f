// libFuzzer program: any bytes read and checked as a .ebd file.
#include <cstdio>

#include "targets.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The reader writes a banner per file to standard output.
    return freopen("/dev/null", "w", stdout) == nullptr;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize) {
    FUZZ_ReadIbis(pData, uiSize, "ebd");
    return 0;
}
