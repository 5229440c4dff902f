// libFuzzer program: any bytes read back as a compiled component model.
#include "targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize) {
    FUZZ_ReadCompiled(pData, uiSize);
    return 0;
}
