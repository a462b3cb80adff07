#include "ArchiveFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    corvale::fuzz::fuzzArchive(data, size);
    return 0;
}
