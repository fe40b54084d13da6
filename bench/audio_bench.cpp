#include "bench_setup.h"

#include "audio/audio_stream.h"
#include "cpu/c64_io.h"
#include "cpu/cpu.h"
#include "sidopl/opl_port.h"
#include "sidopl/sid_image.h"
#include "sidopl/voice_translation.h"
#include "sidopl/ymf262.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

// What a play tick does: the play routine on the CPU with its stores through
// the C64 hook, then the whole SID image applied again.
void playRoutineTick() {
    cpuHalted = false;
    cpuReset();
    C64Memory[0x01FF] = 0;
    C64Memory[0x01FE] = 0;
    cpu::S = 0xFD;
    cpu::PC = 0x1000;
    cpuRun(0x8000);
    sidApplyAll();
}

void startPlaying() {
    loadProgram(PLAY_ROUTINE_PROGRAM, 0x1000);
    cpuBuildTables();
    writeHook = c64WriteHook;
    startChip();
    sampleCounter = 1;
    tickHandler = playRoutineTick;
    setRateAndUnpause(50);
}

// One device buffer: 4096 frames with their ticks. It has 85 ms of real time.
void BM_AudioCallback(benchmark::State& state) {
    startPlaying();
    std::array<std::uint8_t, framesPerBuffer * 4> stream;
    for (auto _ : state) {
        audioCallback(nullptr, stream.data(), stream.size());
        benchmark::DoNotOptimize(stream.data());
    }
    pauseAudio();
    YMF262Shutdown();
    state.counters["share_of_buffer_time"] =
        benchmark::Counter(double(state.iterations()) * framesPerBuffer / outputRate,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AudioCallback)->Unit(benchmark::kMillisecond);

} // namespace
