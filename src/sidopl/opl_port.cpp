// The OPL3 register port: see opl_port.h.
#include "sidopl/opl_port.h"

#include "sidopl/ymf262.h"

int oplChip;

void oplWrite(std::uint8_t reg, std::uint8_t value) {
    YMF262Write(oplChip, 0, reg);
    YMF262Write(oplChip, 1, value);
}

namespace {

void writeWithMirror(std::uint8_t reg, int offset, std::uint8_t mirrorValue, std::uint8_t value) {
    int mirror = reg + offset;
    if (mirror <= 0xFF) oplWrite(static_cast<std::uint8_t>(mirror), mirrorValue);
    oplWrite(reg, value);
}

} // namespace

void oplWriteMirrored(std::uint8_t reg, std::uint8_t value) {
    if (reg < 0x20) {
        oplWrite(reg, value);
    } else if (reg < 0xA0) {
        writeWithMirror(reg, 0x08, value, value); // operator registers
    } else if (reg < 0xBA) {
        writeWithMirror(reg, 0x03, value, value); // F-number, key-on, block
    } else if (reg < 0xC0) {
        oplWrite(reg, value); // 0xBD, rhythm, among them
    } else if (reg < 0xCA) {
        // Feedback and connection (low nibble) go to both channels; the
        // output-enable bits (high nibble) are replaced.
        auto low = static_cast<std::uint8_t>(value & 0x0F);
        writeWithMirror(reg, 0x03, static_cast<std::uint8_t>(low | 0x20),
                        static_cast<std::uint8_t>(low | 0x40));
    } else if (reg < 0xE0) {
        oplWrite(reg, value);
    } else {
        writeWithMirror(reg, 0x08, value, value); // waveform select
    }
}

void oplSetOpl3Mode(bool on) {
    YMF262Write(oplChip, 2, 0x05);
    YMF262Write(oplChip, 3, on ? 1 : 0);
}

void oplClear() {
    for (int reg = 0x20; reg <= 0xF5; ++reg) oplWriteMirrored(static_cast<std::uint8_t>(reg), 0);
    oplWriteMirrored(0x01, 0x20);
    oplWriteMirrored(0x08, 0x00);
    oplSetOpl3Mode(true);
}
