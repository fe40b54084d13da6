// A fresh directory tree under the system's temporary folder for every test,
// the headless 80 x 50 console, and HOME pointed into the tree, so the home
// entry is known and harmless to enter.
#pragma once

#include "screen/console_headless.h"
#include "screen/text_screen.h"
#include "selector/file_selector.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

using Keys = std::vector<std::uint8_t>;

inline const Keys pressHome{0, scanHome};
inline const Keys pressUp{0, scanUp};
inline const Keys pressPgUp{0, scanPgUp};
inline const Keys pressLeft{0, scanLeft};
inline const Keys pressEnd{0, scanEnd};
inline const Keys pressDown{0, scanDown};
inline const Keys pressPgDn{0, scanPgDn};
inline const Keys pressEnter{keyEnter};
inline const Keys pressEsc{keyEsc};

inline Keys operator+(Keys a, const Keys& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Keys operator*(const Keys& keys, int count) {
    Keys all;
    for (int n = 0; n < count; ++n) all = all + keys;
    return all;
}

class SelectorTest : public ::testing::Test {
  protected:
    fs::path tree;
    fs::path home;

    void SetUp() override {
        headlessReset();
        consoleOpen();
        consoleSetMode(80, 50, true);
        textAttr = 7;
        markerDigit = 0;
        startDirectory = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "quavix-selector.XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        tree = fs::canonical(pattern);
        home = tree / "home";
        fs::create_directory(home);
        if (const char* value = std::getenv("HOME")) savedHome = value;
        setenv("HOME", home.c_str(), 1);
        fs::current_path(tree);
    }

    void TearDown() override {
        entries.clear();
        entryCount = 0;
        fs::current_path(startDirectory);
        fs::remove_all(tree);
        if (savedHome)
            setenv("HOME", savedHome->c_str(), 1);
        else
            unsetenv("HOME");
    }

    static void makeFile(const fs::path& path) { std::ofstream(path) << "PSID"; }

    // A directory holding count tune files t0000.sid, t0001.sid, ...
    static fs::path tuneDirectory(const fs::path& path, int count) {
        fs::create_directories(path);
        for (int n = 0; n < count; ++n) {
            std::string name = std::to_string(10000 + n).substr(1);
            makeFile(path / ("t" + name + ".sid"));
        }
        return path;
    }

    static std::vector<std::string> captions() {
        std::vector<std::string> all;
        for (std::size_t n = 0; n < entryCount; ++n) all.push_back(entries[n].caption);
        return all;
    }

    static int indexOf(const std::string& caption) {
        for (std::size_t n = 0; n < entryCount; ++n)
            if (entries[n].caption == caption) return static_cast<int>(n);
        return -1;
    }

    // Runs selectorNext on the keys; Esc is queued after them, so a run that
    // is not ended by the keys themselves returns false.
    static bool run(const Keys& keys, std::string& fileName) {
        headless.keys.assign(keys.begin(), keys.end());
        headless.keys.push_back(27);
        return selectorNext(fileName);
    }

    static bool run(const Keys& keys) {
        std::string fileName;
        return run(keys, fileName);
    }

    static std::uint16_t shownCell(int x, int y) {
        return headless.shown[static_cast<std::size_t>(y * 80 + x)];
    }

  private:
    fs::path startDirectory;
    std::optional<std::string> savedHome;
};
