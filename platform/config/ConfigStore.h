#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The registry's stand-in: string values under "section/key" names, kept in one text file
// ("section/key=value" per line) under the user's configuration folder.
class ConfigStore {
public:
    // An empty path keeps the values in memory only.
    explicit ConfigStore(std::string path = {});

    static std::string defaultPath();

    std::optional<std::string> read(const std::string& key) const;
    bool write(const std::string& key, const std::string& value);
    bool remove(const std::string& key);
    // Every key, in order.
    std::vector<std::string> keys() const;
    const std::string& path() const { return path_; }

private:
    void load();
    bool save() const;

    std::string path_;
    std::map<std::string, std::string> values_;
};

} // namespace platform
