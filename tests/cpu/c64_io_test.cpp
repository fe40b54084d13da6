// The C64 hook behind the CPU's stores: the SID window, the dropped store to
// $0000 and the CIA timer latch that sets the play rate.
#include "audio/audio_stream.h"
#include "cpu/c64_io.h"
#include "cpu/cpu.h"
#include "sidopl/opl_port.h"
#include "sidopl/sid_image.h"
#include "sidopl/voice_translation.h"
#include "sidopl/ymf262_recording.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAreArray;

constexpr std::uint16_t untouched = 7; // a rate no store gives

class C64IoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        C64Memory.fill(0);
        cpuBuildTables();
        writeHook = c64WriteHook;
        initBridgeTables();
        sidReset();
        ciaTimerLatch = 0;
        playRate = untouched;
    }

    // Runs STA stores of (address, value) pairs as a tune's code makes them.
    static void storeAll(std::initializer_list<std::pair<std::uint16_t, std::uint8_t>> stores) {
        std::uint16_t at = 0x1000;
        for (auto [address, value] : stores) {
            for (std::uint8_t byte : {std::uint8_t{0xA9}, value, std::uint8_t{0x8D},
                                      std::uint8_t(address & 0xFF), std::uint8_t(address >> 8)}) {
                C64Memory[at++] = byte;
            }
        }
        C64Memory[at] = 0x00;
        cpuHalted = false;
        cpu::PC = 0x1000;
        cpuRun(1000);
    }

    // The rates passed on while the stores run, in order.
    static std::vector<int>
    ratesOf(std::initializer_list<std::pair<std::uint16_t, std::uint8_t>> stores) {
        std::vector<int> rates;
        for (auto store : stores) {
            playRate = untouched;
            storeAll({store});
            if (playRate != untouched) rates.push_back(playRate);
        }
        return rates;
    }
};

TEST_F(C64IoTest, SidWindowStoresReachTheImageAndNotMemory) {
    C64Memory[0xD404] = 0x99;
    storeAll({{0xD404, 0x41}});
    EXPECT_EQ(sidWritten(4), 0x41);
    EXPECT_EQ(C64Memory[0xD404], 0x99);

    storeAll({{0xD41F, 0x55}}); // past the SID's registers: ignored there
    EXPECT_EQ(C64Memory[0xD41F], 0x00);
    for (int reg = 0; reg < sidRegisterCount; ++reg) {
        if (reg != 4) {
            EXPECT_EQ(sidWritten(reg), 0) << reg;
        }
    }
}

TEST_F(C64IoTest, MirrorPagesAndOtherAddressesArePlainMemory) {
    storeAll({{0xD500, 0x41}, {0xDC06, 0x12}, {0xDC0D, 0x7F}, {0x0001, 0x33}});
    EXPECT_EQ(C64Memory[0xD500], 0x41);
    EXPECT_EQ(sidWritten(0), 0);
    EXPECT_EQ(C64Memory[0xDC06], 0x12);
    EXPECT_EQ(C64Memory[0xDC0D], 0x7F);
    EXPECT_EQ(C64Memory[0x0001], 0x33);
    EXPECT_EQ(playRate, untouched);
}

TEST_F(C64IoTest, StoreToAddressZeroIsDroppedSoItsBrkStays) {
    storeAll({{0x0000, 0xEA}});
    EXPECT_EQ(C64Memory[0x0000], 0x00);
}

TEST_F(C64IoTest, EachLatchByteSetsTheRateWithTheOtherByteAsItStands) {
    EXPECT_THAT(ratesOf({{0xDC04, 0x25}, {0xDC05, 0x40}}), ElementsAreArray({59}));
    EXPECT_EQ(ciaTimerLatch, 0x4025);
    EXPECT_EQ(C64Memory[0xDC04], 0x25);
    EXPECT_EQ(C64Memory[0xDC05], 0x40);

    ciaTimerLatch = 0;
    EXPECT_THAT(ratesOf({{0xDC05, 0x4C}, {0xDC04, 0xC7}}), ElementsAreArray({50, 50}));
}

TEST_F(C64IoTest, RatesOfAThousandOrMoreAreIgnored) {
    for (int latch = 1; latch <= 985; ++latch) {
        ciaTimerLatch = 0;
        playRate = untouched;
        storeAll({{0xDC05, std::uint8_t(latch >> 8)}, {0xDC04, std::uint8_t(latch & 0xFF)}});
        ASSERT_EQ(playRate, untouched) << "latch " << latch;
    }
    ciaTimerLatch = 0;
    EXPECT_THAT(ratesOf({{0xDC05, 0x03}, {0xDC04, 0xDA}}), ElementsAreArray({999})); // 986
}

TEST_F(C64IoTest, TruncatedRates) {
    struct Case {
        std::uint16_t latch;
        int rate;
    };
    for (const Case c : {Case{65535, 15}, Case{19656, 50}, Case{16421, 59}, Case{16420, 60}}) {
        ciaTimerLatch = c.latch & 0xFF00;
        EXPECT_THAT(ratesOf({{0xDC04, std::uint8_t(c.latch & 0xFF)}}), ElementsAreArray({c.rate}))
            << "latch " << c.latch;
    }
}

TEST_F(C64IoTest, IncrementOfTheLatchChangesOnlyMemory) {
    C64Memory[0x1000] = 0xEE; // INC $DC04
    C64Memory[0x1001] = 0x04;
    C64Memory[0x1002] = 0xDC;
    cpuHalted = false;
    cpu::PC = 0x1000;
    cpuRun(10);
    EXPECT_EQ(C64Memory[0xDC04], 1);
    EXPECT_EQ(ciaTimerLatch, 0);
    EXPECT_EQ(playRate, untouched);
}

} // namespace
