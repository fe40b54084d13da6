// The player as the program runs it, on the headless console and the real
// OPL3 core, with a thread of the test standing in for the audio device: it
// calls the audio callback whenever the player waits for a tick, so every
// redraw pass gets exactly one buffer of 4096 frames. The pass draws as soon
// as the buffer's first tick is done; a script runs on the player's own
// thread at every key poll, once per pass, after the buffer is complete.
#pragma once

#include "app/player.h"
#include "app/song.h"
#include "audio/audio_stream.h"
#include "cpu/c64_io.h"
#include "cpu/cpu.h"
#include "screen/console_headless.h"
#include "screen/text_screen.h"
#include "sidopl/opl_port.h"
#include "sidopl/sid_image.h"
#include "sidopl/voice_translation.h"
#include "sidopl/ymf262.h"
#include "tune/tune_loader.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

// A PSID file built in the test: one block of code loaded at `load`.
struct TestTune {
    std::uint16_t load = 0x1000, init = 0x1000, play = 0x1003;
    std::uint16_t songs = 1, startSong = 1;
    bool vblank = true; // 50 Hz
    std::string name = "Test tune", author = "Quavix tests", copyright = "2026 Quavix";
    std::vector<std::uint8_t> code = {0x60, 0x00, 0x00, 0x60}; // init: RTS; play: RTS
};

inline void writePsid(const std::filesystem::path& path, const TestTune& tune) {
    std::vector<std::uint8_t> bytes(0x7C, 0);
    auto word = [&](std::size_t at, std::uint16_t value) {
        bytes[at] = value >> 8;
        bytes[at + 1] = value & 0xFF;
    };
    bytes[0] = 'P', bytes[1] = 'S', bytes[2] = 'I', bytes[3] = 'D';
    word(4, 2);
    word(6, 0x7C);
    word(8, tune.load);
    word(10, tune.init);
    word(12, tune.play);
    word(14, tune.songs);
    word(16, tune.startSong);
    bytes[21] = tune.vblank ? 0 : 1; // song 1's speed bit: set for the CIA timer
    auto text = [&](std::size_t at, const std::string& value) {
        for (std::size_t i = 0; i < value.size() && i < 32; ++i) bytes[at + i] = value[i];
    };
    text(22, tune.name);
    text(54, tune.author);
    text(86, tune.copyright);
    bytes.insert(bytes.end(), tune.code.begin(), tune.code.end());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

class PlayerTest : public ::testing::Test {
  protected:
    static inline std::function<void(int pass)> script;
    static inline int pass;
    // What the device would have played, per song as the script marks it.
    static inline std::atomic<int> segment;
    static inline std::array<std::atomic<double>, 8> energy;

    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("quavix-player-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        headlessReset();
        consoleOpen();
        consoleSetMode(80, 50, true);
        textAttr = 7;
        buildNoteTable();
        writeHook = c64WriteHook;
        oplChip = YMF262Init(1, 14400000, outputRate);
        YMF262ResetChip(oplChip);
        oplClear();
        initBridgeTables();
        adsrBugEnabled = false;
        sidReset();
        fastForward = false;
        sampleCounter = 1;
        samplesPerTick = outputRate / 50;
        playRate = 50;
        tickHandler = signalFrameDone;
        frameDone = false;
        pass = 0;
        segment = 0;
        for (auto& e : energy) e = 0;
        script = [](int) { headless.keys.push_back(27); };
        headless.onKeyPoll = [] {
            // The buffer whose first tick ended the wait is finished first, so
            // that each pass sees one whole buffer and the script acts while
            // no tick runs.
            audioRunExclusive([] {});
            script(++pass);
        };
        stop = false;
        device = std::thread(runDevice);
    }

    void TearDown() override {
        stop = true;
        device.join();
        headless.onKeyPoll = nullptr;
        tickHandler = signalFrameDone;
        adsrBugEnabled = false;
        fastForward = false;
        YMF262Shutdown();
        std::filesystem::remove_all(dir);
    }

    // Writes the tune, makes it the one to play and runs the player.
    void play(const TestTune& tune) {
        tuneFileName = (dir / "tune.sid").string();
        writePsid(tuneFileName, tune);
        runPlayer();
    }

    // Row (from 1) as characters, and one cell's attribute.
    static std::string row(int r) {
        std::string text;
        for (int c = 0; c < 80; ++c) text += char(cellBuffer[(r - 1) * 80 + c] & 0xFF);
        return text;
    }
    static std::uint8_t attrAt(int column, int r) {
        return cellBuffer[(r - 1) * 80 + column - 1] >> 8;
    }
    // An extended key: 0, then its scan code.
    static void extended(std::uint8_t code) {
        headless.keys.push_back(0);
        headless.keys.push_back(code);
    }
    // Runs `work` where it cannot meet a tick or the rendering.
    static void exclusive(void (*work)()) { audioRunExclusive(work); }

    std::filesystem::path dir;

  private:
    static inline std::atomic<bool> stop;
    static inline std::thread device;

    static void runDevice() {
        std::array<std::uint8_t, framesPerBuffer * 4> stream;
        while (!stop) {
            if (frameDone) {
                std::this_thread::yield();
                continue;
            }
            audioCallback(nullptr, stream.data(), stream.size());
            double sum = 0;
            for (std::size_t i = 0; i + 1 < stream.size(); i += 2) {
                const double s = std::int16_t(stream[i] | stream[i + 1] << 8);
                sum += s * s;
            }
            energy[segment] = energy[segment] + sum;
            // A paused stream gives no tick: do not spin on it.
            if (!frameDone) std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
};
