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

std::string quotedNames(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += std::string(i == 0                  ? ""
                            : i + 1 == names.size() ? " and "
                                                    : ", ") +
                "\"" + names[i] + "\"";
    return text;
}

} // namespace quillan
