// The pitch table: the OPL3 F-number and block for every whole frequency from
// 0 to 4095 Hz. Built once at start-up (buildPitchTable, from the voice
// translation's initBridgeTables) and only read afterwards.
#pragma once

#include <array>
#include <cstdint>

struct PitchEntry {
    std::uint16_t fnum; // 0-1023
    std::uint8_t block; // 0-7
};

inline constexpr int pitchTableSize = 4096;

extern std::array<PitchEntry, pitchTableSize> pitchTable;

// For each hz, the lowest block for which hz x 2^(20 - block) / 49716 is below
// 1024, and that quotient as the F-number: the inverse of the OPL3's own
// frequency = fnum x 49716 / 2^(20 - block).
void buildPitchTable();

// The table index for a SID frequency register value F (low byte + 256 x high
// byte): F div 17, at most 3855.
constexpr int pitchIndex(std::uint16_t sidFrequency) { return sidFrequency / 17; }
