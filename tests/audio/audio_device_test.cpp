// The real device path: SDL's disk driver writes what the callback renders
// to a file, and a device that cannot be opened ends the program with 254.
#include "audio/audio_stream.h"
#include "read_file.h"
#include "sidopl/sid_image.h"
#include "sound.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct ProbeResult {
    int exitCode;
    std::string out, err;
};

ProbeResult runProbe(const std::string& driver) {
    const fs::path dir = fs::temp_directory_path() / ("quavix-probe-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string command = "SDL_AUDIODRIVER=" + driver + " " AUDIO_INIT_PROBE " >" +
                                (dir / "out").string() + " 2>" + (dir / "err").string();
    const int status = std::system(command.c_str());
    ProbeResult run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir / "out"),
                    readFile(dir / "err")};
    fs::remove_all(dir);
    return run;
}

TEST(AudioDevice, UnopenableDeviceEndsTheProgramWith254AndOneLine) {
    const ProbeResult run = runProbe("no-such-driver");
    EXPECT_EQ(run.exitCode, 254);
    EXPECT_TRUE(run.out.starts_with("?Audio: ")) << run.out;
    EXPECT_TRUE(run.out.ends_with("  ERROR\n")) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
    EXPECT_GT(run.out.size(), std::string("?Audio:   ERROR\n").size()); // the error text
    EXPECT_EQ(run.err, "shutdowns 1\n");
}

TEST(AudioDevice, DiskDriverRecordsATriangleAt440Hz) {
    const fs::path file = fs::temp_directory_path() / ("quavix-disk-" + std::to_string(getpid()));
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    audioInit();

    sidWrite(0, 0x45); // F = 0x1D45: 440 Hz
    sidWrite(1, 0x1D);
    sidWrite(5, 0x00);
    sidWrite(6, 0xF0);
    sidWrite(4, 0x11); // triangle, gate on
    setRateAndUnpause(50);
    constexpr std::uintmax_t wanted = 2 * sound::rate * 4; // two seconds of frames
    for (int i = 0; i < 60000 && !(fs::exists(file) && fs::file_size(file) >= wanted); ++i) {
        std::this_thread::sleep_for(1ms);
    }
    pauseAudio();
    audioShutdown();

    const std::string bytes = readFile(file);
    fs::remove(file);
    ASSERT_GE(bytes.size(), wanted);
    std::vector<double> left;
    const auto* samples = reinterpret_cast<const std::int16_t*>(bytes.data());
    for (int frame = sound::rate / 2; frame < sound::rate * 3 / 2; ++frame) {
        left.push_back(samples[2 * frame]);
    }
    EXPECT_GT(sound::rms(left), 500);
    EXPECT_NEAR(sound::measuredFrequency(left), 440.0, 4.4);
}

} // namespace
