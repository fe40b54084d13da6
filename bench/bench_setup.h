// What the benchmarks set up: programs that 64tass assembled at build time,
// and the real OPL3 chip behind the SID bridge.
#pragma once

#include "cpu/cpu.h"
#include "sidopl/opl_port.h"
#include "sidopl/sid_image.h"
#include "sidopl/voice_translation.h"
#include "sidopl/ymf262.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

// Clears C64 memory and loads the program's bytes from `address` on.
inline void loadProgram(const char* path, std::uint16_t address) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    C64Memory.fill(0);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        C64Memory[static_cast<std::uint16_t>(address + i)] = static_cast<std::uint8_t>(bytes[i]);
    }
}

// The chip as audio start-up leaves it, so each write costs what it costs in
// play: created, reset and cleared, the bridge's tables built, the image reset.
inline void startChip() {
    oplChip = YMF262Init(1, 14400000, 48000);
    YMF262ResetChip(oplChip);
    oplClear();
    initBridgeTables();
    sidReset();
}
