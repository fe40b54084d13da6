// quavix-render as its users run it: the real program on our own tunes,
// through the real OPL3 core and libsndfile, checked through its exit codes,
// its messages and the sound files it leaves (read back with soxi where the
// format is not plain WAV).
#include "read_file.h"
#include "render/render.h"
#include "sound.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
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

// ARGUMENTS

struct ArgumentCase {
    std::vector<const char*> arguments;
    Command command;
    std::string out;
    SoundFormat format;
    int song;
    double seconds;
    bool adsrBug;
};

TEST(RenderArguments, ReadsTheCommandLine) {
    const std::vector<ArgumentCase> cases = {
        {{"tunes/demo.sid"}, Command::render, "demo.wav", SoundFormat::wav, 0, 180, false},
        {{"Demo.SID", "-o", "out/Song.FLAC"},
         Command::render,
         "out/Song.FLAC",
         SoundFormat::flac,
         0,
         180,
         false},
        {{"-s", "2", "demo.sid", "-o", "x.ogg"},
         Command::render,
         "x.ogg",
         SoundFormat::ogg,
         2,
         180,
         false},
        {{"demo.sid", "-t", "2.5", "--adsr-bug", "-o", "-"},
         Command::render,
         "-",
         SoundFormat::wav,
         0,
         2.5,
         true},
        {{"tune", "-t", "21600"}, Command::render, "tune.wav", SoundFormat::wav, 0, 21600, false},
        {{"--", "-odd.sid"}, Command::render, "-odd.wav", SoundFormat::wav, 0, 180, false},
        {{"demo.sid", "-o", "/dev/null"},
         Command::render,
         "/dev/null",
         SoundFormat::wav,
         0,
         180,
         false},
        {{"demo.sid", "--help"}, Command::help, "", SoundFormat::wav, 0, 180, false},
        {{"--version"}, Command::version, "", SoundFormat::wav, 0, 180, false},
    };
    for (const ArgumentCase& test : cases) {
        std::vector<const char*> argv = {"quavix-render"};
        argv.insert(argv.end(), test.arguments.begin(), test.arguments.end());
        RenderOptions options;
        std::string error;
        const Command command =
            parseRenderArguments(static_cast<int>(argv.size()), argv.data(), options, error);
        const std::string name = test.arguments.front();
        ASSERT_EQ(command, test.command) << name << ": " << error;
        if (command != Command::render) continue;
        EXPECT_EQ(options.out, test.out) << name;
        EXPECT_EQ(options.format, test.format) << name;
        EXPECT_EQ(options.song, test.song) << name;
        EXPECT_EQ(options.seconds, test.seconds) << name;
        EXPECT_EQ(options.adsrBug, test.adsrBug) << name;
    }
}

