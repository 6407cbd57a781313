#pragma once

#include "accessdb/components/TttDatabase.h"

namespace accessdb {

// A database component of the Access components; it asks for no login unless told to.
class TtaDatabase : public TttDatabase {
public:
    explicit TtaDatabase(TComponent* owner);
    bool loginPromptDefault() const override { return false; }
};

} // namespace accessdb
