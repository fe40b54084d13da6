#pragma once

#include "cpu/cpu.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

// Every CPU test starts from cleared memory, fresh tables and a reset CPU with
// PC at $1000. Hooked stores are recorded and land in memory, as the player's hook
// does for ordinary addresses.
class CpuTest : public ::testing::Test {
  protected:
    using Store = std::pair<std::uint16_t, std::uint8_t>;

    static inline std::vector<Store> stores;

    static void recordStore(std::uint16_t address, std::uint8_t value) {
        stores.emplace_back(address, value);
        C64Memory[address] = value;
    }

    void SetUp() override {
        C64Memory.fill(0);
        cpuBuildTables();
        cpuReset();
        cpu::PC = 0x1000;
        cpuHalted = false;
        stores.clear();
        writeHook = recordStore;
    }

    static void poke(std::uint16_t address, std::initializer_list<std::uint8_t> bytes) {
        for (std::uint8_t byte : bytes) C64Memory[address++] = byte;
    }

    // Places code and a BRK after it at `address`, points PC at it and runs.
    static bool runCode(std::uint16_t address, std::initializer_list<std::uint8_t> code,
                        std::int32_t budget = 1000) {
        poke(address, code);
        C64Memory[static_cast<std::uint16_t>(address + code.size())] = 0x00;
        cpu::PC = address;
        cpuHalted = false;
        return cpuRun(budget);
    }

    static bool runCode(std::initializer_list<std::uint8_t> code, std::int32_t budget = 1000) {
        return runCode(0x1000, code, budget);
    }
};
