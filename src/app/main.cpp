// Quavix: plays the tune named on the command line, or, without one, the
// tunes the user picks in the file selector, one after another.
#include "app/player.h"
#include "audio/audio_stream.h"
#include "cpu/c64_io.h"
#include "cpu/cpu.h"
#include "screen/console.h"
#include "screen/text_screen.h"
#include "selector/file_selector.h"
#include "tune/tune_loader.h"

#include <cstdio>

namespace {

constexpr const char* credits = "Quavix 1.4 - C64 music on an OPL3, by the Quavix developers\n"
                                "\n"
                                " Greetz fly out to:\n"
                                "   Ada, Bram, Chiara, Dev and the whole Quavix Crew\n"
                                "   ...and all Chip-Music lovers\n"
                                "\n";

} // namespace

int main(int argc, char** argv) {
    // Ends the program with 254 when there is no sound device, before the
    // terminal is touched.
    audioInit();

    buildNoteTable();
    if (!consoleOpen()) {
        std::fputs("quavix: standard input and output must be a terminal\n", stderr);
        return 1;
    }
    consoleSetMode(80, 50, true);
    consoleSetCursorPos(0, 73);
    consoleSetCursorShape(cursorHidden);
    writeHook = c64WriteHook;
    textAttr = 7;

    if (argc > 1) {
        tuneFileName = argv[1];
        runPlayer();
    } else {
        selectorStart();
        while (selectorNext(tuneFileName)) runPlayer();
        selectorEnd();
    }

    textAttr = 8;
    consoleSetCursorShape(cursorUnderline);
    clearScreen();
    flushScreen();
    consoleClose();
    std::fputs(credits, stdout);
    return 0;
}
