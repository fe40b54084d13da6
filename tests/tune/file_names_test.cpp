#include "tune/file_names.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct SplitCase {
    std::string path;
    FileNameParts parts;
};

TEST(SplitFileName, SplitsDirectoryBaseNameAndExtension) {
    const SplitCase cases[] = {
        {"D:\\MUSIC\\TUNE.V2.DAT", {"D:\\MUSIC\\", "TUNE.V2", ".DAT"}},
        {"tune", {"", "tune", ""}},
        {"music/tune.sid", {"music/", "tune", ".sid"}},
        {"C:tune.sid", {"C:", "tune", ".sid"}},
        {"a.b/c\\tune", {"a.b/c\\", "tune", ""}},
        {"dir.v2/", {"dir.v2/", "", ""}},
        {".hidden", {"", "", ".hidden"}},
        {"tune.", {"", "tune", "."}},
        {"", {"", "", ""}},
    };
    for (const auto& [path, parts] : cases) {
        const FileNameParts split = splitFileName(path);
        EXPECT_EQ(split.directory, parts.directory) << path;
        EXPECT_EQ(split.baseName, parts.baseName) << path;
        EXPECT_EQ(split.extension, parts.extension) << path;
    }
}

TEST(UpperCase, ChangesOnlyTheLettersAToZ) {
    EXPECT_EQ(upperCase("tune.sid"), "TUNE.SID");
    EXPECT_EQ(upperCase("azAZ@[`{09 \x84\xE1"), "AZAZ@[`{09 \x84\xE1");
    EXPECT_EQ(upperCase(std::string_view("a\0b", 3)), std::string("A\0B", 3));
}

TEST(FileExists, IsTrueOnlyForAFileThatOpens) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quavix_names_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::string dir = pattern + "/";
    std::ofstream(dir + "tune.sid") << "PSID";
    std::ofstream(dir + "empty.sid");
    ASSERT_EQ(mkfifo((dir + "pipe.sid").c_str(), 0600), 0);

    EXPECT_TRUE(fileExists(dir + "tune.sid"));
    EXPECT_TRUE(fileExists(dir + "empty.sid"));
    EXPECT_FALSE(fileExists(""));
    EXPECT_FALSE(fileExists(dir + "missing.sid"));
    EXPECT_FALSE(fileExists(pattern));
    EXPECT_FALSE(fileExists(dir));
    // A pipe without a writer would block every open and read after this.
    EXPECT_FALSE(fileExists(dir + "pipe.sid"));
    std::filesystem::remove_all(pattern);
}

} // namespace
