#include "tune_fixture.h"

#include "tune/tune_loader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace {

// What a load of Psid{} gives; each case changes the file and what it gives.
struct Loaded {
    std::uint16_t load = 0x1000, init = 0x1003, play = 0x1006;
    std::uint8_t vblank = 1;
    std::string name = "Title";
    std::uint16_t dataAddress = 0x1000;
    Bytes data = {0xA9, 0x00, 0x60};
};

struct PsidCase {
    const char* what;
    void (*change)(Psid&, Loaded&);
};

Psid with(void (*change)(Psid&)) {
    Psid psid;
    change(psid);
    return psid;
}

TEST_F(TuneTest, ReadsPsidFiles) {
    const PsidCase cases[] = {
        {"plain", [](Psid&, Loaded&) {}},
        {"load address from the data, init 0 and play 0",
         [](Psid& p, Loaded& l) {
             p.load = 0, p.init = 0, p.play = 0, p.data = {0x00, 0x20, 1, 2, 3};
             l.load = 0x2000, l.init = 0x2000, l.play = 0, l.dataAddress = 0x2000,
             l.data = {1, 2, 3};
         }},
        {"speed 1: song 1 on the timer", [](Psid& p, Loaded& l) { p.speed = 1, l.vblank = 0; }},
        {"speed 2: only song 2 on the timer", [](Psid& p, Loaded&) { p.speed = 2; }},
        {"only bit 0 of the low speed byte counts", [](Psid& p, Loaded&) { p.speed = 0xFFFFFF00; }},
        {"32-byte title without a zero byte",
         [](Psid& p, Loaded& l) { p.name = l.name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"; }},
        {"title longer than its field",
         [](Psid& p, Loaded& l) {
             p.name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
             l.name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
         }},
        {"data offset 0x7C", [](Psid& p, Loaded&) { p.dataOffset = 0x7C; }},
        {"only the low byte of the data offset", [](Psid& p, Loaded&) { p.dataOffset = 0x017C; }},
        {"data past $FFFF is dropped",
         [](Psid& p, Loaded& l) {
             p.load = p.init = 0xFFFE, p.data = {1, 2, 3, 4};
             l.load = l.init = l.dataAddress = 0xFFFE, l.data = {1, 2};
         }},
        {"load address from the data, past $FFFF",
         [](Psid& p, Loaded& l) {
             p.load = 0, p.data = {0xFF, 0xFF, 7, 8};
             l.load = l.dataAddress = 0xFFFF, l.data = {7};
         }},
    };
    for (const PsidCase& c : cases) {
        SCOPED_TRACE(c.what);
        Psid psid;
        Loaded want;
        c.change(psid, want);
        write("tune.sid", psid.bytes());
        C64Memory.fill(0xAA);
        ASSERT_TRUE(load(dir + "tune.sid"));
        EXPECT_EQ(TuneInfo.loadAddress, want.load);
        EXPECT_EQ(TuneInfo.initAddress, want.init);
        EXPECT_EQ(TuneInfo.playAddress, want.play);
        EXPECT_EQ(TuneInfo.songCount, 3);
        EXPECT_EQ(TuneInfo.startSong, 2);
        EXPECT_EQ(TuneInfo.vblankSpeed, want.vblank);
        EXPECT_EQ(text(TuneInfo.name), want.name);
        EXPECT_EQ(text(TuneInfo.author), "Author");
        EXPECT_EQ(text(TuneInfo.copyright), "1987 Copyright");
        expectMemory(want.dataAddress, want.data);
    }
}

TEST_F(TuneTest, APsidTextReplacesTheWholePreviousText) {
    write("long.sid", with([](Psid& p) { p.name = std::string(32, 'L'); }).bytes());
    write("short.sid", with([](Psid& p) { p.name = "ABC"; }).bytes());
    ASSERT_TRUE(load(dir + "long.sid"));
    ASSERT_TRUE(load(dir + "short.sid"));
    EXPECT_EQ(text(TuneInfo.name), "ABC");
    EXPECT_EQ(std::string_view(TuneInfo.name.data(), tuneTextSize), "ABC" + std::string(253, '\0'));
}

TEST_F(TuneTest, AReadOnlyTuneLoads) {
    write("tune.sid", Psid{}.bytes());
    ASSERT_EQ(chmod((dir + "tune.sid").c_str(), 0444), 0);
    EXPECT_TRUE(load(dir + "tune.sid"));
    expectMemory(0x1000, {0xA9, 0x00, 0x60});
}

TEST_F(TuneTest, ABrokenPsidFileGivesAMessageNamingIt) {
    const Bytes whole = Psid{}.bytes();
    const std::string path = dir + "tune.sid";
    // Cut inside the data offset, the words, the speed field and each text.
    for (std::size_t length : {4, 7, 9, 17, 21, 22, 60, 117}) {
        write("tune.sid", Bytes(whole.begin(), whole.begin() + static_cast<long>(length)));
        C64Memory.fill(0xAA);
        EXPECT_FALSE(load(path)) << length;
        EXPECT_EQ(message(), "Truncated PSID Header: " + path) << length;
        expectMemory(0, {});
    }

    write("tune.sid", Bytes{'P', 'S', 'I'});
    EXPECT_FALSE(load(path));
    EXPECT_EQ(message(), "File Too Short: " + path);

    write("tune.sid", with([](Psid& p) { p.dataOffset = 0x80, p.data = {}; }).bytes());
    std::filesystem::resize_file(path, 0x7F);
    EXPECT_FALSE(load(path));
    EXPECT_EQ(message(), "Missing Tune Data: " + path);

    write("tune.sid", with([](Psid& p) { p.load = 0, p.data = {0x00}; }).bytes());
    EXPECT_FALSE(load(path));
    EXPECT_EQ(message(), "Missing Load Address: " + path);
}

TEST_F(TuneTest, ATuneWithoutDataLoadsNothing) {
    write("tune.sid", with([](Psid& p) { p.data = {}; }).bytes());
    EXPECT_TRUE(load(dir + "tune.sid"));
    expectMemory(0, {});
}

TEST_F(TuneTest, MissingNamesAreNotFound) {
    mkdir((dir + "music.sid").c_str(), 0755);
    write("tune.dat", "data");
    const struct {
        std::string name, shown;
    } cases[] = {
        {"", " Not Found"},
        {dir + "missing.sid", dir + "missing.sid Not Found"},
        {dir + "music.sid", dir + "music.sid Not Found"},
        // A ".DAT" name stands for its ".SID" partner and is never opened.
        {dir + "tune.dat", dir + "tune.SID Not Found"},
        {dir + "tune.Dat", dir + "tune.SID Not Found"},
    };
    for (const auto& [name, shown] : cases) {
        C64Memory.fill(0xAA);
        EXPECT_FALSE(load(name)) << name;
        EXPECT_EQ(message(), shown.substr(0, 78)) << name;
        expectMemory(0, {});
    }
}

TEST_F(TuneTest, ALongFileNameIsCut) {
    const std::string name = dir + std::string(300, 'n');
    EXPECT_FALSE(load(name));
    EXPECT_EQ(tuneFileName, name.substr(0, 255));
}

TEST_F(TuneTest, ADatNameLoadsItsSidPartner) {
    write("tune.SID", Psid{}.bytes());
    EXPECT_TRUE(load(dir + "tune.dat"));
    EXPECT_EQ(tuneFileName, dir + "tune.SID");
    expectMemory(0x1000, {0xA9, 0x00, 0x60});
}

TEST_F(TuneTest, TheMagicDecidesOverADatPartner) {
    write("tune.SID", Psid{}.bytes());
    write("tune.DAT", Bytes{0x00, 0x20, 9, 9, 9});
    EXPECT_TRUE(load(dir + "tune.SID"));
    expectMemory(0x1000, {0xA9, 0x00, 0x60});
}

TEST_F(TuneTest, AnUnknownMagicWithoutPartnerIsRefused) {
    for (const std::string& magic : {std::string("RSID"), std::string("psid"), std::string("PSI\n"),
                                     std::string("\0\1AB", 4)}) {
        write("tune.sid", bytesOf(magic + "rest of the file"));
        EXPECT_FALSE(load(dir + "tune.sid"));
        EXPECT_EQ(message(), "Unknown SID-Format \"" + magic + "\"");
    }
}

// Pairs are found whatever the letter case of their extensions, also when
// the name is bare and relative to the current directory.
TEST_F(TuneTest, PartnersAreFoundInAnyLetterCase) {
    const Bytes info = bytesOf("SIDPLAY INFOFILE\nADDRESS=C00,C03,C06\nSONGS=2\nSPEED=0\n");
    const struct {
        std::string sid, dat, given, loaded;
    } cases[] = {
        {"tune.sid", "tune.dat", "tune.dat", "tune.sid"},
        {"TUNE.SID", "TUNE.DAT", "TUNE.DAT", "TUNE.SID"},
        {"tune.Sid", "tune.dAT", "tune.Sid", "tune.Sid"},
        {"tune.sid", "tune.DAT", "tune.dAt", "tune.sid"},
    };
    ASSERT_EQ(chdir(dir.c_str()), 0);
    for (const auto& [sid, dat, given, loaded] : cases) {
        SCOPED_TRACE(given);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directory(dir);
        ASSERT_EQ(chdir(dir.c_str()), 0);
        write(sid, info);
        write(dat, Bytes{1, 2, 3});
        C64Memory.fill(0xAA);
        EXPECT_TRUE(load(given));
        EXPECT_EQ(tuneFileName, loaded);
        expectMemory(0xC00, {1, 2, 3});
    }
    ASSERT_EQ(chdir("/"), 0);
}

} // namespace
