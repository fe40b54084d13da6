// The console of a program that has no screen, such as the offline renderer:
// a cell buffer that nobody sees and a keyboard that never has a key, so a
// message box is drawn into the buffer and returns at once.
#include "screen/console.h"

#include <cstddef>

std::vector<std::uint16_t> cellBuffer;
std::uint16_t screenWidth = 0;
std::uint16_t screenHeight = 0;

bool consoleOpen() { return false; }

void consoleClose() {}

bool consoleSetMode(std::uint16_t columns, std::uint16_t rows, bool) {
    screenWidth = columns;
    screenHeight = rows;
    cellBuffer.assign(std::size_t{columns} * rows, 0);
    return true;
}

void consoleSetCursorShape(CursorShape) {}

void consoleSetCursorPos(std::uint16_t, std::uint16_t) {}

void consoleUpdate() {}

bool consoleKeyPressed() { return false; }

std::uint8_t consoleReadKey() { return keyEsc; }
