// The real OPL3 layer (Nuked core) renders sound: tones set up through the
// port are heard on the sides their output lines select, at the pitch the
// OPL3's own frequency relation gives, and die away after key-off.
#include "sound.h"

#include "sidopl/opl_port.h"
#include "sidopl/ymf262.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace sound;

class Ymf262SoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        oplChip = YMF262Init(1, 14400000, rate);
        YMF262ResetChip(oplChip);
        oplClear();
    }
    void TearDown() override { YMF262Shutdown(); }
};

// A two-operator FM tone on SID voice 0's channel pair (channels 0 and 3),
// written as the voice translation writes: all through oplWriteMirrored.
void setUpVoiceZeroTone() {
    oplWriteMirrored(0x20, 0x21); // operator 1: sustained envelope, multiple 1
    oplWriteMirrored(0x23, 0x21); // operator 2
    oplWriteMirrored(0x40, 0x28); // operator 1 level: light modulation
    oplWriteMirrored(0x43, 0x00); // operator 2 level: loudest
    oplWriteMirrored(0x60, 0xF0); // attack 15, decay 0
    oplWriteMirrored(0x63, 0xF0);
    oplWriteMirrored(0x80, 0x08); // sustain level 0, release 8
    oplWriteMirrored(0x83, 0x08);
    oplWriteMirrored(0xE0, 0x00); // sine waves
    oplWriteMirrored(0xE3, 0x00);
    oplWriteMirrored(0xC0, 0x00); // FM connection, no feedback; lines C and B
}

void keyVoiceZero(int fnum, int block, bool on) {
    oplWriteMirrored(0xA0, static_cast<std::uint8_t>(fnum & 0xFF));
    oplWriteMirrored(0xB0, static_cast<std::uint8_t>((on ? 0x20 : 0) | block << 2 | fnum >> 8));
}

TEST_F(Ymf262SoundTest, ClearedChipIsSilent) {
    Sound sound = render(rate / 10);
    EXPECT_EQ(peak(sound.left, 0, sound.left.size()), 0);
    EXPECT_EQ(peak(sound.right, 0, sound.right.size()), 0);
}

TEST_F(Ymf262SoundTest, KeyedToneIsHeardOnBothSides) {
    setUpVoiceZeroTone();
    keyVoiceZero(580, 4, true); // 440 Hz
    Sound sound = render(rate / 2);
    // A full-level sine of the core is about 4000 at its peak, 2900 RMS.
    EXPECT_GT(rms(sound.left), 1000);
    EXPECT_GT(rms(sound.right), 1000);
}

struct PitchCase {
    int fnum;
    int block;
};

void PrintTo(const PitchCase& c, std::ostream* os) {
    *os << "fnum " << c.fnum << " block " << c.block;
}

class Ymf262PitchTest : public Ymf262SoundTest, public ::testing::WithParamInterface<PitchCase> {};

TEST_P(Ymf262PitchTest, OneSecondOfToneHasTheOpl3Pitch) {
    const PitchCase& c = GetParam();
    setUpVoiceZeroTone();
    keyVoiceZero(c.fnum, c.block, true);
    render(rate / 100); // past the attack
    Sound sound = render(rate);
    double expected = opl3Frequency(c.fnum, c.block);
    EXPECT_NEAR(measuredFrequency(sound.left), expected, expected * 0.01);
    EXPECT_NEAR(measuredFrequency(sound.right), expected, expected * 0.01);
}

// 440 Hz (the pitch table's entry for SID frequency 0x1D45), and the lowest
// and the highest block the pitch table uses for audible notes.
INSTANTIATE_TEST_SUITE_P(Notes, Ymf262PitchTest,
                         ::testing::Values(PitchCase{580, 4}, PitchCase{516, 1}, PitchCase{659, 5},
                                           PitchCase{635, 7}),
                         [](const auto& info) {
                             return "fnum" + std::to_string(info.param.fnum) + "block" +
                                    std::to_string(info.param.block);
                         });

TEST_F(Ymf262SoundTest, ToneDecaysToSilenceAfterKeyOff) {
    setUpVoiceZeroTone();
    keyVoiceZero(580, 4, true);
    render(rate / 4);
    keyVoiceZero(580, 4, false);
    Sound sound = render(rate);
    // Release rate 8 falls about 96 dB in a third of a second: the level
    // falls window by window, and the last tenth of the second is silent.
    constexpr std::size_t window = rate / 20;
    double previous = rms(sound.left, 0, window);
    EXPECT_GT(previous, 100);
    for (std::size_t from = window; from + window <= sound.left.size(); from += window) {
        double level = rms(sound.left, from, from + window);
        EXPECT_LE(level, previous + 1) << "window at frame " << from;
        previous = level;
    }
    // Fully released operators still leave the core's lowest bit toggling
    // with the phase: silence is a peak of one step.
    std::size_t tail = sound.left.size() - rate / 10;
    EXPECT_LE(peak(sound.left, tail, sound.left.size()), 1);
    EXPECT_LE(peak(sound.right, tail, sound.right.size()), 1);
}

