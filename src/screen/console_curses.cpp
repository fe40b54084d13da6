// The console on a Linux terminal, through ncursesw. This is the one file of
// the program that includes the terminal library's header.
#include "screen/console.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <string>
#include <string_view>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

#define NCURSES_WIDECHAR 1
#define NCURSES_NOMACROS
#include <curses.h>

std::vector<std::uint16_t> cellBuffer;
std::uint16_t screenWidth = 0;
std::uint16_t screenHeight = 0;

namespace {

// Code page 437 as Unicode, with the control range shown as its glyphs and
// character 0 as a blank.
// clang-format off
constexpr std::array<char32_t, 256> cp437 = {
    U' ', U'☺', U'☻', U'♥', U'♦', U'♣', U'♠', U'•', U'◘', U'○', U'◙', U'♂', U'♀', U'♪', U'♫', U'☼',
    U'►', U'◄', U'↕', U'‼', U'¶', U'§', U'▬', U'↨', U'↑', U'↓', U'→', U'←', U'∟', U'↔', U'▲', U'▼',
    U' ', U'!', U'"', U'#', U'$', U'%', U'&', U'\'', U'(', U')', U'*', U'+', U',', U'-', U'.', U'/',
    U'0', U'1', U'2', U'3', U'4', U'5', U'6', U'7', U'8', U'9', U':', U';', U'<', U'=', U'>', U'?',
    U'@', U'A', U'B', U'C', U'D', U'E', U'F', U'G', U'H', U'I', U'J', U'K', U'L', U'M', U'N', U'O',
    U'P', U'Q', U'R', U'S', U'T', U'U', U'V', U'W', U'X', U'Y', U'Z', U'[', U'\\', U']', U'^', U'_',
    U'`', U'a', U'b', U'c', U'd', U'e', U'f', U'g', U'h', U'i', U'j', U'k', U'l', U'm', U'n', U'o',
    U'p', U'q', U'r', U's', U't', U'u', U'v', U'w', U'x', U'y', U'z', U'{', U'|', U'}', U'~', U'⌂',
    U'Ç', U'ü', U'é', U'â', U'ä', U'à', U'å', U'ç', U'ê', U'ë', U'è', U'ï', U'î', U'ì', U'Ä', U'Å',
    U'É', U'æ', U'Æ', U'ô', U'ö', U'ò', U'û', U'ù', U'ÿ', U'Ö', U'Ü', U'¢', U'£', U'¥', U'₧', U'ƒ',
    U'á', U'í', U'ó', U'ú', U'ñ', U'Ñ', U'ª', U'º', U'¿', U'⌐', U'¬', U'½', U'¼', U'¡', U'«', U'»',
    U'░', U'▒', U'▓', U'│', U'┤', U'╡', U'╢', U'╖', U'╕', U'╣', U'║', U'╗', U'╝', U'╜', U'╛', U'┐',
    U'└', U'┴', U'┬', U'├', U'─', U'┼', U'╞', U'╟', U'╚', U'╔', U'╩', U'╦', U'╠', U'═', U'╬', U'╧',
    U'╨', U'╤', U'╥', U'╙', U'╘', U'╒', U'╓', U'╫', U'╪', U'┘', U'┌', U'█', U'▄', U'▌', U'▐', U'▀',
    U'α', U'ß', U'Γ', U'π', U'Σ', U'σ', U'µ', U'τ', U'Φ', U'Θ', U'Ω', U'δ', U'∞', U'φ', U'ε', U'∩',
    U'≡', U'±', U'≥', U'≤', U'⌠', U'⌡', U'÷', U'≈', U'°', U'∙', U'·', U'√', U'ⁿ', U'²', U'■', U'\u00A0',
};
// clang-format on

// A terminal without UTF-8 shows ASCII as it is, the line, block and arrow
// characters from its line-drawing set (VT100 letters, double lines as single
// ones) and everything else as '?'.
constexpr std::array<std::pair<std::uint8_t, char>, 66> lineDrawingGlyphs = {{
    {0xB3, 'x'}, {0xBA, 'x'}, {0xC4, 'q'}, {0xCD, 'q'},              // │ ║ ─ ═
    {0xDA, 'l'}, {0xC9, 'l'}, {0xD5, 'l'}, {0xD6, 'l'},              // ┌ ╔ ╒ ╓
    {0xBF, 'k'}, {0xBB, 'k'}, {0xB8, 'k'}, {0xB7, 'k'},              // ┐ ╗ ╕ ╖
    {0xC0, 'm'}, {0xC8, 'm'}, {0xD4, 'm'}, {0xD3, 'm'},              // └ ╚ ╘ ╙
    {0xD9, 'j'}, {0xBC, 'j'}, {0xBE, 'j'}, {0xBD, 'j'},              // ┘ ╝ ╛ ╜
    {0xC3, 't'}, {0xCC, 't'}, {0xC6, 't'}, {0xC7, 't'},              // ├ ╠ ╞ ╟
    {0xB4, 'u'}, {0xB9, 'u'}, {0xB5, 'u'}, {0xB6, 'u'},              // ┤ ╣ ╡ ╢
    {0xC1, 'v'}, {0xCA, 'v'}, {0xCF, 'v'}, {0xD0, 'v'},              // ┴ ╩ ╧ ╨
    {0xC2, 'w'}, {0xCB, 'w'}, {0xD1, 'w'}, {0xD2, 'w'},              // ┬ ╦ ╤ ╥
    {0xC5, 'n'}, {0xCE, 'n'}, {0xD8, 'n'}, {0xD7, 'n'},              // ┼ ╬ ╪ ╫
    {0xB0, 'a'}, {0xB1, 'a'}, {0xB2, 'a'},                           // ░ ▒ ▓
    {0xDB, '0'}, {0xDC, '0'}, {0xDD, '0'}, {0xDE, '0'}, {0xDF, '0'}, // █ ▄ ▌ ▐ ▀
    {0xFE, '0'}, {0x10, '+'}, {0x11, ','}, {0x1E, '-'}, {0x1F, '.'}, // ■ ► ◄ ▲ ▼
    {0x1A, '+'}, {0x1B, ','}, {0x18, '-'}, {0x19, '.'},              // → ← ↑ ↓
    {0xF8, 'f'}, {0xF1, 'g'}, {0xF3, 'y'}, {0xF2, 'z'},              // ° ± ≤ ≥
    {0xE3, '{'}, {0x9C, '}'}, {0xF9, '~'}, {0xFA, '~'}, {0x07, '~'}, // π £ ∙ · •
}};

constexpr std::array<char, 256> lineDrawingTable() {
    std::array<char, 256> table{};
    for (auto [code, letter] : lineDrawingGlyphs) table[code] = letter;
    return table;
}
constexpr std::array<char, 256> lineDrawing = lineDrawingTable();

// The PC palette's first eight colours in the terminal's numbering; the
// bright eight follow them at +8 in both.
constexpr std::array<short, 8> terminalColours = {
    COLOR_BLACK, COLOR_BLUE,    COLOR_GREEN,  COLOR_CYAN,
    COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE,
};

struct KeyScan {
    int key;
    std::uint8_t scan;
};

// Keys without a character, as the terminal library names them, and their PC
// scan codes.
const std::array<KeyScan, 38> extendedKeys = {{
    {KEY_HOME, 71},  {KEY_A1, 71},     {KEY_UP, 72},     {KEY_PPAGE, 73}, {KEY_A3, 73},
    {KEY_LEFT, 75},  {KEY_B2, 76},     {KEY_RIGHT, 77},  {KEY_END, 79},   {KEY_C1, 79},
    {KEY_DOWN, 80},  {KEY_NPAGE, 81},  {KEY_C3, 81},     {KEY_IC, 82},    {KEY_DC, 83},
    {KEY_BTAB, 15},  {KEY_F(1), 59},   {KEY_F(2), 60},   {KEY_F(3), 61},  {KEY_F(4), 62},
    {KEY_F(5), 63},  {KEY_F(6), 64},   {KEY_F(7), 65},   {KEY_F(8), 66},  {KEY_F(9), 67},
    {KEY_F(10), 68}, {KEY_F(11), 133}, {KEY_F(12), 134}, {KEY_F(13), 84}, {KEY_F(14), 85},
    {KEY_F(15), 86}, {KEY_F(16), 87},  {KEY_F(17), 88},  {KEY_F(18), 89}, {KEY_F(19), 90},
    {KEY_F(20), 91}, {KEY_F(21), 92},  {KEY_F(22), 93},
}};

struct NamedKeyScan {
    const char* name;
    std::uint8_t scan;
};

// Navigation keys with Ctrl (suffix 5) or Alt (suffix 3) held, by their
// terminfo names; the library gives them key codes only at run time.
constexpr std::array<NamedKeyScan, 20> modifiedKeys = {{
    {"kHOM5", 119}, {"kUP5", 141}, {"kPRV5", 132}, {"kLFT5", 115}, {"kRIT5", 116},
    {"kEND5", 117}, {"kDN5", 145}, {"kNXT5", 118}, {"kIC5", 146},  {"kDC5", 147},
    {"kHOM3", 151}, {"kUP3", 152}, {"kPRV3", 153}, {"kLFT3", 155}, {"kRIT3", 157},
    {"kEND3", 159}, {"kDN3", 160}, {"kNXT3", 161}, {"kIC3", 162},  {"kDC3", 163},
}};

// Letters and digits with Alt held arrive as Esc and the character; the PC
// reports them by the key's scan code.
constexpr std::string_view altLetters = "qwertyuiopasdfghjklzxcvbnm";
constexpr std::array<std::uint8_t, 26> altLetterScans = {
    16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 30, 31, 32,
    33, 34, 35, 36, 37, 38, 44, 45, 46, 47, 48, 49, 50,
};
constexpr std::uint8_t altDigitOneScan = 120; // Alt+1 to Alt+9, then Alt+0 at 129

// Long enough to see an arrow key's sequence arrive whole, too short for a
// user to notice on Esc.
constexpr int escapeDelayMs = 25;
constexpr int sizeWaitMs = 250;
constexpr int sizePollMs = 10;

constexpr std::array<int, 10> restoringSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV,
                                                  SIGBUS, SIGFPE,  SIGILL, SIGABRT, SIGTRAP};

