#include "accessdb/engine/EnginePlatform.h"

#include "platform/config/ConfigStore.h"
#include "platform/registry/ConfigRegistry.h"
#include "platform/system/UserName.h"

namespace accessdb {

EnginePlatform& enginePlatform() {
    static EnginePlatform services;
    return services;
}

platform::Registry& engineRegistry() {
    if (platform::Registry* registry = enginePlatform().registry)
        return *registry;
    static platform::ConfigStore memoryStore;
    static platform::ConfigRegistry memoryRegistry(memoryStore);
    return memoryRegistry;
}

void engineProcessMessages() {
    if (enginePlatform().processMessages)
        enginePlatform().processMessages();
}

std::string networkUserName() {
    if (enginePlatform().userName)
        return enginePlatform().userName();
    return platform::networkUserName();
}

} // namespace accessdb
