#include "platform/fs/Leftovers.h"

#include "platform/fs/FileBeside.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view KeptTag = ".original-";

std::string folderOf(const std::string& path) {
    fs::path p(path);
    return p.has_parent_path() ? p.parent_path().string() : std::string(".");
}

// A plain file of this user that has no other name: what the program itself made.
bool ownPlainFile(const fs::path& entry) {
    struct stat st {};
    return lstat(entry.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
           st.st_nlink == 1;
}

bool isLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool followsPattern(const std::string& name, const std::string& pattern, bool randomLooking) {
    const size_t stem = pattern.size() - 6;
    if (name.size() != pattern.size() || name.compare(0, stem, pattern, 0, stem) != 0)
        return false;
    const auto random = name.begin() + static_cast<long>(stem);
    return std::all_of(random, name.end(), isLetterOrDigit) &&
           (!randomLooking || std::any_of(random, name.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           }));
}

template <typename Visit>
void eachEntry(const std::string& path, Visit visit) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folderOf(path), ec))
        visit(entry.path());
}

} // namespace

std::string keptOriginalPath(const std::string& path, unsigned long long inode) {
    const std::string ending = std::string(KeptTag) + std::to_string(inode);
    std::string name = fs::path(path).filename().string();
    name.resize(std::min(name.size(), static_cast<size_t>(NAME_MAX) - 1 - ending.size()));
    return (fs::path(folderOf(path)) / ("." + name + ending)).string();
}

std::vector<std::string> keptOriginalsOf(const std::string& path, unsigned long long inode) {
    const std::string ending = std::string(KeptTag) + std::to_string(inode);
    std::vector<std::string> found;
    eachEntry(path, [&](const fs::path& entry) {
        const std::string name = entry.filename().string();
        if (name.size() > ending.size() + 1 && name.front() == '.' &&
            name.compare(name.size() - ending.size(), ending.size(), ending) == 0 &&
            ownPlainFile(entry))
            found.push_back(entry.string());
    });
    std::sort(found.begin(), found.end());
    return found;
}

void removeLeftoverTemporaries(const std::string& path,
                               std::initializer_list<OwnFilePattern> patterns) {
    std::vector<std::pair<std::string, bool>> names;
    for (const OwnFilePattern& p : patterns)
        names.emplace_back(fs::path(tempPatternBeside(path, p.tag, p.longestPath)).filename(),
                           p.onlyRandomLooking);
    eachEntry(path, [&](const fs::path& entry) {
        const std::string name = entry.filename().string();
        const bool ours = std::any_of(names.begin(), names.end(), [&](const auto& p) {
            return followsPattern(name, p.first, p.second);
        });
        if (ours && ownPlainFile(entry))
            unlink(entry.c_str());
    });
}

} // namespace platform
