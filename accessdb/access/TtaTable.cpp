#include "accessdb/access/TtaTable.h"

#include "accessdb/access/AccessComponents.h"
#include "accessdb/access/TtaBatchMove.h"
#include "accessdb/access/TtaBlobStream.h"
#include "accessdb/access/TtaSessionList.h"
#include "accessdb/classlib/Exceptions.h"
#include "accessdb/classlib/Fields.h"

namespace accessdb {

TtaTable::TtaTable(TComponent* owner) : TttTable(owner, AccessSessionList()) {}

std::unique_ptr<TttBlobStream> TtaTable::createBlobStream(TField& field, BlobStreamMode mode) {
    auto* blob = dynamic_cast<TBlobField*>(&field);
    if (!blob)
        throw EInvalidCast();
    return std::make_unique<TtaBlobStream>(*blob, mode);
}

TttBatchMove* TtaTable::createBatchMove(TComponent* owner) const {
    return new TtaBatchMove(owner);
}

} // namespace accessdb
