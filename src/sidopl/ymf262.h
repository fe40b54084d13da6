// The OPL3 (YMF262) emulator library interface: the five functions
// through which the system drives its FM sound chip. Two implementations
// exist, each in its own library target: quavix_ymf262 renders sound with the
// Nuked OPL3 core (ymf262_nuked.cpp), and quavix_ymf262_recording only records
// the calls for tests (ymf262_recording.h). A program links exactly one.
//
// The audio stream never lets two of these calls run at the same time, so
// neither implementation locks.
#pragma once

#include <cstdint>

// Creates `chips` chips (the system asks for 1) and returns the handle of the
// first, to be passed to every later call but YMF262Shutdown. `clock` is the
// chip's master clock in Hz and `rate` the output frame rate in Hz. No
// returned value counts as a failure. A second call releases the chips of
// the first.
int YMF262Init(int chips, int clock, int rate);

// Resets the chip to its power-on state at the rate given to YMF262Init.
void YMF262ResetChip(int chip);

// One port access. Port 0 latches a low-bank register address (0x000-0x0FF),
// port 2 a high-bank one (0x100-0x1FF, value | 0x100); port 1 or 3 writes the
// value into the register last latched. The result carries nothing and is
// ignored.
int YMF262Write(int chip, int port, int value);

// Renders `frames` output frames (the system passes 1) into `buffer`: two
// signed 16-bit samples per frame, left then right.
void YMF262UpdateOne(int chip, std::int16_t* buffer, int frames);

// Releases every chip. Calls with a handle after it are ignored.
void YMF262Shutdown();
