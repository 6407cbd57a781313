#include "accessdb/access/TAccessSqlQueryDefStmt.h"

#include "accessdb/access/AccessFieldTypes.h"
#include "accessdb/access/EAccessEngineError.h"
#include "accessdb/access/TAccessDatabase.h"
#include "accessdb/access/TDAOParameters.h"
#include "accessdb/engine/EngineDates.h"
#include "accessdb/engine/PackedBytes.h"
#include "accessdb/engine/TBaseTable.h"

#include <cmath>
#include <cstring>

namespace accessdb {

TAccessSqlQueryDefStmt::TAccessSqlQueryDefStmt(TAccessDatabase* database,
                                               TTorvaneCollection* collection,
                                               const std::string& name)
    : TAccessSqlStmt(database, collection, 2), name_(name) {}

TAccessSqlQueryDefStmt::~TAccessSqlQueryDefStmt() = default;

void TAccessSqlQueryDefStmt::prepare() {
    if (name_.empty())
        raiseEngineError(dbierr::INVALIDPARAM);
    queryDef_.reset();
    queryDef_ = accessDatabase().findQueryDef(name_);
    if (!queryDef_)
        raiseEOF();
}

Variant TAccessSqlQueryDefStmt::parameterValue(const FieldDesc& desc, const Byte* record,
                                               std::int16_t daoType) {
    if (!record || (desc.nullOffset != 0 && record[desc.nullOffset] == 0xFF))
        return Variant::missing();
    const Byte* value = record + desc.offset;
    switch (desc.type) {
    case fldtype::ZSTRING:
        return Variant::text(
            std::string(reinterpret_cast<const char*>(value),
                        ::strnlen(reinterpret_cast<const char*>(value), desc.length)));
    case fldtype::DATE:
        return Variant::date(static_cast<double>(load<std::int32_t>(value)) - TimestampEpochDays);
    case fldtype::BOOL:
        return Variant::boolean(load<std::int16_t>(value) != 0);
    case fldtype::INT16:
        return Variant::integer(load<std::int16_t>(value));
    case fldtype::INT32:
        return Variant::longInteger(load<std::int32_t>(value));
    case fldtype::FLOAT: {
        double number = load<double>(value);
        if (daoType == accesstype::Single)
            return Variant::single(static_cast<float>(number));
        if (daoType == accesstype::Currency)
            return Variant::currency(static_cast<std::int64_t>(std::nearbyint(number * 10000.0)));
        return Variant::real(number);
    }
    case fldtype::BYTES:
        return Variant::boolean(load<std::int16_t>(value) != 0);
    case fldtype::TIMESTAMP:
        return Variant::date(accesstype::dateFromTimestamp(load<double>(value)));
    default:
        return Variant::missing();
    }
}

void TAccessSqlQueryDefStmt::setParams(const EngineParams& params, const Byte* record) {
    if (!queryDef_)
        prepare();
    auto parameters = queryDef_->parameters();
    std::int16_t count = parameters->count();
    for (std::size_t i = 0; i < params.descs.size() && i < static_cast<std::size_t>(count); ++i) {
        auto parameter = parameters->item(static_cast<std::int16_t>(i));
        parameter->setValue(parameterValue(params.descs[i], record, parameter->type()));
        checkAccess(parameter->lastResult());
    }
}

// A query run for its changes is executed: opening a result over an append, update or
// delete query would refuse it and change nothing.
TBaseTable* TAccessSqlQueryDefStmt::execute(bool wantCursor) {
    if (!queryDef_)
        prepare();
    if (wantCursor)
        return accessDatabase().openResultCursor(queryDef_.get(), name_);
    queryDef_->execute();
    checkAccess(queryDef_->lastResult());
    return nullptr;
}

} // namespace accessdb
