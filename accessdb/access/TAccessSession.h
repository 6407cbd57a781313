#pragma once

#include "accessdb/engine/TBaseSession.h"
#include "accessdb/engine/TVirtEng.h"

#include <cstdint>
#include <optional>

namespace accessdb {

class TDAOEngine;

// The Access driver's session. The first session made on the main thread picks the newest
// DAO version the registry lists (or the one the configuration prefers) and creates the one
// DAO engine of the process; every later session shares it, and the last main-thread
// session to go frees it. Sessions made on other threads take the engine as it is and do
// not count.
class TAccessSession : public TBaseSession {
public:
    TAccessSession(TBapiListItem* engine, const std::string& directory, const std::string& name,
                   TTorvaneCollection* collection);
    ~TAccessSession() override;

    void initDriver() override;
    std::string driverType() const override { return "ACCESS"; }
    // Access databases keep the type they were given: they are never "STANDARD".
    void fillDbType(bool keep, DatabaseDesc& descriptor) override;
    TBaseDatabase* createDatabase(const DatabaseDesc& descriptor,
                                  const OpenDatabaseArgs& args) override;
    void afterCloseList() override { idleSharedEngine(); }

    // The engine as it was when this session was made (none on a secondary thread before
    // any main-thread session).
    TDAOEngine* daoEngine() const { return daoEngine_; }

    // The process's DAO engine and its use count; the version it was made for.
    static TDAOEngine* sharedEngine();
    static std::uint16_t engineUseCount();
    static int daoVersion();
    // Lets the engine write waiting changes: Idle with action 0, when there is an engine.
    static void idleSharedEngine();

    // The version the registry prefers (30 to 36), if any.
    std::optional<int> versionPreference() const;
    // The version the probe finds under HKEY_CLASSES_ROOT of the registry.
    static std::optional<int> probeVersion(const platform::Registry& registry,
                                           std::optional<int> preference);

private:
    void acquireSharedEngine();
    void releaseSharedEngine();

    TDAOEngine* daoEngine_ = nullptr;
};

// The session factory the Access engine object is made with.
SessionFactory accessSessionFactory();

} // namespace accessdb
