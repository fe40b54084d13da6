// Loading a tune: the name in tuneFileName becomes TuneInfo plus the tune's
// bytes in C64Memory. Two formats are read, recognised by the file's first
// four bytes: PSID files, and SIDPLAY info-file pairs (a ".SID" text file
// beside a ".DAT" file with the raw C64 bytes, see info_file.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Texts hold at most 255 bytes followed by a zero byte, stored as the file
// holds them (code page 437).
inline constexpr std::size_t tuneTextSize = 256;
// Longer file names are cut to this many characters.
inline constexpr std::size_t maxFileNameLength = 255;

struct TuneHeader {
    std::array<char, tuneTextSize> name;
    std::array<char, tuneTextSize> author;
    std::array<char, tuneTextSize> copyright;
    std::uint16_t loadAddress; // receives the first data byte
    std::uint16_t initAddress;
    std::uint16_t playAddress; // 0: the file gives none
    std::uint16_t songCount;
    std::uint16_t startSong;  // counted from 1
    std::uint8_t vblankSpeed; // 1: play at 50 Hz; 0: at the CIA timer's rate
};

// Overwritten by every load, field by field as the file is read: after a
// failed load it may mix the new file's values with the previous tune's.
extern TuneHeader TuneInfo;

// The tune to play. loadTune may rewrite it: a ".DAT" name stands for its
// ".SID" partner, and a name longer than 255 characters is cut.
extern std::string tuneFileName;

// Zeroes C64Memory, then loads the tune named by tuneFileName. False after a
// message has been shown and acknowledged with a key; the tune must not be
// run then. No file is left open either way.
bool loadTune();
