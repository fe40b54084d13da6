// The tick scheduler, driven by calling the callback directly, with the
// recording OPL3 library counting the frames rendered.
#include "audio/audio_stream.h"
#include "sidopl/ymf262_recording.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

using ::testing::ElementsAre;

// The frames rendered before each tick: a tick falls just before the frame
// with that index.
std::vector<long> tickFrames;
void countTick() { tickFrames.push_back(ymfRecordingCounts().framesRendered); }

std::uint16_t rateSetInTick;
void tickSettingRate() {
    countTick();
    setPlayRate(rateSetInTick);
}

std::array<std::uint8_t, framesPerBuffer * 4> device;
void fillBuffers(int count) {
    for (int i = 0; i < count; ++i) audioCallback(nullptr, device.data(), device.size());
}

// The steps between consecutive ticks.
std::vector<long> intervals() {
    std::vector<long> steps;
    for (std::size_t i = 1; i < tickFrames.size(); ++i) {
        steps.push_back(tickFrames[i] - tickFrames[i - 1]);
    }
    return steps;
}

// The stream as audio start-up leaves it, then running at 50 ticks per
// second with the counting tick handler.
class AudioCallbackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ymfRecordingClear();
        tickFrames.clear();
        sampleCounter = 1;
        samplesPerTick = outputRate / 50;
        tickHandler = countTick;
        setRateAndUnpause(50);
    }
    void TearDown() override {
        pauseAudio();
        tickHandler = signalFrameDone;
    }
};

TEST_F(AudioCallbackTest, TicksEvery960FramesAcrossBuffers) {
    fillBuffers(3);
    EXPECT_EQ(ymfRecordingCounts().framesRendered, 3 * framesPerBuffer);
    EXPECT_THAT(tickFrames, ElementsAre(958, 1918, 2878, 3838, 4798, 5758, 6718, 7678, 8638, 9598,
                                        10558, 11518));
}

TEST_F(AudioCallbackTest, RateFromTheMainThreadAppliesAfterTheIntervalInProgress) {
    fillBuffers(1); // last tick at 3838, the next one due at 4798
    setRateAndUnpause(60);
    fillBuffers(1);
    EXPECT_THAT(intervals(), ElementsAre(960, 960, 960, 960, 800, 800, 800, 800));
}

TEST_F(AudioCallbackTest, RateSetInsideATickAppliesToTheNextInterval) {
    rateSetInTick = 100;
    tickHandler = tickSettingRate;
    fillBuffers(1);
    EXPECT_EQ(playRate, 100);
    ASSERT_GE(tickFrames.size(), 3u);
    EXPECT_EQ(tickFrames[1] - tickFrames[0], 480);
    EXPECT_EQ(tickFrames[2] - tickFrames[1], 480);
}

TEST_F(AudioCallbackTest, PauseStopsTicksAndUnpauseResumesWhereTheCounterStood) {
    fillBuffers(1); // 3838; 4096 - 3838 frames into the next interval
    pauseAudio();
    EXPECT_EQ(playRate, 1);
    const long rendered = ymfRecordingCounts().framesRendered;
    device.fill(0xAA);
    fillBuffers(3);
    EXPECT_EQ(ymfRecordingCounts().framesRendered, rendered);
    EXPECT_EQ(tickFrames.size(), 4u);
    EXPECT_EQ(device[0], 0); // silence while paused
    setRateAndUnpause(50);
    fillBuffers(1);
    EXPECT_EQ(tickFrames[4], 4798);
}

TEST_F(AudioCallbackTest, RateZeroKeepsTheInterval) {
    rateSetInTick = 0;
    tickHandler = tickSettingRate;
    fillBuffers(1);
    EXPECT_THAT(intervals(), ElementsAre(960, 960, 960));
}

struct RateCase {
    std::uint16_t rate;
    long interval;
};

TEST_F(AudioCallbackTest, IntervalIsOutputRateDividedByRate) {
    for (const RateCase c : {RateCase{999, 48}, RateCase{70, 685}, RateCase{1, 48000}}) {
        tickFrames.clear();
        rateSetInTick = c.rate;
        tickHandler = tickSettingRate;
        fillBuffers(c.interval * 3 / framesPerBuffer + 2);
        ASSERT_GE(tickFrames.size(), 3u) << "rate " << c.rate;
        EXPECT_EQ(tickFrames[2] - tickFrames[1], c.interval) << "rate " << c.rate;
    }
}

TEST_F(AudioCallbackTest, FillsExactlyTheBytesAskedFor) {
    std::array<std::uint8_t, 100> small;
    small.fill(0xAA);
    audioCallback(nullptr, small.data(), 64);
    EXPECT_EQ(small[64], 0xAA);
    std::vector<std::uint8_t> large(framesPerBuffer * 4 + 16, 0xAA);
    audioCallback(nullptr, large.data(), static_cast<int>(large.size()));
    EXPECT_EQ(large.back(), 0); // past the buffer: silence
}

TEST_F(AudioCallbackTest, SignalFrameDoneSetsTheFlag) {
    frameDone = false;
    tickHandler = signalFrameDone;
    fillBuffers(1);
    EXPECT_TRUE(frameDone);
}

} // namespace
