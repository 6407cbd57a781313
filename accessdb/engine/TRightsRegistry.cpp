#include "accessdb/engine/TRightsRegistry.h"

namespace accessdb {

TRightsRegistry::TRightsRegistry(platform::Registry& registry, platform::Registry::Root root,
                                 std::uint32_t accessMask)
    : registry_(registry), root_(root), accessMask_(accessMask) {}

std::string TRightsRegistry::resolve(const std::string& key) const {
    if (!key.empty() && key.front() == '\\')
        return key.substr(1);
    if (open_ && !currentPath_.empty())
        return currentPath_ + "\\" + key;
    return key;
}

bool TRightsRegistry::openKey(const std::string& key, bool canCreate) {
    std::string path = resolve(key);
    bool opened = canCreate && !key.empty() ? registry_.createKey(root_, path)
                                            : registry_.keyExists(root_, path);
    if (!opened)
        return false;
    currentPath_ = path;
    open_ = true;
    return true;
}

void TRightsRegistry::closeKey() {
    currentPath_.clear();
    open_ = false;
}

bool TRightsRegistry::keyExists(const std::string& key) const {
    return registry_.keyExists(root_, resolve(key));
}

bool TRightsRegistry::deleteKey(const std::string& key) {
    return canWrite() && registry_.deleteKey(root_, resolve(key));
}

std::vector<std::string> TRightsRegistry::keyNames() const {
    return open_ ? registry_.subKeyNames(root_, currentPath_) : std::vector<std::string>{};
}

std::vector<std::string> TRightsRegistry::valueNames() const {
    return open_ ? registry_.valueNames(root_, currentPath_) : std::vector<std::string>{};
}

std::optional<platform::Registry::Value> TRightsRegistry::readValue(const std::string& name) const {
    if (!open_)
        return std::nullopt;
    return registry_.readValue(root_, currentPath_, name);
}

bool TRightsRegistry::writeString(const std::string& name, const std::string& text) {
    if (!open_ || !canWrite())
        return false;
    platform::Registry::Value value;
    value.text = text;
    return registry_.writeValue(root_, currentPath_, name, value);
}

bool TRightsRegistry::deleteValue(const std::string& name) {
    return open_ && canWrite() && registry_.deleteValue(root_, currentPath_, name);
}

} // namespace accessdb
