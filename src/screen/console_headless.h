// What tests see of the console that runs without a terminal: the keys it
// will return and what it last showed. Only tests include this.
#pragma once

#include "screen/console.h"

#include <cstdint>
#include <deque>
#include <vector>

struct HeadlessConsole {
    bool open = false;
    bool colour = false;
    std::deque<std::uint8_t> keys;    // codes consoleReadKey returns, in order
    std::vector<std::uint16_t> shown; // cellBuffer as of the last consoleUpdate
    unsigned updates = 0;             // consoleUpdate calls
    CursorShape cursorShape = cursorUnderline;
    std::uint16_t cursorColumn = 0;
    std::uint16_t cursorRow = 0;
    // Called on every key poll, before it looks at the queue: a test can
    // act between two passes of a screen's loop, on the loop's own thread.
    void (*onKeyPoll)() = nullptr;
};

extern HeadlessConsole headless;

// Back to a closed console with an empty buffer and no keys.
void headlessReset();
