#include "sidopl/sid_image.h"

#include "sidopl/voice_translation.h"

SidRegisterImage SidShadow;
std::atomic<bool> adsrBugEnabled{false};

namespace {

// With the ADSR-bug option on, only an attack/decay or sustain/release store
// passes at once, and only while the voice's release nibble is greater than
// its attack nibble, both as they stand after the store.
bool passesAtOnce(std::uint8_t reg) {
    if (reg % 7 < 5) return false;
    const int voice = reg / 7;
    const int release = sidWritten(7 * voice + 6) & 0x0F;
    const int attack = sidWritten(7 * voice + 5) >> 4;
    return release > attack;
}

} // namespace

void sidWrite(std::uint8_t reg, std::uint8_t value) {
    if (reg >= sidRegisterCount) return;
    SidShadow.written[reg].store(value, std::memory_order_relaxed);
    if (!adsrBugEnabled.load(std::memory_order_relaxed) || passesAtOnce(reg)) {
        SidShadow.applied[reg] = value;
    }
    dispatchSidRegister(reg);
}

void dispatchSidRegister(std::uint8_t reg) {
    if (reg < 21) translateVoiceRegister(reg / 7, reg % 7);
}

void sidApplyAll() {
    for (int reg = 0; reg < sidRegisterCount; ++reg) dispatchSidRegister(reg);
    syncApplied();
}

void syncApplied() {
    for (int reg = 0; reg < sidRegisterCount; ++reg) SidShadow.applied[reg] = sidWritten(reg);
}

void sidReset() {
    voicePreset.fill(0);
    channelBase.fill(0x30);
    for (int reg = 0; reg < sidRegisterCount; ++reg) sidWrite(reg, 0);
    sidApplyAll();
}
