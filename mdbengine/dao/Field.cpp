#include "mdbengine/dao/Field.h"

#include "mdbengine/dao/FieldValue.h"
#include "mdbengine/dao/Recordset.h"
#include "mdbengine/tables/ColumnValue.h"
#include "mdbengine/values/Utf8.h"

namespace mdbengine {

using file::ColumnType;

Field::Field(std::shared_ptr<Recordset> recordset, std::size_t column, std::string name)
    : recordset_(std::move(recordset)), column_(column), name_(std::move(name)) {}

const file::Column& Field::column() const {
    return recordset_->table().columns[column_];
}

const std::string& Field::name() const {
    return name_.empty() ? column().name : name_;
}

Status Field::rename(const std::string&) {
    return recordset_->errors().fail(ErrorNumber::NotSupported, {}, noDesignChanges);
}

std::int16_t Field::typeOf(ColumnType type) {
    switch (type) {
    case ColumnType::Boolean:
        return typeBoolean;
    case ColumnType::Byte:
        return typeByte;
    case ColumnType::Integer:
        return typeInteger;
    case ColumnType::Long:
        return typeLong;
    case ColumnType::Currency:
        return typeCurrency;
    case ColumnType::Single:
        return typeSingle;
    case ColumnType::Double:
        return typeDouble;
    case ColumnType::DateTime:
        return typeDate;
    case ColumnType::Binary:
        return typeBinary;
    case ColumnType::Text:
        return typeText;
    case ColumnType::Ole:
        return typeLongBinary;
    case ColumnType::Memo:
        return typeMemo;
    case ColumnType::Guid:
        return typeGuid;
    case ColumnType::Numeric:
        return typeDecimal;
    }
    return static_cast<std::int16_t>(type);
}

std::int16_t Field::type() const {
    return typeOf(column().type);
}

std::int32_t Field::size() const {
    const file::Column& c = column();
    switch (c.type) {
    case ColumnType::Boolean:
        return 1;
    case ColumnType::Text:
        return recordset_->jet4() ? c.length / 2 : c.length;
    case ColumnType::Memo:
    case ColumnType::Ole:
        return 0;
    case ColumnType::Binary:
        return c.length;
    default:
        return static_cast<std::int32_t>(file::fixedWidth(c.type));
    }
}

std::int32_t Field::precision() const {
    return column().type == ColumnType::Numeric ? column().precision : 0;
}

std::int32_t Field::scale() const {
    return column().type == ColumnType::Numeric ? column().scale : 0;
}

std::int32_t Field::attributes() const {
    const file::Column& c = column();
    std::int32_t attributes = c.isFixed() ? fixedAttribute : variableAttribute;
    if (c.isAutoNumber())
        attributes |= autoIncrementAttribute;
    if (columnWritable(c))
        attributes |= updatableAttribute;
    return attributes;
}

Status Field::fieldSize(std::int32_t& size) const {
    return recordset_->longValueLength(column_, size);
}

Status Field::value(Variant& value) const {
    return recordset_->columnValue(column_, value);
}

Status Field::setValue(const Variant& value) {
    return recordset_->setColumnValue(column_, value);
}

Status Field::getChunk(std::int32_t offset, std::int32_t bytes, Variant& chunk) const {
    chunk = Variant::null();
    if (!column().isLongValue())
        return recordset_->errors().fail(ErrorNumber::NotSupported, {},
                                         "Only memo and long binary fields have chunks.");
    if (offset < 0 || bytes < 0)
        return recordset_->errors().fail(ErrorNumber::InvalidArgument);
    Variant whole;
    if (Status status = value(whole); failed(status) || whole.isNull())
        return status;
    const std::string& contents = whole.stringValue();
    auto from = static_cast<std::size_t>(offset);
    auto count = static_cast<std::size_t>(bytes);
    if (column().type == ColumnType::Memo) {
        chunk = Variant::text(std::string(characterRange(contents, from, count)));
        return statusOk;
    }
    chunk = Variant::bytes(from < contents.size() ? contents.substr(from, count) : std::string());
    return statusOk;
}

Status Field::appendChunk(const Variant& chunk) {
    return recordset_->appendChunk(column_, chunk);
}

} // namespace mdbengine
