#include "selector/file_selector.h"

#include "screen/console.h"
#include "screen/text_screen.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

std::uint16_t topIndex = 0;
std::uint8_t cursorRow = 0;
std::uint8_t markerDigit = 0;
std::uint8_t lastKey = 0;

namespace {

// Stands in lastKey for an Enter that changed directory, so the loop goes on.
constexpr std::uint8_t keyHandled = 1;

constexpr int pageStep = 12;
constexpr std::uint8_t listTop = 2;

constexpr std::uint8_t titleAttr = 15;
constexpr std::uint8_t markerAttr = 0xF0;
constexpr std::uint8_t dirAttr = 8;
constexpr std::uint8_t fileAttr = 7;
constexpr std::uint8_t dirHighlightAttr = 0x1C;
constexpr std::uint8_t fileHighlightAttr = 0x9C;

constexpr std::string_view titleBar = "\xDB\xDB Merrow's SID-File-Selector v0.1b b20021206"
                                      "                         "
                                      "\xDB\xDB\xDB\xDB\xB2\xB2\xB2\xB1\xB1\xB0";

// The largest topIndex.
int maxTop() { return entryCount >= pageRows ? entryCount - pageRows : 0; }

// The last list row in use; -1 for an empty list, which shows no rows.
int lastRow() { return entryCount >= pageRows ? pageRows - 1 : entryCount - 1; }

const dirrec& highlighted() { return entries[std::size_t{topIndex} + cursorRow]; }

void drawEntry(std::uint8_t y, const dirrec& e) {
    textAttr = e.isDir ? dirAttr : fileAttr;
    if (y == cursorRow + listTop) {
        textAttr = e.isDir ? dirHighlightAttr : fileHighlightAttr;
        gotoXY0(0, y);
        clearEol();
    }
    gotoXY0(static_cast<std::uint8_t>(39 - e.caption.size() / 2), y);
    writeLine(e.caption);
    textAttr = fileAttr;
}

void drawSelector() {
    // Whatever screen came before, the list is drawn on light grey on black.
    textAttr = fileAttr;
    clearScreen();
    textAttr = titleAttr;
    writeLine(titleBar);
    if (markerDigit > 0)
        cellBuffer[0] = static_cast<std::uint16_t>(markerAttr << 8 | ('0' + markerDigit));
    for (int i = 0; i <= lastRow(); ++i)
        drawEntry(static_cast<std::uint8_t>(i + listTop),
                  entries[static_cast<std::size_t>(topIndex + i)]);
}

void ordinaryKey() {
    if (lastKey == keyEnter) {
        // With nothing listed there is nothing to open: the selector stays.
        if (entryCount == 0) {
            lastKey = keyHandled;
            return;
        }
        if (!highlighted().isDir) return;
        lastKey = keyHandled;
        enterDirectory(highlighted().name);
        buildListing();
        cursorRow = 0;
        topIndex = 0;
    } else if (lastKey >= '0' && lastKey <= '9') {
        markerDigit = static_cast<std::uint8_t>(lastKey - '0');
    }
}

void extendedKey(std::uint8_t scan) {
    const int top = maxTop();
    const int last = lastRow();
    switch (scan) {
    case scanHome:
        cursorRow = 0;
        topIndex = 0;
        break;
    case scanUp:
        if (cursorRow > 0)
            --cursorRow;
        else if (topIndex > 0)
            --topIndex;
        break;
    case scanPgUp:
        if (cursorRow >= pageStep)
            cursorRow = static_cast<std::uint8_t>(cursorRow - pageStep);
        else if (topIndex >= pageStep)
            topIndex = static_cast<std::uint16_t>(topIndex - pageStep);
        break;
    case scanEnd: {
        // The last entry before the places; with none before them the first
        // entry, so the highlight never leaves the list.
        const int k = std::max(entryCount - driveCount - 1, 0);
        if (driveCount < top) {
            topIndex = static_cast<std::uint16_t>(top - driveCount);
            cursorRow = static_cast<std::uint8_t>(last);
        } else {
            topIndex = 0;
            cursorRow = static_cast<std::uint8_t>(k);
        }
        break;
    }
    case scanDown:
        if (cursorRow < last)
            ++cursorRow;
        else if (topIndex < top)
            ++topIndex;
        break;
    case scanPgDn:
        if (cursorRow + pageStep < last)
            cursorRow = static_cast<std::uint8_t>(cursorRow + pageStep);
        else if (topIndex + pageStep < top)
            topIndex = static_cast<std::uint16_t>(topIndex + pageStep);
        break;
    default: break;
    }
}

} // namespace

void selectorStart() {
    probeDrives();
    entries.assign(entryCapacity, dirrec{});
    std::error_code error;
    savedDirectory = std::filesystem::current_path(error).string();
    buildListing();
    lastKey = 0;
    topIndex = 0;
    cursorRow = 0;
}

bool selectorNext(std::string& fileName) {
    lastKey = 0;
    while (lastKey != keyEnter && lastKey != keyEsc) {
        drawSelector();
        flushScreen();
        lastKey = readKey();
        if (lastKey != 0)
            ordinaryKey();
        else
            extendedKey(readKey());
    }
    if (lastKey == keyEsc) return false;
    fileName = highlighted().name;
    return true;
}

void selectorEnd() {
    // A starting directory that has gone away cannot be given back; the
    // program ends from wherever it is.
    enterDirectory(savedDirectory);
    entries.clear();
    entries.shrink_to_fit();
    entryCount = 0;
}
