#pragma once

#include "accessdb/components/TttSession.h"

namespace accessdb {

class TtaSessionList;

// A session of the Access components.
class TtaSession : public TttSession {
public:
    explicit TtaSession(TComponent* owner);
    // The default session is made with the list while the list itself is being made.
    TtaSession(TComponent* owner, TtaSessionList& sessionList);

    TttDatabase* createDatabase(TComponent* owner) override;
};

} // namespace accessdb
