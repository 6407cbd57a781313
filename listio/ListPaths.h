#pragma once

#include <string>
#include <vector>

namespace quillan {

// The file name's extension with its dot, in capitals, or "".
std::string upperExtensionOf(const std::string& path);
// True for a dBase memo file (.DBT), which holds no records of its own.
bool isDbaseMemoFile(const std::string& path);

// The file name without its folder, for messages.
std::string fileNameOf(const std::string& path);

// Names in double quotes, for messages: "A", "B" and "C".
std::string quotedNames(const std::vector<std::string>& names);

} // namespace quillan
