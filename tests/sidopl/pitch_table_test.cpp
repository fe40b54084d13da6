// The pitch table.
#include "sidopl/pitch_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

class PitchTableTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { buildPitchTable(); }
};

struct Row {
    int hz;
    int fnum;
    int block;
};

void PrintTo(const Row& row, std::ostream* os) { *os << "hz " << row.hz; }

class PitchTableRowTest : public PitchTableTest, public ::testing::WithParamInterface<Row> {};

TEST_P(PitchTableRowTest, HoldsTheEntryOfTheBlockChangesAndNotes) {
    const Row& row = GetParam();
    EXPECT_EQ(pitchTable[row.hz].fnum, row.fnum);
    EXPECT_EQ(pitchTable[row.hz].block, row.block);
}

// clang-format off
const Row rows[] = {
    {0, 0, 0},      {1, 21, 0},     {48, 1012, 0},  {49, 516, 1},   {98, 516, 2},
    {195, 514, 3},  {389, 512, 4},  {440, 580, 4},  {777, 512, 5},  {1000, 659, 5},
    {1554, 512, 6}, {3108, 512, 7}, {3855, 635, 7}, {4095, 674, 7},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Entries, PitchTableRowTest, ::testing::ValuesIn(rows),
                         [](const auto& info) { return "hz" + std::to_string(info.param.hz); });

// A SID frequency register value F looks up entry F div 17.
struct Lookup {
    int sidFrequency;
    int hz;
    int fnum;
    int block;
};

TEST_F(PitchTableTest, SidFrequencyValuesFindTheirEntries) {
    std::vector<Lookup> lookups = {
        {17, 1, 21, 0},                                // the lowest non-zero entry
        {0x1D45, 440, 580, 4},                         // concert A: F-number 0x244
        {0x1D48, 440, 580, 4},                         // the last value still in hz 440
        {0x1D49, 441, 581, 4}, {0xFFFF, 3855, 635, 7}, // the highest entry looked up
    };
    for (int f = 0; f <= 16; ++f) lookups.push_back({f, 0, 0, 0});
    for (const Lookup& lookup : lookups) {
        int hz = pitchIndex(static_cast<std::uint16_t>(lookup.sidFrequency));
        EXPECT_EQ(hz, lookup.hz) << lookup.sidFrequency;
        EXPECT_EQ(pitchTable[hz].fnum, lookup.fnum) << lookup.sidFrequency;
        EXPECT_EQ(pitchTable[hz].block, lookup.block) << lookup.sidFrequency;
    }
}

// Every entry, checked against the rule rather than the table's rows: the
// block is the lowest one whose quotient fits in ten bits.
TEST_F(PitchTableTest, EveryEntryHasTheLowestBlockThatFits) {
    for (int hz = 0; hz < pitchTableSize; ++hz) {
        const PitchEntry& entry = pitchTable[hz];
        ASSERT_LE(entry.block, 7) << hz;
        ASSERT_LT(entry.fnum, 1024) << hz;
        auto quotient = [hz](int block) {
            return static_cast<std::uint64_t>(hz) * (std::uint64_t{1} << (20 - block)) / 49716;
        };
        EXPECT_EQ(entry.fnum, quotient(entry.block)) << hz;
        if (entry.block > 0) { EXPECT_GE(quotient(entry.block - 1), 1024U) << hz; }
        // The entry plays hz to within one F-number step.
        double played = entry.fnum * 49716.0 / std::ldexp(1.0, 20 - entry.block);
        double step = 49716.0 / std::ldexp(1.0, 20 - entry.block);
        EXPECT_LE(played, hz) << hz;
        EXPECT_GT(played + step, hz) << hz;
    }
}

TEST_F(PitchTableTest, BuildingTwiceGivesTheSameTable) {
    auto first = pitchTable;
    buildPitchTable();
    for (int hz = 0; hz < pitchTableSize; ++hz) {
        EXPECT_EQ(pitchTable[hz].fnum, first[hz].fnum);
        EXPECT_EQ(pitchTable[hz].block, first[hz].block);
    }
}

} // namespace
