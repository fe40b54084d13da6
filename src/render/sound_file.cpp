// The only file that talks to libsndfile. Files go through its virtual I/O
// onto a descriptor of our own, so that a render can be written under a
// temporary name and Ogg pages can be given a fixed stream serial number:
// libsndfile picks that number from the clock, and two renders of the same
// song must give the same bytes.
#include "render/sound_file.h"

#include "audio/audio_stream.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int channels = 2;
constexpr int bytesPerFrame = 4;

enum class Target { closed, standardOutput, file };

Target target = Target::closed;
int descriptor = -1;
SNDFILE* sound = nullptr;
bool oggPages = false;
std::string finalPath;
std::string temporaryPath;
int writeError = 0;

// The temporary name again, in a buffer a signal handler can read.
std::array<char, PATH_MAX> temporaryPathForSignals;
constexpr std::array<int, 4> interruptions = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
std::array<struct sigaction, interruptions.size()> previousActions;

std::string reason(const std::string& path, int error) {
    return "cannot write " + path + ": " + std::strerror(error);
}

// Our own write's error when there was one, else libsndfile's text.
std::string failure(const std::string& path, const char* libraryText) {
    return writeError ? reason(path, writeError) : "cannot write " + path + ": " + libraryText;
}

bool writeAll(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            writeError = errno;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// OGG PAGES. Each page starts with a 27-byte header: "OggS", version, flags,
// granule position (8), serial number (4, at 14), page number (4), CRC (4,
// at 22) and the segment count, then the segment table whose entries add up
// to the body's length. The CRC covers the whole page with its own field
// zeroed: polynomial 0x04C11DB7, most significant bit first, no reflection,
// initial value and final XOR 0.

constexpr std::uint32_t fixedSerial = 0x51564158; // "QVAX"
constexpr std::size_t pageHeaderSize = 27;

constexpr std::array<std::uint32_t, 256> oggCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t index = 0; index < 256; ++index) {
        std::uint32_t crc = index << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 0x80000000u ? crc << 1 ^ 0x04C11DB7u : crc << 1;
        table[index] = crc;
    }
    return table;
}();

void putLittleEndian32(std::uint8_t* at, std::uint32_t value) {
    for (int byte = 0; byte < 4; ++byte) at[byte] = static_cast<std::uint8_t>(value >> 8 * byte);
}

std::vector<std::uint8_t> pendingPage;

// Writes every complete page in pendingPage with the fixed serial number;
// an incomplete one waits for the rest of its bytes.
bool writeCompletePages() {
    std::size_t start = 0;
    while (pendingPage.size() - start >= pageHeaderSize) {
        std::uint8_t* page = pendingPage.data() + start;
        const std::size_t available = pendingPage.size() - start;
        if (std::memcmp(page, "OggS", 4) != 0) {
            // Not a page: nothing to renumber, so it goes out as it is.
            start = pendingPage.size();
            if (!writeAll(page, available)) return false;
            break;
        }
        const std::size_t segments = page[26];
        if (available < pageHeaderSize + segments) break;
        std::size_t size = pageHeaderSize + segments;
        for (std::size_t segment = 0; segment < segments; ++segment)
            size += page[pageHeaderSize + segment];
        if (available < size) break;
        putLittleEndian32(page + 14, fixedSerial);
        putLittleEndian32(page + 22, 0);
        std::uint32_t crc = 0;
        for (std::size_t index = 0; index < size; ++index)
            crc = crc << 8 ^ oggCrcTable[(crc >> 24) ^ page[index]];
        putLittleEndian32(page + 22, crc);
        if (!writeAll(page, size)) return false;
        start += size;
    }
    pendingPage.erase(pendingPage.begin(),
                      pendingPage.begin() + static_cast<std::ptrdiff_t>(start));
    return true;
}

// LIBSNDFILE'S VIRTUAL I/O over our descriptor.

sf_count_t fileLength(void*) {
    struct stat status {};
    return fstat(descriptor, &status) == 0 ? status.st_size : -1;
}

sf_count_t seekTo(sf_count_t offset, int whence, void*) {
    return lseek(descriptor, offset, whence);
}

sf_count_t readFrom(void* data, sf_count_t count, void*) {
    const ssize_t got = ::read(descriptor, data, static_cast<std::size_t>(count));
    return got < 0 ? 0 : got;
}

