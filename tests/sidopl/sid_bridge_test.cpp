// The SID register image and the voice translation, seen at the chip through
// the recording OPL3 library.
#include "sidopl/opl_port.h"
#include "sidopl/sid_image.h"
#include "sidopl/voice_translation.h"
#include "sidopl/ymf262_recording.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Writes = std::vector<YmfRegisterWrite>;

constexpr YmfRegisterWrite w(std::uint16_t reg, std::uint8_t value) { return {reg, value}; }

// The values written to one register, in order.
std::vector<int> valuesOf(std::uint16_t reg) {
    std::vector<int> values;
    for (const YmfRegisterWrite& write : ymfRecordingWrites()) {
        if (write.reg == reg) values.push_back(write.value);
    }
    return values;
}

// The chip as audio start-up leaves it: registers cleared, tables built, the
// image reset; then the recording starts empty.
class SidBridgeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        adsrBugEnabled = false;
        ymfRecordingClear();
        oplClear();
        initBridgeTables();
        sidReset();
        ymfRecordingClear();
    }
    void TearDown() override { adsrBugEnabled = false; }

    // Stores and returns what that one store wrote.
    static Writes store(std::uint8_t reg, std::uint8_t value) {
        ymfRecordingClear();
        sidWrite(reg, value);
        return ymfRecordingWrites();
    }

    // Voice 0 at F = 0x1D45 (440 Hz: F-number 0x244, block 4).
    static void setVoice0Pitch() {
        sidWrite(0, 0x45);
        sidWrite(1, 0x1D);
    }
};

TEST_F(SidBridgeTest, GateOnLoadsTheTrianglePresetAndGateOffKeysOff) {
    setVoice0Pitch();
    sidWrite(5, 0x09);
    sidWrite(6, 0x00);
    EXPECT_THAT(store(4, 0x11),
                ElementsAre(w(0xA3, 0x44), w(0xA0, 0x44), w(0xB3, 0x32), w(0xB0, 0x32),
                            w(0x28, 0x21), w(0x20, 0x21), w(0x48, 0x00), w(0x40, 0x00),
                            w(0xE8, 0x04), w(0xE0, 0x04), w(0x2B, 0x21), w(0x23, 0x21),
                            w(0x4B, 0x00), w(0x43, 0x00), w(0xEB, 0x00), w(0xE3, 0x00),
                            w(0xC3, 0x27), w(0xC0, 0x47), w(0x68, 0xF5), w(0x60, 0xF5),
                            w(0x88, 0xFE), w(0x80, 0xFE), w(0x6B, 0xF5), w(0x63, 0xF5),
                            w(0x8B, 0xFE), w(0x83, 0xFE), w(0x01, 0x20)));
    EXPECT_THAT(store(4, 0x10), ElementsAre(w(0x01, 0x20), w(0xB3, 0x12), w(0xB0, 0x12)));
}

struct PulseCase {
    int width;
    int primary, mirror; // operator-1 levels of channels 0 and 3
};

TEST_F(SidBridgeTest, PulseWidthBecomesALevelDifferenceBetweenTheTwoChannels) {
    sidWrite(4, 0x41);
    for (const PulseCase c : {PulseCase{0, 0x12, 0x2B}, PulseCase{2048, 0x2B, 0x12},
                              PulseCase{2049, 0x12, 0x2B}, PulseCase{4095, 43, 18}}) {
        sidWrite(3, c.width >> 8);
        const Writes writes = store(2, c.width & 0xFF);
        EXPECT_THAT(writes, ElementsAre(w(0x48, c.mirror), w(0x40, c.mirror), w(0x40, c.primary),
                                        w(0xC3, 0x20), w(0xC0, 0x40)))
            << "pulse width " << c.width;
    }
}

TEST_F(SidBridgeTest, PulseWidthUnderAnotherPresetWritesNothing) {
    sidWrite(4, 0x21);
    EXPECT_THAT(store(2, 0x00), IsEmpty());
    EXPECT_THAT(store(3, 0x08), IsEmpty());
}

