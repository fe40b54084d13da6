#include "screen/console_headless.h"
#include "screen/text_screen.h"
#include "selector/file_selector.h"
#include "selector_fixture.h"
#include "tune/file_names.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

class FileSelectorTest : public SelectorTest {
  protected:
    // count entries: "..", count - 3 tune files and the two places.
    void startWithEntries(int count) {
        fs::path dir = tuneDirectory(tree / ("n" + std::to_string(count)), count - 3);
        fs::current_path(dir);
        selectorStart();
        ASSERT_EQ(entryCount, count);
    }

    static std::uint8_t shownAttr(int x, int y) { return shownCell(x, y) >> 8; }

    // The caption's bytes in attr from its centred column, blanks around it.
    static void expectCaptionAt(int y, const std::string& caption, std::uint8_t attr) {
        int left = 39 - static_cast<int>(caption.size() / 2);
        for (std::size_t n = 0; n < caption.size(); ++n)
            EXPECT_EQ(shownCell(left + static_cast<int>(n), y),
                      attr << 8 | static_cast<std::uint8_t>(caption[n]))
                << caption << " column " << left + n;
        if (left > 0) { EXPECT_EQ(shownCell(left - 1, y) & 0xFF, 0) << caption; }
        int right = left + static_cast<int>(caption.size());
        if (right < 80) { EXPECT_EQ(shownCell(right, y) & 0xFF, 0) << caption; }
    }

    static void expectBlankRows(int from, std::uint8_t attr) {
        for (int y = from; y < 50; ++y)
            for (int x = 0; x < 80; ++x) ASSERT_EQ(shownCell(x, y), attr << 8) << x << "," << y;
    }
};

struct NavigationCase {
    const char* what;
    int count;
    Keys keys;
    int top;
    int row;
};

TEST_F(FileSelectorTest, Navigation) {
    const std::vector<NavigationCase> cases = {
        {"Down stops on the tenth of 10", 10, pressDown * 12, 0, 9},
        {"PgDn does nothing with 10", 10, pressPgDn, 0, 0},
        {"Up and PgUp do nothing at the top", 10, pressUp + pressPgUp, 0, 0},
        {"End: last file of 100 on row 48", 100, pressEnd, 51, 46},
        {"End: 50, places below maxTop", 50, pressEnd, 1, 46},
        {"End: 49, places not below maxTop", 49, pressEnd, 0, 46},
        {"End then Home", 100, pressEnd + pressHome, 0, 0},
        {"Down scrolls after the last row", 100, pressDown * 50, 4, 46},
        {"Down stops at the last entry", 100, pressDown * 200, 53, 46},
        {"PgDn moves the cursor by 12", 100, pressPgDn * 3, 0, 36},
        {"PgDn then scrolls by 12", 100, pressPgDn * 4, 12, 36},
        {"PgDn stops short of maxTop", 100, pressPgDn * 9, 48, 36},
        {"PgDn stays short of lastRow", 47, pressDown * 34 + pressPgDn, 0, 34},
        {"PgUp moves the cursor to row 0 exactly", 100, pressPgDn * 8 + pressPgUp * 3, 48, 0},
        {"PgUp then scrolls to the top exactly", 100, pressPgDn * 8 + pressPgUp * 7, 0, 0},
        {"PgUp short of a step does nothing", 100, pressDown * 5 + pressPgUp, 0, 5},
        {"Up on row 0 scrolls", 100, pressPgDn * 7 + pressPgUp * 3 + pressUp, 47, 0},
        {"Other keys do nothing", 100, pressDown + pressLeft + Keys{0, 77, 'x', ' '}, 0, 1},
    };
    for (const NavigationCase& c : cases) {
        SCOPED_TRACE(c.what);
        startWithEntries(c.count);
        EXPECT_FALSE(run(c.keys));
        EXPECT_EQ(topIndex, c.top);
        EXPECT_EQ(cursorRow, c.row);
        // The highlight is drawn where the state says, in the entry's colours.
        const dirrec& chosen = entries[static_cast<std::size_t>(c.top + c.row)];
        EXPECT_EQ(shownAttr(0, c.row + 2), chosen.isDir ? 0x1C : 0x9C);
        expectCaptionAt(c.row + 2, chosen.caption, chosen.isDir ? 0x1C : 0x9C);
        const dirrec& first = entries[static_cast<std::size_t>(c.top)];
        if (c.row > 0) expectCaptionAt(2, first.caption, first.isDir ? 8 : 7);
    }
}

TEST_F(FileSelectorTest, EndHighlightsTheLastFileBeforeThePlaces) {
    startWithEntries(100);
    run(pressEnd);
    EXPECT_EQ(topIndex + cursorRow, 97);
    EXPECT_EQ(entries[97].name, "t0096.sid");
    expectCaptionAt(48, "t0096.sid", 0x9C);
    expectBlankRows(49, 7);
}

