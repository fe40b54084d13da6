// The file selector on the real terminal, the way the program runs it: each
// tune picked is "played" by a message box that waits for a key, and after
// Esc the directory the program ends in is printed. The tmux test drives it.
#include "screen/console.h"
#include "screen/text_screen.h"
#include "selector/file_selector.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

int main() {
    if (!consoleOpen()) return 1;
    consoleSetMode(80, 50, true);
    consoleSetCursorPos(0, 73);
    consoleSetCursorShape(cursorHidden);
    textAttr = 7;
    selectorStart();
    std::string fileName;
    while (selectorNext(fileName)) showMessage("Playing " + fileName, true);
    selectorEnd();
    consoleSetCursorShape(cursorUnderline);
    consoleClose();
    std::error_code error;
    std::printf("back in %s\n", std::filesystem::current_path(error).c_str());
    return 0;
}
