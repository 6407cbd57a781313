#include "platform/dao/QueryDef.h"

#include "platform/dao/Field.h"
#include "platform/dao/Recordset.h"

namespace platform::dao {

namespace {

const char* const noSql = "Stored queries cannot be run: this engine does not execute SQL.";

} // namespace

Status QueryDef::parameters(std::shared_ptr<Collection<Parameter>>& parameters) const {
    parameters = std::make_shared<Collection<Parameter>>(parameters_, errors_);
    return statusOk;
}

Status QueryDef::fields(std::shared_ptr<Collection<Field>>& fields) const {
    fields.reset();
    return errors_->fail(ErrorNumber::NotSupported, {}, noSql);
}

Status QueryDef::openRecordset(int, int, std::shared_ptr<Recordset>& recordset) const {
    recordset.reset();
    return errors_->fail(ErrorNumber::NotSupported, {}, noSql);
}

} // namespace platform::dao
