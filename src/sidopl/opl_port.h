// The OPL3 register port: every OPL3 register write of the system
// passes through here, as the two-step port protocol of the library
// (ymf262.h). Its mirrored write copies a write to one of the primary
// channels 0-2 onto the channel three above it (3-5) and gives the two
// channels of a pair different output lines: C (0x40) for the primary, which
// the library plays on the left, B (0x20) for the mirror, on the right.
//
// The port keeps no state of its own and has no lock: the audio stream keeps
// the two threads from writing at the same time.
#pragma once

#include <cstdint>

// The OPL3 chip handle, the value YMF262Init returned. It belongs to the audio
// stream, which sets it at start-up (oplChip := YMF262Init (1,
// 14400000, 48000)) and passes it to YMF262ResetChip and YMF262UpdateOne; it
// lives here so that the port reaches it without depending on that module.
extern int oplChip;

// Plain write of one low-bank register: address on port 0, value on port 1.
void oplWrite(std::uint8_t reg, std::uint8_t value);

// Write with the copy to the mirror channel, by register range (the mirror's
// write first):
//   0x00-0x1F, 0xBA-0xBF, 0xCA-0xDF  reg only
//   0x20-0x9F, 0xE0-0xFF             reg + 8, then reg
//   0xA0-0xB9                        reg + 3, then reg
//   0xC0-0xC9                        reg + 3 := low nibble | 0x20 (line B),
//                                    then reg := low nibble | 0x40 (line C)
// Callers pass at most 0xF5; for 0xF8-0xFF, whose mirror would lie past the
// low bank, only reg itself is written. No write is ever skipped because the
// register already holds the value.
void oplWriteMirrored(std::uint8_t reg, std::uint8_t value);

// OPL3 mode on or off: high-bank register 0x05 (0x105) := 1 or 0.
void oplSetOpl3Mode(bool on);

// Zeroes 0x20-0xF5 mirrored (so 0xC0-0xC8 end at 0x40 and the mirror-only
// addresses up to 0xFD at 0), writes 0x01 := 0x20 and 0x08 := 0, then turns
// OPL3 mode on. All keys end off.
void oplClear();
