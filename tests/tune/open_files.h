// Whether the process still holds a file open below a directory: a load must
// close every file it opened, on every path out. Shared by the tests and the
// fuzz targets.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

inline bool fileOpenBelow(const std::string& directory) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), error);
        if (!error && target.string().starts_with(directory)) return true;
    }
    return false;
}
