#include "cpu/c64_io.h"

#include "audio/audio_stream.h"
#include "cpu/cpu.h"
#include "sidopl/sid_image.h"

std::uint16_t ciaTimerLatch;

namespace {

// Each latch byte sets the rate with whatever the other byte holds then. A
// latch below 986 would give 1000 ticks per second or more and is ignored,
// judged on the full quotient before it is narrowed to 16 bits.
void updateRate() {
    if (ciaTimerLatch == 0) return;
    const auto rate = static_cast<unsigned long>(c64ClockHz / ciaTimerLatch);
    if (rate < 1000) setPlayRate(static_cast<std::uint16_t>(rate));
}

} // namespace

void c64WriteHook(std::uint16_t address, std::uint8_t value) {
    if (address >> 8 == 0xD4) {
        sidWrite(address & 0xFF, value);
        return;
    }
    if (address != 0x0000) C64Memory[address] = value;
    if (address == 0xDC04) {
        ciaTimerLatch = (ciaTimerLatch & 0xFF00) | value;
        updateRate();
    } else if (address == 0xDC05) {
        ciaTimerLatch = (ciaTimerLatch & 0x00FF) | value << 8;
        updateRate();
    }
}
