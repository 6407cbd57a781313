#include "mdbengine/dao/QueryDef.h"

#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/Recordset.h"
#include "mdbengine/dao/SqlRunner.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/sql/SavedQuery.h"
#include "mdbengine/sql/SqlError.h"

namespace mdbengine {

namespace {

// The values set on the parameters; one never set stays wanted.
ParameterValues valuesOf(const std::vector<std::shared_ptr<Parameter>>& parameters) {
    ParameterValues values;
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
    } catch (const file::FormatError&) {
        return errors_->fail(ErrorNumber::UnrecognisedFormat, file_->path());
    }
}

Status QueryDef::isSelect(bool& select) const {
    try {
        select = sql::savedQueryIsSelect(file_->catalog().queryRows(file_->pages(), entry_));
        return statusOk;
    } catch (const file::FormatError&) {
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
    return SqlRunner(database, *errors_, valuesOf(parameters_)).open(text, readOnly, recordset);
}

Status QueryDef::execute(std::int32_t& recordsAffected) const {
    recordsAffected = 0;
    std::string text;
    if (Status status = sql(text); failed(status))
        return status;
    Database database(file_, errors_);
    return SqlRunner(database, *errors_, valuesOf(parameters_)).execute(text, recordsAffected);
}

} // namespace mdbengine
