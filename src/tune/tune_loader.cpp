#include "tune/tune_loader.h"

#include "cpu/cpu.h"
#include "screen/text_screen.h"
#include "tune/file_names.h"
#include "tune/info_file.h"
#include "tune/tune_file.h"

#include <dirent.h>
#include <sys/stat.h>

#include <string_view>
#include <utility>

TuneHeader TuneInfo{};
std::string tuneFileName;

namespace {

// The PSID header fields the loader reads; everything is big-endian.
constexpr long psidDataOffsetLowByte = 7;
constexpr long psidWords = 8; // load, init and play address, songs, start song
constexpr long psidSpeedLowByte = 21;
constexpr long psidTexts = 22; // name, author, copyright
constexpr std::size_t psidTextLength = 32;

std::string cutFileName(std::string name) {
    if (name.size() > maxFileNameLength) name.resize(maxFileNameLength);
    return name;
}

// `stem` + `extension`, or, when no file has that name, the sibling whose
// name differs only in the letter case of the extension: tune.dat and
// TUNE.DAT both partner tune.SID. Without either the built name is given, so
// that a message names what was looked for.
std::string findPartner(const std::string& stem, std::string_view extension) {
    const std::string built = cutFileName(stem + std::string(extension));
    if (fileExists(built) || built.size() != stem.size() + extension.size()) return built;

    const std::size_t slash = built.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : built.substr(0, slash + 1);
    const std::string_view entryStem =
        std::string_view(stem).substr(directory.size(), stem.size() - directory.size());
    DIR* listing = opendir(directory.empty() ? "." : directory.c_str());
    if (listing == nullptr) return built;
    std::string found;
    while (const dirent* entry = readdir(listing)) {
        const std::string_view entryName = entry->d_name;
        if (entryName.size() == entryStem.size() + extension.size() &&
            entryName.starts_with(entryStem) &&
            upperCase(entryName.substr(entryStem.size())) == extension &&
            (found.empty() || directory + std::string(entryName) < found) &&
            fileExists(directory + std::string(entryName))) {
            found = directory + std::string(entryName);
        }
    }
    closedir(listing);
    return found.empty() ? built : found;
}

bool headerProblem(std::FILE* file) {
    return reportFileProblem(std::ferror(file) ? "Read Error" : "Truncated PSID Header",
                             tuneFileName);
}

bool readAt(std::FILE* file, long offset, void* target, std::size_t count) {
    return std::fseek(file, offset, SEEK_SET) == 0 && readExactly(file, target, count);
}

bool readPsidFile() {
    const TuneFile file = openTuneFile(tuneFileName);
    if (!file) return reportFileProblem("Read Error", tuneFileName);

    std::uint8_t dataOffset = 0;
    if (!readAt(file.get(), psidDataOffsetLowByte, &dataOffset, 1))
        return headerProblem(file.get());

    if (std::fseek(file.get(), psidWords, SEEK_SET) != 0) return headerProblem(file.get());
    for (std::uint16_t* field : {&TuneInfo.loadAddress, &TuneInfo.initAddress,
                                 &TuneInfo.playAddress, &TuneInfo.songCount, &TuneInfo.startSong}) {
        std::uint8_t word[2];
        if (!readExactly(file.get(), word, sizeof word)) return headerProblem(file.get());
        *field = static_cast<std::uint16_t>(word[0] << 8 | word[1]);
    }

    std::uint8_t speed = 0;
    if (!readAt(file.get(), psidSpeedLowByte, &speed, 1)) return headerProblem(file.get());
    TuneInfo.vblankSpeed = (speed & 1) == 0 ? 1 : 0;

    if (std::fseek(file.get(), psidTexts, SEEK_SET) != 0) return headerProblem(file.get());
    for (auto* text : {&TuneInfo.name, &TuneInfo.author, &TuneInfo.copyright}) {
        char field[psidTextLength];
        if (!readExactly(file.get(), field, sizeof field)) return headerProblem(file.get());
        const std::string_view bytes(field, sizeof field);
        storeText(*text, bytes.substr(0, bytes.find('\0')));
    }

    struct stat status {};
    if (fstat(fileno(file.get()), &status) != 0 ||
        std::fseek(file.get(), dataOffset, SEEK_SET) != 0)
        return reportFileProblem("Read Error", tuneFileName);
    if (status.st_size < dataOffset) return reportFileProblem("Missing Tune Data", tuneFileName);
    if (!loadTuneData(file.get(), tuneFileName)) return false;
    if (TuneInfo.initAddress == 0) TuneInfo.initAddress = TuneInfo.loadAddress;
    return true;
}

} // namespace

bool loadTune() {
    C64Memory.fill(0);
    tuneFileName = cutFileName(std::move(tuneFileName));
    FileNameParts parts = splitFileName(tuneFileName);
    if (upperCase(parts.extension) == ".DAT") {
        tuneFileName = findPartner(parts.directory + parts.baseName, ".SID");
        parts = splitFileName(tuneFileName);
    }
    if (!fileExists(tuneFileName)) {
        showMessage(tuneFileName + " Not Found", true);
        return false;
    }

    char magic[4];
    {
        const TuneFile file = openTuneFile(tuneFileName);
        if (!file) return reportFileProblem("Read Error", tuneFileName);
        if (!readExactly(file.get(), magic, sizeof magic))
            return reportFileProblem(std::ferror(file.get()) ? "Read Error" : "File Too Short",
                                     tuneFileName);
    }
    const std::string_view magicText(magic, sizeof magic);
    if (magicText == "PSID") return readPsidFile();

    const std::string dataFileName = findPartner(parts.directory + parts.baseName, ".DAT");
    if (fileExists(dataFileName)) return loadInfoFile(tuneFileName, dataFileName);

    showMessage("Unknown SID-Format \"" + std::string(magicText) + "\"", true);
    return false;
}
