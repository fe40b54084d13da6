#include "render/render.h"

#include "app/song.h"
#include "audio/audio_stream.h"
#include "cpu/c64_io.h"
#include "cpu/cpu.h"
#include "screen/text_screen.h"
#include "sidopl/sid_image.h"
#include "tune/tune_loader.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>

const char* const renderUsage =
    "Usage: quavix-render TUNE [-o OUT] [-s SONG] [-t SECONDS] [--adsr-bug]\n"
    "Renders a song of a C64 tune (PSID file or SIDPLAY info-file pair) to a\n"
    "sound file, as the Quavix player plays it, with no sound device.\n"
    "\n"
    "  -o OUT       the sound file; its extension picks the format: .wav, .flac\n"
    "               or .ogg. \"-\" writes WAV to standard output, and a device\n"
    "               such as /dev/null takes WAV. Default: the tune's name with\n"
    "               .wav, in the current directory.\n"
    "  -s SONG      the song to render, from 1. Default: the tune's start song.\n"
    "  -t SECONDS   how long to render, up to 21600. Default: 180.\n"
    "  --adsr-bug   render with the player's ADSR bug turned on.\n"
    "  --help       show this help and exit.\n"
    "  --version    show the version and exit.\n"
    "\n"
    "Exit codes: 0 rendered, 1 the tune or OUT failed, 2 a wrong command line,\n"
    "3 the play routine overran its budget (the file ends there).\n";

const char* const renderVersion = "quavix-render 1.4\n";

namespace {

bool parseSong(std::string_view text, std::uint8_t& song) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    const int value = std::atoi(std::string(text).c_str());
    if (value < 1 || value > 255) return false;
    song = static_cast<std::uint8_t>(value);
    return true;
}

bool parseSeconds(const std::string& text, double& seconds) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return false;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(value > 0) || value > maxRenderSeconds) return false;
    seconds = value;
    return true;
}

// The tune's file name without its folders and its extension, with ".wav".
std::string defaultOutput(const std::string& tune) {
    std::string base = tune.substr(tune.rfind('/') + 1);
    const std::size_t dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0) base.resize(dot);
    return base + ".wav";
}

// m:ss.s
std::string clockText(double seconds) {
    const auto tenths = static_cast<long long>(seconds * 10);
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%lld:%02lld.%lld", tenths / 600, tenths / 10 % 60,
                  tenths % 10);
    return text.data();
}

// Where the ticks of the buffer being rendered fall, worked out from the
// callback's own counters: the first when the frame counter reaches the
// interval, each further one an interval (as the tick before it left it)
// later. A play call that overruns its budget ends the file at its tick.
std::uint64_t framesDone;
std::int32_t nextTickFrame;
unsigned ticksInBuffer;
std::int64_t faultFrame;

void startBuffer() {
    ticksInBuffer = 0;
    nextTickFrame = std::max(0, samplesPerTick - sampleCounter - 1);
}

void renderTick() {
    if (ticksInBuffer++ > 0) nextTickFrame += samplesPerTick;
    playTick();
    if (cpuFault && faultFrame < 0)
        faultFrame = static_cast<std::int64_t>(framesDone) + nextTickFrame;
}

constexpr int progressWidth = 40;

void drawProgress(std::uint64_t done, std::uint64_t planned) {
    const auto filled = static_cast<int>(done * progressWidth / planned);
    std::fprintf(stderr, "\r[%s%s] %3d%%  %s / %s", std::string(filled, '#').c_str(),
                 std::string(progressWidth - filled, '.').c_str(),
                 static_cast<int>(done * 100 / planned),
                 clockText(static_cast<double>(done) / outputRate).c_str(),
                 clockText(static_cast<double>(planned) / outputRate).c_str());
    std::fflush(stderr);
}

void eraseProgress() { std::fprintf(stderr, "\r%*s\r", progressWidth + 40, ""); }

} // namespace

