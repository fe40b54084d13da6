// Rendering a song to a sound file, with no sound device and no terminal:
// the player's own emulation and audio path (song init, the callback's tick
// scheduling and the OPL3 rendering), driven by a loop instead of the device,
// so the file is what the player sounds like.
#pragma once

#include "render/sound_file.h"

#include <cstdint>
#include <string>

inline constexpr int exitRendered = 0;
inline constexpr int exitFailed = 1;
inline constexpr int exitUsage = 2;
inline constexpr int exitCpuFault = 3;

// The longest render: six hours of 16-bit stereo at 48000 Hz still fit the
// 4 GiB a WAV file can hold.
inline constexpr double maxRenderSeconds = 6 * 3600;

struct RenderOptions {
    std::string tune;
    std::string out; // "-" for standard output
    SoundFormat format = SoundFormat::wav;
    std::uint8_t song = 0; // 0: the tune's start song
    double seconds = 180;
    bool adsrBug = false;
    bool progress = false; // a progress bar on standard error
};

enum class Command { render, help, version, usageError };

extern const char* const renderUsage;
extern const char* const renderVersion;

// Reads the command line into `options`; for usageError, `error` says what
// is wrong.
Command parseRenderArguments(int argc, const char* const* argv, RenderOptions& options,
                             std::string& error);

struct RenderResult {
    int exitCode = exitRendered;
    // For exitFailed and exitCpuFault: the one line that says why.
    std::string message;
    std::uint16_t song = 0;
    std::uint16_t songCount = 0;
    std::uint16_t rate = 0;
    std::uint64_t frames = 0; // frames in the file
    double wallSeconds = 0;
};

// Renders the song into options.out. Messages are left to the caller; the
// progress bar, when asked for, is drawn here.
RenderResult renderTune(const RenderOptions& options);

// "song 1/3 at 50hz: 180.00 seconds into demo.wav, 42.1 times faster than
// real time"
std::string renderSummary(const RenderOptions& options, const RenderResult& result);
