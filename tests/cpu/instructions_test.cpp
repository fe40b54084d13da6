#include "cpu_fixture.h"

#include <array>
#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <vector>

using namespace cpu;

namespace {
constexpr std::uint8_t N = 0x80, V = 0x40, D = 0x08, Z = 0x02, C = 0x01;
constexpr std::uint8_t NVZC = N | V | Z | C;

std::string flagNames(std::uint8_t p) {
    std::string s;
    for (auto [bit, name] : {std::pair{N, 'N'}, {V, 'V'}, {Z, 'Z'}, {C, 'C'}}) {
        s += (p & bit) ? name : '-';
    }
    return s;
}
} // namespace

struct ArithmeticCase {
    std::string name;
    friend void PrintTo(const ArithmeticCase& c, std::ostream* os) { *os << c.name; }
    std::uint8_t opcode; // ADC #nn or SBC #nn
    std::uint8_t a, operand;
    bool carry, decimal;
    std::uint8_t result, flags; // N, V, Z and C after the instruction
};

class Arithmetic : public CpuTest, public ::testing::WithParamInterface<ArithmeticCase> {};

TEST_P(Arithmetic, GivesTheResultAndAllFourFlags) {
    const ArithmeticCase& c = GetParam();
    A = c.a;
    P = (c.carry ? C : 0) | (c.decimal ? D : 0);
    runCode({c.opcode, c.operand});
    EXPECT_EQ(A, c.result);
    EXPECT_EQ(flagNames(P & NVZC), flagNames(c.flags));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Arithmetic,
    ::testing::Values(
        ArithmeticCase{"AdcDecimalDigitCarry", 0x69, 0x09, 0x01, false, true, 0x10, 0},
        ArithmeticCase{"AdcDecimalWrapsTo00", 0x69, 0x99, 0x01, false, true, 0x00, N | C},
        ArithmeticCase{"AdcDecimalCarryIn", 0x69, 0x79, 0x00, true, true, 0x80, N},
        ArithmeticCase{"AdcDecimalOverflow", 0x69, 0x50, 0x50, false, true, 0x00, N | V | C},
        ArithmeticCase{"AdcDecimalPlain", 0x69, 0x12, 0x34, true, true, 0x47, 0},
        ArithmeticCase{"AdcBinaryCarryOut", 0x69, 0xFF, 0x01, false, false, 0x00, Z | C},
        ArithmeticCase{"AdcBinaryOverflow", 0x69, 0x7F, 0x01, false, false, 0x80, N | V},
        ArithmeticCase{"AdcBinaryNegativeOverflow", 0x69, 0x80, 0xFF, false, false, 0x7F, V | C},
        ArithmeticCase{"AdcBinaryCarryIn", 0x69, 0x10, 0x20, true, false, 0x31, 0},
        ArithmeticCase{"SbcDecimalBorrowFrom00", 0xE9, 0x00, 0x01, true, true, 0x99, N},
        ArithmeticCase{"SbcDecimalTensBorrow", 0xE9, 0x12, 0x21, true, true, 0x91, N},
        ArithmeticCase{"SbcDecimalBorrowIn", 0xE9, 0x32, 0x02, false, true, 0x29, C},
        ArithmeticCase{"SbcDecimalToZero", 0xE9, 0x45, 0x45, true, true, 0x00, Z | C},
        ArithmeticCase{"SbcBinaryOverflow", 0xE9, 0x80, 0x01, true, false, 0x7F, V | C},
        ArithmeticCase{"SbcBinaryBorrow", 0xE9, 0x00, 0x01, true, false, 0xFF, N},
        ArithmeticCase{"SbcBinaryToZero", 0xE9, 0x05, 0x05, true, false, 0x00, Z | C},
        ArithmeticCase{"SbcBinaryBorrowIn", 0xE9, 0x05, 0x01, false, false, 0x03, C}),
    [](const auto& info) { return info.param.name; });

