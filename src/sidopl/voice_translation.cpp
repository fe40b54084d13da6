#include "sidopl/voice_translation.h"

#include "sidopl/opl_port.h"
#include "sidopl/pitch_table.h"
#include "sidopl/sid_image.h"

std::array<WavePreset, 16> wavePresets;
std::array<std::uint8_t, 16> attackTable;
std::array<std::uint8_t, 16> decayTable;
std::array<std::uint8_t, 16> sustainTable;
std::array<std::uint8_t, 16> releaseTable;
std::array<std::uint8_t, 3> voicePreset;
std::array<std::uint8_t, 3> channelBase;

namespace {

// clang-format off
constexpr std::array<WavePreset, 16> presetData = {{
    //                op1: 20    40    E0    80    60  fixed  op2: 20    40    E0    80    60  fixed   C0
    /*  0 silence  */ {0x21, 0x3F, 0x00, 0x00, 0x00, 0x00,      0x21, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00},
    /*  1 triangle */ {0x21, 0x00, 0x04, 0xF0, 0xF0, 0x00,      0x21, 0x00, 0x00, 0xF0, 0xF0, 0x00, 0x07},
    /*  2 sawtooth */ {0x21, 0x00, 0x00, 0xF0, 0xF0, 0x00,      0x21, 0x00, 0x07, 0xF0, 0xF0, 0x00, 0x09},
    /*  3          */ {0x23, 0x16, 0x01, 0xF0, 0xF0, 0x01,      0x22, 0x00, 0x03, 0xF0, 0xF0, 0x00, 0x08},
    /*  4 pulse    */ {0x21, 0x3F, 0x01, 0xF0, 0xF0, 0x01,      0x21, 0x00, 0x06, 0xF0, 0xF0, 0x00, 0x00},
    /*  5          */ {0x21, 0x00, 0x06, 0xF0, 0xF0, 0x00,      0x21, 0x00, 0x07, 0xF0, 0xF0, 0x00, 0x05},
    /*  6          */ {0x21, 0x00, 0x03, 0xF0, 0xF0, 0x00,      0x21, 0x04, 0x06, 0xF0, 0xF0, 0x00, 0x0B},
    /*  7          */ {0x23, 0x12, 0x01, 0xF0, 0xF0, 0x01,      0x22, 0x00, 0x04, 0xF0, 0xF0, 0x00, 0x06},
    /*  8 noise    */ {0xE5, 0x00, 0x02, 0xF0, 0xF0, 0x01,      0x21, 0x00, 0x02, 0xF0, 0xF0, 0x00, 0x0E},
    /*  9          */ {0x2F, 0x01, 0x02, 0xF0, 0xF0, 0x01,      0x21, 0x00, 0x00, 0xF0, 0xF0, 0x00, 0x0E},
    /* 10          */ {0x2F, 0x00, 0x02, 0xF0, 0xF0, 0x01,      0x21, 0x00, 0x07, 0xF0, 0xF0, 0x00, 0x0E},
    /* 11          */ {0x2F, 0x00, 0x02, 0xF0, 0xF0, 0x01,      0x20, 0x00, 0x03, 0xF0, 0xF0, 0x00, 0x0E},
    /* 12          */ {0xEF, 0x00, 0x05, 0xF0, 0xF0, 0x01,      0x21, 0x00, 0x06, 0xF0, 0xF0, 0x00, 0x0E},
    /* 13          */ {0x2F, 0x00, 0x04, 0xF0, 0xF0, 0x01,      0x21, 0x00, 0x07, 0xF0, 0xF0, 0x00, 0x0E},
    /* 14          */ {0x2F, 0x07, 0x04, 0xF0, 0xF0, 0x01,      0x21, 0x07, 0x07, 0xF0, 0xF0, 0x00, 0x0E},
    /* 15          */ {0x2F, 0x00, 0x07, 0xF0, 0xF0, 0x01,      0x21, 0x0A, 0x06, 0xF0, 0xF0, 0x00, 0x0E},
}};

//                                                  index 0 ... 15
constexpr std::array<std::uint8_t, 16> attackData  = {15, 15, 14, 13, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1};
constexpr std::array<std::uint8_t, 16> decayData   = {14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1};
constexpr std::array<std::uint8_t, 16> sustainData = {15, 7, 4, 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr std::array<std::uint8_t, 16> releaseData = {14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1};
// clang-format on

constexpr std::uint8_t pulseBit = 0x04;

// The voice's registers: W from `written`, A from `applied`, n = 0-6.
std::uint8_t W(int voice, int n) { return sidWritten(7 * voice + n); }
std::uint8_t A(int voice, int n) { return SidShadow.applied[7 * voice + n]; }

void write(int reg, int value) { oplWriteMirrored(reg, value); }

PitchEntry pitchOf(int voice) { return pitchTable[pitchIndex(W(voice, 0) | W(voice, 1) << 8)]; }

std::uint8_t attackDecayValue(std::uint8_t ad) {
    return attackTable[ad >> 4] * 16 + decayTable[ad & 0x0F];
}
std::uint8_t sustainReleaseValue(std::uint8_t sr) {
    return sustainTable[sr >> 4] * 16 + releaseTable[sr & 0x0F];
}

// F-number low byte, then key (the gate of `applied`), block and F-number
// high bits.
void writePitch(int voice) {
    const PitchEntry pitch = pitchOf(voice);
    write(0xA0 + voice, pitch.fnum & 0xFF);
    write(0xB0 + voice, (A(voice, 4) & 1) * 0x20 + pitch.block * 4 + (pitch.fnum >> 8));
}

void translateFrequency(int voice) {
    const std::uint8_t control = W(voice, 4);
    if (control <= 0x0F || (control & 0x08)) return; // no waveform, or test
    writePitch(voice);
}

// The pulse width is the level difference of the two channels' operator 1:
// the mirrored write sets both, the plain one then the primary channel alone.
void translatePulseWidth(int voice) {
    if (!(voicePreset[voice] & pulseBit)) return;
    const int pw = (W(voice, 3) & 0x0F) * 256 + W(voice, 2);
    if (pw > 2048) {
        const int q = (4096 - pw) / 80;
        write(0x40 + voice, q + 18);
        oplWrite(0x40 + voice, 43 - q);
    } else {
        const int q = pw / 80;
        write(0x40 + voice, 43 - q);
        oplWrite(0x40 + voice, q + 18);
    }
    write(0xC0 + voice, channelBase[voice]);
}

void translateControl(int voice) {
    const std::uint8_t control = W(voice, 4);
    const int nibble = control >> 4;
    if (voicePreset[voice] != nibble) writePitch(voice);
    loadWavePreset(voice, nibble);
    write(0x01, (control & 0x02) ? 0x00 : 0x20); // sync off enables the waveforms
    if (control & 0x08) {                        // test: F-number and block 0
        write(0xA0 + voice, 0);
        write(0xB0 + voice, (A(voice, 4) & 1) * 0x20);
        return;
    }
    if (!(control & 0x01)) { // gate off: key off, pitch kept
        const PitchEntry pitch = pitchOf(voice);
        write(0xB0 + voice, pitch.block * 4 + (pitch.fnum >> 8));
    }
}

// Attack/decay (0x60 group) and sustain/release (0x80 group) alike: the table
// value to both operators, then each operator whose envelope the preset fixes
// gets the fixed value. The flag comes from the nibble in `written`, the fixed
// value from the nibble in `applied`; both index the full table, not the
// preset the voice holds.
void translateEnvelope(int voice, int group, std::uint8_t value, std::uint8_t WavePreset::*op1Fixed,
                       std::uint8_t WavePreset::*op2Fixed) {
    write(group + voice, value);
    write(group + 3 + voice, value);
    const WavePreset& flags = wavePresets[W(voice, 4) >> 4];
    const WavePreset& fixed = wavePresets[A(voice, 4) >> 4];
    if (flags.op1FixedEnv) write(group + voice, fixed.*op1Fixed);
    if (flags.op2FixedEnv) write(group + 3 + voice, fixed.*op2Fixed);
}

// One operator's envelope on loading a preset: fixed, or from the SID's.
void loadOperatorEnvelope(int voice, int op, bool fixedEnv, std::uint8_t reg60,
                          std::uint8_t reg80) {
    write(0x60 + op + voice, fixedEnv ? reg60 : attackDecayValue(A(voice, 5)));
    write(0x80 + op + voice, fixedEnv ? reg80 : sustainReleaseValue(A(voice, 6)));
}

} // namespace

void translateVoiceRegister(int voice, int type) {
    switch (type) {
    case 0:
    case 1: translateFrequency(voice); break;
    case 2:
    case 3: translatePulseWidth(voice); break;
    case 4: translateControl(voice); break;
    case 5:
        translateEnvelope(voice, 0x60, attackDecayValue(A(voice, 5)), &WavePreset::op1Reg60,
                          &WavePreset::op2Reg60);
        break;
    case 6:
        translateEnvelope(voice, 0x80, sustainReleaseValue(A(voice, 6)), &WavePreset::op1Reg80,
                          &WavePreset::op2Reg80);
        break;
    }
}

void loadWavePreset(int voice, int nibble) {
    const int p = (nibble & pulseBit) ? 4 : nibble;
    if (voicePreset[voice] == p) return;
    voicePreset[voice] = p;
    const WavePreset& preset = wavePresets[p];
    write(0x20 + voice, preset.op1Reg20);
    write(0x40 + voice, preset.op1Reg40);
    write(0xE0 + voice, preset.op1RegE0);
    write(0x23 + voice, preset.op2Reg20);
    write(0x43 + voice, preset.op2Reg40);
    write(0xE3 + voice, preset.op2RegE0);
    write(0xC0 + voice, (channelBase[voice] + preset.regC0) & 0xFF);
    loadOperatorEnvelope(voice, 0, preset.op1FixedEnv, preset.op1Reg60, preset.op1Reg80);
    loadOperatorEnvelope(voice, 3, preset.op2FixedEnv, preset.op2Reg60, preset.op2Reg80);
}

void initBridgeTables() {
    buildPitchTable();
    wavePresets = presetData;
    attackTable = attackData;
    decayTable = decayData;
    sustainTable = sustainData;
    releaseTable = releaseData;
}
