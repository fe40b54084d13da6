// The main thread and the audio thread never run the emulation at the same
// time. A thread of the test stands for the device's audio thread and calls
// the callback back to back; the 6502 routines store through the C64 hook as
// a tune does.
#include "audio/audio_stream.h"
#include "cpu/c64_io.h"
#include "cpu/cpu.h"
#include "sidopl/opl_port.h"
#include "sidopl/ymf262_recording.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::atomic<int> ticks;
std::atomic<int> inside; // ticks and exclusive runs in progress
std::atomic<int> overlaps;

void enter() {
    if (inside.fetch_add(1) != 0) ++overlaps;
}
void leave() { inside.fetch_sub(1); }

// Runs a routine placed at $1000 through the hook, as a play call does.
void runRoutine() {
    cpuHalted = false;
    cpuReset();
    cpu::PC = 0x1000;
    cpuRun(1000);
}

void countingTick() {
    enter();
    ++ticks;
    oplWrite(0xA0, 0x44); // the chip is written inside every tick
    leave();
}

// The stand-in for the device's thread.
class AudioThread {
  public:
    AudioThread()
        : thread([this] {
              std::array<std::uint8_t, framesPerBuffer * 4> stream;
              while (!stop) audioCallback(nullptr, stream.data(), stream.size());
          }) {}
    ~AudioThread() {
        stop = true;
        thread.join();
    }

  private:
    std::atomic<bool> stop{false};
    std::thread thread;
};

template <typename Condition> bool waitFor(Condition condition) {
    for (int i = 0; i < 5000 && !condition(); ++i) std::this_thread::sleep_for(1ms);
    return condition();
}

class AudioExclusionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ymfRecordingClear();
        C64Memory.fill(0);
        cpuBuildTables();
        writeHook = c64WriteHook;
        ticks = 0;
        inside = 0;
        overlaps = 0;
        sampleCounter = 1;
        samplesPerTick = 48;
        tickHandler = countingTick;
    }
    void TearDown() override {
        pauseAudio();
        tickHandler = signalFrameDone;
    }

    static void poke(std::uint16_t address, std::initializer_list<std::uint8_t> bytes) {
        for (std::uint8_t byte : bytes) C64Memory[address++] = byte;
    }
};

TEST_F(AudioExclusionTest, AfterPauseNoTickRunsOrStartsAndNothingIsRendered) {
    AudioThread audio;
    setRateAndUnpause(999);
    ASSERT_TRUE(waitFor([] { return ticks > 20; }));
    pauseAudio();
    EXPECT_EQ(inside, 0);
    const int ticksAtPause = ticks;
    const long renderedAtPause = ymfRecordingCounts().framesRendered;
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(ticks, ticksAtPause);
    EXPECT_EQ(ymfRecordingCounts().framesRendered, renderedAtPause);

    setRateAndUnpause(999);
    EXPECT_TRUE(waitFor([=] { return ticks > ticksAtPause; }));
}

TEST_F(AudioExclusionTest, RateSetByTheTuneDuringInitLeavesTheStreamPaused) {
    AudioThread audio;
    setRateAndUnpause(999);
    ASSERT_TRUE(waitFor([] { return ticks > 0; }));
    pauseAudio();
    const int ticksAtPause = ticks;

    // The init routine programs timer A for 59 ticks per second.
    poke(0x1000, {0xA9, 0x25, 0x8D, 0x04, 0xDC, 0xA9, 0x40, 0x8D, 0x05, 0xDC});
    runRoutine();
    EXPECT_EQ(playRate, 59);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(ticks, ticksAtPause);

    setRateAndUnpause(999);
    EXPECT_TRUE(waitFor([=] { return ticks > ticksAtPause; }));
}

// The play routine sets timer A inside the tick: playRate changes at once
// and the callback does not wait on itself.
void tickSettingTheTimer() {
    runRoutine();
    ++ticks;
}

TEST_F(AudioExclusionTest, RateSetByTheTuneInsideATickChangesAtOnce) {
    poke(0x1000, {0xA9, 0x4C, 0x8D, 0x05, 0xDC, 0xA9, 0xC7, 0x8D, 0x04, 0xDC});
    tickHandler = tickSettingTheTimer;
    AudioThread audio;
    setRateAndUnpause(999);
    ASSERT_TRUE(waitFor([] { return ticks > 2; }));
    pauseAudio();
    EXPECT_EQ(playRate, 1); // paused
    EXPECT_EQ(samplesPerTick, outputRate / 50);
}

TEST_F(AudioExclusionTest, ExclusiveRunsNeverOverlapATickOrTheRendering) {
    AudioThread audio;
    setRateAndUnpause(999);
    for (int i = 0; i < 300; ++i) {
        audioRunExclusive([] {
            enter();
            oplWrite(0xB0, 0x20); // writes the chip the callback renders
            leave();
        });
    }
    ASSERT_TRUE(waitFor([] { return ticks > 0; }));
    pauseAudio();
    EXPECT_EQ(overlaps, 0);
}

} // namespace
