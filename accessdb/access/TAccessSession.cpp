#include "accessdb/access/TAccessSession.h"

#include "accessdb/access/DaoClassIds.h"
#include "accessdb/access/TAccessDatabase.h"
#include "accessdb/access/TDAOEngine.h"
#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EnginePlatform.h"
#include "accessdb/engine/TBaseCfgrecord.h"
#include "accessdb/engine/TRightsRegistry.h"
#include "platform/system/MainThread.h"

namespace accessdb {
namespace {

// Process-wide: the engine, the main-thread sessions holding it, and how it was made.
TDAOEngine* sharedDaoEngine = nullptr;
std::uint16_t daoEngineUseCount = 0;
int daoEngineVersion = 0;

// Makes the engine for a version; none when the version has no class.
TDAOEngine* createDaoEngine(int version, bool wideInterfaces) {
    daoEngineVersion = version;
    if (!daoProgId(version))
        return nullptr;
    auto* engine = new TDAOEngine(version, wideInterfaces);
    if (engine->created())
        return engine;
    delete engine;
    return nullptr;
}

bool classKeyPresent(const platform::Registry& registry, const char* key) {
    return registry.keyExists(platform::Registry::Root::ClassesRoot, key);
}

} // namespace

TAccessSession::TAccessSession(TBapiListItem* engine, const std::string& directory,
                               const std::string& name, TTorvaneCollection* collection)
    : TBaseSession(engine, directory, name, collection) {
    TAccessSession::initDriver();
    pathsAreFiles_ = true;
    noOemToAnsi_ = true;
    noAnsiToOem_ = true;
    if (platform::isMainThread())
        acquireSharedEngine();
    daoEngine_ = sharedDaoEngine;
}

TAccessSession::~TAccessSession() {
    // The databases still use the engine: they go before it is released.
    databases().freeAll();
    listCursors().freeAll();
    if (sharedDaoEngine && platform::isMainThread())
        releaseSharedEngine();
}

void TAccessSession::initDriver() {
    registryInfo_.root = platform::Registry::Root::LocalMachine;
    registryInfo_.baseKey = "\\Software\\Torvane\\Access";
}

void TAccessSession::fillDbType(bool, DatabaseDesc& descriptor) {
    TBaseSession::fillDbType(true, descriptor);
}

std::optional<int> TAccessSession::versionPreference() const {
    TRightsRegistry registry(engineRegistry(*this), registryInfo_.root,
                             TRightsRegistry::ReadAccess);
    if (!registry.openKey(registryInfo_.baseKey + "\\Configuration\\DAO", false))
        return std::nullopt;
    auto value = registry.readValue("VersionPreference");
    if (!value || value->kind != platform::Registry::Value::Kind::Integer)
        return std::nullopt;
    if (value->number < 30 || value->number > 36)
        return std::nullopt;
    return static_cast<int>(value->number);
}

std::optional<int> TAccessSession::probeVersion(const platform::Registry& registry,
                                                std::optional<int> preference) {
    int version = preference.value_or(36);
    // A preferred version is tried alone; without one the probe steps down to 3.0.
    for (int tries = preference ? 1 : 3; tries > 0; --tries) {
        const char* key = daoClassKey(version);
        if (key && classKeyPresent(registry, key))
            return version;
        if (version == 30 || !key)
            return std::nullopt;
        version = version == 36 ? 35 : 30;
    }
    return std::nullopt;
}

void TAccessSession::acquireSharedEngine() {
    std::optional<int> version = probeVersion(engineRegistry(*this), versionPreference());
    if (!sharedDaoEngine && version)
        sharedDaoEngine = createDaoEngine(*version, true);
    if (!sharedDaoEngine)
        raiseEngineError(dbierr::NOTINITIALIZED);
    ++daoEngineUseCount;
}

void TAccessSession::releaseSharedEngine() {
    if (daoEngineUseCount > 0)
        --daoEngineUseCount;
    if (daoEngineUseCount != 0)
        return;
    TDAOEngine* engine = sharedDaoEngine;
    sharedDaoEngine = nullptr;
    try {
        delete engine;
    } catch (...) {
    }
}

TBaseDatabase* TAccessSession::createDatabase(const DatabaseDesc& descriptor,
                                              const OpenDatabaseArgs& args) {
    OpenDatabaseArgs used = args;
    if (used.params.count() == 0) {
        try {
            used.params = getCfgRecord("\\DATABASES\\" + descriptor.name + "\\DB INFO")->params();
        } catch (const ETorvaneBoundryError&) {
        }
    }
    auto* database = new TAccessDatabase(this, &databases(), &descriptor, used.openMode,
                                         used.shareMode, used.password, used.params);
    return checkHandle(database);
}

TDAOEngine* TAccessSession::sharedEngine() {
    return sharedDaoEngine;
}

std::uint16_t TAccessSession::engineUseCount() {
    return daoEngineUseCount;
}

int TAccessSession::daoVersion() {
    return daoEngineVersion;
}

void TAccessSession::idleSharedEngine() {
    if (sharedDaoEngine)
        sharedDaoEngine->idle(0);
}

SessionFactory accessSessionFactory() {
    return [](TBapiListItem* engine, const std::string& directory, const std::string& name,
              TTorvaneCollection* sessions) {
        return new TAccessSession(engine, directory, name, sessions);
    };
}

} // namespace accessdb
