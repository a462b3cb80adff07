#include "RtAnswerFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    corvale::fuzz::fuzzRtAnswer(data, size);
    return 0;
}
