#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace platform {

// The program's own files that a write leaves beside the file it writes while it works: a
// temporary file (named only where the file system has no unnamed ones, or for the moment
// before it is renamed into place) and the Access engine's work copy of a database. A
// process killed in the middle leaves them; the next write, and the next reading of a
// mailing list, remove them.
//
// Only a file that proves to be the program's own is ever removed. Its name ends in sixteen
// hexadecimal digits worked out from its own inode number and the name of the file it was
// made beside: a file a person makes, copies or saves under such a name has another inode,
// so that its digits do not fit, whatever its name. A person's own hidden files beside a
// list, and files that earlier versions named after a plainer pattern, are never touched.

// How the program names a hidden file of its own beside another: the tag after the other's
// name, and the longest path the whole may have (for a reader with a path limit of its
// own); the name is cut to fit.
struct OwnFilePattern {
    std::string_view tag;
    size_t longestPath = 4096;
};
inline constexpr OwnFilePattern TemporaryFilePattern{".quillan-"};

// The name, in the folder of `path`, of the program's own file with this inode made beside
// it: "." + its name + tag + the sixteen digits. Should another file hold that name (a
// person's, saved under the name a file of the program's had before its inode was freed),
// the next of a few more names its inode gives (`attempt` 1 and up) is taken instead.
inline constexpr int OwnNameAttempts = 8;
std::string ownNameBeside(const std::string& path, const OwnFilePattern& pattern,
                          unsigned long long inode, int attempt = 0);

// Whether the file at `path` is one of the program's own, made beside another file of its
// folder: its name is the one its inode gives. It holds nobody's work, so that a writer may
// write over it directly.
bool isOwnFile(const std::string& path);

// Removes the files of the program's own left beside `path` under the given patterns: plain
// files of this user that one of their names proves the program's (the one their inode
// gives), under every such name they have there. Nothing else is touched.
void removeLeftoverTemporaries(const std::string& path,
                               std::initializer_list<OwnFilePattern> patterns);

// Called before each call that names, exchanges, removes or cuts one of the program's own
// files while it writes, when set; for tests, which stop the process there to see what a
// kill leaves.
void setOwnFileStepHook(void (*hook)());
void ownFileStep();

} // namespace platform