struct FlagCase {
    std::string name;
    friend void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.name; }
    std::vector<std::uint8_t> code;
    std::uint8_t a;
    std::uint8_t memory; // the byte at $2000
    bool carry;
    std::uint8_t flags;
    std::uint8_t result; // A for accumulator forms, else the byte stored at $2000
    bool stores;         // the result goes through the hook to $2000
};

class FlagSetting : public CpuTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(FlagSetting, SetsNZCAndV) {
    const FlagCase& c = GetParam();
    A = c.a;
    P = c.carry ? C : 0;
    C64Memory[0x2000] = c.memory;
    for (std::size_t i = 0; i < c.code.size(); ++i) C64Memory[0x1000 + i] = c.code[i];
    cpuRun(10);
    EXPECT_EQ(flagNames(P & NVZC), flagNames(c.flags));
    if (c.stores) {
        EXPECT_EQ(stores, (std::vector<Store>{{0x2000, c.result}}));
    } else {
        EXPECT_TRUE(stores.empty());
        EXPECT_EQ(A, c.result);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FlagSetting,
    ::testing::Values(
        FlagCase{"CmpLess", {0xCD, 0x00, 0x20}, 0x10, 0x20, false, N, 0x10, false},
        FlagCase{"CmpEqual", {0xCD, 0x00, 0x20}, 0x10, 0x10, false, Z | C, 0x10, false},
        FlagCase{"CmpGreater", {0xC9, 0x01}, 0x90, 0, false, N | C, 0x90, false},
        FlagCase{"BitImmediateSetsNAndV", {0x89, 0xC0}, 0x00, 0, false, N | V | Z, 0x00, false},
        FlagCase{"BitAbsolute", {0x2C, 0x00, 0x20}, 0x01, 0x41, true, V | C, 0x01, false},
        FlagCase{"AslMemory", {0x0E, 0x00, 0x20}, 0, 0x81, false, C, 0x02, true},
        FlagCase{"AslAccumulatorToZero", {0x0A}, 0x80, 0, false, Z | C, 0x00, false},
        FlagCase{"LsrMemory", {0x4E, 0x00, 0x20}, 0, 0x01, false, Z | C, 0x00, true},
        FlagCase{"LsrAccumulatorClearsN", {0x4A}, 0xFE, 0, true, 0, 0x7F, false},
        FlagCase{"RolMemoryCarryIn", {0x2E, 0x00, 0x20}, 0, 0x40, true, N, 0x81, true},
        FlagCase{"RolAccumulatorCarryOut", {0x2A}, 0x80, 0, false, Z | C, 0x00, false},
        FlagCase{"RorMemoryCarryIn", {0x6E, 0x00, 0x20}, 0, 0x01, true, N | C, 0x80, true},
        FlagCase{"RorAccumulator", {0x6A}, 0x02, 0, false, 0, 0x01, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(CpuTest, CompareIndexRegisters) {
    X = 0x40;
    Y = 0x05;
    runCode({0xE0, 0x40}); // CPX #$40
    EXPECT_EQ(P & NVZC, Z | C);
    runCode({0xC0, 0x06}); // CPY #$06
    EXPECT_EQ(P & NVZC, N);
}

TEST_F(CpuTest, TestAndSetAndResetTakeZFromTheByteWritten) {
    C64Memory[0x0010] = 0x0F;
    A = 0xF0;
    P = N | V | C;
    runCode({0x04, 0x10}); // TSB $10
    EXPECT_EQ(C64Memory[0x0010], 0xFF);
    EXPECT_EQ(P & NVZC, N | V | C);

    C64Memory[0x2000] = 0x0F;
    A = 0x0F;
    runCode({0x1C, 0x00, 0x20}); // TRB $2000
    EXPECT_EQ(C64Memory[0x2000], 0x00);
    EXPECT_EQ(P & NVZC, N | V | Z | C);
    EXPECT_TRUE(stores.empty());
}

TEST_F(CpuTest, IncrementsAndTransfersWrapAndSetNZ) {
    A = 0xFF;
    runCode({0x1A}); // INC A
    EXPECT_EQ(A, 0x00);
    EXPECT_EQ(P & (N | Z), Z);
    runCode({0x3A}); // DEC A
    EXPECT_EQ(A, 0xFF);
    EXPECT_EQ(P & (N | Z), N);
    runCode({0xCA, 0x88}); // DEX; DEY from 0
    EXPECT_EQ(X, 0xFF);
    EXPECT_EQ(Y, 0xFF);
    runCode({0xE8, 0xC8, 0xC8}); // INX; INY; INY
    EXPECT_EQ(X, 0x00);
    EXPECT_EQ(Y, 0x01);

    A = 0x80;
    runCode({0xAA, 0xA8}); // TAX; TAY
    EXPECT_EQ(X, 0x80);
    EXPECT_EQ(Y, 0x80);
    EXPECT_EQ(P & (N | Z), N);
    X = 0x00;
    P = 0;
    runCode({0x9A}); // TXS changes no flag
    EXPECT_EQ(S, 0x00);
    EXPECT_EQ(P & (N | Z), 0);
    runCode({0xBA}); // TSX
    EXPECT_EQ(P & (N | Z), Z);
    X = 0x7F;
    Y = 0x01;
    runCode({0x8A}); // TXA
    EXPECT_EQ(A, 0x7F);
    runCode({0x98}); // TYA
    EXPECT_EQ(A, 0x01);

    C64Memory[0x0020] = 0xFF;
    runCode({0xE6, 0x20}); // INC $20
    EXPECT_EQ(C64Memory[0x0020], 0x00);
    EXPECT_EQ(P & (N | Z), Z);
    EXPECT_EQ(operandByte, 0x00);
}

TEST_F(CpuTest, FlagInstructions) {
    runCode({0x38, 0xF8, 0x78}); // SEC SED SEI
    EXPECT_EQ(P & 0x0D, 0x0D);
    C64Memory[0x0030] = 0x40;
    runCode({0x24, 0x30, 0x18, 0xD8, 0x58}); // BIT $30 (sets V); CLC CLD CLI
    EXPECT_EQ(P & 0x4D, 0x40);
    runCode({0xB8}); // CLV
    EXPECT_EQ(P & V, 0);
}

TEST_F(CpuTest, JsrPushesTheLastByteAddressAndRtsReturnsPastIt) {
    poke(0x1000, {0x20, 0x00, 0x20}); // JSR $2000
    poke(0x2000, {0x60});             // RTS
    poke(0x1003, {0xE8});             // INX, then BRK
    EXPECT_TRUE(cpuRun(10));
    EXPECT_EQ(stores, (std::vector<Store>{{0x01FF, 0x10}, {0x01FE, 0x02}}));
    EXPECT_EQ(X, 1);
    EXPECT_EQ(S, 0xFF);
    EXPECT_EQ(PC, 0x1005);

    PC = 0x1000;
    cpuHalted = false;
    cpuRun(1);
    EXPECT_EQ(S, 0xFD);
    EXPECT_EQ(PC, 0x2000);
}

TEST_F(CpuTest, RtsFromTheTwoZeroBytesContinuesAtOne) {
    S = 0xFD; // $01FE and $01FF hold zero
    runCode({0x60}, 1);
    EXPECT_EQ(PC, 0x0001);
    EXPECT_EQ(S, 0xFF);
}

TEST_F(CpuTest, RtiPullsStatusThenTheExactAddress) {
    poke(0x01FD, {0xC3, 0x34, 0x12});
    S = 0xFC;
    runCode({0x40}, 1);
    EXPECT_EQ(P, 0xE3);
    EXPECT_EQ(PC, 0x1234);
    EXPECT_EQ(S, 0xFF);
}

TEST_F(CpuTest, PhpPushesBAndBit5AndPlpKeepsBit5) {
    P = C | N;
    runCode({0x08}); // PHP
    EXPECT_EQ(C64Memory[0x01FF], 0xB1);

    C64Memory[0x01FF] = 0x00;
    S = 0xFE;
    EXPECT_FALSE(runCode({0x28}, 1)); // PLP as the budget's last instruction
    EXPECT_EQ(P, 0x20);
    S = 0xFE;
    runCode({0x28, 0x08}); // PLP; PHP: the next instruction starts with B set
    EXPECT_EQ(C64Memory[0x01FF], 0x30);
}

TEST_F(CpuTest, PullsSetNZ) {
    poke(0x01FD, {0x00, 0x80, 0x01});
    S = 0xFC;
    runCode({0x68}); // PLA
    EXPECT_EQ(P & (N | Z), Z);
    runCode({0xFA}); // PLX
    EXPECT_EQ(X, 0x80);
    EXPECT_EQ(P & (N | Z), N);
    runCode({0x7A}); // PLY
    EXPECT_EQ(Y, 0x01);
    EXPECT_EQ(P & (N | Z), 0);
}

TEST_F(CpuTest, CmosAdditionsUseTheirModes) {
    poke(0x0040, {0x00, 0x30}); // pointer ($40) -> $3000
    C64Memory[0x3000] = 0x0F;
    A = 0xF0;
    runCode({0x12, 0x40}); // ORA ($40)
    EXPECT_EQ(A, 0xFF);
    runCode({0x32, 0x40}); // AND ($40)
    EXPECT_EQ(A, 0x0F);
    runCode({0x52, 0x40}); // EOR ($40)
    EXPECT_EQ(A, 0x00);
    P = 0;
    runCode({0x72, 0x40}); // ADC ($40)
    EXPECT_EQ(A, 0x0F);
    runCode({0xD2, 0x40}); // CMP ($40)
    EXPECT_EQ(P & (Z | C), Z | C);
    runCode({0xF2, 0x40}); // SBC ($40) with C set
    EXPECT_EQ(A, 0x00);
    A = 0x66;
    runCode({0x92, 0x40}); // STA ($40) goes through the hook
    EXPECT_EQ(stores, (std::vector<Store>{{0x3000, 0x66}}));

    C64Memory[0x0025] = 0x80;
    C64Memory[0x2105] = 0x40;
    X = 5;
    A = 0xFF;
    runCode({0x34, 0x20}); // BIT $20,X
    EXPECT_EQ(P & (N | V | Z), N);
    runCode({0x3C, 0x00, 0x21}); // BIT $2100,X
    EXPECT_EQ(P & (N | V | Z), V);

    poke(0x0050, {1, 2, 3, 4, 5, 6, 7, 8});
    poke(0x2200, {9, 9, 9, 9, 9, 9, 9, 9});
    X = 2;
    runCode({0x64, 0x50, 0x74, 0x50, 0x9C, 0x00, 0x22, 0x9E, 0x00, 0x22});
    EXPECT_EQ(C64Memory[0x0050], 0); // STZ $50
    EXPECT_EQ(C64Memory[0x0052], 0); // STZ $50,X
    EXPECT_EQ(C64Memory[0x2200], 0); // STZ $2200
    EXPECT_EQ(C64Memory[0x2202], 0); // STZ $2200,X
    EXPECT_EQ(C64Memory[0x0051], 2);
    EXPECT_EQ(stores.size(), 1u);

    X = 0x11;
    Y = 0x22;
    runCode({0xDA, 0x5A}); // PHX; PHY
    EXPECT_EQ(C64Memory[0x0100 + S + 1], 0x22);
    EXPECT_EQ(C64Memory[0x0100 + S + 2], 0x11);
}

// Every opcode outside the documented NMOS set and the 65C02 additions.
constexpr std::array<std::uint8_t, 78> oneByteNoOperations = {
    0x02, 0x03, 0x07, 0x0B, 0x0F, 0x13, 0x17, 0x1B, 0x1F, 0x22, 0x23, 0x27, 0x2B, 0x2F, 0x33, 0x37,
    0x3B, 0x3F, 0x42, 0x43, 0x44, 0x47, 0x4B, 0x4F, 0x53, 0x54, 0x57, 0x5B, 0x5C, 0x5F, 0x62, 0x63,
    0x67, 0x6B, 0x6F, 0x73, 0x77, 0x7B, 0x7F, 0x82, 0x83, 0x87, 0x8B, 0x8F, 0x93, 0x97, 0x9B, 0x9F,
    0xA3, 0xA7, 0xAB, 0xAF, 0xB3, 0xB7, 0xBB, 0xBF, 0xC2, 0xC3, 0xC7, 0xCB, 0xCF, 0xD3, 0xD4, 0xD7,
    0xDB, 0xDC, 0xDF, 0xE2, 0xE3, 0xE7, 0xEB, 0xEF, 0xF3, 0xF4, 0xF7, 0xFB, 0xFC, 0xFF,
};

TEST_F(CpuTest, UndefinedOpcodesAndNopAreOneByteAndChangeNothing) {
    EXPECT_EQ(std::set<std::uint8_t>(oneByteNoOperations.begin(), oneByteNoOperations.end()).size(),
              78u);
    std::vector<std::uint8_t> opcodes(oneByteNoOperations.begin(), oneByteNoOperations.end());
    opcodes.push_back(0xEA);
    for (std::uint8_t code : opcodes) {
        C64Memory.fill(0x33);
        C64Memory[0x1000] = code;
        C64Memory[0x1001] = 0x00; // BRK
        const auto memoryBefore = C64Memory;
        A = 0x01;
        X = 0x02;
        Y = 0x03;
        P = 0xF3;
        S = 0xF0;
        PC = 0x1000;
        cpuHalted = false;
        EXPECT_TRUE(cpuRun(3));
        EXPECT_EQ(PC, 0x1002) << "opcode " << std::hex << int(code);
        EXPECT_TRUE(A == 0x01 && X == 0x02 && Y == 0x03 && P == 0xF3 && S == 0xF0)
            << "opcode " << std::hex << int(code);
        EXPECT_TRUE(C64Memory == memoryBefore) << "opcode " << std::hex << int(code);
        EXPECT_TRUE(stores.empty());
    }
}

// Each operation handler reaches its operand through the same mode that the
// opcode's entry in modeHandlers names: run alone, that entry leaves the same
// effective address and program counter as the whole instruction.
TEST_F(CpuTest, ModeTableAgreesWithTheOperations) {
    const std::set<int> transfersControl = {0x10, 0x20, 0x30, 0x40, 0x4C, 0x50, 0x60, 0x6C,
                                            0x70, 0x7C, 0x80, 0x90, 0xB0, 0xD0, 0xF0};
    const CpuHandler implied = modeHandlers[0xEA];
    for (int code = 0; code < 256; ++code) {
        if (transfersControl.count(code)) continue;
        const auto setUp = [code] {
            for (int i = 0; i < 0x10000; ++i) C64Memory[i] = (i * 7 + 3) & 0xFF;
            C64Memory[0x2000] = code;
            opcode = code;
            A = 0x11;
            X = 0x03;
            Y = 0x05;
            S = 0xF0;
            P = 0x30;
            PC = 0x2000;
            effAddr = 0xBEEF;
        };
        setUp();
        opHandlers[code]();
        const std::uint16_t instructionAddress = effAddr, instructionPC = PC;
        setUp();
        modeHandlers[code]();
        if (modeHandlers[code] == implied) {
            EXPECT_EQ(PC, 0x2000) << std::hex << code;
            EXPECT_EQ(instructionPC, 0x2001) << std::hex << code;
        } else {
            EXPECT_EQ(effAddr, instructionAddress) << std::hex << code;
            EXPECT_EQ(PC, instructionPC) << std::hex << code;
        }
    }
}
