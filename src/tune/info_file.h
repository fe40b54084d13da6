// SIDPLAY info-file pairs: a text file whose first seven lines describe the
// tune, and a data file with the raw C64 bytes.
#pragma once

#include <cstdint>
#include <string_view>

// Fills every TuneInfo field from the info file and loads the data file into
// C64Memory (which the caller has zeroed). A header line other than
// "SIDPLAY INFOFILE" leaves TuneInfo unchanged. False after a message has
// been shown and acknowledged with a key.
bool loadInfoFile(std::string_view infoFileName, std::string_view dataFileName);

// The info file's numbers: optional leading blanks and one sign ("-" gives
// 0), then a base prefix ("$", "x", "X", "0x" or "0X" hexadecimal, "%"
// binary, "&" octal, none decimal) and digits of that base up to the end or
// a zero byte. Anything unreadable, more than 255 characters or above
// 4294967295 gives 0; the result is the value's low 16 bits.
std::uint16_t readNumber(std::string_view text);