sf_count_t writeTo(const void* data, sf_count_t count, void*) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const auto size = static_cast<std::size_t>(count);
    if (oggPages) {
        pendingPage.insert(pendingPage.end(), bytes, bytes + size);
        return writeCompletePages() ? count : 0;
    }
    return writeAll(bytes, size) ? count : 0;
}

sf_count_t position(void*) {
    const off_t at = lseek(descriptor, 0, SEEK_CUR);
    return at < 0 ? at : at + static_cast<sf_count_t>(pendingPage.size());
}

SF_VIRTUAL_IO virtualIo = {fileLength, seekTo, readFrom, writeTo, position};

int libraryFormat(SoundFormat format) {
    switch (format) {
    case SoundFormat::flac: return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    case SoundFormat::ogg: return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    case SoundFormat::wav: break;
    }
    return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
}

// STANDARD OUTPUT: a canonical 44-byte WAV header, then the samples.

bool writeWavHeader(std::uint64_t plannedFrames) {
    const auto dataSize = static_cast<std::uint32_t>(plannedFrames * bytesPerFrame);
    std::array<std::uint8_t, 44> header{};
    auto put = [&](std::size_t at, const char* text) { std::memcpy(&header[at], text, 4); };
    auto put16 = [&](std::size_t at, std::uint16_t value) {
        header[at] = value & 0xFF;
        header[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    put(0, "RIFF");
    putLittleEndian32(&header[4], 36 + dataSize);
    put(8, "WAVE");
    put(12, "fmt ");
    putLittleEndian32(&header[16], 16);
    put16(20, 1); // PCM
    put16(22, channels);
    putLittleEndian32(&header[24], outputRate);
    putLittleEndian32(&header[28], outputRate * bytesPerFrame);
    put16(32, bytesPerFrame);
    put16(34, 16);
    put(36, "data");
    putLittleEndian32(&header[40], dataSize);
    return writeAll(header.data(), header.size());
}

bool writeLittleEndianFrames(const std::int16_t* frames, std::size_t count) {
    std::array<std::uint8_t, 4096 * bytesPerFrame> bytes;
    while (count > 0) {
        const std::size_t chunk = std::min(count, bytes.size() / bytesPerFrame);
        for (std::size_t sample = 0; sample < chunk * channels; ++sample) {
            const auto value = static_cast<std::uint16_t>(frames[sample]);
            bytes[2 * sample] = value & 0xFF;
            bytes[2 * sample + 1] = static_cast<std::uint8_t>(value >> 8);
        }
        if (!writeAll(bytes.data(), chunk * bytesPerFrame)) return false;
        frames += chunk * channels;
        count -= chunk;
    }
    return true;
}

// INTERRUPTIONS. The temporary file goes with the program.

void removeTemporaryAndDie(int signal) {
    unlink(temporaryPathForSignals.data());
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void catchInterruptions() {
    struct sigaction action {};
    action.sa_handler = removeTemporaryAndDie;
    sigemptyset(&action.sa_mask);
    for (std::size_t index = 0; index < interruptions.size(); ++index) {
        sigaction(interruptions[index], &action, &previousActions[index]);
        // A signal the program was started to ignore stays ignored.
        if (previousActions[index].sa_handler == SIG_IGN) {
            sigaction(interruptions[index], &previousActions[index], nullptr);
        }
    }
}

void releaseInterruptions() {
    for (std::size_t index = 0; index < interruptions.size(); ++index) {
        sigaction(interruptions[index], &previousActions[index], nullptr);
    }
}

// Opens a hidden temporary file beside `path`, with the permissions a new
// file would get.
bool openTemporary(const std::string& path, std::string& error) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    temporaryPath = folder + "." + base + ".XXXXXX";
    if (temporaryPath.size() >= temporaryPathForSignals.size()) {
        error = reason(path, ENAMETOOLONG);
        return false;
    }
    std::vector<char> name(temporaryPath.begin(), temporaryPath.end());
    name.push_back('\0');
    const mode_t mask = umask(0);
    umask(mask);
    // Held off until the handlers know the name, so that no interruption
    // falls between the file's creation and its handlers.
    sigset_t held;
    sigset_t before;
    sigemptyset(&held);
    for (int signal : interruptions) sigaddset(&held, signal);
    sigprocmask(SIG_BLOCK, &held, &before);
    descriptor = mkstemp(name.data());
    const int created = errno;
    if (descriptor >= 0) {
        temporaryPath = name.data();
        std::memcpy(temporaryPathForSignals.data(), name.data(), name.size());
        catchInterruptions();
    }
    sigprocmask(SIG_SETMASK, &before, nullptr);
    if (descriptor < 0) {
        temporaryPath.clear();
        error = reason(path, created);
        return false;
    }
    fchmod(descriptor, 0666 & ~mask);
    return true;
}

void closeDescriptor() {
    if (descriptor >= 0 && target == Target::file) close(descriptor);
    descriptor = -1;
}

} // namespace

std::optional<SoundFormat> soundFormatOf(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || fileName.find('/', dot) != std::string_view::npos) {
        return std::nullopt;
    }
    std::string extension(fileName.substr(dot + 1));
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (extension == "wav") return SoundFormat::wav;
    if (extension == "flac") return SoundFormat::flac;
    if (extension == "ogg") return SoundFormat::ogg;
    return std::nullopt;
}

