#include "cpu_fixture.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

using namespace cpu;

namespace {
// Taken before any test can install another hook.
const CpuWriteHook hookAtStart = writeHook;
} // namespace

TEST_F(CpuTest, StoresLandInMemoryBeforeAnyHookIsInstalled) {
    writeHook = hookAtStart;
    A = 0x42;
    runCode({0x8D, 0x00, 0x20}); // STA $2000
    EXPECT_EQ(C64Memory[0x2000], 0x42);
}

TEST_F(CpuTest, RunWithHaltAlreadySetExecutesNothing) {
    poke(0x1000, {0xE8}); // INX
    cpuHalted = true;
    EXPECT_TRUE(cpuRun(10));
    EXPECT_EQ(PC, 0x1000);
    EXPECT_EQ(X, 0);
}

TEST_F(CpuTest, BudgetBoundsARunThatNeverHalts) {
    poke(0x1000, {0xE8, 0x4C, 0x00, 0x10}); // loop: INX; JMP loop
    EXPECT_FALSE(cpuRun(7));
    EXPECT_TRUE(cpuHalted);
    EXPECT_EQ(X, 4);       // INX, JMP, INX, JMP, INX, JMP, INX
    EXPECT_EQ(PC, 0x1001); // the state after the last instruction is kept
}

TEST_F(CpuTest, BrkThatSpendsTheBudgetCountsAsBudgetSpent) {
    EXPECT_FALSE(runCode({0xEA, 0x00}, 2)); // NOP; BRK
    EXPECT_TRUE(cpuHalted);
}

TEST_F(CpuTest, BrkHaltsWithoutPushingOrTouchingFlags) {
    P = 0xE3;
    const std::uint8_t stackBefore = S;
    EXPECT_TRUE(runCode({0x00}, 5));
    EXPECT_EQ(PC, 0x1001);
    EXPECT_EQ(S, stackBefore);
    EXPECT_EQ(P, 0xF3); // only the run loop's B and bit 5
    EXPECT_EQ(C64Memory[0x01FF], 0);
}

TEST_F(CpuTest, ProgramCounterWrapsAtTheTopOfMemory) {
    EXPECT_TRUE(runCode(0xFFFF, {0xE8}));
    EXPECT_EQ(X, 1);
    EXPECT_EQ(PC, 0x0001);
}

TEST_F(CpuTest, ResetLoadsTheVectorAndTheRunLoopSetsBAndBit5) {
    poke(0xFFFC, {0x34, 0x12});
    A = X = Y = 9;
    P = 0xFF;
    S = 0x10;
    cpuReset();
    EXPECT_EQ(PC, 0x1234);
    EXPECT_EQ(P, 0x20);
    EXPECT_EQ(S, 0xFF);
    EXPECT_EQ(A | X | Y, 0);
    poke(0x1234, {0x08}); // PHP shows the P the first instruction sees
    EXPECT_TRUE(cpuRun(10));
    EXPECT_EQ(C64Memory[0x01FF], 0x30);
}

TEST_F(CpuTest, StackWrapsWithinPageOne) {
    S = 0x00;
    A = 0x77;
    runCode({0x48}); // PHA
    EXPECT_EQ(C64Memory[0x0100], 0x77);
    EXPECT_EQ(S, 0xFF);

    C64Memory[0x0100] = 0x88;
    runCode({0x68}); // PLA with S = $FF
    EXPECT_EQ(A, 0x88);
    EXPECT_EQ(S, 0x00);
}

TEST_F(CpuTest, ReadsHaveNoSideEffectsAndSeeOnlyMemory) {
    runCode({0xAD, 0x1B, 0xD4, 0xAA, 0xAD, 0x12, 0xD0}); // LDA $D41B; TAX; LDA $D012
    EXPECT_EQ(X, 0);
    EXPECT_EQ(A, 0);
    C64Memory[0xD41B] = 0x5C;
    runCode({0xAD, 0x1B, 0xD4});
    EXPECT_EQ(A, 0x5C);
}

// Addressing modes: the marker $5A sits at the expected effective address and
// $11 at the address a wrong wrap would reach.
struct ModeCase {
    std::string name;
    friend void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }
    std::uint16_t at;
    std::vector<std::uint8_t> code;
    std::uint8_t x, y;
    std::vector<std::pair<std::uint16_t, std::uint8_t>> memory;
    std::uint16_t expectedAddress;
    std::uint16_t wrongAddress;
    char loads; // which register the instruction loads
};

