// File-name helpers shared by the tune loader and the file selector.
#pragma once

#include <string>
#include <string_view>

// A path's three pieces; directory + baseName + extension is the path again.
struct FileNameParts {
    std::string directory; // up to and including the last "/", "\" or ":"
    std::string baseName;
    std::string extension; // from the last "." after the directory, dot included
};

// Letters a to z become A to Z; every other byte stays as it is.
std::string upperCase(std::string_view text);

FileNameParts splitFileName(std::string_view path);

// True when the name is not empty and names a plain file (not a directory,
// pipe or device) that can be opened for reading.
bool fileExists(std::string_view name);
