#pragma once

#include "accessdb/components/TttTable.h"

namespace accessdb {

class TttBatchMove;

// The table component of the Access components: a table of an .mdb file named by
// DatabaseName (the file's path) and TableName.
class TtaTable : public TttTable {
public:
    explicit TtaTable(TComponent* owner);

    // Field must be a blob field (else EInvalidCast, and no stream is made).
    std::unique_ptr<TttBlobStream> createBlobStream(TField& field, BlobStreamMode mode) override;
    TttBatchMove* createBatchMove(TComponent* owner) const;
};

} // namespace accessdb
