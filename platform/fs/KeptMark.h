#pragma once

#include <string>

namespace platform {

// A mark on a file that a write over it in place is at work on, which every name of the file
// sees, wherever it is: it names the copy of the file as it was that the write keeps
// (KeptOriginal.h), so that reading the file under a name in another folder than the copy's
// still finds the copy when the write was stopped. The mark is an extended attribute of the
// file; where the file system refuses those, a record of this user's, under the program's
// state folder, keyed by the file's device and inode, stands for it.
//
// A mark proves nothing by itself: the copy it names must be one kept of this very file
// (its sealed record says so), else the mark is stale (a copy of a marked file took it
// along, or the write was stopped after removing its copy) and is simply removed.

// Marks the file open at `fd` (for writing) as having its copy at `copyPath`, which is
// made absolute; 0 or the errno of the failure.
int markKeptCopy(int fd, const std::string& copyPath);

// The path of the copy the file open at `fd` is marked with; "" when it has no mark.
std::string markedKeptCopy(int fd);

// Removes the mark of the file open at `fd`, in whichever form it has one.
void unmarkKeptCopy(int fd);

// For tests: the file system is taken to refuse extended attributes, as some do.
void setExtendedAttributesRefused(bool refused);

} // namespace platform
