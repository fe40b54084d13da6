// The image of the SID's 25 write registers ($D400-$D418) and the entry for
// every store the tune makes into them. Each store is recorded and at once
// translated into OPL3 writes for its voice (voice_translation.h).
//
// The image has no lock: only the thread that runs the 6502 code writes it,
// and the audio stream keeps the two threads from running it at the same
// time. The player screen reads `written` from the main thread while ticks
// run, so its bytes are atomic; it may show values of two ticks side by side.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

inline constexpr int sidRegisterCount = 25;

struct SidRegisterImage {
    // Each register as last stored; the screen shows it.
    std::array<std::atomic<std::uint8_t>, sidRegisterCount> written;
    // The values that drive key-on and the envelope: equal to `written`
    // except while the ADSR-bug option holds changes back until the end of
    // the tick.
    std::array<std::uint8_t, sidRegisterCount> applied;
};

extern SidRegisterImage SidShadow;

// The ADSR-bug option: off at start, toggled by the player's Space key, read
// on every store.
extern std::atomic<bool> adsrBugEnabled;

// `written` of register `reg`, for readers on any thread.
inline std::uint8_t sidWritten(int reg) {
    return SidShadow.written[reg].load(std::memory_order_relaxed);
}

// A store of the tune into SID register `reg` (the address's low byte).
// Registers 25 and above are ignored.
void sidWrite(std::uint8_t reg, std::uint8_t value);

// Routes register `reg` to the translation of its voice; 21-24 drive nothing.
void dispatchSidRegister(std::uint8_t reg);

// Translates every register again, voice 0 first, then takes the held-back
// values over (syncApplied). Runs after every play call.
void sidApplyAll();

// applied := written.
void syncApplied();

// All voices keyed off and both arrays zero.
void sidReset();
