#include "listio/ListPaths.h"

#include "core/Convert.h"

namespace quillan {

std::string upperExtensionOf(const std::string& path) {
    std::string name = fileNameOf(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : upperAscii(name.substr(dot));
}

bool isDbaseMemoFile(const std::string& path) {
    return upperExtensionOf(path) == ".DBT";
}

std::string fileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace quillan
