#include "tune/tune_file.h"

#include "cpu/cpu.h"
#include "screen/text_screen.h"
#include "tune/tune_loader.h"

#include <cstdint>
#include <string>

TuneFile openTuneFile(std::string_view name) {
    const std::string path(name);
    return TuneFile(std::fopen(path.c_str(), "rb"));
}

bool readExactly(std::FILE* file, void* target, std::size_t count) {
    return std::fread(target, 1, count, file) == count;
}

bool reportFileProblem(std::string_view problem, std::string_view name) {
    std::string text(problem);
    text += ": ";
    text += name;
    showMessage(text, true);
    return false;
}

bool loadTuneData(std::FILE* file, std::string_view name) {
    if (TuneInfo.loadAddress == 0) {
        std::uint8_t word[2];
        if (!readExactly(file, word, sizeof word)) {
            return reportFileProblem(std::ferror(file) ? "Read Error" : "Missing Load Address",
                                     name);
        }
        TuneInfo.loadAddress = static_cast<std::uint16_t>(word[0] | word[1] << 8);
    }
    const std::size_t room = C64Memory.size() - TuneInfo.loadAddress;
    std::fread(&C64Memory[TuneInfo.loadAddress], 1, room, file);
    if (std::ferror(file)) { return reportFileProblem("Read Error", name); }
    return true;
}

void storeText(std::array<char, tuneTextSize>& field, std::string_view text) {
    text = text.substr(0, field.size() - 1);
    field.fill(0);
    text.copy(field.data(), text.size());
}
