#include "accessdb/engine/TBaseListTable.h"

#include "accessdb/engine/ETorvaneEngineError.h"

#include <cstring>

namespace accessdb {

TBaseListTable::TBaseListTable(TBapiListItem* database, std::uint16_t count, const Byte* records,
                               std::uint16_t recordSize, TTorvaneCollection* collection)
    : TBaseTable(database, collection, "", "", 0, 1), recordSize_(recordSize), count_(count),
      records_(records, records + std::size_t{count} * recordSize) {
    setToBegin();
}

void TBaseListTable::setToBegin() {
    TBaseTable::setToBegin();
    current_ = 0;
}

void TBaseListTable::getNextRecord(LockType, Byte* buffer, RecordProps*) {
    if (current_ >= count_)
        raiseEOF();
    if (buffer)
        std::memcpy(buffer, records_.data() + std::size_t{current_} * recordSize_, recordSize_);
    ++current_;
    setOnRecord();
}

std::vector<Byte> TIndexListTable::packed(const std::vector<IndexDesc>& indexes) {
    std::vector<Byte> bytes(indexes.size() * IndexDesc::Size);
    for (std::size_t i = 0; i < indexes.size(); ++i)
        indexes[i].pack(bytes.data() + i * IndexDesc::Size);
    return bytes;
}

TIndexListTable::TIndexListTable(TBapiListItem* database, const std::vector<IndexDesc>& indexes,
                                 TTorvaneCollection* collection)
    : TBaseListTable(database, checked16(indexes.size()), packed(indexes).data(), IndexDesc::Size,
                     collection) {}

} // namespace accessdb
