#pragma once

#include "accessdb/engine/TBaseTable.h"

#include <vector>

namespace accessdb {

// A cursor over a private copy of an array of fixed-size records.
class TBaseListTable : public TBaseTable {
public:
    TBaseListTable(TBapiListItem* database, std::uint16_t count, const Byte* records,
                   std::uint16_t recordSize, TTorvaneCollection* collection);

    std::uint16_t recordSize() override { return recordSize_; }
    void setToBegin() override;
    void getNextRecord(LockType lock, Byte* buffer, RecordProps* props) override;
    void getRecordCount(std::uint32_t& count) override { count = count_; }

private:
    std::uint16_t recordSize_;
    std::uint16_t count_;
    std::uint16_t current_ = 0;
    std::vector<Byte> records_;
};

// The index descriptors of a table as a list.
class TIndexListTable : public TBaseListTable {
public:
    TIndexListTable(TBapiListItem* database, const std::vector<IndexDesc>& indexes,
                    TTorvaneCollection* collection);

private:
    static std::vector<Byte> packed(const std::vector<IndexDesc>& indexes);
};

} // namespace accessdb
