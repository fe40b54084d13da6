#include "tune_fixture.h"

#include "tune/info_file.h"

#include <string>

namespace {

// An info file of the seven lines, each ended by `end`.
std::string infoFile(const std::string& address, const std::string& songs = "SONGS=2,1",
                     const std::string& speed = "SPEED=0", const std::string& name = "NAME=Title",
                     const std::string& end = "\n") {
    return "SIDPLAY INFOFILE" + end + address + end + songs + end + speed + end + name + end +
           "AUTHOR=Author" + end + "COPYRIGHT=1987 Copyright" + end;
}

class InfoFileTest : public TuneTest {
  protected:
    // Writes the pair and loads it through its ".SID" name.
    bool loadPair(const std::string& info, const Bytes& data = {1, 2, 3}) {
        write("tune.SID", info);
        write("tune.DAT", data);
        C64Memory.fill(0xAA);
        return load(dir + "tune.SID");
    }
};

TEST_F(InfoFileTest, ReadsTheAddressLineByItsSeparators) {
    const struct {
        std::string line;
        std::uint16_t load, init, play;
    } cases[] = {
        {"ADDRESS=C00,C03,C06", 0xC00, 0xC03, 0xC06},
        {"ADDRESS=c00,c03,c06", 0xC00, 0xC03, 0xC06},
        {"C00,C03,C06", 0xC00, 0xC03, 0xC06},
        {"ADDRESS=0,C03,C06", 0x2000, 0xC03, 0xC06},
        {"ADDRESS=C00, C03,C06", 0xC00, 0, 0xC06},
        {"ADDRESS=$C00,C03,C06", 0x2000, 0xC03, 0xC06},
        {"ADDRESS=1F000,C03,C06", 0xF000, 0xC03, 0xC06},
        {"ADDRESS=C00,C03,C06,C09", 0xC00, 0xC03, 0},
        // A "|" or "#" already in the line is found before the replaced comma.
        {"A|DDRESS=C00,C03,C06", 0xC00, 0, 0xC06},
        {"A#DDRESS=C00,C03,C06", 0xC00, 0xC03, 0},
        {"ADDRESS=C00,C0|3,C06", 0xC00, 0, 0xC06},
        // Missing commas: the fields that are there are read, the rest is 0.
        {"ADDRESS=C00,C03", 0xC00, 0xC03, 0},
        {"ADDRESS=C00", 0xC00, 0, 0},
        {"ADDRESS=", 0x2000, 0, 0},
        {"", 0x2000, 0, 0},
    };
    for (const auto& [line, load, init, play] : cases) {
        SCOPED_TRACE(line);
        ASSERT_TRUE(loadPair(infoFile(line), {0x00, 0x20, 1, 2, 3}));
        EXPECT_EQ(TuneInfo.loadAddress, load);
        EXPECT_EQ(TuneInfo.initAddress, init);
        EXPECT_EQ(TuneInfo.playAddress, play);
        if (load == 0x2000) {
            expectMemory(0x2000, {1, 2, 3});
        } else {
            expectMemory(load, {0x00, 0x20, 1, 2, 3});
        }
    }
}

TEST_F(InfoFileTest, ReadsSongsAndSpeed) {
    const struct {
        std::string songs, speed;
        std::uint16_t count, start;
        std::uint8_t vblank;
    } cases[] = {
        {"SONGS=5", "SPEED=0", 5, 1, 1},         {"SONGS=5,3", "SPEED=1", 5, 3, 0},
        {"SONGS=5 ", "SPEED=00", 0, 1, 0},       {"SONGS= 5", "speed=0", 5, 1, 0},
        {"SONGS=$10,%11", "SPEED=0 ", 16, 3, 0}, {"SONGS=5, 3", "", 5, 3, 0},
        {"SONGS=", "SPEED=0", 0, 1, 1},          {"S,", "SPEED=0", 0, 0, 1},
    };
    for (const auto& [songs, speed, count, start, vblank] : cases) {
        SCOPED_TRACE(songs + " / " + speed);
        ASSERT_TRUE(loadPair(infoFile("ADDRESS=C00,C03,C06", songs, speed)));
        EXPECT_EQ(TuneInfo.songCount, count);
        EXPECT_EQ(TuneInfo.startSong, start);
        EXPECT_EQ(TuneInfo.vblankSpeed, vblank);
    }
}

TEST_F(InfoFileTest, ReadsTextsFromTheirColumns) {
    const std::string longName(300, 'x');
    ASSERT_TRUE(
        loadPair(infoFile("ADDRESS=C00,C03,C06", "SONGS=1", "SPEED=0", "NAME=" + longName)));
    EXPECT_EQ(text(TuneInfo.name), longName.substr(0, 255));
    EXPECT_EQ(text(TuneInfo.author), "Author");
    EXPECT_EQ(text(TuneInfo.copyright), "1987 Copyright");

    // A file that ends after line 4 leaves no text of the previous tune.
    ASSERT_TRUE(loadPair("SIDPLAY INFOFILE\nADDRESS=C00,C03,C06\nSONGS=1\nSPEED=0"));
    EXPECT_EQ(text(TuneInfo.name), "");
    EXPECT_EQ(text(TuneInfo.author), "");
    EXPECT_EQ(text(TuneInfo.copyright), "");

    ASSERT_TRUE(loadPair(infoFile("ADDRESS=C00,C03,C06", "SONGS=1", "SPEED=0", "NAME")));
    EXPECT_EQ(text(TuneInfo.name), "");
    ASSERT_TRUE(loadPair(infoFile("ADDRESS=C00,C03,C06", "SONGS=1", "SPEED=0", "NAME=")));
    EXPECT_EQ(text(TuneInfo.name), "");
    ASSERT_TRUE(loadPair(infoFile("ADDRESS=C00,C03,C06", "SONGS=1", "SPEED=0", "TITLE:Tune")));
    EXPECT_EQ(text(TuneInfo.name), ":Tune");
}

TEST_F(InfoFileTest, EndsLinesAtCrOrLfOrCrLfAndTheTextAtCtrlZ) {
    for (const std::string end : {"\n", "\r", "\r\n"}) {
        ASSERT_TRUE(
            loadPair(infoFile("ADDRESS=C00,C03,C06", "SONGS=4,2", "SPEED=0", "NAME=Title", end)));
        EXPECT_EQ(TuneInfo.playAddress, 0xC06);
        EXPECT_EQ(TuneInfo.startSong, 2);
        EXPECT_EQ(TuneInfo.vblankSpeed, 1);
        EXPECT_EQ(text(TuneInfo.copyright), "1987 Copyright");
    }
    ASSERT_TRUE(loadPair("SIDPLAY INFOFILE\r\nADDRESS=C00,C03,C06\rSONGS=4,2\n\rSPEED=0\n"
                         "NAME=Title\x1A\nAUTHOR=Author\n"));
    EXPECT_EQ(TuneInfo.songCount, 4);
    EXPECT_EQ(TuneInfo.vblankSpeed, 0) << "LF then CR end two lines";

    ASSERT_TRUE(loadPair("SIDPLAY INFOFILE\nADDRESS=C00,C03,C06\nSONGS=1\nSPEED=0\nNAME=Ti\x1Atle\n"
                         "AUTHOR=Author\n"));
    EXPECT_EQ(text(TuneInfo.name), "Ti");
    EXPECT_EQ(text(TuneInfo.author), "");
}

TEST_F(InfoFileTest, RefusesAWrongHeaderLine) {
    ASSERT_TRUE(loadPair(infoFile("ADDRESS=C00,C03,C06")));
    for (const std::string header :
         {"SIDPLAY INFOFILE ", "sidplay infofile", " SIDPLAY INFOFILE", "", "SIDPLAY"}) {
        SCOPED_TRACE(header);
        EXPECT_FALSE(loadPair(header + "\nADDRESS=D00,D03,D06\nSONGS=9\n"));
        EXPECT_EQ(message(), "Unknown SID-DAT-Format");
        EXPECT_EQ(TuneInfo.loadAddress, 0xC00);
        EXPECT_EQ(text(TuneInfo.name), "Title");
        expectMemory(0, {});
    }
}

TEST_F(InfoFileTest, LoadsTheDataFileAsFarAsItFits) {
    ASSERT_TRUE(loadPair(infoFile("ADDRESS=FFFE,C03,C06"), {1, 2, 3, 4}));
    expectMemory(0xFFFE, {1, 2});
    ASSERT_TRUE(loadPair(infoFile("ADDRESS=C00,C03,C06"), {}));
    expectMemory(0, {});

    EXPECT_FALSE(loadPair(infoFile("ADDRESS=0,C03,C06"), {0x00}));
    EXPECT_EQ(message(), "Missing Load Address: " + dir + "tune.DAT");
}

TEST(ReadNumber, ReadsPrefixesSignsAndBases) {
    const struct {
        std::string text;
        std::uint16_t value;
    } cases[] = {
        {"12", 12},
        {" \t 12", 12},
        {"+12", 12},
        {"-12", 0},
        {"$1F", 0x1F},
        {"x1f", 0x1F},
        {"X1F", 0x1F},
        {"0x1F", 0x1F},
        {"0X1f", 0x1F},
        {"%101", 5},
        {"&17", 15},
        {"0017", 17},
        {"$001F", 0x1F},
        {std::string("12\0zz", 5), 12},
        {std::string("\0"
                     "12",
                     3),
         0},
        {"", 0},
        {"  ", 0},
        {"$", 0},
        {"0x", 0},
        {"+", 0},
        {"12 ", 0},
        {"1 2", 0},
        {"12a", 0},
        {"%102", 0},
        {"&8", 0},
        {"$G", 0},
        {"+-1", 0},
        {"$$1", 0},
        {"0$1", 0},
        {"65535", 0xFFFF},
        {"65537", 1},
        {"4294967295", 0xFFFF},
        {"4294967296", 0},
        {"$FFFFFFFF", 0xFFFF},
        {"$100000000", 0},
        {"$00000000012345", 0x2345},
        {std::string(254, '0') + "7", 7},
        {std::string(255, '0') + "7", 0},
        {std::string(254, ' ') + "7", 7},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(readNumber(text), value) << '"' << text << '"';
}

} // namespace
