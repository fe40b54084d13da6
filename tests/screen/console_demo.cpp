// Draws a known screen on the real terminal and echoes the codes of the keys
// it reads, until q; c and o move the cursor. The tmux test reads the screen back.
#include "screen/console.h"
#include "screen/text_screen.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string byteRange(int first, int last) {
    std::string text;
    for (int ch = first; ch <= last; ++ch) text += static_cast<char>(ch);
    return text;
}

void drawKnownScreen(bool modeTook) {
    showMessage("Console check", false);
    gotoXY0(0, 0);
    writeText(std::string("mode ") + (modeTook ? "80x50" : "other") + " pid " +
              std::to_string(getpid()));
    gotoXY0(0, 2);
    writeText(byteRange(0x01, 0x1F) + "\x7F[" + std::string(1, '\0') + "]");
    gotoXY0(0, 3);
    writeText(byteRange(0x20, 0x5F));
    gotoXY0(0, 4);
    writeText(byteRange(0x60, 0x7E));
    gotoXY0(0, 5);
    writeText(byteRange(0x80, 0xBF));
    gotoXY0(0, 6);
    writeText(byteRange(0xC0, 0xFF));
    gotoXY0(0, 8);
    for (std::uint8_t attr : {0x07, 0x08, 0x0F, 0x4F, 0x1C, 0x9C, 0xF0}) {
        char label[8];
        std::snprintf(label, sizeof label, "A%02X", attr);
        textAttr = attr;
        writeText(label);
        textAttr = 7;
        writeText(" ");
    }
    gotoXY0(0, 10);
    writeText("keys:");
}

} // namespace

int main() {
    if (!consoleOpen()) {
        std::fputs("console demo: no terminal\n", stderr);
        return 1;
    }
    bool modeTook = consoleSetMode(80, 50, true);
    consoleSetCursorPos(0, 73);
    consoleSetCursorShape(cursorHidden);
    textAttr = 7;
    drawKnownScreen(modeTook);
    std::uint8_t keysX = cursorX;
    flushScreen();
    for (;;) {
        std::uint8_t code = readKey();
        gotoXY0(keysX, 10);
        writeText(" ");
        writeText(std::to_string(code));
        keysX = cursorX;
        // c shows the cursor on the screen, o moves it off the screen.
        if (code == 'c') {
            consoleSetCursorShape(cursorUnderline);
            consoleSetCursorPos(2, 12);
        }
        if (code == 'o') consoleSetCursorPos(0, 73);
        flushScreen();
        if (code == 'q') break;
    }
    textAttr = 8;
    consoleSetCursorShape(cursorUnderline);
    clearScreen();
    flushScreen();
    consoleClose();
    return 0;
}
