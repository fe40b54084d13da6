// The C64 hardware the player models, as seen by the tune's stores: the SID's
// register window and the latch of CIA 1's timer A, through which tunes that
// run from that timer set their play rate. Every other address is RAM.
#pragma once

#include <cstdint>

// The C64's CPU clock in Hz.
inline constexpr long double c64ClockHz = 985248.4444L;

// Timer A's latch as the tune last wrote it ($DC04 low, $DC05 high). Song init
// zeroes it before the init routine and reads it afterwards.
extern std::uint16_t ciaTimerLatch;

// The CPU's store procedure: $D400-$D4FF go to the SID image and not to
// memory; a store to $0000 is dropped, so the BRK there stays; $DC04/$DC05
// also set the play rate when it comes out below 1000 ticks per second.
void c64WriteHook(std::uint16_t address, std::uint8_t value);
