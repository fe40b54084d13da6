// SID voices played through the real OPL3 core: a triangle at 440 Hz sounds
// at 440 Hz, and the pulse width changes the pulse voice's timbre.
#include "sound.h"

#include "sidopl/opl_port.h"
#include "sidopl/sid_image.h"
#include "sidopl/voice_translation.h"
#include "sidopl/ymf262.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

using namespace sound;

// The amplitude of one frequency in the samples (Goertzel).
double amplitudeAt(const std::vector<double>& samples, double hz) {
    const double w = 2 * std::numbers::pi * hz / rate;
    const double coefficient = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (double x : samples) {
        const double s0 = x + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(s1 * s1 + s2 * s2 - coefficient * s1 * s2) / samples.size();
}

// Upper harmonics' amplitude against the fundamental's.
double brightness(const std::vector<double>& samples, double fundamental) {
    double upper = 0;
    for (int k = 2; k <= 8; ++k) upper += amplitudeAt(samples, k * fundamental);
    return upper / amplitudeAt(samples, fundamental);
}

class SidBridgeSoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        oplChip = YMF262Init(1, 14400000, rate);
        YMF262ResetChip(oplChip);
        oplClear();
        initBridgeTables();
        sidReset();
    }
    void TearDown() override { YMF262Shutdown(); }

    // Voice 0 at F = 0x1D45 (440 Hz), instant attack, full sustain, gate on.
    static void playVoice0(std::uint8_t control) {
        sidWrite(0, 0x45);
        sidWrite(1, 0x1D);
        sidWrite(5, 0x00);
        sidWrite(6, 0xF0);
        sidWrite(4, control);
        sidApplyAll();
    }
};

TEST_F(SidBridgeSoundTest, TriangleAt440HzSoundsAt440Hz) {
    playVoice0(0x11);
    render(rate / 10); // past the attack
    const std::vector<double> tone = render(rate).left;
    EXPECT_GT(rms(tone), 500);
    EXPECT_NEAR(measuredFrequency(tone), 440.0, 4.4);
}

TEST_F(SidBridgeSoundTest, PulseWidthChangesThePulseVoicesSpectrum) {
    playVoice0(0x41);
    sidWrite(3, 0x08); // 2048: the primary's modulator at its quietest
    sidWrite(2, 0x00);
    render(rate / 10);
    const double square = brightness(render(rate / 2).left, 440.0);

    sidWrite(3, 0x01); // 256: a much deeper modulation
    sidWrite(2, 0x00);
    render(rate / 10);
    const double narrow = brightness(render(rate / 2).left, 440.0);

    EXPECT_GT(narrow, 3 * square) << "square " << square << ", narrow " << narrow;
}

} // namespace