TEST(RenderArguments, RejectsWrongCommandLines) {
    const std::vector<std::vector<const char*>> cases = {
        {},
        {"a.sid", "b.sid"},
        {"demo.sid", "-x"},
        {"demo.sid", "-o"},
        {"demo.sid", "-s", "0"},
        {"demo.sid", "-s", "256"},
        {"demo.sid", "-s", "two"},
        {"demo.sid", "-t", "0"},
        {"demo.sid", "-t", "21600.5"},
        {"demo.sid", "-t", "1e3"},
        {"demo.sid", "-t", "-5"},
        {"demo.sid", "-o", "demo.mp3"},
        {"demo.sid", "-o", "demo"},
        {"demo.sid", "-o", "folder.wav/demo"},
    };
    for (const auto& arguments : cases) {
        std::vector<const char*> argv = {"quavix-render"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        RenderOptions options;
        std::string error;
        EXPECT_EQ(parseRenderArguments(static_cast<int>(argv.size()), argv.data(), options, error),
                  Command::usageError)
            << (arguments.empty() ? "(none)" : arguments.back());
        EXPECT_FALSE(error.empty());
    }
}

// THE PROGRAM

struct Finished {
    int exitCode;
    std::string out;
    std::string err;
};

class RenderProgram : public ::testing::Test {
  protected:
    fs::path work;

    void SetUp() override {
        work = fs::temp_directory_path() /
               ("quavix-render-test-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(work);
        fs::create_directories(work);
    }
    void TearDown() override { fs::remove_all(work); }

    static std::string tune(const std::string& name) { return std::string(TUNES_DIR) + "/" + name; }

    // Runs a shell command in the work folder.
    Finished shell(const std::string& command) const {
        const std::string line = "cd '" + work.string() + "' && " + command + " >'" +
                                 (work / "stdout").string() + "' 2>'" + (work / "stderr").string() +
                                 "'";
        const int status = std::system(line.c_str());
        Finished run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(work / "stdout"),
                     readFile(work / "stderr")};
        fs::remove(work / "stdout");
        fs::remove(work / "stderr");
        return run;
    }
    Finished render(const std::string& arguments) const {
        return shell(QUAVIX_RENDER " " + arguments);
    }

    // soxi's answer for one field of a sound file.
    std::string soxi(const std::string& option, const fs::path& file) const {
        const std::string command = "soxi " + option + " '" + file.string() + "' 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        std::string text;
        for (int c; (c = std::fgetc(pipe)) != EOF;) text += static_cast<char>(c);
        pclose(pipe);
        while (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }

    std::vector<std::string> filesInWork() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(work))
            names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// The left channel of a 16-bit stereo WAV file with a 44-byte header.
std::vector<double> leftChannel(const std::string& wav) {
    std::vector<double> left;
    const auto* samples = reinterpret_cast<const std::int16_t*>(wav.data() + 44);
    for (std::size_t frame = 0; frame < (wav.size() - 44) / 4; ++frame)
        left.push_back(samples[2 * frame]);
    return left;
}

TEST_F(RenderProgram, EachExtensionGivesItsFormatAndLength) {
    struct Case {
        const char* name;
        const char* type;
        const char* encoding;
    };
    for (const Case& test :
         {Case{"song.wav", "wav", "Signed Integer PCM"}, Case{"song.FLAC", "flac", "FLAC"},
          Case{"song.ogg", "vorbis", "Vorbis"}}) {
        const Finished run = render(tune("demo.sid") + " -t 3 -o " + test.name);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(run.err.starts_with("quavix-render: song 1/3 at 50hz: 3.00 seconds into " +
                                        std::string(test.name) + ", "))
            << run.err;
        const fs::path file = work / test.name;
        EXPECT_EQ(soxi("-t", file), test.type) << test.name;
        EXPECT_EQ(soxi("-r", file), "48000") << test.name;
        EXPECT_EQ(soxi("-c", file), "2") << test.name;
        EXPECT_EQ(soxi("-s", file), "144000") << test.name;
        EXPECT_NE(soxi("-e", file).find(test.encoding), std::string::npos) << soxi("-e", file);
    }
    EXPECT_EQ(filesInWork().size(), 3u) << "no temporary file is left";
}

TEST_F(RenderProgram, SameSongAndOptionsGiveTheSameBytes) {
    for (const char* extension : {"wav", "flac", "ogg"}) {
        for (const char* name : {"one", "two"}) {
            const std::string out = std::string(name) + "." + extension;
            ASSERT_EQ(render(tune("demo.sid") + " -s 2 -t 2 --adsr-bug -o " + out).exitCode, 0);
            // The OGG stream's serial number would otherwise come from the clock.
            std::this_thread::sleep_for(10ms);
        }
        const std::string first = readFile(work / ("one." + std::string(extension)));
        EXPECT_GT(first.size(), 1000u) << extension;
        EXPECT_TRUE(first == readFile(work / ("two." + std::string(extension))))
            << extension << " renders differ";
    }
    ASSERT_EQ(render(tune("demo.sid") + " -s 2 -t 2 -o plain.wav").exitCode, 0);
    EXPECT_FALSE(readFile(work / "plain.wav") == readFile(work / "one.wav"))
        << "--adsr-bug changes nothing";
}

TEST_F(RenderProgram, DefaultsAreTheStartSongForThreeMinutesBesideTheUser) {
    const Finished run = render(tune("demo.sid"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(
        run.err.starts_with("quavix-render: song 1/3 at 50hz: 180.00 seconds into demo.wav, "))
        << run.err;
    EXPECT_EQ(soxi("-s", work / "demo.wav"), std::to_string(180 * 48000));
}

TEST_F(RenderProgram, ADeviceTakesTheSoundAsItIs) {
    const Finished run = render(tune("demo.sid") + " -t 1 -o /dev/null");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("1.00 seconds into /dev/null"), std::string::npos) << run.err;
    EXPECT_TRUE(filesInWork().empty());
}

TEST_F(RenderProgram, ATuneThatWritesNoSidRegisterIsSilent) {
    ASSERT_EQ(render(tune("no_timer.sid") + " -t 2 -o quiet.wav").exitCode, 0);
    const std::string wav = readFile(work / "quiet.wav");
    ASSERT_EQ(wav.size(), 44u + 2 * 48000 * 4);
    EXPECT_EQ(wav.find_first_not_of('\0', 44), std::string::npos);
}

TEST_F(RenderProgram, ASteadyNoteIsRenderedAtItsPitch) {
    ASSERT_EQ(render(tune("tone.sid") + " -t 2 -o tone.wav").exitCode, 0);
    const std::vector<double> left = leftChannel(readFile(work / "tone.wav"));
    const std::vector<double> middle(left.begin() + 24000, left.begin() + 72000);
    EXPECT_GT(sound::rms(middle), 500);
    EXPECT_NEAR(sound::measuredFrequency(middle), 440.0, 4.4);
}

TEST_F(RenderProgram, StandardOutputGetsTheSameSoundAsAFile) {
    ASSERT_EQ(render(tune("demo.sid") + " -t 2 -o file.wav").exitCode, 0);
    const Finished run = render(tune("demo.sid") + " -t 2 -o -");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.out == readFile(work / "file.wav")) << "standard output differs from the file";
    EXPECT_TRUE(run.err.find("into standard output") != std::string::npos) << run.err;
}

TEST_F(RenderProgram, APlayRoutineThatOverrunsEndsTheFileAtItsTick) {
    // At 50 ticks per second the first tick falls at frame 958 and each
    // further one 960 frames later: the first play call of play_loops hangs,
    // the tenth of late_fault.
    struct Case {
        const char* tune;
        int frames;
    };
    for (const Case& test : {Case{"play_loops.sid", 958}, Case{"late_fault.sid", 958 + 9 * 960}}) {
        const Finished run = render(tune(test.tune) + " -t 5 -o fault.wav");
        EXPECT_EQ(run.exitCode, 3) << test.tune;
        EXPECT_TRUE(run.err.starts_with(
            "quavix-render: Quavix CPU Error: the play routine overran its budget "))
            << run.err;
        EXPECT_NE(run.err.find("the sound file ends there"), std::string::npos) << run.err;
        EXPECT_EQ(soxi("-s", work / "fault.wav"), std::to_string(test.frames)) << test.tune;
    }
    // A render that ends before the faulty tick is whole.
    const Finished before = render(tune("late_fault.sid") + " -t 0.19 -o whole.wav");
    EXPECT_EQ(before.exitCode, 0) << before.err;
    EXPECT_EQ(soxi("-s", work / "whole.wav"), "9120");
}

TEST_F(RenderProgram, FailuresAreOneLineWithExitCode1AndLeaveNoFile) {
    fs::copy_file(tune("init_loops.sid"), work / "init_loops.sid");
    fs::create_directory(work / "folder.wav");
    struct Case {
        std::string arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"missing.sid -o out.wav", "quavix-render: missing.sid Not Found\n"},
        {"init_loops.sid -o out.wav", "quavix-render: SID-Init Error\n"},
        {tune("demo.sid") + " -s 4 -o out.wav",
         "quavix-render: " + tune("demo.sid") + " has songs 1 to 3, not song 4\n"},
        {tune("demo.sid") + " -o no/such/folder/out.wav",
         "quavix-render: cannot write no/such/folder/out.wav: No such file or directory\n"},
        {tune("demo.sid") + " -o folder.wav",
         "quavix-render: cannot write folder.wav: Is a directory\n"},
    };
    for (const Case& test : cases) {
        const Finished run = render(test.arguments);
        EXPECT_EQ(run.exitCode, 1) << test.arguments;
        EXPECT_EQ(run.err, test.message);
        EXPECT_EQ(filesInWork(), (std::vector<std::string>{"folder.wav", "init_loops.sid"}))
            << test.arguments;
    }
}

TEST_F(RenderProgram, AFailedRenderKeepsTheFileItWouldHaveReplaced) {
    fs::copy_file(tune("init_loops.sid"), work / "init_loops.sid");
    std::ofstream(work / "kept.wav") << "an earlier render";
    EXPECT_EQ(render("init_loops.sid -o kept.wav").exitCode, 1);
    EXPECT_EQ(readFile(work / "kept.wav"), "an earlier render");
}

TEST_F(RenderProgram, AnInterruptedRenderLeavesNoPartialFile) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (chdir(work.c_str()) != 0) _exit(100);
        std::freopen("/dev/null", "w", stderr);
        execl(QUAVIX_RENDER, QUAVIX_RENDER, tune("demo.sid").c_str(), "-t", "21600", "-o",
              "long.wav", nullptr);
        _exit(101);
    }
    // Until the render has begun writing.
    for (int i = 0; i < 10000 && filesInWork().empty(); ++i) std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(200ms);
    ASSERT_EQ(filesInWork().size(), 1u);
    EXPECT_TRUE(filesInWork().front().starts_with(".long.wav.")) << filesInWork().front();
    kill(child, SIGINT);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
    EXPECT_TRUE(filesInWork().empty());
}

TEST_F(RenderProgram, AProgressBarOnlyOnATerminal) {
    const Finished plain = render(tune("demo.sid") + " -t 2 -o bar.wav");
    ASSERT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.err.find('\r'), std::string::npos) << plain.err;
    // script(1) gives the program a terminal for all three streams and copies
    // what it writes there to its own output.
    const Finished shown =
        shell("script -qec '" QUAVIX_RENDER " " + tune("demo.sid") + " -t 2 -o bar.wav' /dev/null");
    EXPECT_NE(shown.out.find("] 100%  0:02.0 / 0:02.0"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("quavix-render: song 1/3 at 50hz: 2.00 seconds into bar.wav"),
              std::string::npos);
}

TEST_F(RenderProgram, HelpAndVersion) {
    const Finished help = render("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, renderUsage);
    const Finished version = render("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, renderVersion);
    const Finished wrong = render("--what");
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_EQ(wrong.err, "quavix-render: unknown option --what\nTry 'quavix-render --help'.\n");
}

} // namespace
