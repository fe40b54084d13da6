// The OPL3 register port against the recording library.
#include "sidopl/opl_port.h"
#include "sidopl/ymf262_recording.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using Writes = std::vector<YmfRegisterWrite>;

class OplPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ymfRecordingClear();
        oplChip = 0;
    }
};

TEST_F(OplPortTest, WriteIsAnAddressOnPortZeroThenTheValueOnPortOne) {
    oplChip = 7;
    oplWrite(0xA0, 0x44);
    EXPECT_THAT(ymfRecordingCalls(), ElementsAre(YmfPortCall{7, 0, 0xA0}, YmfPortCall{7, 1, 0x44}));
}

TEST_F(OplPortTest, WriteOfTheSameValueTwiceReachesTheLibraryTwice) {
    oplWriteMirrored(0xB0, 0x20);
    oplWriteMirrored(0xB0, 0x20);
    EXPECT_THAT(ymfRecordingWrites(),
                ElementsAre(YmfRegisterWrite{0xB3, 0x20}, YmfRegisterWrite{0xB0, 0x20},
                            YmfRegisterWrite{0xB3, 0x20}, YmfRegisterWrite{0xB0, 0x20}));
}

TEST_F(OplPortTest, Opl3ModeOnWritesOneToHighBankRegisterFive) {
    oplChip = 2;
    oplSetOpl3Mode(true);
    EXPECT_THAT(ymfRecordingCalls(), ElementsAre(YmfPortCall{2, 2, 0x05}, YmfPortCall{2, 3, 1}));
    EXPECT_THAT(ymfRecordingWrites(), ElementsAre(YmfRegisterWrite{0x105, 1}));
}

TEST_F(OplPortTest, Opl3ModeOffWritesZeroToHighBankRegisterFive) {
    oplSetOpl3Mode(false);
    EXPECT_THAT(ymfRecordingCalls(), ElementsAre(YmfPortCall{0, 2, 0x05}, YmfPortCall{0, 3, 0}));
}

// --- oplWriteMirrored, one case per register range and its edges ---

struct MirrorCase {
    std::string name;
    std::uint8_t reg;
    std::uint8_t value;
    Writes expected;
};

void PrintTo(const MirrorCase& c, std::ostream* os) { *os << c.name; }

class OplWriteMirroredTest : public OplPortTest,
                             public ::testing::WithParamInterface<MirrorCase> {};

TEST_P(OplWriteMirroredTest, WritesTheMirrorFirstThenTheRegister) {
    const MirrorCase& c = GetParam();
    oplChip = 3;
    oplWriteMirrored(c.reg, c.value);
    EXPECT_THAT(ymfRecordingWrites(), ElementsAreArray(c.expected));
    EXPECT_TRUE(ymfRecordingProtocolKept());
    for (const YmfPortCall& call : ymfRecordingCalls()) {
        EXPECT_EQ(call.chip, 3);
        EXPECT_TRUE(call.port == 0 || call.port == 1) << "low bank only";
    }
}

