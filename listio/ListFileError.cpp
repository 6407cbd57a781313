#include "listio/ListFileError.h"

#include "platform/fs/RegularFile.h"

#include <cstring>

namespace quillan {

ListFileError ListFileError::cannotRead(const std::string& path, int error) {
    return ListFileError("Read error on file \"" + path + "\". " + std::strerror(error));
}

} // namespace quillan

namespace quillan {

std::FILE* openListFile(const std::string& path) {
    std::string why;
    std::FILE* file = platform::openRegularFile(path, why);
    if (!file)
        throw ListFileError("Cannot open file \"" + path + "\". " + why);
    return file;
}

} // namespace quillan
