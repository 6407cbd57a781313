#include "accessdb/access/TtaSession.h"

#include "accessdb/access/AccessComponents.h"
#include "accessdb/access/TtaDatabase.h"
#include "accessdb/access/TtaSessionList.h"

namespace accessdb {

TtaSession::TtaSession(TComponent* owner) : TttSession(owner, AccessSessionList()) {}

TtaSession::TtaSession(TComponent* owner, TtaSessionList& sessionList)
    : TttSession(owner, sessionList) {}

TttDatabase* TtaSession::createDatabase(TComponent* owner) {
    return new TtaDatabase(owner);
}

} // namespace accessdb
