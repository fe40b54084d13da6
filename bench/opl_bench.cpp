// The real OPL3 layer's cost: rendering with six channels playing (SID's
// three voices, each on its channel pair, as during playback) against the
// 48000 frames per second of real time, and the cost of one mirrored write.
#include "sidopl/opl_port.h"
#include "sidopl/ymf262.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

constexpr int rate = 48000;

void startChip() {
    oplChip = YMF262Init(1, 14400000, rate);
    YMF262ResetChip(oplChip);
    oplClear();
}

// Voices 0-2 on channels 0-5: a two-operator FM tone each, written through
// the mirrored port as the voice translation writes them.
void keySixChannels() {
    const int fnums[3] = {580, 659, 516};
    const int blocks[3] = {4, 5, 3};
    for (int v = 0; v < 3; ++v) {
        auto reg = [v](int base) { return static_cast<std::uint8_t>(base + v); };
        oplWriteMirrored(reg(0x20), 0x21);
        oplWriteMirrored(reg(0x23), 0x21);
        oplWriteMirrored(reg(0x40), 0x18);
        oplWriteMirrored(reg(0x43), 0x00);
        oplWriteMirrored(reg(0x60), 0xF4);
        oplWriteMirrored(reg(0x63), 0xF4);
        oplWriteMirrored(reg(0x80), 0x28);
        oplWriteMirrored(reg(0x83), 0x28);
        oplWriteMirrored(reg(0xE0), 0x01);
        oplWriteMirrored(reg(0xE3), 0x00);
        oplWriteMirrored(reg(0xC0), 0x06); // FM, feedback 3
        oplWriteMirrored(reg(0xA0), static_cast<std::uint8_t>(fnums[v] & 0xFF));
        oplWriteMirrored(reg(0xB0),
                         static_cast<std::uint8_t>(0x20 | blocks[v] << 2 | fnums[v] >> 8));
    }
}

void setFrameCounters(benchmark::State& state, double frames) {
    state.counters["frames_per_s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["x_realtime"] = benchmark::Counter(frames / rate, benchmark::Counter::kIsRate);
}

// One YMF262UpdateOne call of one frame, as the audio callback makes them;
// argument 1 with six channels playing, 0 with every key off for comparison.
void BM_UpdateOne(benchmark::State& state) {
    startChip();
    if (state.range(0) != 0) keySixChannels();
    std::int16_t frame[2];
    for (auto _ : state) {
        YMF262UpdateOne(oplChip, frame, 1);
        benchmark::DoNotOptimize(frame);
    }
    setFrameCounters(state, static_cast<double>(state.iterations()));
    YMF262Shutdown();
}
BENCHMARK(BM_UpdateOne)->ArgName("playing")->Arg(1)->Arg(0);

// A whole audio buffer with six channels playing: 4096 single-frame calls
// (85 ms of sound).
void BM_UpdateOneBuffer(benchmark::State& state) {
    startChip();
    keySixChannels();
    static std::int16_t buffer[4096][2];
    for (auto _ : state) {
        for (auto& frame : buffer) YMF262UpdateOne(oplChip, frame, 1);
        benchmark::DoNotOptimize(buffer);
    }
    setFrameCounters(state, static_cast<double>(state.iterations()) * 4096);
    YMF262Shutdown();
}
BENCHMARK(BM_UpdateOneBuffer)->Unit(benchmark::kMicrosecond);

// One oplWriteMirrored into the real chip (two register writes, four port
// accesses), cycling over a voice's F-number, key-on, level and connection
// registers.
void BM_WriteMirrored(benchmark::State& state) {
    startChip();
    keySixChannels();
    const std::uint8_t regs[4] = {0xA0, 0xB0, 0x40, 0xC0};
    const std::uint8_t values[4] = {0x44, 0x32, 0x18, 0x06};
    unsigned i = 0;
    for (auto _ : state) {
        oplWriteMirrored(regs[i & 3], values[i & 3]);
        ++i;
    }
    state.counters["writes_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    YMF262Shutdown();
}
BENCHMARK(BM_WriteMirrored);

} // namespace
