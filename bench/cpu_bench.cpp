#include "bench_setup.h"

#include "cpu/cpu.h"

#include <benchmark/benchmark.h>

namespace {

// The player's hook does about this much for a store: a range check and the
// memory write.
std::uint8_t sidWrites;
void hook(std::uint16_t address, std::uint8_t value) {
    if ((address & 0xFF00) == 0xD400) ++sidWrites;
    C64Memory[address] = value;
}

void BM_CpuRunMixedLoop(benchmark::State& state) {
    loadProgram(MIXED_LOOP_PROGRAM, 0x1000);
    cpuBuildTables();
    writeHook = hook;
    constexpr std::int32_t budget = 1 << 20;
    for (auto _ : state) {
        cpuReset();
        cpu::PC = 0x1000;
        cpuHalted = false;
        benchmark::DoNotOptimize(cpuRun(budget));
    }
    benchmark::DoNotOptimize(sidWrites);
    state.SetItemsProcessed(state.iterations() * budget);
    state.SetLabel("items = 6502 instructions");
}
BENCHMARK(BM_CpuRunMixedLoop)->Unit(benchmark::kMillisecond);

} // namespace
