#include "cpu/cpu.h"

#include <cstddef>

namespace cpu {
std::uint16_t PC;
std::uint8_t A;
std::uint8_t X;
std::uint8_t Y;
std::uint8_t P;
std::uint8_t S;
} // namespace cpu

using namespace cpu;

namespace {
void storeToMemory(std::uint16_t address, std::uint8_t value) { C64Memory[address] = value; }
} // namespace

CpuWriteHook writeHook = storeToMemory;
std::array<std::uint8_t, 0x10000> C64Memory;
bool cpuHalted;
std::array<CpuHandler, 256> modeHandlers;
std::array<CpuHandler, 256> opHandlers;
std::uint16_t effAddr;
std::uint8_t operandByte;
std::uint16_t carryWord;
std::uint16_t resultWord;
std::uint16_t pointerWord;
std::uint8_t opcode;

namespace {

constexpr std::uint8_t flagN = 0x80;
constexpr std::uint8_t flagV = 0x40;
constexpr std::uint8_t flagD = 0x08;
constexpr std::uint8_t flagI = 0x04;
constexpr std::uint8_t flagZ = 0x02;
constexpr std::uint8_t flagC = 0x01;

std::uint8_t& M(std::uint16_t address) { return C64Memory[address]; }

// A word whose low byte sits at $FFFF takes its high byte from $0000, as the
// 6502's own address arithmetic does.
std::uint16_t wordAt(std::uint16_t address) {
    return M(address) | M(static_cast<std::uint16_t>(address + 1)) << 8;
}

void setFlag(std::uint8_t flag, bool on) { P = on ? (P | flag) : (P & ~flag); }
bool flag(std::uint8_t flag) { return (P & flag) != 0; }
// N and Z of every byte value, looked up rather than worked out on each load.
constexpr std::array<std::uint8_t, 256> nzFlags = [] {
    std::array<std::uint8_t, 256> flags{};
    for (unsigned value = 0; value < 256; ++value) {
        flags[value] = (value & flagN) | (value == 0 ? flagZ : 0);
    }
    return flags;
}();
void setNZ(std::uint8_t value) { P = (P & ~(flagN | flagZ)) | nzFlags[value]; }

// An operation handler that needs its operand calls its mode handler, the
// one the opcode map gives its opcode, directly: each entry of opHandlers is
// the operation's handler made for that one mode.
template <CpuHandler mode> std::uint8_t operand() {
    mode();
    return M(effAddr);
}

void push(std::uint8_t value) { M(0x0100 + S--) = value; }
std::uint8_t pull() { return M(0x0100 + ++S); }

// While an instruction's handlers run, PC still holds the opcode's address;
// each instruction steps PC past all of its bytes with a single update, in its
// mode handler or, for the implied ones, in its operation handler. Between
// instructions PC is exactly what stepping byte by byte gives, and keeping
// the program counter to one update per instruction is what makes the run
// loop fast.

std::uint8_t operandAt(unsigned offset) { return M(PC + offset); }
std::uint16_t operandWord() { return wordAt(PC + 1); }
void stepPast(unsigned length) { PC += length; }

// Addressing modes: each leaves its effective address in effAddr.

void modeImplied() {}
void modeImmediate() {
    effAddr = PC + 1;
    stepPast(2);
}
void modeZeroPage() {
    effAddr = operandAt(1);
    stepPast(2);
}
void modeZeroPageX() {
    effAddr = (operandAt(1) + X) & 0xFF;
    stepPast(2);
}
void modeZeroPageY() {
    effAddr = (operandAt(1) + Y) & 0xFF;
    stepPast(2);
}
void modeAbsolute() {
    effAddr = operandWord();
    stepPast(3);
}
void modeAbsoluteX() {
    effAddr = operandWord() + X;
    stepPast(3);
}
void modeAbsoluteY() {
    effAddr = operandWord() + Y;
    stepPast(3);
}
void modeRelative() {
    const std::uint8_t d = operandAt(1);
    effAddr = d < 0x80 ? d : d - 0x100;
    stepPast(2);
}
// The zero-page pointer's high byte comes from operandByte + 1 in 16 bits:
// a pointer at $FF takes it from $0100.
void modeIndexedIndirect() {
    operandByte = (operandAt(1) + X) & 0xFF;
    effAddr = M(operandByte) | M(operandByte + 1) << 8;
    stepPast(2);
}
void modeIndirectIndexed() {
    operandByte = operandAt(1);
    effAddr = (M(operandByte) | M(operandByte + 1) << 8) + Y;
    stepPast(2);
}
void modeZeroPageIndirect() {
    operandByte = operandAt(1);
    effAddr = M(operandByte) | M(operandByte + 1) << 8;
    stepPast(2);
}
// JMP ($xxFF) takes the high byte from $xx00, as the NMOS 6502 does.
void modeAbsoluteIndirect() {
    pointerWord = operandWord();
    effAddr = M(pointerWord) | M((pointerWord & 0xFF00) | ((pointerWord + 1) & 0xFF)) << 8;
    stepPast(3);
}
// Its only user, JMP, replaces PC, so this mode leaves PC alone.
void modeAbsoluteIndexedIndirect() {
    pointerWord = operandWord() + X;
    effAddr = wordAt(pointerWord);
}

// Loads, transfers, logic.

template <CpuHandler mode> void opLDA() { setNZ(A = operand<mode>()); }
template <CpuHandler mode> void opLDX() { setNZ(X = operand<mode>()); }
template <CpuHandler mode> void opLDY() { setNZ(Y = operand<mode>()); }
template <CpuHandler mode> void opAND() { setNZ(A &= operand<mode>()); }
template <CpuHandler mode> void opORA() { setNZ(A |= operand<mode>()); }
template <CpuHandler mode> void opEOR() { setNZ(A ^= operand<mode>()); }
void opTAX() { setNZ(X = A); }
void opTAY() { setNZ(Y = A); }
void opTXA() { setNZ(A = X); }
void opTYA() { setNZ(A = Y); }
void opTSX() { setNZ(X = S); }
void opTXS() { S = X; }
void opINX() { setNZ(++X); }
void opINY() { setNZ(++Y); }
void opDEX() { setNZ(--X); }
void opDEY() { setNZ(--Y); }
void opINA() { setNZ(++A); }
void opDEA() { setNZ(--A); }

// Stores.

template <CpuHandler mode> void opSTA() {
    mode();
    writeHook(effAddr, A);
}
template <CpuHandler mode> void opSTX() {
    mode();
    writeHook(effAddr, X);
}
template <CpuHandler mode> void opSTY() {
    mode();
    writeHook(effAddr, Y);
}
template <CpuHandler mode> void opSTZ() {
    mode();
    M(effAddr) = 0;
}

// Compare and bit test.

template <CpuHandler mode> void compare(std::uint8_t reg) {
    const unsigned t = reg + 0x100u - operand<mode>();
    operandByte = t & 0xFF;
    P = (P & ~(flagN | flagZ | flagC)) | nzFlags[operandByte] | (t >> 8);
}
template <CpuHandler mode> void opCMP() { compare<mode>(A); }
template <CpuHandler mode> void opCPX() { compare<mode>(X); }
template <CpuHandler mode> void opCPY() { compare<mode>(Y); }

template <CpuHandler mode> void opBIT() {
    operandByte = operand<mode>();
    setFlag(flagZ, (A & operandByte) == 0);
    P = (P & 0x3F) | (operandByte & 0xC0);
}

// Increment and decrement in memory go straight into C64Memory.

template <CpuHandler mode> void opINC() {
    mode();
    setNZ(operandByte = ++M(effAddr));
}
template <CpuHandler mode> void opDEC() {
    mode();
    setNZ(operandByte = --M(effAddr));
}

// Shifts and rotates: the accumulator forms and the memory forms, whose
// result is stored through writeHook.

std::uint8_t shiftLeft(std::uint8_t value) {
    setFlag(flagC, value & 0x80);
    return value << 1;
}
std::uint8_t shiftRight(std::uint8_t value) {
    setFlag(flagC, value & 0x01);
    return value >> 1;
}
std::uint8_t rotateLeft(std::uint8_t value) { return shiftLeft(value) | carryWord; }
std::uint8_t rotateRight(std::uint8_t value) { return shiftRight(value) | (carryWord ? 0x80 : 0); }

template <CpuHandler mode> void shiftMemory(std::uint8_t (*shift)(std::uint8_t)) {
    operandByte = operand<mode>();
    const std::uint8_t result = shift(operandByte);
    writeHook(effAddr, result);
    setNZ(result);
}

void opASLA() { setNZ(A = shiftLeft(A)); }
void opLSRA() { setNZ(A = shiftRight(A)); }
void opROLA() {
    carryWord = P & flagC;
    setNZ(A = rotateLeft(A));
}
void opRORA() {
    carryWord = P & flagC;
    setNZ(A = rotateRight(A));
}
template <CpuHandler mode> void opASL() { shiftMemory<mode>(shiftLeft); }
template <CpuHandler mode> void opLSR() { shiftMemory<mode>(shiftRight); }
template <CpuHandler mode> void opROL() {
    carryWord = P & flagC;
    shiftMemory<mode>(rotateLeft);
}
template <CpuHandler mode> void opROR() {
    carryWord = P & flagC;
    shiftMemory<mode>(rotateRight);
}

// Test-and-set and test-and-reset bits: Z comes from the byte written.

template <CpuHandler mode> void opTSB() {
    mode();
    setFlag(flagZ, (M(effAddr) |= A) == 0);
}
template <CpuHandler mode> void opTRB() {
    mode();
    setFlag(flagZ, (M(effAddr) &= ~A) == 0);
}

// Branches.

void branchIf(bool taken) {
    if (taken) {
        modeRelative();
        PC += effAddr;
    } else {
        stepPast(2);
    }
}
void opBPL() { branchIf(!flag(flagN)); }
void opBMI() { branchIf(flag(flagN)); }
void opBVC() { branchIf(!flag(flagV)); }
void opBVS() { branchIf(flag(flagV)); }
void opBCC() { branchIf(!flag(flagC)); }
void opBCS() { branchIf(flag(flagC)); }
void opBNE() { branchIf(!flag(flagZ)); }
void opBEQ() { branchIf(flag(flagZ)); }
void opBRA() { branchIf(true); }

// Jumps and subroutines.

template <CpuHandler mode> void opJMP() {
    mode();
    PC = effAddr;
}
// JSR pushes the address of its own last byte, high byte first.
void opJSR() {
    const std::uint16_t lastByte = PC + 2;
    writeHook(0x0100 + S--, lastByte >> 8);
    writeHook(0x0100 + S--, lastByte & 0xFF);
    modeAbsolute();
    PC = effAddr;
}
void opRTS() {
    const std::uint8_t low = pull();
    PC = (low | pull() << 8) + 1;
}
// PLP and RTI are the only handlers that replace P. The B bit that every
// instruction starts with is set here at once rather than checked before each
// instruction; a run that ends on the pull gets the pulled value back.
std::uint8_t pulledStatus;
void pullStatus() {
    pulledStatus = pull() | 0x20;
    P = pulledStatus | 0x10;
}
constexpr std::uint8_t opcodePLP = 0x28;
constexpr std::uint8_t opcodeRTI = 0x40;

void opRTI() {
    pullStatus();
    const std::uint8_t low = pull();
    PC = low | pull() << 8;
}

// Stack.

void opPHA() { push(A); }
void opPHX() { push(X); }
void opPHY() { push(Y); }
void opPHP() { push(P); }
void opPLA() { setNZ(A = pull()); }
void opPLX() { setNZ(X = pull()); }
void opPLY() { setNZ(Y = pull()); }
void opPLP() { pullStatus(); }

// Flags. I has no effect: there are no interrupts.

void opCLC() { P &= ~flagC; }
void opCLD() { P &= ~flagD; }
void opCLI() { P &= ~flagI; }
void opCLV() { P &= ~flagV; }
void opSEC() { P |= flagC; }
void opSED() { P |= flagD; }
void opSEI() { P |= flagI; }

// No-operation, and BRK as the halt that ends a run.

void opNOP() {}
void opBRK() { cpuHalted = true; }

// Arithmetic. In decimal mode ADC's Z and V describe the binary sum, N the sum
// before the high-digit correction and C the corrected sum; SBC's flags always
// describe the binary difference.

template <CpuHandler mode> void opADC() {
    operandByte = operand<mode>();
    carryWord = P & flagC;
    resultWord = A + operandByte + carryWord;
    const std::uint8_t binary = resultWord & 0xFF;
    const std::uint8_t overflow = (~(A ^ operandByte) & (A ^ binary) & 0x80) >> 1;
    if (!flag(flagD)) {
        P = (P & ~(flagN | flagV | flagZ | flagC)) | nzFlags[binary] | overflow | (resultWord >> 8);
    } else {
        P = (P & ~(flagV | flagZ)) | overflow | (nzFlags[binary] & flagZ);
        unsigned lo = (A & 0x0F) + (operandByte & 0x0F) + (P & flagC);
        if (lo > 9) lo += 6;
        resultWord = (lo & 0x0F) + (A & 0xF0) + (operandByte & 0xF0) + (lo > 14 ? 0x10 : 0);
        setFlag(flagN, resultWord & 0x80);
        if ((resultWord & 0x1F0) > 0x90) resultWord += 0x60;
        setFlag(flagC, (resultWord & 0xFF0) > 0xF0);
    }
    A = resultWord & 0xFF;
}

template <CpuHandler mode> void opSBC() {
    operandByte = operand<mode>();
    const unsigned borrow = 1 - (P & flagC);
    resultWord = A - operandByte - borrow;
    setFlag(flagV, (A ^ resultWord) & (A ^ operandByte) & 0x80);
    if (flag(flagD)) {
        pointerWord = (A & 0x0F) - (operandByte & 0x0F) - borrow;
        if (pointerWord & 0x10) {
            pointerWord = ((pointerWord - 6) & 0x0F) | ((A & 0xF0) - (operandByte & 0xF0) - 0x10);
        } else {
            pointerWord = (pointerWord & 0x0F) | ((A & 0xF0) - (operandByte & 0xF0));
        }
        if (pointerWord & 0x100) pointerWord -= 0x60;
        A = pointerWord & 0xFF;
    } else {
        A = resultWord & 0xFF;
    }
    setFlag(flagN, resultWord & 0x80);
    setFlag(flagZ, (resultWord & 0xFF) == 0);
    setFlag(flagC, resultWord < 0x100);
}

// The opcode map: the documented NMOS 6502 set at its published places, then
// the 65C02 additions. Every opcode not listed is a one-byte no-operation.

struct OpcodeEntry {
    std::uint8_t opcode;
    CpuHandler op;
    CpuHandler mode;
};

// An instruction without operand is one byte long.
template <CpuHandler operation> void oneByte() {
    stepPast(1);
    operation();
}

constexpr CpuHandler imp = modeImplied;
constexpr CpuHandler imm = modeImmediate;
constexpr CpuHandler zp = modeZeroPage;
constexpr CpuHandler zpx = modeZeroPageX;
constexpr CpuHandler zpy = modeZeroPageY;
constexpr CpuHandler abs_ = modeAbsolute;
constexpr CpuHandler abx = modeAbsoluteX;
constexpr CpuHandler aby = modeAbsoluteY;
constexpr CpuHandler rel = modeRelative;
constexpr CpuHandler izx = modeIndexedIndirect;
constexpr CpuHandler izy = modeIndirectIndexed;
constexpr CpuHandler izp = modeZeroPageIndirect;
constexpr CpuHandler ind = modeAbsoluteIndirect;
constexpr CpuHandler iax = modeAbsoluteIndexedIndirect;

// clang-format off
constexpr OpcodeEntry nmosOpcodes[] = {
    {0x69, opADC<imm>, imm}, {0x65, opADC<zp>, zp}, {0x75, opADC<zpx>, zpx}, {0x6D, opADC<abs_>, abs_},
    {0x7D, opADC<abx>, abx}, {0x79, opADC<aby>, aby}, {0x61, opADC<izx>, izx}, {0x71, opADC<izy>, izy},
    {0x29, opAND<imm>, imm}, {0x25, opAND<zp>, zp}, {0x35, opAND<zpx>, zpx}, {0x2D, opAND<abs_>, abs_},
    {0x3D, opAND<abx>, abx}, {0x39, opAND<aby>, aby}, {0x21, opAND<izx>, izx}, {0x31, opAND<izy>, izy},
    {0x0A, oneByte<opASLA>, imp}, {0x06, opASL<zp>, zp}, {0x16, opASL<zpx>, zpx}, {0x0E, opASL<abs_>, abs_},
    {0x1E, opASL<abx>, abx},
    {0x90, opBCC, rel}, {0xB0, opBCS, rel}, {0xF0, opBEQ, rel}, {0x30, opBMI, rel},
    {0xD0, opBNE, rel}, {0x10, opBPL, rel}, {0x50, opBVC, rel}, {0x70, opBVS, rel},
    {0x24, opBIT<zp>, zp}, {0x2C, opBIT<abs_>, abs_},
    {0x00, oneByte<opBRK>, imp},
    {0x18, oneByte<opCLC>, imp}, {0xD8, oneByte<opCLD>, imp}, {0x58, oneByte<opCLI>, imp}, {0xB8, oneByte<opCLV>, imp},
    {0xC9, opCMP<imm>, imm}, {0xC5, opCMP<zp>, zp}, {0xD5, opCMP<zpx>, zpx}, {0xCD, opCMP<abs_>, abs_},
    {0xDD, opCMP<abx>, abx}, {0xD9, opCMP<aby>, aby}, {0xC1, opCMP<izx>, izx}, {0xD1, opCMP<izy>, izy},
    {0xE0, opCPX<imm>, imm}, {0xE4, opCPX<zp>, zp}, {0xEC, opCPX<abs_>, abs_},
    {0xC0, opCPY<imm>, imm}, {0xC4, opCPY<zp>, zp}, {0xCC, opCPY<abs_>, abs_},
    {0xC6, opDEC<zp>, zp}, {0xD6, opDEC<zpx>, zpx}, {0xCE, opDEC<abs_>, abs_}, {0xDE, opDEC<abx>, abx},
    {0xCA, oneByte<opDEX>, imp}, {0x88, oneByte<opDEY>, imp},
    {0x49, opEOR<imm>, imm}, {0x45, opEOR<zp>, zp}, {0x55, opEOR<zpx>, zpx}, {0x4D, opEOR<abs_>, abs_},
    {0x5D, opEOR<abx>, abx}, {0x59, opEOR<aby>, aby}, {0x41, opEOR<izx>, izx}, {0x51, opEOR<izy>, izy},
    {0xE6, opINC<zp>, zp}, {0xF6, opINC<zpx>, zpx}, {0xEE, opINC<abs_>, abs_}, {0xFE, opINC<abx>, abx},
    {0xE8, oneByte<opINX>, imp}, {0xC8, oneByte<opINY>, imp},
    {0x4C, opJMP<abs_>, abs_}, {0x6C, opJMP<ind>, ind},
    {0x20, opJSR, abs_},
    {0xA9, opLDA<imm>, imm}, {0xA5, opLDA<zp>, zp}, {0xB5, opLDA<zpx>, zpx}, {0xAD, opLDA<abs_>, abs_},
    {0xBD, opLDA<abx>, abx}, {0xB9, opLDA<aby>, aby}, {0xA1, opLDA<izx>, izx}, {0xB1, opLDA<izy>, izy},
    {0xA2, opLDX<imm>, imm}, {0xA6, opLDX<zp>, zp}, {0xB6, opLDX<zpy>, zpy}, {0xAE, opLDX<abs_>, abs_},
    {0xBE, opLDX<aby>, aby},
    {0xA0, opLDY<imm>, imm}, {0xA4, opLDY<zp>, zp}, {0xB4, opLDY<zpx>, zpx}, {0xAC, opLDY<abs_>, abs_},
    {0xBC, opLDY<abx>, abx},
    {0x4A, oneByte<opLSRA>, imp}, {0x46, opLSR<zp>, zp}, {0x56, opLSR<zpx>, zpx}, {0x4E, opLSR<abs_>, abs_},
    {0x5E, opLSR<abx>, abx},
    {0xEA, oneByte<opNOP>, imp},
    {0x09, opORA<imm>, imm}, {0x05, opORA<zp>, zp}, {0x15, opORA<zpx>, zpx}, {0x0D, opORA<abs_>, abs_},
    {0x1D, opORA<abx>, abx}, {0x19, opORA<aby>, aby}, {0x01, opORA<izx>, izx}, {0x11, opORA<izy>, izy},
    {0x48, oneByte<opPHA>, imp}, {0x08, oneByte<opPHP>, imp}, {0x68, oneByte<opPLA>, imp}, {0x28, oneByte<opPLP>, imp},
    {0x2A, oneByte<opROLA>, imp}, {0x26, opROL<zp>, zp}, {0x36, opROL<zpx>, zpx}, {0x2E, opROL<abs_>, abs_},
    {0x3E, opROL<abx>, abx},
    {0x6A, oneByte<opRORA>, imp}, {0x66, opROR<zp>, zp}, {0x76, opROR<zpx>, zpx}, {0x6E, opROR<abs_>, abs_},
    {0x7E, opROR<abx>, abx},
    {0x40, oneByte<opRTI>, imp}, {0x60, oneByte<opRTS>, imp},
    {0xE9, opSBC<imm>, imm}, {0xE5, opSBC<zp>, zp}, {0xF5, opSBC<zpx>, zpx}, {0xED, opSBC<abs_>, abs_},
    {0xFD, opSBC<abx>, abx}, {0xF9, opSBC<aby>, aby}, {0xE1, opSBC<izx>, izx}, {0xF1, opSBC<izy>, izy},
    {0x38, oneByte<opSEC>, imp}, {0xF8, oneByte<opSED>, imp}, {0x78, oneByte<opSEI>, imp},
    {0x85, opSTA<zp>, zp}, {0x95, opSTA<zpx>, zpx}, {0x8D, opSTA<abs_>, abs_}, {0x9D, opSTA<abx>, abx},
    {0x99, opSTA<aby>, aby}, {0x81, opSTA<izx>, izx}, {0x91, opSTA<izy>, izy},
    {0x86, opSTX<zp>, zp}, {0x96, opSTX<zpy>, zpy}, {0x8E, opSTX<abs_>, abs_},
    {0x84, opSTY<zp>, zp}, {0x94, opSTY<zpx>, zpx}, {0x8C, opSTY<abs_>, abs_},
    {0xAA, oneByte<opTAX>, imp}, {0xA8, oneByte<opTAY>, imp}, {0xBA, oneByte<opTSX>, imp}, {0x8A, oneByte<opTXA>, imp},
    {0x9A, oneByte<opTXS>, imp}, {0x98, oneByte<opTYA>, imp},
};

constexpr OpcodeEntry cmosOpcodes[] = {
    {0x04, opTSB<zp>, zp},  {0x0C, opTSB<abs_>, abs_}, {0x12, opORA<izp>, izp}, {0x14, opTRB<zp>, zp},
    {0x1A, oneByte<opINA>, imp}, {0x1C, opTRB<abs_>, abs_}, {0x32, opAND<izp>, izp}, {0x34, opBIT<zpx>, zpx},
    {0x3A, oneByte<opDEA>, imp}, {0x3C, opBIT<abx>, abx},  {0x52, opEOR<izp>, izp}, {0x5A, oneByte<opPHY>, imp},
    {0x64, opSTZ<zp>, zp},  {0x72, opADC<izp>, izp},  {0x74, opSTZ<zpx>, zpx}, {0x7A, oneByte<opPLY>, imp},
    {0x7C, opJMP<iax>, iax}, {0x80, opBRA, rel},  {0x89, opBIT<imm>, imm}, {0x92, opSTA<izp>, izp},
    {0x9C, opSTZ<abs_>, abs_}, {0x9E, opSTZ<abx>, abx}, {0xB2, opLDA<izp>, izp}, {0xD2, opCMP<izp>, izp},
    {0xDA, oneByte<opPHX>, imp}, {0xF2, opSBC<izp>, izp},  {0xFA, oneByte<opPLX>, imp},
};
// clang-format on

static_assert(std::size(nmosOpcodes) == 151);
static_assert(std::size(cmosOpcodes) == 27);

struct OpcodeMap {
    std::array<CpuHandler, 256> op;
    std::array<CpuHandler, 256> mode;
};

constexpr OpcodeMap buildOpcodeMap() {
    OpcodeMap map{};
    std::array<bool, 256> listed{};
    auto place = [&](const OpcodeEntry& entry) {
        if (listed[entry.opcode]) throw "opcode listed twice";
        listed[entry.opcode] = true;
        map.op[entry.opcode] = entry.op;
        map.mode[entry.opcode] = entry.mode;
    };
    for (const auto& entry : nmosOpcodes) place(entry);
    for (const auto& entry : cmosOpcodes) place(entry);
    for (std::size_t code = 0; code < 256; ++code) {
        if (!listed[code]) place({static_cast<std::uint8_t>(code), oneByte<opNOP>, imp});
    }
    return map;
}

constexpr OpcodeMap opcodeMap = buildOpcodeMap();

} // namespace