bool soundFileOpen(const std::string& path, SoundFormat format, std::uint64_t plannedFrames,
                   std::string& error) {
    writeError = 0;
    pendingPage.clear();
    finalPath = path;
    if (path == "-") {
        if (isatty(STDOUT_FILENO)) {
            error = "standard output is a terminal; give -o a file name or send it elsewhere";
            return false;
        }
        target = Target::standardOutput;
        descriptor = STDOUT_FILENO;
        if (!writeWavHeader(plannedFrames)) {
            error = reason("standard output", writeError);
            target = Target::closed;
            return false;
        }
        return true;
    }

    // A device or a pipe named as OUT is written straight into.
    struct stat status {};
    temporaryPath.clear();
    temporaryPathForSignals[0] = '\0';
    if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        if (S_ISDIR(status.st_mode)) {
            error = reason(path, EISDIR);
            return false;
        }
        descriptor = open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (descriptor < 0) {
            error = reason(path, errno);
            return false;
        }
    } else if (!openTemporary(path, error)) {
        return false;
    }
    target = Target::file;
    oggPages = format == SoundFormat::ogg;

    SF_INFO info{};
    info.samplerate = outputRate;
    info.channels = channels;
    info.format = libraryFormat(format);
    sound = sf_open_virtual(&virtualIo, SFM_WRITE, &info, nullptr);
    if (sound == nullptr) {
        error = failure(path, sf_strerror(nullptr));
        soundFileDiscard();
        return false;
    }
    return true;
}

bool soundFileWrite(const std::int16_t* frames, std::size_t count, std::string& error) {
    if (target == Target::standardOutput) {
        if (writeLittleEndianFrames(frames, count)) return true;
        error = reason("standard output", writeError);
        return false;
    }
    const auto wanted = static_cast<sf_count_t>(count);
    if (sf_writef_short(sound, frames, wanted) == wanted) return true;
    error = failure(finalPath, sf_strerror(sound));
    return false;
}

bool soundFileFinish(std::string& error) {
    if (target == Target::standardOutput) {
        target = Target::closed;
        return true;
    }
    const int closed = sf_close(sound);
    sound = nullptr;
    bool written =
        closed == 0 && writeError == 0 && writeAll(pendingPage.data(), pendingPage.size());
    pendingPage.clear();
    if (!written) {
        error = failure(finalPath, sf_error_number(closed));
        soundFileDiscard();
        return false;
    }
    const int closeResult = close(descriptor);
    descriptor = -1;
    if (closeResult != 0 ||
        (!temporaryPath.empty() && rename(temporaryPath.c_str(), finalPath.c_str()) != 0)) {
        error = reason(finalPath, errno);
        soundFileDiscard();
        return false;
    }
    if (!temporaryPath.empty()) releaseInterruptions();
    temporaryPath.clear();
    target = Target::closed;
    return true;
}

void soundFileDiscard() {
    if (sound != nullptr) sf_close(sound);
    sound = nullptr;
    pendingPage.clear();
    closeDescriptor();
    if (!temporaryPath.empty()) {
        unlink(temporaryPath.c_str());
        releaseInterruptions();
        temporaryPath.clear();
    }
    target = Target::closed;
}