SCREEN* terminal = nullptr;
std::atomic<bool> consoleIsOpen = false;
int terminalFd = -1;
termios savedModes{};
winsize formerSize{};
bool sizeRequested = false;
std::string savedLocale;
std::array<struct sigaction, NSIG> formerActions{};
std::array<bool, NSIG> handlerInstalled{};

// What a signal handler writes to give the terminal back; built ahead because
// a handler may only write bytes.
std::array<char, 256> restoreSequence{};
std::size_t restoreLength = 0;

bool utf8Terminal = true;
int colourCount = 0; // 16, 8, or 0 for attributes without colour
std::vector<std::uint16_t> shownCells;
bool redrawAll = true;

CursorShape cursorShape = cursorUnderline;
std::uint16_t cursorColumn = 0;
std::uint16_t cursorRow = 0;

std::array<KeyScan, modifiedKeys.size()> runtimeKeys{};
std::size_t runtimeKeyCount = 0;
std::array<std::uint8_t, 2> pendingCodes{};
std::size_t pendingCount = 0;

void appendRestore(const char* sequence) {
    if (sequence == nullptr || sequence == reinterpret_cast<const char*>(-1)) return;
    std::size_t length = std::strlen(sequence);
    if (restoreLength + length > restoreSequence.size()) return;
    std::memcpy(restoreSequence.data() + restoreLength, sequence, length);
    restoreLength += length;
}

