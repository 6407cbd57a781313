#pragma once

#include "accessdb/components/TttSessionlist.h"

namespace accessdb {

// The Access components' session list: the Access engine object, sessions of the Access
// driver and the default session "Access".
class TtaSessionList : public TttSessionlist {
public:
    TtaSessionList() = default;
    ~TtaSessionList() override;

    TVirtEng* engine() const override;
    void setEngineObject(TVirtEng* engine) override;
    SessionFactory engineClass() const override;
    TttSession* defaultSession() const override;
};

} // namespace accessdb
