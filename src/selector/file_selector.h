// The file selector screen: a full-screen list of the current directory's
// subdirectories, tune files and places, moved through with the cursor keys,
// that hands back the tune file the user picks.
#pragma once

#include "selector/dir_listing.h"

#include <cstdint>
#include <string>

// List rows under the title bar: screen rows 2 to 48, counted from 0.
inline constexpr std::uint8_t pageRows = 47;

// Index in entries of the entry on the first list row.
extern std::uint16_t topIndex;
// List row of the highlighted entry, from 0.
extern std::uint8_t cursorRow;
// The digit last typed; above 0 it shows in the title bar's first cell. Kept
// from one selector run to the next.
extern std::uint8_t markerDigit;
// The key that ended or continued the last pass of selectorNext's loop.
extern std::uint8_t lastKey;

// Lists the current directory and remembers it for selectorEnd.
void selectorStart();
// Lets the user browse. True with the chosen tune file's bare name in
// fileName (the current directory is the file's directory); false when the
// user pressed Esc.
bool selectorNext(std::string& fileName);
// Goes back to the directory selectorStart was called in and lets go of the
// list.
void selectorEnd();
