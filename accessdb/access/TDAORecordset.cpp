#include "accessdb/access/TDAORecordset.h"

#include "accessdb/access/EngineText.h"

namespace accessdb {

namespace dao = mdbengine;
using dao::Recordset;

void TDAORecordset::getName(std::string& name) {
    invoke(property(name, [](const Recordset& r) { return fromEngineText(r.name()); }));
}

std::unique_ptr<TDAOFields> TDAORecordset::getFields() {
    std::shared_ptr<dao::Collection<dao::Field>> fields;
    invoke([&](Recordset& r) { return r.fields(fields); });
    return std::make_unique<TDAOFields>(std::move(fields));
}

std::unique_ptr<TDAOIndexes> TDAORecordset::getIndexes() {
    std::shared_ptr<dao::Collection<dao::Index>> indexes;
    invoke([&](Recordset& r) { return r.indexes(indexes); });
    return std::make_unique<TDAOIndexes>(std::move(indexes));
}

std::int32_t TDAORecordset::recordCount() {
    std::int32_t count = 0;
    invoke([&](Recordset& r) { return r.recordCount(count); });
    return count;
}

bool TDAORecordset::bof() {
    bool value = true;
    invoke([&](Recordset& r) { return r.bof(value); });
    return value;
}

bool TDAORecordset::eof() {
    bool value = true;
    invoke([&](Recordset& r) { return r.eof(value); });
    return value;
}

bool TDAORecordset::noMatch() {
    bool value = true;
    invoke([&](Recordset& r) { return r.noMatch(value); });
    return value;
}

bool TDAORecordset::updatable() {
    bool value = false;
    invoke([&](Recordset& r) { return r.updatable(value); });
    return value;
}

void TDAORecordset::moveFirst() {
    invoke([](Recordset& r) { return r.moveFirst(); });
}

void TDAORecordset::moveNext() {
    invoke([](Recordset& r) { return r.moveNext(); });
}

void TDAORecordset::movePrevious() {
    invoke([](Recordset& r) { return r.movePrevious(); });
}

void TDAORecordset::moveLast() {
    invoke([](Recordset& r) { return r.moveLast(); });
}

void TDAORecordset::addNew() {
    invoke([](Recordset& r) { return r.addNew(); });
}

void TDAORecordset::edit() {
    invoke([](Recordset& r) { return r.edit(); });
}

void TDAORecordset::update() {
    invoke([](Recordset& r) { return r.update(); });
}

void TDAORecordset::cancelUpdate() {
    invoke([](Recordset& r) { return r.cancelUpdate(); });
}

void TDAORecordset::deleteRecord() {
    invoke([](Recordset& r) { return r.deleteRecord(); });
}

void TDAORecordset::close() {
    if (object_)
        invoke([](Recordset& r) { return r.close(); });
}

std::vector<std::uint8_t> TDAORecordset::bookmark() {
    std::vector<std::uint8_t> bytes;
    invoke([&](Recordset& r) { return r.bookmark(bytes); });
    return bytes;
}

void TDAORecordset::setBookmark(const std::vector<std::uint8_t>& bookmark) {
    invoke([&](Recordset& r) { return r.setBookmark(bookmark); });
}

std::vector<std::uint8_t> TDAORecordset::lastModified() {
    std::vector<std::uint8_t> bytes;
    invoke([&](Recordset& r) { return r.lastModified(bytes); });
    return bytes;
}

void TDAORecordset::setIndex(const std::string& name) {
    invoke([&](Recordset& r) { return r.setIndex(toEngineText(name)); });
}

void TDAORecordset::seek(const std::string& comparison, const std::array<Variant, seekKeys>& keys) {
    std::array<Variant, seekKeys> engineKeys;
    for (std::size_t i = 0; i < keys.size(); ++i)
        engineKeys[i] = toEngineValue(keys[i]);
    invoke([&](Recordset& r) { return r.seek(comparison, engineKeys); });
}

std::int32_t TDAORecordset::absolutePosition() {
    std::int32_t position = -1;
    invoke([&](Recordset& r) { return r.absolutePosition(position); });
    return position;
}

void TDAORecordset::setAbsolutePosition(std::int32_t position) {
    invoke([&](Recordset& r) { return r.setAbsolutePosition(position); });
}

} // namespace accessdb
