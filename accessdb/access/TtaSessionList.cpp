#include "accessdb/access/TtaSessionList.h"

#include "accessdb/access/AccessComponents.h"
#include "accessdb/access/TAccessSession.h"
#include "accessdb/access/TtaSession.h"

namespace accessdb {

TtaSessionList::~TtaSessionList() {
    closeAll();
}

TVirtEng* TtaSessionList::engine() const {
    return AccessEngineObject();
}

void TtaSessionList::setEngineObject(TVirtEng* engine) {
    setAccessEngineObject(engine);
}

SessionFactory TtaSessionList::engineClass() const {
    return accessSessionFactory();
}

TttSession* TtaSessionList::defaultSession() const {
    return accessDefaultSession();
}

} // namespace accessdb
