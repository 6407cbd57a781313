#include "accessdb/engine/EnginePlatform.h"

#include "accessdb/engine/TBapiListItem.h"
#include "platform/config/ConfigStore.h"
#include "platform/registry/ConfigRegistry.h"
#include "platform/system/UserName.h"

namespace accessdb {

platform::Registry& engineRegistry(const TBapiListItem& item) {
    if (const EnginePlatform* services = item.enginePlatform(); services && services->registry)
        return *services->registry;
    static platform::ConfigStore memoryStore;
    static platform::ConfigRegistry memoryRegistry(memoryStore);
    return memoryRegistry;
}

void engineProcessMessages(const TBapiListItem& item) {
    if (const EnginePlatform* services = item.enginePlatform();
        services && services->processMessages)
        services->processMessages();
}

std::string networkUserName(const TBapiListItem& item) {
    if (const EnginePlatform* services = item.enginePlatform(); services && services->userName)
        return services->userName();
    return platform::networkUserName();
}

} // namespace accessdb
