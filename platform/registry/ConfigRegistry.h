#pragma once

#include "platform/config/ConfigStore.h"
#include "platform/registry/Registry.h"

#include <map>
#include <set>

namespace platform {

// The registry kept in the program's configuration store: a key is the entry
// "registry/<root>\<path>" and a value "registry/<root>\<path>|<name>", whose text starts
// with "sz:" or "dword:". A store with an empty path keeps everything in memory, which is
// what tests script.
//
// Some keys exist without being stored: the DAO engine's class key "\DAO.DBEngine.36" under
// the classes root, which the platform's DAO layer always provides.
class ConfigRegistry : public Registry {
public:
    explicit ConfigRegistry(ConfigStore& store, bool withDaoEngineKey = true);

    bool keyExists(Root root, const std::string& key) const override;
    bool createKey(Root root, const std::string& key) override;
    bool deleteKey(Root root, const std::string& key) override;
    std::vector<std::string> subKeyNames(Root root, const std::string& key) const override;
    std::vector<std::string> valueNames(Root root, const std::string& key) const override;
    std::optional<Value> readValue(Root root, const std::string& key,
                                   const std::string& name) const override;
    bool writeValue(Root root, const std::string& key, const std::string& name,
                    const Value& value) override;
    bool deleteValue(Root root, const std::string& key, const std::string& name) override;

private:
    // The stored spelling of a key (an existing key keeps the case it was created with), or
    // none when it does not exist.
    std::optional<std::string> storedKey(Root root, const std::string& key) const;
    std::optional<std::string> storedValueEntry(const std::string& keyEntry,
                                                const std::string& name) const;

    ConfigStore& store_;
    std::set<std::string> builtInKeys_; // upper-cased "<root>\<path>"
};

} // namespace platform
