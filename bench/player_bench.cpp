#include "bench_setup.h"

#include "app/player.h"
#include "app/song.h"
#include "audio/audio_stream.h"
#include "cpu/c64_io.h"
#include "cpu/cpu.h"
#include "screen/console.h"
#include "sidopl/opl_port.h"
#include "sidopl/sid_image.h"
#include "sidopl/voice_translation.h"
#include "sidopl/ymf262.h"
#include "tune/tune_loader.h"

#include <benchmark/benchmark.h>

namespace {

// One tick of the demo tune as the audio thread runs it: the play routine,
// its stores through the bridge, and the whole SID image applied again.
void BM_DemoTick(benchmark::State& state) {
    consoleOpen();
    consoleSetMode(80, 50, true);
    writeHook = c64WriteHook;
    startChip();
    cpuBuildTables();
    tuneFileName = DEMO_TUNE;
    if (!initSong(state.range(0))) {
        state.SkipWithError("the demo tune did not start");
        return;
    }
    for (auto _ : state) playTick();
    pauseAudio();
    YMF262Shutdown();
}
BENCHMARK(BM_DemoTick)->DenseRange(1, 3)->Unit(benchmark::kMicrosecond);

} // namespace
