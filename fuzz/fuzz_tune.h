// What both fuzz targets share: a scratch directory for the files they
// write, a headless console whose message boxes always find a key, and the
// checks every load must pass.
#pragma once

#include "open_files.h"
#include "screen/console.h"
#include "screen/console_headless.h"
#include "tune/tune_loader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

inline const std::string& fuzzDirectory();

inline std::string makeFuzzDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quavix_fuzz_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] { std::filesystem::remove_all(fuzzDirectory()); });
    consoleOpen();
    consoleSetMode(80, 50, true);
    return pattern + "/";
}

inline const std::string& fuzzDirectory() {
    // Never destroyed: the clean-up at exit still needs it.
    static const std::string& directory = *new std::string(makeFuzzDirectory());
    return directory;
}

inline void writeFuzzFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    // A fresh file each time: rewriting a truncated one makes ext4 flush it
    // to the disk on every close.
    const std::string path = fuzzDirectory() + name;
    std::remove(path.c_str());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

// Loads `name` from the scratch directory. A message box takes the queued
// key; a load may take no more than that, must close every file it opened
// and must leave every text zero-terminated.
inline void fuzzLoad(const std::string& name) {
    headless.keys = {13};
    tuneFileName = fuzzDirectory() + name;
    const bool loaded = loadTune();
    if (loaded != !headless.keys.empty() || fileOpenBelow(fuzzDirectory())) std::abort();
    for (const auto* text : {&TuneInfo.name, &TuneInfo.author, &TuneInfo.copyright}) {
        if (std::memchr(text->data(), 0, text->size()) == nullptr) std::abort();
    }
}
