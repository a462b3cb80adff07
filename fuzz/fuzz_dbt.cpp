#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    corvale::db::fuzz::fuzzDbt(data, size);
    return 0;
}
