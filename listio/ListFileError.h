#pragma once

#include <stdexcept>
#include <string>

namespace quillan {

// A mailing-list file that could not be opened or read; the message says why, in words the
// user can act on.
class ListFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // "Cannot open file "<path>". <reason from errno>"
    static ListFileError cannotOpen(const std::string& path, int error);
    static ListFileError cannotRead(const std::string& path, int error);
};

} // namespace quillan
