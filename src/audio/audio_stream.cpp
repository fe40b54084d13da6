// The only file that talks to SDL.
#include "audio/audio_stream.h"

#include "sidopl/opl_port.h"
#include "sidopl/sid_image.h"
#include "sidopl/voice_translation.h"
#include "sidopl/ymf262.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

std::atomic<std::uint16_t> playRate{50};
std::atomic<TickHandler> tickHandler{signalFrameDone};
std::atomic<bool> frameDone{false};
std::int32_t sampleCounter;
std::uint16_t samplesPerTick = outputRate / 50;

namespace {

std::array<std::int16_t, framesPerBuffer * 2> sampleBuffer;

// Held by the callback for its whole body and by the main thread whenever it
// runs the emulation next to a running stream.
std::mutex emulationLock;

// Whether the callback may run its body. SDL's own pause flag is not enough:
// its audio thread may have looked at it just before a pause and still be
// about to call in.
bool streamRunning;

// Whether audioInit opened the device; a program that renders offline never
// does.
bool deviceOpen;

void createChip() {
    oplChip = YMF262Init(1, 14400000, outputRate);
    YMF262ResetChip(oplChip);
}

// The tick clock at 50 Hz, the chip silent and the SID image reset.
void prepareStream() {
    sampleCounter = 1;
    playRate = 50;
    oplClear();
    initBridgeTables();
    sidReset();
    tickHandler = signalFrameDone;
}

} // namespace

void audioInit() {
    std::atexit(audioShutdown);
    createChip();

    SDL_AudioSpec desired{};
    desired.freq = outputRate;
    desired.format = AUDIO_S16LSB;
    desired.channels = 2;
    desired.samples = framesPerBuffer;
    desired.callback = audioCallback;
    desired.userdata = nullptr;
    if (SDL_OpenAudio(&desired, nullptr) < 0) {
        std::printf("?Audio: %s  ERROR\n", SDL_GetError());
        std::exit(254);
    }
    deviceOpen = true;
    prepareStream();
}

void audioInitOffline() {
    createChip();
    prepareStream();
}

void audioShutdown() {
    if (deviceOpen) {
        SDL_PauseAudio(1);
        SDL_CloseAudio();
        deviceOpen = false;
    }
    YMF262Shutdown();
}

void audioCallback(void*, std::uint8_t* stream, int len) {
    const std::size_t size = static_cast<std::size_t>(std::max(len, 0));
    const std::size_t bytes = std::min(size, sizeof sampleBuffer);
    std::lock_guard lock(emulationLock);
    if (!streamRunning) {
        std::memset(stream, 0, size);
        return;
    }
    for (int frame = 0; frame < framesPerBuffer; ++frame) {
        if (++sampleCounter >= samplesPerTick) {
            sampleCounter = 0;
            tickHandler.load()();
            // The rate as the tick left it: a rate the tune just set applies
            // to the very next interval.
            if (const std::uint16_t rate = playRate; rate != 0) samplesPerTick = outputRate / rate;
        }
        YMF262UpdateOne(oplChip, &sampleBuffer[2 * frame], 1);
    }
    std::memcpy(stream, sampleBuffer.data(), bytes);
    std::memset(stream + bytes, 0, size - bytes);
}

void setRateAndUnpause(std::uint16_t rate) {
    playRate = rate;
    {
        std::lock_guard lock(emulationLock);
        streamRunning = true;
    }
    if (deviceOpen) SDL_PauseAudio(0);
}

void setPlayRate(std::uint16_t rate) { playRate = rate; }

void pauseAudio() {
    {
        // Under the lock, so that a tick still running cannot set its own
        // rate after this one.
        std::lock_guard lock(emulationLock);
        playRate = 1;
        streamRunning = false;
    }
    if (deviceOpen) SDL_PauseAudio(1);
}

void audioRunExclusive(void (*work)()) {
    std::lock_guard lock(emulationLock);
    work();
}

void signalFrameDone() { frameDone = true; }

void delayMs(std::uint16_t ms) { SDL_Delay(ms); }