class AddressingModes : public CpuTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(AddressingModes, ReachTheEffectiveAddress) {
    const ModeCase& c = GetParam();
    for (auto [address, value] : c.memory) C64Memory[address] = value;
    C64Memory[c.wrongAddress] = 0x11;
    C64Memory[c.expectedAddress] = 0x5A;
    X = c.x;
    Y = c.y;
    for (std::size_t i = 0; i < c.code.size(); ++i) {
        C64Memory[static_cast<std::uint16_t>(c.at + i)] = c.code[i];
    }
    PC = c.at;
    ASSERT_TRUE(cpuRun(3));
    EXPECT_EQ(effAddr, c.expectedAddress);
    const std::uint8_t loaded = c.loads == 'A' ? A : c.loads == 'X' ? X : Y;
    EXPECT_EQ(loaded, 0x5A);
    // The operand length: the BRK right after the instruction was executed.
    EXPECT_EQ(PC, static_cast<std::uint16_t>(c.at + c.code.size() + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressingModes,
    ::testing::Values(
        ModeCase{"ZeroPage", 0x1000, {0xA5, 0x42}, 0, 0, {}, 0x0042, 0x0142, 'A'},
        ModeCase{
            "ZeroPageXWrapsInPageZero", 0x1000, {0xB5, 0x80}, 0x90, 0, {}, 0x0010, 0x0110, 'A'},
        ModeCase{
            "ZeroPageYWrapsInPageZero", 0x1000, {0xB6, 0x10}, 0, 0xF5, {}, 0x0005, 0x0105, 'X'},
        ModeCase{"ZeroPageXForLdy", 0x1000, {0xB4, 0xF0}, 0x20, 0, {}, 0x0010, 0x0110, 'Y'},
        ModeCase{"Absolute", 0x1000, {0xAD, 0x34, 0x12}, 0, 0, {}, 0x1234, 0x3412, 'A'},
        ModeCase{
            "AbsoluteXWrapsAtTheTop", 0x1000, {0xBD, 0xF0, 0xFF}, 0x20, 0, {}, 0x0010, 0xFFF0, 'A'},
        ModeCase{"AbsoluteYForLdx", 0x1000, {0xBE, 0x00, 0x20}, 0, 0x05, {}, 0x2005, 0x2000, 'X'},
        ModeCase{"AbsoluteXForLdy", 0x1000, {0xBC, 0x00, 0x20}, 0x07, 0, {}, 0x2007, 0x2000, 'Y'},
        ModeCase{"AbsoluteOperandWrapsToZero",
                 0xFFFE,
                 {0xAD, 0x34, 0x12},
                 0,
                 0,
                 {},
                 0x1234,
                 0x0034,
                 'A'},
        ModeCase{"IndirectYHighByteFromPageOne",
                 0x1000,
                 {0xB1, 0xFF},
                 0,
                 5,
                 {{0x00FF, 0x00}, {0x0100, 0x20}, {0x0000, 0x30}},
                 0x2005,
                 0x3005,
                 'A'},
        ModeCase{"IndirectYCrossesPages",
                 0x1000,
                 {0xB1, 0x20},
                 0,
                 0x10,
                 {{0x0020, 0xF8}, {0x0021, 0x20}},
                 0x2108,
                 0x2008,
                 'A'},
        ModeCase{"IndexedIndirectPointerInPageOne",
                 0x1000,
                 {0xA1, 0xF0},
                 0x0F,
                 0,
                 {{0x00FF, 0x34}, {0x0100, 0x12}, {0x0000, 0x56}},
                 0x1234,
                 0x5634,
                 'A'},
        ModeCase{"IndexedIndirectPointerAddressWraps",
                 0x1000,
                 {0xA1, 0xFF},
                 0x01,
                 0,
                 {{0x0000, 0x78}, {0x0001, 0x56}, {0x0100, 0x99}},
                 0x5678,
                 0x9978,
                 'A'},
        ModeCase{"ZeroPageIndirect",
                 0x1000,
                 {0xB2, 0x12},
                 0,
                 0,
                 {{0x0012, 0x00}, {0x0013, 0x30}},
                 0x3000,
                 0x2FFF,
                 'A'},
        ModeCase{"ZeroPageIndirectHighByteFromPageOne",
                 0x1000,
                 {0xB2, 0xFF},
                 0,
                 0,
                 {{0x00FF, 0x40}, {0x0100, 0x30}, {0x0000, 0x50}},
                 0x3040,
                 0x5040,
                 'A'},
        ModeCase{"ImmediateIsTheOperandByte", 0x3000, {0xA9, 0x5A}, 0, 0, {}, 0x3001, 0x0000, 'A'}),
    [](const auto& info) { return info.param.name; });

struct JumpCase {
    std::string name;
    friend void PrintTo(const JumpCase& c, std::ostream* os) { *os << c.name; }
    std::vector<std::uint8_t> code; // placed at $2000
    std::uint8_t x;
    std::vector<std::pair<std::uint16_t, std::uint8_t>> memory;
    std::uint16_t target;
};

class Jumps : public CpuTest, public ::testing::WithParamInterface<JumpCase> {};

TEST_P(Jumps, LandOnTheTarget) {
    const JumpCase& c = GetParam();
    for (auto [address, value] : c.memory) C64Memory[address] = value;
    for (std::size_t i = 0; i < c.code.size(); ++i) C64Memory[0x2000 + i] = c.code[i];
    X = c.x;
    PC = 0x2000;
    cpuRun(1);
    EXPECT_EQ(PC, c.target);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Jumps,
    ::testing::Values(
        JumpCase{"Absolute", {0x4C, 0x34, 0x12}, 0, {}, 0x1234},
        JumpCase{"IndirectKeepsTheHighByteInThePointersPage",
                 {0x6C, 0xFF, 0x10},
                 0,
                 {{0x10FF, 0x34}, {0x1000, 0x12}, {0x1100, 0x56}},
                 0x1234},
        JumpCase{"Indirect", {0x6C, 0x00, 0x30}, 0, {{0x3000, 0xCD}, {0x3001, 0xAB}}, 0xABCD},
        JumpCase{"IndexedIndirect",
                 {0x7C, 0x34, 0x12},
                 2,
                 {{0x1234, 0x11}, {0x1236, 0x00}, {0x1237, 0x30}},
                 0x3000},
        JumpCase{"IndexedIndirectCrossesPages",
                 {0x7C, 0xFE, 0x30},
                 1,
                 {{0x30FF, 0x78}, {0x3100, 0x56}, {0x3000, 0x99}},
                 0x5678},
        JumpCase{"IndexedIndirectPointerAtTheTopWrapsToZero",
                 {0x7C, 0xFD, 0xFF},
                 2,
                 {{0xFFFF, 0x21}, {0x0000, 0x43}},
                 0x4321},
        JumpCase{"BranchBack", {0x80, 0xFE}, 0, {}, 0x2000},
        JumpCase{"BranchForward", {0x80, 0x7F}, 0, {}, 0x2081}),
    [](const auto& info) { return info.param.name; });

TEST_F(CpuTest, BranchesTakenAndNotTaken) {
    struct Branch {
        std::uint8_t opcode;
        std::uint8_t flag;
        bool takenWhenSet;
    };
    const Branch branches[] = {
        {0x10, 0x80, false}, {0x30, 0x80, true}, {0x50, 0x40, false}, {0x70, 0x40, true},
        {0x90, 0x01, false}, {0xB0, 0x01, true}, {0xD0, 0x02, false}, {0xF0, 0x02, true},
    };
    for (const Branch& b : branches) {
        for (bool set : {false, true}) {
            poke(0x2000, {b.opcode, 0x10});
            PC = 0x2000;
            P = set ? b.flag : 0;
            cpuHalted = false;
            cpuRun(1);
            const bool taken = set == b.takenWhenSet;
            EXPECT_EQ(PC, taken ? 0x2012 : 0x2002)
                << "opcode " << std::hex << int(b.opcode) << " flag set " << set;
        }
    }
}

TEST_F(CpuTest, OnlyTheHookedInstructionsStoreThroughTheHook) {
    A = 0x81;
    X = 0x82;
    Y = 0x83;
    C64Memory[0x2004] = 0x01;
    C64Memory[0x2005] = 0x80;
    C64Memory[0x2006] = 0x03;
    C64Memory[0x2007] = 0x40;
    poke(0x1000, {
                     0x8D, 0x00, 0x20,       // STA $2000
                     0x8E, 0x01, 0x20,       // STX $2001
                     0x8C, 0x02, 0x20,       // STY $2002
                     0x0E, 0x04, 0x20,       // ASL $2004
                     0x4E, 0x05, 0x20,       // LSR $2005
                     0x2E, 0x06, 0x20,       // ROL $2006
                     0x6E, 0x07, 0x20,       // ROR $2007
                     0xEE, 0x04, 0xD4,       // INC $D404
                     0xCE, 0x05, 0xD4,       // DEC $D405
                     0x9C, 0x18, 0xD4,       // STZ $D418
                     0x0C, 0x06, 0xD4,       // TSB $D406
                     0x1C, 0x07, 0xD4,       // TRB $D407
                     0x48, 0x08, 0xDA, 0x5A, // PHA PHP PHX PHY
                     0x20, 0x00, 0x30,       // JSR $3000
                 });
    cpuRun(100);
    const std::vector<Store> expected = {
        {0x2000, 0x81}, {0x2001, 0x82}, {0x2002, 0x83}, {0x2004, 0x02}, {0x2005, 0x40},
        {0x2006, 0x06}, {0x2007, 0x20}, {0x01FB, 0x10}, {0x01FA, 0x2A},
    };
    EXPECT_EQ(stores, expected);
    EXPECT_EQ(C64Memory[0xD404], 0x01);
    EXPECT_EQ(C64Memory[0xD405], 0xFF);
    EXPECT_EQ(C64Memory[0xD406], 0x81);
    EXPECT_EQ(C64Memory[0x01FF], 0x81); // PHA
    EXPECT_EQ(C64Memory[0x01FD], 0x82); // PHX
    EXPECT_EQ(C64Memory[0x01FC], 0x83); // PHY
}
