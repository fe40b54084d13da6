// The player screen and its keys, on a tune built here whose play routine
// writes nothing, so the values a test stores show in the register log.
#include "player_fixture.h"

#include <string>

namespace {

TEST_F(PlayerTest, DrawsTheFixedRowsAndTheTunesTexts) {
    TestTune tune;
    tune.name = "A Title";
    play(tune);
    EXPECT_EQ(row(1).substr(0, 23), "\xDB\xDB Quavix 1.4 b20080114");
    EXPECT_EQ(row(2).substr(0, 3), "\xB2\xB1 ");
    EXPECT_EQ(row(3).substr(0, 3), "\xB1\xB1 ");
    EXPECT_EQ(row(5).substr(0, 18), "Songtitle: A Title");
    EXPECT_EQ(row(6).substr(0, 23), "Composer : Quavix tests");
    EXPECT_EQ(row(7).substr(0, 22), "Copyright: 2026 Quavix");
    EXPECT_EQ(row(50).substr(0, 79),
              "Keys  :  <\x11><\x10>-change song  <\x1F><\x1E>-change speed  <SPACE>-ADSR bug "
              "on/OFF <ESC>");
}

TEST_F(PlayerTest, PlayTimeCountsTicksAtThePlayRate) {
    std::string atOneMinute, atWrap;
    script = [&](int pass) {
        // The next pass draws after the first tick of its buffer.
        if (pass == 1) frameCounter = 3000 - 1;
        if (pass == 2) {
            atOneMinute = row(8).substr(0, 19);
            frameCounter = 256 * 60 * 50 - 1;
        }
        if (pass == 3) {
            atWrap = row(8).substr(10, 9);
            headless.keys.push_back(keyEsc);
        }
    };
    play(TestTune{});
    EXPECT_EQ(atOneMinute, "Playtime : 01:00 \x10 ");
    EXPECT_EQ(atWrap, " 00:00 \x10 "); // 256 minutes: minutes are kept in 8 bits
    EXPECT_EQ(attrAt(11, 8), 7);
}

TEST_F(PlayerTest, SongAndRateLine) {
    TestTune tune;
    tune.songs = 5;
    tune.startSong = 2;
    tune.vblank = false; // and no timer: 60 Hz
    std::string line;
    script = [&](int pass) {
        if (pass == 2) {
            line = row(10);
            headless.keys.push_back(keyEsc);
        }
    };
    play(tune);
    EXPECT_EQ(line, "Playing 2/5 at 60hz" + std::string(61, '\0'));
}

// Voice 0 at F = 16 with the gate on, voice 1 at F = 17, voice 2 at $1D45;
// the filter registers with recognisable bits.
void storeKnownRegisters() {
    const std::uint8_t image[25] = {0x10, 0x00, 0x34, 0x12, 0x41, 0x09, 0xA5, 0x11, 0x00,
                                    0x00, 0x08, 0x20, 0x00, 0xF0, 0x45, 0x1D, 0xFF, 0x0F,
                                    0x10, 0x11, 0x22, 0x07, 0xAB, 0xF5, 0x5A};
    for (int reg = 0; reg < 25; ++reg) sidWrite(reg, image[reg]);
}

TEST_F(PlayerTest, RegisterLogShowsNotesRegistersAndGates) {
    std::string line;
    std::vector<std::uint8_t> attributes;
    script = [&](int pass) {
        if (pass == 1) {
            exclusive(storeKnownRegisters);
            frameCounter = 0xAB234560;
        }
        if (pass == 2) {
            line = row(48);
            for (int column = 1; column <= 80; ++column) attributes.push_back(attrAt(column, 48));
            headless.keys.push_back(keyEsc);
        }
    };
    play(TestTune{});
    // Drawn once the buffer's first tick is done, before or after its others:
    // the low 24 bits of the count.
    EXPECT_EQ(line.substr(0, 2), "00");
    const unsigned drawn = std::stoul(line.substr(2, 6), nullptr, 16);
    EXPECT_GE(drawn, 0x234561u);
    EXPECT_LE(drawn, 0x234565u);
    EXPECT_EQ(line.substr(8, 2), "  ");
    EXPECT_EQ(line.substr(10, 18), "... 234 41 09A5   ");
    EXPECT_EQ(line.substr(28, 18), "C-0 800 20 00F0   ");
    EXPECT_EQ(line.substr(46, 18), "A-4 FFF 10 1122   ");
    EXPECT_EQ(line.substr(64, 16), " AB07 1.3 L.H FA");
    EXPECT_EQ(attributes[0], 7);
    EXPECT_EQ(attributes[10], 15); // gate on
    EXPECT_EQ(attributes[27], 15);
    EXPECT_EQ(attributes[28], 8); // gate off
    EXPECT_EQ(attributes[46], 8);
    EXPECT_EQ(attributes[64], 7);
}

TEST_F(PlayerTest, LogScrollsUpOneRowPerPass) {
    std::string before, after;
    script = [&](int pass) {
        if (pass == 2) before = row(48);
        if (pass == 3) {
            after = row(47);
            headless.keys.push_back(keyEsc);
        }
    };
    play(TestTune{});
    EXPECT_EQ(after, before);
}

TEST_F(PlayerTest, SongKeysStopAtTheFirstAndTheLastSong) {
    TestTune tune;
    tune.songs = 2;
    std::vector<std::string> lines;
    script = [&](int pass) {
        if (pass > 1) lines.push_back(row(10).substr(0, 12));
        switch (pass) {
        case 1: extended(scanLeft); break;  // song 1: nothing
        case 2: extended(scanRight); break; // to song 2
        case 3: extended(scanRight); break; // the last song: nothing
        case 4: extended(scanLeft); break;  // back to song 1
        case 5: headless.keys.push_back(keyEsc); break;
        }
    };
    play(tune);
    EXPECT_EQ(lines, (std::vector<std::string>{"Playing 1/2 ", "Playing 2/2 ", "Playing 2/2 ",
                                               "Playing 1/2 "}));
}

TEST_F(PlayerTest, EnterRestartsTheSongWithThePlayTimeAtZero) {
    std::string restarted;
    script = [&](int pass) {
        if (pass == 1) frameCounter = 50 * 75;
        if (pass == 2) headless.keys.push_back(keyEnter);
        if (pass == 3) {
            restarted = row(8).substr(0, 16);
            headless.keys.push_back(keyEsc);
        }
    };
    play(TestTune{});
    EXPECT_EQ(restarted, "Playtime : 00:00");
}

TEST_F(PlayerTest, UpAddsOneTickPerPassAndShowsTheSecondArrow) {
    std::vector<std::uint32_t> counts{0};
    std::string fast, normal;
    script = [&](int pass) {
        counts.push_back(frameCounter);
        if (pass == 3) extended(scanUp);
        if (pass == 6) fast = row(8).substr(17, 2);
        if (pass == 8) extended(scanDown);
        if (pass == 10) normal = row(8).substr(17, 2);
        if (pass == 13) headless.keys.push_back(keyEsc);
    };
    play(TestTune{});
    EXPECT_EQ(fast, "\x10\x10");
    EXPECT_EQ(normal, "\x10 ");
    // Calls made in passes `from` to `to`: each buffer of 4096 frames holds
    // four or five ticks at 50 Hz, and fast forward adds one call per pass.
    const auto calls = [&](int from, int to) { return counts[to] - counts[from - 1]; };
    EXPECT_GE(calls(4, 8), 5u * 4 + 5);
    EXPECT_LE(calls(4, 8), 5u * 5 + 5);
    EXPECT_GE(calls(9, 13), 5u * 4);
    EXPECT_LE(calls(9, 13), 5u * 5);
    EXPECT_GE(calls(4, 8), calls(9, 13) + 4);
}

TEST_F(PlayerTest, SpaceTogglesTheOptionAndTheKeyHelp) {
    std::string on;
    bool optionAfterFirst = false;
    script = [&](int pass) {
        if (pass == 1) headless.keys.push_back(keySpace);
        if (pass == 2) {
            on = row(50).substr(0, 79);
            optionAfterFirst = adsrBugEnabled;
            headless.keys.push_back(keySpace);
        }
        if (pass == 3) headless.keys.push_back(keyEsc);
    };
    play(TestTune{});
    EXPECT_TRUE(optionAfterFirst);
    EXPECT_EQ(on.substr(50), "<SPACE>-ADSR bug ON/off <ESC>");
    EXPECT_EQ(row(50).substr(50, 23), "<SPACE>-ADSR bug on/OFF");
    EXPECT_FALSE(adsrBugEnabled);
}

TEST_F(PlayerTest, EscLeavesWithTheStreamPausedAndTheImageReset) {
    script = [](int pass) {
        if (pass == 1) exclusive(storeKnownRegisters);
        if (pass == 2) headless.keys.push_back(keyEsc);
    };
    play(TestTune{});
    EXPECT_EQ(playRate, 1);
    for (int reg = 0; reg < sidRegisterCount; ++reg) EXPECT_EQ(sidWritten(reg), 0);
    EXPECT_FALSE(playerRunning);
}

TEST_F(PlayerTest, FailedSongChangeKeepsReadingKeys) {
    TestTune tune;
    tune.songs = 2;
    std::string afterFailure;
    script = [&](int pass) {
        if (pass == 1) {
            // The file disappears: the next start fails with its message box.
            std::filesystem::remove(tuneFileName);
            extended(scanRight);
            headless.keys.push_back(keyEnter); // acknowledges the message box
        }
        if (pass == 5) {
            afterFailure = row(1).substr(0, 23);
            headless.keys.push_back(keyEsc);
        }
    };
    play(tune);
    EXPECT_EQ(afterFailure, "\xDB\xDB Quavix 1.4 b20080114");
    EXPECT_EQ(playRate, 1);
}

} // namespace
