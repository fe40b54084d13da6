// The real OPL3 library layer: the five YMF262 functions over the Nuked OPL3
// core (version 1.7.4) that Debian's libadplug ships. This is the only file
// that includes the Nuked header.
//
// Nuked always runs the chip at its native rate of 49716 Hz (the YMF262's
// 14318180 Hz clock / 288) and resamples to the output rate; the clock value
// given to YMF262Init is therefore not used, and the pitch of a note is
// fnum x 49716 / 2^(20 - block) Hz at any output rate.
#include "sidopl/ymf262.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" {
#include <adplug/nukedopl.h>
}

namespace {

constexpr int outputRegisterCount = 9; // 0xC0-0xC8 in each bank

struct Ymf262Chip {
    opl3_chip core;
    std::uint16_t latchedAddress;                         // 0x000-0x1FF
    std::uint8_t outputRegisters[2][outputRegisterCount]; // as written, per bank
};

std::unique_ptr<Ymf262Chip[]> chips;
int chipCount;
std::uint32_t outputRate = 48000;

Ymf262Chip* chipAt(int handle) {
    if (handle < 0 || handle >= chipCount) return nullptr;
    return &chips[static_cast<std::size_t>(handle)];
}

bool isOutputRegister(std::uint16_t reg) {
    std::uint8_t low = reg & 0xFF;
    return low >= 0xC0 && low < 0xC0 + outputRegisterCount;
}

// OUTPUT-LINE MAPPING. In OPL3 mode bits 4-7 of registers 0xC0-0xC8 enable a
// channel's output lines A, B, C and D, but the Nuked core mixes only lines A
// (bit 4, into the left sample) and B (bit 5, into the right sample) and
// ignores bits 6 and 7. This system routes its channels to lines B and C,
// and both must be heard, so every value written to 0xC0-0xC8 of either bank
// reaches the core with its line bits folded onto the two that it mixes:
// left = A + C, right = B + D. Channels 0-2 (line C) so sound on the left and
// their mirrors 3-5 (line B) on the right.
std::uint8_t foldOutputLines(std::uint8_t value) {
    bool left = (value & 0x50) != 0;  // line A (0x10) or line C (0x40)
    bool right = (value & 0xA0) != 0; // line B (0x20) or line D (0x80)
    return static_cast<std::uint8_t>((value & 0x0F) | (left ? 0x10 : 0) | (right ? 0x20 : 0));
}

void writeOutputRegister(Ymf262Chip& chip, int bank, int index) {
    auto reg = static_cast<std::uint16_t>(bank << 8 | (0xC0 + index));
    OPL3_WriteReg(&chip.core, reg, foldOutputLines(chip.outputRegisters[bank][index]));
}

void writeRegister(Ymf262Chip& chip, std::uint16_t reg, std::uint8_t value) {
    if (isOutputRegister(reg)) {
        chip.outputRegisters[reg >> 8][(reg & 0xFF) - 0xC0] = value;
        writeOutputRegister(chip, reg >> 8, (reg & 0xFF) - 0xC0);
        return;
    }
    OPL3_WriteReg(&chip.core, reg, value);
    if (reg == 0x105) {
        // Nuked decides a channel's output lines when its 0xC0 register is
        // written, by the OPL3 mode of that moment (outside OPL3 mode: both
        // sides), where the real chip applies the stored bits as soon as the
        // mode is switched on. oplClear writes the 0xC0 group before it turns
        // OPL3 mode on, so the stored values are applied again here.
        for (int bank = 0; bank < 2; ++bank) {
            for (int index = 0; index < outputRegisterCount; ++index) {
                writeOutputRegister(chip, bank, index);
            }
        }
    }
}

} // namespace

int YMF262Init(int count, int /*clock*/, int rate) {
    chipCount = count < 1 ? 1 : count;
    // The core's resampling ratio is (rate << 10) / 49716 in a signed 32-bit
    // value: it must be neither 0 nor overflow.
    outputRate = static_cast<std::uint32_t>(rate < 1000 ? 1000 : rate > 384000 ? 384000 : rate);
    chips = std::make_unique<Ymf262Chip[]>(static_cast<std::size_t>(chipCount));
    for (int handle = 0; handle < chipCount; ++handle) YMF262ResetChip(handle);
    return 0;
}

void YMF262ResetChip(int handle) {
    Ymf262Chip* chip = chipAt(handle);
    if (chip == nullptr) return;
    OPL3_Reset(&chip->core, outputRate);
    chip->latchedAddress = 0;
    for (auto& bank : chip->outputRegisters) {
        for (auto& value : bank) value = 0;
    }
}

int YMF262Write(int handle, int port, int value) {
    Ymf262Chip* chip = chipAt(handle);
    if (chip == nullptr) return 0;
    auto byte = static_cast<std::uint8_t>(value);
    switch (port & 3) {
    case 0: chip->latchedAddress = byte; break;
    case 2: chip->latchedAddress = static_cast<std::uint16_t>(0x100 | byte); break;
    default: writeRegister(*chip, chip->latchedAddress, byte); break;
    }
    return 0;
}

void YMF262UpdateOne(int handle, std::int16_t* buffer, int frames) {
    Ymf262Chip* chip = chipAt(handle);
    if (chip == nullptr) return;
    for (int frame = 0; frame < frames; ++frame) {
        OPL3_GenerateResampled(&chip->core, buffer + 2 * frame); // left, right
    }
}

void YMF262Shutdown() {
    chips.reset();
    chipCount = 0;
}
