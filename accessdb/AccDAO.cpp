#include "accessdb/AccDAO.h"

namespace accessdb {

namespace dao = platform::dao;
using dao::Status;
using dao::statusOk;

namespace {

// Reads a property that cannot fail into `out`.
template <typename Value, typename Get>
auto property(Value& out, Get get) {
    return [&out, get](auto& object) {
        out = get(object);
        return statusOk;
    };
}

// The typed readers take only values of their own type.
Variant ofType(const Variant& value, Variant::Type type) {
    return value.type() == type ? value : Variant();
}

bool asBooleanArgument(const Variant& value) {
    return value.type() == Variant::Type::Boolean && value.booleanValue();
}

} // namespace

// DaoBase: the operations an object does not have do nothing.

void DaoBase::getName(std::string&) {}
void DaoBase::setName(const std::string&) {}
std::unique_ptr<DaoFields> DaoBase::getFields() {
    return nullptr;
}
std::unique_ptr<DaoIndexes> DaoBase::getIndexes() {
    return nullptr;
}
std::unique_ptr<DaoRecordset> DaoBase::openRecordset(const std::string&, int, int) {
    return nullptr;
}

// Errors

std::int32_t DaoError::number() {
    std::int32_t number = 0;
    invoke(property(number, [](const dao::Error& e) { return e.number; }));
    return number;
}

std::string DaoError::description() {
    std::string text;
    invoke(property(text, [](const dao::Error& e) { return e.description; }));
    return text;
}

std::int16_t DaoErrors::count() {
    std::int32_t count = 0;
    invoke(
        property(count, [](const dao::Errors& e) { return static_cast<std::int32_t>(e.count()); }));
    return static_cast<std::int16_t>(count);
}

std::unique_ptr<DaoError> DaoErrors::item(std::int16_t index) {
    std::shared_ptr<dao::Error> element;
    invoke([&](const dao::Errors& errors) {
        dao::Error error;
        Status status = index < 0 ? errors.item(errors.count(), error)
                                  : errors.item(static_cast<std::size_t>(index), error);
        if (!dao::failed(status))
            element = std::make_shared<dao::Error>(std::move(error));
        return status;
    });
    return std::make_unique<DaoError>(std::move(element));
}

// Parameters

void DaoParameter::getName(std::string& name) {
    invoke(property(name, [](const dao::Parameter& p) { return p.name(); }));
}

std::int16_t DaoParameter::type() {
    std::int16_t type = 0;
    invoke(property(type, [](const dao::Parameter& p) { return p.type(); }));
    return type;
}

void DaoParameter::setValue(const Variant& value) {
    invoke([&](dao::Parameter& p) {
        p.setValue(value);
        return statusOk;
    });
}

// Indexes

void DaoIndexField::getName(std::string& name) {
    invoke(property(name, [](const dao::IndexField& f) { return f.name(); }));
}

std::int32_t DaoIndexField::attributes() {
    std::int32_t attributes = 0;
    invoke(property(attributes, [](const dao::IndexField& f) { return f.attributes(); }));
    return attributes;
}

void DaoIndex::getName(std::string& name) {
    invoke(property(name, [](const dao::Index& i) { return i.name(); }));
}

void DaoIndex::setName(const std::string& name) {
    invoke([&](const dao::Index& i) { return i.rename(name); });
}

bool DaoIndex::unique() {
    bool unique = false;
    invoke(property(unique, [](const dao::Index& i) { return i.unique(); }));
    return unique;
}

bool DaoIndex::primary() {
    bool primary = false;
    invoke(property(primary, [](const dao::Index& i) { return i.primary(); }));
    return primary;
}

std::unique_ptr<DaoIndexFields> DaoIndex::fields() {
    std::shared_ptr<dao::Collection<dao::IndexField>> fields;
    invoke([&](const dao::Index& i) { return i.fields(fields); });
    return std::make_unique<DaoIndexFields>(std::move(fields));
}

// Fields

void DaoField::getName(std::string& name) {
    invoke(property(name, [](const dao::Field& f) { return f.name(); }));
}

void DaoField::setName(const std::string& name) {
    invoke([&](dao::Field& f) { return f.rename(name); });
}

std::int16_t DaoField::type() {
    std::int16_t type = 0;
    invoke(property(type, [](const dao::Field& f) { return f.type(); }));
    return type;
}

std::int32_t DaoField::size() {
    std::int32_t size = 0;
    invoke(property(size, [](const dao::Field& f) { return f.size(); }));
    return size;
}

std::int32_t DaoField::attributes() {
    std::int32_t attributes = 0;
    invoke(property(attributes, [](const dao::Field& f) { return f.attributes(); }));
    return attributes;
}

std::int32_t DaoField::fieldSize() {
    std::int32_t size = 0;
    invoke([&](const dao::Field& f) {
        if (f.type() == dao::Field::typeLongBinary || f.type() == dao::Field::typeMemo)
            return f.fieldSize(size);
        size = f.size();
        return statusOk;
    });
    return size;
}

Variant DaoField::rawValue() {
    Variant value;
    invoke([&](const dao::Field& f) { return f.value(value); });
    return value;
}

Variant DaoField::read(Variant::Type type) {
    return ofType(rawValue(), type);
}

double DaoField::asDouble() {
    return read(Variant::Type::Double).realValue();
}

std::uint8_t DaoField::asByte() {
    return static_cast<std::uint8_t>(read(Variant::Type::Byte).integerValue());
}

std::int16_t DaoField::asInt16() {
    return static_cast<std::int16_t>(read(Variant::Type::Integer).integerValue());
}

std::int32_t DaoField::asInt32() {
    return static_cast<std::int32_t>(read(Variant::Type::Long).integerValue());
}

float DaoField::asSingle() {
    return static_cast<float>(read(Variant::Type::Single).realValue());
}

bool DaoField::asBoolean() {
    return read(Variant::Type::Boolean).booleanValue();
}

std::int64_t DaoField::asCurrency() {
    return read(Variant::Type::Currency).integerValue();
}

double DaoField::asDate() {
    return read(Variant::Type::Date).realValue();
}

std::string DaoField::asText() {
    return read(Variant::Type::Text).stringValue();
}

void DaoField::setValue(const Variant& value) {
    invoke([&](dao::Field& f) { return f.setValue(value); });
}

std::string DaoField::getChunk(std::int32_t offset, std::int32_t bytes) {
    Variant chunk;
    invoke([&](const dao::Field& f) { return f.getChunk(offset, bytes, chunk); });
    return chunk.stringValue();
}

void DaoField::appendChunk(const std::vector<std::uint8_t>& bytes) {
    invoke([&](dao::Field& f) {
        return f.appendChunk(Variant::bytes(std::string(bytes.begin(), bytes.end())));
    });
}

// Table and query definitions

void DaoTableDef::getName(std::string& name) {
    invoke(property(name, [](const dao::TableDef& t) { return t.name(); }));
}

void DaoTableDef::setName(const std::string& name) {
    invoke([&](const dao::TableDef& t) { return t.rename(name); });
}

void DaoQueryDef::getName(std::string& name) {
    invoke(property(name, [](const dao::QueryDef& q) { return q.name(); }));
}

void DaoQueryDef::setName(const std::string& name) {
    invoke([&](const dao::QueryDef& q) { return q.rename(name); });
}

std::unique_ptr<DaoFields> DaoQueryDef::getFields() {
    std::shared_ptr<dao::Collection<dao::Field>> fields;
    invoke([&](const dao::QueryDef& q) { return q.fields(fields); });
    return std::make_unique<DaoFields>(std::move(fields));
}

std::unique_ptr<DaoParameters> DaoQueryDef::parameters() {
    std::shared_ptr<dao::Collection<dao::Parameter>> parameters;
    invoke([&](const dao::QueryDef& q) { return q.parameters(parameters); });
    return std::make_unique<DaoParameters>(std::move(parameters));
}

std::unique_ptr<DaoRecordset> DaoQueryDef::openRecordset(const std::string&, int type,
                                                         int options) {
    std::shared_ptr<dao::Recordset> recordset;
    invoke([&](const dao::QueryDef& q) { return q.openRecordset(type, options, recordset); });
    return std::make_unique<DaoRecordset>(std::move(recordset));
}

// Recordsets

void DaoRecordset::getName(std::string& name) {
    invoke(property(name, [](dao::Recordset& r) { return r.name(); }));
}

std::unique_ptr<DaoFields> DaoRecordset::getFields() {
    std::shared_ptr<dao::Collection<dao::Field>> fields;
    invoke([&](dao::Recordset& r) { return r.fields(fields); });
    return std::make_unique<DaoFields>(std::move(fields));
}

std::unique_ptr<DaoIndexes> DaoRecordset::getIndexes() {
    std::shared_ptr<dao::Collection<dao::Index>> indexes;
    invoke([&](dao::Recordset& r) { return r.indexes(indexes); });
    return std::make_unique<DaoIndexes>(std::move(indexes));
}

std::int32_t DaoRecordset::recordCount() {
    std::int32_t count = 0;
    invoke([&](dao::Recordset& r) { return r.recordCount(count); });
    return count;
}

bool DaoRecordset::bof() {
    bool value = true;
    invoke([&](dao::Recordset& r) { return r.bof(value); });
    return value;
}

bool DaoRecordset::eof() {
    bool value = true;
    invoke([&](dao::Recordset& r) { return r.eof(value); });
    return value;
}

bool DaoRecordset::noMatch() {
    bool value = true;
    invoke([&](dao::Recordset& r) { return r.noMatch(value); });
    return value;
}

void DaoRecordset::moveFirst() {
    invoke([](dao::Recordset& r) { return r.moveFirst(); });
}

void DaoRecordset::moveNext() {
    invoke([](dao::Recordset& r) { return r.moveNext(); });
}

void DaoRecordset::movePrevious() {
    invoke([](dao::Recordset& r) { return r.movePrevious(); });
}

void DaoRecordset::moveLast() {
    invoke([](dao::Recordset& r) { return r.moveLast(); });
}

void DaoRecordset::addNew() {
    invoke([](dao::Recordset& r) { return r.addNew(); });
}

void DaoRecordset::edit() {
    invoke([](dao::Recordset& r) { return r.edit(); });
}

void DaoRecordset::update() {
    invoke([](dao::Recordset& r) { return r.update(); });
}

void DaoRecordset::cancelUpdate() {
    invoke([](dao::Recordset& r) { return r.cancelUpdate(); });
}

void DaoRecordset::deleteRecord() {
    invoke([](dao::Recordset& r) { return r.deleteRecord(); });
}

void DaoRecordset::close() {
    if (object_)
        invoke([](dao::Recordset& r) { return r.close(); });
}

std::vector<std::uint8_t> DaoRecordset::bookmark() {
    std::vector<std::uint8_t> bytes;
    invoke([&](dao::Recordset& r) { return r.bookmark(bytes); });
    return bytes;
}

void DaoRecordset::setBookmark(const std::vector<std::uint8_t>& bookmark) {
    invoke([&](dao::Recordset& r) { return r.setBookmark(bookmark); });
}

std::vector<std::uint8_t> DaoRecordset::lastModified() {
    std::vector<std::uint8_t> bytes;
    invoke([&](dao::Recordset& r) { return r.lastModified(bytes); });
    return bytes;
}

void DaoRecordset::setIndex(const std::string& name) {
    invoke([&](dao::Recordset& r) { return r.setIndex(name); });
}

void DaoRecordset::seek(const std::string& comparison, const std::array<Variant, seekKeys>& keys) {
    invoke([&](dao::Recordset& r) { return r.seek(comparison, keys); });
}

std::int32_t DaoRecordset::absolutePosition() {
    std::int32_t position = -1;
    invoke([&](dao::Recordset& r) { return r.absolutePosition(position); });
    return position;
}

void DaoRecordset::setAbsolutePosition(std::int32_t position) {
    invoke([&](dao::Recordset& r) { return r.setAbsolutePosition(position); });
}

// Databases

void DaoDatabase::getName(std::string& name) {
    invoke(property(name, [](const dao::Database& d) { return d.name(); }));
}

std::unique_ptr<DaoTableDefs> DaoDatabase::tableDefs() {
    std::shared_ptr<dao::Collection<dao::TableDef>> tables;
    invoke([&](const dao::Database& d) { return d.tableDefs(tables); });
    return std::make_unique<DaoTableDefs>(std::move(tables));
}

std::unique_ptr<DaoQueryDefs> DaoDatabase::queryDefs() {
    std::shared_ptr<dao::Collection<dao::QueryDef>> queries;
    invoke([&](const dao::Database& d) { return d.queryDefs(queries); });
    return std::make_unique<DaoQueryDefs>(std::move(queries));
}

void DaoDatabase::close() {
    if (object_)
        invoke([](dao::Database& d) { return d.close(); });
}

void DaoDatabase::execute(const std::string& query) {
    invoke([&](const dao::Database& d) { return d.execute(query); });
}

std::unique_ptr<DaoRecordset> DaoDatabase::openRecordset(const std::string& source, int,
                                                         int options) {
    std::shared_ptr<dao::Recordset> recordset;
    invoke([&](const dao::Database& d) { return d.openRecordset(source, options, recordset); });
    return std::make_unique<DaoRecordset>(std::move(recordset));
}

// The engine

DaoEngine::DaoEngine(int version, bool wideInterfaces)
    : DaoWrapper(std::make_shared<dao::DBEngine>()), version_(version),
      wideInterfaces_(wideInterfaces), created_(true), initialised_(true) {}

std::unique_ptr<DaoErrors> DaoEngine::errors() {
    std::shared_ptr<dao::Errors> errors;
    invoke(property(errors, [](const dao::DBEngine& e) { return e.errors(); }));
    return std::make_unique<DaoErrors>(std::move(errors));
}

void DaoEngine::idle(std::int32_t action) {
    invoke([&](dao::DBEngine& e) { return e.idle(action); });
}

std::unique_ptr<DaoDatabase> DaoEngine::openDatabase(const std::string& name,
                                                     const Variant& options,
                                                     const Variant& readOnly,
                                                     const Variant& connect) {
    std::shared_ptr<dao::Database> database;
    std::string connectText = connect.isString() ? connect.stringValue() : std::string();
    invoke([&](dao::DBEngine& e) {
        return e.openDatabase(name, asBooleanArgument(options), asBooleanArgument(readOnly),
                              connectText, database);
    });
    return std::make_unique<DaoDatabase>(std::move(database));
}

void DaoEngine::beginTrans() {
    invoke([](dao::DBEngine& e) { return e.beginTrans(); });
}

void DaoEngine::commitTrans() {
    invoke([](dao::DBEngine& e) { return e.commitTrans(); });
}

void DaoEngine::rollback() {
    invoke([](dao::DBEngine& e) { return e.rollback(); });
}

} // namespace accessdb
