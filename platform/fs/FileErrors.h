#pragma once

#include <string>

namespace platform {

// Why a file operation failed, in words a person can act on: "the disk is full" rather than
// the system's terse text, for the failures a user meets when writing (a full disk or
// quota, a file-size limit, a read-only disk, a name too long); the system's own text for
// the rest.
std::string describeFileError(int errorNumber);

} // namespace platform
