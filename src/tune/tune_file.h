// What the PSID reader and the info-file reader share: files that close
// themselves, exact reads, the message for a file that cannot be read and
// the loading of the tune's bytes. Only the tune module includes this.
#pragma once

#include "tune/tune_loader.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string_view>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TuneFile = std::unique_ptr<std::FILE, FileCloser>;

// Empty when the file cannot be opened for reading.
TuneFile openTuneFile(std::string_view name);

// False when the file ends or fails before `count` bytes.
bool readExactly(std::FILE* file, void* target, std::size_t count);

// Shows "<problem>: <name>" and waits for a key. Returns false, which the
// reader passes on. The problem comes first so that the message box's cut of
// long texts takes from the name, not from what went wrong.
bool reportFileProblem(std::string_view problem, std::string_view name);

// Loads the rest of the file into C64Memory from TuneInfo.loadAddress on;
// when that is 0, the first two bytes give it, low byte first. Bytes that
// would pass $FFFF are dropped. False, after a message, when the load
// address bytes are missing or a read fails.
bool loadTuneData(std::FILE* file, std::string_view name);

// Stores the first 255 bytes of `text` and fills the rest of the field with
// zero bytes.
void storeText(std::array<char, tuneTextSize>& field, std::string_view text);
