#include "platform/config/ConfigStore.h"

#include "platform/fs/AtomicFile.h"
#include "platform/fs/ProgramPaths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace platform {

ConfigStore::ConfigStore(std::string path) : path_(std::move(path)) {
    load();
}

std::string ConfigStore::defaultPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base = xdg && *xdg ? xdg : homeFolder() + "/.config";
    return base + "/quillan/quillan.conf";
}

void ConfigStore::load() {
    if (path_.empty())
        return;
    std::ifstream in(path_);
    std::string line;
    while (std::getline(in, line)) {
        auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        values_[line.substr(0, eq)] = line.substr(eq + 1);
    }
}

bool ConfigStore::save() const {
    if (path_.empty())
        return true;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
    std::string content;
    for (const auto& [k, v] : values_)
        content += k + "=" + v + "\n";
    return writeFileAtomically(path_, content).ok;
}

std::optional<std::string> ConfigStore::read(const std::string& key) const {
    auto it = values_.find(key);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

bool ConfigStore::write(const std::string& key, const std::string& value) {
    std::string clean = value;
    for (char& c : clean)
        if (c == '\n' || c == '\r')
            c = ' ';
    values_[key] = clean;
    return save();
}

bool ConfigStore::remove(const std::string& key) {
    values_.erase(key);
    return save();
}

std::vector<std::string> ConfigStore::keys() const {
    std::vector<std::string> names;
    names.reserve(values_.size());
    for (const auto& entry : values_)
        names.push_back(entry.first);
    return names;
}

} // namespace platform