TEST_F(FileSelectorTest, TitleBar) {
    startWithEntries(10);
    run({});
    const std::string title = "\xDB\xDB Merrow's SID-File-Selector v0.1b b20021206" +
                              std::string(25, ' ') + "\xDB\xDB\xDB\xDB\xB2\xB2\xB2\xB1\xB1\xB0";
    ASSERT_EQ(title.size(), 80u);
    for (int x = 0; x < 80; ++x)
        EXPECT_EQ(shownCell(x, 0), 0x0F00 | static_cast<std::uint8_t>(title[x])) << x;
    for (int x = 0; x < 80; ++x) EXPECT_EQ(shownCell(x, 1), 0x0700) << x;
}

TEST_F(FileSelectorTest, TypedDigitShowsInTheCornerUntilZero) {
    startWithEntries(10);
    run(Keys{'5'});
    EXPECT_EQ(shownCell(0, 0), 0xF035);
    EXPECT_EQ(shownCell(1, 0), 0x0FDB);
    run({});
    EXPECT_EQ(shownCell(0, 0), 0xF035);
    selectorStart();
    run({});
    EXPECT_EQ(shownCell(0, 0), 0xF035);
    run(Keys{'9'});
    EXPECT_EQ(shownCell(0, 0), 0xF039);
    run(Keys{'0'});
    EXPECT_EQ(shownCell(0, 0), 0x0FDB);
    EXPECT_EQ(markerDigit, 0);
}

TEST_F(FileSelectorTest, RowsCaptionsAndAttributes) {
    fs::path dir = tree / "rows";
    fs::create_directories(dir / std::string(80, 'd'));
    fs::create_directories(dir / "ab");
    makeFile(dir / "a.sid");
    makeFile(dir / "tune.sid");
    fs::current_path(dir);
    selectorStart();
    ASSERT_THAT(captions(), ElementsAre("<..>", "<ab>", "<" + std::string(74, 'd') + "..>", "a.sid",
                                        "tune.sid", "</>", "<~>"));
    run({});
    // The highlighted directory fills its whole row.
    for (int x = 0; x < 80; ++x) EXPECT_EQ(shownAttr(x, 2), 0x1C) << x;
    expectCaptionAt(2, "<..>", 0x1C);
    expectCaptionAt(3, "<ab>", 8);
    EXPECT_EQ(shownCell(37, 3), 0x0800 | '<');
    EXPECT_EQ(shownCell(36, 3), 0x0700);
    expectCaptionAt(4, "<" + std::string(74, 'd') + "..>", 8);
    EXPECT_EQ(shownCell(0, 4), 0x0800 | '<');
    EXPECT_EQ(shownCell(78, 4), 0x0700);
    expectCaptionAt(5, "a.sid", 7);
    expectCaptionAt(6, "tune.sid", 7);
    expectCaptionAt(7, "</>", 8);
    expectCaptionAt(8, "<~>", 8);
    expectBlankRows(9, 7);

    run(pressDown * 3);
    for (int x = 0; x < 80; ++x) EXPECT_EQ(shownAttr(x, 5), 0x9C) << x;
    expectCaptionAt(5, "a.sid", 0x9C);
    expectCaptionAt(2, "<..>", 8);
}

TEST_F(FileSelectorTest, EscReturnsFalseAtOnce) {
    startWithEntries(10);
    run(pressDown);
    unsigned updates = headless.updates;
    headless.keys = {27, 13, 0, 80};
    std::string fileName = "unchanged";
    EXPECT_FALSE(selectorNext(fileName));
    EXPECT_EQ(headless.updates, updates + 1);
    EXPECT_EQ(headless.keys.size(), 3u);
    EXPECT_EQ(cursorRow, 1);
}

TEST_F(FileSelectorTest, ChosenTuneComesBackWithTheSameList) {
    fs::path dir = tree / "play";
    fs::create_directories(dir / "child");
    makeFile(dir / "child" / "tune.sid");
    makeFile(dir / "child" / "\x8E\x84.sid");
    fs::current_path(dir);
    selectorStart();

    std::string fileName;
    EXPECT_TRUE(run(pressDown + pressEnter + pressDown + pressEnter, fileName));
    EXPECT_EQ(fileName, "tune.sid");
    EXPECT_EQ(fs::current_path(), dir / "child");
    EXPECT_TRUE(fileExists(fileName));

    // The player draws its own screen meanwhile.
    std::vector<std::uint16_t> selectorScreen = headless.shown;
    textAttr = 0x1F;
    clearScreen();
    flushScreen();
    EXPECT_FALSE(run({}));
    EXPECT_EQ(headless.shown, selectorScreen);
    EXPECT_EQ(cursorRow, 1);

    // A name outside ASCII shows byte for byte and opens.
    expectCaptionAt(4, "\x8E\x84.sid", 7);
    EXPECT_TRUE(run(pressDown + pressEnter, fileName));
    EXPECT_EQ(fileName, "\x8E\x84.sid");
    EXPECT_TRUE(fileExists(fileName));

    selectorEnd();
    EXPECT_EQ(fs::current_path(), dir);
    EXPECT_TRUE(entries.empty());
}

