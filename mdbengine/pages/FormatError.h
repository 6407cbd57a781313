#pragma once

#include <stdexcept>
#include <string>

namespace mdbengine::file {

// A database file whose structures contradict themselves: a page beyond the end, a length
// that does not fit, a loop of page pointers. The object layer turns it into "unrecognised
// database format" so that damaged files never yield made-up data.
class FormatError : public std::runtime_error {
public:
    explicit FormatError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace mdbengine::file