TEST_F(SidBridgeTest, WaveformNibbleZeroIsSilent) {
    EXPECT_THAT(store(0, 0x45), IsEmpty());
    EXPECT_THAT(store(1, 0x1D), IsEmpty());

    sidWrite(4, 0x21); // sawtooth, gate on
    const Writes writes = store(4, 0x01);
    ASSERT_GE(writes.size(), 4u);
    EXPECT_THAT(Writes(writes.begin(), writes.begin() + 4),
                ElementsAre(w(0xA3, 0x44), w(0xA0, 0x44), w(0xB3, 0x32), w(0xB0, 0x32)));
    EXPECT_EQ(voicePreset[0], 0);
    EXPECT_EQ(ymfRecordingImage()[0x40], 0x3F);
    EXPECT_EQ(ymfRecordingImage()[0x43], 0x3F);
    EXPECT_EQ(ymfRecordingImage()[0x4B], 0x3F);
}

TEST_F(SidBridgeTest, TestBitZeroesThePitchAndHoldsFrequencyStores) {
    setVoice0Pitch();
    const Writes writes = store(4, 0x19);
    ASSERT_GE(writes.size(), 4u);
    EXPECT_THAT(
        Writes(writes.end() - 5, writes.end()),
        ElementsAre(w(0x01, 0x20), w(0xA3, 0x00), w(0xA0, 0x00), w(0xB3, 0x20), w(0xB0, 0x20)));
    EXPECT_THAT(store(0, 0x10), IsEmpty());
    EXPECT_THAT(store(1, 0x20), IsEmpty());
}

TEST_F(SidBridgeTest, PulseCombinationUnderThePulsePresetRewritesPitchButLoadsNothing) {
    setVoice0Pitch();
    sidWrite(4, 0x41);
    EXPECT_THAT(store(4, 0x51), ElementsAre(w(0xA3, 0x44), w(0xA0, 0x44), w(0xB3, 0x32),
                                            w(0xB0, 0x32), w(0x01, 0x20)));
    EXPECT_EQ(voicePreset[0], 4);
}

TEST_F(SidBridgeTest, SyncBitClearsTheWaveformSelectEnable) {
    EXPECT_EQ(store(4, 0x13).back(), w(0x01, 0x00));
}

TEST_F(SidBridgeTest, AttackDecayUnderThePulseNibbleFixesOperatorOne) {
    sidWrite(4, 0x41);
    EXPECT_THAT(store(5, 0x09), ElementsAre(w(0x68, 0xF5), w(0x60, 0xF5), w(0x6B, 0xF5),
                                            w(0x63, 0xF5), w(0x68, 0xF0), w(0x60, 0xF0)));
    sidWrite(4, 0x51); // pulse and triangle: the nibble's own flags are clear
    EXPECT_THAT(store(5, 0x09),
                ElementsAre(w(0x68, 0xF5), w(0x60, 0xF5), w(0x6B, 0xF5), w(0x63, 0xF5)));
}

TEST_F(SidBridgeTest, SustainReleaseUnderTheNoiseNibbleFixesOperatorOne) {
    sidWrite(4, 0x81);
    EXPECT_THAT(store(6, 0xA3), ElementsAre(w(0x88, 0x0B), w(0x80, 0x0B), w(0x8B, 0x0B),
                                            w(0x83, 0x0B), w(0x88, 0xF0), w(0x80, 0xF0)));
}

TEST_F(SidBridgeTest, ResetKeysEveryVoiceOffWithTheSlowestEnvelope) {
    sidWrite(4, 0x41);
    sidWrite(11, 0x21);
    sidWrite(18, 0x81);
    adsrBugEnabled = true;
    sidWrite(5, 0x77);
    ymfRecordingClear();
    sidReset();

    for (int channel = 0; channel < 6; ++channel) {
        EXPECT_THAT(valuesOf(0xB0 + channel), ::testing::Contains(0)) << "channel " << channel;
    }
    const auto chip = ymfRecordingImage();
    for (int voice = 0; voice < 3; ++voice) {
        for (int op : {voice, voice + 3, voice + 8, voice + 11}) {
            EXPECT_EQ(chip[0x60 + op], 0xFE) << "operator " << op;
            EXPECT_EQ(chip[0x80 + op], 0xFE) << "operator " << op;
        }
        EXPECT_EQ(chip[0xB0 + voice] & 0x20, 0);
        EXPECT_EQ(chip[0xB3 + voice] & 0x20, 0);
    }
    for (const YmfRegisterWrite& write : ymfRecordingWrites()) {
        const bool presetRegister = (write.reg >= 0x20 && write.reg < 0x60) ||
                                    (write.reg >= 0xC0 && write.reg < 0xC9) || write.reg >= 0xE0;
        EXPECT_FALSE(presetRegister) << "register " << std::hex << write.reg;
    }
    EXPECT_EQ(voicePreset, (std::array<std::uint8_t, 3>{0, 0, 0}));
    for (int reg = 0; reg < sidRegisterCount; ++reg) {
        EXPECT_EQ(sidWritten(reg), 0);
        EXPECT_EQ(SidShadow.applied[reg], 0);
    }
}