Command parseRenderArguments(int argc, const char* const* argv, RenderOptions& options,
                             std::string& error) {
    options = RenderOptions{};
    bool haveOutput = false;
    bool optionsEnded = false;
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        auto value = [&](std::string& into) {
            if (index + 1 >= argc) {
                error = "option " + argument + " needs a value";
                return false;
            }
            into = argv[++index];
            return true;
        };
        std::string text;
        if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
            if (!options.tune.empty()) {
                error = "only one tune can be rendered at a time";
                return Command::usageError;
            }
            options.tune = argument;
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            return Command::help;
        } else if (argument == "--version") {
            return Command::version;
        } else if (argument == "--adsr-bug") {
            options.adsrBug = true;
        } else if (argument == "-o") {
            if (!value(options.out)) return Command::usageError;
            haveOutput = true;
        } else if (argument == "-s") {
            if (!value(text)) return Command::usageError;
            if (!parseSong(text, options.song)) {
                error = "the song must be a number from 1 to 255, not '" + text + "'";
                return Command::usageError;
            }
        } else if (argument == "-t") {
            if (!value(text)) return Command::usageError;
            if (!parseSeconds(text, options.seconds)) {
                error = "the length must be a number of seconds above 0 and up to 21600, not '" +
                        text + "'";
                return Command::usageError;
            }
        } else {
            error = "unknown option " + argument;
            return Command::usageError;
        }
    }
    if (options.tune.empty()) {
        error = "no tune given";
        return Command::usageError;
    }
    if (!haveOutput) options.out = defaultOutput(options.tune);
    if (options.out == "-") return Command::render;
    struct stat status {};
    if (const std::optional<SoundFormat> format = soundFormatOf(options.out)) {
        options.format = *format;
    } else if (stat(options.out.c_str(), &status) == 0 && S_ISCHR(status.st_mode)) {
        // A device such as /dev/null has no extension to ask for a format.
        options.format = SoundFormat::wav;
    } else {
        error = options.out +
                ": the name must end in .wav, .flac or .ogg (or be - for WAV on standard output)";
        return Command::usageError;
    }
    return Command::render;
}

RenderResult renderTune(const RenderOptions& options) {
    RenderResult result;
    auto failed = [&](std::string message) {
        pauseAudio();
        audioShutdown();
        result.exitCode = exitFailed;
        result.message = std::move(message);
        return result;
    };

    audioInitOffline();
    writeHook = c64WriteHook;
    adsrBugEnabled = options.adsrBug;
    cpuBuildTables();
    cpuReset();
    tuneFileName = options.tune;
    // Loaded once here to know its songs before anything is written.
    if (!loadTune()) return failed(lastMessage);
    result.songCount = TuneInfo.songCount;
    if (options.song > TuneInfo.songCount) {
        return failed(options.tune + " has songs 1 to " + std::to_string(TuneInfo.songCount) +
                      ", not song " + std::to_string(options.song));
    }

    const auto planned = std::max<std::uint64_t>(1, std::llround(options.seconds * outputRate));
    std::string error;
    if (!soundFileOpen(options.out, options.format, planned, error)) return failed(error);
    if (!initSong(options.song)) {
        soundFileDiscard();
        return failed(lastMessage);
    }
    result.song = playingSong;
    result.rate = playRate;
    frameCounter = 0;
    tickHandler = renderTick;
    framesDone = 0;
    faultFrame = -1;

    std::array<std::int16_t, framesPerBuffer * 2> buffer;
    const auto started = std::chrono::steady_clock::now();
    int drawnPercent = -1;
    bool faulted = false;
    while (framesDone < planned && !faulted) {
        startBuffer();
        audioCallback(nullptr, reinterpret_cast<std::uint8_t*>(buffer.data()), sizeof buffer);
        std::uint64_t end = std::min<std::uint64_t>(planned, framesDone + framesPerBuffer);
        // A fault after the requested length is never heard.
        if (faultFrame >= 0 && static_cast<std::uint64_t>(faultFrame) < end) {
            end = static_cast<std::uint64_t>(faultFrame);
            faulted = true;
        }
        if (!soundFileWrite(buffer.data(), end - framesDone, error)) {
            if (options.progress) eraseProgress();
            soundFileDiscard();
            return failed(error);
        }
        framesDone = end;
        if (const auto percent = static_cast<int>(framesDone * 100 / planned);
            options.progress && percent != drawnPercent) {
            drawProgress(framesDone, planned);
            drawnPercent = percent;
        }
    }
    if (options.progress) eraseProgress();
    if (!soundFileFinish(error)) return failed(error);
    result.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    result.frames = framesDone;
    pauseAudio();
    audioShutdown();
    if (faulted) {
        result.exitCode = exitCpuFault;
        std::array<char, 32> at{};
        std::snprintf(at.data(), at.size(), "%.3f", static_cast<double>(framesDone) / outputRate);
        result.message = std::string("Quavix CPU Error: the play routine overran its budget ") +
                         at.data() + " seconds in; the sound file ends there";
    }
    return result;
}

std::string renderSummary(const RenderOptions& options, const RenderResult& result) {
    const double seconds = static_cast<double>(result.frames) / outputRate;
    const double speed = seconds / std::max(result.wallSeconds, 1e-9);
    std::array<char, 64> figures{};
    std::snprintf(figures.data(), figures.size(), "%.2f seconds", seconds);
    std::array<char, 64> faster{};
    std::snprintf(faster.data(), faster.size(), "%.1f times faster than real time", speed);
    return "song " + std::to_string(result.song) + "/" + std::to_string(result.songCount) + " at " +
           std::to_string(result.rate) + "hz: " + figures.data() + " into " +
           (options.out == "-" ? std::string("standard output") : options.out) + ", " +
           faster.data();
}
