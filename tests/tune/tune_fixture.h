// Tune files written by the tests into a fresh directory, loaded through
// loadTune on the headless console.
#pragma once

#include "cpu/cpu.h"
#include "screen/console_headless.h"
#include "tune/tune_loader.h"

#include "open_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

// A TuneInfo text up to its zero byte.
inline std::string text(const std::array<char, tuneTextSize>& field) { return field.data(); }

// A PSID file's fields; bytes() lays them out big-endian as the format does.
struct Psid {
    std::string magic = "PSID";
    std::uint16_t dataOffset = 0x76;
    std::uint16_t load = 0x1000;
    std::uint16_t init = 0x1003;
    std::uint16_t play = 0x1006;
    std::uint16_t songs = 3;
    std::uint16_t start = 2;
    std::uint32_t speed = 0;
    std::string name = "Title";
    std::string author = "Author";
    std::string copyright = "1987 Copyright";
    Bytes data = {0xA9, 0x00, 0x60};

    Bytes bytes() const {
        // Bytes the loader must not read hold 0xEE.
        Bytes file(std::max<std::size_t>(dataOffset & 0xFF, 0x76), 0xEE);
        magic.copy(reinterpret_cast<char*>(file.data()), 4);
        auto put16 = [&](std::size_t at, std::uint16_t value) {
            file[at] = static_cast<std::uint8_t>(value >> 8);
            file[at + 1] = static_cast<std::uint8_t>(value);
        };
        put16(6, dataOffset);
        put16(8, load);
        put16(10, init);
        put16(12, play);
        put16(14, songs);
        put16(16, start);
        put16(18, static_cast<std::uint16_t>(speed >> 16));
        put16(20, static_cast<std::uint16_t>(speed));
        std::size_t at = 22;
        for (const std::string* text : {&name, &author, &copyright}) {
            std::fill_n(file.begin() + static_cast<long>(at), 32, 0);
            text->copy(reinterpret_cast<char*>(&file[at]), 32);
            at += 32;
        }
        file.insert(file.end(), data.begin(), data.end());
        return file;
    }
};

class TuneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        headlessReset();
        consoleOpen();
        consoleSetMode(80, 50, true);
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quavix_tune_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern + "/";
        // Whatever a load leaves must come from the load, not from before it.
        C64Memory.fill(0xAA);
        TuneInfo = {};
    }

    void TearDown() override { std::filesystem::remove_all(dir); }

    void write(const std::string& name, const Bytes& bytes) {
        std::ofstream(dir + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    void write(const std::string& name, std::string_view text) { write(name, bytesOf(text)); }

    // Loads `name` with one key queued: a failure must show its message and
    // take the key, a success must do neither. No file may stay open.
    bool load(const std::string& name) {
        headless.keys = {13};
        headless.shown.assign(headless.shown.size(), 0);
        tuneFileName = name;
        const bool loaded = loadTune();
        EXPECT_EQ(headless.keys.empty(), !loaded) << "key wait";
        EXPECT_EQ(message().empty(), loaded) << message();
        EXPECT_FALSE(fileOpenBelow(dir)) << "a file was left open";
        return loaded;
    }

    // The text inside the message box as last shown; empty without a box.
    std::string message() const {
        std::string row;
        for (std::size_t x = 0; x < 80; ++x) row += static_cast<char>(headless.shown[25 * 80 + x]);
        const std::size_t left = row.find('\xB3');
        const std::size_t right = row.rfind('\xB3');
        return left == std::string::npos || left == right ? ""
                                                          : row.substr(left + 1, right - left - 1);
    }

    // C64Memory holds `expected` at `address` and zero everywhere else.
    static void expectMemory(std::uint16_t address, const Bytes& expected) {
        for (std::size_t i = 0; i < C64Memory.size(); ++i) {
            const std::size_t offset = i - address;
            const std::uint8_t want =
                i >= address && offset < expected.size() ? expected[offset] : 0;
            if (C64Memory[i] != want) {
                ADD_FAILURE() << "C64Memory[$" << std::hex << i << "] = " << int{C64Memory[i]}
                              << ", expected " << int{want};
                return;
            }
        }
    }

    std::string dir;
};
