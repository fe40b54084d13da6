// The pitch table: see pitch_table.h.
#include "sidopl/pitch_table.h"

#include <cstddef>

std::array<PitchEntry, pitchTableSize> pitchTable;

void buildPitchTable() {
    constexpr std::uint64_t opl3Rate = 49716; // the chip's sample rate, Hz
    for (int hz = 0; hz < pitchTableSize; ++hz) {
        // The product reaches 4095 x 2^20 = 4293918720 at block 0, past the
        // signed 32-bit range: it is computed in 64 bits.
        std::uint8_t block = 0;
        std::uint64_t fnum = (static_cast<std::uint64_t>(hz) << 20) / opl3Rate;
        while (fnum >= 1024) {
            ++block;
            fnum = (static_cast<std::uint64_t>(hz) << (20 - block)) / opl3Rate;
        }
        pitchTable[static_cast<std::size_t>(hz)] = {static_cast<std::uint16_t>(fnum), block};
    }
}
