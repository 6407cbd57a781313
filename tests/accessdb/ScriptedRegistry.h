#pragma once

// Engine services of a test's own: a stand-in for the engine object that answers with them,
// for engine items a test makes without an engine, and a registry of the test's own with
// the DAO 3.6 class key unless asked otherwise.

#include "accessdb/engine/EnginePlatform.h"
#include "accessdb/engine/TBapiListItem.h"
#include "platform/config/ConfigStore.h"
#include "platform/registry/ConfigRegistry.h"

namespace accessdb::testing {

// The owner of engine items made without an engine: they use its services.
struct EngineRoot : TBapiListItem {
    explicit EngineRoot(EnginePlatform services)
        : TBapiListItem(nullptr, nullptr), services(std::move(services)) {}
    const EnginePlatform* enginePlatform() const override { return &services; }
    EnginePlatform services;
};

// An engine made with services(), or an item made under root, uses the registry.
struct ScriptedRegistry {
    platform::ConfigStore store;
    platform::ConfigRegistry registry;
    EngineRoot root;
    explicit ScriptedRegistry(bool daoKey = true) : registry(store, daoKey), root(services()) {}

    EnginePlatform services() { return {.registry = &registry}; }
};

} // namespace accessdb::testing
