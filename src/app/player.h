// The player screen: while one tune file plays it shows the tune's texts, a
// scrolling log of the SID registers with the note each voice plays, the
// play time and the song and rate, and it takes the player's keys.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

// For each frequency in Hz: the octave in the high nibble and, in the low
// nibble, which of 16 equal parts of that octave it lies in.
extern std::array<std::uint8_t, 4096> noteTable;
// The note name of each of the 16 parts of an octave.
extern const std::array<const char*, 16> noteNames;
extern const char hexDigits[17];

// The redraw loop runs while this holds; Esc and a play routine that
// overruns its budget clear it.
extern std::atomic<bool> playerRunning;
// The play routine runs once more per redraw: Up sets it, Down clears it.
extern bool fastForward;

void buildNoteTable();

// Plays the file named by tuneFileName until the user leaves with Esc or the
// play routine fails; returns with the stream paused, the SID image reset
// and the OPL3 chip cleared.
void runPlayer();
