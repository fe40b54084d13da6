#include "bench_setup.h"

#include "sidopl/opl_port.h"
#include "sidopl/sid_image.h"
#include "sidopl/voice_translation.h"
#include "sidopl/ymf262.h"

#include <benchmark/benchmark.h>

namespace {

// Every voice playing: pulse, sawtooth and noise with pitches and envelopes.
void fillImage() {
    const std::uint8_t voices[3][7] = {
        {0x45, 0x1D, 0x00, 0x08, 0x41, 0x09, 0xA5},
        {0x10, 0x0C, 0x00, 0x00, 0x21, 0x22, 0xF4},
        {0x00, 0x30, 0x00, 0x00, 0x81, 0x00, 0x80},
    };
    for (int v = 0; v < 3; ++v) {
        for (int n = 0; n < 7; ++n) sidWrite(7 * v + n, voices[v][n]);
    }
}

void BM_SidApplyAll(benchmark::State& state) {
    startChip();
    fillImage();
    for (auto _ : state) sidApplyAll();
    YMF262Shutdown();
}
BENCHMARK(BM_SidApplyAll);

// The costliest single store: a preset change with the test bit set.
void BM_WorstCaseControlStore(benchmark::State& state) {
    startChip();
    fillImage();
    bool pulse = false;
    for (auto _ : state) {
        sidWrite(4, pulse ? 0x49 : 0x29);
        pulse = !pulse;
    }
    YMF262Shutdown();
}
BENCHMARK(BM_WorstCaseControlStore);

} // namespace
