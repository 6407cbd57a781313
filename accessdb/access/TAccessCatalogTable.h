#pragma once

#include "accessdb/access/TAccessBaseTable.h"
#include "accessdb/access/TDAORecordset.h"

#include <memory>
#include <vector>

namespace accessdb {

class TDAODatabase;

// A read-only list over one DAO collection: each record is an engine descriptor made from
// the element at the running position. The count is read once, when the list is made.
class TAccessCatalogTable : public TAccessBaseTable {
public:
    TAccessCatalogTable(TBapiListItem* owner, TTorvaneCollection* collection,
                        const std::string& name);
    ~TAccessCatalogTable() override;

    std::uint16_t recordSize() override = 0;
    void setToBegin() override;
    void getNextRecord(LockType lock, Byte* buffer, RecordProps* props) override;
    void getRecordCount(std::uint32_t& count) override { count = count_; }

protected:
    void setCount(std::int16_t count) {
        count_ = count < 0 ? 0 : static_cast<std::uint16_t>(count);
    }
    std::uint16_t position() const { return position_; }
    // Fills the zeroed record of element `index`; false skips the element.
    virtual bool buildRecord(std::uint16_t index, Byte* record) = 0;
    // The recordset a list of a table's parts reads: the one given, else one the list
    // opens on the table and closes when it goes.
    TDAORecordset* tableRecordset(TDAORecordset* given, TDAODatabase* daoDatabase,
                                  const std::string& tableName);

private:
    std::unique_ptr<TDAORecordset> ownRecordset_;
    std::uint16_t count_ = 0;
    std::uint16_t position_ = 0;
    std::vector<Byte> record_;
};

} // namespace accessdb
