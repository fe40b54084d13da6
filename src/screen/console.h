// The character-cell console the program draws on and reads keys from. A
// cell holds attribute x 256 + code page 437 character; the attribute's low
// nibble is the foreground, its high nibble the background, both in the
// 16-colour PC palette. There is one console: the terminal in the program,
// a headless stand-in in the tests.
#pragma once

#include <cstdint>
#include <vector>

// screenHeight rows of screenWidth cells, row after row. Drawing code writes
// it directly; consoleUpdate shows it.
extern std::vector<std::uint16_t> cellBuffer;
extern std::uint16_t screenWidth;
extern std::uint16_t screenHeight;

enum CursorShape { cursorHidden, cursorUnderline };

// Takes the terminal over for full-screen cell output (alternate screen,
// unbuffered keys, no echo) and remembers how it was. False when there is no
// usable terminal; the console then stays closed.
bool consoleOpen();

// Gives back everything consoleOpen and consoleSetMode changed.
void consoleClose();

// Sizes the cell buffer to columns x rows, all cells 0, and asks the terminal
// for that size. True when the terminal has that size afterwards; either way
// the buffer is drawn from the top-left corner, clipped to the terminal.
bool consoleSetMode(std::uint16_t columns, std::uint16_t rows, bool colour);

void consoleSetCursorShape(CursorShape shape);

// Counted from 0. A position outside the buffer or the terminal shows no
// cursor.
void consoleSetCursorPos(std::uint16_t column, std::uint16_t row);

// Shows every cell that differs from what the last update showed.
void consoleUpdate();

// Codes consoleReadKey gives: characters, and the scan codes that follow a 0
// for keys without one.
inline constexpr std::uint8_t keyEnter = 13;
inline constexpr std::uint8_t keyEsc = 27;
inline constexpr std::uint8_t keySpace = 32;
inline constexpr std::uint8_t scanHome = 71;
inline constexpr std::uint8_t scanUp = 72;
inline constexpr std::uint8_t scanPgUp = 73;
inline constexpr std::uint8_t scanLeft = 75;
inline constexpr std::uint8_t scanRight = 77;
inline constexpr std::uint8_t scanEnd = 79;
inline constexpr std::uint8_t scanDown = 80;
inline constexpr std::uint8_t scanPgDn = 81;

// Non-blocking: true while a key waits or an extended key's second code is
// pending.
bool consoleKeyPressed();

// Waits for a key and returns its character code. A key without a character
// gives 0 and its PC scan code on the next call: Home 71, Up 72, PgUp 73,
// Left 75, Right 77, End 79, Down 80, PgDn 81. With no console open no key
// can come, and it returns Esc (27) at once.
std::uint8_t consoleReadKey();