// clang-format off
const MirrorCase mirrorCases[] = {
    // A voice's output bits, key-on, operator level, and two unmirrored registers.
    {"C1_OutputBitsReplaced",  0xC1, 0x07, {{0xC4, 0x27}, {0xC1, 0x47}}},
    {"B2_KeyOnBlock",          0xB2, 0x31, {{0xB5, 0x31}, {0xB2, 0x31}}},
    {"45_OperatorLevel",       0x45, 0x12, {{0x4D, 0x12}, {0x45, 0x12}}},
    {"BD_RhythmNotMirrored",   0xBD, 0x3F, {{0xBD, 0x3F}}},
    {"01_TestNotMirrored",     0x01, 0x20, {{0x01, 0x20}}},
    // 0x00-0x1F: the register only.
    {"00_First",               0x00, 0x11, {{0x00, 0x11}}},
    {"08_Csm",                 0x08, 0x40, {{0x08, 0x40}}},
    {"1F_Last",                0x1F, 0x12, {{0x1F, 0x12}}},
    // 0x20-0x9F: reg + 8, then reg.
    {"20_First",               0x20, 0x21, {{0x28, 0x21}, {0x20, 0x21}}},
    {"63_Envelope",            0x63, 0xF5, {{0x6B, 0xF5}, {0x63, 0xF5}}},
    {"85_SustainRelease",      0x85, 0xFE, {{0x8D, 0xFE}, {0x85, 0xFE}}},
    {"9F_Last",                0x9F, 0x01, {{0xA7, 0x01}, {0x9F, 0x01}}},
    // 0xA0-0xB9: reg + 3, then reg.
    {"A0_First",               0xA0, 0x44, {{0xA3, 0x44}, {0xA0, 0x44}}},
    {"B0_KeyOn",               0xB0, 0x32, {{0xB3, 0x32}, {0xB0, 0x32}}},
    {"B9_Last",                0xB9, 0x02, {{0xBC, 0x02}, {0xB9, 0x02}}},
    // 0xBA-0xBF: the register only.
    {"BA_First",               0xBA, 0x05, {{0xBA, 0x05}}},
    {"BF_Last",                0xBF, 0x06, {{0xBF, 0x06}}},
    // 0xC0-0xC9: low nibble kept, line B on the mirror, line C on the primary.
    {"C0_First",               0xC0, 0x00, {{0xC3, 0x20}, {0xC0, 0x40}}},
    {"C2_HighNibbleDropped",   0xC2, 0xFF, {{0xC5, 0x2F}, {0xC2, 0x4F}}},
    {"C0_LineAReplaced",       0xC0, 0x1E, {{0xC3, 0x2E}, {0xC0, 0x4E}}},
    {"C9_Last",                0xC9, 0x31, {{0xCC, 0x21}, {0xC9, 0x41}}},
    // 0xCA-0xDF: the register only.
    {"CA_First",               0xCA, 0x07, {{0xCA, 0x07}}},
    {"DF_Last",                0xDF, 0x08, {{0xDF, 0x08}}},
    // 0xE0-0xFF: reg + 8, then reg.
    {"E0_First",               0xE0, 0x04, {{0xE8, 0x04}, {0xE0, 0x04}}},
    {"F5_HighestCalled",       0xF5, 0x03, {{0xFD, 0x03}, {0xF5, 0x03}}},
    {"F7_LastMirrorInBank",    0xF7, 0x02, {{0xFF, 0x02}, {0xF7, 0x02}}},
    // Past 0xF7 the mirror would leave the low bank: the register only.
    {"F8_MirrorPastBank",      0xF8, 0x01, {{0xF8, 0x01}}},
    {"FF_MirrorPastBank",      0xFF, 0x01, {{0xFF, 0x01}}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Ranges, OplWriteMirroredTest, ::testing::ValuesIn(mirrorCases),
                         [](const auto& info) { return info.param.name; });

// Every register, not only the listed ones: the last write is the register
// itself, and only the 0xC0 group changes the value.
TEST_F(OplPortTest, EveryRegisterEndsWithItsOwnWrite) {
    for (int reg = 0; reg <= 0xFF; ++reg) {
        ymfRecordingClear();
        oplWriteMirrored(static_cast<std::uint8_t>(reg), 0x9A);
        Writes writes = ymfRecordingWrites();
        ASSERT_FALSE(writes.empty()) << reg;
        ASSERT_LE(writes.size(), 2U) << reg;
        EXPECT_EQ(writes.back().reg, reg);
        bool outputGroup = reg >= 0xC0 && reg <= 0xC9;
        EXPECT_EQ(writes.back().value, outputGroup ? 0x4A : 0x9A) << reg;
        EXPECT_TRUE(ymfRecordingProtocolKept()) << reg;
    }
}

// --- oplClear ---

// oplClear, spelled out as the register writes it must make.
Writes expectedClearWrites() {
    Writes writes;
    for (int reg = 0x20; reg <= 0xF5; ++reg) {
        auto r = static_cast<std::uint16_t>(reg);
        if (reg < 0xA0) {
            writes.push_back({static_cast<std::uint16_t>(r + 8), 0});
            writes.push_back({r, 0});
        } else if (reg < 0xBA) {
            writes.push_back({static_cast<std::uint16_t>(r + 3), 0});
            writes.push_back({r, 0});
        } else if (reg < 0xC0) {
            writes.push_back({r, 0});
        } else if (reg < 0xCA) {
            writes.push_back({static_cast<std::uint16_t>(r + 3), 0x20});
            writes.push_back({r, 0x40});
        } else if (reg < 0xE0) {
            writes.push_back({r, 0});
        } else {
            writes.push_back({static_cast<std::uint16_t>(r + 8), 0});
            writes.push_back({r, 0});
        }
    }
    writes.push_back({0x01, 0x20});
    writes.push_back({0x08, 0x00});
    writes.push_back({0x105, 0x01});
    return writes;
}

TEST_F(OplPortTest, ClearMakesItsWritesInTheExactOrder) {
    oplChip = 1;
    oplClear();
    EXPECT_THAT(ymfRecordingWrites(), ElementsAreArray(expectedClearWrites()));
    EXPECT_TRUE(ymfRecordingProtocolKept());
    const auto& calls = ymfRecordingCalls();
    ASSERT_GE(calls.size(), 2U);
    EXPECT_EQ(calls[calls.size() - 2], (YmfPortCall{1, 2, 0x05}));
    EXPECT_EQ(calls.back(), (YmfPortCall{1, 3, 1}));
    for (const YmfPortCall& call : calls) EXPECT_EQ(call.chip, 1);
}

TEST_F(OplPortTest, ClearLeavesEveryKeyOffAndOpl3ModeOn) {
    oplClear();
    auto image = ymfRecordingImage();
    EXPECT_EQ(image[0x01], 0x20);
    EXPECT_EQ(image[0x08], 0x00);
    EXPECT_EQ(image[0x105], 1);
    for (int reg = 0xC0; reg <= 0xC8; ++reg) EXPECT_EQ(image[reg], 0x40) << std::hex << reg;
    // 0xC9 is no channel's register, but the 0xC0-0xC9 row of the mirror
    // table gives it 0x40 as well (0xCC, its mirror, is zeroed later).
    EXPECT_EQ(image[0xC9], 0x40);
    for (int reg = 0x20; reg <= 0xFD; ++reg) {
        if (reg >= 0xC0 && reg <= 0xC9) continue;
        EXPECT_EQ(image[reg], 0) << std::hex << reg;
    }
    // Registers 0x00-0x1F other than 0x01 and 0x08, 0xFE, 0xFF and the high
    // bank other than 0x105 are not touched.
    std::vector<int> touched;
    for (const YmfRegisterWrite& write : ymfRecordingWrites()) touched.push_back(write.reg);
    for (int reg : touched) {
        bool expected = reg == 0x01 || reg == 0x08 || (reg >= 0x20 && reg <= 0xFD) || reg == 0x105;
        EXPECT_TRUE(expected) << std::hex << reg;
    }
}

} // namespace
