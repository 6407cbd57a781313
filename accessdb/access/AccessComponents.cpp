#include "accessdb/access/AccessComponents.h"

#include "accessdb/access/TtaSession.h"
#include "accessdb/access/TtaSessionList.h"

namespace accessdb {
namespace {

TVirtEng* engineObject = nullptr;
TtaSession* defaultSession = nullptr;

// The list is made first and goes last: the default session is freed while the list (and
// its lock) still stand, and freeing it stops the engine.
struct AccessUnit {
    TtaSessionList list;

    AccessUnit() {
        auto* session = new TtaSession(nullptr, list);
        session->setSessionName("Access");
        defaultSession = session;
    }
    ~AccessUnit() {
        delete defaultSession;
        defaultSession = nullptr;
    }
};

AccessUnit& accessUnit() {
    static AccessUnit unit;
    return unit;
}

} // namespace

TtaSessionList& AccessSessionList() {
    return accessUnit().list;
}

TtaSession& AccessSession() {
    accessUnit();
    return *defaultSession;
}

TVirtEng* AccessEngineObject() {
    return engineObject;
}

std::recursive_mutex& AccessCriticalSection() {
    return AccessSessionList().criticalSection();
}

void setAccessEngineObject(TVirtEng* engine) {
    engineObject = engine;
}

TtaSession* accessDefaultSession() {
    return defaultSession;
}

} // namespace accessdb
