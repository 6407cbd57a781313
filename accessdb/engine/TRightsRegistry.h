#pragma once

#include "platform/registry/Registry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace accessdb {

// A registry accessor with a current key and an access mask: opened with the read mask it
// writes nothing; creating a key always uses full access.
class TRightsRegistry {
public:
    static constexpr std::uint32_t AllAccess = 0xF003F;
    static constexpr std::uint32_t ReadAccess = 0x20019;

    TRightsRegistry(platform::Registry& registry, platform::Registry::Root root,
                    std::uint32_t accessMask = AllAccess);

    std::uint32_t accessMask() const { return accessMask_; }
    void setAccessMask(std::uint32_t mask) { accessMask_ = mask; }
    const std::string& currentPath() const { return currentPath_; }
    bool hasCurrentKey() const { return open_; }

    // A key beginning with "\" is taken from the root, any other below the current key.
    bool openKey(const std::string& key, bool canCreate);
    void closeKey();
    bool keyExists(const std::string& key) const;
    bool deleteKey(const std::string& key);
    std::vector<std::string> keyNames() const;
    std::vector<std::string> valueNames() const;
    std::optional<platform::Registry::Value> readValue(const std::string& name) const;
    bool writeString(const std::string& name, const std::string& text);
    bool deleteValue(const std::string& name);

private:
    std::string resolve(const std::string& key) const;
    bool canWrite() const { return (accessMask_ & 0x6) != 0; }

    platform::Registry& registry_;
    platform::Registry::Root root_;
    std::uint32_t accessMask_;
    std::string currentPath_;
    bool open_ = false;
};

} // namespace accessdb