std::string sizeRequest(int rows, int columns) {
    return "\x1b[8;" + std::to_string(rows) + ";" + std::to_string(columns) + "t";
}

void buildRestoreSequence() {
    restoreLength = 0;
    appendRestore(tigetstr("sgr0"));
    appendRestore(tigetstr("cnorm"));
    appendRestore(tigetstr("rmkx"));
    appendRestore(tigetstr("rmcup"));
    if (sizeRequested) appendRestore(sizeRequest(formerSize.ws_row, formerSize.ws_col).c_str());
}

void writeTerminal(const char* bytes, std::size_t length) {
    while (length > 0) {
        ssize_t written = write(terminalFd, bytes, length);
        if (written <= 0) return;
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
}

extern "C" void restoreOnSignal(int signalNumber) {
    if (consoleIsOpen.load()) {
        writeTerminal(restoreSequence.data(), restoreLength);
        tcsetattr(terminalFd, TCSADRAIN, &savedModes);
    }
    // Let the signal do what it would have done without us: end the program
    // with that signal, or reach the handler that was there before.
    sigaction(signalNumber, &formerActions[static_cast<std::size_t>(signalNumber)], nullptr);
    raise(signalNumber);
}

void installSignalHandlers() {
    for (int signalNumber : restoringSignals) {
        auto index = static_cast<std::size_t>(signalNumber);
        sigaction(signalNumber, nullptr, &formerActions[index]);
        // A signal the program was started to ignore stays ignored.
        if (formerActions[index].sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = restoreOnSignal;
        sigemptyset(&action.sa_mask);
        sigaction(signalNumber, &action, nullptr);
        handlerInstalled[index] = true;
    }
}

void removeSignalHandlers() {
    for (int signalNumber : restoringSignals) {
        auto index = static_cast<std::size_t>(signalNumber);
        if (!handlerInstalled[index]) continue;
        sigaction(signalNumber, &formerActions[index], nullptr);
        handlerInstalled[index] = false;
    }
}

void findModifiedKeys() {
    runtimeKeyCount = 0;
    for (const NamedKeyScan& named : modifiedKeys) {
        const char* sequence = tigetstr(named.name);
        if (sequence == nullptr || sequence == reinterpret_cast<const char*>(-1)) continue;
        int key = key_defined(sequence);
        if (key > 0) runtimeKeys[runtimeKeyCount++] = {key, named.scan};
    }
}

int chooseColourCount() {
    if (!has_colors()) return 0;
    if (COLORS >= 16 && COLOR_PAIRS >= 16 * 16) return 16;
    if (COLORS >= 8 && COLOR_PAIRS >= 8 * 8) return 8;
    return 0;
}

short terminalColour(int pcColour) {
    return static_cast<short>(terminalColours[static_cast<std::size_t>(pcColour & 7)] +
                              (pcColour & 8));
}

// Pair 0 is the terminal's own default colours, so pair 1 + background x n +
// foreground. The last colour on itself would need pair n x n, one more than
// a terminal with exactly n x n pairs has; such a cell shows only its
// background and is drawn as a blank in another pair.
short colourPair(int foreground, int background) {
    return static_cast<short>(1 + background * colourCount + foreground);
}

void initColourPairs() {
    for (int background = 0; background < colourCount; ++background)
        for (int foreground = 0; foreground < colourCount; ++foreground)
            if (foreground != colourCount - 1 || background != colourCount - 1)
                init_pair(colourPair(foreground, background), terminalColour(foreground),
                          terminalColour(background));
}

wchar_t glyphFor(int ch) {
    if (utf8Terminal) return static_cast<wchar_t>(cp437[static_cast<std::size_t>(ch)]);
    if (ch > 0x20 && ch < 0x7F) return ch;
    if (ch == 0 || ch == 0x20 || ch == 0xFF) return L' ';
    char letter = lineDrawing[static_cast<std::size_t>(ch)];
    return letter != 0 ? letter : L'?';
}

void drawCell(int x, int y, std::uint16_t cell) {
    int foreground = (cell >> 8) & 0x0F;
    int background = cell >> 12;
    std::array<wchar_t, 2> glyph = {glyphFor(cell & 0xFF), 0};
    attr_t attributes = A_NORMAL;
    if (!utf8Terminal && lineDrawing[cell & 0xFF] != 0) attributes |= A_ALTCHARSET;
    short pair = 0;
    if (colourCount == 16 || colourCount == 8) {
        if (colourCount == 8) {
            if (foreground & 8) attributes |= A_BOLD;
            foreground &= 7;
            background &= 7;
        }
        if (foreground == colourCount - 1 && background == colourCount - 1) {
            glyph[0] = L' ';
            foreground = 0;
            attributes = A_NORMAL;
        }
        pair = colourPair(foreground, background);
    } else {
        if (foreground & 8) attributes |= A_BOLD;
        if (background & 7) attributes |= A_REVERSE;
    }
    cchar_t drawn;
    setcchar(&drawn, glyph.data(), attributes, pair, nullptr);
    mvwadd_wch(stdscr, y, x, &drawn);
}

int visibleColumns() { return std::min<int>(screenWidth, COLS); }
int visibleRows() { return std::min<int>(screenHeight, LINES); }

void placeCursor() {
    bool onScreen = cursorColumn < visibleColumns() && cursorRow < visibleRows();
    if (cursorShape == cursorHidden || !onScreen) {
        curs_set(0);
        return;
    }
    wmove(stdscr, cursorRow, cursorColumn);
    curs_set(1);
}

void drawChangedCells() {
    for (int y = 0; y < visibleRows(); ++y) {
        for (int x = 0; x < visibleColumns(); ++x) {
            std::size_t index = static_cast<std::size_t>(y) * screenWidth + x;
            if (!redrawAll && cellBuffer[index] == shownCells[index]) continue;
            drawCell(x, y, cellBuffer[index]);
            shownCells[index] = cellBuffer[index];
        }
    }
    redrawAll = false;
    placeCursor();
    wrefresh(stdscr);
}

// After the terminal changed size the library has resized its own screen;
// what is shown is drawn again from nothing.
void redrawAfterResize() {
    werase(stdscr);
    clearok(stdscr, TRUE);
    redrawAll = true;
    drawChangedCells();
}

bool terminalHasSize(std::uint16_t columns, std::uint16_t rows) {
    winsize size{};
    return ioctl(terminalFd, TIOCGWINSZ, &size) == 0 && size.ws_col == columns &&
           size.ws_row == rows;
}

bool waitForSize(std::uint16_t columns, std::uint16_t rows) {
    for (int waited = 0; waited < sizeWaitMs; waited += sizePollMs) {
        if (terminalHasSize(columns, rows)) return true;
        napms(sizePollMs);
    }
    return terminalHasSize(columns, rows);
}

void queueCode(std::uint8_t code) { pendingCodes[pendingCount++] = code; }

void queueExtended(std::uint8_t scan) {
    queueCode(0);
    queueCode(scan);
}

void queueSpecialKey(int key) {
    if (key == KEY_RESIZE) {
        redrawAfterResize();
        return;
    }
    if (key == KEY_ENTER) return queueCode(13);
    if (key == KEY_BACKSPACE) return queueCode(8);
    for (const KeyScan& known : extendedKeys)
        if (known.key == key) return queueExtended(known.scan);
    for (std::size_t i = 0; i < runtimeKeyCount; ++i)
        if (runtimeKeys[i].key == key) return queueExtended(runtimeKeys[i].scan);
}

// The rest of a key sequence the terminal library does not know: a CSI runs
// to its final byte, an SS3 has one more byte. Dropped whole, so that its
// Esc does not reach the program as the Esc key.
void discardSequence(bool controlSequence) {
    wint_t next = 0;
    while (wget_wch(stdscr, &next) == OK && controlSequence && next >= 0x20 && next < 0x40) {}
}

// An Esc that arrives with another key right behind it is that key with Alt
// held: letters and digits give their Alt scan codes, other keys have none
// the program could use and are dropped rather than read as Esc.
void queueEscape() {
    wint_t next = 0;
    int kind = wget_wch(stdscr, &next);
    if (kind == ERR) return queueCode(27);
    if (kind == OK && (next == '[' || next == 'O')) return discardSequence(next == '[');
    if (kind != OK || next >= 128) return;
    auto ch = static_cast<char>(std::tolower(static_cast<int>(next)));
    std::size_t letter = altLetters.find(ch);
    if (letter != std::string_view::npos) return queueExtended(altLetterScans[letter]);
    if (ch >= '1' && ch <= '9') return queueExtended(altDigitOneScan + (ch - '1'));
    if (ch == '0') return queueExtended(altDigitOneScan + 9);
}

void queueCharacter(wint_t ch) {
    if (ch == 27) return queueEscape();
    if (ch == 127) return queueCode(8);
    if (ch < 128) return queueCode(static_cast<std::uint8_t>(ch));
    for (std::size_t code = 128; code < cp437.size(); ++code)
        if (cp437[code] == ch) return queueCode(static_cast<std::uint8_t>(code));
}

// Reads at most one key from the terminal into the pending codes.
void pollTerminal() {
    wint_t input = 0;
    int kind = wget_wch(stdscr, &input);
    if (kind == KEY_CODE_YES) queueSpecialKey(static_cast<int>(input));
    if (kind == OK) queueCharacter(input);
}

} // namespace

bool consoleOpen() {
    if (consoleIsOpen.load()) return true;
    terminalFd = fileno(stdout);
    if (!isatty(terminalFd) || !isatty(fileno(stdin))) return false;
    if (tcgetattr(terminalFd, &savedModes) != 0) return false;
    ioctl(terminalFd, TIOCGWINSZ, &formerSize);
    savedLocale = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "");
    utf8Terminal = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    // Ours come first, so the library does not put its own in their place.
    installSignalHandlers();
    terminal = newterm(nullptr, stdout, stdin);
    if (terminal == nullptr) {
        removeSignalHandlers();
        std::setlocale(LC_CTYPE, savedLocale.c_str());
        return false;
    }
    set_term(terminal);
    cbreak();
    noecho();
    nonl();
    intrflush(stdscr, FALSE);
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    // A key that arrives while a screen is being sent must not cut it short.
    typeahead(-1);
    set_escdelay(escapeDelayMs);
    if (has_colors()) start_color();
    sizeRequested = false;
    buildRestoreSequence();
    findModifiedKeys();
    pendingCount = 0;
    consoleIsOpen.store(true);
    static bool closeAtExitRegistered = false;
    if (!closeAtExitRegistered) closeAtExitRegistered = std::atexit(consoleClose) == 0;
    return true;
}

