#include "screen/text_screen.h"

#include "screen/console.h"

#include <algorithm>
#include <cstddef>
#include <string>

std::uint8_t cursorX = 0;
std::uint8_t cursorY = 0;
std::uint8_t textAttr = 0;
std::string lastMessage;

namespace {

constexpr std::uint8_t messageAttr = 0x4F;
constexpr std::uint8_t messageRow = 24;
// The widest text whose box, two columns wider, still fits 80 columns.
constexpr std::size_t messageMaxLength = 78;

std::uint16_t blankCell() { return static_cast<std::uint16_t>(textAttr << 8); }

std::size_t cellIndex(std::size_t x, std::size_t y) { return y * screenWidth + x; }

} // namespace

void writeText(std::string_view text) {
    for (char ch : text) {
        if (cursorY >= screenHeight) return;
        if (cursorX < screenWidth)
            cellBuffer[cellIndex(cursorX, cursorY)] =
                static_cast<std::uint16_t>(blankCell() | static_cast<std::uint8_t>(ch));
        ++cursorX;
        if (cursorX > screenWidth - 1) {
            cursorX = 0;
            ++cursorY;
        }
    }
}

void writeLine(std::string_view text) {
    writeText(text);
    newLine();
}

void newLine() {
    cursorX = 0;
    ++cursorY;
}

void clearEol() {
    if (cursorY >= screenHeight || cursorX >= screenWidth) return;
    std::fill(cellBuffer.begin() + static_cast<std::ptrdiff_t>(cellIndex(cursorX, cursorY)),
              cellBuffer.begin() + static_cast<std::ptrdiff_t>(cellIndex(0, cursorY + 1u)),
              blankCell());
}

void clearScreen() {
    std::fill(cellBuffer.begin(), cellBuffer.end(), blankCell());
    cursorX = 0;
    cursorY = 0;
}

void gotoXY(std::uint8_t column, std::uint8_t row) {
    cursorX = static_cast<std::uint8_t>(column - 1);
    cursorY = static_cast<std::uint8_t>(row - 1);
}

void gotoXY0(std::uint8_t x, std::uint8_t y) {
    cursorX = x;
    cursorY = y;
}

void scrollUp(std::uint8_t top, std::uint8_t count) {
    // Row 0 has no row above it, and rows below the buffer have nothing to
    // move: both ends are clipped so the move stays inside the buffer.
    std::size_t first = std::max<std::size_t>(top, 1);
    std::size_t end = std::min<std::size_t>(std::size_t{top} + count, screenHeight);
    if (first >= end) return;
    std::copy(cellBuffer.begin() + static_cast<std::ptrdiff_t>(cellIndex(0, first)),
              cellBuffer.begin() + static_cast<std::ptrdiff_t>(cellIndex(0, end)),
              cellBuffer.begin() + static_cast<std::ptrdiff_t>(cellIndex(0, first - 1)));
}

void flushScreen() { consoleUpdate(); }

bool keyPressed() { return consoleKeyPressed(); }

std::uint8_t readKey() { return consoleReadKey(); }

void showMessage(std::string_view text, bool waitForKey) {
    lastMessage = text;
    clearScreen();
    textAttr = messageAttr;
    text = text.substr(0, messageMaxLength);
    std::uint8_t left = static_cast<std::uint8_t>(39 - text.size() / 2);
    std::string rule(text.size(), '\xC4');
    gotoXY0(left, messageRow);
    writeText("\xDA");
    writeText(rule);
    writeText("\xBF");
    gotoXY0(left, messageRow + 1);
    writeText("\xB3");
    writeText(text);
    writeText("\xB3");
    gotoXY0(left, messageRow + 2);
    writeText("\xC0");
    writeText(rule);
    writeText("\xD9");
    textAttr = 7;
    flushScreen();
    // An extended key is discarded whole; its scan code left behind would
    // reach the next screen as an ordinary key.
    if (waitForKey && readKey() == 0) readKey();
}
