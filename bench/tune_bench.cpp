// One song start's share of the loader: a PSID file, and an info-file pair
// named by its ".dat" name with lower-case extensions, so that both partners
// are found by searching the directory. Each tune carries 8 KiB of data.
#include "tune/tune_loader.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::string& benchDirectory() {
    static const std::string directory = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quavix_bench_XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        return pattern + "/";
    }();
    return directory;
}

// Benchmark runs call a benchmark several times; each call writes its files
// afresh and removes the directory at its end.
void writeFile(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(benchDirectory());
    std::ofstream(benchDirectory() + name, std::ios::binary) << bytes;
}

std::string tuneData() { return std::string(0x2000, '\xEA'); }

void load(benchmark::State& state, const std::string& name) {
    for (auto _ : state) {
        tuneFileName = benchDirectory() + name;
        if (!loadTune()) {
            state.SkipWithError("the tune did not load");
            break;
        }
        benchmark::DoNotOptimize(TuneInfo);
    }
}

void BM_LoadPsid(benchmark::State& state) {
    std::string header(0x76, '\0');
    header.replace(0, 4, "PSID");
    header[7] = 0x76;
    header[8] = 0x10; // load $1000
    header[15] = 1;   // one song
    header.replace(22, 5, "Bench");
    writeFile("tune.sid", header + tuneData());
    load(state, "tune.sid");
    std::filesystem::remove_all(benchDirectory());
}
BENCHMARK(BM_LoadPsid);

void BM_LoadInfoPair(benchmark::State& state) {
    writeFile("pair.sid", "SIDPLAY INFOFILE\r\nADDRESS=1000,1000,1003\r\nSONGS=3,1\r\n"
                          "SPEED=0\r\nNAME=Bench\r\nAUTHOR=Quavix\r\nCOPYRIGHT=2026\r\n");
    writeFile("pair.dat", tuneData());
    load(state, "pair.dat");
    std::filesystem::remove_all(benchDirectory());
}
BENCHMARK(BM_LoadInfoPair);

} // namespace
