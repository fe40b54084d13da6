// The translation of one SID voice register into OPL3 writes. SID voice v
// plays on OPL3 channel v (operators at offsets v and v + 3) and, through the
// mirrored port, on channel v + 3. The waveform nibble picks one of sixteen
// two-operator presets; the frequency becomes F-number and block with the key
// from the gate; the pulse width becomes a difference of operator-1 levels
// between the two channels; attack/decay and sustain/release go through the
// envelope tables unless the preset fixes an operator's envelope.
#pragma once

#include <array>
#include <cstdint>

// Raw OPL3 register values of one preset, and the two fixed-envelope flags.
struct WavePreset {
    std::uint8_t op1Reg20;
    std::uint8_t op1Reg40;
    std::uint8_t op1RegE0;
    std::uint8_t op1Reg80;
    std::uint8_t op1Reg60;
    std::uint8_t op1FixedEnv;
    std::uint8_t op2Reg20;
    std::uint8_t op2Reg40;
    std::uint8_t op2RegE0;
    std::uint8_t op2Reg80;
    std::uint8_t op2Reg60;
    std::uint8_t op2FixedEnv;
    std::uint8_t regC0;
};

// Indexed by the SID waveform nibble. Filled by initBridgeTables.
extern std::array<WavePreset, 16> wavePresets;

// SID envelope nibble to a 4-bit OPL3 rate or level. Filled by
// initBridgeTables.
extern std::array<std::uint8_t, 16> attackTable;
extern std::array<std::uint8_t, 16> decayTable;
extern std::array<std::uint8_t, 16> sustainTable;
extern std::array<std::uint8_t, 16> releaseTable;

// Per voice: the preset last loaded (0-4 or 8-11) and the byte that a
// preset's regC0 is added to. sidReset sets them to 0 and 0x30.
extern std::array<std::uint8_t, 3> voicePreset;
extern std::array<std::uint8_t, 3> channelBase;

// Register `type` of voice `voice`: 0/1 frequency low/high, 2/3 pulse width
// low/high, 4 control, 5 attack/decay, 6 sustain/release.
void translateVoiceRegister(int voice, int type);

// Loads the preset for waveform nibble `nibble` (every pulse combination
// loads the pulse preset); writes nothing if the voice already holds it.
void loadWavePreset(int voice, int nibble);

// Builds the pitch table and puts the presets and envelope tables in place.
void initBridgeTables();
