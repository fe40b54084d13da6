// The input is the tune file, without a ".DAT" partner: PSID files, and the
// refusal of everything else.
#include "fuzz_tune.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeFuzzFile("tune.sid", data, size);
    fuzzLoad("tune.sid");
    return 0;
}
