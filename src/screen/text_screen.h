// The program's own text output over the console's cell buffer: a cursor, a
// current attribute and the few operations every screen draws with. Texts
// are code page 437 bytes, stored as they are; control bytes show as their
// glyphs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Column and row of the next write, counted from 0.
extern std::uint8_t cursorX;
extern std::uint8_t cursorY;
// Given to every cell this layer writes or clears.
extern std::uint8_t textAttr;

// Writes the text at the cursor, wrapping to the next row after the last
// column. Characters that would fall outside the buffer are dropped.
void writeText(std::string_view text);
void writeLine(std::string_view text);
void newLine();
// Clears from the cursor to the end of its row; the cursor stays.
void clearEol();
// Clears every cell to character 0 in textAttr and homes the cursor.
void clearScreen();
// Counted from 1.
void gotoXY(std::uint8_t column, std::uint8_t row);
// Counted from 0.
void gotoXY0(std::uint8_t x, std::uint8_t y);
// Moves the rows top to top + count - 1 (counted from 0) up by one row; the
// last row of the block keeps its content.
void scrollUp(std::uint8_t top, std::uint8_t count);
void flushScreen();
bool keyPressed();
// Waits for a key; an extended key gives 0, then its scan code.
std::uint8_t readKey();

// Clears the screen and shows the text in a white-on-red box on rows 25 to
// 27, centred on 80 columns; texts longer than 78 characters are cut so the
// box fits. Leaves textAttr at 7. With waitForKey, waits for one key and
// discards it, both codes of an extended key.
void showMessage(std::string_view text, bool waitForKey);
// The whole text of the last message shown, for a program without a screen
// to report it in its own way.
extern std::string lastMessage;