TEST_F(FileSelectorTest, EnterOnParentListsTheParentFromTheTop) {
    fs::path dir = tree / "parent";
    tuneDirectory(dir / "child", 3);
    makeFile(dir / "p.sid");
    fs::current_path(dir / "child");
    selectorStart();
    EXPECT_FALSE(run(pressDown * 2 + pressHome + pressEnter));
    EXPECT_EQ(fs::current_path(), dir);
    EXPECT_THAT(captions(), ElementsAre("<..>", "<child>", "p.sid", "</>", "<~>"));
    EXPECT_EQ(topIndex, 0);
    EXPECT_EQ(cursorRow, 0);
}

TEST_F(FileSelectorTest, DirectoryThatCannotBeEnteredLeavesTheDirectoryAsItWas) {
    fs::path dir = tree / "stale";
    fs::create_directories(dir / "gone");
    fs::create_directories(dir / "kept");
    tuneDirectory(dir, 2);
    fs::current_path(dir);
    selectorStart();
    fs::remove(dir / "gone");
    int gone = indexOf("<gone>");
    ASSERT_EQ(gone, 1);
    EXPECT_FALSE(run(pressDown + pressEnter));
    EXPECT_EQ(fs::current_path(), dir);
    EXPECT_THAT(captions(), ElementsAre("<..>", "<kept>", "t0000.sid", "t0001.sid", "</>", "<~>"));
    EXPECT_EQ(cursorRow, 0);
}

TEST_F(FileSelectorTest, PlaceEntriesGoHomeAndToTheRoot) {
    fs::path dir = tuneDirectory(tree / "places", 2);
    fs::current_path(dir);
    selectorStart();
    EXPECT_FALSE(run(pressEnd + pressDown * 2 + pressEnter));
    EXPECT_EQ(fs::current_path(), home);
    EXPECT_THAT(captions(), ElementsAre("<..>", "</>", "<~>"));
    // End with only the parent before the places highlights it.
    EXPECT_FALSE(run(pressEnd));
    EXPECT_EQ(cursorRow, 0);

    EXPECT_FALSE(run(pressDown + pressEnter));
    EXPECT_EQ(fs::current_path(), "/");
    EXPECT_THAT(captions(), Not(Contains("<..>")));
    EXPECT_EQ(entries[entryCount - 2u].name, "/");
}

TEST_F(FileSelectorTest, EmptyListShowsNoRowsAndReturnsNoFile) {
    startWithEntries(10);
    entryCount = 0;
    EXPECT_FALSE(run(pressEnter + pressEnd + pressDown + pressPgDn + pressEnter));
    EXPECT_EQ(topIndex, 0);
    EXPECT_EQ(cursorRow, 0);
    expectBlankRows(2, 7);
}

TEST_F(FileSelectorTest, EndWithOnlyPlacesStaysInTheList) {
    startWithEntries(10);
    entries[0] = entries[8];
    entries[1] = entries[9];
    entryCount = 2;
    EXPECT_FALSE(run(pressDown + pressEnd));
    EXPECT_EQ(topIndex, 0);
    EXPECT_EQ(cursorRow, 0);
    expectCaptionAt(2, "</>", 0x1C);
    expectCaptionAt(3, "<~>", 8);
    expectBlankRows(4, 7);
}

TEST_F(FileSelectorTest, EndGoesBackToTheStartingDirectory) {
    fs::path dir = tree / "start";
    fs::create_directories(dir / "sub");
    fs::current_path(dir);
    selectorStart();
    EXPECT_EQ(savedDirectory, dir.string());
    run(pressDown + pressEnter);
    EXPECT_EQ(fs::current_path(), dir / "sub");
    selectorEnd();
    EXPECT_EQ(fs::current_path(), dir);

    // A starting directory that has vanished leaves the program where it is.
    selectorStart();
    run(pressEnter);
    EXPECT_EQ(fs::current_path(), tree);
    fs::remove_all(dir);
    selectorEnd();
    EXPECT_EQ(fs::current_path(), tree);
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(entryCount, 0);
}

} // namespace
