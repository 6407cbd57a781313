#pragma once

#include <string>
#include <vector>

namespace platform {

// A kind of file a file dialog offers: what it is called and the names it matches.
struct FileFilter {
    std::string description;           // "Text files (*.txt)"
    std::vector<std::string> patterns; // "*.txt"
};

} // namespace platform
