// Starting a song of the tune and calling its play routine. A tune has two
// 6502 routines: init, called once with the song number in A, and play,
// called once per tick. Both run under an instruction budget and return
// through two zero bytes pushed as their return address: their final RTS
// lands on the BRK at $0001.
#pragma once

#include <atomic>
#include <cstdint>

inline constexpr std::int32_t initBudget = 0x100000;
inline constexpr std::int32_t playBudget = 0x8000;

// Play calls since the song started; the play time is counted from it.
extern std::atomic<std::uint32_t> frameCounter;
// The song the player's keys move, and the song initSong last started.
extern std::uint8_t selectedSong;
extern std::uint16_t playingSong;
// A play call ran out of its budget.
extern std::atomic<bool> cpuFault;

// Starts `song` (0: the tune's start song) of the file named by tuneFileName:
// the stream paused, the tune reloaded, its init routine run, the play rate
// chosen, the stream resumed at it. False when loading or init failed; a
// message has then been shown and the stream stays paused. Main thread only.
bool initSong(std::uint8_t song);

// One call of the play routine, then the SID image applied again. The tick
// handler while a tune plays.
void playTick();
