#include "fuzz/Harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzWinIni(data, size);
    return 0;
}
