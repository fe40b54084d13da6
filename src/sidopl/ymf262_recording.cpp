// The recording OPL3 library: see ymf262_recording.h.
#include "sidopl/ymf262_recording.h"

#include "sidopl/ymf262.h"

#include <cstddef>

namespace {

std::vector<YmfPortCall> calls;
YmfCallCounts counts;
int initHandle;

bool isAddressPort(int port) { return (port & 1) == 0; }

} // namespace

void ymfRecordingClear(int handle) {
    calls.clear();
    counts = YmfCallCounts{};
    initHandle = handle;
}

const std::vector<YmfPortCall>& ymfRecordingCalls() { return calls; }

const YmfCallCounts& ymfRecordingCounts() { return counts; }

std::vector<YmfRegisterWrite> ymfRecordingWrites() {
    std::vector<YmfRegisterWrite> writes;
    std::uint16_t latched = 0;
    for (const YmfPortCall& call : calls) {
        auto byte = static_cast<std::uint8_t>(call.value);
        switch (call.port & 3) {
        case 0: latched = byte; break;
        case 2: latched = static_cast<std::uint16_t>(0x100 | byte); break;
        default: writes.push_back({latched, byte}); break;
        }
    }
    return writes;
}

bool ymfRecordingProtocolKept() {
    for (std::size_t i = 0; i < calls.size(); i += 2) {
        if (i + 1 >= calls.size()) return false;
        const YmfPortCall& address = calls[i];
        const YmfPortCall& data = calls[i + 1];
        if (!isAddressPort(address.port) || isAddressPort(data.port)) return false;
        if (address.chip != data.chip || (data.port & 3) != (address.port & 3) + 1) return false;
        if (address.value < 0 || address.value > 0xFF || data.value < 0 || data.value > 0xFF) {
            return false;
        }
    }
    return true;
}

std::array<std::uint8_t, 512> ymfRecordingImage() {
    std::array<std::uint8_t, 512> image{};
    for (const YmfRegisterWrite& write : ymfRecordingWrites()) image[write.reg] = write.value;
    return image;
}

int YMF262Init(int chips, int clock, int rate) {
    ++counts.initCalls;
    counts.initChips = chips;
    counts.initClock = clock;
    counts.initRate = rate;
    return initHandle;
}

void YMF262ResetChip(int chip) {
    ++counts.resetCalls;
    counts.lastResetChip = chip;
}

int YMF262Write(int chip, int port, int value) {
    calls.push_back({chip, port, value});
    return 0;
}

void YMF262UpdateOne(int /*chip*/, std::int16_t* buffer, int frames) {
    ++counts.updateCalls;
    counts.framesRendered += frames;
    for (int i = 0; i < 2 * frames; ++i) buffer[i] = 0; // silence
}

void YMF262Shutdown() { ++counts.shutdownCalls; }
