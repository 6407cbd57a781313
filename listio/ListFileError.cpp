#include "listio/ListFileError.h"

#include <cstring>

namespace quillan {

ListFileError ListFileError::cannotOpen(const std::string& path, int error) {
    return ListFileError("Cannot open file \"" + path + "\". " + std::strerror(error));
}

ListFileError ListFileError::cannotRead(const std::string& path, int error) {
    return ListFileError("Read error on file \"" + path + "\". " + std::strerror(error));
}

} // namespace quillan