void cpuBuildTables() {
    for (std::size_t code = 0; code < 256; ++code) {
        opHandlers[code] = opcodeMap.op[code];
        modeHandlers[code] = opcodeMap.mode[code];
    }
}

void cpuReset() {
    A = 0;
    X = 0;
    Y = 0;
    P = 0x20;
    S = 0xFF;
    PC = wordAt(0xFFFC);
}

namespace {

// One instruction of a run; false once the run is over.
[[gnu::always_inline]] inline bool runInstruction(std::int32_t& budget, bool& result) {
    opcode = M(PC);
    opHandlers[opcode]();
    if (--budget == 0) {
        cpuHalted = true;
        result = false;
        if (opcode == opcodePLP || opcode == opcodeRTI) P = pulledStatus;
    }
    return !cpuHalted;
}

} // namespace

bool cpuRun(std::int32_t budget) {
    // A budget below 1 is spent after one instruction rather than never.
    if (budget < 1) budget = 1;
    if (cpuHalted) return true;
    bool result = true;
    // Bits 4 and 5 are set before every instruction. Within a run only PLP
    // and RTI replace P, and they keep both set, so one store here does for
    // the whole run.
    P |= 0x30;
    // Four calls through opHandlers in turn rather than one: the host's
    // branch predictor then sees each handler's target at one of four
    // places, which tells apart instruction sequences that one place mixes.
    while (runInstruction(budget, result) && runInstruction(budget, result) &&
           runInstruction(budget, result) && runInstruction(budget, result)) {}
    return result;
}
