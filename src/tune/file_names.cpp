#include "tune/file_names.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string upperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') { c = static_cast<char>(c - 'a' + 'A'); }
    }
    return result;
}

FileNameParts splitFileName(std::string_view path) {
    const std::size_t lastSeparator = path.find_last_of("/\\:");
    const std::size_t nameStart = lastSeparator == std::string_view::npos ? 0 : lastSeparator + 1;
    const std::string_view name = path.substr(nameStart);
    const std::size_t dot = name.rfind('.');
    const std::size_t nameEnd = dot == std::string_view::npos ? name.size() : dot;
    return {std::string(path.substr(0, nameStart)), std::string(name.substr(0, nameEnd)),
            std::string(name.substr(nameEnd))};
}

bool fileExists(std::string_view name) {
    if (name.empty()) { return false; }
    // Opening a directory read-only succeeds on Linux, so ask the open file
    // what it is. Only plain files count: a pipe or a device would block the
    // loader or never end. O_NONBLOCK keeps the open of a pipe from waiting.
    const std::string path(name);
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) { return false; }
    struct stat status {};
    const bool regular = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    close(descriptor);
    return regular;
}
