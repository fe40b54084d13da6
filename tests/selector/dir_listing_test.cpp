#include "selector/dir_listing.h"
#include "selector_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

using ListingTest = SelectorTest;

TEST_F(ListingTest, DirectoriesThenTuneFilesThenPlaces) {
    fs::path dir = tree / "mixed";
    fs::create_directory(dir);
    for (const char* name : {"A", "A1", "!x", "b", ".hid", "x.SID"})
        fs::create_directory(dir / name);
    for (const char* name : {"b.sid", "B.SID", "a.sid", "c.SiD", ".h.sid", "\xC4\xE4.sid",
                             "readme.txt", "tune.sid.bak", "sid"})
        makeFile(dir / name);
    fs::current_path(dir);
    selectorStart();

    std::vector<std::string> all = captions();
    ASSERT_EQ(all.size(), 15u);
    // Brackets take part in the order: "1" is below ">", and "!" below ".".
    EXPECT_THAT(
        std::vector(all.begin(), all.begin() + 9),
        ElementsAre("<!x>", "<..>", "<.hid>", "<A1>", "<A>", "<b>", "<x.SID>", ".h.sid", "a.sid"));
    EXPECT_THAT(std::vector(all.begin() + 9, all.begin() + 11),
                UnorderedElementsAre("b.sid", "B.SID"));
    EXPECT_THAT(std::vector(all.begin() + 11, all.end()),
                ElementsAre("c.SiD", "\xC4\xE4.sid", "</>", "<~>"));

    for (std::size_t n = 0; n < 7; ++n) EXPECT_TRUE(entries[n].isDir) << n;
    for (std::size_t n = 7; n < 13; ++n) EXPECT_FALSE(entries[n].isDir) << n;
    EXPECT_EQ(entries[1].name, "..");
    EXPECT_EQ(entries[6].name, "x.SID");
    EXPECT_EQ(entries[12].name, "\xC4\xE4.sid");
    EXPECT_TRUE(entries[13].isDir);
    EXPECT_EQ(entries[13].name, "/");
    EXPECT_TRUE(entries[14].isDir);
    EXPECT_EQ(entries[14].name, home.string());
    EXPECT_EQ(driveCount, 2);
}

struct CaptionCase {
    bool directory;
    std::size_t length;
    std::string caption;
};

TEST_F(ListingTest, LongNamesAreCut) {
    const std::vector<CaptionCase> cases = {
        {true, 74, "<" + std::string(74, 'd') + ">"},
        {true, 75, "<" + std::string(74, 'd') + "..>"},
        {true, 80, "<" + std::string(74, 'd') + "..>"},
        {false, 76, std::string(72, 'f') + ".sid"},
        {false, 77, std::string(73, 'f') + ".si.."},
        {false, 120, std::string(76, 'f') + ".."},
    };
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.caption);
        fs::path dir = tree / ("case" + std::to_string(c.length) + (c.directory ? "d" : "f"));
        fs::create_directory(dir);
        std::string name =
            c.directory ? std::string(c.length, 'd') : std::string(c.length - 4, 'f') + ".sid";
        if (c.directory)
            fs::create_directory(dir / name);
        else
            makeFile(dir / name);
        fs::current_path(dir);
        selectorStart();
        ASSERT_EQ(entryCount, 4);
        EXPECT_EQ(entries[1].caption, c.caption);
        EXPECT_LE(entries[1].caption.size(), 78u);
        EXPECT_EQ(entries[1].name, name);
    }
}

TEST_F(ListingTest, CrowdedDirectoryDropsTuneFilesFirst) {
    fs::path dir = tuneDirectory(tree / "crowded", 1100);
    for (int n = 0; n < 10; ++n) fs::create_directory(dir / ("dir" + std::to_string(n)));
    fs::current_path(dir);
    selectorStart();

    ASSERT_EQ(entryCount, 1025);
    EXPECT_EQ(entries[0].caption, "<..>");
    for (std::size_t n = 1; n <= 10; ++n)
        EXPECT_EQ(entries[n].caption, "<dir" + std::to_string(n - 1) + ">") << n;
    std::set<std::string> files;
    for (std::size_t n = 11; n < 1023; ++n) {
        ASSERT_FALSE(entries[n].isDir) << n;
        ASSERT_TRUE(fs::is_regular_file(dir / entries[n].name)) << entries[n].name;
        files.insert(entries[n].name);
        if (n > 11) { ASSERT_LT(entries[n - 1].name, entries[n].name); }
    }
    EXPECT_EQ(files.size(), 1012u);
    EXPECT_EQ(entries[1023].caption, "</>");
    EXPECT_EQ(entries[1024].caption, "<~>");
}

TEST_F(ListingTest, TheRootHasNoParentEntry) {
    fs::current_path("/");
    selectorStart();
    ASSERT_GE(entryCount, 2);
    for (std::size_t n = 0; n < entryCount; ++n) EXPECT_NE(entries[n].name, "..");
    EXPECT_EQ(entries[entryCount - 2u].name, "/");
    EXPECT_EQ(entries[entryCount - 1u].name, home.string());
}

TEST_F(ListingTest, EqualKeysLandWhereTheQuicksortPutsThem) {
    // Middle pivot "a": the first pass swaps "B" and "a", the second swaps
    // the two equal keys, so a stable sort would leave "B" before "b".
    entries = {{false, "1", "B"}, {false, "2", "a"}, {false, "3", "b"}};
    sortEntries(0, 2);
    EXPECT_EQ(entries[0].name, "2");
    EXPECT_EQ(entries[1].name, "3");
    EXPECT_EQ(entries[2].name, "1");
}

TEST_F(ListingTest, EntryLessComparesUpperCasedBytesAsUnsigned) {
    struct Case {
        dirrec a;
        dirrec b;
        bool less;
    };
    const std::vector<Case> cases = {
        {{true, "z", "<z>"}, {false, "a.sid", "a.sid"}, true},
        {{false, "a.sid", "a.sid"}, {true, "z", "<z>"}, false},
        {{false, "", "abc"}, {false, "", "ABD"}, true},
        {{false, "", "ABC"}, {false, "", "abc"}, false},
        {{false, "", "abc"}, {false, "", "ABC"}, false},
        {{false, "", "ab"}, {false, "", "abc"}, true},
        {{false, "", "Z"}, {false, "", "\xE4"}, true},
        {{false, "", "_"}, {false, "", "a"}, false}, // "_" is above "A"
    };
    for (const Case& c : cases)
        EXPECT_EQ(entryLess(c.a, c.b), c.less) << c.a.caption << " " << c.b.caption;
}

TEST_F(ListingTest, EnterDirectoryChangesOrStays) {
    fs::create_directories(tree / "a" / "b");
    fs::current_path(tree / "a");
    enterDirectory("b");
    EXPECT_EQ(fs::current_path(), tree / "a" / "b");
    enterDirectory("..");
    EXPECT_EQ(fs::current_path(), tree / "a");
    enterDirectory("missing");
    EXPECT_EQ(fs::current_path(), tree / "a");
    makeFile(tree / "a" / "file");
    enterDirectory("file");
    EXPECT_EQ(fs::current_path(), tree / "a");
    enterDirectory(home.string());
    EXPECT_EQ(fs::current_path(), home);
    enterDirectory("/");
    EXPECT_EQ(fs::current_path(), "/");
}

} // namespace
