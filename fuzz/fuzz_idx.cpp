// libFuzzer program: any bytes loaded as an index file.
#include "targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize) {
    FUZZ_LoadIndex(pData, uiSize);
    return 0;
}
