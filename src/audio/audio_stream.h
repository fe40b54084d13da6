// The audio stream: it opens the sound device and the OPL3 chip, fills the
// device's buffers with OPL3 frames, and is the player's clock. Every
// 48000 / playRate frames the callback runs tickHandler, which normally calls
// the tune's play routine, so register changes fall exactly on tick
// boundaries of the output.
//
// Exclusion: the emulation (CPU, C64 memory, SID image, OPL3 chip) runs on
// the audio thread inside the callback and on the main thread while the
// stream is paused or inside audioRunExclusive. One lock, held by the callback
// for its whole body, keeps the two apart.
#pragma once

#include <atomic>
#include <cstdint>

inline constexpr int outputRate = 48000;
inline constexpr int framesPerBuffer = 4096;

using TickHandler = void (*)();

// Ticks per second; 50 after start-up, 1 while paused.
extern std::atomic<std::uint16_t> playRate;
// Called once per tick, on whichever thread runs the tick.
extern std::atomic<TickHandler> tickHandler;
// Set after each tick; the player clears it before it waits.
extern std::atomic<bool> frameDone;

// Frames since the last tick, and frames from one tick to the next. Only the
// callback uses them, under the lock; tests set them directly.
extern std::int32_t sampleCounter;
extern std::uint16_t samplesPerTick;

// Registers audioShutdown for program exit, creates and resets the chip,
// opens the device paused, clears the chip and builds the bridge's tables.
// When the device cannot be opened, prints "?Audio: <error>  ERROR" and ends
// the program with exit code 254.
void audioInit();

// audioInit without a sound device, for a program that calls audioCallback
// itself to render to a file: the same chip, clock and tables, the stream
// paused until setRateAndUnpause.
void audioInitOffline();

// Pauses and closes the device, if one was opened, then releases the chip.
void audioShutdown();

// The device's fill callback: len bytes of 16-bit stereo frames.
void audioCallback(void* userdata, std::uint8_t* stream, int len);

// playRate := rate, then the stream runs. For song init, once the init
// routine has returned; never from inside a tick.
void setRateAndUnpause(std::uint16_t rate);

// playRate := rate without resuming the stream: the rate change of a tune's
// own code. Inside a tick it takes effect from the next tick; during a song's
// init the stream stays paused.
void setPlayRate(std::uint16_t rate);

// playRate := 1 and the stream stops. On return no callback is running its
// body, and none starts one until the next setRateAndUnpause.
void pauseAudio();

// Runs `work` on the calling thread under the callback's lock, so it never
// overlaps a tick or the rendering: fast forward's extra play call. Never
// from inside a tick.
void audioRunExclusive(void (*work)());

void signalFrameDone();

void delayMs(std::uint16_t ms);