TEST_F(SidBridgeTest, FilterRegistersAreRecordedButDriveNothing) {
    for (std::uint8_t reg = 21; reg <= 24; ++reg) {
        EXPECT_THAT(store(reg, 0x5A), IsEmpty());
        EXPECT_EQ(sidWritten(reg), 0x5A);
        EXPECT_EQ(SidShadow.applied[reg], 0x5A);
    }
}

TEST_F(SidBridgeTest, RegistersPastTheSidAreIgnored) {
    for (int reg = 25; reg < 256; ++reg) EXPECT_THAT(store(reg, 0xFF), IsEmpty());
    for (int reg = 0; reg < sidRegisterCount; ++reg) EXPECT_EQ(sidWritten(reg), 0);
}

TEST_F(SidBridgeTest, WithTheOptionOffAppliedFollowsEveryStore) {
    for (int reg = 0; reg < sidRegisterCount; ++reg) {
        sidWrite(reg, 0x30 + reg);
        EXPECT_EQ(SidShadow.applied[reg], 0x30 + reg);
    }
}

TEST_F(SidBridgeTest, OptionOnHoldsEnvelopeStoresUnlessReleaseExceedsAttack) {
    adsrBugEnabled = true;
    sidWrite(13, 0x05); // voice 1 release 5 > attack 0: passes
    EXPECT_EQ(SidShadow.applied[13], 0x05);
    sidWrite(12, 0x31); // attack 3 < release 5: passes
    EXPECT_EQ(SidShadow.applied[12], 0x31);
    sidWrite(12, 0x51); // attack 5, not below release 5: held back
    EXPECT_EQ(SidShadow.applied[12], 0x31);
    EXPECT_EQ(sidWritten(12), 0x51);
    sidWrite(6, 0x0F); // voice 0 release 15: its own nibbles decide for it
    sidWrite(5, 0x61);
    EXPECT_EQ(SidShadow.applied[5], 0x61);
    sidWrite(12, 0x61); // while voice 1 holds the same value back
    EXPECT_EQ(SidShadow.applied[12], 0x31);
    sidApplyAll();
    EXPECT_EQ(SidShadow.applied[12], 0x61);
}

TEST_F(SidBridgeTest, OptionOnHoldsPitchPulseAndControlStoresUntilTheTickEnds) {
    adsrBugEnabled = true;
    for (std::uint8_t reg : {0, 1, 2, 3, 4, 7, 11, 16, 18}) {
        sidWrite(reg, 0x41);
        EXPECT_EQ(SidShadow.applied[reg], 0) << "register " << int(reg);
    }
    sidApplyAll();
    EXPECT_EQ(SidShadow.applied[4], 0x41);
    EXPECT_EQ(SidShadow.applied[18], 0x41);
}

TEST_F(SidBridgeTest, OptionOnGateOffKeysOffAtOnceAndAgainAfterLaterRekeying) {
    setVoice0Pitch();
    sidWrite(4, 0x11);
    sidApplyAll();
    adsrBugEnabled = true;
    ymfRecordingClear();

    sidWrite(4, 0x10); // key off at once
    sidWrite(0, 0x45); // keyed on again from the old applied gate
    sidApplyAll();     // twice keyed on by the frequency handlers, then off
    EXPECT_THAT(valuesOf(0xB0), ElementsAre(0x12, 0x32, 0x32, 0x32, 0x12));

    ymfRecordingClear();
    sidWrite(0, 0x45);
    sidApplyAll();
    EXPECT_THAT(valuesOf(0xB0), ElementsAre(0x12, 0x12, 0x12, 0x12));
}

TEST_F(SidBridgeTest, OptionOnGateOnKeysOnOnlyInTheNextTick) {
    setVoice0Pitch();
    sidWrite(4, 0x10);
    sidApplyAll();
    adsrBugEnabled = true;
    ymfRecordingClear();

    sidWrite(4, 0x11);
    sidApplyAll();
    for (int value : valuesOf(0xB0)) EXPECT_EQ(value & 0x20, 0);

    ymfRecordingClear();
    sidWrite(1, 0x1D);
    EXPECT_THAT(valuesOf(0xB0), ElementsAre(0x32));
}

} // namespace
