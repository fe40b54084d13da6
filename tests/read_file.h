// A whole file as bytes, for tests that check what a program wrote.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}
