// The input is the info file of a pair; its ".DAT" partner holds the bytes
// after the input's first Ctrl-Z, which ends the info file's text anyway.
// Both are written in lower case and the pair is named by its ".dat" name,
// so every load also goes through the search for the partners.
#include "fuzz_tune.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* end = data + size;
    const std::uint8_t* ctrlZ = std::find(data, end, std::uint8_t{26});
    const std::uint8_t* dataFile = ctrlZ == end ? end : ctrlZ + 1;
    writeFuzzFile("tune.sid", data, size);
    writeFuzzFile("tune.dat", dataFile, static_cast<std::size_t>(end - dataFile));
    fuzzLoad("tune.dat");
    return 0;
}
