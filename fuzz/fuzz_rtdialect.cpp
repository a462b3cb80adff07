#include "RtDialectFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    corvale::fuzz::fuzzRtDialect(data, size);
    return 0;
}