TEST_F(Ymf262SoundTest, KeyOnAfterKeyOffStartsTheNoteAgain) {
    setUpVoiceZeroTone();
    keyVoiceZero(580, 4, true);
    render(rate / 10);
    keyVoiceZero(580, 4, false);
    render(rate);
    keyVoiceZero(580, 4, true);
    Sound sound = render(rate / 10);
    EXPECT_GT(rms(sound.left), 1000);
    EXPECT_GT(rms(sound.right), 1000);
}

// One channel of either bank, written plainly (not mirrored), routed to the
// given output lines: a sine on operator 2 alone (additive connection, silent
// operator 1).
void setUpChannel(int bank, int channel, std::uint8_t lines, int fnum, int block) {
    auto write = [bank](int reg, int value) {
        YMF262Write(oplChip, bank == 0 ? 0 : 2, reg);
        YMF262Write(oplChip, bank == 0 ? 1 : 3, value);
    };
    int op1 = channel % 3 + (channel / 3) * 8;
    int op2 = op1 + 3;
    write(0x20 + op1, 0x21);
    write(0x20 + op2, 0x21);
    write(0x40 + op1, 0x3F);
    write(0x40 + op2, 0x00);
    write(0x60 + op1, 0xF0);
    write(0x60 + op2, 0xF0);
    write(0x80 + op1, 0x08);
    write(0x80 + op2, 0x08);
    write(0xC0 + channel, lines | 0x01);
    write(0xA0 + channel, fnum & 0xFF);
    write(0xB0 + channel, 0x20 | block << 2 | fnum >> 8);
}

struct LineCase {
    std::string name;
    int bank;
    int channel;
    std::uint8_t lines;
    bool left;
    bool right;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class Ymf262LineTest : public Ymf262SoundTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(Ymf262LineTest, ChannelIsHeardOnTheSidesOfItsLines) {
    const LineCase& c = GetParam();
    setUpChannel(c.bank, c.channel, c.lines, 580, 4);
    Sound sound = render(rate / 4);
    if (c.left) {
        EXPECT_GT(rms(sound.left), 1000);
    } else {
        EXPECT_EQ(rms(sound.left), 0);
    }
    if (c.right) {
        EXPECT_GT(rms(sound.right), 1000);
    } else {
        EXPECT_EQ(rms(sound.right), 0);
    }
}

// Left = lines A + C, right = lines B + D, in both banks.
// clang-format off
const LineCase lineCases[] = {
    {"LineC_Channel1_Left",        0, 1, 0x40, true,  false},
    {"LineB_Channel4_Right",       0, 4, 0x20, false, true},
    {"LineA_Left",                 0, 2, 0x10, true,  false},
    {"LineD_Right",                0, 5, 0x80, false, true},
    {"LinesBC_Both",               0, 0, 0x60, true,  true},
    {"NoLine_Silent",              0, 0, 0x00, false, false},
    {"HighBank_LineC_Left",        1, 0, 0x40, true,  false},
    {"HighBank_LineB_Right",       1, 8, 0x20, false, true},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Lines, Ymf262LineTest, ::testing::ValuesIn(lineCases),
                         [](const auto& info) { return info.param.name; });

TEST_F(Ymf262SoundTest, LineCAndLineBChannelsPlayTogetherOnDifferentSides) {
    setUpChannel(0, 1, 0x40, 580, 4); // line C: 440 Hz
    setUpChannel(0, 4, 0x20, 659, 5); // line B: 1000 Hz
    render(rate / 100);
    Sound sound = render(rate);
    EXPECT_NEAR(measuredFrequency(sound.left), opl3Frequency(580, 4), 4.4);
    EXPECT_NEAR(measuredFrequency(sound.right), opl3Frequency(659, 5), 10.0);
}

// Output bits written while OPL3 mode is off take effect once it is on, as on
// the chip: oplClear writes the 0xC0 group before it switches the mode.
TEST_F(Ymf262SoundTest, OutputLinesWrittenBeforeOpl3ModeApplyOnceItIsOn) {
    oplSetOpl3Mode(false);
    setUpChannel(0, 1, 0x40, 580, 4);
    Sound compatible = render(rate / 10);
    EXPECT_GT(rms(compatible.left), 1000); // outside OPL3 mode: both sides
    EXPECT_GT(rms(compatible.right), 1000);
    oplSetOpl3Mode(true);
    render(2); // the core's resampler delays by a frame
    Sound opl3 = render(rate / 10);
    EXPECT_GT(rms(opl3.left), 1000);
    EXPECT_EQ(rms(opl3.right), 0);
}

TEST_F(Ymf262SoundTest, ResetSilencesTheChip) {
    setUpVoiceZeroTone();
    keyVoiceZero(580, 4, true);
    render(rate / 10);
    YMF262ResetChip(oplChip);
    render(2);
    Sound sound = render(rate / 10);
    EXPECT_EQ(peak(sound.left, 0, sound.left.size()), 0);
    EXPECT_EQ(peak(sound.right, 0, sound.right.size()), 0);
}

TEST_F(Ymf262SoundTest, CallsWithAnUnknownHandleAreIgnored) {
    YMF262Write(oplChip + 1, 0, 0xB0);
    YMF262Write(-1, 1, 0x20);
    std::int16_t frame[2] = {123, 456};
    YMF262UpdateOne(oplChip + 1, frame, 1);
    EXPECT_EQ(frame[0], 123);
    EXPECT_EQ(frame[1], 456);
}

} // namespace