void consoleClose() {
    if (!consoleIsOpen.load()) return;
    curs_set(1);
    endwin();
    delscreen(terminal);
    terminal = nullptr;
    if (sizeRequested) {
        std::string request = sizeRequest(formerSize.ws_row, formerSize.ws_col);
        writeTerminal(request.data(), request.size());
    }
    tcsetattr(terminalFd, TCSADRAIN, &savedModes);
    consoleIsOpen.store(false);
    removeSignalHandlers();
    std::setlocale(LC_CTYPE, savedLocale.c_str());
}

bool consoleSetMode(std::uint16_t columns, std::uint16_t rows, bool colour) {
    screenWidth = columns;
    screenHeight = rows;
    cellBuffer.assign(std::size_t{columns} * rows, 0);
    shownCells.assign(cellBuffer.size(), 0);
    redrawAll = true;
    if (!consoleIsOpen.load()) return false;
    colourCount = colour ? chooseColourCount() : 0;
    initColourPairs();
    werase(stdscr);
    if (terminalHasSize(columns, rows)) return true;
    std::string request = sizeRequest(rows, columns);
    writeTerminal(request.data(), request.size());
    sizeRequested = true;
    buildRestoreSequence();
    if (!waitForSize(columns, rows)) return false;
    resizeterm(rows, columns);
    return true;
}

void consoleSetCursorShape(CursorShape shape) {
    cursorShape = shape;
    if (!consoleIsOpen.load()) return;
    placeCursor();
    wrefresh(stdscr);
}

void consoleSetCursorPos(std::uint16_t column, std::uint16_t row) {
    cursorColumn = column;
    cursorRow = row;
    if (!consoleIsOpen.load()) return;
    placeCursor();
    wrefresh(stdscr);
}

void consoleUpdate() {
    if (consoleIsOpen.load()) drawChangedCells();
}

bool consoleKeyPressed() {
    if (!consoleIsOpen.load()) return false;
    if (pendingCount == 0) pollTerminal();
    return pendingCount > 0;
}

std::uint8_t consoleReadKey() {
    // Without a terminal no key can come; Esc lets every screen end.
    if (!consoleIsOpen.load()) return 27;
    while (!consoleKeyPressed()) napms(1);
    std::uint8_t code = pendingCodes[0];
    pendingCodes[0] = pendingCodes[1];
    --pendingCount;
    return code;
}
