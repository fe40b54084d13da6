// The recording OPL3 library (target quavix_ymf262_recording): the five
// YMF262 functions of ymf262.h, which make no sound and record instead every
// YMF262Write call in order, plus counts of the other four. Tests link it in
// place of the real layer; production code never does.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// One YMF262Write call as made.
struct YmfPortCall {
    int chip;
    int port;
    int value;
    bool operator==(const YmfPortCall&) const = default;
};

// One register write: a latched address (0x000-0x1FF) and the data written
// to it through the data port.
struct YmfRegisterWrite {
    std::uint16_t reg;
    std::uint8_t value;
    bool operator==(const YmfRegisterWrite&) const = default;
};

// The calls other than YMF262Write.
struct YmfCallCounts {
    int initCalls;
    int initChips; // the arguments of the last YMF262Init
    int initClock;
    int initRate;
    int resetCalls;
    int lastResetChip;
    long framesRendered; // frames asked of YMF262UpdateOne, all calls added up
    int updateCalls;
    int shutdownCalls;
};

// Forgets every call recorded so far. YMF262Init returns `handle` from then on
// (0 unless a test sets another).
void ymfRecordingClear(int handle = 0);

// Every YMF262Write call since the last clear, in order.
const std::vector<YmfPortCall>& ymfRecordingCalls();

const YmfCallCounts& ymfRecordingCounts();

// The recorded calls read as the chip reads them: each data-port call (1 or 3)
// writes the register that the last address-port call (0 or 2) latched.
std::vector<YmfRegisterWrite> ymfRecordingWrites();

// True when every address-port call is followed at once by a data-port call
// and every data-port call follows an address-port call, as the port always
// writes them.
bool ymfRecordingProtocolKept();

// The 512 registers (0x000-0x1FF) after replaying ymfRecordingWrites() onto
// an image of zeros.
std::array<std::uint8_t, 512> ymfRecordingImage();
