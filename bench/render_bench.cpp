#include "render/render.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

// /dev/null as OUT: the whole path through libsndfile, without the disk.
RenderOptions demoOptions(int song, double seconds) {
    RenderOptions options;
    options.tune = DEMO_TUNE;
    options.out = "/dev/null";
    options.format = SoundFormat::wav;
    options.song = static_cast<std::uint8_t>(song);
    options.seconds = seconds;
    return options;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

// Each song of the demo, 60 seconds: "times_real_time" is seconds of sound
// per second of CPU time.
void BM_RenderDemo(benchmark::State& state) {
    const RenderOptions options = demoOptions(static_cast<int>(state.range(0)), 60);
    for (auto _ : state) {
        if (renderTune(options).exitCode != exitRendered) {
            state.SkipWithError("the demo did not render");
            return;
        }
    }
    state.counters["times_real_time"] = benchmark::Counter(
        options.seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderDemo)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// The peak memory after one minute and after one hour of rendering: a render
// streams its file, so the hour needs no more than the minute.
void BM_RenderOneHourMemory(benchmark::State& state) {
    double afterMinute = 0;
    double afterHour = 0;
    for (auto _ : state) {
        renderTune(demoOptions(1, 60));
        afterMinute = peakMegabytes();
        renderTune(demoOptions(1, 3600));
        afterHour = peakMegabytes();
    }
    state.counters["peak_MB_after_1min"] = afterMinute;
    state.counters["peak_MB_after_1h"] = afterHour;
}
BENCHMARK(BM_RenderOneHourMemory)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
