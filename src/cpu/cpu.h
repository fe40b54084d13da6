// The 6502 that runs a tune's own init and play routines over the 64 KiB of
// C64 memory. There is one CPU; all of its state below is shared by the
// instruction handlers and read and written directly by its callers.
#pragma once

#include <array>
#include <cstdint>

// The registers carry their 6502 names. They live in a namespace because a
// bare global named PC would collide with the terminal library's own PC.
namespace cpu {
extern std::uint16_t PC;
extern std::uint8_t A;
extern std::uint8_t X;
extern std::uint8_t Y;
extern std::uint8_t P; // N V 1 B D I Z C, bit 7 to bit 0
extern std::uint8_t S; // the stack slot is C64Memory[0x0100 + S]
} // namespace cpu

using CpuWriteHook = void (*)(std::uint16_t address, std::uint8_t value);
using CpuHandler = void (*)();

// STA, STX, STY, the memory shifts and rotates and JSR's two pushes store
// through this hook; every other store goes straight into C64Memory. Until a
// hook is installed it stores into C64Memory.
extern CpuWriteHook writeHook;

extern std::array<std::uint8_t, 0x10000> C64Memory;

// Set by BRK or an exhausted budget; the run loop stops before the next
// instruction. Callers clear it before each run.
extern bool cpuHalted;

extern std::array<CpuHandler, 256> modeHandlers;
extern std::array<CpuHandler, 256> opHandlers;

// Scratch state the handlers share.
extern std::uint16_t effAddr;
extern std::uint8_t operandByte;
extern std::uint16_t carryWord;
extern std::uint16_t resultWord;
extern std::uint16_t pointerWord;
extern std::uint8_t opcode;

// Fills both dispatch tables from the opcode map.
void cpuBuildTables();

// A = X = Y = 0, P = $20, S = $FF, PC from the vector at $FFFC.
void cpuReset();

// Runs until BRK (true) or until `budget` instructions have run (false).
bool cpuRun(std::int32_t budget);
