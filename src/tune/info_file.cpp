#include "tune/info_file.h"

#include "screen/text_screen.h"
#include "tune/tune_file.h"
#include "tune/tune_loader.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

constexpr std::string_view infoFileHeader = "SIDPLAY INFOFILE";
constexpr int endOfText = 26; // Ctrl-Z
constexpr std::size_t infoLineCount = 7;
constexpr std::size_t maxNumberLength = 255;

// One line without its end (LF, CR or CR LF). The text ends at the end of the
// file or at a Ctrl-Z; every line asked for after that is empty.
std::string readLine(std::FILE* file, bool& ended) {
    std::string line;
    while (!ended) {
        const int c = std::getc(file);
        if (c == EOF || c == endOfText) {
            ended = true;
        } else if (c == '\n') {
            break;
        } else if (c == '\r') {
            const int next = std::getc(file);
            if (next != '\n' && next != EOF) std::ungetc(next, file);
            break;
        } else {
            line += static_cast<char>(c);
        }
    }
    return line;
}

// The text from index `from` up to, not including, index `to`; empty when
// `to` does not lie after `from`.
std::string_view between(std::string_view text, std::size_t from, std::size_t to) {
    to = std::min(to, text.size());
    return from < to ? text.substr(from, to - from) : std::string_view{};
}

// From column `column` (counted from 1) to the end of the line.
std::string_view fromColumn(std::string_view line, std::size_t column) {
    return between(line, column - 1, line.size());
}

// A "$" goes in front, so only hexadecimal digits make a value.
std::uint16_t readHex(std::string_view digits) {
    std::string text(1, '$');
    text.append(digits);
    return readNumber(text);
}

// Load, init and play address, found by the separators alone: the first
// comma ends the load address; it becomes "|", so the next comma ends the
// init address and becomes "#". A comma that is missing ends its field at
// the end of the line, and the addresses after it are 0.
void readAddresses(std::string w) {
    const std::size_t equals = w.find('=');
    const std::size_t loadStart = equals == std::string::npos ? 0 : equals + 1;
    const std::size_t firstComma = w.find(',');
    TuneInfo.loadAddress = readHex(between(w, loadStart, firstComma));
    TuneInfo.initAddress = 0;
    TuneInfo.playAddress = 0;
    if (firstComma == std::string::npos) return;

    w[firstComma] = '|';
    const std::size_t secondComma = w.find(',');
    TuneInfo.initAddress = readHex(between(w, w.find('|') + 1, secondComma));
    if (secondComma == std::string::npos) return;

    w[secondComma] = '#';
    TuneInfo.playAddress = readHex(between(w, w.find('#') + 1, w.size()));
}

void readSongs(std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) {
        TuneInfo.songCount = readNumber(fromColumn(line, 7));
        TuneInfo.startSong = 1;
    } else {
        TuneInfo.songCount = readNumber(between(line, 6, comma));
        TuneInfo.startSong = readNumber(between(line, comma + 1, line.size()));
    }
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::uint16_t readNumber(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.size() > maxNumberLength) return 0;
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos || text[i] == '-') return 0;
    if (text[i] == '+') ++i;

    int base = 10;
    const std::string_view rest = text.substr(i);
    if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
        base = 16;
        i += 1;
    } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16;
        i += 2;
    } else if (rest.starts_with('%')) {
        base = 2;
        i += 1;
    } else if (rest.starts_with('&')) {
        base = 8;
        i += 1;
    }

    // Leading zeros add nothing, so they need no skipping of their own.
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i]);
        if (digit < 0 || digit >= base) return 0;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu) return 0;
    }
    return static_cast<std::uint16_t>(value);
}

bool loadInfoFile(std::string_view infoFileName, std::string_view dataFileName) {
    std::array<std::string, infoLineCount> lines;
    {
        const TuneFile info = openTuneFile(infoFileName);
        if (!info) return reportFileProblem("Read Error", infoFileName);
        bool ended = false;
        for (std::string& line : lines) line = readLine(info.get(), ended);
        if (std::ferror(info.get())) return reportFileProblem("Read Error", infoFileName);
    }
    if (lines[0] != infoFileHeader) {
        showMessage("Unknown SID-DAT-Format", true);
        return false;
    }

    readAddresses(lines[1]);
    readSongs(lines[2]);
    TuneInfo.vblankSpeed = lines[3] == "SPEED=0" ? 1 : 0;
    storeText(TuneInfo.name, fromColumn(lines[4], 6));
    storeText(TuneInfo.author, fromColumn(lines[5], 8));
    storeText(TuneInfo.copyright, fromColumn(lines[6], 11));

    const TuneFile data = openTuneFile(dataFileName);
    if (!data) return reportFileProblem("Read Error", dataFileName);
    return loadTuneData(data.get(), dataFileName);
}
