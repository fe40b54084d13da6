// Benchmarks run programs that 64tass assembled at build time.
#pragma once

#include "cpu/cpu.h"

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
