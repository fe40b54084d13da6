#include "selector/dir_listing.h"

#include "tune/file_names.h"

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

std::vector<dirrec> entries;
std::uint16_t entryCount = 0;
std::uint8_t driveCount = 0;
std::string savedDirectory;

namespace {

namespace fs = std::filesystem;

constexpr std::size_t directoryNameLimit = 74;
constexpr std::size_t fileNameLimit = 76;
constexpr std::string_view tunePattern = "*.SID";

// The entries probeDrives offers, first driveCount of them in use.
std::array<dirrec, 2> places;

std::string directoryCaption(std::string_view name) {
    std::string caption = "<";
    caption.append(name.substr(0, directoryNameLimit));
    caption.append(name.size() > directoryNameLimit ? "..>" : ">");
    return caption;
}

std::string fileCaption(std::string_view name) {
    std::string caption(name.substr(0, fileNameLimit));
    if (name.size() > fileNameLimit) caption.append("..");
    return caption;
}

// The slot check keeps a listing made without selectorStart's slots from
// writing past them.
void append(bool isDir, std::string name, std::string caption) {
    if (entryCount >= entries.size()) return;
    entries[entryCount++] = {isDir, std::move(name), std::move(caption)};
}

// "*" stands for any run of bytes; letters match without regard to case, as
// the tune names users keep come in every spelling.
bool matchesPattern(std::string_view name, std::string_view pattern) {
    const std::string text = upperCase(name);
    const std::string wanted = upperCase(pattern);
    std::size_t t = 0;
    std::size_t w = 0;
    std::size_t star = std::string::npos;
    std::size_t starText = 0;
    while (t < text.size()) {
        if (w < wanted.size() && wanted[w] == '*') {
            star = w++;
            starText = t;
        } else if (w < wanted.size() && wanted[w] == text[t]) {
            ++w;
            ++t;
        } else if (star != std::string::npos) {
            w = star + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (w < wanted.size() && wanted[w] == '*') ++w;
    return w == wanted.size();
}

// Calls visit for every entry of the current directory, dot names included,
// in the order the file system gives them; a failing enumeration just ends.
template <typename Visit> void forEachEntry(Visit visit) {
    std::error_code error;
    for (fs::directory_iterator it(".", error), end; !error && it != end; it.increment(error))
        visit(*it);
}

bool atRoot() {
    std::error_code error;
    return fs::current_path(error) == "/";
}

// The enumeration never reports "..", so it is put first: in a directory
// crowded past the limit the way out is never the entry dropped.
void listDirectories() {
    if (!atRoot()) append(true, "..", "<..>");
    forEachEntry([](const fs::directory_entry& entry) {
        std::error_code error;
        if (entryCount >= maxListed || !entry.is_directory(error)) return;
        std::string name = entry.path().filename().string();
        std::string caption = directoryCaption(name);
        append(true, std::move(name), std::move(caption));
    });
}

// Only plain files (or links to them) are offered: a pipe or device named
// like a tune would leave the player waiting on it.
void listFiles(std::string_view pattern) {
    forEachEntry([pattern](const fs::directory_entry& entry) {
        std::error_code error;
        if (entryCount >= maxListed || !entry.is_regular_file(error)) return;
        std::string name = entry.path().filename().string();
        if (!matchesPattern(name, pattern)) return;
        std::string caption = fileCaption(name);
        append(false, std::move(name), std::move(caption));
    });
}

std::string homeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return home;
    const passwd* user = getpwuid(getuid());
    if (user != nullptr && user->pw_dir != nullptr) return user->pw_dir;
    return "";
}

} // namespace

void probeDrives() {
    places[0] = {true, "/", "</>"};
    driveCount = 1;
    std::string home = homeDirectory();
    if (home.empty()) return;
    places[1] = {true, std::move(home), "<~>"};
    driveCount = 2;
}

void buildListing() {
    entryCount = 0;
    listDirectories();
    listFiles(tunePattern);
    if (entryCount > 0) sortEntries(0, entryCount - 1);
    for (std::size_t n = 0; n < driveCount; ++n)
        append(places[n].isDir, places[n].name, places[n].caption);
}

void sortEntries(int l, int r) {
    int i = l;
    int j = r;
    const dirrec x = entries[static_cast<std::size_t>((l + r) / 2)];
    auto at = [](int index) -> dirrec& { return entries[static_cast<std::size_t>(index)]; };
    do {
        while (entryLess(at(i), x)) ++i;
        while (entryLess(x, at(j))) --j;
        if (i <= j) {
            std::swap(at(i), at(j));
            ++i;
            --j;
        }
    } while (i <= j);
    if (l < j) sortEntries(l, j);
    if (i < r) sortEntries(i, r);
}

bool entryLess(const dirrec& a, const dirrec& b) {
    if (a.isDir != b.isDir) return a.isDir;
    const std::string left = upperCase(a.caption);
    const std::string right = upperCase(b.caption);
    // std::string compares through char_traits<char>, which orders bytes as
    // unsigned values: "\xE4" comes after "Z".
    return left < right;
}

void enterDirectory(std::string_view name) {
    std::error_code error;
    const fs::path remembered = fs::current_path(error);
    fs::current_path(fs::path(name), error);
    if (error && !remembered.empty()) fs::current_path(remembered, error);
}
