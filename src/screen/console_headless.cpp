// A console without a terminal: the cell buffer, a record of what was shown
// and keys from a queue the test fills.
#include "screen/console_headless.h"

#include <cstdio>
#include <cstdlib>

std::vector<std::uint16_t> cellBuffer;
std::uint16_t screenWidth = 0;
std::uint16_t screenHeight = 0;

HeadlessConsole headless;

void headlessReset() {
    headless = HeadlessConsole{};
    cellBuffer.clear();
    screenWidth = 0;
    screenHeight = 0;
}

bool consoleOpen() {
    headless.open = true;
    return true;
}

void consoleClose() { headless.open = false; }

bool consoleSetMode(std::uint16_t columns, std::uint16_t rows, bool colour) {
    screenWidth = columns;
    screenHeight = rows;
    cellBuffer.assign(std::size_t{columns} * rows, 0);
    headless.shown.assign(cellBuffer.size(), 0);
    headless.colour = colour;
    return true;
}

void consoleSetCursorShape(CursorShape shape) { headless.cursorShape = shape; }

void consoleSetCursorPos(std::uint16_t column, std::uint16_t row) {
    headless.cursorColumn = column;
    headless.cursorRow = row;
}

void consoleUpdate() {
    headless.shown = cellBuffer;
    ++headless.updates;
}

bool consoleKeyPressed() {
    if (headless.onKeyPoll) headless.onKeyPoll();
    return !headless.keys.empty();
}

std::uint8_t consoleReadKey() {
    // Waiting here would hang the test run; a test that reads more keys than
    // it queued is wrong and should stop loudly.
    if (headless.keys.empty()) {
        std::fputs("headless console: a key was read but none was queued\n", stderr);
        std::abort();
    }
    std::uint8_t code = headless.keys.front();
    headless.keys.pop_front();
    return code;
}
