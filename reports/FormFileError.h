#pragma once

#include <stdexcept>

namespace quillan {

// A statement form file (coordinate file or page image) that is missing or cannot be
// read. The message names the file, and the line where there is one, for the error box.
class FormFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace quillan
