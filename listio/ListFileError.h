#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

namespace quillan {

// A mailing-list file that could not be opened or read; the message says why, in words the
// user can act on.
class ListFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // "Read error on file "<path>". <reason from errno>"
    static ListFileError cannotRead(const std::string& path, int error);
};

// Opens a list file for reading: a plain file only (a named pipe or a device would make
// the program wait or read without end). Throws ListFileError, naming why, otherwise.
std::FILE* openListFile(const std::string& path);

} // namespace quillan
