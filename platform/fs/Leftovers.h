#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The program's own files that a write leaves beside the file it writes while it works: a
// temporary file (named only where the file system has no unnamed ones, or for the moment
// before it is renamed into place) and, while a file with other names is written over in
// place, the copy of that file as it was. A process killed in the middle leaves them; the
// next write, and the next reading of a mailing list, deal with them.

// How the program names a hidden file of its own beside another, so that it is told again:
// the tag after the other's name and the longest path the whole was cut to
// (tempPatternBeside).
struct OwnFilePattern {
    std::string_view tag;
    size_t longestPath = 4096;
    // Only names whose six characters hold a capital or a digit, as random ones nearly
    // always do: for a tag so plain that a person's own hidden file could match it.
    bool onlyRandomLooking = false;
};
inline constexpr OwnFilePattern TemporaryFilePattern{".quillan-"};
// The temporary files of earlier versions, which were always named.
inline constexpr OwnFilePattern EarlierTemporaryFilePattern{".", 4096, true};

// Where the copy of a file as it was is kept while the file is written over in place: a
// hidden name in its folder that tells the file's name and its inode, which every name of
// the file shares.
std::string keptOriginalPath(const std::string& path, unsigned long long inode);

// The copies kept of the file with this inode that its folder holds, under any of its names.
std::vector<std::string> keptOriginalsOf(const std::string& path, unsigned long long inode);

// Removes the temporary files of the given patterns left beside `path`: plain files of this
// user with no other name, named as the pattern with six letters or digits in place of its
// Xs. Nothing else is touched.
void removeLeftoverTemporaries(const std::string& path,
                               std::initializer_list<OwnFilePattern> patterns);

} // namespace platform
