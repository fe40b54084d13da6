// The player on our own tunes: the fixtures that make init and play fail,
// take their play address from the IRQ vector, run on past $0001 or choose
// the start song and the play rate, and the demo tune through the real chip.
#include "player_fixture.h"

#include <set>
#include <string>

namespace {

std::string tune(const std::string& name) { return std::string(TUNES_DIR) + "/" + name; }

class TunesTest : public PlayerTest {
  protected:
    static void playFile(const std::string& name) {
        tuneFileName = tune(name);
        runPlayer();
    }
    static bool screenShows(const std::string& text) {
        for (int r = 1; r <= 50; ++r) {
            if (row(r).find(text) != std::string::npos) return true;
        }
        return false;
    }
};

TEST_F(TunesTest, InitThatNeverReturnsIsASidInitErrorInSilence) {
    headless.keys.push_back(keyEnter); // for the message box
    playFile("init_loops.sid");
    EXPECT_TRUE(screenShows("SID-Init Error"));
    EXPECT_EQ(pass, 0); // no redraw pass
    EXPECT_EQ(playRate, 1);
    EXPECT_EQ(energy[0], 0.0);
}

TEST_F(TunesTest, PlayRoutineThatNeverReturnsEndsWithTheCpuError) {
    bool faultAtFirstPass = false;
    script = [&](int pass) {
        if (pass == 1) {
            faultAtFirstPass = cpuFault;
            extended(59);                      // F1: no action, the loop then ends
            headless.keys.push_back(keyEnter); // for the message box
        }
    };
    playFile("play_loops.sid");
    EXPECT_TRUE(faultAtFirstPass);
    EXPECT_EQ(pass, 1);
    EXPECT_TRUE(screenShows("Quavix CPU Error"));
    EXPECT_EQ(playRate, 1);
}

TEST_F(TunesTest, PlayAddressZeroTakesTheIrqVectorThatInitSet) {
    std::uint8_t calls = 0, counted = 0, afterInit = 0;
    script = [&](int pass) {
        if (pass == 3) {
            calls = frameCounter & 0xFF;
            counted = sidWritten(0);
            afterInit = sidWritten(1);
            headless.keys.push_back(keyEsc);
        }
    };
    playFile("irq_play.sid");
    EXPECT_EQ(TuneInfo.playAddress, C64Memory[0x0314] | C64Memory[0x0315] << 8);
    EXPECT_NE(TuneInfo.playAddress, 0);
    EXPECT_GT(calls, 0);
    EXPECT_EQ(counted, calls);
    EXPECT_EQ(afterInit, 0x11);
    EXPECT_FALSE(cpuFault);
}

TEST_F(TunesTest, CodeAtAddressOneRunsOnToTheNextBrk) {
    std::uint8_t stored = 0;
    script = [&](int pass) {
        if (pass == 2) {
            stored = sidWritten(24);
            headless.keys.push_back(keyEsc);
        }
    };
    playFile("store_0001.sid");
    EXPECT_EQ(stored, 0xA5); // the play call went on through $0001 to $0004
    EXPECT_FALSE(cpuFault);
}

TEST_F(TunesTest, PlayCallsStoreEverySidRegister) {
    std::vector<int> image;
    script = [&](int pass) {
        if (pass == 1) {
            for (int reg = 0; reg < sidRegisterCount; ++reg) image.push_back(sidWritten(reg));
            headless.keys.push_back(keyEsc);
        }
    };
    playFile("all_registers.sid");
    ASSERT_EQ(image.size(), 25u);
    for (int reg = 0; reg < sidRegisterCount; ++reg) EXPECT_EQ(image[reg], 0x40 + reg) << reg;
}

struct StartCase {
    const char* file;
    std::uint8_t accumulator; // the song number minus one that init got
    const char* status;
    int selected;
};

TEST_F(TunesTest, SongZeroIsTheStartSong) {
    for (const StartCase c : {StartCase{"start3.sid", 2, "Playing 3/5 at 60hz", 3},
                              StartCase{"start0.sid", 0xFF, "Playing 0/5 at 60hz", 0}}) {
        std::uint8_t accumulator = 0;
        std::string status;
        script = [&](int pass) {
            if (pass == 1) {
                accumulator = C64Memory[0xC000];
                status = row(10).substr(0, 19);
                headless.keys.push_back(keyEsc);
            }
        };
        pass = 0;
        playFile(c.file);
        EXPECT_EQ(accumulator, c.accumulator) << c.file;
        EXPECT_EQ(status, c.status) << c.file;
        EXPECT_EQ(selectedSong, c.selected) << c.file;
    }
}

TEST_F(TunesTest, PlayRateFromTheSpeedBitTheCiaTimerOrSixty) {
    for (const auto& [file, rate] :
         {std::pair{"cia59.sid", 59}, {"vblank.sid", 50}, {"no_timer.sid", 60}}) {
        int shown = 0;
        script = [&](int pass) {
            if (pass == 1) {
                shown = playRate;
                headless.keys.push_back(keyEsc);
            }
        };
        pass = 0;
        playFile(file);
        EXPECT_EQ(shown, rate) << file;
    }
}

TEST_F(TunesTest, InfoFilePairPlaysLikeThePsidFile) {
    std::string status;
    script = [&](int pass) {
        if (pass == 1) {
            status = row(10).substr(0, 19);
            headless.keys.push_back(keyEsc);
        }
    };
    playFile("demo-pair.sid");
    EXPECT_EQ(status, "Playing 1/3 at 50hz");
}

// Ten seconds of each song of the demo: every song sounds, and the register
// log shows triangle, sawtooth, pulse and noise.
TEST_F(TunesTest, DemoSongsSoundAndUseEveryWaveform) {
    constexpr int passesPerSong = 10 * outputRate / framesPerBuffer;
    std::set<int> waveforms;
    std::vector<std::string> statuses;
    script = [&](int pass) {
        const std::string log = row(48);
        for (int column : {18, 36, 54})
            waveforms.insert(std::stoi(log.substr(column, 1), nullptr, 16));
        if (pass % passesPerSong == 0) {
            statuses.push_back(row(10).substr(0, 11));
            if (pass == 3 * passesPerSong) {
                headless.keys.push_back(keyEsc);
            } else {
                segment = segment + 1;
                extended(scanRight);
            }
        }
    };
    playFile("demo.sid");
    EXPECT_EQ(statuses, (std::vector<std::string>{"Playing 1/3", "Playing 2/3", "Playing 3/3"}));
    for (int song = 0; song < 3; ++song) {
        const double rms = std::sqrt(energy[song] / (2.0 * passesPerSong * framesPerBuffer));
        EXPECT_GT(rms, 300) << "song " << song + 1;
    }
    for (int waveform : {1, 2, 4, 8}) EXPECT_TRUE(waveforms.count(waveform)) << waveform;
}

} // namespace
