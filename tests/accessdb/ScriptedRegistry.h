#pragma once

// A registry of the test's own, given to the engine for the test's lifetime, with the DAO
// 3.6 class key unless asked otherwise.

#include "accessdb/engine/EnginePlatform.h"
#include "platform/config/ConfigStore.h"
#include "platform/registry/ConfigRegistry.h"

namespace accessdb::testing {

struct ScriptedRegistry {
    platform::ConfigStore store;
    platform::ConfigRegistry registry;
    explicit ScriptedRegistry(bool daoKey = true) : registry(store, daoKey) {
        enginePlatform().registry = &registry;
    }
    ~ScriptedRegistry() { enginePlatform().registry = nullptr; }
};

} // namespace accessdb::testing
