#include "mdbengine/dao/Errors.h"

namespace mdbengine {

namespace {

const char* text(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::InvalidArgument:
        return "An argument is not valid.";
    case ErrorNumber::NoCurrentIndex:
        return "The recordset has no current index.";
    case ErrorNumber::UpdateWithoutEdit:
        return "There is no change to save or cancel; Edit or AddNew comes first.";
    case ErrorNumber::NoCurrentRecord:
        return "There is no current record.";
    case ErrorNumber::FileNotFound:
        return "The file '%' does not exist.";
    case ErrorNumber::ReadOnly:
        return "The database or table is read-only; it cannot be changed.";
    case ErrorNumber::NotValidPassword:
        return "The password is not valid.";
    case ErrorNumber::DuplicateKey:
        return "The change would give the index '%' a value it holds already; the table is as "
               "it was.";
    case ErrorNumber::NullInKey:
        return "The index '%' takes no Null value; the table is as it was.";
    case ErrorNumber::NoTransaction:
        return "No transaction has been begun.";
    case ErrorNumber::WriteFailed:
        return "'%' could not be written; the file is as it was.";
    case ErrorNumber::InvalidPath:
        return "The folder of '%' does not exist.";
    case ErrorNumber::FileInUse:
        return "The file '%' is in use.";
    case ErrorNumber::RecordTooLarge:
        return "The record is too large for a page of the database.";
    case ErrorNumber::TableNotFound:
        return "There is no table or query named '%'.";
    case ErrorNumber::InvalidBookmark:
        return "The bookmark is not valid.";
    case ErrorNumber::FieldTooSmall:
        return "The value is longer than the field allows.";
    case ErrorNumber::FieldNotUpdatable:
        return "The field '%' cannot be updated.";
    case ErrorNumber::RecordDeleted:
        return "The record has been deleted.";
    case ErrorNumber::TooFewParameters:
        return "Too few parameters. Expected %.";
    case ErrorNumber::CannotExecuteSelect:
        return "A select query cannot be executed; open it as a recordset.";
    case ErrorNumber::NotUpdatableQuery:
        return "The operation must use an updatable query.";
    case ErrorNumber::SyntaxError:
        return "Syntax error in the SQL statement '%'.";
    case ErrorNumber::InvalidOperation:
        return "The operation is not valid here.";
    case ErrorNumber::ValuesCountMismatch:
        return "The number of query values and destination fields are not the same.";
    case ErrorNumber::TypeMismatch:
        return "Data type mismatch in criteria expression.";
    case ErrorNumber::CircularLink:
        return "The linked table '%' cannot be opened.";
    case ErrorNumber::ChangedByAnother:
        return "'%' was changed by another user since it was read; the changes were not written.";
    case ErrorNumber::RelatedRecordsExist:
        return "The record cannot be deleted or changed because table '%' includes related "
               "records.";
    case ErrorNumber::RelatedRecordRequired:
        return "You cannot add or change a record because a related record is required in "
               "table '%'.";
    case ErrorNumber::NotSupported:
        return "The operation is not supported for this object.";
    case ErrorNumber::ItemNotFound:
        return "There is no such item in the collection.";
    case ErrorNumber::RequiredValueMissing:
        return "The field '%' cannot contain a Null value because the Required property for "
               "this field is set to True. Enter a value in this field.";
    case ErrorNumber::UnrecognisedFormat:
        return "'%' is damaged, or is not a database file this engine can read.";
    case ErrorNumber::NumericOverflow:
        return "The value is out of the field's range.";
    case ErrorNumber::ObjectClosed:
        return "The object is closed.";
    case ErrorNumber::ConversionError:
        return "The value cannot be converted to the field's type.";
    case ErrorNumber::NotAnIndex:
        return "'%' is not an index of this table.";
    }
    return "The operation failed.";
}

} // namespace

Status Errors::item(std::size_t index, Error& error) const {
    if (index >= errors_.size())
        return failure(ErrorNumber::ItemNotFound);
    error = errors_[index];
    return statusOk;
}

std::string Errors::description(ErrorNumber number, const std::string& subject) {
    std::string result = text(number);
    if (auto placeholder = result.find('%'); placeholder != std::string::npos)
        result.replace(placeholder, 1, subject);
    return result;
}

Status Errors::fail(ErrorNumber number, const std::string& subject, const std::string& detail) {
    std::string described = description(number, subject);
    if (!detail.empty())
        described += " " + detail;
    errors_.assign(1, Error{static_cast<std::uint16_t>(number), std::move(described)});
    return failure(number);
}

} // namespace mdbengine
