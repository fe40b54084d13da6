#include "app/player.h"

#include "app/song.h"
#include "audio/audio_stream.h"
#include "cpu/cpu.h"
#include "screen/console.h"
#include "screen/text_screen.h"
#include "sidopl/opl_port.h"
#include "sidopl/sid_image.h"
#include "tune/tune_loader.h"

#include <string>

std::array<std::uint8_t, 4096> noteTable;
const std::array<const char*, 16> noteNames = {"C-", "C#", "D-", "D#", "E-", "F-", "F-", "F#",
                                               "G-", "G#", "G#", "A-", "A-", "A#", "B-", "B-"};
const char hexDigits[17] = "0123456789ABCDEF";
std::atomic<bool> playerRunning;
bool fastForward;

namespace {

// Each octave's range of frequencies split into 16 equal parts.
struct NoteRange {
    int first, last, octave, hzPerSlot;
};
// clang-format off
constexpr NoteRange noteRanges[] = {
    //  Hz first   last  octave  Hz per slot
    {      0,     15,     0,     0},  // all slot 0
    {     16,     31,     0,     1},
    {     32,     63,     1,     2},
    {     64,    127,     2,     4},
    {    128,    255,     3,     8},
    {    256,    511,     4,    16},
    {    512,   1023,     5,    32},
    {   1024,   2047,     6,    64},
    {   2048,   4095,     7,   128},
};
// clang-format on

constexpr const char* titleRow = "\xDB\xDB Quavix 1.4 b20080114";
constexpr const char* creditRow =
    "\xB2\xB1 SID-to-OPL3 waves and envelopes: shaped by ear by the Quavix developers";
constexpr const char* greetingRow =
    "\xB1\xB1 Greetings to everyone who keeps the sound of the C64 alive";

// The arrows are code page 437: 0x11 left, 0x10 right, 0x1F down, 0x1E up.
constexpr const char* keyHelpOn =
    "Keys  :  <\x11><\x10>-change song  <\x1F><\x1E>-change speed  <SPACE>-ADSR bug ON/off <ESC>";
constexpr const char* keyHelpOff =
    "Keys  :  <\x11><\x10>-change song  <\x1F><\x1E>-change speed  <SPACE>-ADSR bug on/OFF <ESC>";

constexpr std::uint8_t plainAttr = 7;
constexpr std::uint8_t gateOffAttr = 8;
constexpr std::uint8_t gateOnAttr = 15;
constexpr char rightArrow = '\x10';

std::string hex(unsigned value, int digits) {
    std::string text(digits, '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) text[i] = hexDigits[value & 0x0F];
    return text;
}

std::string rightAligned(unsigned value, std::size_t width) {
    std::string text = std::to_string(value);
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

// The SID registers as one log line shows them, read once so that a line's
// colour and its columns agree.
using SidRegisters = std::array<std::uint8_t, sidRegisterCount>;
SidRegisters readSidRegisters() {
    SidRegisters registers;
    for (int reg = 0; reg < sidRegisterCount; ++reg) registers[reg] = sidWritten(reg);
    return registers;
}

void writeKeyHelp() {
    gotoXY(1, 50);
    writeText(adsrBugEnabled ? keyHelpOn : keyHelpOff);
}

void drawFixedRows() {
    clearScreen();
    gotoXY(1, 1);
    clearEol();
    writeLine(titleRow);
    writeLine(creditRow);
    writeLine(greetingRow);
    writeKeyHelp();
}

// Note, pulse width, control, attack/decay and sustain/release of the voice
// whose registers start at b: 18 columns.
std::string voiceBlock(const SidRegisters& sid, int b) {
    const int i = (sid[b] | sid[b + 1] << 8) / 17;
    std::string block;
    if (i > 0) {
        const std::uint8_t note = noteTable[i];
        block += noteNames[note & 0x0F];
        block += char('0' + (note >> 4));
        block += ' ';
    } else {
        block += "... ";
    }
    block += hex(sid[b + 3] & 0x0F, 1);
    block += hex(sid[b + 2], 2);
    block += ' ';
    block += hex(sid[b + 4], 2);
    block += ' ';
    block += hex(sid[b + 5], 2);
    block += hex(sid[b + 6], 2);
    block += "   ";
    return block;
}

char flag(std::uint8_t value, int bit, char shown) { return (value >> bit) & 1 ? shown : '.'; }

// Filter cutoff, routing, mode, resonance and volume.
std::string filterColumns(const SidRegisters& sid) {
    std::string text = " ";
    text += hex(sid[22], 2);
    text += hex(sid[21], 2);
    text += ' ';
    text += flag(sid[23], 0, '1');
    text += flag(sid[23], 1, '2');
    text += flag(sid[23], 2, '3');
    text += ' ';
    text += flag(sid[24], 4, 'L');
    text += flag(sid[24], 5, 'B');
    text += flag(sid[24], 6, 'H');
    text += ' ';
    text += hex(sid[23] >> 4, 1);
    text += hex(sid[24] & 0x0F, 1);
    return text;
}

void writeLogLine() {
    const SidRegisters sid = readSidRegisters();
    textAttr = plainAttr;
    std::string counters = hex(static_cast<std::uint8_t>(selectedSong - 1), 2);
    counters += hex(frameCounter & 0xFFFFFF, 6);
    counters += "  ";
    writeText(counters);
    for (int voice = 0; voice < 3; ++voice) {
        textAttr = (sid[7 * voice + 4] & 1) ? gateOnAttr : gateOffAttr;
        writeText(voiceBlock(sid, 7 * voice));
    }
    textAttr = plainAttr;
    writeText(filterColumns(sid));
}

void writeSongLine() {
    gotoXY(1, 10);
    writeText("Playing " + std::to_string(playingSong) + "/" + std::to_string(TuneInfo.songCount) +
              " at " + std::to_string(playRate) + "hz");
    clearEol();
    newLine();
}

// Minutes are kept in 8 bits; both fields show at least two digits.
void writePlayTime() {
    // The rate of a tune's own timer keeps only its low 16 bits and so could
    // be 0; the time then counts calls as seconds rather than divide by it.
    const unsigned rate = playRate ? playRate.load() : 1;
    const unsigned seconds = frameCounter / rate;
    const unsigned minutes = (seconds / 60) & 0xFF;
    gotoXY(1, 8);
    writeText("Playtime :" + rightAligned(minutes, 3) + ":" + rightAligned(seconds % 60, 2) + " " +
              rightArrow + (fastForward ? rightArrow : ' '));
    if (minutes < 10) {
        gotoXY(12, 8);
        writeText("0");
    }
    if (seconds % 60 < 10) {
        gotoXY(15, 8);
        writeText("0");
    }
}

// A song that fails to start leaves the stream paused, so no tick can come:
// the player then shows its fixed rows and only reads keys, so that another
// song can be picked or the player left.
bool startSong(std::uint8_t song) {
    const bool started = initSong(song);
    if (!started) drawFixedRows();
    return started;
}

void redraw() {
    flushScreen();
    frameDone = false;
    while (!frameDone) delayMs(1);
    scrollUp(12, 36);
    gotoXY0(0, 47);
    writeLogLine();
    textAttr = plainAttr;
    flushScreen();
    if (fastForward) audioRunExclusive(playTick);
    writeSongLine();
    writePlayTime();
}

void handleKey(std::uint8_t key, bool& playing) {
    switch (key) {
    case keyEnter: playing = startSong(selectedSong); break;
    case keyEsc: playerRunning = false; break;
    case keySpace:
        adsrBugEnabled = !adsrBugEnabled;
        writeKeyHelp();
        break;
    case 0:
        switch (readKey()) {
        case scanUp: fastForward = true; break;
        case scanDown: fastForward = false; break;
        case scanLeft:
            if (selectedSong > 1) playing = startSong(--selectedSong);
            break;
        case scanRight:
            if (selectedSong < TuneInfo.songCount) playing = startSong(++selectedSong);
            break;
        }
        break;
    }
}

} // namespace

void buildNoteTable() {
    for (const NoteRange& range : noteRanges) {
        for (int hz = range.first; hz <= range.last; ++hz) {
            const int slot = range.hzPerSlot ? (hz - range.first) / range.hzPerSlot : 0;
            noteTable[hz] = static_cast<std::uint8_t>(range.octave << 4 | slot);
        }
    }
}

void runPlayer() {
    drawFixedRows();
    cpuBuildTables();
    cpuReset();
    if (initSong(0)) {
        frameCounter = 0;
        tickHandler = playTick;
        playerRunning = true;
        bool playing = true;
        while (playerRunning) {
            if (playing) {
                redraw();
            } else {
                flushScreen();
                delayMs(10);
            }
            if (keyPressed()) handleKey(readKey(), playing);
        }
        if (cpuFault) showMessage("Quavix CPU Error", true);
    }
    pauseAudio();
    sidReset();
    oplClear();
}
