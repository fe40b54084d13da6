// The file selector's list: the current directory's subdirectories and tune
// files, sorted, then the places a user jumps to (the root directory and the
// home directory). The selector's location is the process's current
// directory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct dirrec {
    bool isDir = false;  // a directory or a place entry; false for a tune file
    std::string name;    // what chdir gets, or the tune file's bare name
    std::string caption; // what the screen shows and the sort compares
};

inline constexpr std::size_t entryCapacity = 1057;
// Directories and tune files beyond this many are dropped; place entries are
// appended after them regardless.
inline constexpr std::uint16_t maxListed = 1023;

// entryCapacity slots while the selector runs, empty otherwise; valid from 0
// to entryCount - 1.
extern std::vector<dirrec> entries;
extern std::uint16_t entryCount;
// Place entries at the end of the list: the root, then the home directory
// when it is known.
extern std::uint8_t driveCount;
// The current directory when the selector started, given back at its end.
extern std::string savedDirectory;

// Finds the places offered after the listing; sets driveCount.
void probeDrives();
// Lists the current directory into entries.
void buildListing();
// Quicksort of entries[l..r] by entryLess. Equal keys land where this
// partitioning puts them, which is not always their original order.
void sortEntries(int l, int r);
// Directories before files; then captions compared upper-cased, byte by byte,
// as unsigned values.
bool entryLess(const dirrec& a, const dirrec& b);
// Makes name the current directory, or leaves the current directory as it
// was when that fails.
void enterDirectory(std::string_view name);
