#include "app/song.h"

#include "app/player.h"
#include "audio/audio_stream.h"
#include "cpu/c64_io.h"
#include "cpu/cpu.h"
#include "screen/text_screen.h"
#include "sidopl/sid_image.h"
#include "tune/tune_loader.h"

#include <cstring>
#include <string>
#include <string_view>

std::atomic<std::uint32_t> frameCounter;
std::uint8_t selectedSong;
std::uint16_t playingSong;
std::atomic<bool> cpuFault;

namespace {

// The return address $0000, pushed straight into memory: RTS then goes on at
// $0001, where a zero byte halts the CPU.
void pushReturnTrap() {
    for (int i = 0; i < 2; ++i) C64Memory[0x0100 + cpu::S--] = 0;
}

std::string_view text(const std::array<char, tuneTextSize>& field) {
    return {field.data(), strnlen(field.data(), field.size())};
}

// 50 for the vertical blank; else what the init routine programmed into
// CIA timer A, its low 16 bits kept; else 60.
std::uint16_t chosenRate() {
    if (TuneInfo.vblankSpeed == 1) return 50;
    if (ciaTimerLatch != 0) {
        return static_cast<std::uint16_t>(
            static_cast<std::uint32_t>(static_cast<double>(c64ClockHz) / ciaTimerLatch));
    }
    return 60;
}

} // namespace

bool initSong(std::uint8_t song) {
    pauseAudio();
    frameCounter = 0;
    ciaTimerLatch = 0;
    sidReset();
    if (!loadTune()) return false;
    C64Memory[0x0000] = 0;
    if (song == 0) song = TuneInfo.startSong & 0xFF;
    playingSong = song;
    selectedSong = song;

    gotoXY(1, 10);
    writeText("Playing " + std::to_string(song) + "/" + std::to_string(TuneInfo.songCount));
    clearEol();
    newLine();
    gotoXY(1, 5);
    writeLine("Songtitle: " + std::string(text(TuneInfo.name)));
    writeLine("Composer : " + std::string(text(TuneInfo.author)));
    writeLine("Copyright: " + std::string(text(TuneInfo.copyright)));

    cpuHalted = false;
    cpuReset();
    cpu::A = static_cast<std::uint8_t>(song - 1);
    pushReturnTrap();
    cpu::PC = TuneInfo.initAddress;
    syncApplied();
    if (!cpuRun(initBudget)) {
        showMessage("SID-Init Error", true);
        return false;
    }
    syncApplied();
    cpuHalted = false;
    cpuFault = false;

    const std::uint16_t rate = chosenRate();
    if (TuneInfo.playAddress == 0) {
        TuneInfo.playAddress = C64Memory[0x0314] | C64Memory[0x0315] << 8;
    }
    setRateAndUnpause(rate);
    return true;
}

void playTick() {
    ++frameCounter;
    cpuHalted = false;
    cpuReset();
    pushReturnTrap();
    cpu::PC = TuneInfo.playAddress;
    if (!cpuRun(playBudget)) {
        cpuFault = true;
        playerRunning = false;
    }
    sidApplyAll();
    frameDone = true;
}
