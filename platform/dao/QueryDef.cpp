#include "platform/dao/QueryDef.h"

#include "platform/dao/Database.h"
#include "platform/dao/DatabaseFile.h"
#include "platform/dao/Field.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/jet/FormatError.h"
#include "platform/dao/sql/SavedQuery.h"
#include "platform/dao/sql/SqlError.h"
#include "platform/dao/sql/SqlRunner.h"

namespace platform::dao {

namespace {

// The values set on the parameters; one never set stays wanted.
sql::ParameterValues valuesOf(const std::vector<std::shared_ptr<Parameter>>& parameters) {
    sql::ParameterValues values;
    for (const auto& parameter : parameters) {
        const Variant& value = parameter->value();
        if (value.isEmpty())
            continue;
        values.emplace_back(parameter->name(), value.isMissing() ? Variant::null() : value);
    }
    return values;
}

} // namespace

Status QueryDef::parameters(std::shared_ptr<Collection<Parameter>>& parameters) const {
    parameters = std::make_shared<Collection<Parameter>>(parameters_, errors_);
    return statusOk;
}

Status QueryDef::sql(std::string& text) const {
    text.clear();
    try {
        text = sql::savedQuerySql(entry_.name, file_->catalog().queryRows(file_->pages(), entry_));
        return statusOk;
    } catch (const sql::SqlError& error) {
        return errors_->fail(error.number(), error.subject(), error.detail());
    } catch (const jet::FormatError&) {
        return errors_->fail(ErrorNumber::UnrecognisedFormat, file_->path());
    }
}

Status QueryDef::isSelect(bool& select) const {
    try {
        select = sql::savedQueryIsSelect(file_->catalog().queryRows(file_->pages(), entry_));
        return statusOk;
    } catch (const jet::FormatError&) {
        return errors_->fail(ErrorNumber::UnrecognisedFormat, file_->path());
    }
}

Status QueryDef::fields(std::shared_ptr<Collection<Field>>& fields) const {
    fields.reset();
    bool select = false;
    if (Status status = isSelect(select); failed(status))
        return status;
    if (!select) {
        fields =
            std::make_shared<Collection<Field>>(std::vector<std::shared_ptr<Field>>{}, errors_);
        return statusOk;
    }
    std::shared_ptr<Recordset> recordset;
    if (Status status = openRecordset(-1, Recordset::readOnly, recordset); failed(status))
        return status;
    return recordset->fields(fields);
}

Status QueryDef::openRecordset(int, int options, std::shared_ptr<Recordset>& recordset) const {
    recordset.reset();
    std::string text;
    if (Status status = sql(text); failed(status))
        return status;
    bool readOnly = options != -1 && (options & Recordset::readOnly) != 0;
    Database database(file_, errors_);
    return sql::SqlRunner(database, *errors_, valuesOf(parameters_))
        .open(text, readOnly, recordset);
}

Status QueryDef::execute(std::int32_t& recordsAffected) const {
    recordsAffected = 0;
    std::string text;
    if (Status status = sql(text); failed(status))
        return status;
    Database database(file_, errors_);
    return sql::SqlRunner(database, *errors_, valuesOf(parameters_)).execute(text, recordsAffected);
}

} // namespace platform::dao
