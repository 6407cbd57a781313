#include "platform/fs/Leftovers.h"

#include "platform/fs/FileBeside.h"
#include "platform/fs/FileBytes.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

// The digits only the file with this inode, made beside a file of this name under this tag,
// carries.
std::string digitsOf(const std::string& besideName, std::string_view tag, unsigned long long inode,
                     int attempt) {
    ByteChecksum sum;
    sum.add("Quillan's own file beside ");
    sum.add(besideName);
    sum.add(std::string_view("\0", 1));
    sum.add(tag);
    sum.add(std::string_view("\0", 1));
    sum.add(std::to_string(inode));
    if (attempt > 0)
        sum.add("#" + std::to_string(attempt));
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", sum.value());
    return digits;
}

void (*stepHook)() = nullptr;

bool isHexDigits(std::string_view text) {
    return text.size() == 16 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// The parts of a name shaped like one the program gives its own files: "." + the start of the
// name of the file it was made beside + a tag (".word-") + sixteen digits. Nothing when the
// name has another shape.
struct OwnNameParts {
    std::string besideStart;
    std::string tag;
    std::string digits;
};
std::optional<OwnNameParts> partsOf(const std::string& name) {
    if (name.size() < 20 || name[0] != '.' || name[name.size() - 17] != '-' ||
        !isHexDigits(std::string_view(name).substr(name.size() - 16)))
        return std::nullopt;
    const size_t tagStart = name.rfind('.', name.size() - 17);
    if (tagStart == std::string::npos || tagStart < 2)
        return std::nullopt;
    return OwnNameParts{name.substr(1, tagStart - 1),
                        name.substr(tagStart, name.size() - 16 - tagStart),
                        name.substr(name.size() - 16)};
}

// Whether a name of these parts is the one the program gives the file with this inode made
// beside the file named `besideName` (its start cut to fit, or whole).
bool provesOwn(const OwnNameParts& parts, const std::string& besideName, unsigned long long inode) {
    if (besideName.compare(0, parts.besideStart.size(), parts.besideStart) != 0)
        return false;
    for (int attempt = 0; attempt < OwnNameAttempts; ++attempt)
        if (digitsOf(besideName, parts.tag, inode, attempt) == parts.digits)
            return true;
    return false;
}

// A plain file of this user.
bool ownPlainFile(const fs::path& entry, struct stat& st) {
    return lstat(entry.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid();
}

} // namespace

std::string ownNameBeside(const std::string& path, const OwnFilePattern& pattern,
                          unsigned long long inode, int attempt) {
    const std::string name = fs::path(path).filename().string();
    return hiddenNameBeside(path, pattern.tag, digitsOf(name, pattern.tag, inode, attempt),
                            pattern.longestPath);
}

void setOwnFileStepHook(void (*hook)()) {
    stepHook = hook;
}

void ownFileStep() {
    if (stepHook)
        stepHook();
}

bool isOwnFile(const std::string& path) {
    struct stat st {};
    const std::optional<OwnNameParts> parts = partsOf(fs::path(path).filename().string());
    if (!parts || !ownPlainFile(path, st))
        return false;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folderOf(path), ec))
        if (provesOwn(*parts, entry.path().filename().string(), st.st_ino))
            return true;
    return false;
}

// A file of the program's own can hold, for the instant between two calls, more than one of
// the names the program gives its files (the one its inode gives, and the one it takes to
// be exchanged into a file's place): once one of them proves the file the program's, every
// such name of it goes. The file beside which they were made keeps its own name.
void removeLeftoverTemporaries(const std::string& path,
                               std::initializer_list<OwnFilePattern> patterns) {
    const std::string besideName = fs::path(path).filename().string();
    std::map<unsigned long long, std::vector<fs::path>> shapedNames;
    std::set<unsigned long long> provenOwn;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folderOf(path), ec)) {
        struct stat st {};
        const std::string name = entry.path().filename().string();
        const std::optional<OwnNameParts> parts = partsOf(name);
        if (!parts || name == besideName || !ownPlainFile(entry.path(), st))
            continue;
        const bool tagged =
            std::any_of(patterns.begin(), patterns.end(),
                        [&](const OwnFilePattern& p) { return p.tag == parts->tag; });
        if (!tagged || besideName.compare(0, parts->besideStart.size(), parts->besideStart) != 0)
            continue;
        shapedNames[st.st_ino].push_back(entry.path());
        if (provesOwn(*parts, besideName, st.st_ino))
            provenOwn.insert(st.st_ino);
    }
    for (unsigned long long inode : provenOwn)
        for (const fs::path& name : shapedNames[inode])
            unlink(name.c_str());
}

} // namespace platform
